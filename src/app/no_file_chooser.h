#pragma once
// A file chooser for owners that name their files themselves (the CLI, the simulator
// preload): every dialog counts as cancelled.
#include "files/file_chooser.h"

namespace brixo {

class NoFileChooser final : public FileChooser {
 public:
  std::string ChooseOpenFile(const std::string&, const std::string&) override { return {}; }
  std::string ChooseSaveFile(const std::string&, const std::string&) override { return {}; }
};

}  // namespace brixo
