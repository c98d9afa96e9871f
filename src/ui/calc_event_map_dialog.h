#pragma once
// "BrixoConfig CalcETImap": the event-input map of "Event Input" from the four input
// boxes and the action options.
#include <array>
#include <string>

#include "model/calculators.h"
#include "ui/calc_dialog_base.h"

class QButtonGroup;
class QCheckBox;

namespace brixo {

class CalcEventMapDialog : public CalcDialogBase {
  Q_OBJECT
 public:
  explicit CalcEventMapDialog(QWidget* parent = nullptr);

  void Preset(const EventMapPreset& preset);
  std::string ParameterText() const { return calc_.Parameter(); }

 protected:
  void CancelInputs() override;

 private:
  void Show();

  EventMapCalculator calc_;
  std::array<QCheckBox*, 4> events_{};
  QButtonGroup* modes_;
  ResultRows result_;
};

}  // namespace brixo
