#include "ui/matrix_panel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace brixo {

namespace {

QString Indexed(const char* name, int index) { return QString("%1_%2").arg(name).arg(index); }

// What the first twenty aspect numbers usually stand for on signals and turnouts; the
// controller's own programs decide, so these are only reminders.
constexpr std::array<const char*, MatrixPanel::kLabelCount> kAspectCaptions = {
    "Stop / off",        "Clear / on",         "Caution",          "Proceed slowly",
    "Shunting allowed",  "Dark",               "Expect stop",      "Expect clear",
    "Expect slow",       "Route left",         "Route right",      "Flashing",
    "Turnout straight",  "Turnout diverging",  "Crossing closed",  "Crossing open",
    "Lamp test",         "Substitute signal",  "Speed indicator",  "Emergency stop"};

// Three columns of eleven: four would make the tab wider than a 1024-pixel screen.
constexpr int kRows = 11;

}  // namespace

MatrixPanel::MatrixPanel(BrixoLink& link, QWidget* parent) : QGroupBox("Matrix Test", parent), link_(link) {
  setObjectName("FrameMatrix");
  // Two rows of boxes: one row of ten is wider than the window leaves for this group.
  auto* boxes = new QGridLayout;
  auto* boxCaption = new QLabel("Serial addresses:");
  boxCaption->setObjectName("LabelMatrixAddresses");
  boxes->addWidget(boxCaption, 0, 0);
  constexpr int kBoxesPerRow = (kMatrixBoxCount + 1) / 2;
  for (int i = 0; i < kMatrixBoxCount; ++i) {
    chkMatrix_[i] = new QCheckBox(QString("MB%1").arg(i));
    chkMatrix_[i]->setObjectName(Indexed("ChkMatrix", i));
    boxes->addWidget(chkMatrix_[i], i / kBoxesPerRow, 1 + i % kBoxesPerRow);
  }
  boxes->setColumnStretch(kBoxesPerRow + 1, 1);

  // Columns of buttons, each with its reminder beside it.
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(2);
  for (int k = 0; k < kButtonCount; ++k) {
    const int row = k % kRows;
    const int column = 2 * (k / kRows);
    auto* button = new QPushButton(QString("MB-%1").arg(k));
    button->setObjectName(Indexed("CmdSetMatrix", k));
    // The style's wide default would push the tab past the window's width.
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance("MB-00") + 20);
    button->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    connect(button, &QPushButton::clicked, this, [this, k] { SetMatrix(link_, k, Checked()); });
    grid->addWidget(button, row, column);
    if (k < kLabelCount) {
      auto* label = new QLabel(kAspectCaptions[k]);
      label->setObjectName(Indexed("LblMatrix", k));
      grid->addWidget(label, row, column + 1);
    }
    grid->setColumnStretch(column + 1, 1);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(boxes);
  layout->addLayout(grid);
}

std::array<bool, kMatrixBoxCount> MatrixPanel::Checked() const {
  std::array<bool, kMatrixBoxCount> checked{};
  for (int i = 0; i < kMatrixBoxCount; ++i) checked[i] = chkMatrix_[i]->isChecked();
  return checked;
}

}  // namespace brixo
