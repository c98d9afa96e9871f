#include "model/pin_overview.h"

#include <algorithm>
#include <cctype>

#include "model/address_maps.h"
#include "model/controller_encoding.h"
#include "model/device_membership.h"
#include "model/numeric_text.h"
#include "model/output_config.h"

namespace brixo {

namespace {

std::string LayoutText(uint8_t aspectConfig) {
  // An unknown code shows as no layout, as in the editor.
  return NumberText(AspectCountOf(aspectConfig));
}

std::string InitAspectText(const PinRecord& pin) {
  const int aspects = AspectCountOf(pin.AspectConfig);
  if (aspects == 0) return "-";
  // The editor shows an initial aspect beyond the layout as none.
  const int init = pin.InitAspect - 1;
  return NumberText(init < aspects ? init : -1);
}

// "1 Signal A": the head pin as displayed and its device name; empty for a pin that heads
// no device (no name and no members).
std::string DeviceText(const PinArray& pins, int p, int numberingOffset) {
  const int head = ReferredPinOf(pins, p);
  const std::string name = ShownDeviceDescription(pins, p);
  if (head == p && name.empty() && DeviceMembers(pins, p).size() <= 1) return {};
  const std::string number = NumberText(head + numberingOffset);
  return name.empty() ? number : number + " " + name;
}

void AddRange(PinOverviewRow& row, const std::string& first, int count) {
  if (first == "-" || count <= 0) return;
  const int start = ParseLeadingNumber(first);
  row.AddressRanges.emplace_back(start, start + count - 1);
}

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// A sort key: numbers before "-" and other texts; texts without regard to letter case; a
// pin address "1.2.3" by its numbers.
struct SortKey {
  int Rank = 0;  // 0 a number (or numbers), 1 a text, 2 empty or "-"
  std::vector<long> Numbers;
  std::string Text;
  auto operator<=>(const SortKey&) const = default;
};

SortKey KeyOfText(const std::string& text) {
  SortKey key;
  if (text.empty() || text == "-") {
    key.Rank = 2;
    return key;
  }
  size_t begin = 0;
  while (begin <= text.size()) {
    const size_t end = std::min(text.find('.', begin), text.size());
    const std::optional<long> number = ParseWholeNumber(std::string_view(text).substr(begin, end - begin));
    if (!number) {
      key.Numbers.clear();
      key.Rank = 1;
      key.Text = Lowered(text);
      return key;
    }
    key.Numbers.push_back(*number);
    begin = end + 1;
  }
  return key;
}

SortKey KeyOfNumber(int value) {
  SortKey key;
  key.Numbers.push_back(value);
  return key;
}

SortKey KeyOf(const PinOverviewRow& row, OverviewColumn column) {
  switch (column) {
    case OverviewColumn::Pin: return KeyOfNumber(row.Pin);
    case OverviewColumn::Description: return KeyOfText(row.Description);
    case OverviewColumn::Device: return KeyOfText(row.Device);
    case OverviewColumn::OutputType: return KeyOfText(row.OutputType);
    case OverviewColumn::Layout: return KeyOfText(row.Layout);
    case OverviewColumn::InitAspect: return KeyOfText(row.InitAspect);
    case OverviewColumn::DccFirst: return KeyOfText(row.DccFirst);
    case OverviewColumn::DccCount: return KeyOfNumber(row.DccCount);
    case OverviewColumn::XDccFirst: return KeyOfText(row.XDccFirst);
    case OverviewColumn::XDccCount: return KeyOfNumber(row.XDccCount);
    case OverviewColumn::SerialFirst: return KeyOfText(row.SerialFirst);
    case OverviewColumn::SerialCount: return KeyOfNumber(row.SerialCount);
    case OverviewColumn::PinAddress: return KeyOfText(row.PinAddress);
    case OverviewColumn::Changed: return KeyOfNumber(row.Changed ? 0 : 1);
  }
  return {};
}

}  // namespace

const char* OverviewColumnCaption(OverviewColumn column) {
  static constexpr const char* kCaptions[kOverviewColumnCount] = {
      "Pin",  "Description", "Device", "Output",   "Aspects", "Initial", "B-DCC", "#",
      "X-DCC", "#",          "Serial", "#",        "Module.Pin", "Changed"};
  return kCaptions[static_cast<int>(column)];
}

std::vector<PinOverviewRow> BuildPinOverview(const ConfigModel& model, const AddressInputs& in,
                                             const std::array<bool, kPinCount>& changed) {
  AddressMaps maps;
  BuildDccMap(model.PinTable, maps);
  BuildXDccMap(model.PinTable, maps);
  BuildSerialMap(model.PinTable, maps);
  AddressInputs inputs = in;
  inputs.NumberingOffset = model.NumberingOffset;
  std::vector<PinOverviewRow> rows;
  rows.reserve(kPinCount);
  for (int p = 0; p < kPinCount; ++p) {
    const PinRecord& pin = model.PinTable[p];
    inputs.CurrentPin = p;
    PinOverviewRow row;
    row.Pin = p;
    row.PinText = NumberText(p + model.NumberingOffset);
    row.Description = pin.Description;
    row.Device = DeviceText(model.PinTable, p, model.NumberingOffset);
    row.OutputType = OutputTypeInWords(pin.OutputConfig[0]);
    row.Layout = LayoutText(pin.AspectConfig);
    row.InitAspect = InitAspectText(pin);
    row.DccFirst = ShowDccAddress(model.PinTable, maps, inputs);
    row.DccCount = pin.DccAddressCount;
    row.XDccFirst = ShowXDccAddress(model.PinTable, maps, inputs);
    row.XDccCount = pin.XDccAddressCount;
    const SerialAddressLabels serial = ShowSerialAddress(model.PinTable, maps, inputs);
    row.SerialFirst = serial.lblSerialAddress;
    row.SerialCount = pin.SerialAddressCount;
    row.PinAddress = serial.lblPinAddress;
    row.Changed = changed[p];
    AddRange(row, row.DccFirst, row.DccCount);
    AddRange(row, row.XDccFirst, row.XDccCount);
    // Serial addresses end where the module's do, even within a pin's count.
    for (int k = 0; k < pin.SerialAddressCount; ++k) {
      if (const std::optional<int> address = SerialAddressNumber(inputs, maps.SerialStart[p] + k))
        row.AddressRanges.emplace_back(*address, *address);
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

bool RowMatchesFilter(const PinOverviewRow& row, const std::string& filter) {
  const size_t first = filter.find_first_not_of(' ');
  if (first == std::string::npos) return true;
  const std::string wanted = filter.substr(first, filter.find_last_not_of(' ') - first + 1);
  if (const std::optional<long> number = ParseWholeNumber(wanted)) {
    return std::any_of(row.AddressRanges.begin(), row.AddressRanges.end(),
                       [&](const auto& range) { return range.first <= *number && *number <= range.second; });
  }
  const std::string lowered = Lowered(wanted);
  return Lowered(row.Description).find(lowered) != std::string::npos ||
         Lowered(row.Device).find(lowered) != std::string::npos;
}

void SortRows(std::vector<PinOverviewRow>& rows, OverviewColumn column, bool ascending) {
  std::stable_sort(rows.begin(), rows.end(), [&](const PinOverviewRow& a, const PinOverviewRow& b) {
    const SortKey ka = KeyOf(a, column);
    const SortKey kb = KeyOf(b, column);
    if (ka != kb) return ascending ? ka < kb : kb < ka;
    return a.Pin < b.Pin;
  });
}

void PinOverview::Refresh(const ConfigModel& model, const AddressInputs& in,
                          const std::array<bool, kPinCount>& changed) {
  all_ = BuildPinOverview(model, in, changed);
  Arrange();
}

void PinOverview::SetFilter(const std::string& filter) {
  filter_ = filter;
  Arrange();
}

void PinOverview::SortBy(OverviewColumn column) {
  ascending_ = column == column_ ? !ascending_ : true;
  column_ = column;
  Arrange();
}

void PinOverview::Arrange() {
  shown_.clear();
  for (const PinOverviewRow& row : all_) {
    if (RowMatchesFilter(row, filter_)) shown_.push_back(row);
  }
  SortRows(shown_, column_, ascending_);
}

}  // namespace brixo
