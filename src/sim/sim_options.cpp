#include "sim/sim_options.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "link/numeric_text.h"

namespace brixo {

namespace {

bool ParseInt(const std::string& text, int low, int high, int& out) {
  const std::optional<long> value = ParseWholeNumber(text);
  if (!value || *value < low || *value > high) return false;
  out = static_cast<int>(*value);
  return true;
}

bool ParseSeconds(const std::string& text, double high, double& out) {
  const std::optional<double> value = ParseRealNumber(text);
  if (!value || *value < 0 || *value > high) return false;
  out = *value;
  return true;
}

constexpr int kHighestModule = 31;
constexpr int kHighestExtended = 95;

bool ParseControllerItem(const std::string& item, SimLineController& entry) {
  const size_t colon = item.find(':');
  int extended = 0;
  if (!ParseInt(item.substr(0, colon), 0, kHighestModule, entry.Module)) return false;
  if (colon == std::string::npos) return true;
  if (!ParseInt(item.substr(colon + 1), 0, kHighestExtended, extended)) return false;
  entry.Extended = extended;
  return true;
}

bool SameIdentity(const SimLineController& a, const SimLineController& b) {
  return a.Module == b.Module && a.Extended.value_or(0) == b.Extended.value_or(0);
}

// "5" in --faulty names every controller at module 5; "5:12" only the one answering 12.
bool Names(const SimLineController& given, const SimLineController& controller) {
  return given.Module == controller.Module &&
         (!given.Extended || *given.Extended == controller.Extended.value_or(0));
}

// "--load FILE" is for the first controller; "--load 5:12=FILE" for the one given so in
// --modules.
bool AttachLoad(const std::string& text, std::vector<SimLineController>& controllers, std::string& error) {
  SimLineController target;
  std::string path = text;
  bool named = false;
  if (const size_t eq = text.find('='); eq != std::string::npos && ParseControllerItem(text.substr(0, eq), target)) {
    path = text.substr(eq + 1);
    named = true;
  }
  for (SimLineController& c : controllers) {
    if (!named || SameIdentity(c, target)) {
      c.LoadPath = path;
      return true;
    }
  }
  error = "--load names no controller of --modules: " + text;
  return false;
}

// One option: its name, the placeholder of its value (none for a switch), its help line
// and what it does. Applying returns false for a value that does not fit, saying why in
// error when "bad value for" the option would not tell enough.
struct SimOption {
  const char* Name;
  const char* Value;
  const char* Help;
  bool (*Apply)(SimOptions& o, const std::string& value, std::string& error);
};

// Keep the table in the order the help text shows it.
constexpr SimOption kOptions[] = {
    {"--baud", "N", "bit rate: 9600, 19200 (default) or 38400",
     [](SimOptions& o, const std::string& v, std::string&) {
       return ParseInt(v, 9600, 38400, o.Baud) && (o.Baud == 9600 || o.Baud == 19200 || o.Baud == 38400);
     }},
    {"--pace", nullptr, "deliver bytes at the line's real speed (11 bits a byte)",
     [](SimOptions& o, const std::string&, std::string&) { return o.Pace = true; }},
    {"--latency-timer", "MS", "hold replies back as a USB adapter with this latency timer does (1..255 ms)",
     [](SimOptions& o, const std::string& v, std::string&) { return ParseInt(v, 1, 255, o.LatencyTimerMs); }},
    {"--byte-count", "FILE", "when it ends, write the bytes it received and sent (\"IN OUT\") to FILE",
     [](SimOptions& o, const std::string& v, std::string&) { return !(o.ByteCountPath = v).empty(); }},
    {"--module", "N", "the controller's module address, 0..31 (default 0)",
     [](SimOptions& o, const std::string& v, std::string&) { return ParseInt(v, 0, 31, o.Module); }},
    {"--host", nullptr, "a Quendal interface unit in front of the controller",
     [](SimOptions& o, const std::string&, std::string&) { return o.Host = true; }},
    {"--protocol", "V", "the interface unit's host protocol version (default 3200)",
     [](SimOptions& o, const std::string& v, std::string&) { return ParseInt(v, 0, 15999, o.Protocol); }},
    {"--unit-type", "T", "the interface unit's type: 2 Kesta (default), 3 Vulmo, 10 Sarpa",
     [](SimOptions& o, const std::string& v, std::string&) { return ParseInt(v, 0, 127, o.UnitType); }},
    {"--unit-version", "V", "the interface unit's firmware version (default 1020)",
     [](SimOptions& o, const std::string& v, std::string&) { return ParseInt(v, 0, 15999, o.UnitVersion); }},
    {"--no-events", nullptr, "a controller without event control",
     [](SimOptions& o, const std::string&, std::string&) { return o.Faults.NoEventControl = true; }},
    {"--quiet", nullptr, "no byte log on standard error",
     [](SimOptions& o, const std::string&, std::string&) { return o.Quiet = true; }},
    {"--ignore-stdin", nullptr, "keep serving when standard input ends",
     [](SimOptions& o, const std::string&, std::string&) { return o.IgnoreStdin = true; }},
    {"--modules", "LIST", "controllers on the line, MODULE[:XADDR] each (1,5:12,9)",
     [](SimOptions& o, const std::string& v, std::string& e) { return ParseControllerList(v, o.Controllers, e); }},
    {"--load", "FILE", "start with this data file; M[:X]=FILE for one of --modules",
     [](SimOptions& o, const std::string& v, std::string&) {
       o.Loads.push_back(v);
       return true;
     }},
    {"--help", nullptr, "this text", [](SimOptions& o, const std::string&, std::string&) { return o.Help = true; }},
    {"--version", nullptr, "the version of brixo-sim",
     [](SimOptions& o, const std::string&, std::string&) { return o.Version = true; }},
    // Faults, so that anyone can rehearse them against the real program.
    {"--faulty", "LIST", "only these of --modules show the faults and --no-events",
     [](SimOptions& o, const std::string& v, std::string& e) { return ParseControllerList(v, o.Faulty, e); }},
    {"--no-reply", nullptr, "fault: carry out every frame but answer none",
     [](SimOptions& o, const std::string&, std::string&) { return o.Faults.NoReply = true; }},
    {"--wrong-check-byte", nullptr, "fault: every reply's check byte is off by one",
     [](SimOptions& o, const std::string&, std::string&) { return o.Faults.WrongCheckByte = true; }},
    {"--wrong-alternation-bit", nullptr, "fault: replies lack (or add) the request's alternation bit",
     [](SimOptions& o, const std::string&, std::string&) { return o.Faults.WrongAlternationBit = true; }},
    {"--stray-bytes", "N", "fault: N bytes of noise (0..15) ahead of every reply",
     [](SimOptions& o, const std::string& v, std::string&) { return ParseInt(v, 0, 15, o.Faults.StrayBytes); }},
    {"--delay", "SECONDS", "fault: every reply comes this late (0..60; the tool waits 2 s)",
     [](SimOptions& o, const std::string& v, std::string&) { return ParseSeconds(v, 60.0, o.Faults.ReplyDelaySeconds); }},
    {"--lose-frame", "N", "fault: frame N+1 is lost, neither carried out nor answered",
     [](SimOptions& o, const std::string& v, std::string&) { return ParseInt(v, 0, 1000000, o.Faults.FailAfterFrames); }},
    {"--fail-after", "N", "fault: from frame N+1 on nothing is carried out or answered",
     [](SimOptions& o, const std::string& v, std::string&) { return ParseInt(v, 0, 1000000, o.Faults.SilentAfterFrames); }},
    {"--gone-after", "N", "fault: at frame N+1 the device goes away (the device closes)",
     [](SimOptions& o, const std::string& v, std::string&) { return ParseInt(v, 0, 1000000, o.Faults.GoneAfterFrames); }},
    {"--wrong-xaddr", nullptr, "fault: replies carry another extended address",
     [](SimOptions& o, const std::string&, std::string&) { return o.Faults.WrongExtendedByte = true; }},
    {"--missing-xaddr", nullptr, "fault: extended requests are answered without it",
     [](SimOptions& o, const std::string&, std::string&) { return o.Faults.MissingExtendedByte = true; }},
    {"--unexpected-xaddr", nullptr, "fault: plain requests are answered with an extended address",
     [](SimOptions& o, const std::string&, std::string&) { return o.Faults.UnexpectedExtendedByte = true; }},
};

std::string Synopsis(const SimOption& option) {
  std::string text = option.Name;
  if (option.Value) text += std::string(" ") + option.Value;
  return text;
}

}  // namespace

bool ParseControllerList(const std::string& text, std::vector<SimLineController>& out, std::string& error) {
  out.clear();
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    SimLineController entry;
    const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (!ParseControllerItem(item, entry)) {
      error = "\"" + item + "\" is no controller (MODULE or MODULE:XADDR, 0..31 and 0..95)";
      return false;
    }
    for (const SimLineController& other : out) {
      if (SameIdentity(other, entry)) {
        error = "two controllers answer as " + item;
        return false;
      }
    }
    out.push_back(entry);
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

std::vector<SimLineController> LineControllers(const SimOptions& options) {
  std::vector<SimLineController> line = options.Controllers;
  if (line.empty()) line.emplace_back().Module = options.Module;
  for (SimLineController& c : line) {
    const bool faulty = options.Faulty.empty() || std::any_of(options.Faulty.begin(), options.Faulty.end(),
                                                              [&](const SimLineController& f) { return Names(f, c); });
    c.Faults = faulty ? options.Faults : SimFaults{};
  }
  return line;
}

std::string SimUsage() { return "usage: brixo-sim [options]   (brixo-sim --help lists them)\n"; }

std::string SimHelp() {
  std::string text =
      "usage: brixo-sim [options]\n"
      "Simulated Brixo controllers (one, or several with --modules; optionally behind a\n"
      "Quendal interface unit) on a pseudo-terminal. The first line of standard output is\n"
      "the device to open; it serves until stopped or until its standard input ends.\n"
      "Each controller counts its own frames, from the first one addressed to it; when one\n"
      "of them goes away (--gone-after), the whole device goes with it.\n\n"
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
    error.clear();
    if (!match->Apply(options, value, error)) {
      error = std::string("bad value for ") + match->Name + (error.empty() ? "" : ": " + error);
      return false;
    }
  }
  if (!options.Loads.empty() && options.Controllers.empty()) options.Controllers = LineControllers(options);
  for (const std::string& load : options.Loads) {
    if (!AttachLoad(load, options.Controllers, error)) return false;
  }
  const std::vector<SimLineController> line = LineControllers(options);
  for (const SimLineController& faulty : options.Faulty) {
    if (std::none_of(line.begin(), line.end(), [&](const SimLineController& c) { return Names(faulty, c); })) {
      error = "--faulty names no controller of --modules: " + std::to_string(faulty.Module) +
              (faulty.Extended ? ":" + std::to_string(*faulty.Extended) : "");
      return false;
    }
  }
  return true;
}

}  // namespace brixo
