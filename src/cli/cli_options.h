#pragma once
// The command line of brixo-cli: the link options the window offers as controls, the
// command and its arguments and flags.
#include <optional>
#include <string>
#include <vector>

#include "files/sheet_document.h"

namespace brixo {

// Flags that only some commands take.
enum CommandFlag : unsigned {
  kFlagCompact = 1u << 0,
  kFlagDynamic = 1u << 1,
  kFlagSlow = 1u << 2,
  kFlagCount = 1u << 3,
  kFlagSeconds = 1u << 4,
  kFlagXaddrRange = 1u << 5,
  kFlagProbeMs = 1u << 6,
  kFlagChangedOnly = 1u << 7,
  kFlagCsv = 1u << 8,
  kFlagSvg = 1u << 9,
  kFlagOutput = 1u << 10,
  kFlagPage = 1u << 11,
  kLastFlag = kFlagPage,
};

struct CliOptions {
  std::string Port;  // --port: a device path, a network port URL or a number of the port list
  // Every --port given, in order (Port is the first): scan, backup and verify-dir work
  // several lines at once.
  std::vector<std::string> Ports;
  bool Simulate = false;
  std::string SimLoad;
  int Baud = 19200;
  std::optional<int> Module;           // as displayed
  bool ZeroBased = false;
  std::optional<int> ExtendedAddress;  // --xaddr, as displayed
  bool Tunnel = false;
  bool Transparent = false;
  bool NoBidir = false;
  std::string LogPath;  // "-" = standard error
  bool Yes = false;
  bool Help = false;
  bool Version = false;  // --version: the program's own version, not the controller's

  std::string Command;
  std::vector<std::string> Arguments;
  unsigned FlagsGiven = 0;  // CommandFlag bits
  bool Compact = false;
  bool Dynamic = false;
  bool Slow = false;
  bool ChangedOnly = false;  // write-all --changed-only
  bool Csv = false;          // addresses --csv
  std::string SvgPath;       // program --svg OUT
  std::string OutputPath;    // sheet -o OUT
  SheetPageSize PageSize = SheetPageSize::A4;  // sheet --page
  std::optional<int> Count;
  std::optional<double> Seconds;
  // --xaddr-range A-B, as displayed.
  struct Range {
    int First = 0;
    int Last = 0;
  };
  std::optional<Range> XaddrRange;
  std::optional<int> ProbeMs;  // --probe-ms: the scan's margin beyond the wire time
};

// Reads the arguments (program name excluded). Options may stand before or after the
// command; "--" ends them. False with the reason in error.
bool ParseCommandLine(const std::vector<std::string>& args, CliOptions& options, std::string& error);

// A whole decimal integer, optionally signed, and nothing else.
bool ParseWholeNumber(const std::string& text, int& value);
// True when --port names a number of the port list rather than a device.
bool IsPortNumber(const std::string& port);
// Index of the "Bitrate" option for a bit rate: 0 for 9600, 1 for 19200, 2 for 38400.
int BitRateOption(int baud);

}  // namespace brixo
