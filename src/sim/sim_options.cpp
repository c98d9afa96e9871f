#include "sim/sim_options.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace brixo {

namespace {

bool ParseInt(const std::string& text, int low, int high, int& out) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || value < low || value > high) return false;
  out = value;
  return true;
}

bool ParseSeconds(const std::string& text, double high, double& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(value) || value < 0 || value > high) return false;
  out = value;
  return true;
}

// One option: its name, the placeholder of its value (none for a switch), its help line
// and what it does. Applying returns false for a value that does not fit.
struct SimOption {
  const char* Name;
  const char* Value;
  const char* Help;
  bool (*Apply)(SimOptions& o, const std::string& value);
};

// Keep the table in the order the help text shows it.
constexpr SimOption kOptions[] = {
    {"--baud", "N", "bit rate: 9600, 19200 (default) or 38400",
     [](SimOptions& o, const std::string& v) {
       return ParseInt(v, 9600, 38400, o.Baud) && (o.Baud == 9600 || o.Baud == 19200 || o.Baud == 38400);
     }},
    {"--pace", nullptr, "deliver bytes at the line's real speed (11 bits a byte)",
     [](SimOptions& o, const std::string&) { return o.Pace = true; }},
    {"--module", "N", "the controller's module address, 0..31 (default 0)",
     [](SimOptions& o, const std::string& v) { return ParseInt(v, 0, 31, o.Module); }},
    {"--host", nullptr, "a Quendal interface unit in front of the controller",
     [](SimOptions& o, const std::string&) { return o.Host = true; }},
    {"--protocol", "V", "the interface unit's host protocol version (default 3200)",
     [](SimOptions& o, const std::string& v) { return ParseInt(v, 0, 15999, o.Protocol); }},
    {"--unit-type", "T", "the interface unit's type: 2 Kesta (default), 3 Vulmo, 10 Sarpa",
     [](SimOptions& o, const std::string& v) { return ParseInt(v, 0, 127, o.UnitType); }},
    {"--unit-version", "V", "the interface unit's firmware version (default 1020)",
     [](SimOptions& o, const std::string& v) { return ParseInt(v, 0, 15999, o.UnitVersion); }},
    {"--no-events", nullptr, "a controller without event control",
     [](SimOptions& o, const std::string&) { return o.Faults.NoEventControl = true; }},
    {"--quiet", nullptr, "no byte log on standard error",
     [](SimOptions& o, const std::string&) { return o.Quiet = true; }},
    {"--ignore-stdin", nullptr, "keep serving when standard input ends",
     [](SimOptions& o, const std::string&) { return o.IgnoreStdin = true; }},
    {"--help", nullptr, "this text", [](SimOptions& o, const std::string&) { return o.Help = true; }},
    // Faults, so that anyone can rehearse them against the real program.
    {"--no-reply", nullptr, "fault: carry out every frame but answer none",
     [](SimOptions& o, const std::string&) { return o.Faults.NoReply = true; }},
    {"--wrong-check-byte", nullptr, "fault: every reply's check byte is off by one",
     [](SimOptions& o, const std::string&) { return o.Faults.WrongCheckByte = true; }},
    {"--wrong-alternation-bit", nullptr, "fault: replies lack (or add) the request's alternation bit",
     [](SimOptions& o, const std::string&) { return o.Faults.WrongAlternationBit = true; }},
    {"--stray-bytes", "N", "fault: N bytes of noise (0..15) ahead of every reply",
     [](SimOptions& o, const std::string& v) { return ParseInt(v, 0, 15, o.Faults.StrayBytes); }},
    {"--delay", "SECONDS", "fault: every reply comes this late (0..60; the tool waits 2 s)",
     [](SimOptions& o, const std::string& v) { return ParseSeconds(v, 60.0, o.Faults.ReplyDelaySeconds); }},
    {"--lose-frame", "N", "fault: frame N+1 is lost, neither carried out nor answered",
     [](SimOptions& o, const std::string& v) { return ParseInt(v, 0, 1000000, o.Faults.FailAfterFrames); }},
    {"--fail-after", "N", "fault: from frame N+1 on nothing is carried out or answered",
     [](SimOptions& o, const std::string& v) { return ParseInt(v, 0, 1000000, o.Faults.SilentAfterFrames); }},
    {"--gone-after", "N", "fault: at frame N+1 the device goes away (the device closes)",
     [](SimOptions& o, const std::string& v) { return ParseInt(v, 0, 1000000, o.Faults.GoneAfterFrames); }},
    {"--wrong-xaddr", nullptr, "fault: replies carry another extended address",
     [](SimOptions& o, const std::string&) { return o.Faults.WrongExtendedByte = true; }},
    {"--missing-xaddr", nullptr, "fault: extended requests are answered without it",
     [](SimOptions& o, const std::string&) { return o.Faults.MissingExtendedByte = true; }},
    {"--unexpected-xaddr", nullptr, "fault: plain requests are answered with an extended address",
     [](SimOptions& o, const std::string&) { return o.Faults.UnexpectedExtendedByte = true; }},
};

std::string Synopsis(const SimOption& option) {
  std::string text = option.Name;
  if (option.Value) text += std::string(" ") + option.Value;
  return text;
}

}  // namespace

std::string SimUsage() { return "usage: brixo-sim [options]   (brixo-sim --help lists them)\n"; }

std::string SimHelp() {
  std::string text =
      "usage: brixo-sim [options]\n"
      "A simulated Brixo controller (optionally behind a Quendal interface unit) on a\n"
      "pseudo-terminal. The first line of standard output is the device to open; it serves\n"
      "until stopped or until its standard input ends. Frames are counted from the first one\n"
      "addressed to the controller.\n\n"
      "Options:\n";
  for (const SimOption& option : kOptions) {
    std::string line = "  " + Synopsis(option);
    line.resize(std::max<size_t>(line.size() + 2, 27), ' ');
    text += line + option.Help + "\n";
  }
  return text;
}

bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const SimOption* match = nullptr;
    for (const SimOption& option : kOptions) {
      if (args[i] == option.Name) match = &option;
    }
    if (!match) {
      error = "unknown option " + args[i];
      return false;
    }
    std::string value;
    if (match->Value) {
      if (i + 1 >= args.size()) {
        error = std::string("bad value for ") + match->Name;
        return false;
      }
      value = args[++i];
    }
    if (!match->Apply(options, value)) {
      error = std::string("bad value for ") + match->Name;
      return false;
    }
  }
  return true;
}

}  // namespace brixo
