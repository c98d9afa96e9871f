#pragma once
// What the benchmarks share: a port that counts the bytes crossing it, message boxes on
// standard error, a log that keeps nothing, and the wall and CPU clocks.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "link/comm_log.h"
#include "link/forwarding_port.h"
#include "link/user_prompt.h"

namespace brixo::bench {

// Counts the bytes crossing the line in each direction.
class CountingPort final : public ForwardingPort {
 public:
  explicit CountingPort(SerialPort& inner) : ForwardingPort(inner) {}
  bool Write(std::span<const uint8_t> bytes) override {
    Written += static_cast<long>(bytes.size());
    return ForwardingPort::Write(bytes);
  }
  int ReadByte() override {
    const int b = ForwardingPort::ReadByte();
    if (b >= 0) ++Read;
    return b;
  }

  long Written = 0;
  long Read = 0;
};

class PrintingPrompt final : public UserPrompt {
 public:
  MessageAnswer ShowMessage(const std::string& text, MessageIcon, MessageButtons) override {
    std::fprintf(stderr, "message: %s\n", text.c_str());
    ++Shown;
    return MessageAnswer::Ok;
  }
  int Shown = 0;
};

class NullLog final : public CommLog {
 public:
  void AppendLine(const std::string&) override {}
};

inline double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Voluntary context switches of this process so far: each is a wake-up after a wait.
inline long Wakeups() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_nvcsw;
}

// Frames the tool sent with a log line (every request; not the empty polls and the
// resynchronisation): one per exchange.
class ExchangeCountingLog final : public CommLog {
 public:
  void AppendLine(const std::string& line) override {
    if (line.rfind("> ", 0) == 0 || line.rfind(">> ", 0) == 0) ++Exchanges;
  }
  long Exchanges = 0;
};

inline double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace brixo::bench
