#include "ui/device_config_tab.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include "app/app_state.h"
#include "ui/address_counts_panel.h"
#include "ui/aspect_program_panel.h"
#include "ui/calc_event_map_dialog.h"
#include "ui/calc_pattern_dialog.h"
#include "ui/calc_time_dialog.h"
#include "ui/device_definitions_panel.h"
#include "ui/edit_aspect_dialog.h"
#include "ui/edit_pin_dialog.h"
#include "ui/edit_step_dialog.h"
#include "ui/output_config_pages.h"
#include "ui/pin_editor_panel.h"

namespace brixo {

namespace {

QGroupBox* Group(const QString& title, const char* name, QWidget* content) {
  auto* box = new QGroupBox(title);
  box->setObjectName(name);
  auto* layout = new QVBoxLayout(box);
  layout->addWidget(content);
  return box;
}

}  // namespace

DeviceConfigTab::DeviceConfigTab(QWidget* parent)
    : QWidget(parent),
      commandVerifyAllPins_(new QPushButton("Verify All Pins", this)),
      commandReadPin_(new QPushButton("Read Pin", this)),
      commandWritePin_(new QPushButton("Write Pin", this)) {
  setObjectName("DeviceConfigTab");
  commandVerifyAllPins_->setObjectName("CommandVerifyAllPins");
  commandReadPin_->setObjectName("CommandReadPin");
  commandWritePin_->setObjectName("CommandWritePin");
  // Until Bind gives the tab its application state there is nothing to show.
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  placeholder_ = new QLabel("No configuration bound.");
  layout->addWidget(placeholder_);
  SetExpertMode(false);
}

void DeviceConfigTab::SetExpertMode(bool expert) {
  commandVerifyAllPins_->setVisible(expert);
  commandReadPin_->setVisible(expert);
  commandWritePin_->setVisible(expert);
}

void DeviceConfigTab::Bind(AppState& app) {
  if (app_) return;
  app_ = &app;
  delete placeholder_;
  placeholder_ = nullptr;

  editor_ = new PinEditorPanel(app);
  addresses_ = new AddressCountsPanel(app);
  outputs_ = new OutputConfigPages(app);
  definitions_ = new DeviceDefinitionsPanel(app);
  program_ = new AspectProgramPanel(app);

  auto* content = new QWidget;
  columns_ = new QBoxLayout(QBoxLayout::LeftToRight, content);
  // The tab page has its own margin; a second one would cost the rows their room (above
  // and below it would make the tab scroll by a few pixels at 1024 x 768).
  columns_->setContentsMargins(2, 0, 2, 0);
  // The editor's step rows leave room below them; the output pages are the tallest part
  // and have the right column to themselves with the addresses and the transfer buttons.
  left_ = new QVBoxLayout;
  left_->setSpacing(4);
  left_->addWidget(editor_);
  left_->addWidget(Group("Device Definitions", "FrameDeviceDefinitions", definitions_));
  left_->addStretch(1);
  columns_->addLayout(left_, 3);
  right_ = new QVBoxLayout;
  right_->setSpacing(4);
  right_->addWidget(Group("Addresses", "FrameAddresses", addresses_));
  outputFrame_ = Group("Output Configuration", "FramePinConfig", outputs_);
  right_->addWidget(outputFrame_);
  right_->addWidget(Group("Pin Transfer", "FramePinTransfer", BuildTransferButtons()));
  // Beside the step rows when the output pages are folded away (no details).
  right_->addWidget(program_);
  right_->addStretch(1);
  columns_->addLayout(right_, 2);

  auto* scroll = new QScrollArea;
  scroll->setObjectName("DeviceConfigScroll");
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(content);
  layout()->addWidget(scroll);

  pinDialog_ = new EditPinDialog(app.Model(), clipboards_.Pin, app.Prompt(), this);
  aspectDialog_ = new EditAspectDialog(app.Model(), clipboards_.Aspect, app.Prompt(), this);
  stepDialog_ = new EditStepDialog(app.Model(), this);
  patternDialog_ = new CalcPatternDialog(this);
  eventMapDialog_ = new CalcEventMapDialog(this);
  timeDialog_ = new CalcTimeDialog(this);

  connect(editor_, &PinEditorPanel::pinSelected, this, &DeviceConfigTab::PinSelected);
  connect(editor_, &PinEditorPanel::detailsChanged, this, &DeviceConfigTab::ShowDetails);
  connect(editor_, &PinEditorPanel::editDialogRequested, this, &DeviceConfigTab::OpenEditDialog);
  connect(editor_, &PinEditorPanel::helpToolRequested, this, &DeviceConfigTab::OpenHelpTool);
  connect(definitions_, &DeviceDefinitionsPanel::deviceLoaded, this, &DeviceConfigTab::RefreshAll);

  SetExpertMode(app.ExpertMode());
  RefreshAll();
}

QPushButton* DeviceConfigTab::TransferButton(QPushButton* button, const char* command) {
  const std::string commandName = command;
  connect(button, &QPushButton::clicked, this, [this, commandName] { app_->Commands().PostCommand(commandName); });
  return button;
}

QPushButton* DeviceConfigTab::TransferButton(const QString& caption, const char* name, const char* command) {
  auto* button = new QPushButton(caption);
  button->setObjectName(name);
  return TransferButton(button, command);
}

QWidget* DeviceConfigTab::BuildTransferButtons() {
  auto* box = new QWidget;
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  commandPAspReadPin_ = TransferButton("Read Asp's", "CommandPAspReadPin", "PAspReadPin");
  commandPAspWritePin_ = TransferButton("Write Asp's", "CommandPAspWritePin", "PAspWritePin");
  // Reads above writes, one column per scope (pin, aspects, device), then the batches:
  // three columns keep the right half narrow enough for a small screen.
  grid->addWidget(TransferButton(commandReadPin_, "ReadPin"), 0, 0);
  grid->addWidget(TransferButton(commandWritePin_, "WritePin"), 1, 0);
  grid->addWidget(commandPAspReadPin_, 0, 1);
  grid->addWidget(commandPAspWritePin_, 1, 1);
  grid->addWidget(TransferButton("Read Device", "CommandReadDevice", "ReadDevice"), 0, 2);
  grid->addWidget(TransferButton("Write Device", "CommandWriteDevice", "WriteDevice"), 1, 2);
  grid->addWidget(TransferButton("Read All Devices", "CommandReadAllPins", "ReadAllPins"), 2, 0);
  grid->addWidget(TransferButton("Write All Devices", "CommandWriteAllPins", "WriteAllPins"), 2, 1);
  grid->addWidget(TransferButton(commandVerifyAllPins_, "VerifyAllPins"), 2, 2);
  return box;
}

void DeviceConfigTab::ShowTransferButtons() {
  if (!app_) return;
  const DetailsVisibility& d = app_->Pins().Editor().View().Details;
  commandPAspReadPin_->setVisible(d.CommandPAspReadPin);
  commandPAspWritePin_->setVisible(d.CommandPAspWritePin);
}

void DeviceConfigTab::ShowOutputFrame() {
  const DetailsVisibility& d = app_->Pins().Editor().View().Details;
  // Without the pages or their buttons the group would be an empty frame.
  outputFrame_->setVisible(d.SSTabPCFG || d.CommandPCFGGetParam[0] || d.CommandPCFGGetParam[1] ||
                           d.CommandPCFGSetParam[0] || d.CommandPCFGSetParam[1]);
}

void DeviceConfigTab::ShowPin() {
  if (!app_) return;
  editor_->Show();
  addresses_->Show();
  program_->Show();
}

void DeviceConfigTab::ShowProgram() {
  if (app_) program_->Show();
}

void DeviceConfigTab::OpenPin(int pin) {
  if (!app_) return;
  app_->Pins().PinSpinnerMoved(pin + app_->Model().NumberingOffset);
  editor_->Show();
  PinSelected();
}

void DeviceConfigTab::ShowAddresses() {
  if (app_) addresses_->Show();
}

void DeviceConfigTab::ShowOutputConfig() {
  if (!app_) return;
  outputs_->Show(true);
  ShowOutputFrame();
}

void DeviceConfigTab::ShowDetails() {
  if (!app_) return;
  editor_->Show();
  addresses_->Show();
  program_->Show();
  outputs_->Show(false);
  ShowOutputFrame();
  ShowTransferButtons();
  ArrangeColumns();
}

void DeviceConfigTab::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ArrangeColumns();
}

bool DeviceConfigTab::SideBySide() const {
  return columns_ != nullptr && columns_->direction() == QBoxLayout::LeftToRight;
}

void DeviceConfigTab::ArrangeColumns() {
  if (!columns_) return;
  // Side by side when both halves fit beside a scroll bar; on a narrower screen one above
  // the other, and the tab scrolls.
  const QMargins margins = columns_->contentsMargins();
  const int needed = left_->minimumSize().width() + right_->minimumSize().width() + columns_->spacing() +
                     margins.left() + margins.right() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const auto direction = width() >= needed ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom;
  if (columns_->direction() != direction) columns_->setDirection(direction);
}

void DeviceConfigTab::ShowNumbering() { ShowPin(); }

void DeviceConfigTab::ShowExpertMode() {
  if (!app_) return;
  SetExpertMode(app_->ExpertMode());
  ShowDetails();
}

void DeviceConfigTab::ShowDeviceList() {
  if (app_) definitions_->Show();
}

void DeviceConfigTab::SetDefinitionsVersion(const QString& caption) {
  if (!app_) return;
  definitions_->Show();
  definitions_->SetVersionCaption(caption);
}

void DeviceConfigTab::RefreshAll() {
  if (!app_) return;
  ShowDetails();
  outputs_->Show(true);
  definitions_->Show();
}

void DeviceConfigTab::PinSelected() {
  TransferView& view = app_->View();
  view.ShowSerialAddress();
  view.ShowDccAddress();
  view.ShowXDccAddress();
  app_->Pins().Addresses().ShowCounts();
  app_->Pins().ShowAddressCounts();
  view.ShowOutputConfig();
  addresses_->Show();
  outputs_->Show(true);
  program_->Show();
}

void DeviceConfigTab::RunDialog(QDialog& dialog) {
  if (runDialog_) {
    runDialog_(dialog);
  } else {
    dialog.exec();
  }
}

void DeviceConfigTab::OpenEditDialog(EditDialogKind kind, int row) {
  PinPage& pins = app_->Pins();
  // The title names what the dialog acts on, numbers as displayed.
  const ConfigModel& model = app_->Model();
  const QString pin = QString("Pin %1").arg(model.CurrentPin + model.NumberingOffset);
  const QString aspect = QString("Aspect %1").arg(model.CurrentAspect);
  switch (kind) {
    case EditDialogKind::Pin:
      pinDialog_->SetSubject(QString::number(model.CurrentPin + model.NumberingOffset));
      RunDialog(*pinDialog_);
      break;
    case EditDialogKind::Aspect:
      aspectDialog_->SetSubject(QString("%1 of %2").arg(model.CurrentAspect).arg(pin));
      RunDialog(*aspectDialog_);
      break;
    case EditDialogKind::Step:
      stepDialog_->SetCurrentStep(row);
      stepDialog_->SetSubject(QString("%1 of %2, %3").arg(row).arg(pin, aspect));
      RunDialog(*stepDialog_);
      break;
  }
  if (kind == EditDialogKind::Pin) {
    // A pasted or cleared pin may carry other address counts: the first addresses of every
    // later pin move with them.
    app_->View().RebuildAddressMaps();
  }
  pins.ShowPin();
  pins.ShowDetails(pins.Editor().View().CheckPAspShowDetails);
  if (kind == EditDialogKind::Pin) app_->View().ShowOutputConfig();
  ShowDetails();
  if (kind == EditDialogKind::Pin) outputs_->Show(true);
}

void DeviceConfigTab::OpenCalculator(HelpToolKind kind) {
  if (!app_) return;
  const int row = HelpToolRow(app_->Pins().Editor(), kind);
  if (row < 0) {
    app_->Prompt().ShowMessage(kNoStepForCalculator);
    return;
  }
  OpenHelpTool(row, HelpToolBox(kind));
}

void DeviceConfigTab::OpenHelpTool(int row, HelpBox box) {
  PinEditor& editor = app_->Pins().Editor();
  const HelpToolRequest request = brixo::OpenHelpTool(editor, row, box);
  switch (request.Kind) {
    case HelpToolKind::None: app_->Prompt().ShowMessage(request.Message); return;
    case HelpToolKind::Pattern:
      patternDialog_->Preset(request.Pattern);
      RunDialog(*patternDialog_);
      TakePatternResult(editor, row, patternDialog_->ParameterText());
      break;
    case HelpToolKind::EventMap:
      eventMapDialog_->Preset(request.EventMap);
      RunDialog(*eventMapDialog_);
      TakeEventMapResult(editor, row, eventMapDialog_->ParameterText());
      break;
    case HelpToolKind::Time:
      timeDialog_->Preset(request.TimeBase, request.TimeSlider);
      RunDialog(*timeDialog_);
      TakeTimeResult(editor, row, timeDialog_->Base(), timeDialog_->Slider());
      break;
  }
  editor_->Show();
  program_->Show();
}

}  // namespace brixo
