#pragma once
// Time for the reply windows and the pacing pauses. Injectable so that tests of
// 2-second time-outs do not wait 2 seconds.
#include <chrono>
#include <thread>

namespace brixo {

class Clock {
 public:
  virtual ~Clock() = default;
  // Monotonic seconds: never jumps, so no reply window ends early or late at midnight.
  virtual double NowSeconds() = 0;
  virtual void SleepMs(int ms) = 0;
};

class SteadyClock final : public Clock {
 public:
  double NowSeconds() override {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
  }
  void SleepMs(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

// A clock that only moves when told to (or when something sleeps on it).
class ManualClock final : public Clock {
 public:
  double NowSeconds() override { return now_; }
  void SleepMs(int ms) override { now_ += ms / 1000.0; }
  void Advance(double seconds) { now_ += seconds; }

 private:
  double now_ = 1000.0;
};

}  // namespace brixo
