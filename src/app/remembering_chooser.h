#pragma once
// The owner's file dialogs, remembering the last path chosen, so that what a save or a
// load did can be told by the file's name.
#include <string>

#include "files/file_chooser.h"

namespace brixo {

class RememberingChooser final : public FileChooser {
 public:
  explicit RememberingChooser(FileChooser& chooser) : chooser_(chooser) {}

  std::string ChooseOpenFile(const std::string& filter, const std::string& presetName) override {
    return last_ = chooser_.ChooseOpenFile(filter, presetName);
  }
  std::string ChooseSaveFile(const std::string& filter, const std::string& presetName) override {
    return last_ = chooser_.ChooseSaveFile(filter, presetName);
  }
  // Empty when the last dialog was cancelled.
  const std::string& LastChosen() const { return last_; }

 private:
  FileChooser& chooser_;
  std::string last_;
};

}  // namespace brixo
