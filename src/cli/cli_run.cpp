#include "cli/cli_run.h"

#include "app/no_file_chooser.h"
#include "link/qt_port_scanner.h"
#include "link/qt_serial_port.h"

namespace brixo {

namespace {

// The machine's devices are probed only when the port list itself is needed: probing
// opens every device, which some serial hardware answers by resetting.
bool ListsMachinePorts(const CliCommand& command, const CliOptions& options) {
  if (!TalksToController(command, options)) return std::string(command.Name) == "ports";
  return !options.Simulate && IsPortNumber(options.Port);
}

// Each line of the piece ("\r\n" ends) as a line of the log, after the prefix.
std::string LogLines(const std::string& prefix, const std::string& piece) {
  const std::string lines = UnixLines(piece);
  if (prefix.empty()) return lines;
  std::string out;
  for (size_t start = 0; start < lines.size();) {
    size_t end = lines.find('\n', start);
    end = end == std::string::npos ? lines.size() : end + 1;
    out += prefix + lines.substr(start, end - start);
    start = end;
  }
  return out;
}

}  // namespace

int RunOnOneLine(const CliCommand& command, const CliOptions& options, const LineSetup& setup) {
  StatusLine& status = setup.Status;
  TerminalPrompt prompt(status, options.Yes, setup.StdinIsTerminal);
  CliObserver observer(status);
  NoFileChooser chooser;
  QtSerialPortFactory devices;
  AppStateOptions appOptions;
  appOptions.LoadDeviceDefinitions = false;  // no command uses the device library
  appOptions.OfferSimulator = options.Simulate;
  appOptions.Devices = &devices;
  appOptions.Observer = &observer;
  // Every line goes to standard output or --log as it comes: no window shows a history.
  appOptions.HistoryLines = kStreamedHistoryLines;
  appOptions.Directions = CommandLineDirections();
  if (ListsMachinePorts(command, options)) appOptions.Scanner = ScanQtSerialPorts;
  if (TalksToController(command, options) && !options.Simulate && !options.Port.empty() && !IsPortNumber(options.Port))
    appOptions.ExtraDevices.push_back(options.Port);
  AppState app(prompt, chooser, appOptions);

  if (!options.LogPath.empty()) {
    std::FILE* sink = setup.LogFile;
    app.Log().onAppend = [sink, &status, prefix = setup.LogPrefix](const std::string& piece) {
      const std::string lines = LogLines(prefix, piece);
      if (sink == nullptr) {
        status.Write(lines);
      } else {
        // One call a piece: lines of several threads never mix within a line.
        std::fwrite(lines.data(), 1, lines.size(), sink);
        std::fflush(sink);
      }
    };
  }
  if (options.ZeroBased) app.SetStartNumberingAtOne(false);
  // Without a window to watch, going on after a lost reply only sends frames nobody
  // answers: an operation ends at its first link failure (the window goes on, as it always did).
  app.Link().StopOnLinkFailure = true;
  // And it says itself, in one sentence, how far an operation got that ended early.
  app.Link().Cancellation().SetOwnerTellsProgress(true);

  CliSession session{options, app, prompt, status, setup.LineTag};
  if (TalksToController(command, options)) {
    if (int result = CheckLinkOptions(session)) return result;
  }
  if (setup.WatchToken) setup.WatchToken(&app.Link().Cancellation());
  const int result = command.Run(session);
  if (setup.WatchToken) setup.WatchToken(nullptr);
  status.Clear();
  return Interrupted(session) && !session.Completed ? kExitInterrupted : result;
}

}  // namespace brixo
