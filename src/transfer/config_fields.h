#pragma once
// One description of every field of a configuration: the name a user reads ("pin 10 aspect
// 2 step 1 Par2"), the values the controller can hold, where the field sits in the data
// file and in the controller's memory, and how to read its value from the configuration.
// The data file's range checks, the verification's differences and the tests take their
// facts from here, so that a field cannot be known to one of them and forgotten by another.
#include <cstdint>
#include <string>
#include <vector>

#include "model/pin_model.h"
#include "transfer/event_control_state.h"
#include "transfer/general_settings_state.h"

namespace brixo {

// A whole configuration: what the data file holds and what Write All sends.
struct ConfigurationRef {
  const ConfigModel& Model;
  const GeneralSettings& General;
  const EventControlState& Events;
};

// One held by value: a file read beside the editor, the controller's side of a comparison.
struct Configuration {
  ConfigModel Model;
  GeneralSettings General;
  EventControlState Events;
  ConfigurationRef Ref() const { return {Model, General, Events}; }
};
Configuration CopyOf(const ConfigurationRef& config);

enum class FieldKind : uint8_t {
  // General settings ("ID$", "DCC", "XAD", "HWC", "LED", "SPC").
  IdString,
  DccAddress,
  XDccAddress,
  DccOptions,
  FlexValue,
  FlexFlag,
  ModuleXAddress,
  GroupMask,      // Index 0..3
  HardwareGroup,  // Index 0..3
  GreenLed,
  OrangeLed,
  SerialEnable,
  BaudRate,  // list index; the file writes its text
  DataBits,
  Parity,
  StopBits,
  // Event control ("Eon", "Eof", "Ena").
  OnAction,   // Pin, Index = event input
  OffAction,  // Pin, Index = event input
  EnableOnMask,
  EnableOffMask,
  // A pin group ("Pin", "Dev", "Cfg", "PAM", "Asp", "Ins").
  AspectConfig,
  InitAspect,
  PinDescription,
  DevicePointer,
  DeviceDescription,
  OutputByte,  // Index 0..11 (byte 0 is the output type)
  XDccCount,
  DccCount,
  SerialCount,
  AspectDescription,  // Aspect
  StepCode,           // Aspect, Step: Instruction + 16 x Fade
  StepPar0,
  StepPar1,
  StepPar2,
  StepPar3,
};

struct FieldId {
  FieldKind Kind = FieldKind::IdString;
  int8_t Pin = -1;     // internal pin number of event and pin-group fields
  int8_t Index = -1;   // mask, group, output byte or event input
  int8_t Aspect = -1;  // aspect and step fields
  int8_t Step = -1;    // step fields
  bool operator==(const FieldId&) const = default;
};

// Where a controller keeps a field: the read request that returns it and the payload bytes
// of its reply (R2 = 2) that carry it. Steps of "SendSerial 1" and "SendSerial 2" carry the
// top bits of Par1 and Par2 in D0 besides.
struct ControllerPlace {
  std::vector<int> Request;  // empty: the controller does not hold the field
  int FirstByte = 0;
  int ByteCount = 0;
};

struct FieldKindInfo {
  FieldKind Kind;
  const char* Label;  // the part of the name after the pin, aspect and step
  bool IsText;
  int Count;          // instances per owner (Index 0 .. Count - 1)
  const char* FileTag;
  int FileField;      // place among the record's fields after the tag, 1-based (Index 0)
  int FileBias;       // the number in the file = value + FileBias
};

const std::vector<FieldKindInfo>& FieldKinds();
const FieldKindInfo& InfoOf(FieldKind kind);

// Every field of a configuration, whether or not the current layouts and output types use it.
const std::vector<FieldId>& AllFields();

// The name a user reads, pins numbered as displayed: "DCC address", "event pin 3 input 2 ON",
// "pin 10 aspect 2 step 1 Par2".
std::string FieldName(const FieldId& id, int numberingOffset);
// The same without the pin, aspect and step that own the field: "serial address count",
// "output byte 3", "input 2 ON". A file's line names those itself.
std::string FieldLabel(const FieldId& id);

// Its value as the data file holds it (minus FileBias) and as Write All sends it.
int FieldValue(const FieldId& id, const ConfigurationRef& config);
std::string FieldText(const FieldId& id, const ConfigurationRef& config);

// Whether a normal save writes the field, and whether the controller holds it, for the
// layouts, output types and enable map of this configuration.
bool FieldInFile(const FieldId& id, const ConfigurationRef& config);
bool FieldOnController(const FieldId& id, const ConfigurationRef& config);

ControllerPlace ControllerPlaceOf(const FieldId& id);

// Sets the field to a value as FieldValue counts it (a text field takes `text`), as a
// read or a loaded file sets it: the boxes of the General tab, the stored bytes of a pin.
// Fields whose meaning depends on another (the flexible start address on its flag) take
// the other's value as it stands, so set the flag first (SetFieldValues does).
void SetFieldValue(const FieldId& id, int value, const std::string& text, Configuration& config);
struct FieldSetting {
  FieldId Field;
  int Value = 0;
  std::string Text;
};
void SetFieldValues(const std::vector<FieldSetting>& settings, Configuration& config);

// The field as the editor shows it, numbers as displayed (this configuration's numbering):
// where it sits - a group of the General tab ("DCC Settings"), an event input of a pin
// ("event pin 3 input 2"), the initial enable map, a pin, an aspect, a step ("pin 10
// aspect 2 step 1") or a pin's output page ("pin 5 Servo") - and its caption there, which
// for a step's parameter is its instruction's ("P.O.", "Level", "Time", "Base") and for an
// output byte that of the output page its type shows.
std::string FieldPlace(const FieldId& id, const ConfigurationRef& config);
std::string FieldCaption(const FieldId& id, const ConfigurationRef& config);
// "pin 10 aspect 2 step 1 Level", "DCC Settings Basic Decoder Addr", "ID String".
std::string FieldLabel(const FieldId& id, const ConfigurationRef& config);
// The value as the editor shows it: pins and module addresses numbered as displayed,
// display biases and signed offsets applied, option lists and check boxes in their
// captions ("Even", "yes"), an instruction by its name. Texts as they stand.
std::string ShownFieldValue(const FieldId& id, const ConfigurationRef& config);

struct ValueSpan {
  int Min = 0;
  int Max = 0;
};

// The values a field can take. Held values load and save unchanged; converted values are
// older forms that a file may still carry (a servo flag byte with its range in the high
// half, an output type the controller does not know) and load as another value; anything
// else is refused.
struct FieldRange {
  std::vector<ValueSpan> Held;
  std::vector<ValueSpan> Converted;
  bool Keeps(int value) const;
  bool Accepts(int value) const;
  int Lowest() const;
  int Highest() const;
};

// What other fields a range depends on.
struct RangeContext {
  bool FlexFlag = false;  // flexible addressing on (flex value)
  int OutputType = 0;     // output bytes
  int Instruction = 0;    // step parameters
};

RangeContext RangeContextOf(const FieldId& id, const ConfigurationRef& config);
// Empty for text fields.
FieldRange FieldRangeOf(const FieldId& id, const RangeContext& context);

}  // namespace brixo
