# Shared by scripts/run, scripts/test and scripts/bench: install what is missing, then build.
# Sourced, not run.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BRIXO_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev qt6-svg-dev libgtest-dev libgmock-dev
                desktop-file-utils appstream dpkg-dev locales ser2net poppler-utils)

brixo_install_missing() {
  local missing=()
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# brixo_configure DIR [cmake options...]
brixo_configure() {
  local dir="$1"; shift
  # A build folder made in another place (a moved or copied checkout) names that place in
  # its cache, and CMake refuses it: start the folder afresh; the compiler cache keeps the
  # rebuild cheap.
  local cache="$ROOT/$dir/CMakeCache.txt"
  if [ -f "$cache" ]; then
    local home
    home="$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$cache")"
    if [ -n "$home" ] && [ "$(cd "$home" 2>/dev/null && pwd -P)" != "$(cd "$ROOT" && pwd -P)" ]; then
      echo "$dir/ was configured for $home: configuring it again for $ROOT"
      rm -rf "$cache" "$ROOT/$dir/CMakeFiles"
    fi
  fi
  local launcher=()
  # A compiler cache, when the machine has one, makes rebuilds in several checkouts cheap;
  # paths are taken relative to the checkout so that copies share their results.
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=1
  fi
  cmake -S "$ROOT" -B "$ROOT/$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
}

# brixo_build DIR [cmake options...]: configures and builds every target (tests too).
brixo_build() {
  brixo_configure "$@"
  cmake --build "$ROOT/$1" --parallel "$(nproc)"
}

# brixo_build_targets DIR TARGET...: configures and builds only the targets named.
brixo_build_targets() {
  local dir="$1"; shift
  brixo_configure "$dir"
  cmake --build "$ROOT/$dir" --parallel "$(nproc)" --target "$@"
}
