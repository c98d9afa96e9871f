#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "files/device_file_parser.h"
#include "files/device_library.h"
#include "files/field_reader.h"
#include "files/file_io.h"
#include "files/pin_group_records.h"

namespace brixo {
namespace {

// The entry whose file "Load Device" reads: the selected one, or else the first entry
// with the combo's text (a typed name); -1 when there is none.
int SourceEntry(const DeviceLibrary& library) {
  const int count = static_cast<int>(library.cboDevice.size());
  if (library.SelectedIndex >= 0 && library.SelectedIndex < count &&
      library.SelectedIndex < static_cast<int>(library.DeviceSourceFiles.size())) {
    return library.SelectedIndex;
  }
  for (int i = 0; i < count && i < static_cast<int>(library.DeviceSourceFiles.size()); ++i) {
    if (library.cboDevice[i] == library.cboDeviceText) return i;
  }
  return -1;
}

// The pin a "Pin" (relative to the head) or "Pab" (absolute) record names.
int TargetOf(const FileRecord& record, int head) {
  const int base = record.Tag == RecordTag::Pin ? head : 0;
  return ((base + record.Numbers[0]) % kPinCount + kPinCount) % kPinCount;
}

// The pins the device would overwrite that hold a configuration, in the order found.
std::vector<int> PinsInUse(const PinArray& pins, int head, const std::vector<FileRecord>& records) {
  std::vector<int> used;
  auto note = [&](int pin) {
    if (PinHoldsConfiguration(pins[pin]) && std::find(used.begin(), used.end(), pin) == used.end()) used.push_back(pin);
  };
  note(head);
  for (const FileRecord& record : records) {
    if (record.Tag == RecordTag::Pin || record.Tag == RecordTag::Pab) note(TargetOf(record, head));
  }
  return used;
}

// Copies the device's records onto the pins from `head` on.
void ApplyDevice(PinArray& pins, int head, const std::string& name, const std::vector<FileRecord>& records) {
  DissolveDevice(pins, head);
  pins[head].DeviceDescription = name;
  int target = head;
  int aspect = 0;
  for (const FileRecord& record : records) {
    const std::vector<int>& n = record.Numbers;
    PinRecord& pin = pins[target];
    switch (record.Tag) {
      case RecordTag::Pin:
      case RecordTag::Pab: {
        target = TargetOf(record, head);
        if (target != head) DissolveDevice(pins, target);
        pins[target].DevicePointer = static_cast<int16_t>(head - target);
        ApplyPinHeader(pins[target], n[1], n[2], record.Texts[0]);
        break;
      }
      case RecordTag::Pam:
        pin.XDccAddressCount = static_cast<uint8_t>(n[0]);
        pin.DccAddressCount = static_cast<uint8_t>(n[1]);
        pin.SerialAddressCount = static_cast<uint8_t>(n[2]);
        break;
      case RecordTag::Cfg:
        // Bytes the record does not carry keep their values. The output's level follows
        // the loaded initial value, or a servo would be driven from a stale position.
        for (size_t i = 0; i < n.size(); ++i) pin.OutputConfig[i] = static_cast<uint8_t>(n[i]);
        pin.OutputLevel = pin.OutputConfig[1];
        break;
      case RecordTag::Asp:
        aspect = n[0];
        pin.Aspects[aspect].Description = record.Texts[0];
        break;
      case RecordTag::Ins:
        ApplyStepFields(pin.Aspects[aspect].Steps[n[0]], n[1], n[2], n[3], n[4], n[5]);
        break;
      default:
        break;
    }
  }
}

void RefreshAfterDeviceLoad(DataFileView& view) {
  view.BuildDccMap();
  view.BuildXDccMap();
  view.BuildSerialMap();
  view.ShowDccAddress();
  view.ShowXDccAddress();
  view.ShowSerialAddress();
  view.ShowPin();
  view.ShowOutputConfig();
  view.ShowDetails();
}

}  // namespace

bool LoadDevice(DeviceContext& context) {
  DeviceLibrary& library = context.Library;
  const std::string name = library.cboDeviceText;
  if (name.empty()) {
    context.Prompt.ShowMessage("Select Devicename to load");
    return false;
  }
  const int entry = SourceEntry(library);
  if (entry < 0) {
    context.Prompt.ShowMessage("No match found");
    return false;
  }
  const std::string& path = library.DeviceSourceFiles[entry];
  std::string text;
  std::string error;
  if (!ReadFileText(path, text, error)) {
    context.Prompt.ShowMessage("Could not open " + path + ": " + error, MessageIcon::Warning);
    return false;
  }
  return LoadDeviceText(context, text, name, std::filesystem::path(path).filename().string());
}

bool LoadDeviceText(DeviceContext& context, std::string_view text, const std::string& name,
                    const std::string& fileName) {
  // The device's records are read and checked before any pin changes.
  LineReader reader(text);
  std::vector<FileRecord> records;
  FileProblem problem;
  const DeviceSearch search = FindDevice(reader, name, problem);
  if (search == DeviceSearch::NotFound) {
    context.Prompt.ShowMessage("No match found");
    return false;
  }
  std::optional<FileProblem> damaged;
  if (search == DeviceSearch::Broken) damaged = problem;
  if (!damaged) damaged = ReadDeviceRecords(reader, records);
  if (damaged) {
    damaged->File = fileName;
    context.Prompt.ShowMessage(RefusalText("Invalid definition file", *damaged), MessageIcon::Warning);
    return false;
  }

  // Asked before anything changes: pins holding a configuration are only overwritten on OK.
  const int head = context.Model.CurrentPin % kPinCount;
  const std::vector<int> inUse = PinsInUse(context.Model.PinTable, head, records);
  if (!inUse.empty()) {
    std::string list;
    for (size_t i = 0; i < inUse.size(); ++i)
      list += (i ? ", " : " ") + std::to_string(inUse[i] + context.Model.NumberingOffset);
    const std::string question = "The following Pin numbers are already used and will be overwritten: \n" + list +
                                 "\nContinue?";
    if (context.Prompt.ShowMessage(question, MessageIcon::Warning, MessageButtons::OkCancel) != MessageAnswer::Ok)
      return false;
  }
  ApplyDevice(context.Model.PinTable, head, name, records);
  RefreshAfterDeviceLoad(context.View);
  return true;
}

}  // namespace brixo
