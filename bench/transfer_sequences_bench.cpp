// Times "Write All", "Read All" and "Verify All" against the simulator program on a
// pseudo-terminal, paced at the line's bit rate: direct and tunnelled, an empty and a full
// controller, at 19200 and 38400 bit/s. Each run is compared with the time the bytes it
// really sent and received (counted at the port) need on the wire, so no ratio can fall
// below 1. With a modelled USB adapter latency timer it also shows what the adapter's
// default timer costs a Read All, and what low-latency operation (a 1 ms timer) gives back.
//   transfer_sequences_bench [--quick] [--rate N] [--tunnelled|--direct] [--no-adapter]
//   (--quick: the full controller only; the others pick one setting or leave the adapter out)
#include <sys/resource.h>

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench_support.h"
#include "link/brixo_link.h"
#include "link/clock.h"
#include "link/line_timing.h"
#include "link/qt_serial_port.h"
#include "sim/sim_process.h"
#include "transfer/transfer_context.h"
#include "transfer/whole_sequences.h"

namespace brixo {
namespace {

using bench::CountingPort;
using bench::CpuSeconds;
using bench::ExchangeCountingLog;
using bench::Now;
using bench::PrintingPrompt;
using bench::Wakeups;

// All 32 pins with four aspects of nine steps, output configurations, event actions.
void FillFullConfiguration(ConfigModel& model, GeneralSettings& general, EventControlState& events) {
  for (int p = 0; p < kPinCount; ++p) {
    PinRecord& pin = model.PinTable[p];
    pin.AspectConfig = 3;
    pin.InitAspect = static_cast<uint8_t>(1 + p % 4);
    pin.DccAddressCount = 1;
    pin.SerialAddressCount = 1;
    for (int a = 0; a < 4; ++a) {
      for (int s = 0; s < 9; ++s) {
        pin.Aspects[a].Steps[s] = StepRecord{uint8_t(1 + (a + s) % 3), 0, uint8_t(s), uint8_t(a), 10, 1};
      }
    }
    pin.OutputConfig = {2, 10, 0, 28, 0, 31, 0, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
      events.OnAction[p][i] = static_cast<int16_t>((p + i) % 12);
      events.OffAction[p][i] = static_cast<int16_t>((p + 2 * i) % 12);
    }
  }
  general.TextGenIDString = "Bench";
  general.TextGenDCCAddress = "100";
  events.CheckInitEE = {true, true, true, true, true, true, true, true};
}

struct Setup {
  int Baud = 19200;
  bool Tunnelled = false;
  bool Full = true;
  int LatencyTimerMs = 0;  // a modelled USB adapter; 0: none
};

struct Measured {
  double Wall = 0;
  double Cpu = 0;
  long Bytes = 0;
  long Wakeups = 0;
  long Exchanges = 0;
};

// The aims for a full controller; an empty one is mostly resynchronisation and headers.
double RatioAim(int baud) { return baud <= 19200 ? 1.03 : 1.05; }
constexpr double kCpuAimPercent = 1.0;
constexpr double kWakeupAim = 2.0;

std::string Describe(const Setup& s) {
  std::string text = std::to_string(s.Baud) + (s.Tunnelled ? " tunnelled" : " direct   ") + (s.Full ? " full " : " empty");
  if (s.LatencyTimerMs > 0) text += " adapter " + std::to_string(s.LatencyTimerMs) + " ms";
  return text;
}

// Runs the steps named (of "write", "read", "verify") on a fresh simulator; prints a line
// per step. False when a step failed or, with checkAims, missed an aim.
bool RunSetup(const Setup& setup, const std::vector<std::string>& only, bool checkAims) {
  SimProcess sim;
  std::vector<std::string> args{"--pace", "--baud", std::to_string(setup.Baud), "--quiet"};
  if (setup.Tunnelled) args.push_back("--host");
  if (setup.LatencyTimerMs > 0) {
    args.push_back("--latency-timer");
    args.push_back(std::to_string(setup.LatencyTimerMs));
  }
  if (!sim.Start(BRIXO_SIM_EXE, args)) {
    std::fprintf(stderr, "cannot start %s\n", BRIXO_SIM_EXE);
    return false;
  }
  QtSerialPort qt;
  CountingPort port(qt);
  const std::string settings = std::to_string(setup.Baud) + ",o,8,1";
  port.SetLineSettings(settings);
  if (!port.Open(sim.Path())) {
    std::fprintf(stderr, "cannot open %s\n", sim.Path().c_str());
    return false;
  }
  SteadyClock clock;
  PrintingPrompt prompt;
  ExchangeCountingLog log;
  BrixoLink link(clock, prompt, log);
  link.AttachPort(&port);
  link.ToggleState = 128;
  if (setup.Tunnelled) {
    link.CheckQuendal = true;
    link.HostToggle = 1;
  }

  ConfigModel model;
  AddressMaps maps;
  GeneralSettings general;
  EventControlState events;
  VerificationReport report;
  TransferView view;
  if (setup.Full) FillFullConfiguration(model, general, events);
  TransferContext ctx{link, model, maps, general, events, report, view};
  ConfigModel readModel;
  GeneralSettings readGeneral;
  EventControlState readEvents;
  TransferContext readCtx{link, readModel, maps, readGeneral, readEvents, report, view};

  struct Step {
    const char* Name;
    std::function<bool()> Run;
  };
  const Step steps[] = {
      {"write", [&] { return WriteAllSequence(ctx); }},
      {"read", [&] { return ReadAllSequence(readCtx); }},
      {"verify", [&] { return VerifyAllSequence(ctx).Ok; }},
  };
  // Without a configuration written first, Read and Verify would see another controller.
  bool ok = true;
  for (const Step& step : steps) {
    bool wanted = only.empty();
    for (const std::string& o : only) wanted = wanted || o == step.Name;
    if (!wanted && std::strcmp(step.Name, "write") != 0) continue;
    const long bytes0 = port.Written + port.Read;
    const long exchanges0 = log.Exchanges;
    const double cpu0 = CpuSeconds();
    const long wake0 = Wakeups();
    const double t0 = Now();
    const bool done = step.Run();
    Measured m;
    m.Wall = Now() - t0;
    m.Cpu = CpuSeconds() - cpu0;
    m.Wakeups = Wakeups() - wake0;
    m.Bytes = port.Written + port.Read - bytes0;
    m.Exchanges = log.Exchanges - exchanges0;
    if (!wanted) continue;
    const double limit = m.Bytes * ByteSeconds(settings);
    const double ratio = limit > 0 ? m.Wall / limit : 0;
    const double cpuShare = m.Wall > 0 ? 100.0 * m.Cpu / m.Wall : 0;
    const double wakes = m.Exchanges > 0 ? double(m.Wakeups) / m.Exchanges : 0;
    const bool aimsMet = !checkAims || !setup.Full ||
                         (ratio <= RatioAim(setup.Baud) && cpuShare < kCpuAimPercent && wakes <= kWakeupAim);
    const bool stepOk = done && prompt.Shown == 0 && aimsMet;
    ok = ok && stepOk;
    std::printf("%-36s %-6s %7.3f s  wire %7.3f s (%6ld bytes)  ratio %5.3f  cpu %5.2f%%  %4ld exchanges  %4.2f "
                "wake-ups each  %s\n",
                Describe(setup).c_str(), step.Name, m.Wall, limit, m.Bytes, ratio, cpuShare, m.Exchanges, wakes,
                !done || prompt.Shown != 0 ? "FAILED" : aimsMet ? "ok" : "OVER AIM");
    std::fflush(stdout);
  }
  link.AttachPort(nullptr);
  port.Close();
  return ok;
}

}  // namespace
}  // namespace brixo

int main(int argc, char** argv) {
  // The serial port's notifiers need an application object, though no event loop runs.
  QCoreApplication app(argc, argv);
  bool quick = false;
  bool adapter = true;
  int onlyRate = 0;
  int onlyMode = -1;  // 0 direct, 1 tunnelled
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--quick") quick = true;
    else if (a == "--no-adapter") adapter = false;
    else if (a == "--direct") onlyMode = 0;
    else if (a == "--tunnelled") onlyMode = 1;
    else if (a == "--rate" && i + 1 < argc) onlyRate = std::atoi(argv[++i]);
  }
  std::printf("aims for a full controller: time within %.2f x the wire limit at 19200 bit/s and %.2f x at 38400\n"
              "(bytes counted at the port, both ways, x bits per byte / bit rate), cpu under %.0f%%, at most %.0f "
              "wake-ups per exchange\n",
              brixo::RatioAim(19200), brixo::RatioAim(38400), brixo::kCpuAimPercent, brixo::kWakeupAim);
  bool ok = true;
  for (int baud : {19200, 38400}) {
    if (onlyRate != 0 && baud != onlyRate) continue;
    for (bool tunnelled : {false, true}) {
      if (onlyMode >= 0 && tunnelled != (onlyMode == 1)) continue;
      for (bool full : {false, true}) {
        if (quick && !full) continue;
        ok = brixo::RunSetup({baud, tunnelled, full, 0}, {}, true) && ok;
      }
    }
  }
  if (!adapter) return ok ? 0 : 1;
  std::printf("\nRead All of a full controller behind a modelled USB adapter, 19200 bit/s: its default 16 ms latency\n"
              "timer, and the 1 ms that low-latency operation sets\n");
  for (int timer : {16, 1}) ok = brixo::RunSetup({19200, false, true, timer}, {"read"}, false) && ok;
  return ok ? 0 : 1;
}
