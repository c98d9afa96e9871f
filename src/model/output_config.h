#pragma once
// Meaning of a pin's OutputConfig bytes per OutputType: the editor page of each type, the
// defaults a change of kind installs, and the fields with their ranges.
#include <array>
#include <cstdint>
#include <string>

#include "model/pin_model.h"

namespace brixo {

// OutputType values (OutputConfig byte 0).
constexpr int kOutputNone = 0;
constexpr int kOutputServo = 1;
constexpr int kOutputPwm = 2;
constexpr int kOutputPwmInverted = 3;
constexpr int kOutputInput = 4;
constexpr int kOutputInputLowActive = 5;

// Pages of SSTabPCFG.
constexpr int kPageClear = 0;
constexpr int kPageServo = 1;
constexpr int kPagePwm = 2;
constexpr int kPageInput = 3;

// An output type in words ("servo", "PWM output, inverted"); a type the tool does not
// know by its number.
std::string OutputTypeInWords(int outputType);

// Bytes of OutputConfig (type included) that a type uses, the ones the data file and the
// controller carry: 12 for a servo, 6 for PWM, 5 for an input, the type alone otherwise.
int OutputConfigBytesOf(int outputType);

// The page that shows a type; -1 for a type the tool does not know.
int PageOfOutputType(int outputType);
bool PageMatchesType(int page, int outputType);
// Replaces the pin's configuration with the defaults of a page (bytes 0..11 and OutputLevel).
void InstallPageDefaults(PinRecord& pin, int page);

enum class OutputFieldId {
  SrvInitPos,
  Midpoint,
  SrvAntiMass,
  SrvFriction,
  SrvMaxSpd,
  SrvMaxAccel,
  BounceDown,
  BounceDownFactor,
  BounceUp,
  BounceUpFactor,
  PwmInitLevel,
  PwmAccel,
  PwmOffLevel,
  PwmOnLevel,
  InputOffDelay,
  InputOnDelay,
};
constexpr int kOutputFieldCount = 16;

struct OutputField {
  OutputFieldId Id;
  const char* Control;  // the text box
  const char* Label;
  int Page;
  int Byte;    // index into OutputConfig
  int Min;     // range shown
  int Max;
  int Offset;  // added when stored (64 for the signed servo values)
};

const std::array<OutputField, kOutputFieldCount>& OutputFields();
const OutputField& OutputFieldOf(OutputFieldId id);

// Servo flag byte after an edit of range, "Auto Suspend" or "Suspended".
uint8_t ServoFlagByte(int range, bool autoSuspend, bool suspended);
// Older controllers (and old files) keep the servo range in the high half of the flag byte;
// the model keeps it in bits 0..2 with bits 3 and 5 set.
uint8_t NormalisedServoFlags(uint8_t flags);
// A servo's range option from its flag byte; 5..7 show as "Off" (0).
int ServoRangeOption(uint8_t flags);

}  // namespace brixo
