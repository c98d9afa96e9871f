#pragma once
// Whole-pin operations on the model.
#include "model/pin_model.h"

namespace brixo {

// Empties a pin's program and texts. Keeps the three address counts, OutputLevel and
// OutputConfig byte 12, which only mirror what the controller last reported.
void ClearPin(PinRecord& pin);

}  // namespace brixo
