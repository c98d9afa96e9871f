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
}  // namespace

std::string SimUsage() {
  return "usage: brixo-sim [--baud 9600|19200|38400] [--pace] [--module N] [--host]\n"
         "                 [--protocol V] [--unit-type T] [--unit-version V] [--no-events]\n"
         "                 [--quiet] [--ignore-stdin]\n";
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
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
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
  return true;
}

}  // namespace brixo
