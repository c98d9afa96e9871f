#include "cli/cli_lines.h"

#include <unistd.h>

#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string_view>

#include "cli/cli_run.h"
#include "cli/cli_signals.h"
#include "files/save_folder.h"
#include "link/network_address.h"
#include "link/port_list.h"
#include "link/qt_port_scanner.h"
#include "link/user_directions.h"
#include "transfer/line_backup_names.h"

namespace brixo {

namespace {

constexpr std::array<std::string_view, 3> kSeveralLineCommands{"scan", "backup", "verify-dir"};

int LinesUsageError(const std::string& text) {
  std::fprintf(stderr, "brixo-cli: %s\nTry 'brixo-cli --help'.\n", text.c_str());
  return kExitUsage;
}

// One line's run, shared between its thread and the main thread only through the token
// (under the mutex) and the end flag; everything else is read once the thread has ended.
struct LineRun {
  std::string Device;
  std::string Name;  // as shown: "/dev/ttyUSB0", "layout-pi:3333 (RFC 2217)"
  std::string Tag;
  CapturedOutput Output;
  int Status = kExitFailed;
  std::mutex Mutex;
  CancellationToken* Token = nullptr;  // the line's running session's, under Mutex
  std::unique_ptr<QThread> Thread;
};

// Port-list numbers become the devices they stand for, as the port list numbers them.
bool ResolvePorts(const std::vector<std::string>& ports, std::vector<std::string>& devices, std::string& error) {
  std::vector<PortEntry> entries;
  bool scanned = false;
  for (const std::string& port : ports) {
    if (!IsPortNumber(port)) {
      devices.push_back(port);
      continue;
    }
    if (!scanned) entries = NumberPorts(OrderSerialDevices(ScanQtSerialPorts()), {});
    scanned = true;
    const int number = std::stoi(port);
    if (number > static_cast<int>(entries.size())) {
      error = "Cannot open communications port " + port + "\n" +
              NoSuchPortText(number, static_cast<int>(entries.size()), CommandLineDirections());
      return false;
    }
    devices.push_back(entries[number - 1].Device());
  }
  return true;
}

// Replays what a line said: standard output as it stands, and each line of standard
// error after the line's name, so that a message still tells its line when the two
// streams go to different places.
void PrintLine(const LineRun& run) {
  const std::string header = "Line " + run.Name + ":\n";
  std::fwrite(header.data(), 1, header.size(), stdout);
  bool errorLineStart = true;
  for (const CapturedOutput::Piece& piece : run.Output.Pieces) {
    if (!piece.Error) {
      std::fwrite(piece.Text.data(), 1, piece.Text.size(), stdout);
      continue;
    }
    std::fflush(stdout);
    std::string text;
    for (char c : piece.Text) {
      if (errorLineStart) text += run.Name + ": ";
      text += c;
      errorLineStart = c == '\n';
    }
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
  }
  if (!errorLineStart) std::fputc('\n', stderr);
  std::fflush(stdout);
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

bool WorksSeveralLines(const CliCommand& command) {
  return std::find(kSeveralLineCommands.begin(), kSeveralLineCommands.end(), command.Name) !=
         kSeveralLineCommands.end();
}

int RunOnLines(const CliCommand& command, const CliOptions& options) {
  if (!WorksSeveralLines(command))
    return LinesUsageError(std::string("--port is given once for ") + command.Name +
                           " (several lines only for scan, backup and verify-dir)");
  if (options.Simulate) return LinesUsageError("--port and --simulate exclude each other");
  std::vector<std::string> devices;
  std::string error;
  if (!ResolvePorts(options.Ports, devices, error)) {
    // Worded as on one line: the port list, not the usage, is what to look at.
    std::fprintf(stderr, "%s\n", error.c_str());
    return kExitUsage;
  }

  std::vector<std::unique_ptr<LineRun>> runs;
  for (const std::string& device : devices) {
    auto run = std::make_unique<LineRun>();
    run->Device = device;
    run->Name = PortDisplayName(device);
    run->Tag = LineTag(device);
    for (const auto& other : runs) {
      if (other->Tag == run->Tag)
        return LinesUsageError("--port " + other->Device + " and --port " + device + " name the same line");
    }
    runs.push_back(std::move(run));
  }

  std::unique_ptr<std::FILE, FileCloser> logFile;
  if (!options.LogPath.empty() && options.LogPath != "-") {
    logFile.reset(std::fopen(options.LogPath.c_str(), "a"));
    if (!logFile) return LinesUsageError("cannot open log file " + options.LogPath);
  }

  // Each line saves into the folder; it is made ready once, before any line starts, and a
  // folder made for the backups goes again when no line saved anything into it.
  std::vector<std::string> madeFolders;
  if (std::string(command.Name) == "backup" && !options.Arguments.empty()) {
    if (const std::string problem = PrepareSaveFolder(options.Arguments[0], madeFolders); !problem.empty()) {
      std::fprintf(stderr, "brixo-cli: %s. No controller was read.\n", problem.c_str());
      return kExitUsage;
    }
  }

  CancellationToken signalled;
  SignalsStop stopOnSignals(signalled);
  for (const auto& owned : runs) {
    LineRun* run = owned.get();
    run->Thread.reset(QThread::create([run, &command, &options, &signalled, log = logFile.get()] {
      StatusLine status(run->Output);
      CliOptions lineOptions = options;
      lineOptions.Port = run->Device;
      lineOptions.Ports = {run->Device};
      // Several lines cannot ask questions on one terminal at once: --yes answers them.
      const LineSetup setup{status, false, log, "[" + run->Name + "] ", run->Tag,
                            [run, &signalled](CancellationToken* token) {
                              std::lock_guard lock(run->Mutex);
                              run->Token = token;
                              if (token != nullptr && signalled.Tripped()) token->Trip(StopReason::Interrupted);
                            }};
      run->Status = RunOnOneLine(command, lineOptions, setup);
    }));
    run->Thread->start();
  }

  StatusLine progress(isatty(STDERR_FILENO) == 1);
  bool passedOn = false;
  for (;;) {
    const auto running = std::count_if(runs.begin(), runs.end(), [](const auto& r) { return !r->Thread->isFinished(); });
    if (running == 0) break;
    progress.Show("Working on " + std::to_string(runs.size()) + " lines, " + std::to_string(runs.size() - running) +
                  " done");
    if (signalled.Tripped() && !passedOn) {
      for (const auto& run : runs) {
        std::lock_guard lock(run->Mutex);
        if (run->Token != nullptr) run->Token->Trip(StopReason::Interrupted);
      }
      passedOn = true;
    }
    for (const auto& run : runs) {
      if (!run->Thread->isFinished()) {
        run->Thread->wait(QDeadlineTimer(50));
        break;
      }
    }
  }
  progress.Clear();

  int worst = kExitOk;
  for (const auto& run : runs) {
    run->Thread->wait();
    PrintLine(*run);
    worst = std::max(worst, run->Status);
  }
  RemoveMadeFolders(madeFolders);  // only while they are empty
  return signalled.Tripped() ? kExitInterrupted : worst;
}

std::string LineBackupFileName(CliSession& s, const std::string& moduleFileName) {
  return TaggedBackupFileName(s.LineTag, moduleFileName);
}

std::optional<BackupFileAddress> LineBackupFile(CliSession& s, const std::string& name) {
  const std::optional<TaggedBackupFile> file = ParseTaggedBackupFileName(name);
  if (!file) return std::nullopt;
  const bool ours = s.LineTag.empty() ? file->Tag.empty() || file->Tag == LineTag(s.Options.Port)
                                      : file->Tag == s.LineTag;
  if (!ours) return std::nullopt;
  return file->Address;
}

}  // namespace brixo
