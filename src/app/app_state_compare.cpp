// The application state's side of "Compare with File...".
#include "app/app_state.h"
#include "files/file_chooser.h"

namespace brixo {

std::optional<ComparedFile> AppState::ChooseFileToCompare() {
  const std::string path = chooser_.ChooseOpenFile(kDataFileFilter, "");
  if (path.empty()) return std::nullopt;
  std::optional<Configuration> config = ReadConfigurationFile(path, prompt_, model_.NumberingOffset);
  if (!config) return std::nullopt;
  return ComparedFile{path, std::move(*config)};
}

}  // namespace brixo
