// The feedback monitor on standard output: it runs until the line count or the time given
// is reached, until Ctrl-C, or until the line fails, and ends with the monitor's own
// closing line.
#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <optional>

#include "cli/cli_commands.h"

namespace brixo {

namespace {

// Holds SIGINT and SIGTERM back while the monitor runs, so that they end the loop in an
// orderly way instead of the program; the waits between ticks listen for them.
class StopSignals {
 public:
  StopSignals() {
    sigemptyset(&set_);
    sigaddset(&set_, SIGINT);
    sigaddset(&set_, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set_, &previous_);
  }
  ~StopSignals() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

  // Waits up to the time given; true when a stop signal came.
  bool Wait(double seconds) {
    const double clamped = std::max(0.0, seconds);
    timespec timeout{};
    timeout.tv_sec = static_cast<time_t>(clamped);
    timeout.tv_nsec = static_cast<long>((clamped - std::floor(clamped)) * 1e9);
    return sigtimedwait(&set_, nullptr, &timeout) > 0;
  }

 private:
  sigset_t set_;
  sigset_t previous_;
};

}  // namespace

int RunMonitor(CliSession& s) {
  if (int status = Connect(s)) return status;
  FeedbackMonitor& monitor = s.App.Monitor();
  monitor.onAppend = [](const std::string& piece) { PrintOut(piece); };
  const int problems = s.Prompt.Problems();
  if (!monitor.Monitor()) return ControllerOutcome(s, false, problems);

  StopSignals stop;
  // Polls are exchanges of one operation: the first link failure ends it.
  CancellationScope operation(s.App.Link().Cancellation());
  Clock& clock = s.App.GetClock();
  const double start = clock.NowSeconds();
  const double tick = FeedbackMonitor::kTickMs / 1000.0;
  const std::optional<int> count = s.Options.Count;
  const std::optional<double> seconds = s.Options.Seconds;
  double nextTick = start;
  int lines = 0;
  bool failed = false;
  for (;;) {
    if (monitor.Tick()) ++lines;
    if (!monitor.Running()) {
      failed = true;
      break;
    }
    if (count && lines >= *count) break;
    const double now = clock.NowSeconds();
    if (seconds && now - start >= *seconds) break;
    // A tick that waited for a reply does not make later ticks crowd in.
    nextTick = std::max(nextTick + tick, now);
    double wait = nextTick - now;
    if (seconds) wait = std::min(wait, start + *seconds - now);
    if (stop.Wait(wait)) break;
  }
  monitor.Stop();
  return ControllerOutcome(s, !failed, problems);
}

}  // namespace brixo
