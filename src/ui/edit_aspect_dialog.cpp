#include "ui/edit_aspect_dialog.h"

#include "link/user_prompt.h"

namespace brixo {

EditAspectDialog::EditAspectDialog(ConfigModel& model, AspectClipboard& clipboard, UserPrompt& prompt,
                                   QWidget* parent)
    : EditDialogBase("Edit Aspect", "dlgEditAspect", parent) {
  AddAction("Copy Aspect", "CommandCopy", [&model, &clipboard] {
    CopyAspect(model, clipboard);
    return true;
  });
  AddAction("Paste Aspect", "CommandPaste", [&model, &clipboard, &prompt] {
    if (PasteAspect(model, clipboard)) return true;
    prompt.ShowMessage(kNothingToPaste);
    return false;
  });
  AddAction("Clear Aspect", "CommandClear", [&model] {
    ClearAspect(model);
    return true;
  });
  AddAction("Cleanup Aspect", "CommandClean", [&model] {
    CleanupAspect(model);
    return true;
  });
  AddCancel("CommandCancel");
}

}  // namespace brixo
