#include "app/app_state.h"

#include <cstdlib>

#include "app/recent_files.h"
#include "app/result_text.h"
#include "app/simulator_preload.h"
#include "app/start_up_defaults.h"
#include "files/file_io.h"
#include "link/network_address.h"
#include "model/address_maps.h"
#include "transfer/event_control.h"
#include "transfer/general_settings.h"

namespace brixo {

namespace {

constexpr const char* kTestTabRefusal = "Sorry, This tab is disabled";
// Where the refusal sends the user.
constexpr const char* kTestTabDirection = "It opens in expert mode: switch that on in Tools > Expert Mode";
constexpr const char* kReportFileFilter = "Verification Report|*.txt";
constexpr const char* kReportFileName = "BrixoVerification.txt";
constexpr const char* kLogFileFilter = "Communication Log|*.txt";
constexpr const char* kLogFileName = "BrixoCommunication.txt";

std::unique_ptr<Clock> OwnClockUnless(Clock* given) {
  return given ? nullptr : std::make_unique<SteadyClock>();
}

}  // namespace

AppState::AppState(UserPrompt& prompt, FileChooser& chooser, AppStateOptions options)
    : prompt_(prompt),
      chooser_(chooser),
      observer_(options.Observer),
      ownClock_(OwnClockUnless(options.TimeSource)),
      clock_(options.TimeSource ? options.TimeSource : ownClock_.get()),
      log_(options.HistoryLines, clock_),
      link_(*clock_, prompt, log_),
      factory_(*clock_, options.Devices),
      ports_(link_, factory_, options.Scanner),
      addresses_(link_),
      tunnelling_(link_, addresses_),
      pins_(model_, maps_, prompt),
      transferView_(*this),
      fileView_(*this),
      transfer_{link_, model_, maps_, general_, events_, report_, transferView_},
      commands_(transfer_),
      dataFiles_{model_, general_, events_, prompt, chooser_, fileView_},
      deviceFiles_{model_, devices_, prompt, chooser_, fileView_},
      live_{link_, model_, maps_, general_, liveState_},
      monitor_(link_, options.HistoryLines) {
  directions_ = options.Directions;
  ports_.Directions = directions_;
  link_.noAnswerAdvice = [this](SilentParty party) { return NoAnswerAdvice(NoAnswerFactsOf(party), directions_); };
  addresses_.onAddressChanged = [this] { transferView_.RebuildAddressMaps(); };
  link_.onPortLost = [this] { Observer().ShowPortState(); };
  pins_.Output().onTestPositionShown = [this](int page, int value) {
    if (page == kPageServo) liveState_.ServoTestPosition = value;
    if (page == kPagePwm) liveState_.PwmTestLevel = value;
  };
  StartUp(options);
  history_.Reset(Content());
}

AppState::~AppState() { link_.AttachPort(nullptr); }

void AppState::StartUp(const AppStateOptions& options) {
  dataFileVersion_ = kDataFileVersion;
  link_.ModuleAddress = 0;
  link_.ExtendedAddress = 0;
  expertMode_ = false;

  if (options.OfferSimulator) {
    factory_.EnableSimulator();
    ports_.AddExtraDevice(kSimulatedPortName);
  }
  for (const std::string& device : options.ExtraDevices) ports_.AddExtraDevice(device);
  ports_.ListSerialPorts();

  ApplyStartUpDefaults(model_, general_, events_);
  brixo::ShowEventPin(events_, transferView_);
  pins_.Editor().OptionPAspConf_Click(0);

  BuildSerialMap(model_.PinTable, maps_);
  BuildDccMap(model_.PinTable, maps_);
  BuildXDccMap(model_.PinTable, maps_);

  SetStartNumberingAtOne(true);

  devices_ = DeviceLibrary{};
  if (options.LoadDeviceDefinitions) LoadStandardDefinitions(deviceFiles_, options.ProgramFolder);
  // Which library was loaded when another was passed over, for whoever looks at the
  // monitor; the window shows it in its status bar as well.
  if (!devices_.StartUpNote.empty()) log_.AppendLine(devices_.StartUpNote);
}

NoAnswerFacts AppState::NoAnswerFactsOf(SilentParty party) const {
  NoAnswerFacts facts;
  facts.Party = party;
  const int offset = model_.NumberingOffset;
  facts.Module = link_.ModuleAddress + offset;
  if (link_.CheckXaddress) facts.Extended = link_.ExtendedAddress + offset;
  facts.Tunnelled = link_.CheckQuendal;
  const std::string settings = ports_.LineSettings();
  facts.BitRate = std::atoi(settings.c_str());
  const std::string device = ports_.OpenDevice();
  if (const std::optional<NetworkAddress> network = ParseNetworkAddress(device)) {
    facts.NetworkPort = NetworkPortName(*network);
    facts.RawTcp = network->Protocol == NetworkProtocol::RawTcp;
  }
  return facts;
}

void AppState::UpdateAddressInputs() {
  AddressInputs in;
  in.ModuleAddress = link_.ModuleAddress;
  in.ExtendedAddress = link_.ExtendedAddress;
  in.CheckXaddress = link_.CheckXaddress;
  in.FlexAddress = general_.FlexAddress;
  in.CheckGenTamloaddr = general_.CheckGenTamloaddr;
  in.CheckGenBrixoNative = general_.CheckGenBrixoNative;
  in.DccFirstOutput = general_.DccFirstOutput;
  in.XDccFirstOutput = general_.XDccFirstOutput;
  pins_.Addresses().SetInputs(in);
}

void AppState::SetStartNumberingAtOne(bool checked) {
  const int offset = checked ? 1 : 0;
  model_.NumberingOffset = static_cast<uint8_t>(offset);
  ApplyNumberingOffsetToGeneral(general_, offset, maps_);
  ApplyNumberingOffsetToEvents(events_, offset);
  transferView_.ShowDccAddress();
  transferView_.ShowXDccAddress();
  transferView_.ShowSerialAddress();
  transferView_.ShowPin();
  Observer().ShowNumbering();
}

void AppState::SetExpertMode(bool on) {
  expertMode_ = on;
  pins_.Editor().SetExpertMode(on);
  Observer().ShowExpertMode();
  Observer().ShowDetails();
}

void AppState::ExpertModeSwitch() {
  SetExpertMode(prompt_.ShowMessage("Expert Mode?", MessageIcon::Question, MessageButtons::YesNo) ==
                MessageAnswer::Yes);
}

bool AppState::TabSelected(int index) {
  if (index == kGeneralTab) {
    ShowXDccOutputRange(general_, model_.NumberingOffset, maps_.XDccAddressTotal);
    ShowDccOutputRange(general_, model_.NumberingOffset, maps_.DccAddressTotal);
    Observer().ShowGeneralSettings();
  } else if (index == kTestTab && !expertMode_) {
    prompt_.ShowMessage(std::string(kTestTabRefusal) + "\n" + kTestTabDirection);
    return false;
  }
  return true;
}

void AppState::RunPendingCommand() {
  const std::string name = commands_.PendingCommand();
  if (name.empty()) return;
  const double start = clock_->NowSeconds();
  reportShownAt_ = -1.0;
  commands_.Tick();
  NoteEdits();
  if (name == "ReadAll" && commands_.LastSucceeded()) NoteReadAll();
  const ScanProbe address{link_.ModuleAddress,
                          link_.CheckXaddress ? std::optional<int>(link_.ExtendedAddress) : std::nullopt};
  std::optional<MixedController> mixed =
      FollowMixedController(mixed_, commands_.LastControllerState(), address, commands_.LastEndedEarlyText());
  if (mixed != mixed_) {
    mixed_ = std::move(mixed);
    Observer().ShowMixedController();
  }
  const double end = reportShownAt_ >= start ? reportShownAt_ : clock_->NowSeconds();
  // A stopped operation says how far it got and what that leaves behind.
  if (commands_.LastEndedEarly())
    ShowResult(commands_.LastEndedEarlyText());
  else
    ShowResult(CommandResultText(name, commands_.LastSucceeded(), end - start, model_, report_));
}

std::string AppState::MixedWarning() const {
  return mixed_ ? MixedControllerText(*mixed_, model_.NumberingOffset) : std::string();
}

bool AppState::RescanPorts() {
  const LinkSettings::Rescan change = ports_.RescanPorts();
  // A port the link saw go under an operation was told then, with what the operation got to.
  if (!change.LostDevice.empty() && !change.Fault.empty()) {
    Observer().ShowPortState();  // shown closed while the message is up
    prompt_.ShowMessage(change.Fault, MessageIcon::Error);
    ShowResult(PortGoneText(change.LostDevice));
  }
  return change.Changed;
}

bool AppState::LoadFile() {
  if (!MayReplaceEdits()) return false;
  const bool ok = LoadDataFile(dataFiles_);
  if (!chooser_.LastChosen().empty()) ShowResult(LoadedFileText(chooser_.LastChosen(), ok));
  if (ok) NoteFileUsed(chooser_.LastChosen());
  return ok;
}

bool AppState::LoadRecentFile(const std::string& path) {
  if (!MayReplaceEdits()) return false;
  const bool ok = LoadDataFileFrom(dataFiles_, path);
  ShowResult(LoadedFileText(path, ok));
  if (ok)
    NoteFileUsed(path);
  else
    recentFiles_ = WithoutRecentFile(std::move(recentFiles_), path);
  return ok;
}

bool AppState::SaveReport() { return SaveText(kReportFileFilter, kReportFileName, report_.Text); }

bool AppState::SaveCommunicationLog(const MonitorView& view) {
  return SaveText(kLogFileFilter, kLogFileName, MonitorText(log_, view));
}

bool AppState::SaveText(const char* filter, const char* presetName, const std::string& text) {
  return SaveFileAs(filter, presetName, [&text](const std::string&) { return std::optional<std::string>(text); });
}

bool AppState::SaveFileAs(const char* filter, const std::string& presetName, const FileContent& content) {
  const std::string path = chooser_.ChooseSaveFile(filter, presetName);
  if (path.empty()) return false;
  std::string error = "nothing to write";
  const std::optional<std::string> made = content(path);
  const bool ok = made && ReplaceFileText(path, *made, error);
  if (!ok) prompt_.ShowMessage("Could not save " + path + ": " + error, MessageIcon::Warning);
  ShowResult(SavedFileText(path, ok));
  return ok;
}

void AppState::StopOperation() { link_.Cancellation().Trip(StopReason::UserStop); }

void AppState::ShowResult(const std::string& text) {
  lastResult_ = text;
  Observer().ShowResult(text);
}

bool AppState::SelectDevice(const std::string& device) {
  // A network port is offered as soon as it is named.
  if (IsNetworkPortName(device)) ports_.OfferDevice(device);
  for (const PortEntry& entry : ports_.PortEntries()) {
    if (entry.Device() == device) return ports_.SelectPort(entry.Text());
  }
  return false;
}

bool AppState::PreloadSimulator(const std::string& path) {
  SimSerialPort* line = factory_.Simulator();
  return line != nullptr && brixo::PreloadSimulator(*line, *clock_, prompt_, path);
}

}  // namespace brixo
