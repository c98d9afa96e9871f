#pragma once
// The program's version: the About box, the release label, `--version` of brixo-cli and
// brixo-sim, and the installable package (its build reads the number from this file).
#include <string_view>

namespace brixo {

inline constexpr const char* kProgramVersion = "3.21A";
inline constexpr const char* kReleaseCaption = "Release 3.21A";
static_assert(std::string_view(kReleaseCaption).starts_with("Release ") &&
                  std::string_view(kReleaseCaption).substr(8) == std::string_view(kProgramVersion),
              "the release label names the program's version");

}  // namespace brixo
