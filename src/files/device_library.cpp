#include "files/device_library.h"

#include <filesystem>
#include <optional>

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

// Reads the header and the names of a whole definitions file, every record checked; the
// problem (without the file's name) when it is not one, a record is damaged or it breaks
// off before "End".
std::optional<FileProblem> ReadDefinitions(const std::string& text, DefinitionsFile& file) {
  LineReader reader(text);
  std::optional<FileProblem> problem = ReadDefinitionsHeader(reader, file.HasVersion, file.Version);
  if (!problem) problem = ReadDeviceNames(reader, file.Names);
  return problem;
}

// The same, showing "Invalid definition file" and where it went wrong.
bool ReadDefinitions(const std::string& text, const std::string& path, UserPrompt& prompt, DefinitionsFile& file) {
  std::optional<FileProblem> problem = ReadDefinitions(text, file);
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
  library.StartUpNote.clear();
  SelectDevice(library, -1);

  // Why each library that is there could not be used: it must not be replaced in silence.
  std::vector<std::string> passedOver;
  std::optional<FileProblem> firstDamage;
  DefinitionsFile file;
  bool loaded = false;
  for (const std::string& candidate : candidates) {
    std::string text;
    std::string error;
    std::error_code missing;
    if (!std::filesystem::exists(std::filesystem::symlink_status(candidate, missing))) continue;
    if (!ReadFileText(candidate, text, error)) {
      passedOver.push_back(candidate + " cannot be read (" + error + ")");
      continue;
    }
    std::optional<FileProblem> problem = ReadDefinitions(text, file);
    if (problem) {
      problem->File = std::filesystem::path(candidate).filename().string();
      passedOver.push_back(candidate + " is damaged (" + DescribeFileProblem(*problem) + ")");
      if (!firstDamage) firstDamage = problem;
      file = DefinitionsFile{};
      continue;
    }
    library.DeviceFilePath = candidate;
    loaded = true;
    break;
  }
  if (loaded && !passedOver.empty()) {
    for (const std::string& reason : passedOver) library.StartUpNote += "Device library " + reason + ". ";
    library.StartUpNote += "Loaded " + library.DeviceFilePath + " instead.";
  }
  if (!loaded && firstDamage) {
    // The only library there is damaged: it is refused as a reload refuses it.
    context.Prompt.ShowMessage(RefusalText(kInvalidDefinitions, *firstDamage), MessageIcon::Warning);
    return false;
  }
  if (!loaded) {
    std::string text = "Can not find Device Configuration file at standard location";
    for (const std::string& reason : passedOver) text += "\n" + reason;
    context.Prompt.ShowMessage(text, MessageIcon::Warning);
    library.DeviceFilePath = context.Chooser.ChooseOpenFile(kDeviceFileFilter, kStandardDefinitionsName);
    std::string chosen;
    std::string error;
    if (library.DeviceFilePath.empty() || !ReadFileText(library.DeviceFilePath, chosen, error)) {
      context.Prompt.ShowMessage("No Device Configuration available", MessageIcon::Warning);
      return false;
    }
    if (!ReadDefinitions(chosen, library.DeviceFilePath, context.Prompt, file)) return false;
  }

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
