#pragma once
// How the editor shows a step's parameters: pins numbered as displayed, Par1 with its
// display bias, pin offsets signed, "Accel" -1 for the stored 127. The editor's boxes, the
// aspect in words and the time line all show a step this one way.
#include <string>

#include "model/instruction_table.h"
#include "model/pin_model.h"

namespace brixo {

// Bias between the stored Par1 and the number shown; "Clone" shows a pin number.
int Par1DisplayShift(const InstructionInfo& info, int opcode, int numberingOffset);

// The number the box of parameter `par` (0..3) shows for a step of pin `pin`.
int ShownParValue(const InstructionTable& table, const StepRecord& step, int par, int pin, int numberingOffset);
std::string ShownParText(const InstructionTable& table, const StepRecord& step, int par, int pin,
                         int numberingOffset);

// The pin (internal number) a step of pin `pin` acts on: the one its "P.O." points to, or
// its "MXpin". -1 when the instruction names no pin or the offset leads beyond the pins.
int StepTargetPin(const InstructionTable& table, const StepRecord& step, int pin);

}  // namespace brixo
