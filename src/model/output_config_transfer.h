#pragma once
// Getting and setting a pin's output configuration on the controller.
#include "link/brixo_link.h"
#include "model/pin_model.h"

namespace brixo {

// Variant 0 = get (active values, c1 = current level), 1 = read (flash). False when the
// exchange failed or the reply was refused ("No valid response"); the model is then unchanged.
bool ReadOutputConfig(BrixoLink& link, ConfigModel& model, int variant, int pin);
// Variant 0 = set (active), 1 = write (flash). Sent without awaiting a reply.
void WriteOutputConfig(BrixoLink& link, ConfigModel& model, int variant, int pin);

}  // namespace brixo
