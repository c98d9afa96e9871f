// Times "Write All", "Read All" and "Verify All" of a full configuration against the
// simulator program on a pseudo-terminal, paced at the line's bit rate, and compares each
// run with the time its bytes need on the wire.
#include <sys/resource.h>

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench_support.h"
#include "link/brixo_link.h"
#include "link/clock.h"
#include "link/qt_serial_port.h"
#include "sim/sim_process.h"
#include "transfer/transfer_context.h"
#include "transfer/whole_sequences.h"

namespace brixo {
namespace {

using bench::CountingPort;
using bench::CpuSeconds;
using bench::NullLog;
using bench::PrintingPrompt;

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

struct Measured {
  double wall;
  double cpu;
  long bytes;
};

Measured Measure(CountingPort& port, const std::function<void()>& run) {
  const long before = port.Written + port.Read;
  const double cpu0 = CpuSeconds();
  const auto t0 = std::chrono::steady_clock::now();
  run();
  const auto t1 = std::chrono::steady_clock::now();
  return {std::chrono::duration<double>(t1 - t0).count(), CpuSeconds() - cpu0, port.Written + port.Read - before};
}

bool BenchAtRate(int baud) {
  SimProcess sim;
  if (!sim.Start(BRIXO_SIM_EXE, {"--pace", "--baud", std::to_string(baud), "--quiet"})) {
    std::fprintf(stderr, "cannot start %s\n", BRIXO_SIM_EXE);
    return false;
  }
  QtSerialPort qt;
  CountingPort port(qt);
  port.SetLineSettings(std::to_string(baud) + ",o,8,1");
  if (!port.Open(sim.Path())) {
    std::fprintf(stderr, "cannot open %s\n", sim.Path().c_str());
    return false;
  }
  SteadyClock clock;
  PrintingPrompt prompt;
  NullLog log;
  BrixoLink link(clock, prompt, log);
  link.AttachPort(&port);

  ConfigModel model;
  AddressMaps maps;
  GeneralSettings general;
  EventControlState events;
  VerificationReport report;
  TransferView view;
  FillFullConfiguration(model, general, events);
  TransferContext ctx{link, model, maps, general, events, report, view};

  ConfigModel readModel;
  GeneralSettings readGeneral;
  EventControlState readEvents;
  TransferContext readCtx{link, readModel, maps, readGeneral, readEvents, report, view};

  struct Step {
    const char* name;
    std::function<void()> run;
  };
  const Step steps[] = {
      {"Write All", [&] { WriteAllSequence(ctx); }},
      {"Read All", [&] { ReadAllSequence(readCtx); }},
      {"Verify All", [&] { VerifyAllSequence(ctx); }},
  };
  bool withinAim = true;
  for (const Step& step : steps) {
    const Measured m = Measure(port, step.run);
    const double limit = m.bytes * 11.0 / baud;
    const double ratio = limit > 0 ? m.wall / limit : 0;
    const double cpuShare = m.wall > 0 ? 100.0 * m.cpu / m.wall : 0;
    const bool ok = ratio <= 1.05 && cpuShare < 5.0;
    withinAim = withinAim && ok;
    std::printf("%6d  %-10s  %8.3f s  wire limit %8.3f s (%6ld bytes)  ratio %5.3f  cpu %7.3f s (%5.2f%%)  %s\n",
                baud, step.name, m.wall, limit, m.bytes, ratio, m.cpu, cpuShare, ok ? "ok" : "OVER AIM");
  }
  const bool verified = report.Text.size() >= 9 && report.Text.substr(report.Text.size() - 9) == "Verify OK";
  if (!verified || prompt.Shown != 0) {
    std::printf("%6d  transfer problems: report %s, %d message(s)\n", baud, verified ? "Verify OK" : "NOT OK",
                prompt.Shown);
    return false;
  }
  port.Close();
  return withinAim;
}

}  // namespace
}  // namespace brixo

int main(int argc, char** argv) {
  // The serial port's notifiers need an application object, though no event loop runs.
  QCoreApplication app(argc, argv);
  std::printf("aim: time within 1.05 x wire limit (bytes both ways x 11 bits / bit rate), cpu under 5%%\n");
  bool ok = true;
  for (int baud : {19200, 38400}) ok = brixo::BenchAtRate(baud) && ok;
  return ok ? 0 : 1;
}
