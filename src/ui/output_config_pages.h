#pragma once
// The output-parameter tab set (SSTabPCFG: "Clear", "Servo", "PWM", "Input") of the
// current pin with its get / set buttons and the servo and PWM test controls. The pages
// show the core's OutputConfigView and send every edit to the OutputConfigEditor.
#include <QWidget>
#include <array>

#include "model/output_config.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace brixo {

class AppState;
class FocusSlider;
class UpDownField;

class OutputConfigPages : public QWidget {
  Q_OBJECT
 public:
  explicit OutputConfigPages(AppState& app, QWidget* parent = nullptr);

  // Copies the view into the controls. withSliders: the configuration was shown afresh,
  // so the test sliders take the pin's level too (which sends nothing).
  void Show(bool withSliders);

  QTabWidget* Tabs() const { return tabs_; }
  FocusSlider* ServoSlider() const { return sliderServo_; }
  FocusSlider* PwmSlider() const { return sliderPwm_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildClearPage();
  QWidget* BuildServoPage();
  QWidget* BuildPwmPage();
  QWidget* BuildInputPage();
  QWidget* BuildServoTest();
  QWidget* BuildPwmTest();
  QWidget* BuildButtons();
  QLayout* FieldGrid(int page, int columns);
  UpDownField* Field(OutputFieldId id) const { return fields_[static_cast<int>(id)]; }
  void TabChanged(int page);
  void EditDone();

  AppState& app_;
  bool showing_ = false;
  QTabWidget* tabs_ = nullptr;
  std::array<UpDownField*, kOutputFieldCount> fields_{};
  QButtonGroup* servoRange_ = nullptr;
  QCheckBox* autoSuspend_ = nullptr;
  QCheckBox* suspended_ = nullptr;
  QCheckBox* initialised_ = nullptr;
  QLabel* servoWarning_ = nullptr;
  QCheckBox* pwmInverted_ = nullptr;
  QButtonGroup* driveMode_ = nullptr;
  QButtonGroup* accelMode_ = nullptr;
  QCheckBox* inputInvert_ = nullptr;
  QLabel* inputWarning_ = nullptr;
  FocusSlider* sliderServo_ = nullptr;
  QLineEdit* textPosition_ = nullptr;
  QCheckBox* servoDynamic_ = nullptr;
  FocusSlider* sliderPwm_ = nullptr;
  QLineEdit* textPwmLevel_ = nullptr;
  QCheckBox* pwmSlow_ = nullptr;
  std::array<QPushButton*, 2> getParam_{};
  std::array<QPushButton*, 2> setParam_{};
};

}  // namespace brixo
