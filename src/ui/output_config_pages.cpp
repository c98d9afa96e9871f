#include "ui/output_config_pages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/app_state.h"
#include "link/numeric_text.h"
#include "ui/clickable_label.h"
#include "ui/focus_slider.h"
#include "ui/core_text.h"
#include "ui/up_down_field.h"

namespace brixo {

namespace {

constexpr const char* kDynamicTip = "If checked, use active dynamic parameters, else go directly to position";
constexpr const char* kJumpTip = "Jump to target position immediately, override dynamic parameters";
constexpr const char* kTargetTip = "Servo Target Position";

// "TextInputDelay(1)" names element 1 of a control array; the window names it "TextInputDelay_1".
QString ObjectNameOf(const char* control) {
  QString name(control);
  return name.replace('(', '_').remove(')');
}

// Option buttons `perRow` to a row, so that the pages stay narrow.
QButtonGroup* OptionGroup(QWidget* owner, const char* name, QGridLayout* layout, const QStringList& captions,
                          int perRow) {
  auto* group = new QButtonGroup(owner);
  group->setObjectName(name);
  for (int i = 0; i < captions.size(); ++i) {
    auto* option = new QRadioButton(captions[i]);
    option->setObjectName(QString("%1_%2").arg(name).arg(i));
    group->addButton(option, i);
    layout->addWidget(option, i / perRow, i % perRow);
  }
  return group;
}

QCheckBox* Check(const QString& caption, const char* name) {
  auto* box = new QCheckBox(caption);
  box->setObjectName(name);
  return box;
}

QLabel* Warning(const char* name) {
  auto* label = new QLabel("Warning: Hardware Configuration Mismatch");
  label->setObjectName(name);
  label->setStyleSheet("color: #c00000; font-weight: bold;");
  return label;
}

void SetChecked(QAbstractButton* box, bool checked) {
  const QSignalBlocker block(box);
  box->setChecked(checked);
}

void Select(QButtonGroup* group, int id) {
  if (QAbstractButton* button = group->button(id)) SetChecked(button, true);
}

void SetSlider(QSlider* slider, int value) {
  const QSignalBlocker block(slider);
  slider->setValue(value);
}

}  // namespace

OutputConfigPages::OutputConfigPages(AppState& app, QWidget* parent) : QWidget(parent), app_(app) {
  setObjectName("OutputConfigPages");
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  tabs_ = new QTabWidget;
  tabs_->setObjectName("SSTabPCFG");
  tabs_->addTab(BuildClearPage(), "Clear");
  tabs_->addTab(BuildServoPage(), "Servo");
  tabs_->addTab(BuildPwmPage(), "PWM");
  tabs_->addTab(BuildInputPage(), "Input");
  column->addWidget(tabs_);
  column->addWidget(BuildButtons());
  connect(tabs_, &QTabWidget::currentChanged, this, &OutputConfigPages::TabChanged);
}

QWidget* OutputConfigPages::BuildClearPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* label = new QLabel("Pin is not configured");
  label->setObjectName("LabelPCFGClear");
  label->setAlignment(Qt::AlignCenter);
  layout->addWidget(label, 1);
  return page;
}

QLayout* OutputConfigPages::FieldGrid(int page, int columns) {
  auto* grid = new QGridLayout;
  OutputConfigEditor& editor = app_.Pins().Output();
  int index = 0;
  for (const OutputField& f : OutputFields()) {
    if (f.Page != page) continue;
    const OutputFieldId id = f.Id;
    auto* field = new UpDownField;
    field->setObjectName(ObjectNameOf(f.Control));
    field->setMaximumWidth(80);
    field->Edit()->installEventFilter(this);
    fields_[static_cast<int>(id)] = field;
    auto* label = new ClickableLabel(f.Label);
    // Only a label that does something takes the focus.
    if (id != OutputFieldId::PwmInitLevel) label->setFocusPolicy(Qt::NoFocus);
    label->setObjectName(ObjectNameOf(f.Control).replace("Text", "Label"));
    const int row = index / columns;
    const int column = (index % columns) * 2;
    grid->addWidget(label, row, column);
    grid->addWidget(field, row, column + 1);
    ++index;

    connect(field->Edit(), &QLineEdit::textEdited, this, [&editor, id](const QString& text) {
      editor.EditFieldText(id, FromQt(text));
    });
    connect(field, &UpDownField::committed, this, [this, &editor, id](const QString& text) {
      editor.CommitField(id, FromQt(text));
      EditDone();
    });
    connect(field, &UpDownField::stepped, this, [this, &editor, id](bool up) {
      const OutputField& range = OutputFieldOf(id);
      const int stored = app_.Model().PinTable[app_.Model().CurrentPin].OutputConfig[range.Byte] - range.Offset;
      editor.FieldSpinnerChanged(id, SpinnerStep(stored, up, range.Min, range.Max));
      EditDone();
    });
    if (id == OutputFieldId::PwmInitLevel) {
      label->setToolTip("Click to take the test level");
      connect(label, &ClickableLabel::clicked, this, [this, &editor] {
        editor.CopyFromTestSlider(OutputFieldId::PwmInitLevel, app_.Live().State.PwmTestLevel);
        EditDone();
      });
    }
  }
  // The rows keep their natural height; spare room goes below them.
  grid->setRowStretch((index + columns - 1) / columns, 1);
  return grid;
}

bool OutputConfigPages::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    // A double-click takes the test slider's value as the initial value.
    OutputConfigEditor& editor = app_.Pins().Output();
    if (watched == Field(OutputFieldId::SrvInitPos)->Edit()) {
      editor.CopyFromTestSlider(OutputFieldId::SrvInitPos, app_.Live().State.ServoTestPosition);
      EditDone();
    } else if (watched == Field(OutputFieldId::PwmInitLevel)->Edit()) {
      editor.CopyFromTestSlider(OutputFieldId::PwmInitLevel, app_.Live().State.PwmTestLevel);
      EditDone();
    }
  }
  return QWidget::eventFilter(watched, event);
}

QWidget* OutputConfigPages::BuildServoPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  OutputConfigEditor& editor = app_.Pins().Output();
  auto* top = new QHBoxLayout;
  top->addLayout(FieldGrid(kPageServo, 2), 1);

  auto* side = new QVBoxLayout;
  auto* range = new QGroupBox("Range");
  range->setObjectName("FrameServoRange");
  auto* rangeRows = new QGridLayout(range);
  servoRange_ = OptionGroup(this, "OptionServoRange", rangeRows, {"Off", "S", "M", "L", "XL"}, 3);
  side->addWidget(range);
  autoSuspend_ = Check("Auto Suspend", "ChkSrvAutoSuspend");
  suspended_ = Check("Suspended", "ChkSrvSuspended");
  initialised_ = Check("Servo Initialised", "ChkSrvInitialized");
  initialised_->setEnabled(false);  // reported by the controller
  side->addWidget(autoSuspend_);
  side->addWidget(suspended_);
  side->addWidget(initialised_);
  side->addStretch(1);
  top->addLayout(side);
  layout->addLayout(top);
  servoWarning_ = Warning("LabelSrvHWCWarn");
  layout->addWidget(servoWarning_);
  layout->addWidget(BuildServoTest());

  connect(servoRange_, &QButtonGroup::idClicked, this, [this, &editor](int option) {
    editor.SetServoRange(option);
    EditDone();
  });
  connect(autoSuspend_, &QCheckBox::clicked, this, [this, &editor](bool checked) {
    editor.SetAutoSuspend(checked);
    EditDone();
  });
  connect(suspended_, &QCheckBox::clicked, this, [this, &editor](bool checked) {
    editor.SetSuspended(checked);
    EditDone();
  });
  return page;
}

QWidget* OutputConfigPages::BuildServoTest() {
  auto* box = new QGroupBox("Position");
  box->setObjectName("FrameServoTest");
  auto* row = new QHBoxLayout(box);
  textPosition_ = new QLineEdit("0");
  textPosition_->setObjectName("TextPosition");
  textPosition_->setToolTip(kTargetTip);
  textPosition_->setMaximumWidth(60);
  auto* apply = new QPushButton("<");
  apply->setObjectName("CommandSrvLevel");
  sliderServo_ = new FocusSlider;
  sliderServo_->setObjectName("SliderServo");
  sliderServo_->setRange(kServoPositionMin, kServoPositionMax);
  sliderServo_->setPageStep(8);
  servoDynamic_ = Check("      Dynamic", "CheckSrvDynamic");
  servoDynamic_->setToolTip(kDynamicTip);
  auto* jump = new QPushButton("Jump");
  jump->setObjectName("CommandStopSrv");
  jump->setToolTip(kJumpTip);
  row->addWidget(textPosition_);
  row->addWidget(apply);
  row->addWidget(sliderServo_, 1);
  row->addWidget(servoDynamic_);
  row->addWidget(jump);

  connect(sliderServo_, &FocusSlider::focusChanged, this,
          [this](bool focus) { app_.Live().State.SliderServoFocus = focus; });
  connect(sliderServo_, &QSlider::valueChanged, this, [this](int value) {
    SliderServoChange(app_.Live(), value, servoDynamic_->isChecked());
    textPosition_->setText(QString::number(value));
  });
  connect(apply, &QPushButton::clicked, this, [this] {
    const QString typed = textPosition_->text();
    const std::string shown = CommandSrvLevel(app_.Live(), FromQt(typed), servoDynamic_->isChecked());
    textPosition_->setText(ToQt(shown));
    if (!IsNumericText(FromQt(typed))) ShowRefusedNumber(textPosition_, typed, ToQt(shown));
    SetSlider(sliderServo_, app_.Live().State.ServoTestPosition);
  });
  connect(jump, &QPushButton::clicked, this, [this] { CommandStopSrv(app_.Live()); });
  return box;
}

QWidget* OutputConfigPages::BuildPwmPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  OutputConfigEditor& editor = app_.Pins().Output();
  auto* top = new QHBoxLayout;
  top->addLayout(FieldGrid(kPagePwm, 2), 1);
  pwmInverted_ = Check("Inverted", "CheckPWMInverted");
  top->addWidget(pwmInverted_, 0, Qt::AlignTop);
  layout->addLayout(top);
  // The two modes side by side under the fields keep the page narrow.
  auto* modes = new QHBoxLayout;
  auto* drive = new QGroupBox("Drive Mode");
  auto* driveRow = new QGridLayout(drive);
  driveMode_ = OptionGroup(this, "OptionPWMDriveMode", driveRow, {"Logaritmic", "Linear"}, 2);
  auto* accel = new QGroupBox("Acceleration Mode");
  auto* accelRow = new QGridLayout(accel);
  accelMode_ = OptionGroup(this, "OptionPWMAccelMode", accelRow, {"Logaritmic", "Linear"}, 2);
  modes->addWidget(drive);
  modes->addWidget(accel);
  layout->addLayout(modes);
  layout->addWidget(BuildPwmTest());

  connect(pwmInverted_, &QCheckBox::clicked, this, [this, &editor](bool checked) {
    editor.SetPwmInverted(checked);
    EditDone();
  });
  connect(driveMode_, &QButtonGroup::idClicked, this, [this, &editor](int option) {
    editor.SetDriveMode(option);
    EditDone();
  });
  connect(accelMode_, &QButtonGroup::idClicked, this, [this, &editor](int option) {
    editor.SetAccelMode(option);
    EditDone();
  });
  return page;
}

QWidget* OutputConfigPages::BuildPwmTest() {
  auto* box = new QGroupBox("Level");
  box->setObjectName("FramePwmTest");
  auto* row = new QHBoxLayout(box);
  textPwmLevel_ = new QLineEdit("0");
  textPwmLevel_->setObjectName("TextPWMLevel");
  textPwmLevel_->setToolTip(kTargetTip);
  textPwmLevel_->setMaximumWidth(60);
  auto* apply = new QPushButton("<");
  apply->setObjectName("CommandPWMLevel");
  sliderPwm_ = new FocusSlider;
  sliderPwm_->setObjectName("SliderPWM");
  sliderPwm_->setRange(0, kPwmLevelMax);
  sliderPwm_->setPageStep(4);
  pwmSlow_ = Check("       Slow", "CheckPWMSlow");
  pwmSlow_->setToolTip(kDynamicTip);
  auto* jump = new QPushButton("Jump");
  jump->setObjectName("CommandPWMJump");
  jump->setToolTip(kJumpTip);
  row->addWidget(textPwmLevel_);
  row->addWidget(apply);
  row->addWidget(sliderPwm_, 1);
  row->addWidget(pwmSlow_);
  row->addWidget(jump);

  connect(sliderPwm_, &FocusSlider::focusChanged, this, [this](bool focus) { app_.Live().State.SliderPWMFocus = focus; });
  connect(sliderPwm_, &QSlider::valueChanged, this, [this](int value) {
    SliderPWMChange(app_.Live(), value, pwmSlow_->isChecked());
    textPwmLevel_->setText(QString::number(value));
  });
  connect(apply, &QPushButton::clicked, this, [this] {
    const QString typed = textPwmLevel_->text();
    const std::string shown = CommandPWMLevel(app_.Live(), FromQt(typed), pwmSlow_->isChecked());
    textPwmLevel_->setText(ToQt(shown));
    if (!IsNumericText(FromQt(typed))) ShowRefusedNumber(textPwmLevel_, typed, ToQt(shown));
    SetSlider(sliderPwm_, app_.Live().State.PwmTestLevel);
  });
  connect(jump, &QPushButton::clicked, this, [this] { CommandPWMJump(app_.Live()); });
  return box;
}

QWidget* OutputConfigPages::BuildInputPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* top = new QHBoxLayout;
  top->addLayout(FieldGrid(kPageInput, 1));
  inputInvert_ = Check("Low Active", "CheckInputInvert");
  top->addWidget(inputInvert_, 0, Qt::AlignTop);
  top->addStretch(1);
  layout->addLayout(top);
  inputWarning_ = Warning("LabelInpHWCWarn");
  layout->addWidget(inputWarning_);
  layout->addStretch(1);
  connect(inputInvert_, &QCheckBox::clicked, this, [this](bool checked) {
    app_.Pins().Output().SetInputLowActive(checked);
    EditDone();
  });
  return page;
}

QWidget* OutputConfigPages::BuildButtons() {
  auto* box = new QWidget;
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  const char* getCaptions[] = {"Get Pin Config", "Read Pin Config"};
  const char* setCaptions[] = {"Set Pin Config", "Write Pin Config"};
  const char* setTips[] = {"Sets Active Servo parameters (not permanent)", "Writes Servo Parameters to Flash memory"};
  for (int index = 0; index < 2; ++index) {
    getParam_[index] = new QPushButton(getCaptions[index]);
    getParam_[index]->setObjectName(QString("CommandPCFGGetParam_%1").arg(index));
    setParam_[index] = new QPushButton(setCaptions[index]);
    setParam_[index]->setObjectName(QString("CommandPCFGSetParam_%1").arg(index));
    setParam_[index]->setToolTip(setTips[index]);
    connect(getParam_[index], &QPushButton::clicked, this, [this, index] {
      if (app_.Pins().GetPinConfig(app_.Link(), index)) Show(true);
    });
    connect(setParam_[index], &QPushButton::clicked, this, [this, index] {
      app_.Pins().SetPinConfig(app_.Link(), index);
      Show(false);
    });
  }
  row->addWidget(getParam_[0]);
  row->addWidget(setParam_[0]);
  row->addStretch(1);
  row->addWidget(getParam_[1]);
  row->addWidget(setParam_[1]);
  return box;
}

void OutputConfigPages::TabChanged(int page) {
  if (showing_) return;
  app_.Pins().Output().TabClick(page);
  Show(true);
}

void OutputConfigPages::EditDone() { Show(false); }

void OutputConfigPages::Show(bool withSliders) {
  const OutputConfigView& v = app_.Pins().Output().View();
  showing_ = true;
  tabs_->setCurrentIndex(v.SSTabPCFG);
  showing_ = false;
  for (const OutputField& f : OutputFields()) Field(f.Id)->SetText(ToQt(v.FieldText[static_cast<int>(f.Id)]));
  Select(servoRange_, v.OptionServoRange);
  SetChecked(autoSuspend_, v.ChkSrvAutoSuspend);
  SetChecked(suspended_, v.ChkSrvSuspended);
  SetChecked(initialised_, v.ChkSrvInitialized);
  servoWarning_->setVisible(v.LabelSrvHWCWarn);
  SetChecked(pwmInverted_, v.CheckPWMInverted);
  Select(driveMode_, v.OptionPWMDriveMode);
  Select(accelMode_, v.OptionPWMAccelMode);
  SetChecked(inputInvert_, v.CheckInputInvert);
  inputWarning_->setVisible(v.LabelInpHWCWarn);
  if (withSliders && v.SSTabPCFG == kPageServo) {
    SetSlider(sliderServo_, v.SliderServo);
    textPosition_->setText(QString::number(v.SliderServo));
  }
  if (withSliders && v.SSTabPCFG == kPagePwm) {
    SetSlider(sliderPwm_, v.SliderPWM);
    textPwmLevel_->setText(QString::number(sliderPwm_->value()));
  }

  const DetailsVisibility& d = app_.Pins().Editor().View().Details;
  tabs_->setVisible(d.SSTabPCFG);
  for (int index = 0; index < 2; ++index) {
    getParam_[index]->setVisible(d.CommandPCFGGetParam[index]);
    setParam_[index]->setVisible(d.CommandPCFGSetParam[index]);
  }
}

}  // namespace brixo
