#pragma once
// Silent stand-ins for the dialogs, shared by the file fuzz targets.
#include <string>

#include "files/data_file_view.h"
#include "files/file_chooser.h"
#include "link/user_prompt.h"

namespace brixo::fuzz {

struct SilentPrompt : UserPrompt {
  MessageAnswer ShowMessage(const std::string&, MessageIcon, MessageButtons) override { return MessageAnswer::Ok; }
};

struct NoFiles : FileChooser {
  std::string ChooseOpenFile(const std::string&, const std::string&) override { return ""; }
  std::string ChooseSaveFile(const std::string&, const std::string&) override { return ""; }
};

}  // namespace brixo::fuzz
