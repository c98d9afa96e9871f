#pragma once
// Open and save file dialogs. The window shows real dialogs, the CLI takes paths from its
// arguments, tests answer with scripted paths.
#include <string>

namespace brixo {

inline constexpr const char* kDataFileFilter = "Brixo Config Data|*.dat";
inline constexpr const char* kDeviceFileFilter = "Brixo Device Definitions|*.def";

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // The chosen path, or an empty string when the user cancelled.
  virtual std::string ChooseOpenFile(const std::string& filter, const std::string& presetName) = 0;
  virtual std::string ChooseSaveFile(const std::string& filter, const std::string& presetName) = 0;
};

}  // namespace brixo
