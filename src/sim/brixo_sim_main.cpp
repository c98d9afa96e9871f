// brixo-sim: simulated controllers (one, or several on one line; optionally behind an
// interface unit) on a pseudo-terminal. The first line of standard output is the device
// path to open.
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "app/program_version.h"
#include "app/simulated_line.h"
#include "link/clock.h"
#include "sim/pty_server.h"
#include "sim/sim_options.h"
#include "sim/sim_serial_port.h"

namespace {
// A start-up file that cannot be used is told on standard error.
class ErrorOutputPrompt final : public brixo::UserPrompt {
 public:
  brixo::MessageAnswer ShowMessage(const std::string& text, brixo::MessageIcon, brixo::MessageButtons) override {
    std::fprintf(stderr, "brixo-sim: %s\n", text.c_str());
    return brixo::MessageAnswer::Ok;
  }
};
}  // namespace

int main(int argc, char** argv) {
  using namespace brixo;
  std::signal(SIGPIPE, SIG_IGN);
  SimOptions options;
  std::string error;
  if (!ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    std::fprintf(stderr, "brixo-sim: %s\n%s", error.c_str(), SimUsage().c_str());
    return 2;
  }
  if (options.Help) {
    std::fputs(SimHelp().c_str(), stdout);
    return 0;
  }
  if (options.Version) {
    std::printf("brixo-sim %s\n", kProgramVersion);
    return 0;
  }

  SteadyClock clock;
  SimSerialPort line(clock);
  ErrorOutputPrompt prompt;
  if (!SetUpSimulatedControllers(line, LineControllers(options), clock, prompt)) return 1;
  line.SetHostAttached(options.Host);
  InterfaceUnitConfig& unit = line.Host().Config();
  unit.ProtocolVersion = options.Protocol;
  unit.UnitType = options.UnitType;
  unit.UnitVersion = options.UnitVersion;

  PtyServerOptions serverOptions;
  serverOptions.Baud = options.Baud;
  serverOptions.Pace = options.Pace;
  serverOptions.LatencyTimerMs = options.LatencyTimerMs;
  serverOptions.Quiet = options.Quiet;
  serverOptions.WatchStdin = !options.IgnoreStdin;
  PtyServer server(line, serverOptions);
  if (!server.Open(error)) {
    std::fprintf(stderr, "brixo-sim: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s\n", server.DevicePath().c_str());
  std::fflush(stdout);
  const int status = server.Serve();
  if (!options.ByteCountPath.empty()) {
    if (std::FILE* out = std::fopen(options.ByteCountPath.c_str(), "w")) {
      std::fprintf(out, "%lld %lld\n", server.BytesReceived(), server.BytesSent());
      std::fclose(out);
    }
  }
  return status;
}
