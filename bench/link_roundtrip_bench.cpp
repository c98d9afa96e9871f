// Round trips of the version read (112, 0) through QtSerialPort and BrixoLink against
// brixo-sim on a pseudo-terminal: time per exchange unpaced; paced at the line's bit rate,
// the time per exchange against the wire time of the bytes really sent and received
// (counted at the port), the CPU share while the replies are awaited and the wake-ups.
//   link_roundtrip_bench [exchanges]
#include <QCoreApplication>
#include <QProcess>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_support.h"
#include "link/brixo_link.h"
#include "link/line_timing.h"
#include "link/qt_serial_port.h"

namespace {

using namespace brixo;

class CountingLog : public CommLog {
 public:
  long Lines = 0;
  void AppendLine(const std::string&) override { ++Lines; }
};

using bench::CountingPort;
using bench::CpuSeconds;
using bench::Now;
using bench::PrintingPrompt;
using bench::Wakeups;

struct Result {
  std::vector<double> Times;  // seconds per exchange
  double Wall = 0;
  double Cpu = 0;
  long Bytes = 0;    // both ways, as the port counted them
  long Wakeups = 0;  // voluntary context switches
  bool Ok = false;
};

// Starts brixo-sim with the arguments, runs the exchanges and stops it again.
Result Run(const QStringList& simArgs, int baud, int exchanges) {
  Result result;
  QProcess sim;
  sim.start(BRIXO_SIM_EXE, QStringList{"--quiet"} + simArgs);
  if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000)) {
    std::fprintf(stderr, "brixo-sim did not start\n");
    return result;
  }
  const std::string device = QString::fromUtf8(sim.readLine()).trimmed().toStdString();

  SteadyClock clock;
  PrintingPrompt prompt;
  CountingLog log;
  BrixoLink link(clock, prompt, log);
  QtSerialPort qt;
  CountingPort port(qt);
  port.SetLineSettings(std::to_string(baud) + ",o,8,1");
  if (!port.Open(device)) {
    std::fprintf(stderr, "cannot open %s: %s\n", device.c_str(), port.TakeFault().c_str());
    return result;
  }
  link.AttachPort(&port);
  link.ToggleState = 128;
  link.SendBrixoMessage(true, {112, 0});  // the resynchronisation is not part of the measure

  result.Times.reserve(exchanges);
  const long bytesStart = port.Written + port.Read;
  const long wakeStart = Wakeups();
  const double cpuStart = CpuSeconds();
  const double wallStart = Now();
  for (int i = 0; i < exchanges; ++i) {
    const double t0 = Now();
    if (!link.SendBrixoMessage(true, {112, 0}) || !link.ReplyValid) return result;
    result.Times.push_back(Now() - t0);
  }
  result.Wall = Now() - wallStart;
  result.Cpu = CpuSeconds() - cpuStart;
  result.Wakeups = Wakeups() - wakeStart;
  result.Bytes = port.Written + port.Read - bytesStart;
  result.Ok = prompt.Shown == 0;

  port.Close();
  sim.closeWriteChannel();
  if (!sim.waitForFinished(3000)) sim.kill();
  return result;
}

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const size_t index = std::min(values.size() - 1, static_cast<size_t>(p * values.size()));
  return values[index];
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int exchanges = argc > 1 ? std::max(10, std::atoi(argv[1])) : 2000;

  const Result fast = Run({}, 19200, exchanges);
  if (!fast.Ok) {
    std::printf("unpaced run failed\n");
    return 1;
  }
  std::printf("unpaced, %d exchanges: median %.3f ms, p99 %.3f ms, CPU %.3f ms per exchange (aim < 0.2 ms)\n",
              exchanges, Percentile(fast.Times, 0.5) * 1e3, Percentile(fast.Times, 0.99) * 1e3,
              fast.Cpu / exchanges * 1e3);

  const int pacedExchanges = std::max(10, exchanges / 20);
  for (int baud : {9600, 38400}) {
    const Result paced = Run({"--pace", "--baud", QString::number(baud)}, baud, pacedExchanges);
    if (!paced.Ok) {
      std::printf("paced run at %d bit/s failed\n", baud);
      return 1;
    }
    const double wire = double(paced.Bytes) / pacedExchanges * ByteSeconds(std::to_string(baud) + ",o,8,1");
    const double median = Percentile(paced.Times, 0.5);
    std::printf("paced %d bit/s, %d exchanges: median %.2f ms, wire %.2f ms (%.1f bytes) = %.3f x; CPU share %.2f%% "
                "(aim < 1%%); %.2f wake-ups per exchange (aim <= 2)\n",
                baud, pacedExchanges, median * 1e3, wire * 1e3, double(paced.Bytes) / pacedExchanges,
                median / wire, 100.0 * paced.Cpu / paced.Wall, double(paced.Wakeups) / pacedExchanges);
  }
  return 0;
}
