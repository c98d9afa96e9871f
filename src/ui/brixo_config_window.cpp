#include "ui/brixo_config_window.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "app/help_files.h"
#include "app/result_text.h"
#include "ui/clickable_label.h"
#include "ui/release_label.h"
#include "ui/communication_window.h"
#include "ui/device_config_tab.h"
#include "ui/edit_recorder.h"
#include "ui/event_control_tab.h"
#include "ui/general_tab.h"
#include "ui/input_blocker.h"
#include "ui/core_text.h"
#include "ui/modifier_button.h"
#include "ui/network_port_dialog.h"
#include "ui/scan_dialog.h"
#include "ui/test_tab.h"
#include "ui/up_down_field.h"
#include "ui/verification_report_window.h"
#include "ui/window_placement.h"

namespace brixo {

namespace {

void SetChecked(QCheckBox* box, bool checked) {
  const QSignalBlocker block(box);
  box->setChecked(checked);
}

}  // namespace

BrixoConfig::BrixoConfig(AppState& app, QWidget* parent)
    : QMainWindow(parent),
      app_(app),
      presentReport_([](VerificationReportWindow& window) { window.ShowModal(); }) {
  setObjectName("BrixoConfig");
  setWindowTitle("Brixo Config");

  auto* top = new QHBoxLayout;
  top->setSpacing(6);
  top->addWidget(BuildPortGroup(), 3);
  top->addWidget(BuildAddressGroup(), 2);
  top->addWidget(BuildOptionsGroup(), 2);
  top->addWidget(BuildTransferGroup(), 2);
  BuildTabs();
  auto* central = new QWidget;
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(6, 4, 6, 2);
  layout->setSpacing(4);
  layout->addLayout(top);
  layout->addWidget(BuildMixedBar());
  layout->addWidget(tabs_, 1);
  setCentralWidget(central);
  BuildStatusBar();
  BuildMenus();

  timer1_ = new QTimer(this);
  timer1_->setObjectName("Timer1");
  timer1_->setInterval(kTimer1IntervalMs);
  portScan_ = new QTimer(this);
  portScan_->setObjectName("PortScanTimer");
  portScan_->setInterval(kPortScanIntervalMs);
  Connect();

  app_.SetObserver(this);
  frameBitrate_->setVisible(app_.Ports().FrameBitrateVisible);
  busyFrame_->setVisible(false);
  ShowPortList();
  ShowAll();
  ShowEditState();
  editRecorder_ = new EditRecorder([this] { NoteEdits(); }, this);
  ShowRecentFiles();
  timer1_->start();
  portScan_->start();
  // As large as the tabs like it, but never beyond the screen: every control stays
  // reachable down to 1024 x 768, where the tabs scroll.
  PlaceFirstWindow(*this, QSize(1200, 800));
}

BrixoConfig::~BrixoConfig() {
  // A window still on screen gives up its focus while whole: the box that had it commits
  // its text to handlers of this window, which must not find it half destroyed.
  hide();
  timer1_->stop();
  app_.Link().onBetweenExchanges = nullptr;
  app_.SetObserver(nullptr);
}

int BrixoConfig::Offset() const { return app_.Model().NumberingOffset; }

void BrixoConfig::Connect() {
  connect(timer1_, &QTimer::timeout, this, &BrixoConfig::Timer1Tick);
  connect(portScan_, &QTimer::timeout, this, &BrixoConfig::RescanPorts);

  connect(comboPort_, &QComboBox::activated, this, [this] {
    if (comboPort_->currentText() == kNetworkPortItem) {
      OpenNetworkPortDialog();
      return;
    }
    app_.Ports().SelectPort(CoreText(comboPort_->currentText()));
    ShowLinkSettings();
  });
  connect(refresh_, &QPushButton::clicked, this, [this] {
    app_.Ports().RefreshPorts();
    ShowPortList();
    ShowLinkSettings();
  });
  connect(labelPort_, &ClickableLabel::doubleClicked, this, [this] {
    app_.Ports().ToggleBitrateFrame();
    frameBitrate_->setVisible(app_.Ports().FrameBitrateVisible);
  });
  connect(optionBitRate_, &QButtonGroup::idClicked, this, [this](int index) {
    app_.Ports().SelectBitRate(index);
    ShowLinkSettings();
  });

  connect(textAddress_, &UpDownField::committed, this, [this](const QString& text) {
    textAddress_->SetText(ToQt(app_.Addresses().CommitModuleAddressText(FromQt(text), Offset())));
  });
  connect(textAddress_, &UpDownField::stepped, this, &BrixoConfig::StepModuleAddress);
  connect(txtXaddr_, &UpDownField::committed, this, [this](const QString& text) {
    txtXaddr_->SetText(ToQt(app_.Addresses().CommitExtendedAddressText(FromQt(text), Offset())));
  });
  connect(txtXaddr_, &UpDownField::stepped, this, &BrixoConfig::StepExtendedAddress);
  connect(scanLine_, &QPushButton::clicked, this, &BrixoConfig::OpenScanDialog);
  connect(checkXaddress_, &QCheckBox::clicked, this, [this](bool checked) {
    app_.Addresses().SetExtendedAddressing(checked);
    ShowLinkSettings();
  });
  connect(checkQuendal_, &QCheckBox::clicked, this, [this](bool checked) {
    app_.Quendal().SetTunnelling(checked, Offset());
    ShowLinkSettings();
  });
  connect(cmdSetTM_, &QPushButton::clicked, this, [this] {
    app_.Quendal().ActivateTransparentMode();
    ShowLinkSettings();
  });
  connect(checkBrixoBD_, &QCheckBox::clicked, this, [this](bool checked) { app_.Link().CheckBrixoBD = checked; });
  connect(checkKLnumber_, &QCheckBox::clicked, this, [this](bool checked) { app_.SetStartNumberingAtOne(checked); });

  connect(readAll_, &QPushButton::clicked, this, &BrixoConfig::ReadAll);
  connect(writeAll_, &QPushButton::clicked, this, &BrixoConfig::WriteAll);
  connect(verifyAll_, &QPushButton::clicked, this, &BrixoConfig::VerifyAll);
  connect(compare_, &QPushButton::clicked, this, &BrixoConfig::Compare);
  connect(stop_, &QPushButton::clicked, this, &BrixoConfig::StopOperation);
  app_.Link().onBetweenExchanges = [this] { TakeStopRequests(); };
  connect(save_, &ModifierButton::clickedWith, this, [this](Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    const std::optional<SaveMode> mode = SaveModeFor(button, modifiers);
    if (mode == SaveMode::Normal) SaveFile();
    if (mode == SaveMode::Compact) SaveFileCompact();
  });
  connect(load_, &QPushButton::clicked, this, &BrixoConfig::LoadFile);

  connect(release_, &ReleaseLabel::doubleClicked, this, &BrixoConfig::OpenMonitor);
  connect(release_, &ReleaseLabel::rightPressed, this, &BrixoConfig::ExpertModeSwitch);
  connect(tabs_, &QTabWidget::currentChanged, this, &BrixoConfig::TabChanged);

  // Operations run directly from a tab may change the link switches (a read sets
  // "Bidirectional Comm.", a time-out clears it).
  connect(generalTab_, &GeneralTabWidget::operationFinished, this, &BrixoConfig::ShowLinkSettings);
  connect(eventTab_, &EventControlTab::operationFinished, this, &BrixoConfig::ShowLinkSettings);
  const auto showResult = [this](const QString& text) { app_.ShowResult(FromQt(text)); };
  connect(generalTab_, &GeneralTabWidget::resultReady, this, showResult);
  connect(eventTab_, &EventControlTab::resultReady, this, showResult);
}

void BrixoConfig::SetDialogRunner(std::function<void(QDialog&)> runner) {
  runDialog_ = runner;
  deviceTab_->SetDialogRunner(std::move(runner));
}

void BrixoConfig::RunDialog(QDialog& dialog) {
  if (runDialog_) {
    runDialog_(dialog);
  } else {
    dialog.exec();
  }
}

bool BrixoConfig::PostCommand(const std::string& name) { return app_.Commands().PostCommand(name); }

void BrixoConfig::ReadAll() {
  // The read replaces the editor's content.
  if (app_.MayReplaceEdits()) PostCommand("ReadAll");
}

void BrixoConfig::WriteAll() {
  // Without a port there is no controller to compare with; the write says so itself.
  if (!app_.Link().PortOpen()) {
    PostCommand("WriteAll");
    return;
  }
  QMessageBox box(QMessageBox::Question, "Write All", kShowChangesQuestion,
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
  box.setObjectName("ShowChangesQuestion");
  box.setDefaultButton(QMessageBox::Yes);
  auto* onlyChanges = new QCheckBox(kWriteOnlyChanges);
  onlyChanges->setObjectName("CheckWriteOnlyChanges");
  box.setCheckBox(onlyChanges);
  RunDialog(box);
  const QMessageBox::StandardButton answer = box.standardButton(box.clickedButton());
  if (answer == QMessageBox::Yes) {
    // The decision to write is taken in the table, with the differences in view.
    PostCommand("Compare");
  } else if (answer == QMessageBox::No) {
    PostCommand(onlyChanges->isChecked() ? "WriteChanged" : "WriteAll");
  }
}

void BrixoConfig::VerifyAll() { PostCommand("VerifyAll"); }
void BrixoConfig::Compare() { PostCommand("Compare"); }

void BrixoConfig::StopOperation() {
  if (running_) app_.StopOperation();
}

void BrixoConfig::TakeStopRequests() {
  constexpr qint64 kIntervalMs = 40;
  if (!running_) return;
  if (stopPoll_.isValid() && stopPoll_.elapsed() < kIntervalMs) return;
  stopPoll_.start();
  InputBlocker::RepaintNow();
}

void BrixoConfig::Timer1Tick() {
  // Progress repaints let timer events through; a tick inside a running command must not
  // start another one.
  if (running_ || app_.Commands().PendingCommand().empty()) return;
  running_ = true;
  {
    InputBlocker blocker([this] { StopOperation(); });
    app_.RunPendingCommand();
    blocker.Drain();
  }
  running_ = false;
  ShowAll();
}

void BrixoConfig::StartPostedCommand() {
  if (running_ || app_.Commands().PendingCommand().empty()) return;
  // The busy label is painted before the window stops answering.
  if (isVisible()) repaint();
  Timer1Tick();
}

void BrixoConfig::SaveFile() {
  app_.Save();
  ShowRecentFiles();
}

void BrixoConfig::SaveFileAs() {
  app_.SaveAs();
  ShowRecentFiles();
}

void BrixoConfig::SaveFileCompact() {
  app_.SaveCompact();
  ShowRecentFiles();
}

void BrixoConfig::LoadFile() {
  app_.LoadFile();
  ShowAll();
  ShowRecentFiles();
}

void BrixoConfig::ShowRecentFiles() {
  if (recentFiles_ == nullptr) return;
  // An entry may be the one whose click is running now: it goes once that is done.
  for (QAction* action : recentFiles_->actions()) {
    recentFiles_->removeAction(action);
    action->setObjectName(QString());
    action->deleteLater();
  }
  int number = 0;
  for (const std::string& file : app_.RecentFiles()) {
    const QString path = QFile::decodeName(QByteArray::fromStdString(file));
    QAction* action = recentFiles_->addAction(QString("&%1 %2").arg(++number).arg(path));
    action->setObjectName(QString("ActionRecentFile%1").arg(number));
    connect(action, &QAction::triggered, this, [this, file] {
      app_.LoadRecentFile(file);
      ShowAll();
      ShowRecentFiles();
    });
  }
  recentFiles_->setEnabled(number > 0);
}

void BrixoConfig::RescanPorts() {
  // Never in the middle of an operation: the list's numbers must not move under it.
  if (running_) return;
  if (!app_.RescanPorts()) return;
  ShowPortList();
  ShowLinkSettings();
}

void BrixoConfig::Quit() { close(); }

void BrixoConfig::closeEvent(QCloseEvent* event) {
  if (!app_.MayReplaceEdits()) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

void BrixoConfig::Undo() {
  if (running_) return;
  app_.NoteEdits();
  const EditStep step = app_.UndoStep();
  if (!app_.Undo()) return;
  ShowAll();
  // An edit on another tab or pin is shown where it was made.
  if (step.Field) ShowField(*step.Field);
}

void BrixoConfig::Redo() {
  if (running_) return;
  app_.NoteEdits();
  const EditStep step = app_.RedoStep();
  if (!app_.Redo()) return;
  ShowAll();
  if (step.Field) ShowField(*step.Field);
}

void BrixoConfig::NoteEdits() {
  // A running command records its own step when it ends.
  if (!running_) app_.NoteEdits();
  FollowEdits();
}

void BrixoConfig::ShowEditState() {
  setWindowTitle(ToQt(WindowTitle(app_.DocumentPath(), app_.ModifiedAsRecorded())));
  ShowUndoTexts();
  FollowEdits();
}

void BrixoConfig::EraseFlash() { generalTab_->Erase(); }

void BrixoConfig::OpenMonitor() {
  if (monitor_ == nullptr) {
    monitor_ = new CommunicationWindow(app_.Log(), this);
    // The monitor stays usable while a long operation keeps the rest of the window busy.
    InputBlocker::AcceptInputWhileBusy(monitor_);
    connect(monitor_, &CommunicationWindow::lineAppended, this, &BrixoConfig::KeepMonitorResponsive);
    connect(monitor_, &CommunicationWindow::saveRequested, this,
            [this] { app_.SaveCommunicationLog(monitor_->View()); });
  }
  monitor_->ShowMonitor();
}

void BrixoConfig::KeepMonitorResponsive() {
  constexpr qint64 kIntervalMs = 40;
  if (!running_ || !monitor_->isVisible()) return;
  if (responsive_.isValid() && responsive_.elapsed() < kIntervalMs) return;
  responsive_.start();
  InputBlocker::RepaintNow();
}

void BrixoConfig::OpenReport() {
  VerificationReportWindow& window = Report();
  window.show();
  window.raise();
  window.activateWindow();
}

void BrixoConfig::OpenScanDialog() {
  ScanDialog dialog(app_, this);
  if (presentScan_) {
    presentScan_(dialog);
  } else {
    RunDialog(dialog);
  }
  // The scan reads (replies switched on) and may have taken another address.
  ShowLinkSettings();
}

void BrixoConfig::ExpertModeSwitch() { app_.ExpertModeSwitch(); }

void BrixoConfig::OpenCalculator(HelpToolKind kind) {
  tabs_->setCurrentWidget(tabs_->widget(kDeviceConfigurationTab));
  deviceTab_->OpenCalculator(kind);
}

void BrixoConfig::ShowAbout() {
  QMessageBox about(QMessageBox::Information, "About BrixoConfig", ToQt(AboutText()), QMessageBox::Ok, this);
  about.setObjectName("AboutBox");
  RunDialog(about);
}

void BrixoConfig::OpenNetworkPortDialog() {
  NetworkPortDialog dialog(ParseNetworkAddress(app_.Ports().OpenDevice()), this);
  RunDialog(dialog);
  if (dialog.result() == QDialog::Accepted) app_.SelectDevice(dialog.Url());
  ShowPortList();
  ShowLinkSettings();
}

bool BrixoConfig::SelectDevice(const std::string& device) {
  const bool opened = app_.SelectDevice(device);
  ShowPortList();
  ShowLinkSettings();
  return opened;
}

VerificationReportWindow& BrixoConfig::Report() {
  if (report_ == nullptr) {
    report_ = new VerificationReportWindow(app_.Report(), this);
    connect(report_, &VerificationReportWindow::saveRequested, this, [this] { app_.SaveReport(); });
  }
  report_->Reload();
  return *report_;
}

void BrixoConfig::TabChanged(int index) {
  // A refused tab is left before the refusal is shown, so its contents never appear.
  if (!app_.TabOpens(index)) {
    const QSignalBlocker block(tabs_);
    tabs_->setCurrentIndex(currentTab_);
  }
  if (app_.TabSelected(index)) currentTab_ = index;
}

void BrixoConfig::StepModuleAddress(bool up) {
  const SpinnerLimits limits = app_.Addresses().UpDownAddressLimits(Offset());
  const int shown = app_.Link().ModuleAddress + Offset();
  app_.Addresses().SetModuleAddressFromSpinner(SpinnerStep(shown, up, limits.Min, limits.Max), Offset());
  textAddress_->SetText(ToQt(app_.Addresses().ModuleAddressText(Offset())));
}

void BrixoConfig::StepExtendedAddress(bool up) {
  const SpinnerLimits limits = app_.Addresses().UpDownXaddrLimits(Offset());
  const int shown = app_.Link().ExtendedAddress + Offset();
  app_.Addresses().SetExtendedAddressFromSpinner(SpinnerStep(shown, up, limits.Min, limits.Max), Offset());
  txtXaddr_->SetText(ToQt(app_.Addresses().ExtendedAddressText(Offset())));
}

void BrixoConfig::ShowPortList() {
  const QSignalBlocker block(comboPort_);
  comboPort_->clear();
  for (const PortEntry& entry : app_.Ports().PortEntries()) {
    comboPort_->addItem(ToQt(entry.Text()));
    comboPort_->setItemData(comboPort_->count() - 1, ToQt(entry.Details()), Qt::ToolTipRole);
  }
  comboPort_->addItem(kNetworkPortItem);
  comboPort_->setItemData(comboPort_->count() - 1, "A serial server on the network (ser2net: RFC 2217 or raw TCP)",
                          Qt::ToolTipRole);
  comboPort_->setCurrentIndex(-1);
}

void BrixoConfig::ShowLinkSettings() {
  LinkSettings& ports = app_.Ports();
  BrixoLink& link = app_.Link();
  {
    const QSignalBlocker block(comboPort_);
    comboPort_->setCurrentIndex(comboPort_->findText(ToQt(ports.ComboPortText)));
  }
  labelPortState_->setText(ports.PortOpen()
                               ? QString("Open: %1 (%2)").arg(ToQt(PortDisplayName(ports.OpenDevice())),
                                                               ToQt(ports.LineSettings()))
                               : QString("Port closed"));
  frameBitrate_->setVisible(ports.FrameBitrateVisible);
  if (QAbstractButton* option = optionBitRate_->button(ports.OptionBitRate)) {
    const QSignalBlocker block(optionBitRate_);
    option->setChecked(true);
  }

  AddressSettings& addresses = app_.Addresses();
  labelAddress_->setText(ToQt(addresses.LabelAddressCaption()));
  textAddress_->SetText(ToQt(addresses.ModuleAddressText(Offset())));
  txtXaddr_->SetText(ToQt(addresses.ExtendedAddressText(Offset())));
  const bool extended = addresses.ExtendedAddressVisible();
  labelXaddress_->setVisible(extended);
  txtXaddr_->setVisible(extended);
  SetChecked(checkXaddress_, link.CheckXaddress);
  SetChecked(checkQuendal_, link.CheckQuendal);
  cmdSetTM_->setVisible(app_.Quendal().cmdSetTMVisible());
  SetChecked(checkBrixoBD_, link.CheckBrixoBD);
  SetChecked(checkKLnumber_, app_.StartNumberingAtOne());
}

void BrixoConfig::ShowMixedController() {
  const std::string warning = app_.MixedWarning();
  mixedBar_->setText(ToQt(warning));
  mixedBar_->setVisible(!warning.empty());
}

void BrixoConfig::ShowAll() {
  ShowLinkSettings();
  ShowMixedController();
  ShowGeneralSettings();
  ShowEventPin();
  ShowExpertMode();
  deviceTab_->RefreshAll();
}

void BrixoConfig::ShowGeneralSettings() { generalTab_->ShowGeneralSettings(); }

void BrixoConfig::ShowAddressingOptions() { generalTab_->ShowGeneralSettings(); }

void BrixoConfig::ShowNumbering() {
  ShowLinkSettings();
  ShowMixedController();
  ShowGeneralSettings();
  eventTab_->ShowNumbering();
  deviceTab_->ShowNumbering();
  FollowEdits();
}

void BrixoConfig::ShowExpertMode() {
  deviceTab_->ShowExpertMode();
  eventTab_->ShowExpertMode();
  if (expertAction_) expertAction_->setChecked(app_.ExpertMode());
}

void BrixoConfig::ShowPortState() { ShowLinkSettings(); }

void BrixoConfig::ShowEventPin() { eventTab_->ShowEventPin(); }
void BrixoConfig::ShowPin() {
  deviceTab_->ShowPin();
  FollowEdits();
}
void BrixoConfig::ShowOutputConfig() { deviceTab_->ShowOutputConfig(); }
void BrixoConfig::ShowDetails() { deviceTab_->ShowDetails(); }
// Every address refresh ends in the same labels and count boxes of the pin editor, and in
// the overview's address columns.
void BrixoConfig::RebuildAddressMaps() {
  deviceTab_->ShowAddresses();
  FollowEdits();
}
void BrixoConfig::ShowAddressCounts() { deviceTab_->ShowAddresses(); }
void BrixoConfig::ShowSerialAddress() {
  deviceTab_->ShowAddresses();
  FollowEdits();
}
void BrixoConfig::ShowDccAddress() {
  deviceTab_->ShowAddresses();
  FollowEdits();
}
void BrixoConfig::ShowXDccAddress() {
  deviceTab_->ShowAddresses();
  FollowEdits();
}

void BrixoConfig::SetBusy(bool visible) {
  labelProgress_->clear();
  busyFrame_->setVisible(visible);
  labelResult_->setVisible(!visible);
  // Posted from any tab: the command starts once the label is painted, not at the next tick.
  if (visible && !running_) QTimer::singleShot(0, this, &BrixoConfig::StartPostedCommand);
}

void BrixoConfig::ShowResult(const std::string& text) {
  statusBar()->clearMessage();
  labelResult_->setText(ToQt(text));
}

void BrixoConfig::ShowProgress(const std::string& text) {
  labelProgress_->setText(ToQt(text));
  if (running_) InputBlocker::RepaintNow();
}

void BrixoConfig::ShowReport() {
  // The last lines of the run (and the hidden busy label) are on screen before the report.
  if (running_) InputBlocker::RepaintNow();
  const std::string& command = app_.Commands().LastCommand();
  // Only a comparison that runs now; a tab's own verification shows its report.
  if (running_ && (command == "Compare" || command == "WriteChecked")) {
    ShowCompareTable();
    return;
  }
  presentReport_(Report());
}

}  // namespace brixo
