#include "ui/event_control_tab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "app/app_state.h"
#include "app/result_text.h"
#include "transfer/event_control.h"
#include "transfer/event_control_transfer.h"
#include "ui/core_text.h"
#include "ui/up_down_field.h"

namespace brixo {

namespace {

QString Indexed(const char* name, int index) { return QString("%1_%2").arg(name).arg(index); }

QLabel* CentredLabel(const QString& caption, const QString& name) {
  auto* label = new QLabel(caption);
  label->setObjectName(name);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

}  // namespace

EventControlTab::EventControlTab(QWidget* parent)
    : QWidget(parent), commandECVerify_(new QPushButton("Verify Event Control", this)) {
  setObjectName("EventControlTab");
  commandECVerify_->setObjectName("CommandECVerify");
  // Until Bind the tab only says what it will hold.
  auto* note = new QLabel("This tab will hold the event-control table and initial enable map.");
  note->setObjectName("EventControlTabPlaceholder");
  note->setAlignment(Qt::AlignCenter);
  note->setWordWrap(true);
  placeholder_ = note;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(note, 1);
  layout->addWidget(commandECVerify_, 0, Qt::AlignRight);
  SetExpertMode(false);
}

void EventControlTab::Bind(AppState& app) {
  if (app_) return;
  app_ = &app;
  delete placeholder_;
  placeholder_ = nullptr;
  delete layout();
  BuildContents();
  ShowEventPin();
  ShowExpertMode();
}

void EventControlTab::SetExpertMode(bool expert) { commandECVerify_->setVisible(expert); }

void EventControlTab::ShowExpertMode() {
  if (app_) SetExpertMode(app_->ExpertMode());
}

QPushButton* EventControlTab::Button(const QString& caption, const char* name,
                                     void (EventControlTab::*handler)()) {
  auto* button = new QPushButton(caption);
  button->setObjectName(name);
  connect(button, &QPushButton::clicked, this, handler);
  return button;
}

void EventControlTab::BuildContents() {
  auto* actions = new QGroupBox("Event Actions");
  actions->setObjectName("FrameECActions");
  auto* actionsLayout = new QVBoxLayout(actions);

  auto* pinRow = new QHBoxLayout;
  auto* pinLabel = new QLabel("Pin");
  pinLabel->setObjectName("LabelECpin");
  textECpin_ = new UpDownField;
  textECpin_->setObjectName("TextECpin");
  textECpin_->setMaximumWidth(textECpin_->fontMetrics().horizontalAdvance("0000000") + 24);
  connect(textECpin_, &UpDownField::committed, this, &EventControlTab::CommitPin);
  connect(textECpin_, &UpDownField::stepped, this, &EventControlTab::StepPin);
  pinRow->addWidget(pinLabel);
  pinRow->addWidget(textECpin_);
  pinRow->addSpacing(16);
  pinRow->addWidget(Button("Read", "CommandECReadSingle", &EventControlTab::ReadSingle));
  pinRow->addWidget(Button("Write", "CommandECWriteSingle", &EventControlTab::WriteSingle));
  pinRow->addStretch(1);
  pinRow->addWidget(Button("Copy to All", "CommandECcopy", &EventControlTab::CopyToAll));
  actionsLayout->addLayout(pinRow);
  actionsLayout->addWidget(BuildActionGrid());

  auto* batch = new QHBoxLayout;
  batch->addWidget(Button("Read All Events", "CommandECRead", &EventControlTab::ReadAll));
  batch->addWidget(Button("Write All Events", "CommandECWrite", &EventControlTab::WriteAll));
  connect(commandECVerify_, &QPushButton::clicked, this, &EventControlTab::Verify);
  batch->addWidget(commandECVerify_);
  batch->addStretch(1);
  actionsLayout->addLayout(batch);

  auto* map = new QGroupBox("Initial Enable Map");
  map->setObjectName("FrameECInit");
  auto* mapLayout = new QVBoxLayout(map);
  mapLayout->addWidget(BuildEnableMap());
  auto* mapButtons = new QHBoxLayout;
  mapButtons->addWidget(Button("Read Enable Map", "CommandECInitRead", &EventControlTab::ReadMap));
  mapButtons->addWidget(Button("Write Enable Map", "CommandECInitWrite", &EventControlTab::WriteMap));
  mapButtons->addStretch(1);
  mapLayout->addLayout(mapButtons);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(actions);
  layout->addWidget(map);
  layout->addStretch(1);
}

QWidget* EventControlTab::BuildActionGrid() {
  auto* grid = new QWidget;
  auto* layout = new QGridLayout(grid);
  layout->setContentsMargins(0, 8, 0, 8);
  layout->setHorizontalSpacing(12);
  auto* on = new QLabel("ON:");
  on->setObjectName("LabelECon");
  auto* off = new QLabel("OFF:");
  off->setObjectName("LabelECoff");
  layout->addWidget(on, 1, 0);
  layout->addWidget(off, 2, 0);
  EventControlState& ev = app_->Events();
  for (int i = 0; i < kEventInputCount; ++i) {
    layout->addWidget(CentredLabel(QString("Input %1").arg(i), Indexed("LabelECinput", i)), 0, i + 1);
    textECon_[i] = new UpDownField;
    textECon_[i]->setObjectName(Indexed("TextECon", i));
    textECoff_[i] = new UpDownField;
    textECoff_[i]->setObjectName(Indexed("TextECoff", i));
    const int width = fontMetrics().horizontalAdvance("0000000") + 30;
    textECon_[i]->setMaximumWidth(width);
    textECoff_[i]->setMaximumWidth(width);
    layout->addWidget(textECon_[i], 1, i + 1, Qt::AlignHCenter);
    layout->addWidget(textECoff_[i], 2, i + 1, Qt::AlignHCenter);
    connect(textECon_[i], &UpDownField::committed, this, [this, &ev, i](const QString& text) {
      ShowActionField(textECon_[i], CommitTextECon(ev, i, FromQt(text)));
    });
    connect(textECon_[i], &UpDownField::stepped, this,
            [this, &ev, i](bool up) { ShowActionField(textECon_[i], UpDownECon(ev, i, up)); });
    connect(textECoff_[i], &UpDownField::committed, this, [this, &ev, i](const QString& text) {
      ShowActionField(textECoff_[i], CommitTextECoff(ev, i, FromQt(text)));
    });
    connect(textECoff_[i], &UpDownField::stepped, this,
            [this, &ev, i](bool up) { ShowActionField(textECoff_[i], UpDownECoff(ev, i, up)); });
    layout->setColumnStretch(i + 1, 1);
  }
  return grid;
}

QWidget* EventControlTab::BuildEnableMap() {
  auto* grid = new QWidget;
  auto* layout = new QGridLayout(grid);
  layout->setContentsMargins(0, 4, 0, 4);
  layout->setHorizontalSpacing(18);
  EventControlState& ev = app_->Events();
  // The captions stand in a column of their own, so that every heading is centred over
  // the ticks of its column.
  for (int i = 0; i < kEventInputCount; ++i)
    layout->addWidget(CentredLabel(QString("Input %1").arg(i), Indexed("LabelECInitInput", i)), 0, i + 1);
  for (int k = 0; k < 8; ++k) {
    const int input = k % kEventInputCount;
    const int row = 1 + k / kEventInputCount;
    auto* box = new QCheckBox;
    box->setObjectName(Indexed("CheckInitEE", k));
    checkInitEE_[k] = box;
    if (input == 0) {
      auto* caption = new QLabel(k == 0 ? "InitialEvent_ON Enable " : "Initial Event_OFF Enable ");
      caption->setObjectName(Indexed("LabelInitEE", k));
      caption->setBuddy(box);
      box->setAccessibleName(caption->text().trimmed());
      layout->addWidget(caption, row, 0);
    }
    layout->addWidget(box, row, input + 1, Qt::AlignHCenter);
    connect(box, &QCheckBox::toggled, this, [&ev, k](bool checked) {
      // Showing the map sets the boxes to what they hold; only a change is the user's.
      if (ev.CheckInitEE[k] != checked) SetCheckInitEE(ev, k, checked);
    });
  }
  return grid;
}

void EventControlTab::ShowActionField(UpDownField* field, const std::string& text) {
  field->SetText(ToQt(text));
  QPalette palette = QWidget::palette();
  if (ShadeEventCell(text)) {
    palette.setColor(QPalette::Base, QColor(kNoActionShade.Red, kNoActionShade.Green, kNoActionShade.Blue));
  }
  field->Edit()->setPalette(palette);
}

void EventControlTab::ShowEnableMap() {
  const EventControlState& ev = app_->Events();
  for (int k = 0; k < 8; ++k) {
    const QSignalBlocker block(checkInitEE_[k]);
    checkInitEE_[k]->setChecked(ev.CheckInitEE[k]);
  }
}

void EventControlTab::ShowEventPin() {
  if (!app_) return;
  const EventControlState& ev = app_->Events();
  textECpin_->SetText(ToQt(ev.TextECpin));
  for (int i = 0; i < kEventInputCount; ++i) {
    ShowActionField(textECon_[i], ev.TextECon[i]);
    ShowActionField(textECoff_[i], ev.TextECoff[i]);
  }
  ShowEnableMap();
}

void EventControlTab::ShowNumbering() {
  if (app_) textECpin_->SetText(ToQt(app_->Events().TextECpin));
}

void EventControlTab::CommitPin(const QString& text) {
  CommitTextECpin(app_->Events(), app_->Model().NumberingOffset, FromQt(text), app_->View());
  ShowEventPin();
}

void EventControlTab::StepPin(bool up) {
  UpDownECpin(app_->Events(), app_->Model().NumberingOffset, up, app_->View());
  ShowEventPin();
}

template <typename Operation>
void EventControlTab::RunOperation(Operation operation) {
  emit operationStarted();
  operation(app_->Transfer());
  ShowEventPin();
  emit operationFinished();
}

void EventControlTab::ReadSingle() { RunOperation(ReadEventPin); }
void EventControlTab::WriteSingle() { RunOperation(WriteEventPin); }

void EventControlTab::ReadMap() {
  bool ok = false;
  RunOperation([&ok](TransferContext& ctx) { ok = ReadEnableMap(ctx); });
  emit resultReady(ToQt(GroupResultText(GroupTransfer::Read, "initial enable map", ok)));
}

void EventControlTab::WriteMap() {
  bool ok = false;
  RunOperation([&ok](TransferContext& ctx) { ok = WriteEnableMap(ctx); });
  emit resultReady(ToQt(GroupResultText(GroupTransfer::Write, "initial enable map", ok)));
}

void EventControlTab::CopyToAll() { CopyEventActionsToAll(app_->Events()); }

void EventControlTab::ReadAll() { app_->Commands().PostCommand("ECReadAll"); }
void EventControlTab::WriteAll() { app_->Commands().PostCommand("ECWriteAll"); }
void EventControlTab::Verify() { app_->Commands().PostCommand("ECVerify"); }

}  // namespace brixo
