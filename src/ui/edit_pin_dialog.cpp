#include "ui/edit_pin_dialog.h"

#include "link/user_prompt.h"

namespace brixo {

EditPinDialog::EditPinDialog(ConfigModel& model, PinClipboard& clipboard, UserPrompt& prompt, QWidget* parent)
    : EditDialogBase("Edit Pin", "dlgEditPin", parent) {
  AddAction("Copy Pin", "CommandCopyPin", [&model, &clipboard] {
    CopyPin(model, clipboard);
    return true;
  });
  AddAction("Paste Pin", "CommandPastePin", [&model, &clipboard, &prompt] {
    if (PastePin(model, clipboard)) return true;
    prompt.ShowMessage(kNothingToPaste);
    return false;
  });
  AddAction("Clear Pin", "CommandClearPin", [&model] {
    ClearCurrentPin(model);
    return true;
  });
  AddCancel("CommandCancel");
}

}  // namespace brixo
