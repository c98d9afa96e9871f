#!/usr/bin/env bash
# The Debian package, as a user gets it: built from the existing build tree, unpacked into
# a scratch root, and its programs run from there. Usage: package_test.sh BUILD_DIR
set -euo pipefail
build="$1"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) || { cat "$scratch/cpack.log"; fail "cpack"; }
debs=("$scratch"/out/*.deb)
[ -f "${debs[0]}" ] || fail "no package was made"
deb="${debs[0]}"

# Its dependencies are declared: Qt's widgets and serial port, found by dpkg-shlibdeps.
depends="$(dpkg-deb -f "$deb" Depends)"
for library in libqt6widgets6 libqt6serialport6 libqt6core6; do
  [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
usr="$root/usr"
for file in bin/brixoconfig bin/brixo-cli bin/brixo-sim \
            share/brixoconfig/BrixoDevices.def share/brixoconfig/demo.dat \
            share/doc/brixoconfig/guide/index.md share/doc/brixoconfig/ser2net-layout.yaml \
            share/applications/org.brixoconfig.BrixoConfig.desktop \
            share/metainfo/org.brixoconfig.BrixoConfig.metainfo.xml \
            share/icons/hicolor/scalable/apps/brixoconfig.svg share/icons/hicolor/48x48/apps/brixoconfig.png \
            share/man/man1/brixo-cli.1 share/man/man1/brixo-sim.1 \
            share/bash-completion/completions/brixo-cli; do
  [ -s "$usr/$file" ] || fail "the package lacks $file"
done

# The user guide comes whole: every page and every picture of the source tree.
guide_source="$(dirname "$0")/../../docs/guide"
for file in "$guide_source"/*.md "$guide_source"/pictures/*.png; do
  cmp -s "$file" "$usr/share/doc/brixoconfig/guide/${file#"$guide_source"/}" || fail "the package's guide lacks ${file#"$guide_source"/}"
done

version="$(dpkg-deb -f "$deb" Version)"
[ "$("$usr/bin/brixo-cli" --version)" = "brixo-cli $version" ] || fail "brixo-cli --version: $("$usr/bin/brixo-cli" --version)"
[ "$("$usr/bin/brixo-sim" --version)" = "brixo-sim $version" ] || fail "brixo-sim --version"

# convert works from the installed tree on the installed demo file, in both forms.
"$usr/bin/brixo-cli" convert "$usr/share/brixoconfig/demo.dat" "$scratch/demo.dat" || fail "convert"
"$usr/bin/brixo-cli" convert "$scratch/demo.dat" "$scratch/compact.dat" --compact || fail "convert --compact"
"$usr/bin/brixo-cli" convert "$scratch/demo.dat" "$scratch/again.dat" || fail "convert of the converted file"
cmp -s "$scratch/demo.dat" "$scratch/again.dat" || fail "a converted file converts to itself"
[ "$(wc -c <"$scratch/compact.dat")" -lt "$(wc -c <"$scratch/demo.dat")" ] || fail "--compact is not smaller"

# The bash completion completes commands and each command's options from the installed
# program's own help (bash-completion's helpers stood in for, as it need not be installed).
complete_words() {
  bash -c '
    _init_completion() { words=("${COMP_WORDS[@]}"); cword=$COMP_CWORD; cur=${COMP_WORDS[COMP_CWORD]}; prev=${COMP_WORDS[COMP_CWORD-1]}; }
    _filedir() { COMPREPLY=(FILES); }
    source "$1"; shift
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
    _brixo_cli
    echo "${COMPREPLY[*]}"' _ "$usr/share/bash-completion/completions/brixo-cli" "$@"
}
check_completion() {
  local expected="$1"; shift
  local got
  got="$(complete_words "$usr/bin/brixo-cli" "$@")"
  [ "$got" = "$expected" ] || fail "completing '$*': '$got', not '$expected'"
}
check_completion "read-id read-all read-pin read-events" rea
check_completion "--compact" read-all out.dat --comp
check_completion "--baud" --ba
check_completion "9600 19200 38400" --baud ""
check_completion "FILES" convert ""
check_completion "verify-all verify-events verify-pins verify-dir" --port 3 veri
echo "package test passed: $(basename "$deb")"
