#pragma once
// Getting and setting a pin's output configuration on the controller.
#include <cstdint>
#include <vector>

#include "link/brixo_link.h"
#include "model/pin_model.h"

namespace brixo {

// Old firmware reports a PWM output with five configuration bytes, not six.
bool IsShortPwmReply(int outputType, int reportedBytes);

// The servo flag byte as a write sends it: "Servo Initialised" (the controller's own
// report) and bit 7 cleared, the range in bits 0..2, and bit 3 set so that the byte never
// reads back as the older form with the range in the high half.
uint8_t WrittenServoFlags(uint8_t flags);

// The configuration bytes that a set (variant 0) or write (variant 1) sends after the
// command and pin: type, level or initial value, then the type's parameters. A type the
// tool does not know is sent as 0 alone.
std::vector<int> OutputConfigPayload(const PinRecord& pin, int variant);

// Variant 0 = get (active values, c1 = current level), 1 = read (flash). False when the
// exchange failed or the reply was refused ("No valid response"), the reply included when
// it is shorter than its output type needs; the pin is then unchanged.
bool ReadOutputConfig(BrixoLink& link, PinRecord& pin, int variant, int pinNumber);
bool ReadOutputConfig(BrixoLink& link, ConfigModel& model, int variant, int pin);
// Variant 0 = set (active), 1 = write (flash). Sent without awaiting a reply; the send's
// success. The model's servo flag byte becomes the byte sent.
bool WriteOutputConfig(BrixoLink& link, ConfigModel& model, int variant, int pin);

}  // namespace brixo
