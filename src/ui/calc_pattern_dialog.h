#pragma once
// "TamloConfig Calculate Pattern": the output pattern of the Multibit instructions from
// one box per output and the two dark-phase boxes.
#include <array>
#include <string>

#include "model/calculators.h"
#include "ui/calc_dialog_base.h"

class QCheckBox;

namespace brixo {

class CalcPatternDialog : public CalcDialogBase {
  Q_OBJECT
 public:
  explicit CalcPatternDialog(QWidget* parent = nullptr);

  void Preset(const PatternPreset& preset);
  // txtParameter, what the caller takes back.
  std::string ParameterText() const { return calc_.Parameter(); }

 protected:
  void CancelInputs() override;

 private:
  void Show();

  PatternCalculator calc_;
  std::array<QCheckBox*, 7> outputs_{};
  QCheckBox* allDark_;
  QCheckBox* noDark_;
  ResultRows result_;
};

}  // namespace brixo
