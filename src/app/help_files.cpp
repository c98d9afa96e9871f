#include "app/help_files.h"

#include <filesystem>

#include "files/device_library.h"

namespace brixo {

std::string FindDemoDataFile(const std::string& programFolder) {
  for (const std::string& library : StandardDefinitionsCandidates(programFolder)) {
    const std::filesystem::path demo = std::filesystem::path(library).parent_path() / "demo.dat";
    std::error_code error;
    if (std::filesystem::exists(demo, error)) return demo.string();
  }
  return {};
}

std::string AboutText() {
  return std::string("BrixoConfig ") + kReleaseCaption +
         "\n\nConfigures and tests the Brixo accessory controller over a serial line, directly "
         "or through a Quendal interface unit.\n\n"
         "Licence: none has been chosen yet. Until its authors choose one, ask them before you "
         "pass this program on.";
}

}  // namespace brixo
