// Round trips of the version read (112, 0) through QtSerialPort and BrixoLink against
// brixo-sim on a pseudo-terminal: time per exchange unpaced; paced at the line's bit rate,
// the time per exchange against the wire time of the bytes really sent and received
// (counted at the port), the CPU share while the replies are awaited and the wake-ups; and
// a far end that stalls at first, then answers at once: how soon the port stops waiting
// for the wire.
//   link_roundtrip_bench [exchanges]
#include <QCoreApplication>
#include <QProcess>
#include <pty.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
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

// A bare pseudo-terminal whose far end delays its first four replies (5 ms, enough to look
// paced) and answers every later one at once. The medians of 16 exchanges right after the
// stall and long after it, in ms.
std::pair<double, double> AfterAStall() {
  constexpr int kExchanges = 120;
  constexpr size_t kReply = 9;
  int master = -1;
  int slave = -1;
  char name[128] = {};
  if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) return {-1, -1};
  termios raw{};
  ::tcgetattr(slave, &raw);
  ::cfmakeraw(&raw);
  ::tcsetattr(slave, TCSANOW, &raw);
  ::close(slave);
  QtSerialPort port;
  port.SetLineSettings("19200,o,8,1");
  if (!port.Open(name)) return {-1, -1};
  std::thread farEnd([master] {
    std::vector<uint8_t> request(64);
    for (int i = 0; i < kExchanges; ++i) {
      if (::read(master, request.data(), request.size()) <= 0) return;
      if (i < 4) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      const std::vector<uint8_t> reply(kReply, static_cast<uint8_t>(i));
      if (::write(master, reply.data(), reply.size()) != static_cast<ssize_t>(reply.size())) return;
    }
  });
  std::vector<double> took;
  for (int i = 0; i < kExchanges; ++i) {
    const double t0 = Now();
    if (!port.Write(std::vector<uint8_t>{1, 2, 3, 4, 5})) break;
    size_t have = 0;
    while (have < kReply && port.WaitForCount(static_cast<int>(kReply - have), 1000)) {
      while (have < kReply && port.ReadByte() >= 0) ++have;
    }
    if (have < kReply) break;
    took.push_back((Now() - t0) * 1e3);
  }
  farEnd.join();
  port.Close();
  ::close(master);
  if (took.size() < static_cast<size_t>(kExchanges)) return {-1, -1};
  const auto median16 = [&took](int from) {
    return Percentile(std::vector<double>(took.begin() + from, took.begin() + from + 16), 0.5);
  };
  return {median16(4), median16(kExchanges - 40)};
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

  const auto [soon, later] = AfterAStall();
  if (soon < 0) {
    std::printf("stall run failed\n");
    return 1;
  }
  std::printf("after a stall of the far end: median %.2f ms right after, %.2f ms later; wire 8 ms (aim < 4 ms)\n",
              soon, later);
  return 0;
}
