// Commands that act on the running controller: the "Test" button of the aspect editor,
// the servo and PWM test controls and the legacy messages of the "Test" tab.
#include "app/live_commands.h"
#include "cli/cli_commands.h"

namespace brixo {

namespace {

constexpr int kAspectLast = kAspectCount - 1;
constexpr int kLegacyByteMax = 127;

// Connects, selects the pin argument as the current pin and runs one live operation.
template <typename Operation>
int RunOnPin(CliSession& s, Operation operation) {
  int pin = 0;
  if (int status = PinArgument(s, s.Options.Arguments[0], pin)) return status;
  if (int status = Connect(s)) return status;
  s.App.Model().CurrentPin = static_cast<uint8_t>(pin);
  const int problems = s.Prompt.Problems();
  const bool ok = operation(s.App.Live());
  return ControllerOutcome(s, ok, problems);
}

// The legacy module operations: the module argument, or the module address.
int RunOnModule(CliSession& s, bool (*operation)(BrixoLink&, int)) {
  if (int status = Connect(s)) return status;
  int module = 0;
  const std::string text = s.Options.Arguments.empty() ? std::string() : s.Options.Arguments[0];
  if (int status = ModuleArgument(s, text, module)) return status;
  const int problems = s.Prompt.Problems();
  const bool ok = operation(s.App.Link(), module);
  return ControllerOutcome(s, ok, problems);
}

// Typed values are clamped into range as the test fields do; they must be numbers, though.
int CheckNumber(CliSession& s, const std::string& what, const std::string& text) {
  int value = 0;
  return ParseWholeNumber(text, value) ? kExitOk : UsageError(s, what + " must be a whole number: " + text);
}

}  // namespace

int RunAspect(CliSession& s) {
  int aspect = 0;
  if (int status = NumberArgument(s, "aspect", s.Options.Arguments[1], 0, kAspectLast, aspect)) return status;
  return RunOnPin(s, [&](LiveContext& live) {
    live.Model.CurrentAspect = static_cast<uint8_t>(aspect);
    return TestAspect(live, 0);
  });
}

int RunServo(CliSession& s) {
  const std::string& position = s.Options.Arguments[1];
  if (int status = CheckNumber(s, "position", position)) return status;
  return RunOnPin(s, [&](LiveContext& live) {
    CommandSrvLevel(live, position, s.Options.Dynamic);
    return true;
  });
}

int RunPwm(CliSession& s) {
  const std::string& level = s.Options.Arguments[1];
  if (int status = CheckNumber(s, "level", level)) return status;
  return RunOnPin(s, [&](LiveContext& live) {
    CommandPWMLevel(live, level, s.Options.Slow);
    return true;
  });
}

int RunTamlo(CliSession& s) {
  int bytes[3] = {};
  for (int i = 0; i < 3; ++i) {
    const std::string what = "B" + std::to_string(i + 1);
    if (int status = NumberArgument(s, what, s.Options.Arguments[i], 0, kLegacyByteMax, bytes[i])) return status;
  }
  // A message the core would refuse is a wrong argument, told before the port is opened.
  if (bytes[0] >= kLegacyFirstByteLimit) return UsageError(s, kLegacyFirstByteRefused);
  if (int status = Connect(s)) return status;
  const int problems = s.Prompt.Problems();
  return ControllerOutcome(s, SendTamlo(s.App.Link(), bytes[0], bytes[1], bytes[2]), problems);
}

int RunLampTest(CliSession& s) { return RunOnModule(s, LampTestOutputs); }
int RunClearAll(CliSession& s) { return RunOnModule(s, ClearAllOutputs); }

int RunReset(CliSession& s) {
  return RunOnModule(s, [](BrixoLink& link, int module) {
    ResetModule(link, module);
    return true;
  });
}

}  // namespace brixo
