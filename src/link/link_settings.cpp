#include "link/link_settings.h"

#include <algorithm>
#include <cmath>

#include "link/network_address.h"
#include "link/numeric_text.h"
#include "link/port_permission.h"

namespace brixo {

std::string LineSettingsForOption(int index) {
  switch (index) {
    case 0: return "9600,o,8,1";
    case 1: return "19200,o,8,1";
    case 2: return "38400,o,8,1";
    default: return {};
  }
}

LinkSettings::LinkSettings(BrixoLink& link, SerialPortFactory& factory, PortScanner scanner)
    : link_(link), factory_(factory), scanner_(std::move(scanner)) {}

LinkSettings::~LinkSettings() { ClosePort(); }

void LinkSettings::AddExtraDevice(const std::string& device) {
  if (std::find(extraDevices_.begin(), extraDevices_.end(), device) == extraDevices_.end())
    extraDevices_.push_back(device);
}

std::string LinkSettings::OfferDevice(const std::string& device) {
  AddExtraDevice(device);
  entries_ = NumberPorts(machine_, extraDevices_);
  for (const PortEntry& entry : entries_) {
    if (entry.Device() == device) return entry.Text();
  }
  return {};
}

void LinkSettings::ClosePort() {
  if (port_ == nullptr) return;
  if (link_.Port() == port_.get()) link_.AttachPort(nullptr);
  port_->Close();
  port_.reset();
  openDevice_.clear();
}

std::vector<SerialDeviceInfo> LinkSettings::ScanMachine() const {
  return scanner_ ? OrderSerialDevices(scanner_()) : std::vector<SerialDeviceInfo>{};
}

void LinkSettings::ListSerialPorts() {
  ClosePort();
  ComboPortText.clear();
  machine_ = ScanMachine();
  entries_ = NumberPorts(machine_, extraDevices_);
}

std::vector<std::string> LinkSettings::ComboPortItems() const {
  std::vector<std::string> items;
  for (const PortEntry& entry : entries_) items.push_back(entry.Text());
  return items;
}

const PortEntry* LinkSettings::SelectedEntry() const {
  const double number = NumericValue(ComboPortText);
  if (number < 1 || number > static_cast<double>(entries_.size())) return nullptr;
  return &entries_[static_cast<size_t>(std::lround(number)) - 1];
}

LinkSettings::Rescan LinkSettings::RescanPorts() {
  Rescan result;
  if (port_ != nullptr) {
    port_->CheckStillThere();
    if (!port_->IsOpen()) {
      result.Changed = true;
      result.LostDevice = openDevice_;
      result.Fault = port_->TakeFault();
      ClosePort();
    }
  }
  std::vector<SerialDeviceInfo> machine = ScanMachine();
  if (machine == machine_) return result;
  result.Changed = true;
  const PortEntry* entry = SelectedEntry();
  const std::string selected = entry ? entry->Device() : std::string();
  machine_ = std::move(machine);
  entries_ = NumberPorts(machine_, extraDevices_);
  ComboPortText.clear();
  for (const PortEntry& entry : entries_) {
    if (!selected.empty() && entry.Device() == selected) ComboPortText = entry.Text();
  }
  if (ComboPortText.empty() && port_ != nullptr) {
    result.LostDevice = openDevice_;
    result.Fault = port_->TakeFault();
    if (result.Fault.empty()) result.Fault = PortGoneFault(openDevice_);
    ClosePort();
  }
  return result;
}

bool LinkSettings::OpenNumber(int number) {
  if (number < 1 || number > static_cast<int>(entries_.size())) {
    link_.Prompt().ShowMessage("Cannot open communications port " + std::to_string(number) + "\n" +
                                   NoSuchPortText(number, static_cast<int>(entries_.size()), Directions),
                               MessageIcon::Warning);
    return false;
  }
  const std::string& device = entries_[number - 1].Device();
  std::unique_ptr<SerialPort> port = factory_.CreatePort(device);
  bool opened = false;
  std::string reason;
  if (port != nullptr) {
    port->SetLineSettings(lineSettings_);
    opened = port->Open(device);
    reason = port->TakeFault();
  }
  if (!opened) {
    std::string text = "Cannot open communications port " + PortDisplayName(device);
    if (!reason.empty()) text += "\n" + reason;
    if (IsPermissionDenied(reason)) text += "\n" + PermissionAdvice(device, LookUpDeviceAccess(device));
    link_.Prompt().ShowMessage(text, MessageIcon::Warning);
    return false;
  }
  for (const std::string& note : port->TakeNotes()) link_.Log().AppendLine(note);
  port_ = std::move(port);
  openDevice_ = device;
  link_.AttachPort(port_.get());
  link_.ToggleState = 128;
  return true;
}

bool LinkSettings::SelectPort(const std::string& comboText) {
  ClosePort();
  ComboPortText = comboText;
  const double number = NumericValue(comboText);
  if (number <= 0) return false;
  return OpenNumber(static_cast<int>(std::lround(number)));
}

void LinkSettings::SelectBitRate(int index) {
  const std::string settings = LineSettingsForOption(index);
  if (settings.empty()) return;
  ClosePort();
  OptionBitRate = index;
  lineSettings_ = settings;
  const double number = NumericValue(ComboPortText);
  if (number > 0) OpenNumber(static_cast<int>(std::lround(number)));
}

void LinkSettings::RefreshPorts() { ListSerialPorts(); }

}  // namespace brixo
