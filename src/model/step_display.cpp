#include "model/step_display.h"

#include "model/numeric_text.h"

namespace brixo {

int Par1DisplayShift(const InstructionInfo& info, int opcode, int numberingOffset) {
  return info.Par1DisplayBias + (opcode == 7 ? numberingOffset : 0);
}

int ShownParValue(const InstructionTable& table, const StepRecord& step, int par, int pin, int numberingOffset) {
  switch (par) {
    case 0:
      switch (Par0KindOf(step.Instruction)) {
        case Par0Kind::AbsolutePin: return step.Par0 + numberingOffset;
        case Par0Kind::Accel: return step.Par0 == 127 ? -1 : step.Par0;
        case Par0Kind::PinOffset: return pin + step.Par0 < kPinCount ? step.Par0 : step.Par0 - kPinCount;
      }
      return 0;
    case 1: return step.Par1 + Par1DisplayShift(table.Info(step.Instruction), step.Instruction, numberingOffset);
    case 2: return step.Par2;
    default: return step.Par3;
  }
}

std::string ShownParText(const InstructionTable& table, const StepRecord& step, int par, int pin,
                         int numberingOffset) {
  return NumberText(ShownParValue(table, step, par, pin, numberingOffset));
}

int StepTargetPin(const InstructionTable& table, const StepRecord& step, int pin) {
  if (!table.Info(step.Instruction).Par0Used) return -1;
  int target = -1;
  switch (Par0KindOf(step.Instruction)) {
    case Par0Kind::AbsolutePin: target = step.Par0; break;
    case Par0Kind::PinOffset: target = pin + ShownParValue(table, step, 0, pin, 0); break;
    case Par0Kind::Accel: return -1;
  }
  return target >= 0 && target < kPinCount ? target : -1;
}

}  // namespace brixo
