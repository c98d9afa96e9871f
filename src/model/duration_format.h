#pragma once
// Durations of timed steps: Time x 8^Base ticks of 20 ms, shown as "mm:ss.hh".
#include <cstdint>
#include <string>

#include "model/pin_model.h"

namespace brixo {

constexpr int kTicksPerSecond = 50;

// Time x 8^Base, in ticks.
int64_t DurationTicks(int time, int base);
std::string FormatDuration(int time, int base);
// A number of ticks as "mm:ss.hh".
std::string FormatTicks(int64_t ticks);

// "00:00.00" for opcodes below 64 (they have no time), else the step's Par2 / Par3 duration.
std::string StepDurationText(const StepRecord& step);

}  // namespace brixo
