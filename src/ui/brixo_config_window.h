#pragma once
// The main window "Brixo Config": the menus, the link controls, the whole-controller
// buttons, the data file buttons, the tab strip and the status bar with the busy label,
// the last result, the port state and the release label. It is a view of the application
// state: every control shows a value held there, and every user action runs the state's
// own operation before the controls are shown again.
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <optional>
#include <string>

#include "app/app_state.h"
#include "files/sheet_document.h"
#include "model/help_tools.h"
#include "ui/press_rules.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;
class QTimer;

namespace brixo {

class ClickableLabel;
class EditRecorder;
class ModifierButton;
class ReleaseLabel;
class CommunicationWindow;
class DifferenceTableWindow;
class ScanDialog;
class DeviceConfigTab;
class EventControlTab;
class PinOverviewWindow;
class GeneralTabWidget;
class HelpWindow;
class TestTab;
class UpDownField;
class VerificationReportWindow;

inline constexpr int kTimer1IntervalMs = 200;
// Scanning the ports reads a few files of /sys: light enough to do every 1.5 s.
inline constexpr int kPortScanIntervalMs = 1500;
inline constexpr const char* kLabelActionCaption = "  Working ... Please WAIT";
inline constexpr const char* kShowChangesQuestion = "Show what will change first?";
inline constexpr const char* kWriteOnlyChanges = "Write only what differs";
inline constexpr const char* kSheetFileFilter = "Configuration sheet|*.pdf;*.html";

class BrixoConfig : public QMainWindow, public AppObserver {
  Q_OBJECT
 public:
  // Becomes the state's observer for its lifetime.
  explicit BrixoConfig(AppState& app, QWidget* parent = nullptr);
  ~BrixoConfig() override;

  AppState& App() { return app_; }
  GeneralTabWidget* GeneralPage() const { return generalTab_; }
  DeviceConfigTab* DevicePage() const { return deviceTab_; }
  QTabWidget* SSTab_Main() const { return tabs_; }
  QTimer* Timer1() const { return timer1_; }
  // Null until the monitor or the report was first opened.
  CommunicationWindow* Monitor() const { return monitor_; }
  VerificationReportWindow* ReportWindow() const { return report_; }
  PinOverviewWindow* Overview() const { return overview_; }
  // Null until a comparison was first shown as a table.
  DifferenceTableWindow* CompareTable() const { return compareTable_; }

  // How the verification report is shown at the end of a verification; by default modally.
  // Tests and the screenshot mode look at it without blocking.
  using ReportPresenter = std::function<void(VerificationReportWindow&)>;
  void SetReportPresenter(ReportPresenter presenter) { presentReport_ = std::move(presenter); }
  // How the window's other modal dialogs (About, the tab's editors and calculators, the
  // "Scan Line" dialog) are run; by default exec(). Tests drive them instead.
  void SetDialogRunner(std::function<void(QDialog&)> runner);
  // How the "Scan Line" dialog alone is run, for tests that work the dialog itself.
  using ScanPresenter = std::function<void(ScanDialog&)>;
  void SetScanPresenter(ScanPresenter presenter) { presentScan_ = std::move(presenter); }

  // Button and menu handlers, public so that tests reach them as a click does. A menu entry
  // runs the very handler of its button.
  bool PostCommand(const std::string& name);
  void Timer1Tick();
  void ReadAll();
  // Asks "Show what will change first?" (with "Write only what differs") while a port is
  // open; "Yes" compares and shows the differences as a table, where the user decides.
  void WriteAll();
  void VerifyAll();
  // "Compare": lists every difference between the editor and the controller, changing
  // neither, as a table ("Compare") with the report one button away.
  void Compare();
  // File > "Compare with File...": the editor against a data file in the same table.
  void CompareWithFile();
  // The differences table's buttons: "Write Checked" and "Take Controller's Values" (or
  // "Take File's Values").
  void WriteCheckedRows();
  void TakeCheckedValues();
  // The tab, pin, aspect or event pin that show the field, with its control focused.
  void ShowField(const FieldId& field);
  // "Stop" (or Escape) while an operation runs.
  void StopOperation();
  // "Save File" (Ctrl+S, a click on the button): the document's file, asking for one only
  // while there is none. "Save As..." (Ctrl+Shift+S) always asks; "Save Compact..." (Shift +
  // click on the button) asks and leaves out what is empty.
  void SaveFile();
  void SaveFileAs();
  void SaveFileCompact();
  void LoadFile();
  // File > "Export Sheet...", "Print Preview..." and "Print...": the configuration sheet as
  // a PDF or HTML file, on screen as printed, or on the printer.
  void ExportSheet();
  void PrintPreview();
  void PrintSheet();
  void Quit();
  // "Undo" (Ctrl+Z) and "Redo" (Ctrl+Shift+Z): the editor's configuration one step back or
  // forward; nothing is sent to the controller.
  void Undo();
  void Redo();
  void EraseFlash();
  void OpenMonitor();
  void OpenReport();
  // View > "Pin Overview": every pin in a table that follows the editor (non-modal).
  void OpenPinOverview();
  // "Scan line...": finds the controllers on the line; the chosen one's address is taken.
  void OpenScanDialog();
  void ExpertModeSwitch();
  void OpenPatternCalculator() { OpenCalculator(HelpToolKind::Pattern); }
  void OpenEventMapCalculator() { OpenCalculator(HelpToolKind::EventMap); }
  void OpenTimeCalculator() { OpenCalculator(HelpToolKind::Time); }
  // Help > "User Guide": the guide at its contents.
  void ShowHelp();
  // F1: the guide's section about the tab shown (in the main window) or about the dialog
  // or window that had the focus.
  void ShowContextHelp(QWidget* from);
  // Null until the guide was first opened.
  HelpWindow* HelpView() const { return help_; }
  void ShowAbout();
  // Creates the report window on first use and gives it the report's current text.
  VerificationReportWindow& Report();
  // Selects and opens the port-list entry of a device named on the command line.
  bool SelectDevice(const std::string& device);
  // "Network Port..." in the port list: asks for a serial server on the network and opens it.
  void OpenNetworkPortDialog();

  // Shows every value of the state again.
  void ShowAll();
  // Fills the File menu's recent files from the state.
  void ShowRecentFiles();
  // The automatic refresh of the port list: a plugged or unplugged adapter shows at once.
  void RescanPorts();
  QTimer* PortScanTimer() const { return portScan_; }

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
  void ShowResult(const std::string& text) override;
  // The title with the file's name and the modified mark, and what Undo and Redo can do.
  void ShowEditState() override;
  // The bar above the tabs that says which controller holds a mix of old and new settings.
  void ShowMixedController() override;

 protected:
  // Unsaved changes are offered for saving first; "Cancel" keeps the window open.
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* BuildPortGroup();
  QWidget* BuildAddressGroup();
  QWidget* BuildOptionsGroup();
  QWidget* BuildTransferGroup();
  QWidget* BuildMixedBar();
  void BuildStatusBar();
  void BuildMenus();
  void BuildTabs();
  void Connect();

  void ShowPortList();
  void ShowLinkSettings();
  void TabChanged(int index);
  void StepModuleAddress(bool up);
  void StepExtendedAddress(bool up);
  void OpenCalculator(HelpToolKind kind);
  // Creates the help window on first use.
  HelpWindow& Help();
  void RunDialog(QDialog& dialog);
  // The sheet of the configuration the editor holds, addresses as the link settings give them.
  SheetDocument Sheet();
  // The posted command runs as soon as the busy label is on screen.
  void StartPostedCommand();
  // A user action has ended: what it changed becomes an undo step.
  void NoteEdits();
  // The views of the whole configuration (the pin overview, the aspect in words) follow
  // whatever changed it or what it is compared with.
  void FollowEdits();
  // A pin double-clicked in the overview: the device tab shows it.
  void OpenPinFromOverview(int pin);
  // While a command runs, the monitor keeps scrolling and showing its lines.
  void KeepMonitorResponsive();
  // Between two exchanges of a running command: a "Stop" clicked meanwhile is taken.
  void TakeStopRequests();
  // A comparison has ended: its differences as a table.
  void ShowCompareTable();
  DifferenceTableWindow& CompareTableWindow();
  // What Undo and Redo would do, in their menu entries.
  void ShowUndoTexts();
  // The fields shown now that differ from the baseline (the last load, save or Read All)
  // tinted, with what they were in their tooltips; the count in the status bar.
  void ShowChangedMarks();
  int Offset() const;

  AppState& app_;
  ReportPresenter presentReport_;
  std::function<void(QDialog&)> runDialog_;
  ScanPresenter presentScan_;
  bool running_ = false;
  int currentTab_ = 0;
  QElapsedTimer responsive_;
  QElapsedTimer stopPoll_;
  // The file the table compares the editor with, while it shows one.
  std::optional<ComparedFile> comparedFile_;

  QComboBox* comboPort_ = nullptr;
  QPushButton* refresh_ = nullptr;
  ClickableLabel* labelPort_ = nullptr;
  QLabel* labelPortState_ = nullptr;  // which device is open, at which line settings
  QLabel* labelChanges_ = nullptr;    // "12 changes" since the baseline
  std::vector<QPointer<QWidget>> marked_;
  QWidget* frameBitrate_ = nullptr;
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
  QPushButton* compare_ = nullptr;
  QPushButton* stop_ = nullptr;
  ModifierButton* save_ = nullptr;
  QPushButton* load_ = nullptr;
  QWidget* busyFrame_ = nullptr;
  QLabel* labelAction_ = nullptr;
  QLabel* labelProgress_ = nullptr;
  QLabel* labelResult_ = nullptr;
  ReleaseLabel* release_ = nullptr;
  QAction* expertAction_ = nullptr;
  QAction* undoAction_ = nullptr;
  QAction* redoAction_ = nullptr;
  EditRecorder* editRecorder_ = nullptr;
  QLabel* mixedBar_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  GeneralTabWidget* generalTab_ = nullptr;
  EventControlTab* eventTab_ = nullptr;
  DeviceConfigTab* deviceTab_ = nullptr;
  TestTab* testTab_ = nullptr;
  QTimer* timer1_ = nullptr;
  QTimer* portScan_ = nullptr;
  QMenu* recentFiles_ = nullptr;
  CommunicationWindow* monitor_ = nullptr;
  VerificationReportWindow* report_ = nullptr;
  PinOverviewWindow* overview_ = nullptr;
  HelpWindow* help_ = nullptr;
  DifferenceTableWindow* compareTable_ = nullptr;
};

}  // namespace brixo
