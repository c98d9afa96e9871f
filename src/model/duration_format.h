#pragma once
// Durations of timed steps: Time x 8^Base ticks of 20 ms, shown as "mm:ss.hh".
#include <string>

#include "model/pin_model.h"

namespace brixo {

std::string FormatDuration(int time, int base);

// "00:00.00" for opcodes below 64 (they have no time), else the step's Par2 / Par3 duration.
std::string StepDurationText(const StepRecord& step);

}  // namespace brixo
