#include "ui/calc_event_map_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace brixo {

namespace {

struct ModeOption {
  int id;
  const char* caption;
};

constexpr ModeOption kModes[] = {{1, "Execute On-Event"},  {2, "Disable On-Event"},  {3, "Enable On-Event"},
                                 {5, "Execute Off-Event"}, {6, "Disable Off-Event"}, {7, "Enable Off-Event"}};

}  // namespace

CalcEventMapDialog::CalcEventMapDialog(QWidget* parent)
    : CalcDialogBase("BrixoConfig CalcETImap", "dlgBrixoCalcEventPattern", parent),
      modes_(new QButtonGroup(this)),
      result_("lblParameter") {
  auto* grid = new QGridLayout;
  auto* inputs = new QGroupBox("Event Inputs");
  auto* inputColumn = new QVBoxLayout(inputs);
  for (int i = 0; i < 4; ++i) {
    events_[i] = new QCheckBox(QString("Event Input %1").arg(i));
    events_[i]->setObjectName(QString("chkEvent_%1").arg(i));
    inputColumn->addWidget(events_[i]);
    connect(events_[i], &QCheckBox::clicked, this, [this, i](bool checked) {
      calc_.SetEvent(i, checked);
      Show();
    });
  }
  grid->addWidget(inputs, 0, 0);

  auto* actions = new QGroupBox("Action");
  auto* actionGrid = new QGridLayout(actions);
  modes_->setObjectName("optEvent");
  for (const ModeOption& mode : kModes) {
    auto* option = new QRadioButton(mode.caption);
    option->setObjectName(QString("optEvent_%1").arg(mode.id));
    modes_->addButton(option, mode.id);
    actionGrid->addWidget(option, (mode.id - 1) % 4, mode.id / 4);
  }
  grid->addWidget(actions, 0, 1);
  connect(modes_, &QButtonGroup::idClicked, this, [this](int id) {
    calc_.SelectMode(id);
    Show();
  });

  grid->addLayout(result_.Form, 1, 0, 1, 2);
  Body()->addLayout(grid);
  Show();
}

void CalcEventMapDialog::Preset(const EventMapPreset& preset) {
  calc_.Preset(preset);
  Show();
}

void CalcEventMapDialog::CancelInputs() {
  calc_.Cancel();
  Show();
}

void CalcEventMapDialog::Show() {
  const EventMapPreset& s = calc_.State();
  for (int i = 0; i < 4; ++i) {
    const QSignalBlocker block(events_[i]);
    events_[i]->setChecked(s.Events[i]);
  }
  const QSignalBlocker block(modes_);
  if (QAbstractButton* option = modes_->button(s.Mode)) {
    option->setChecked(true);
  } else {
    // No action chosen: no option is shown selected.
    modes_->setExclusive(false);
    for (QAbstractButton* button : modes_->buttons()) button->setChecked(false);
    modes_->setExclusive(true);
  }
  result_.Show(calc_.Parameter(), s.Original);
}

}  // namespace brixo
