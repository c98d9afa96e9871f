#include "ui/edit_step_dialog.h"

#include <algorithm>

namespace brixo {

EditStepDialog::EditStepDialog(ConfigModel& model, QWidget* parent)
    : EditDialogBase("Edit Step", "dlgEditStep", parent) {
  AddAction("Insert Step", "commandInsert", [this, &model] {
    InsertStep(model, currentStep_);
    return true;
  });
  AddAction("Delete Step", "commandDelete", [this, &model] {
    DeleteStep(model, currentStep_);
    return true;
  });
  AddCancel("commandCancel");
}

void EditStepDialog::SetCurrentStep(int step) {
  currentStep_ = std::clamp(step, 0, kStepCount - 1);
}

}  // namespace brixo
