#include "model/duration_format.h"

#include <algorithm>
#include <cstdint>

namespace brixo {

namespace {

// Bases above 3 only come from damaged files; the cap keeps the tick count in range.
constexpr int kMaxBaseExponent = 10;

std::string TwoDigits(int64_t value) {
  return (value < 10 ? "0" : "") + std::to_string(value);
}

}  // namespace

int64_t DurationTicks(int time, int base) {
  const int exponent = std::clamp(base, 0, kMaxBaseExponent);
  return static_cast<int64_t>(std::max(time, 0)) << (3 * exponent);
}

std::string FormatDuration(int time, int base) { return FormatTicks(DurationTicks(time, base)); }

std::string FormatTicks(int64_t ticks) {
  ticks = std::max<int64_t>(ticks, 0);
  const int64_t hundredthsPart = ticks % kTicksPerSecond;
  const int64_t seconds = ticks / kTicksPerSecond;
  return TwoDigits(seconds / 60) + ":" + TwoDigits(seconds % 60) + "." + TwoDigits(2 * hundredthsPart);
}

std::string StepDurationText(const StepRecord& step) {
  if (step.Instruction < 64) return "00:00.00";
  return FormatDuration(step.Par2, step.Par3);
}

}  // namespace brixo
