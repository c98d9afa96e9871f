#include "ui/calc_time_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/core_text.h"
#include "ui/up_down_field.h"

namespace brixo {

namespace {

QLabel* Label(const QString& text, const char* name) {
  auto* label = new QLabel(text);
  label->setObjectName(name);
  return label;
}

}  // namespace

CalcTimeDialog::CalcTimeDialog(QWidget* parent)
    : CalcDialogBase("BrixoConfig CalcTime", "dlgCT", parent),
      base_(new UpDownField),
      slider_(new QSlider(Qt::Horizontal)),
      time_(Label("00:00.00", "LabelCTTimeValue")),
      maxTime_(Label("00:00.00", "LabelCTMaxTimeValue")) {
  base_->setObjectName("TextCTBase");
  base_->setMaximumWidth(70);
  slider_->setObjectName("SliderCTTime");
  slider_->setRange(0, 63);
  slider_->setSingleStep(1);
  slider_->setPageStep(5);
  slider_->setMinimumWidth(260);

  auto* grid = new QGridLayout;
  grid->addWidget(Label("Base", "LabelCTBase"), 0, 0);
  grid->addWidget(base_, 0, 1, Qt::AlignLeft);
  grid->addWidget(slider_, 1, 0, 1, 4);
  grid->addWidget(Label("Time = ", "LabelCTTime"), 2, 0);
  grid->addWidget(time_, 2, 1);
  grid->addWidget(Label("Max Time = ", "LabelCTMaxTime"), 2, 2);
  grid->addWidget(maxTime_, 2, 3);
  Body()->addLayout(grid);

  connect(slider_, &QSlider::valueChanged, this, [this](int value) {
    calc_.SetSlider(value);
    Show();
  });
  connect(base_, &UpDownField::committed, this, [this](const QString& text) {
    calc_.CommitBase(FromQt(text));
    Show();
  });
  connect(base_, &UpDownField::stepped, this, [this](bool up) {
    calc_.BaseSpinnerChanged(SpinnerStep(calc_.Base(), up, 0, 3));
    Show();
  });
  Show();
}

void CalcTimeDialog::Preset(const std::string& baseText, int slider) {
  calc_.Preset(baseText, slider);
  Show();
}

void CalcTimeDialog::CancelInputs() {
  calc_.Cancel();
  Show();
}

void CalcTimeDialog::Show() {
  base_->SetText(ToQt(calc_.BaseText()));
  {
    const QSignalBlocker block(slider_);
    slider_->setValue(calc_.Slider());
  }
  time_->setText(ToQt(calc_.TimeValue()));
  maxTime_->setText(ToQt(calc_.MaxTimeValue()));
}

}  // namespace brixo
