#include "app/sheet_pin_sections.h"

#include "files/pin_group_records.h"
#include "model/controller_encoding.h"
#include "model/device_membership.h"
#include "model/numeric_text.h"
#include "model/output_config.h"
#include "model/output_config_words.h"
#include "model/program_words.h"
#include "model/time_line.h"

namespace brixo {

namespace {

constexpr const char* kDash = " \u2014 ";

std::string PinNumber(const ConfigModel& model, int pin) { return NumberText(pin + model.NumberingOffset); }

// "Entry signal A (pins 1, 2, 3)"; empty for a pin that is in no device.
std::string DeviceInWords(const ConfigModel& model, int p) {
  const PinArray& pins = model.PinTable;
  const int head = ReferredPinOf(pins, p);
  const std::string name = ShownDeviceDescription(pins, p);
  const std::vector<int> members = RefersToDevice(pins, p) ? DeviceMembers(pins, head) : std::vector<int>{};
  if (head == p && name.empty() && members.size() <= 1) return {};
  std::string list;
  for (const int member : members) list += (list.empty() ? "" : ", ") + PinNumber(model, member);
  const std::string shown = name.empty() ? "no name" : name;
  if (members.empty()) return shown;
  return shown + (members.size() == 1 ? " (pin " : " (pins ") + list + ")";
}

// The first address of each kind the pin answers to: "Serial 5, B-DCC 77, Module.Pin 1.5".
std::string FirstAddresses(const PinOverviewRow& row) {
  const std::pair<const char*, const std::string&> kinds[] = {
      {"Serial", row.SerialFirst}, {"B-DCC", row.DccFirst}, {"X-DCC", row.XDccFirst}, {"Module.Pin", row.PinAddress}};
  std::string text;
  for (const auto& [caption, first] : kinds) {
    if (first != "-") text += (text.empty() ? "" : ", ") + std::string(caption) + " " + first;
  }
  return text.empty() ? "none" : text;
}

std::string InitialAspectInWords(const PinOverviewRow& row) {
  return row.InitAspect == "-1" || row.InitAspect == "-" ? "none" : row.InitAspect;
}

std::string AspectsInWords(uint8_t aspectConfig) {
  const int aspects = AspectCountOf(aspectConfig);
  if (aspects == 0) return "none";
  return NumberText(aspects) + " aspects of " + NumberText(StepCountOf(aspectConfig)) + " steps";
}

bool AspectUsed(const PinRecord& pin, int aspect) {
  const AspectRecord& record = pin.Aspects[aspect];
  if (!record.Description.empty()) return true;
  for (int s = 0; s < StepCountOf(pin.AspectConfig); ++s) {
    if (record.Steps[s].Instruction != 0) return true;
  }
  return false;
}

std::vector<NamedValue> PinFields(const ConfigModel& model, const PinOverviewRow& row) {
  const PinRecord& pin = model.PinTable[row.Pin];
  std::vector<NamedValue> fields;
  if (!pin.Description.empty()) fields.push_back({"Description", pin.Description});
  if (const std::string device = DeviceInWords(model, row.Pin); !device.empty()) fields.push_back({"Device", device});
  fields.push_back({"Output", OutputTypeInWords(pin.OutputConfig[0])});
  for (NamedValue& parameter : OutputParametersInWords(pin)) fields.push_back(std::move(parameter));
  fields.push_back({"Nr Of Addresses", "Serial " + NumberText(row.SerialCount) + ", B-DCC " + NumberText(row.DccCount) +
                                           ", X-DCC " + NumberText(row.XDccCount)});
  fields.push_back({"Address", FirstAddresses(row)});
  fields.push_back({"Aspects", AspectsInWords(pin.AspectConfig)});
  if (AspectCountOf(pin.AspectConfig) > 0) fields.push_back({"Initial aspect", InitialAspectInWords(row)});
  return fields;
}

void AddAspect(SheetDocument& sheet, const ConfigModel& model, int pin, int aspect) {
  const std::string& description = model.PinTable[pin].Aspects[aspect].Description;
  std::string heading = "Aspect " + NumberText(aspect);
  if (!description.empty()) heading += kDash + description;
  sheet.AddHeading(3, heading);
  const std::vector<ProgramLine> lines = AspectInWords(model, pin, aspect);
  if (lines.empty()) {
    sheet.AddParagraph("No steps");
    return;
  }
  std::vector<std::vector<std::string>> rows;
  for (const ProgramLine& line : lines) {
    // The words without the step number that heads each line.
    const std::string number = NumberText(line.Step);
    rows.push_back({number, line.Text.substr(std::min(line.Text.size(), number.size() + 2))});
  }
  // The program stays together, and with its time line.
  sheet.AddTable({"Step", "In words"}, std::move(rows), true, true);
  const TimeLine timeLine = LayOutTimeLine(model, pin, aspect, kSheetPictureWidth);
  sheet.AddPicture({TimeLineSvg(timeLine), timeLine.Width, timeLine.Height,
                    "Time line of pin " + PinNumber(model, pin) + ", aspect " + NumberText(aspect)});
}

void AddPin(SheetDocument& sheet, const ConfigModel& model, const PinOverviewRow& row) {
  const PinRecord& pin = model.PinTable[row.Pin];
  std::string heading = "Pin " + row.PinText;
  if (!pin.Description.empty()) heading += kDash + pin.Description;
  sheet.AddHeading(2, heading);
  sheet.AddFields(PinFields(model, row));
  std::string unused;
  for (int aspect = 0; aspect < AspectCountOf(pin.AspectConfig); ++aspect) {
    if (AspectUsed(pin, aspect))
      AddAspect(sheet, model, row.Pin, aspect);
    else
      unused += (unused.empty() ? "" : ", ") + NumberText(aspect);
  }
  if (!unused.empty()) sheet.AddParagraph("Aspects without a description or steps: " + unused + ".");
}

}  // namespace

void AddPinSections(SheetDocument& sheet, const ConfigModel& model, const std::vector<PinOverviewRow>& rows) {
  for (const PinOverviewRow& row : rows) {
    if (row.Pin >= 0 && row.Pin < kPinCount && PinHoldsConfiguration(model.PinTable[row.Pin]))
      AddPin(sheet, model, row);
  }
}

}  // namespace brixo
