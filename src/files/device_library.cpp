#include "files/device_library.h"

#include <filesystem>

#include "files/device_file_parser.h"
#include "files/field_reader.h"
#include "files/file_io.h"
#include "link/text_encoding.h"

namespace brixo {
namespace {

constexpr const char* kInvalidDefinitions = "Invalid definition file";
constexpr size_t kCaptionLimit = 50;
constexpr size_t kCaptionTail = 48;

struct DefinitionsFile {
  bool HasVersion = false;
  std::string Version;
  std::vector<std::string> Names;
};

// Reads the header and the names of a whole definitions file, every record checked; shows
// "Invalid definition file" and where it went wrong when it is not one, a record is
// damaged or it breaks off before "End".
bool ReadDefinitions(const std::string& text, const std::string& path, UserPrompt& prompt, DefinitionsFile& file) {
  LineReader reader(text);
  std::optional<FileProblem> problem = ReadDefinitionsHeader(reader, file.HasVersion, file.Version);
  if (!problem) problem = ReadDeviceNames(reader, file.Names);
  if (problem) {
    problem->File = std::filesystem::path(path).filename().string();
    prompt.ShowMessage(RefusalText(kInvalidDefinitions, *problem), MessageIcon::Warning);
    return false;
  }
  return true;
}

void AddDevices(DeviceLibrary& library, const DefinitionsFile& file) {
  for (const std::string& name : file.Names) {
    library.cboDevice.push_back(name);
    library.DeviceSourceFiles.push_back(library.DeviceFilePath);
  }
}

}  // namespace

std::vector<std::string> StandardDefinitionsCandidates(const std::string& programFolder) {
  namespace fs = std::filesystem;
  std::vector<std::string> candidates;
  if (!programFolder.empty()) {
    candidates.push_back((fs::path(programFolder) / kStandardDefinitionsName).string());
    candidates.push_back((fs::path(programFolder) / ".." / "share" / "brixoconfig" / kStandardDefinitionsName).string());
  }
  candidates.push_back((fs::path(BRIXO_SOURCE_DATA_DIR) / kStandardDefinitionsName).string());
  return candidates;
}

bool LoadStandardDefinitions(DeviceContext& context, const std::string& programFolder) {
  return LoadStartUpDefinitions(context, StandardDefinitionsCandidates(programFolder));
}

bool LoadStartUpDefinitions(DeviceContext& context, const std::vector<std::string>& candidates) {
  DeviceLibrary& library = context.Library;
  library.cboDevice.clear();
  library.DeviceSourceFiles.clear();
  SelectDevice(library, -1);

  std::string text;
  std::string error;
  bool opened = false;
  for (const std::string& candidate : candidates) {
    library.DeviceFilePath = candidate;
    if ((opened = ReadFileText(candidate, text, error))) break;
  }
  if (!opened) {
    context.Prompt.ShowMessage("Can not find Device Configuration file at standard location", MessageIcon::Warning);
    library.DeviceFilePath = context.Chooser.ChooseOpenFile(kDeviceFileFilter, kStandardDefinitionsName);
    if (library.DeviceFilePath.empty() || !ReadFileText(library.DeviceFilePath, text, error)) {
      context.Prompt.ShowMessage("No Device Configuration available", MessageIcon::Warning);
      return false;
    }
  }

  DefinitionsFile file;
  if (!ReadDefinitions(text, library.DeviceFilePath, context.Prompt, file)) return false;
  if (file.HasVersion) library.DefinitionsVersion = file.Version;
  if (!library.DefinitionsVersion.empty()) library.lblDDVersion = library.DefinitionsVersion;
  AddDevices(library, file);
  return true;
}

bool ReloadDefinitions(DeviceContext& context, bool append) {
  context.Library.DefinitionsVersion.clear();
  const std::string path = context.Chooser.ChooseOpenFile(kDeviceFileFilter, "");
  if (path.empty()) {
    context.Prompt.ShowMessage("No Device Configuration file selected", MessageIcon::Warning);
    return false;
  }
  return ReloadDefinitionsFrom(context, path, append);
}

bool ReloadDefinitionsFrom(DeviceContext& context, const std::string& path, bool append) {
  // A reload forgets the version read before, even when it fails.
  context.Library.DefinitionsVersion.clear();
  std::string text;
  std::string error;
  if (!ReadFileText(path, text, error)) {
    context.Prompt.ShowMessage("No Device Configuration file selected", MessageIcon::Warning);
    return false;
  }
  DefinitionsFile file;
  if (!ReadDefinitions(text, path, context.Prompt, file)) return false;

  DeviceLibrary& library = context.Library;
  library.DeviceFilePath = path;
  library.DefinitionsVersion = file.Version;
  std::string caption = append ? library.lblDDVersion + " + " + library.DefinitionsVersion : library.DefinitionsVersion;
  if (CodePoints(caption).size() > kCaptionLimit) caption = ".." + LastCharacters(caption, kCaptionTail);
  library.lblDDVersion = caption;
  if (!append) {
    library.cboDevice.clear();
    library.DeviceSourceFiles.clear();
    SelectDevice(library, -1);
  }
  AddDevices(library, file);
  return true;
}

void SelectDevice(DeviceLibrary& library, int index) {
  if (index >= 0 && index < static_cast<int>(library.cboDevice.size())) {
    library.SelectedIndex = index;
    library.cboDeviceText = library.cboDevice[index];
  } else {
    library.SelectedIndex = -1;
    library.cboDeviceText.clear();
  }
}

}  // namespace brixo
