#include "ui/pin_editor_panel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "app/app_state.h"
#include "model/numeric_text.h"
#include "transfer/pin_transfer.h"
#include "ui/clickable_label.h"
#include "ui/core_text.h"
#include "ui/modifier_button.h"
#include "ui/press_rules.h"
#include "ui/step_row_widgets.h"
#include "ui/up_down_field.h"

namespace brixo {

namespace {

void SetLineText(QLineEdit* box, const std::string& text) {
  const QString shown = ToQt(text);
  if (box->text() == shown) return;
  const QSignalBlocker block(box);
  box->setText(shown);
}

QLabel* Caption(const QString& text, const char* name) {
  auto* label = new QLabel(text);
  label->setObjectName(name);
  return label;
}

ClickableLabel* ToolLabel(const QString& text, const char* name) {
  auto* label = new ClickableLabel(text);
  label->setObjectName(name);
  label->setToolTip("Click for copy/paste tools");
  label->setCursor(Qt::PointingHandCursor);
  QFont font = label->font();
  font.setUnderline(true);
  label->setFont(font);
  return label;
}

}  // namespace

PinEditorPanel::PinEditorPanel(AppState& app, QWidget* parent) : QWidget(parent), app_(app) {
  setObjectName("PinEditorPanel");
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(4);
  column->addWidget(BuildPinRows());
  column->addWidget(BuildAspectRow());
  column->addWidget(BuildStepGrid());
  column->addStretch(1);
}

QWidget* PinEditorPanel::BuildPinRows() {
  auto* box = new QGroupBox("Pin");
  box->setObjectName("FramePin");
  auto* grid = new QGridLayout(box);
  PinEditor& editor = app_.Pins().Editor();

  labelPin_ = ToolLabel("Pin", "LabelPAspOutput");
  pin_ = new UpDownField;
  pin_->setObjectName("TextPAspOutput");
  pin_->setMaximumWidth(90);
  pinDescription_ = new QLineEdit;
  pinDescription_->setObjectName("TextPAspDesc");
  grid->addWidget(labelPin_, 0, 0);
  grid->addWidget(pin_, 0, 1);
  grid->addWidget(pinDescription_, 0, 2, 1, 2);

  devicePin_ = new CommitLineEdit;
  devicePin_->setObjectName("TextDevicePin");
  devicePin_->setMaximumWidth(70);
  deviceDescription_ = new QLineEdit;
  deviceDescription_->setObjectName("TextDeviceDescription");
  grid->addWidget(Caption("Device", "LabelDevice"), 1, 0);
  grid->addWidget(devicePin_, 1, 1);
  grid->addWidget(deviceDescription_, 1, 2, 1, 2);

  auto* options = new QHBoxLayout;
  layout_ = new QButtonGroup(this);
  layout_->setObjectName("OptionPAspConf");
  const char* captions[] = {"0", "4", "12"};
  for (int i = 0; i < 3; ++i) {
    auto* option = new QRadioButton(captions[i]);
    option->setObjectName(QString("OptionPAspConf_%1").arg(i));
    layout_->addButton(option, i);
    options->addWidget(option);
  }
  options->addStretch(1);
  showDetails_ = new QCheckBox("Show Details");
  showDetails_->setObjectName("CheckPAspShowDetails");
  options->addWidget(showDetails_);
  grid->addWidget(Caption("Aspects", "LabelPAspConf"), 2, 0);
  grid->addLayout(options, 2, 1, 1, 3);
  grid->setColumnStretch(3, 1);

  connect(labelPin_, &ClickableLabel::clicked, this, [this] { emit editDialogRequested(EditDialogKind::Pin, 0); });
  connect(pin_->Edit(), &QLineEdit::textEdited, this,
          [this, &editor](const QString& text) { editor.EditPinText(FromQt(text)); });
  connect(pin_, &UpDownField::committed, this, &PinEditorPanel::SelectPin);
  connect(pin_, &UpDownField::stepped, this, &PinEditorPanel::StepPin);
  connect(pinDescription_, &QLineEdit::textEdited, this,
          [&editor](const QString& text) { editor.SetPinDescription(FromQt(text)); });
  connect(devicePin_, &QLineEdit::textEdited, this, [this, &editor](const QString& text) {
    editor.ChangeDevicePin(FromQt(text));
  });
  connect(devicePin_, &CommitLineEdit::commitRequested, this, [this, &editor] {
    editor.LeaveDevicePin();
    Show();
  });
  connect(deviceDescription_, &QLineEdit::textEdited, this,
          [&editor](const QString& text) { editor.ChangeDeviceDescription(FromQt(text)); });
  connect(layout_, &QButtonGroup::idClicked, this, [this, &editor](int index) {
    editor.OptionPAspConf_Click(index);
    Show();
  });
  connect(showDetails_, &QCheckBox::clicked, this, [this](bool checked) {
    app_.Pins().ShowDetails(checked);
    Show();
    emit detailsChanged();
  });
  return box;
}

QWidget* PinEditorPanel::BuildAspectRow() {
  aspectRow_ = new QGroupBox("Aspect");
  aspectRow_->setObjectName("FrameAspect");
  // The aspect and its description above, the initial aspect and the buttons below: in
  // one row the description would shrink to nothing on a small screen.
  auto* grid = new QGridLayout(aspectRow_);
  PinEditor& editor = app_.Pins().Editor();

  labelAspect_ = ToolLabel("Aspect", "LabelPAspAspect");
  aspect_ = new UpDownField;
  aspect_->setObjectName("TextPAspAspect");
  aspect_->setMaximumWidth(70);
  aspectDescription_ = new QLineEdit;
  aspectDescription_->setObjectName("TextPAspAspDesc");
  labelInit_ = Caption("Initial Aspect", "LabelPAspInit");
  init_ = new UpDownField;
  init_->setObjectName("TextPAspInit");
  init_->setMaximumWidth(70);
  test_ = new ModifierButton("Test");
  test_->setObjectName("CommandPAspTestAspect");
  test_->setToolTip("Alt + Click for Options");
  writeSingle_ = new QPushButton("Write Single");
  writeSingle_->setObjectName("CommandPAspWriteAspect");

  grid->addWidget(labelAspect_, 0, 0);
  grid->addWidget(aspect_, 0, 1);
  grid->addWidget(aspectDescription_, 0, 2, 1, 3);
  grid->addWidget(labelInit_, 1, 0);
  grid->addWidget(init_, 1, 1);
  grid->addWidget(test_, 1, 2);
  grid->addWidget(writeSingle_, 1, 3);
  grid->setColumnStretch(4, 1);

  connect(labelAspect_, &ClickableLabel::clicked, this,
          [this] { emit editDialogRequested(EditDialogKind::Aspect, 0); });
  connect(aspect_->Edit(), &QLineEdit::textEdited, this,
          [&editor](const QString& text) { editor.EditAspectText(FromQt(text)); });
  connect(aspect_, &UpDownField::committed, this, [this, &editor](const QString& text) {
    editor.CommitAspect(FromQt(text));
    Show();
  });
  connect(aspect_, &UpDownField::stepped, this, [this, &editor](bool up) {
    const int next = SpinnerStep(app_.Model().CurrentAspect, up, 0, editor.View().UpDownPAspAspectMax);
    editor.AspectSpinnerMoved(next);
    Show();
  });
  connect(aspectDescription_, &QLineEdit::textEdited, this,
          [&editor](const QString& text) { editor.SetAspectDescription(FromQt(text)); });
  connect(init_->Edit(), &QLineEdit::textEdited, this,
          [&editor](const QString& text) { editor.EditInitText(FromQt(text)); });
  connect(init_, &UpDownField::committed, this, [this, &editor](const QString& text) {
    editor.CommitInitAspect(FromQt(text));
    Show();
  });
  connect(init_, &UpDownField::stepped, this, [this, &editor](bool up) {
    const int shown = app_.Model().PinTable[app_.Model().CurrentPin].InitAspect - 1;
    editor.InitSpinnerMoved(SpinnerStep(shown, up, -1, editor.View().UpDownPAspInitMax));
    Show();
  });
  connect(test_, &ModifierButton::pressedWith, this, &PinEditorPanel::TestPressed);
  connect(writeSingle_, &QPushButton::clicked, this, &PinEditorPanel::WriteSingleAspect);
  return aspectRow_;
}

QWidget* PinEditorPanel::BuildStepGrid() {
  auto* box = new QWidget;
  box->setObjectName("FrameSteps");
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(6);
  // Rows a pixel apart: with details hidden the tab then fits 1024 x 768 without scrolling.
  grid->setVerticalSpacing(1);
  headStep_ = Caption("#", "LabelPAspHStep");
  headInstruction_ = Caption("Instruction", "LabelPAspHInst");
  grid->addWidget(headStep_, 0, 0, Qt::AlignCenter);
  grid->addWidget(headInstruction_, 0, 1);
  const char* names[] = {"LabelPAspHFade", "LabelPAspOffset", "LabelPAspHParam1", "LabelPASpHParam2",
                         "LabelPAspHParam3"};
  for (int i = 0; i < 5; ++i) {
    captions_[i] = Caption("", names[i]);
    grid->addWidget(captions_[i], 0, 2 + i, i == 0 ? Qt::AlignCenter : Qt::Alignment());
  }
  const InstructionTable& table = app_.Pins().Editor().Table();
  for (int row = 0; row < kStepCount; ++row) {
    rows_[row] = new StepRowWidgets(row, table, grid, row + 1, box);
    ConnectStepRow(rows_[row]);
  }
  // Every column is as wide as the widest caption any instruction gives it, so that the
  // boxes stay put when the captions change with the row being edited.
  const QFontMetrics metrics(captions_[0]->font());
  std::array<int, 5> widths{metrics.horizontalAdvance("Fade"), 0, 0, 0, 0};
  for (const ChooserEntry& entry : table.ChooserList()) {
    const InstructionInfo& info = table.Info(entry.Opcode);
    const std::string* labels[] = {&info.Par0Label, &info.Par1Label, &info.Par2Label, &info.Par3Label};
    for (int par = 0; par < kParCount; ++par)
      widths[1 + par] = std::max(widths[1 + par], metrics.horizontalAdvance(ToQt(*labels[par])));
  }
  for (int i = 0; i < 5; ++i) grid->setColumnMinimumWidth(2 + i, widths[i]);
  grid->setColumnStretch(8, 1);
  return box;
}

void PinEditorPanel::ConnectStepRow(StepRowWidgets* row) {
  PinEditor& editor = app_.Pins().Editor();
  connect(row, &StepRowWidgets::instructionChosen, this, [this, &editor](int r, int index) {
    editor.ChooseInstruction(r, index);
    Show();
  });
  connect(row, &StepRowWidgets::fadeToggled, this, [this, &editor](int r, bool checked) {
    editor.SetFade(r, checked);
    Show();
  });
  connect(row, &StepRowWidgets::parEdited, this,
          [&editor](int r, int par, const QString& text) { editor.EditParText(r, par, FromQt(text)); });
  connect(row, &StepRowWidgets::parCommitted, this, [this, &editor](int r, int par, const QString& text) {
    editor.CommitPar(r, par, FromQt(text));
    Show();
  });
  connect(row, &StepRowWidgets::parDoubleClicked, this, [this](int r, int par) {
    if (par == 0) {
      app_.Prompt().ShowMessage(kHelpToolNotAvailable);
      return;
    }
    emit helpToolRequested(r, par == 1 ? HelpBox::Par1 : par == 2 ? HelpBox::Par2 : HelpBox::Par3);
  });
  connect(row, &StepRowWidgets::durationDoubleClicked, this,
          [this](int r) { emit helpToolRequested(r, HelpBox::Duration); });
  connect(row, &StepRowWidgets::stepLabelClicked, this,
          [this](int r) { emit editDialogRequested(EditDialogKind::Step, r); });
  connect(row, &StepRowWidgets::rowFocused, this, [this, &editor](int r) {
    editor.FocusRow(r);
    ShowCaptions();
  });
}

void PinEditorPanel::SelectPin(const QString& text) {
  app_.Pins().Editor().CommitPinNumber(FromQt(text));
  Show();
  emit pinSelected();
}

void PinEditorPanel::StepPin(bool up) {
  const PinEditorView& view = app_.Pins().Editor().View();
  const int shown = app_.Model().CurrentPin + app_.Model().NumberingOffset;
  const int next = SpinnerStep(shown, up, view.UpDownPAspOutputMin, view.UpDownPAspOutputMax);
  // Typed but uncommitted values of the old pin are kept before it is left.
  app_.Pins().CommitOutputEdits();
  SelectPin(QString::number(next));
}

void PinEditorPanel::TestPressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
  if (const std::optional<int> keys = TestKeysFor(button, modifiers)) TestAspect(app_.Live(), *keys);
}

void PinEditorPanel::WriteSingleAspect() {
  WriteAspectProgram(app_.Transfer(), app_.Model().CurrentPin, app_.Model().CurrentAspect);
}

QPushButton* PinEditorPanel::WriteSingle() const { return writeSingle_; }

void PinEditorPanel::Show() {
  const PinEditorView& v = app_.Pins().Editor().View();
  pin_->SetText(ToQt(v.TextPAspOutput));
  SetLineText(pinDescription_, v.TextPAspDesc);
  SetLineText(devicePin_, v.TextDevicePin);
  SetLineText(deviceDescription_, v.TextDeviceDescription);
  deviceDescription_->setEnabled(v.TextDeviceDescriptionEnabled);
  if (QAbstractButton* option = layout_->button(v.OptionPAspConf)) {
    const QSignalBlocker block(layout_);
    option->setChecked(true);
  }
  {
    const QSignalBlocker block(showDetails_);
    showDetails_->setChecked(v.CheckPAspShowDetails);
  }
  aspectRow_->setVisible(v.AspectControlsVisible);
  aspect_->SetText(ToQt(v.TextPAspAspect));
  SetLineText(aspectDescription_, v.TextPAspAspDesc);
  init_->SetText(ToQt(v.TextPAspInit));
  writeSingle_->setVisible(v.Details.CommandPAspWriteAspect);
  headStep_->setVisible(v.Details.LabelPAspHStep);
  headInstruction_->setVisible(v.Details.LabelPAspHInst);

  for (int row = 0; row < kStepCount; ++row) rows_[row]->Show(v.Rows[row]);
  ShowCaptions();
}

void PinEditorPanel::ShowCaptions() {
  const PinEditorView& v = app_.Pins().Editor().View();
  const ColumnCaptions& c = v.Captions;
  const std::string* texts[] = {&c.LabelPAspHFade, &c.LabelPAspOffset, &c.LabelPAspHParam1, &c.LabelPASpHParam2,
                                &c.LabelPAspHParam3};
  bool anyRow = false;
  for (const StepRowView& row : v.Rows) anyRow = anyRow || row.Visible;
  for (int i = 0; i < 5; ++i) {
    captions_[i]->setText(ToQt(*texts[i]));
    captions_[i]->setVisible(anyRow);
  }
}

}  // namespace brixo
