#include "sim/sim_options.h"

#include <charconv>

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
}  // namespace

bool ParseControllerList(const std::string& text, std::vector<SimLineController>& out, std::string& error) {
  out.clear();
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    SimLineController entry;
    const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (!ParseControllerItem(item, entry)) {
      error = "bad controller in --modules: \"" + item + "\" (MODULE or MODULE:XADDR, 0..31 and 0..95)";
      return false;
    }
    for (const SimLineController& other : out) {
      if (SameIdentity(other, entry)) {
        error = "two controllers answer as " + item + " in --modules";
        return false;
      }
    }
    out.push_back(entry);
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

std::vector<SimLineController> LineControllers(const SimOptions& options) {
  if (!options.Controllers.empty()) return options.Controllers;
  SimLineController single;
  single.Module = options.Module;
  return {single};
}

std::string SimUsage() {
  return "usage: brixo-sim [--baud 9600|19200|38400] [--pace] [--module N] [--host]\n"
         "                 [--protocol V] [--unit-type T] [--unit-version V] [--no-events]\n"
         "                 [--quiet] [--ignore-stdin]\n"
         "                 [--modules M[:X],...] [--load [M[:X]=]FILE]...\n";
}

bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error) {
  struct Numeric {
    const char* name;
    int* target;
    int low;
    int high;
  };
  const Numeric numerics[] = {
      {"--baud", &options.Baud, 9600, 38400},
      {"--module", &options.Module, 0, 31},
      {"--protocol", &options.Protocol, 0, 15999},
      {"--unit-type", &options.UnitType, 0, 127},
      {"--unit-version", &options.UnitVersion, 0, 15999},
  };
  std::vector<std::string> loads;
  // Options that take text: the line's controllers and their start-up files.
  struct Listed {
    const char* name;
    bool (*take)(const std::string& value, SimOptions& options, std::vector<std::string>& loads, std::string& error);
  };
  const Listed listed[] = {
      {"--modules", [](const std::string& v, SimOptions& o, std::vector<std::string>&, std::string& e) {
         return ParseControllerList(v, o.Controllers, e);
       }},
      {"--load", [](const std::string& v, SimOptions&, std::vector<std::string>& l, std::string&) {
         l.push_back(v);
         return true;
       }},
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const Listed* list = nullptr;
    for (const Listed& l : listed) {
      if (arg == l.name) list = &l;
    }
    if (list) {
      if (i + 1 >= args.size()) {
        error = std::string("option ") + list->name + " needs a value";
        return false;
      }
      if (!list->take(args[++i], options, loads, error)) return false;
      continue;
    }
    if (arg == "--pace") { options.Pace = true; continue; }
    if (arg == "--host") { options.Host = true; continue; }
    if (arg == "--no-events") { options.NoEvents = true; continue; }
    if (arg == "--quiet") { options.Quiet = true; continue; }
    if (arg == "--ignore-stdin") { options.IgnoreStdin = true; continue; }
    const Numeric* match = nullptr;
    for (const Numeric& n : numerics) {
      if (arg == n.name) match = &n;
    }
    if (!match) {
      error = "unknown option " + arg;
      return false;
    }
    if (i + 1 >= args.size() || !ParseInt(args[i + 1], match->low, match->high, *match->target)) {
      error = std::string("bad value for ") + match->name;
      return false;
    }
    ++i;
  }
  if (options.Baud != 9600 && options.Baud != 19200 && options.Baud != 38400) {
    error = "bad value for --baud";
    return false;
  }
  if (!loads.empty() && options.Controllers.empty()) options.Controllers = LineControllers(options);
  for (const std::string& load : loads) {
    if (!AttachLoad(load, options.Controllers, error)) return false;
  }
  return true;
}

}  // namespace brixo
