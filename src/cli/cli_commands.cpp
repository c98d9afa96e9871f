#include "cli/cli_commands.h"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <memory>
#include <optional>

#include "app/configuration_sheet.h"
#include "app/program_version.h"
#include "cli/cli_lines.h"
#include "cli/cli_run.h"
#include "cli/cli_signals.h"
#include "cli/qt_runtime.h"

namespace brixo {

namespace {

constexpr unsigned kNoFlags = 0;

constexpr std::array<CliCommand, 30> kCommands{{
    {"ports", "", "the numbered port list",
     "Lists the serial ports, numbered as --port N takes them; with --simulate the simulated\n"
     "controller is listed as well.\n",
     0, 0, kNoFlags, false, RunPorts},
    {"version", "", "print the firmware version",
     "Reads the controller's firmware version (\"Request Version\") and prints it.\n", 0, 0, kNoFlags, true,
     RunVersion},
    {"read-id", "", "print the identification string",
     "Reads the identification string (\"Read String\") and prints it.\n", 0, 0, kNoFlags, true, RunReadId},
    {"write-id", "TEXT", "write the identification string",
     "Writes TEXT as the identification string (\"Write String\"); its first 12 characters go,\n"
     "and brixo-cli says so when it is longer. A controller holds only ASCII characters: a\n"
     "TEXT with any other is refused (status 2).\n", 1, 1, kNoFlags,
     true, RunWriteId},
    {"read-all", "FILE [--compact]", "Read All, then save to FILE",
     "Reads the whole controller (\"Read All\") and saves it to FILE; --compact leaves out pins and\n"
     "aspects without a description and empty steps. FILE is written only after a clean read.\n",
     1, 1, kFlagCompact, true, RunReadAll},
    {"write-all", "FILE [--changed-only]", "load FILE, then Write All",
     "Loads FILE and writes it to the controller (\"Write All\"). With --changed-only it first\n"
     "compares the controller with FILE, writes only the settings, event tables and pins that\n"
     "differ (sparing the controller's flash the rest), then compares again; the exit status\n"
     "is 0 only when the controller then holds FILE.\n",
     1, 1, kFlagChangedOnly, true, RunWriteAll},
    {"verify-all", "FILE", "load FILE, then Verify All",
     "Loads FILE and compares the controller with it (\"Verify All\"); the report goes to standard\n"
     "output. The exit status is 0 only when it ends with \"Verify OK\".\n",
     1, 1, kNoFlags, true, RunVerifyAll},
    {"diff", "FILE [FILE2]", "list what differs between FILE and the controller (or FILE2)",
     "Reads the controller and prints every difference from FILE, one per line, each field as\n"
     "the editor captions and shows it (\"pin 10 aspect 2 step 1 Level: file 40, controller 41\").\n"
     "Given two files, compares them instead, without a controller (no port is opened): the same\n"
     "lines with A and B for the first and the second file. Changes nothing. Exit status 0 when\n"
     "they are the same, 1 when they differ or the comparison could not be finished, 2 for bad\n"
     "usage or a file that cannot be read.\n",
     1, 2, kNoFlags, true, RunDiff},
    {"read-pin", "PIN FILE", "Read Pin, merged into FILE",
     "Reads one pin (\"Read Pin\") into the configuration of FILE and saves it; FILE is created\n"
     "when it does not exist.\n",
     2, 2, kNoFlags, true, RunReadPin},
    {"write-pin", "PIN FILE", "Write Pin, taken from FILE",
     "Loads FILE and writes one of its pins to the controller (\"Write Pin\").\n", 2, 2, kNoFlags, true,
     RunWritePin},
    {"read-events", "FILE", "Read All Events, merged into FILE",
     "Reads the event-control actions (\"Read All Events\") into the configuration of FILE and\n"
     "saves it; FILE is created when it does not exist.\n",
     1, 1, kNoFlags, true, RunReadEvents},
    {"write-events", "FILE", "Write All Events, taken from FILE",
     "Loads FILE and writes its event-control actions (\"Write All Events\").\n", 1, 1, kNoFlags, true,
     RunWriteEvents},
    {"verify-events", "FILE", "Verify Event Control against FILE",
     "Loads FILE and compares the event control with it, initial enable map included (\"Verify\n"
     "Event Control\"); the report goes to standard output.\n",
     1, 1, kNoFlags, true, RunVerifyEvents},
    {"verify-pins", "FILE", "Verify All Pins against FILE",
     "Loads FILE and compares all 32 pins with it (\"Verify All Pins\"); the report goes to standard\n"
     "output.\n",
     1, 1, kNoFlags, true, RunVerifyPins},
    {"aspect", "PIN ASPECT", "show an aspect on a pin",
     "Makes PIN show ASPECT (0..11) on the running controller (the aspect editor's \"Test\").\n", 2, 2, kNoFlags,
     true, RunAspect},
    {"servo", "PIN POSITION [--dynamic]", "move a servo",
     "Moves the servo of PIN to POSITION (-64..63; a value beyond goes to the nearest end);\n"
     "--dynamic moves it with the pin's dynamic parameters.\n",
     2, 2, kFlagDynamic, true, RunServo},
    {"pwm", "PIN LEVEL [--slow]", "set a PWM level",
     "Sets the PWM level of PIN (0..31; a value beyond goes to the nearest end); --slow fades with\n"
     "the pin's dynamic parameters.\n",
     2, 2, kFlagSlow, true, RunPwm},
    {"tamlo", "B1 B2 B3", "send a legacy message",
     "Sends the legacy message B1 B2 B3 (B1 0..63, B2 and B3 0..127) to the module address\n"
     "(\"TamloSend\"); a B1 of 64 or more would read as a controller message and is refused.\n", 3, 3, kNoFlags,
     true, RunTamlo},
    {"lamp-test", "[MODULE]", "legacy lamp test",
     "Legacy lamp test of outputs 0..31 (\"Lamp Test\") of MODULE, or of the module address.\n", 0, 1, kNoFlags,
     true, RunLampTest},
    {"clear-all", "[MODULE]", "legacy clear of all outputs",
     "Legacy clear of outputs 0..31 (\"Clear All\") of MODULE, or of the module address.\n", 0, 1, kNoFlags, true,
     RunClearAll},
    {"reset", "[MODULE]", "legacy reset",
     "Legacy reset (\"Reset\") of MODULE, or of the module address.\n", 0, 1, kNoFlags, true, RunReset},
    {"monitor", "[--count N] [--seconds S]", "the feedback monitor",
     "Polls the controller ten times a second and prints its four feedback values, one line per\n"
     "answer (the feedback monitor), until N lines came, S seconds passed or Ctrl-C. A poll\n"
     "that fails (no reply, the device gone) ends it with status 1.\n",
     0, 0, kFlagCount | kFlagSeconds, true, RunMonitor},
    {"erase", "", "erase the configuration memory",
     "Erases the controller's configuration memory (\"Erase Flash\"). Both questions are asked on\n"
     "the terminal; --yes answers them so that the erase goes ahead.\n",
     0, 0, kNoFlags, true, RunErase},
    {"scan", "[--xaddr-range A-B] [--probe-ms N]", "find every controller on the line",
     "Sends the version request to every module address (16 of them, 32 with --tunnel; with\n"
     "--xaddr-range, to each extended address from A to B of each) and prints one line per\n"
     "controller that answered, with its firmware version and identification string. Each\n"
     "address gets the wire time of request and reply plus N ms (default 50); a controller that\n"
     "answers later is listed as \"answered late\". Exit status 0 when one or more answered.\n",
     0, 0, kFlagXaddrRange | kFlagProbeMs, true, RunScan},
    {"backup", "DIR [--xaddr-range A-B] [--probe-ms N]", "scan, then Read All each controller into DIR",
     "Scans the line as 'scan' does, then reads every controller found (\"Read All\") into\n"
     "DIR/module-NN[-xXX]-ID.dat, one line per controller. DIR is created when missing. A\n"
     "controller whose read failed is reported and the others are still saved; the exit status\n"
     "is then 1.\n",
     1, 1, kFlagXaddrRange | kFlagProbeMs, true, RunBackup},
    {"verify-dir", "DIR", "Verify All each controller against its file in DIR",
     "For every file 'backup' wrote into DIR, verifies the controller at the file's module (and\n"
     "extended) address against it (\"Verify All\"); one line per controller. Exit status 1\n"
     "when any controller differs or could not be verified. Use the same numbering (--zero-based\n"
     "or not) as for the backup: the names carry the numbers as displayed.\n",
     1, 1, kNoFlags, true, RunVerifyDir},
    {"convert", "IN OUT [--compact]", "load IN, save it as OUT",
     "Loads the data file IN and saves it as OUT, normally or compactly (--compact). Needs no\n"
     "controller. Ctrl-C either comes before OUT is replaced, which is then left as it was\n"
     "(status 130), or finds the conversion complete (status 0); brixo-cli says which.\n",
     2, 2, kFlagCompact, false, RunConvert},
    {"addresses", "FILE [--csv]", "every pin's addresses, as the pin editor shows them",
     "Loads FILE and prints one line per pin: description, device, output type, aspect layout,\n"
     "initial aspect and the first basic DCC, extended DCC and serial address with their counts\n"
     "and the pin address, as the pin editor's labels show them (\"-\" for none). --module,\n"
     "--xaddr and --zero-based decide the addresses as the window's link settings do. With --csv\n"
     "the columns pin, description, device, dcc_first, dcc_count, xdcc_first, xdcc_count,\n"
     "serial_first, serial_count, pin_address follow a header line (RFC 4180, UTF-8). Needs no\n"
     "controller.\n",
     1, 1, kFlagCsv, false, RunAddresses},
    {"program", "FILE PIN ASPECT [--svg OUT]", "an aspect's program in words",
     "Loads FILE and prints ASPECT of PIN in words, one line per used step, as the device tab\n"
     "shows it (\"0: pin 2 \"Signal red\" \u2014 Off, fade, T(/60) 0\"). --svg writes its time line to\n"
     "OUT as an SVG picture. Needs no controller.\n",
     3, 3, kFlagSvg, false, RunProgram},
    {"sheet", "FILE -o OUT [--page a4|letter]", "the configuration sheet, as HTML or PDF",
     "Loads FILE and writes its configuration sheet to OUT (--output): HTML when OUT ends in .html,\n"
     "PDF when it ends in .pdf. The sheet holds the identification string, file name and date,\n"
     "the general settings and the event control in words, the pin overview with every\n"
     "address, then each pin that holds any configuration with its output parameters and\n"
     "every aspect in words and on a time line. --module, --xaddr and --zero-based decide the\n"
     "addresses as for 'addresses'; --page gives the PDF's paper, a4 (default) or letter.\n"
     "Needs no controller.\n",
     1, 1, kFlagOutput | kFlagPage, false, RunSheet},
}};

constexpr const char* kOptionsHelp =
    "Link options (the window's link settings):\n"
    "  --port DEVICE|N   a device path (/dev/ttyUSB0, a pseudo-terminal) or a number from 'ports',\n"
    "                    or a serial server: rfc2217://HOST:PORT (RFC 2217: the line's settings\n"
    "                    go with it) or socket://HOST:PORT (raw TCP: the server sets the line).\n"
    "                    scan, backup and verify-dir take several: each line at once, the output\n"
    "                    grouped by line, each backup file name led by its line\n"
    "  --simulate        use the built-in simulated controller\n"
    "  --sim-load FILE   start the simulated controller with the configuration of FILE\n"
    "  --baud RATE       9600, 19200 (default) or 38400\n"
    "  --module N        module address as displayed (default: the first, 1 or 0)\n"
    "  --zero-based      number pins and addresses from 0 (\"Start numbering at 1\" cleared)\n"
    "  --xaddr N         use extended addressing with this extended address\n"
    "  --tunnel          talk through a Quendal interface unit (tunnelling handshake first)\n"
    "  --transparent     switch a Kesta, Vulmo or Sarpa into transparent mode first\n"
    "  --no-bidir        start with \"Bidirectional Comm.\" unchecked\n"
    "  --log FILE|-      append the communication log to FILE, - for standard error\n"
    "  --yes             go ahead without asking (erase, transparent mode)\n"
    "  --help            this text; COMMAND --help for one command\n"
    "  --version         the version of brixo-cli (the command version reads the controller's)\n";

constexpr const char* kExitHelp =
    "Exit status: 0 success (verifications: \"Verify OK\"), 1 controller exchange or verification\n"
    "failed, 2 bad usage, unreadable file or unusable port, 130 stopped by Ctrl-C or SIGTERM. An\n"
    "operation ends at its first link failure, or after the exchange in flight when stopped,\n"
    "and tells how far it got; a stopped read saves no file.\n";

int EarlyUsageError(const std::string& text) {
  std::fprintf(stderr, "brixo-cli: %s\nTry 'brixo-cli --help'.\n", text.c_str());
  return kExitUsage;
}

std::string FlagName(unsigned flag) {
  switch (flag) {
    case kFlagCompact: return "--compact";
    case kFlagDynamic: return "--dynamic";
    case kFlagSlow: return "--slow";
    case kFlagCount: return "--count";
    case kFlagSeconds: return "--seconds";
    case kFlagXaddrRange: return "--xaddr-range";
    case kFlagProbeMs: return "--probe-ms";
    case kFlagChangedOnly: return "--changed-only";
    case kFlagCsv: return "--csv";
    case kFlagSvg: return "--svg";
    case kFlagOutput: return "-o";
    case kFlagPage: return "--page";
    default: return "?";
  }
}

int CheckCommandLine(const CliCommand& command, const CliOptions& options) {
  const int count = static_cast<int>(options.Arguments.size());
  if (count < command.MinArguments || count > command.MaxArguments)
    return EarlyUsageError(std::string("usage: brixo-cli [options] ") + command.Name + " " + command.Arguments);
  for (unsigned flag = 1; flag <= kLastFlag; flag <<= 1) {
    if ((options.FlagsGiven & flag) && !(command.Flags & flag))
      return EarlyUsageError(FlagName(flag) + " does not apply to " + command.Name);
  }
  return kExitOk;
}

// Only a PDF is painted, and only painting needs fonts and so the GUI application object.
bool PaintsPages(const CliCommand& command, const CliOptions& options) {
  return std::string(command.Name) == "sheet" && SheetFormatOf(options.OutputPath) == SheetFormat::Pdf;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::span<const CliCommand> CliCommands() { return kCommands; }

bool TalksToController(const CliCommand& command, const CliOptions& options) {
  // Two files are compared with each other.
  return command.NeedsController && !(std::string(command.Name) == "diff" && options.Arguments.size() == 2);
}

const CliCommand* FindCliCommand(const std::string& name) {
  for (const CliCommand& command : kCommands) {
    if (name == command.Name) return &command;
  }
  return nullptr;
}

std::string CliUsage() {
  std::string text =
      "usage: brixo-cli [options] COMMAND [arguments]\n"
      "Reads, writes, verifies and tests a Brixo controller, as BrixoConfig does.\n\n";
  text += kOptionsHelp;
  text += "\nCommands:\n";
  for (const CliCommand& command : kCommands) {
    std::string synopsis = std::string("  ") + command.Name + " " + command.Arguments;
    // A synopsis too long for the column puts its summary on a line of its own.
    if (synopsis.size() >= 38) synopsis += "\n";
    synopsis.resize(synopsis.size() < 38 ? 38 : synopsis.size() + 38, ' ');
    text += synopsis + command.Summary + "\n";
  }
  text += "\nPins and module addresses are given and printed as displayed: from 1, or from 0 with\n"
          "--zero-based.\n";
  text += kExitHelp;
  return text;
}

std::string CliCommandUsage(const CliCommand& command) {
  return std::string("usage: brixo-cli [options] ") + command.Name + " " + command.Arguments + "\n" + command.Help +
         "\n" + kOptionsHelp + kExitHelp;
}

int RunCli(const std::vector<std::string>& args) {
  CliOptions options;
  std::string error;
  if (!ParseCommandLine(args, options, error)) return EarlyUsageError(error);
  const CliCommand* command = nullptr;
  if (!options.Command.empty() && (command = FindCliCommand(options.Command)) == nullptr)
    return EarlyUsageError("unknown command " + options.Command);
  if (options.Help) {
    std::fputs(command ? CliCommandUsage(*command).c_str() : CliUsage().c_str(), stdout);
    return kExitOk;
  }
  if (options.Version) {
    std::printf("brixo-cli %s\n", kProgramVersion);
    return kExitOk;
  }
  if (command == nullptr) return EarlyUsageError("no command given");
  if (int status = CheckCommandLine(*command, options)) return status;

  QtRuntime qt(PaintsPages(*command, options));
  if (options.Ports.size() > 1) return RunOnLines(*command, options);

  StatusLine status(isatty(STDERR_FILENO) == 1);
  std::unique_ptr<std::FILE, FileCloser> logFile;
  if (!options.LogPath.empty() && options.LogPath != "-") {
    logFile.reset(std::fopen(options.LogPath.c_str(), "a"));
    if (!logFile) return EarlyUsageError("cannot open log file " + options.LogPath);
  }
  std::optional<SignalsStop> stopOnSignals;
  const LineSetup setup{status, isatty(STDIN_FILENO) == 1, logFile.get(), "", "",
                        [&stopOnSignals](CancellationToken* token) {
                          if (token != nullptr) stopOnSignals.emplace(*token);
                          else stopOnSignals.reset();
                        }};
  return RunOnOneLine(*command, options, setup);
}

}  // namespace brixo
