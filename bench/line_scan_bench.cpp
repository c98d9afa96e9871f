// Scanning every direct module address of a line with three controllers on it, against
// brixo-sim paced at the line's bit rate: in-process through QtSerialPort, counting the
// bytes really written and read, and end to end through "brixo-cli scan".
//   line_scan_bench [--naive]    (--naive also times the scan with the ordinary 2 s window)
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "link/brixo_link.h"
#include "link/qt_serial_port.h"
#include "sim/sim_process.h"
#include "transfer/line_scan.h"

namespace {

using namespace brixo;

constexpr int kBitsPerByte = 11;
const std::vector<int> kModules{1, 5, 9};
constexpr double kAimSeconds = 3.0;

using bench::CountingPort;
using bench::Now;
using bench::NullLog;
using bench::PrintingPrompt;

std::vector<std::string> SimArguments(int baud) {
  std::string modules;
  for (int m : kModules) modules += (modules.empty() ? "" : ",") + std::to_string(m);
  return {"--quiet", "--pace", "--baud", std::to_string(baud), "--modules", modules};
}

// Gives every controller a full twelve-character identification string, so that its reply
// is as long as it gets.
bool NameControllers(BrixoLink& link) {
  for (int m : kModules) {
    link.ModuleAddress = static_cast<uint8_t>(m);
    link.ToggleState = 128;
    std::vector<int> payload{96, 10};
    const std::string id = "Module " + std::to_string(m) + " ....";
    for (size_t i = 0; i < 12; ++i) payload.push_back(i < id.size() ? id[i] : '.');
    if (!link.SendBrixoMessage(false, payload) || !link.ReplyValid) return false;
  }
  return true;
}

bool InProcess(int baud, double marginSeconds, const char* label) {
  SimProcess sim;
  if (!sim.Start(BRIXO_SIM_EXE, SimArguments(baud))) {
    std::fprintf(stderr, "cannot start %s\n", BRIXO_SIM_EXE);
    return false;
  }
  SteadyClock clock;
  PrintingPrompt prompt;
  NullLog log;
  BrixoLink link(clock, prompt, log);
  QtSerialPort device;
  device.SetLineSettings(std::to_string(baud) + ",o,8,1");
  if (!device.Open(sim.Path())) {
    std::fprintf(stderr, "cannot open %s\n", sim.Path().c_str());
    return false;
  }
  CountingPort port(device);
  link.AttachPort(&port);
  if (!NameControllers(link)) {
    std::fprintf(stderr, "the controllers could not be named\n");
    return false;
  }
  port.Written = port.Read = 0;

  ScanSettings settings;
  settings.BitRate = baud;
  settings.MarginSeconds = marginSeconds;
  const double start = Now();
  LineScan scan(link, settings);
  scan.Run();
  const double wall = Now() - start;
  const long bytes = port.Written + port.Read;
  const double wire = double(bytes) * kBitsPerByte / baud;
  const bool found = scan.Found().size() == kModules.size();
  const bool comparison = marginSeconds >= kReplyWindowSeconds;
  const bool ok = found && prompt.Shown == 0 && (comparison || wall < kAimSeconds);
  std::printf("%-8s %5d bit/s: %zu of %zu found, %6.3f s; window %6.1f ms; %ld bytes out, %ld in = %.3f s on the "
              "wire  %s\n",
              label, baud, scan.Found().size(), kModules.size(), wall, scan.ProbeWindow() * 1e3, port.Written,
              port.Read, wire, !ok ? "FAILED" : comparison ? "(for comparison)" : "ok");
  link.AttachPort(nullptr);
  device.Close();
  return ok;
}

// "brixo-cli scan" as a user runs it, program start included.
bool ThroughCli(int baud) {
  const std::string cli = (std::filesystem::path(BRIXO_SIM_EXE).parent_path() / "brixo-cli").string();
  if (!std::filesystem::exists(cli)) {
    std::printf("cli      (no %s)\n", cli.c_str());
    return true;
  }
  SimProcess sim;
  if (!sim.Start(BRIXO_SIM_EXE, SimArguments(baud))) return false;
  std::fflush(nullptr);  // the child must not print what we buffered
  const double start = Now();
  const pid_t pid = fork();
  if (pid == 0) {
    std::freopen("/dev/null", "w", stdout);
    execl(cli.c_str(), cli.c_str(), "--port", sim.Path().c_str(), "--baud", std::to_string(baud).c_str(), "scan",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  const double wall = Now() - start;
  const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && wall < kAimSeconds;
  std::printf("cli      %5d bit/s: brixo-cli scan %6.3f s, exit %d  %s\n", baud, wall,
              WIFEXITED(status) ? WEXITSTATUS(status) : -1, ok ? "ok" : "FAILED");
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const bool naive = argc > 1 && std::strcmp(argv[1], "--naive") == 0;
  std::printf("scan of the 16 direct module addresses, controllers at modules 1, 5 and 9, paced;\n"
              "aim: under %.0f s at 19200 bit/s (bytes counted at the port, 11 bits each)\n",
              kAimSeconds);
  bool ok = true;
  for (int baud : {9600, 19200, 38400}) ok = InProcess(baud, kDefaultProbeMarginSeconds, "scan") && ok;
  ok = ThroughCli(19200) && ok;
  // The ordinary exchange's window on every address, for comparison.
  if (naive) InProcess(19200, kReplyWindowSeconds, "2 s wait");
  return ok ? 0 : 1;
}
