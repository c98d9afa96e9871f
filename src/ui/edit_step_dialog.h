#pragma once
// "Edit Step": insert an empty step at, or delete, the step whose label was clicked.
#include "model/edit_operations.h"
#include "ui/edit_dialog_base.h"

namespace brixo {

class EditStepDialog : public EditDialogBase {
  Q_OBJECT
 public:
  explicit EditStepDialog(ConfigModel& model, QWidget* parent = nullptr);

  // CurrentStep: set before the dialog is shown.
  void SetCurrentStep(int step);
  int CurrentStep() const { return currentStep_; }

 private:
  int currentStep_ = 0;
};

}  // namespace brixo
