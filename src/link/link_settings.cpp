#include "link/link_settings.h"

#include <algorithm>
#include <cmath>

#include "link/numeric_text.h"

namespace brixo {

std::string LineSettingsForOption(int index) {
  switch (index) {
    case 0: return "9600,o,8,1";
    case 1: return "19200,o,8,1";
    case 2: return "38400,o,8,1";
    default: return {};
  }
}

LinkSettings::LinkSettings(BrixoLink& link, SerialPortFactory& factory, DeviceScanner scanner)
    : link_(link), factory_(factory), scanner_(std::move(scanner)) {}

LinkSettings::~LinkSettings() { ClosePort(); }

void LinkSettings::AddExtraDevice(const std::string& device) {
  if (std::find(extraDevices_.begin(), extraDevices_.end(), device) == extraDevices_.end())
    extraDevices_.push_back(device);
}

void LinkSettings::ClosePort() {
  if (port_ == nullptr) return;
  if (link_.Port() == port_.get()) link_.AttachPort(nullptr);
  port_->Close();
  port_.reset();
  openDevice_.clear();
}

void LinkSettings::ListSerialPorts() {
  ClosePort();
  ComboPortText.clear();
  const std::vector<std::string> machine = scanner_ ? scanner_() : std::vector<std::string>{};
  entries_ = NumberPorts(machine, extraDevices_);
  listed_.clear();
  for (const PortEntry& entry : entries_) {
    const bool extra = entry.Number > static_cast<int>(machine.size());
    if (!extra) {
      // Probing only asks whether the device can be opened; its complaints are not news.
      std::unique_ptr<SerialPort> probe = factory_.CreatePort(entry.Device);
      if (probe == nullptr) continue;
      probe->SetLineSettings(lineSettings_);
      const bool opened = probe->Open(entry.Device);
      probe->Close();
      probe->TakeFault();
      if (!opened) continue;
    }
    listed_.push_back(entry.Number);
  }
}

std::vector<std::string> LinkSettings::ComboPortItems() const {
  std::vector<std::string> items;
  for (int number : listed_) items.push_back(entries_[number - 1].Text());
  return items;
}

bool LinkSettings::OpenNumber(int number) {
  if (number < 1 || number > static_cast<int>(entries_.size())) {
    link_.Prompt().ShowMessage("Cannot open communications port " + std::to_string(number), MessageIcon::Warning);
    return false;
  }
  const std::string& device = entries_[number - 1].Device;
  std::unique_ptr<SerialPort> port = factory_.CreatePort(device);
  bool opened = false;
  std::string reason;
  if (port != nullptr) {
    port->SetLineSettings(lineSettings_);
    opened = port->Open(device);
    reason = port->TakeFault();
  }
  if (!opened) {
    std::string text = "Cannot open communications port " + device;
    if (!reason.empty()) text += "\n" + reason;
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
