#pragma once
// Commands that act on the running controller instead of its stored configuration: the
// aspect editor's "Test" button, the set-aspect buttons and matrix panel, the servo and
// PWM test controls, and the legacy messages of the older Tamlo output module. None of
// them waits for or inspects a reply.
#include <array>
#include <string>
#include <vector>

#include "link/brixo_link.h"
#include "model/address_maps.h"
#include "model/pin_model.h"
#include "transfer/general_settings_state.h"

namespace brixo {

// Modifier keys held while "Test" is pressed, as a bit set.
enum TestModifier : int { kShiftKey = 1, kControlKey = 2, kAltKey = 4 };

constexpr int kPwmLevelMax = 31;
constexpr int kServoPositionMin = -64;
constexpr int kServoPositionMax = 63;
constexpr int kMatrixBoxCount = 10;

// Values the test controls keep across pin changes.
struct LiveTestState {
  int PwmTestLevel = 0;       // 0..31
  int ServoTestPosition = 0;  // -64..63
  int ToggleAspect = 0;       // aspect sent by the next "Brixo Toggle"
  // True while SliderPWM / SliderServo has the input focus: only then does moving the
  // slider send, so that the program setting it sends nothing.
  bool SliderPWMFocus = false;
  bool SliderServoFocus = false;
};

struct LiveContext {
  BrixoLink& Link;
  ConfigModel& Model;
  const AddressMaps& Maps;
  const GeneralSettings& General;
  LiveTestState& State;
};

// Controller payloads (four bytes, sent without awaiting a reply).
std::vector<int> SetAspectPayload(int pin, int aspect);              // 0, 0, pin, aspect
std::vector<int> SetAspectByAddressPayload(int address, int aspect);  // 0, 1, address, aspect
// 0, 38 (+16 to use the pin's dynamic parameters), pin, level 0..31.
std::vector<int> SetLevelPayload(int pin, int level, bool useDynamics);
// 0, 39 (+16 likewise), pin, position + 64.
std::vector<int> SetServoPayload(int pin, int position, bool useDynamics);
// Address byte of a legacy message to a module.
int LegacyAddressByte(int module);

// "Alt + Test": the help text (five lines).
extern const char* const kTestAspectHelp;

// CommandPAspTestAspect: sends CurrentAspect of CurrentPin in the form the modifiers
// choose. True when a message went out.
bool TestAspect(LiveContext& live, int modifiers);

// CommandBrixoSetAspect 0..6: "Brixo SA0".."Brixo SA3", "Brixo Toggle", "Brixo 8xSA0",
// "Brixo 8xSA1"; addressText is TextBrixoSendAspectOutput.
void BrixoSetAspect(LiveContext& live, int index, const std::string& addressText);
// CmdSetMatrix(k): aspect k through every checked serial address box, in ascending order.
void SetMatrix(BrixoLink& link, int k, const std::array<bool, kMatrixBoxCount>& checked);

// "TamloSend": a free legacy message to ModuleAddress. Refused, with kLegacyFirstByteRefused,
// when the first byte is 64 or more: the legacy frame would then read as a controller
// frame (66 96 10 is a write that erases the identification string). False when refused.
inline constexpr int kLegacyFirstByteLimit = 64;
inline constexpr const char* kLegacyFirstByteRefused =
    "The first byte of a legacy message must be below 64: with 64 or more the controller would take it "
    "for one of its own messages. Nothing was sent.";
bool SendTamlo(BrixoLink& link, int b1, int b2, int b3);
// "Clear All" / "Lamp Test": 32 legacy messages, outputs 0..31, to the module given.
// False (after "Select communications port", shown once) when the port is closed.
bool ClearAllOutputs(BrixoLink& link, int module);
bool LampTestOutputs(BrixoLink& link, int module);
// "Reset": the legacy reset message to the module given.
void ResetModule(BrixoLink& link, int module);

// PWM test controls of the current pin. The slider sends only while it has the focus;
// "<" clamps the typed level into 0..31, moves the slider and sends when the port is open,
// returning the field's text; "Jump" sends the last level without the fade flag.
void SliderPWMChange(LiveContext& live, int value, bool slow);
std::string CommandPWMLevel(LiveContext& live, const std::string& typed, bool slow);
void CommandPWMJump(LiveContext& live);

// Servo test controls, the same with positions -64..63 ("Dynamic" in place of "Slow").
void SliderServoChange(LiveContext& live, int value, bool dynamic);
std::string CommandSrvLevel(LiveContext& live, const std::string& typed, bool dynamic);
void CommandStopSrv(LiveContext& live);

}  // namespace brixo
