#pragma once
// "BrixoConfig CalcTime": Time and Base of a timed instruction from a slider, with the
// duration they stand for.
#include <string>

#include "model/calculators.h"
#include "ui/calc_dialog_base.h"

class QLabel;
class QSlider;

namespace brixo {

class UpDownField;

class CalcTimeDialog : public CalcDialogBase {
  Q_OBJECT
 public:
  explicit CalcTimeDialog(QWidget* parent = nullptr);

  // Presets TextCTBase and SliderCTTime; the values are remembered for Cancel.
  void Preset(const std::string& baseText, int slider);
  int Base() const { return calc_.Base(); }
  int Slider() const { return calc_.Slider(); }

  QSlider* TimeSlider() const { return slider_; }
  UpDownField* BaseField() const { return base_; }

 protected:
  void CancelInputs() override;

 private:
  void Show();

  TimeCalculator calc_;
  UpDownField* base_;
  QSlider* slider_;
  QLabel* time_;
  QLabel* maxTime_;
};

}  // namespace brixo
