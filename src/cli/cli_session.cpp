#include "cli/cli_session.h"

#include <cstdio>
#include <filesystem>

#include "link/link_settings.h"
#include "sim/sim_serial_port.h"

namespace brixo {

namespace {

constexpr int kDirectModules = 16;
constexpr int kTunnelledModules = 32;
constexpr int kExtendedAddresses = 96;
constexpr int kLegacyModules = 32;

std::string RangeText(int first, int count) {
  return std::to_string(first) + " to " + std::to_string(first + count - 1);
}

// The port-list number of the device the options name.
std::string PortListText(CliSession& s) {
  const std::string device = s.Options.Simulate ? kSimulatedPortName : s.Options.Port;
  if (!s.Options.Simulate && IsPortNumber(device)) return device;
  for (const PortEntry& entry : s.App.Ports().PortEntries()) {
    if (entry.Device() == device) return std::to_string(entry.Number);
  }
  return {};
}

int TransparentMode(CliSession& s) {
  const int problems = s.Prompt.Problems();
  const int informations = s.Prompt.Informations();
  s.App.Quendal().ActivateTransparentMode();
  if (s.Prompt.Refused()) return kExitUsage;
  if (s.Prompt.Problems() != problems) return kExitFailed;
  // The closing text tells that the unit switched; anything else stopped on the way.
  if (s.Prompt.Informations() == informations) {
    s.Status.Write("Transparent mode was not activated.\n");
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace

int UsageError(CliSession& s, const std::string& text) {
  s.Status.Write("brixo-cli: " + text + "\n");
  return kExitUsage;
}

int CheckLinkOptions(CliSession& s) {
  const CliOptions& o = s.Options;
  if (o.Simulate && !o.Port.empty()) return UsageError(s, "--port and --simulate exclude each other");
  if (!o.SimLoad.empty() && !o.Simulate) return UsageError(s, "--sim-load needs --simulate");
  if (o.Tunnel && o.Transparent) return UsageError(s, "--tunnel and --transparent exclude each other");
  if (!o.Simulate && o.Port.empty()) return UsageError(s, "no port given: use --port DEVICE or --simulate");
  return CheckAddressOptions(s);
}

int CheckAddressOptions(CliSession& s) {
  const CliOptions& o = s.Options;
  const int first = s.Offset();
  const int modules = o.Tunnel ? kTunnelledModules : kDirectModules;
  if (o.Module && (*o.Module < first || *o.Module >= first + modules))
    return UsageError(s, "--module must lie from " + RangeText(first, modules));
  if (o.ExtendedAddress && (*o.ExtendedAddress < first || *o.ExtendedAddress >= first + kExtendedAddresses))
    return UsageError(s, "--xaddr must lie from " + RangeText(first, kExtendedAddresses));
  return kExitOk;
}

void ApplyAddressOptions(CliSession& s) {
  const CliOptions& o = s.Options;
  AppState& app = s.App;
  if (o.Module) app.Addresses().CommitModuleAddressText(std::to_string(*o.Module), s.Offset());
  if (o.ExtendedAddress) {
    // Giving --xaddr is the answer to "intended for experienced users only".
    s.Prompt.AnswerNextQuestion();
    app.Addresses().SetExtendedAddressing(true);
    app.Addresses().CommitExtendedAddressText(std::to_string(*o.ExtendedAddress), s.Offset());
  }
}

// The built-in simulated controller takes the identity the options give (module,
// extended address, an interface unit in front when tunnelling), so that every option can
// be tried without hardware.
static void MatchSimulatorToOptions(CliSession& s) {
  SimSerialPort* sim = s.App.Simulator();
  if (!s.Options.Simulate || sim == nullptr) return;
  if (s.Options.Module) sim->Controller().SetModuleAddress(*s.Options.Module - s.Offset());
  if (s.Options.ExtendedAddress) {
    sim->Controller().Memory().ModuleXAddress = static_cast<uint8_t>(*s.Options.ExtendedAddress - s.Offset());
  }
  sim->SetHostAttached(s.Options.Tunnel || s.Options.Transparent);
}

int Connect(CliSession& s) {
  const CliOptions& o = s.Options;
  AppState& app = s.App;
  if (!o.SimLoad.empty() && !app.PreloadSimulator(o.SimLoad)) return kExitUsage;
  MatchSimulatorToOptions(s);

  app.Ports().SelectBitRate(BitRateOption(o.Baud));
  const std::string number = PortListText(s);
  if (number.empty()) return UsageError(s, "no such port: " + o.Port);
  if (!app.Ports().SelectPort(number)) return kExitUsage;
  if (o.NoBidir) app.Link().CheckBrixoBD = false;

  if (o.Transparent) {
    if (int status = TransparentMode(s)) return status;
  }
  if (o.Tunnel && !app.Quendal().SetTunnelling(true, s.Offset())) return kExitFailed;
  ApplyAddressOptions(s);
  return kExitOk;
}

bool DisplayedNumber(CliSession& s, const std::string& text, int count, int& internal) {
  int value = 0;
  if (!ParseWholeNumber(text, value) || value < s.Offset() || value >= s.Offset() + count) return false;
  internal = value - s.Offset();
  return true;
}

int PinArgument(CliSession& s, const std::string& text, int& pin) {
  if (DisplayedNumber(s, text, kPinCount, pin)) return kExitOk;
  return UsageError(s, "pin must be a number from " + RangeText(s.Offset(), kPinCount) + ": " + text);
}

int ModuleArgument(CliSession& s, const std::string& text, int& module) {
  if (text.empty()) {
    module = s.App.Link().ModuleAddress;
    return kExitOk;
  }
  if (DisplayedNumber(s, text, kLegacyModules, module)) return kExitOk;
  return UsageError(s, "module must be a number from " + RangeText(s.Offset(), kLegacyModules) + ": " + text);
}

int NumberArgument(CliSession& s, const std::string& what, const std::string& text, int low, int high, int& value) {
  if (ParseWholeNumber(text, value) && value >= low && value <= high) return kExitOk;
  return UsageError(s, what + " must be a number from " + std::to_string(low) + " to " + std::to_string(high) + ": " +
                           text);
}

int LoadInput(CliSession& s, const std::string& path) {
  return LoadDataFileFrom(s.App.DataFiles(), path) ? kExitOk : kExitUsage;
}

int LoadIfPresent(CliSession& s, const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error) ? LoadInput(s, path) : kExitOk;
}

int SaveOutput(CliSession& s, const std::string& path, bool compact, const std::function<bool()>& stop) {
  return SaveDataFileTo(s.App.DataFiles(), path, compact, stop) ? kExitOk : kExitUsage;
}

int ControllerOutcome(CliSession& s, bool ok, int problemsBefore) {
  if (s.Prompt.Refused()) return kExitUsage;
  return ok && s.Prompt.Problems() == problemsBefore ? kExitOk : kExitFailed;
}

bool Interrupted(CliSession& s) { return s.App.Link().Cancellation().Reason() == StopReason::Interrupted; }

bool RunDeferredCommand(CliSession& s, const std::string& name) {
  if (!s.App.Commands().PostCommand(name)) return false;
  s.App.Commands().Tick();
  return s.App.Commands().LastSucceeded();
}

std::string EndedEarlyText(CliSession& s) { return s.App.Commands().LastEndedEarlyText(true); }

void PrintOut(const std::string& text) {
  const std::string lines = UnixLines(text);
  std::fwrite(lines.data(), 1, lines.size(), stdout);
  std::fflush(stdout);
}

void PrintOut(CliSession& s, const std::string& text) { s.Status.Print(UnixLines(text)); }

}  // namespace brixo
