#include "cli/cli_options.h"

#include <cmath>
#include <cstdlib>
#include <optional>

#include "link/numeric_text.h"

namespace brixo {

namespace {

constexpr int kBitRates[] = {9600, 19200, 38400};

bool ParsePositiveSeconds(const std::string& text, double& value) {
  const std::optional<double> parsed = ParseRealNumber(text);
  if (!parsed || !std::isfinite(*parsed) || *parsed <= 0) return false;
  value = *parsed;
  return true;
}

// A leading "-" followed by a digit is a negative number (a servo position), not an option.
bool LooksLikeOption(const std::string& arg) {
  return arg.size() > 1 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9');
}

struct Parser {
  const std::vector<std::string>& args;
  CliOptions& o;
  std::string& error;
  size_t i = 0;

  bool Value(const std::string& name, std::string& out) {
    if (i + 1 >= args.size()) {
      error = "option " + name + " needs a value";
      return false;
    }
    out = args[++i];
    return true;
  }

  bool Whole(const std::string& name, std::optional<int>& out, int minimum) {
    std::string text;
    if (!Value(name, text)) return false;
    int value = 0;
    if (!ParseWholeNumber(text, value) || value < minimum) {
      error = "bad value for " + name + ": " + text;
      return false;
    }
    out = value;
    return true;
  }

  bool Option(const std::string& arg) {
    if (arg == "--help" || arg == "-h") return o.Help = true;
    if (arg == "--version") return o.Version = true;
    if (arg == "--simulate") return o.Simulate = true;
    if (arg == "--zero-based") return o.ZeroBased = true;
    if (arg == "--tunnel") return o.Tunnel = true;
    if (arg == "--transparent") return o.Transparent = true;
    if (arg == "--no-bidir") return o.NoBidir = true;
    if (arg == "--yes") return o.Yes = true;
    if (arg == "--port") {
      std::string port;
      if (!Value(arg, port)) return false;
      o.Ports.push_back(port);
      o.Port = o.Ports.front();
      return true;
    }
    if (arg == "--sim-load") return Value(arg, o.SimLoad);
    if (arg == "--log") return Value(arg, o.LogPath);
    if (arg == "--module") return Whole(arg, o.Module, 0);
    if (arg == "--xaddr") return Whole(arg, o.ExtendedAddress, 0);
    if (arg == "--baud") {
      std::optional<int> baud;
      if (!Whole(arg, baud, 0)) return false;
      if (BitRateOption(*baud) < 0) {
        error = "bad value for --baud: " + std::to_string(*baud) + " (9600, 19200 or 38400)";
        return false;
      }
      o.Baud = *baud;
      return true;
    }
    if (arg == "--compact") return Flag(kFlagCompact, o.Compact);
    if (arg == "--dynamic") return Flag(kFlagDynamic, o.Dynamic);
    if (arg == "--slow") return Flag(kFlagSlow, o.Slow);
    if (arg == "--changed-only") return Flag(kFlagChangedOnly, o.ChangedOnly);
    if (arg == "--csv") return Flag(kFlagCsv, o.Csv);
    if (arg == "--svg") {
      o.FlagsGiven |= kFlagSvg;
      return Value(arg, o.SvgPath);
    }
    if (arg == "-o" || arg == "--output") {
      o.FlagsGiven |= kFlagOutput;
      return Value(arg, o.OutputPath);
    }
    if (arg == "--page") {
      o.FlagsGiven |= kFlagPage;
      std::string size;
      if (!Value(arg, size)) return false;
      if (size != "a4" && size != "letter") {
        error = "bad value for --page: " + size + " (a4 or letter)";
        return false;
      }
      o.PageSize = size == "letter" ? SheetPageSize::Letter : SheetPageSize::A4;
      return true;
    }
    if (arg == "--count") {
      o.FlagsGiven |= kFlagCount;
      return Whole(arg, o.Count, 1);
    }
    if (arg == "--seconds") {
      o.FlagsGiven |= kFlagSeconds;
      std::string text;
      double seconds = 0;
      if (!Value(arg, text)) return false;
      if (!ParsePositiveSeconds(text, seconds)) {
        error = "bad value for --seconds: " + text;
        return false;
      }
      o.Seconds = seconds;
      return true;
    }
    if (arg == "--xaddr-range") {
      o.FlagsGiven |= kFlagXaddrRange;
      return XaddrRange(arg);
    }
    if (arg == "--probe-ms") {
      o.FlagsGiven |= kFlagProbeMs;
      return Whole(arg, o.ProbeMs, 0);
    }
    error = "unknown option " + arg;
    return false;
  }

  // "A-B" with A <= B; the limits depend on the numbering and are checked by the command.
  bool XaddrRange(const std::string& name) {
    std::string text;
    if (!Value(name, text)) return false;
    const size_t dash = text.find('-', 1);
    CliOptions::Range range;
    if (dash == std::string::npos || !ParseWholeNumber(text.substr(0, dash), range.First) ||
        !ParseWholeNumber(text.substr(dash + 1), range.Last) || range.First < 0 || range.First > range.Last) {
      error = "bad value for " + name + ": " + text + " (FIRST-LAST)";
      return false;
    }
    o.XaddrRange = range;
    return true;
  }

  bool Flag(CommandFlag flag, bool& target) {
    o.FlagsGiven |= flag;
    return target = true;
  }

  void Positional(const std::string& arg) {
    if (o.Command.empty())
      o.Command = arg;
    else
      o.Arguments.push_back(arg);
  }

  bool Run() {
    bool optionsEnded = false;
    for (i = 0; i < args.size(); ++i) {
      const std::string& arg = args[i];
      if (!optionsEnded && arg == "--") {
        optionsEnded = true;
      } else if (!optionsEnded && LooksLikeOption(arg)) {
        if (!Option(arg)) return false;
      } else {
        Positional(arg);
      }
    }
    return true;
  }
};

}  // namespace

bool ParseWholeNumber(const std::string& text, int& value) {
  const std::optional<long> parsed = ParseWholeNumber(std::string_view(text));
  if (!parsed || *parsed < -1000000000L || *parsed > 1000000000L) return false;
  value = static_cast<int>(*parsed);
  return true;
}

bool IsPortNumber(const std::string& port) {
  int number = 0;
  return ParseWholeNumber(port, number) && port[0] != '-' && port[0] != '+' && number > 0;
}

int BitRateOption(int baud) {
  for (int index = 0; index < 3; ++index) {
    if (kBitRates[index] == baud) return index;
  }
  return -1;
}

bool ParseCommandLine(const std::vector<std::string>& args, CliOptions& options, std::string& error) {
  Parser parser{args, options, error};
  return parser.Run();
}

}  // namespace brixo
