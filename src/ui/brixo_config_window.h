#pragma once
// The main window "Brixo Config": the link controls, the whole-controller buttons, the data
// file buttons, the busy label and the release label around the tab strip. It is a view of
// the application state: every control shows a value held there, and every user action
// runs the state's own operation before the controls are shown again.
#include <QMainWindow>
#include <functional>
#include <string>

#include "app/app_state.h"
#include "ui/press_rules.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTimer;

namespace brixo {

class ClickableLabel;
class ModifierButton;
class ReleaseLabel;
class CommunicationWindow;
class ScanDialog;
class DeviceConfigTab;
class EventControlTab;
class GeneralTabWidget;
class TestTab;
class UpDownField;
class VerificationReportWindow;

inline constexpr int kTimer1IntervalMs = 200;
inline constexpr const char* kLabelActionCaption = "  Working ... Please WAIT";

class BrixoConfig : public QMainWindow, public AppObserver {
  Q_OBJECT
 public:
  // Becomes the state's observer for its lifetime.
  explicit BrixoConfig(AppState& app, QWidget* parent = nullptr);
  ~BrixoConfig() override;

  AppState& App() { return app_; }
  GeneralTabWidget* GeneralPage() const { return generalTab_; }
  QTabWidget* SSTab_Main() const { return tabs_; }
  QTimer* Timer1() const { return timer1_; }
  // Null until the monitor or the report was first opened.
  CommunicationWindow* Monitor() const { return monitor_; }
  VerificationReportWindow* ReportWindow() const { return report_; }

  // How the verification report is shown at the end of a verification; by default modally.
  // Tests and the screenshot mode look at it without blocking.
  using ReportPresenter = std::function<void(VerificationReportWindow&)>;
  void SetReportPresenter(ReportPresenter presenter) { presentReport_ = std::move(presenter); }
  // How the "Scan Line" dialog is run; by default modally.
  using ScanPresenter = std::function<void(ScanDialog&)>;
  void SetScanPresenter(ScanPresenter presenter) { presentScan_ = std::move(presenter); }

  // Button handlers (public so that the command line and tests reach them as a click does).
  bool PostCommand(const std::string& name);
  void Timer1Tick();
  void SaveFile(SaveMode mode);
  void LoadFile();
  void OpenMonitor();
  // "Scan line...": finds the controllers on the line; the chosen one's address is taken.
  void OpenScanDialog();
  void ExpertModeSwitch();
  // Creates the report window on first use and gives it the report's current text.
  VerificationReportWindow& Report();

  // Shows every value of the state again.
  void ShowAll();

  // AppObserver: what the operations of the state ask the window to show.
  void ShowGeneralSettings() override;
  void ShowAddressingOptions() override;
  void ShowNumbering() override;
  void ShowExpertMode() override;
  void ShowPortState() override;
  void ShowEventPin() override;
  void ShowPin() override;
  void ShowOutputConfig() override;
  void ShowDetails() override;
  void RebuildAddressMaps() override;
  void ShowAddressCounts() override;
  void ShowSerialAddress() override;
  void ShowDccAddress() override;
  void ShowXDccAddress() override;
  void SetBusy(bool visible) override;
  void ShowProgress(const std::string& text) override;
  void ShowReport() override;

 private:
  QWidget* BuildPortGroup();
  QWidget* BuildAddressGroup();
  QWidget* BuildOptionsGroup();
  QWidget* BuildTransferGroup();
  QWidget* BuildStatusRow();
  void BuildTabs();
  void Connect();

  void ShowPortList();
  void ShowLinkSettings();
  void TabChanged(int index);
  void StepModuleAddress(bool up);
  void StepExtendedAddress(bool up);
  int Offset() const;

  AppState& app_;
  ReportPresenter presentReport_;
  ScanPresenter presentScan_;
  bool running_ = false;
  int currentTab_ = 0;

  QComboBox* comboPort_ = nullptr;
  QPushButton* refresh_ = nullptr;
  ClickableLabel* labelPort_ = nullptr;
  QLabel* labelPortState_ = nullptr;  // which device is open, at which line settings
  QGroupBox* frameBitrate_ = nullptr;
  QButtonGroup* optionBitRate_ = nullptr;
  QLabel* labelAddress_ = nullptr;
  UpDownField* textAddress_ = nullptr;
  QPushButton* scanLine_ = nullptr;
  QCheckBox* checkXaddress_ = nullptr;
  QLabel* labelXaddress_ = nullptr;
  UpDownField* txtXaddr_ = nullptr;
  QCheckBox* checkQuendal_ = nullptr;
  QPushButton* cmdSetTM_ = nullptr;
  QCheckBox* checkBrixoBD_ = nullptr;
  QCheckBox* checkKLnumber_ = nullptr;
  QPushButton* readAll_ = nullptr;
  QPushButton* writeAll_ = nullptr;
  QPushButton* verifyAll_ = nullptr;
  ModifierButton* save_ = nullptr;
  QPushButton* load_ = nullptr;
  QWidget* busyFrame_ = nullptr;
  QLabel* labelAction_ = nullptr;
  QLabel* labelProgress_ = nullptr;
  ReleaseLabel* release_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  GeneralTabWidget* generalTab_ = nullptr;
  EventControlTab* eventTab_ = nullptr;
  DeviceConfigTab* deviceTab_ = nullptr;
  TestTab* testTab_ = nullptr;
  QTimer* timer1_ = nullptr;
  CommunicationWindow* monitor_ = nullptr;
  VerificationReportWindow* report_ = nullptr;
};

}  // namespace brixo
