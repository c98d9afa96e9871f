#include "ui/calc_pattern_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace brixo {

CalcPatternDialog::CalcPatternDialog(QWidget* parent)
    : CalcDialogBase("TamloConfig Calculate Pattern", "dlgBrixoCalcPattern", parent),
      allDark_(new QCheckBox("All Dark")),
      noDark_(new QCheckBox("No Dark-phase")),
      result_("lblParam") {
  auto* grid = new QGridLayout;
  for (int i = 0; i < 7; ++i) {
    outputs_[i] = new QCheckBox(QString("Output +%1").arg(i));
    outputs_[i]->setObjectName(QString("chkUitgang_%1").arg(i));
    grid->addWidget(outputs_[i], i, 0);
    connect(outputs_[i], &QCheckBox::clicked, this, [this, i](bool checked) {
      calc_.SetOutput(i, checked);
      Show();
    });
  }
  allDark_->setObjectName("chkAllDark");
  noDark_->setObjectName("chkNoDark");
  grid->addWidget(allDark_, 0, 1);
  grid->addWidget(noDark_, 1, 1);
  connect(allDark_, &QCheckBox::clicked, this, [this](bool checked) {
    calc_.SetAllDark(checked);
    Show();
  });
  connect(noDark_, &QCheckBox::clicked, this, [this](bool checked) {
    calc_.SetNoDark(checked);
    Show();
  });
  grid->addLayout(result_.Form, 3, 1, 4, 1);
  Body()->addLayout(grid);
  Show();
}

void CalcPatternDialog::Preset(const PatternPreset& preset) {
  calc_.Preset(preset);
  Show();
}

void CalcPatternDialog::CancelInputs() {
  calc_.Cancel();
  Show();
}

void CalcPatternDialog::Show() {
  const PatternPreset& s = calc_.State();
  for (int i = 0; i < 7; ++i) {
    const QSignalBlocker block(outputs_[i]);
    outputs_[i]->setChecked(s.Outputs[i]);
    outputs_[i]->setEnabled(s.OutputEnabled[i]);
  }
  for (auto [box, checked] : {std::pair{allDark_, s.AllDark}, std::pair{noDark_, s.NoDark}}) {
    const QSignalBlocker block(box);
    box->setChecked(checked);
    box->setEnabled(s.DarkEnabled);
  }
  result_.Show(calc_.Parameter(), s.Original);
}

}  // namespace brixo
