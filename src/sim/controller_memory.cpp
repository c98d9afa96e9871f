#include "sim/controller_memory.h"

namespace brixo {

ControllerMemory FactoryMemory() { return ControllerMemory{}; }

int OutputConfigLength(int outputType, bool shortPwm) {
  switch (outputType) {
    case 1:
      return 12;  // type, position, flags, midpoint .. bounce-up factor
    case 2:
    case 3:
      return shortPwm ? 5 : 6;  // type, level, modes, acceleration, off, on
    case 4:
    case 5:
      return 5;  // type, 0, 0, off-delay, on-delay
    default:
      return 1;
  }
}

}  // namespace brixo
