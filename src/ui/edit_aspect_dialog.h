#pragma once
// "Edit Aspect": copy, paste, clear or clean up the current aspect.
#include "model/edit_operations.h"
#include "ui/edit_dialog_base.h"

namespace brixo {

class UserPrompt;

class EditAspectDialog : public EditDialogBase {
  Q_OBJECT
 public:
  EditAspectDialog(ConfigModel& model, AspectClipboard& clipboard, UserPrompt& prompt, QWidget* parent = nullptr);
};

}  // namespace brixo
