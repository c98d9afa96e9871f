// Commands for every controller on a line at once: finding them, backing them all up and
// checking them all against their backups.
#include <algorithm>
#include <filesystem>
#include <optional>

#include "app/found_controller_address.h"
#include "app/start_up_defaults.h"
#include "cli/cli_commands.h"
#include "cli/cli_lines.h"
#include "transfer/difference_table.h"
#include "files/save_folder.h"
#include "transfer/line_scan.h"

namespace brixo {

namespace {

constexpr int kExtendedAddresses = 96;

std::string ModuleText(CliSession& s, int module, std::optional<int> extended) {
  return ScanAddressText({module, extended}, s.Offset());
}

// "module 3: firmware 3.2.1.0, ID "Yard West"" and its variants.
std::string FoundLine(CliSession& s, const FoundController& f) {
  std::string line = ModuleText(s, f.Module, f.Extended) + ": ";
  if (f.Late) line += "answered late, ";
  line += f.Version.empty() ? "firmware unknown" : "firmware " + f.Version;
  line += f.IdString ? ", ID \"" + *f.IdString + "\"" : ", ID not read";
  return line;
}

std::string ProbeText(CliSession& s, const ScanProbe& probe) {
  return ModuleText(s, probe.Module, probe.Extended);
}

int ScanSettingsFromOptions(CliSession& s, ScanSettings& settings) {
  const CliOptions& o = s.Options;
  settings.BitRate = o.Baud;
  if (o.ProbeMs) settings.MarginSeconds = *o.ProbeMs / 1000.0;
  if (o.XaddrRange) {
    const int first = s.Offset();
    const int last = first + kExtendedAddresses - 1;
    if (o.XaddrRange->First < first || o.XaddrRange->Last > last)
      return UsageError(s, "--xaddr-range must lie from " + std::to_string(first) + " to " + std::to_string(last));
    settings.ExtendedRange = ScanSettings::Range{o.XaddrRange->First - first, o.XaddrRange->Last - first};
  }
  return kExitOk;
}

// Connects and scans; `found` holds what answered, `troubled` whether something answered
// that was no usable controller reply. kExitOk when the scan ran to its end.
int ScanTheLine(CliSession& s, std::vector<FoundController>& found, bool& troubled) {
  ScanSettings settings;
  if (int status = ScanSettingsFromOptions(s, settings)) return status;
  if (int status = Connect(s)) return status;
  // One operation, as any other: a lost device (or a silent interface unit) ends it at
  // once. An address that stays silent is no link failure: probes wait quietly.
  CancellationScope operation(s.App.Link().Cancellation());
  LineScan scan(s.App.Link(), settings);
  while (!scan.Finished()) {
    if (const std::optional<ScanProbe> next = scan.NextProbe()) {
      s.Status.Show("Scanning " + ProbeText(s, *next) + " (" + std::to_string(scan.ProbesDone() + 1) + " of " +
                    std::to_string(scan.Probes().size()) + ")");
    } else {
      s.Status.Show("Waiting for late answers");
    }
    scan.Step();
  }
  s.Status.Clear();
  found = scan.Found();
  for (const ScanProblem& problem : scan.Problems()) s.Status.Write(ScanProblemText(problem, s.Offset()) + "\n");
  troubled = !scan.Problems().empty();
  if (scan.LinkFailed()) return kExitFailed;
  if (found.empty()) s.Status.Write("No controller answered.\n");
  if (std::any_of(found.begin(), found.end(), [](const FoundController& f) { return f.Late; })) {
    s.Status.Write("Some controllers answered late: a larger --probe-ms waits longer for them.\n");
  }
  return kExitOk;
}

// What the previous controller left in the configuration must not reach the next file.
void StartAfresh(CliSession& s) {
  AppState& app = s.App;
  const bool fromOne = app.StartNumberingAtOne();
  app.Model() = ConfigModel{};
  app.General() = GeneralSettings{};
  app.Events() = EventControlState{};
  ApplyStartUpDefaults(app.Model(), app.General(), app.Events());
  app.SetStartNumberingAtOne(fromOne);
}

// The controller's address from a backup file name, as displayed, turned into internal values.
bool InternalAddress(CliSession& s, const BackupFileAddress& shown, int& module, std::optional<int>& extended) {
  const int modules = s.App.Link().CheckQuendal ? kTunnelledModuleCount : kDirectModuleCount;
  module = shown.Module - s.Offset();
  if (module < 0 || module >= modules) return false;
  extended.reset();
  if (shown.Extended) {
    extended = *shown.Extended - s.Offset();
    if (*extended < 0 || *extended >= kExtendedAddresses) return false;
  }
  return true;
}

// The first line of the report that tells what differs (not a heading or a note); the
// verdict ends the search, as only the listing and the summary follow it.
std::string FirstReportLine(const std::string& report) {
  for (size_t start = 0; start < report.size();) {
    size_t end = report.find_first_of("\r\n", start);
    if (end == std::string::npos) end = report.size();
    const std::string line = report.substr(start, end - start);
    start = end + 1;
    if (line == "Verify OK" || line == "Differences Found" || line == "Verification Stopped") break;
    const bool heading = line.rfind("Start ", 0) == 0 || line.rfind("Note: ", 0) == 0;
    if (!line.empty() && !heading) return line;
  }
  return {};
}

// The first difference, worded as `diff` and the report list it; a verification that
// ended without one says what its report says first.
std::string FirstDifference(CliSession& s) {
  const VerificationResult& result = s.App.Report().Result;
  if (result.Differences.empty()) return FirstReportLine(s.App.Report().Text);
  return DifferenceLine(DifferenceRows(result.Differences, {s.App.Model(), s.App.General(), s.App.Events()}).front());
}

// Points the link at a controller; giving its extended address answers the warning about
// extended addressing, as --xaddr does.
void AddressController(CliSession& s, int module, std::optional<int> extended) {
  if (extended && !s.App.Link().CheckXaddress) s.Prompt.AnswerNextQuestion();
  AddressFoundController(s.App, module, extended);
}

// The port was open when the command began: closed now, the device went away (and said
// so). The controllers after it cannot be reached.
bool PortLost(CliSession& s) { return !s.App.Link().PortOpen(); }

struct BackupFile {
  std::string Name;
  BackupFileAddress Address;
};

std::vector<BackupFile> BackupFilesIn(CliSession& s, const std::string& folder) {
  std::vector<BackupFile> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (!entry.is_regular_file(error)) continue;
    const std::string name = entry.path().filename().string();
    if (const std::optional<BackupFileAddress> address = LineBackupFile(s, name)) files.push_back({name, *address});
  }
  std::sort(files.begin(), files.end(), [](const BackupFile& a, const BackupFile& b) { return a.Name < b.Name; });
  return files;
}

// The backups in the folder of the controller at this module and extended address, as
// displayed, on this line: the file a new backup replaces, under whatever identification
// string it had.
std::vector<std::string> EarlierBackups(CliSession& s, const std::filesystem::path& folder, int module,
                                        std::optional<int> extended) {
  std::vector<std::string> names;
  for (const BackupFile& file : BackupFilesIn(s, folder.string())) {
    if (file.Address.Module == module && file.Address.Extended == extended) names.push_back(file.Name);
  }
  return names;
}

std::string KeptName(const std::string& name) { return name + ".bak"; }

// Keeps an earlier backup as "<name>.bak" (replacing an older one). One that the new file
// replaces under the same name is linked there before the save; any other is moved there
// once the new file is saved. False, with the reason, when that failed.
bool KeepEarlierBackup(const std::filesystem::path& folder, const std::string& name, bool replacedBySave,
                       std::string& error) {
  const std::filesystem::path from = folder / name;
  const std::filesystem::path to = folder / KeptName(name);
  std::error_code ec;
  if (replacedBySave) {
    std::filesystem::remove(to, ec);
    std::filesystem::create_hard_link(from, to, ec);
    if (ec) std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
  } else {
    std::filesystem::rename(from, to, ec);
  }
  if (ec) error = ec.message();
  return !ec;
}

// Saves the controller's backup as `name`, keeping each earlier backup of the same
// controller as ".bak"; the line says what was saved (`note` behind its name) and kept.
// The exit status of the save.
int SaveBackup(CliSession& s, const std::filesystem::path& folder, const std::string& name, int module,
               std::optional<int> extended, const std::string& note, std::string& line) {
  const std::vector<std::string> earlier = EarlierBackups(s, folder, module, extended);
  std::string error;
  const bool sameName = std::find(earlier.begin(), earlier.end(), name) != earlier.end();
  if (sameName && !KeepEarlierBackup(folder, name, true, error)) {
    line += "not saved: the previous " + name + " could not be kept as " + KeptName(name) + " (" + error + ")";
    return kExitUsage;
  }
  const std::string path = (folder / name).string();
  if (int saved = SaveOutput(s, path, false)) {
    line += "could not save " + path;
    return saved;
  }
  line += "saved " + path + note;
  int status = kExitOk;
  for (const std::string& old : earlier) {
    if (old != name && !KeepEarlierBackup(folder, old, false, error)) {
      line += ", but the previous " + old + " could not be moved to " + KeptName(old) + " (" + error + ")";
      status = kExitUsage;
    } else {
      line += ", the previous " + old + " kept as " + KeptName(old);
    }
  }
  return status;
}

}  // namespace

// A line where something answered garbled or refused is no clean line, whatever else
// was found: the status says it needs a look.
int RunScan(CliSession& s) {
  std::vector<FoundController> found;
  bool troubled = false;
  if (int status = ScanTheLine(s, found, troubled)) return status;
  for (const FoundController& f : found) PrintOut(s, FoundLine(s, f) + "\n");
  return found.empty() || troubled ? kExitFailed : kExitOk;
}

int RunBackup(CliSession& s) {
  const std::filesystem::path folder = s.Options.Arguments[0];
  // Before any controller is read: a folder that cannot take the backups ends the command.
  std::vector<std::string> made;
  if (const std::string problem = PrepareSaveFolder(folder.string(), made); !problem.empty())
    return UsageError(s, problem + ". No controller was read.");

  std::vector<FoundController> found;
  bool troubled = false;
  const int scanned = ScanTheLine(s, found, troubled);
  if (scanned != kExitOk || found.empty()) {
    // Nothing will be saved: a folder made for the backups goes again.
    RemoveMadeFolders(made);
    return scanned != kExitOk ? scanned : kExitFailed;
  }
  // The controllers that answered are still saved.
  int worst = troubled ? kExitFailed : kExitOk;
  for (const FoundController& f : found) {
    std::string line = ModuleText(s, f.Module, f.Extended) + ": ";
    if (PortLost(s)) {
      PrintOut(s, line + "not read, the port went away: nothing was saved\n");
      worst = std::max(worst, kExitFailed);
      continue;
    }
    StartAfresh(s);
    AddressController(s, f.Module, f.Extended);
    const int problems = s.Prompt.Problems();
    // Each controller's Read All ends at its first link failure; the next one starts afresh.
    const bool read = RunDeferredCommand(s, "ReadAll") && !s.App.Commands().LastStopped();
    int status = ControllerOutcome(s, read, problems);
    if (!read) {
      line += EndedEarlyText(s);
    } else {
      const std::optional<int> shownExtended = f.Extended ? std::optional<int>(*f.Extended + s.Offset()) : std::nullopt;
      const std::string name =
          LineBackupFileName(s, BackupFileName(f.Module + s.Offset(), shownExtended, s.App.General().TextGenIDString));
      const std::string note = status == kExitOk ? "" : " (with problems)";
      status = std::max(status, SaveBackup(s, folder, name, f.Module + s.Offset(), shownExtended, note, line));
    }
    PrintOut(s, line + "\n");
    worst = std::max(worst, status);
    // Ctrl-C ends the whole round, not only this controller's part of it.
    if (Interrupted(s)) break;
  }
  return worst;
}

int RunVerifyDir(CliSession& s) {
  const std::string folder = s.Options.Arguments[0];
  const std::vector<BackupFile> files = BackupFilesIn(s, folder);
  if (files.empty()) return UsageError(s, "no backup files (module-NN-....dat) in " + folder);
  if (int status = Connect(s)) return status;
  int worst = kExitOk;
  for (const BackupFile& file : files) {
    int module = 0;
    std::optional<int> extended;
    std::string line = "module " + std::to_string(file.Address.Module);
    if (file.Address.Extended) line += ", extended address " + std::to_string(*file.Address.Extended);
    line += " (" + file.Name + "): ";
    int status = kExitOk;
    StartAfresh(s);
    if (PortLost(s)) {
      line += "not checked, the port went away";
      status = kExitFailed;
    } else if (!InternalAddress(s, file.Address, module, extended)) {
      line += "no such address on this line";
      status = kExitUsage;
    } else if (LoadInput(s, (std::filesystem::path(folder) / file.Name).string()) != kExitOk) {
      line += "cannot load the file";
      status = kExitUsage;
    } else {
      AddressController(s, module, extended);
      const int problems = s.Prompt.Problems();
      const bool same = RunDeferredCommand(s, "VerifyAll");
      const bool stopped = s.App.Commands().LastStopped();
      status = stopped ? kExitFailed : ControllerOutcome(s, same, problems);
      if (stopped) {
        line += EndedEarlyText(s);
      } else if (status == kExitOk) {
        line += "Verify OK";
      } else {
        const std::string reason = FirstDifference(s);
        line += reason.empty() ? "differs" : "differs: " + reason;
      }
    }
    PrintOut(s, line + "\n");
    worst = std::max(worst, status);
    // Ctrl-C ends the whole round, not only this controller's part of it.
    if (Interrupted(s)) break;
  }
  return worst;
}

}  // namespace brixo
