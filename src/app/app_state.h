#pragma once
// The one application state object that the window and the command-line tool share. It
// owns everything a run keeps: the link with its port list and addressing, the
// configuration model with its address maps, the General tab's settings, the event-control
// table, the verification report, the device library, the deferred-command engine, the
// live-test state and the feedback monitor, and wires the transfers and file operations to
// them. Its owner lends the message boxes, the file dialogs and what it shows.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_port_factory.h"
#include "app/app_views.h"
#include "app/edit_history.h"
#include "app/configuration_file.h"
#include "app/edit_step_name.h"
#include "app/feedback_monitor.h"
#include "app/live_commands.h"
#include "app/mixed_controller.h"
#include "app/remembering_chooser.h"
#include "files/data_file.h"
#include "files/device_library.h"
#include "link/address_settings.h"
#include "link/brixo_link.h"
#include "link/clock.h"
#include "link/communication_log.h"
#include "link/link_settings.h"
#include "link/tunnelling.h"
#include "link/user_directions.h"
#include "model/pin_page.h"
#include "transfer/deferred_commands.h"
#include "transfer/transfer_context.h"

namespace brixo {

struct AppStateOptions {
  // The program's folder: the standard device library is looked for there first.
  std::string ProgramFolder;
  bool LoadDeviceDefinitions = true;
  // Offer the in-process simulated controller in the port list.
  bool OfferSimulator = false;
  // Devices listed after the machine's own (a path named on the command line).
  std::vector<std::string> ExtraDevices;
  // Lists the machine's serial devices; without one only the devices above are offered.
  PortScanner Scanner;
  // Serves the real devices (QSerialPort); null offers none.
  SerialPortFactory* Devices = nullptr;
  // Null: the steady clock of the machine.
  Clock* TimeSource = nullptr;
  // Told about every display change from start-up on; may be null.
  AppObserver* Observer = nullptr;
  // Lines kept of the communication log and of the feedback monitor's text. A program that
  // shows neither but passes each line on keeps few (kStreamedHistoryLines), so that its
  // memory settles within the first minute of a monitor.
  size_t HistoryLines = kHistoryLines;
  // How messages tell the user what to try: the window's controls or brixo-cli's options.
  UserDirections Directions;
};

// The tabs of the main window's tab strip.
constexpr int kGeneralTab = 0;
constexpr int kEventControlTab = 1;
constexpr int kDeviceConfigurationTab = 2;
constexpr int kTestTab = 3;

class AppState {
 public:
  // Runs the whole start-up.
  AppState(UserPrompt& prompt, FileChooser& chooser, AppStateOptions options = {});
  ~AppState();
  AppState(const AppState&) = delete;
  AppState& operator=(const AppState&) = delete;

  UserPrompt& Prompt() { return prompt_; }
  AppObserver& Observer() { return observer_ ? *observer_ : nullObserver_; }
  void SetObserver(AppObserver* observer) { observer_ = observer; }

  Clock& GetClock() { return *clock_; }
  CommunicationLog& Log() { return log_; }
  BrixoLink& Link() { return link_; }
  LinkSettings& Ports() { return ports_; }
  AddressSettings& Addresses() { return addresses_; }
  Tunnelling& Quendal() { return tunnelling_; }
  ConfigModel& Model() { return model_; }
  AddressMaps& Maps() { return maps_; }
  GeneralSettings& General() { return general_; }
  EventControlState& Events() { return events_; }
  VerificationReport& Report() { return report_; }
  DeviceLibrary& Devices() { return devices_; }
  PinPage& Pins() { return pins_; }
  TransferContext& Transfer() { return transfer_; }
  DeferredCommands& Commands() { return commands_; }
  DataFileContext& DataFiles() { return dataFiles_; }
  DeviceContext& DeviceFiles() { return deviceFiles_; }
  LiveContext& Live() { return live_; }
  FeedbackMonitor& Monitor() { return monitor_; }
  TransferView& View() { return transferView_; }
  // The simulated controller; null unless it is offered.
  SimSerialPort* Simulator() { return factory_.Simulator(); }

  const std::string& DataFileVersion() const { return dataFileVersion_; }

  // "Start numbering at 1" (CheckKLnumber) changed: the numbers shown follow, the values
  // stored stay.
  void SetStartNumberingAtOne(bool checked);
  bool StartNumberingAtOne() const { return model_.NumberingOffset == 1; }

  bool ExpertMode() const { return expertMode_; }
  void SetExpertMode(bool on);
  // Right-button press on the release label: asks "Expert Mode?".
  void ExpertModeSwitch();
  // A tab of the main tab strip was selected. False (after "Sorry, This tab is disabled")
  // when the previous tab must be selected again.
  bool TabSelected(int index);
  // Whether a tab may be selected now, without telling the user anything.
  bool TabOpens(int index) const { return index != kTestTab || expertMode_; }

  // The Timer1 tick: runs the command waiting in the slot, then tells the observer what it
  // came to and how long it took.
  void RunPendingCommand();
  // "Stop" (or Escape) while an operation runs: it ends after the exchange in flight.
  void StopOperation();
  // "Save File" (Ctrl+S, the close question's "Save"): writes the document's file in the
  // form it was last saved in, and asks for a file only while there is none (Save As).
  bool Save();
  // "Save As...": asks for the file, offering the document's own or, after a Read All, the
  // name a backup of that controller gets ("module-02-Demo_Layout.dat").
  bool SaveAs();
  // "Save Compact..." (Shift + "Save File"): asks for the file and leaves out undescribed
  // pins and aspects and empty steps.
  bool SaveCompact();
  // "Load File", through the file dialog. A cancelled dialog changes nothing and reports
  // nothing, as for the saves.
  bool LoadFile();
  // The name Save As offers; empty for none.
  std::string SuggestedFileName() const;
  // A file of the File menu's recent files; one that cannot be read leaves the list.
  bool LoadRecentFile(const std::string& path);
  // Newest first; a load or save puts its file first.
  const std::vector<std::string>& RecentFiles() const { return recentFiles_; }
  void SetRecentFiles(std::vector<std::string> files) { recentFiles_ = std::move(files); }
  // "Save..." on the verification report: its text to a file the user chooses.
  bool SaveReport();
  // The monitor's "Save...": the log as the view shows it, to a text file.
  bool SaveCommunicationLog(const MonitorView& view);
  // Asks for a file (filter, preset name) and writes into it what `content` makes for the
  // path chosen (nothing, with a warning, when it makes nothing), with the result in the
  // status bar. A cancelled dialog changes nothing.
  using FileContent = std::function<std::optional<std::string>(const std::string& path)>;
  bool SaveFileAs(const char* filter, const std::string& presetName, const FileContent& content);
  // What the last operation came to; empty until one ended.
  const std::string& LastResult() const { return lastResult_; }
  void ShowResult(const std::string& text);
  // The controller that a stopped or failed whole write left holding a mix of old and new
  // settings; nothing while none is known.
  const std::optional<MixedController>& Mixed() const { return mixed_; }
  // Its warning in words, numbers as displayed; empty for none.
  std::string MixedWarning() const;

  // The automatic refresh of the port list, and a look at whether the open port's device is
  // still there. A port that went away while nothing ran is closed and told once, as one
  // lost under an operation is. True when the list or the port changed.
  bool RescanPorts();

  // The verification report is about to be shown: the operation's time ends here, not
  // when the user closes the report.
  void NoteReportShown() { reportShownAt_ = clock_->NowSeconds(); }

  // Undo and redo of the editor's configuration. The window records after each user action
  // (NoteEdits: a step when the action changed the configuration); the operations that
  // replace the configuration (Load File, the deferred commands) record themselves. Undo
  // and Redo change the editor only; nothing goes to the controller.
  void NoteEdits();
  bool Undo();
  bool Redo();
  bool CanUndo() const { return history_.CanUndo(); }
  bool CanRedo() const { return history_.CanRedo(); }
  // What Undo and Redo would change, named from the field table ("pin 1 aspect 0 step 3
  // Level", "ID string"), as of the last record.
  EditStep UndoStep() const;
  EditStep RedoStep() const;
  // Sets the editor's fields to these values (the other side of a comparison) as one undo
  // step of its own. Nothing goes to the controller.
  void TakeValues(const std::vector<FieldSetting>& settings);
  // File > "Compare with File...": asks for a data file and reads it beside the editor.
  // Nothing when cancelled or unreadable (the prompt has said why).
  std::optional<ComparedFile> ChooseFileToCompare();
  // Whether the editor differs from the file last saved or loaded (or the last Read All).
  bool Modified();
  // The same as of the last record, without recording.
  bool ModifiedAsRecorded() const { return history_.Modified(); }
  // What "modified" compares with: the configuration last loaded, saved or read whole
  // (Read All), as of the last record.
  const EditorContent& Baseline() const { return history_.Saved(); }
  // That file; empty at start and after a Read All.
  const std::string& DocumentPath() const { return documentPath_; }
  // Before the editor's content is replaced or the window closes: when there are unsaved
  // changes, asks "Save changes to demo.dat?" (Save / Discard / Cancel) and saves if asked.
  // True when it may go ahead.
  bool MayReplaceEdits();

  // Selects the port-list entry of a device (a path named on the command line, the
  // simulated controller) and opens it. False when it is not offered or does not open.
  bool SelectDevice(const std::string& device);

  // Starts the simulated controller with the configuration of a data file.
  bool PreloadSimulator(const std::string& path);

  // The link and General tab values that the address labels depend on, taken afresh.
  void UpdateAddressInputs();

 private:
  // Asks for a file (filter, preset name) and writes text into it, with the result in the status bar.
  bool SaveText(const char* filter, const char* presetName, const std::string& text);
  void StartUp(const AppStateOptions& options);
  // Where the exchange looked for whoever did not answer, as the user sees it now.
  NoAnswerFacts NoAnswerFactsOf(SilentParty party) const;
  EditorContent Content() const;
  void Restore(const EditorContent& content);
  // The editor now holds what `path` holds (empty: what the controller holds).
  void NoteSaved(const std::string& path);
  // A file saved or loaded is the document and heads the recent files.
  void NoteFileUsed(const std::string& path);
  bool MoveInHistory(const EditorContent* (EditHistory::*move)());
  // Writes the document's file (or asks, with `compact`, for another one) and makes it the
  // document; `ask` forces the dialog.
  bool SaveDocument(bool ask, bool compact);
  // A whole read put the controller's configuration into the editor: no file, but a name.
  void NoteReadAll();

  UserPrompt& prompt_;
  RememberingChooser chooser_;
  std::vector<std::string> recentFiles_;
  AppObserver* observer_;
  AppObserver nullObserver_;
  std::unique_ptr<Clock> ownClock_;
  Clock* clock_;
  CommunicationLog log_;
  BrixoLink link_;
  AppPortFactory factory_;
  LinkSettings ports_;
  AddressSettings addresses_;
  Tunnelling tunnelling_;
  ConfigModel model_;
  AddressMaps maps_;
  GeneralSettings general_;
  EventControlState events_;
  VerificationReport report_;
  DeviceLibrary devices_;
  PinPage pins_;
  AppTransferView transferView_;
  AppDataFileView fileView_;
  TransferContext transfer_;
  DeferredCommands commands_;
  DataFileContext dataFiles_;
  DeviceContext deviceFiles_;
  LiveTestState liveState_;
  LiveContext live_;
  FeedbackMonitor monitor_;
  std::string dataFileVersion_ = kDataFileVersion;
  bool expertMode_ = false;
  std::string lastResult_;
  double reportShownAt_ = -1.0;
  EditHistory history_;
  std::string documentPath_;
  // The document's file holds the compact form (Save writes it that way again).
  bool documentCompact_ = false;
  // Save As offers this name (with the folder last used) while there is no document file.
  std::string suggestedName_;
  std::optional<MixedController> mixed_;
  UserDirections directions_;
};

}  // namespace brixo
