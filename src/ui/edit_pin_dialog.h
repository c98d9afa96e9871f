#pragma once
// "Edit Pin": copy, paste or clear the current pin.
#include "model/edit_operations.h"
#include "ui/edit_dialog_base.h"

namespace brixo {

class UserPrompt;

class EditPinDialog : public EditDialogBase {
  Q_OBJECT
 public:
  EditPinDialog(ConfigModel& model, PinClipboard& clipboard, UserPrompt& prompt, QWidget* parent = nullptr);
};

}  // namespace brixo
