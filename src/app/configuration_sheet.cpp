#include "app/configuration_sheet.h"

#include <algorithm>
#include <cctype>
#include <ctime>

#include "app/app_state.h"
#include "app/sheet_pin_sections.h"
#include "model/numeric_text.h"
#include "model/pin_overview.h"
#include "transfer/general_settings_words.h"

namespace brixo {

namespace {

constexpr const char* kSheetTitle = "Brixo Configuration Sheet";

std::string AddressesFor(const AddressInputs& in, int offset) {
  std::string text = "module address " + NumberText(in.ModuleAddress + offset);
  if (in.CheckXaddress) text += ", extended address " + NumberText(in.ExtendedAddress + offset);
  return text;
}

void AddTitleBlock(SheetDocument& sheet, AppState& app, const SheetFacts& facts) {
  const GeneralSettings& g = app.General();
  const int offset = app.Model().NumberingOffset;
  sheet.AddHeading(1, kSheetTitle);
  std::vector<NamedValue> fields;
  fields.push_back({"ID String", g.TextGenIDString.empty() ? "none" : g.TextGenIDString});
  fields.push_back({"File", facts.FileName});
  fields.push_back({"Date", facts.Date});
  if (!g.LabelGenVersionString.empty() && g.LabelGenVersionString != "Unknown")
    fields.push_back({"Firmware Version", g.LabelGenVersionString});
  fields.push_back({"Addresses for", AddressesFor(app.Pins().Addresses().Inputs(), offset)});
  fields.push_back({"Numbering", "pins and addresses from " + NumberText(offset)});
  sheet.AddFields(std::move(fields));
  sheet.AddParagraph(
      "After the pin overview, each pin that holds any configuration is described on its own; aspects without a "
      "description or steps are left out.");
}

void AddGeneralSettings(SheetDocument& sheet, AppState& app) {
  sheet.AddHeading(2, "General Settings");
  for (SettingsGroup& group : GeneralSettingsInWords(app.General(), app.Model().NumberingOffset)) {
    sheet.AddHeading(3, group.Title);
    sheet.AddFields(std::move(group.Items));
  }
}

void AddEventControl(SheetDocument& sheet, AppState& app) {
  const EventControlState& ev = app.Events();
  const ConfigModel& model = app.Model();
  sheet.AddHeading(2, "Event Control");
  sheet.AddParagraph("The aspect each pin shows when an event input turns on (ON) or off (OFF); \"-\" for none.", true);
  sheet.AddFields({{"Enabled at start", EnableMapInWords(ev)}}, true);
  std::vector<std::string> header{"Pin", "Description"};
  for (int i = 0; i < kEventInputCount; ++i) {
    header.push_back("Input " + NumberText(i) + " ON");
    header.push_back("Input " + NumberText(i) + " OFF");
  }
  std::vector<std::vector<std::string>> rows;
  for (int p = 0; p < kPinCount; ++p) {
    std::vector<std::string> row{NumberText(p + model.NumberingOffset), model.PinTable[p].Description};
    for (int i = 0; i < kEventInputCount; ++i) {
      row.push_back(EventActionInWords(ev.OnAction[p][i]));
      row.push_back(EventActionInWords(ev.OffAction[p][i]));
    }
    rows.push_back(std::move(row));
  }
  sheet.AddTable(std::move(header), std::move(rows));
}

void AddOverview(SheetDocument& sheet, AppState& app, const std::vector<PinOverviewRow>& rows) {
  sheet.AddHeading(2, "Pin Overview");
  sheet.AddParagraph("Every pin's first address of each kind and how many it has (#), for " +
                         AddressesFor(app.Pins().Addresses().Inputs(), app.Model().NumberingOffset) + ".",
                     true);
  std::vector<std::string> header;
  // The overview window's columns; whether a pin changed since the last save is no matter for paper.
  for (int c = 0; c < kOverviewColumnCount; ++c) {
    if (static_cast<OverviewColumn>(c) != OverviewColumn::Changed)
      header.emplace_back(OverviewColumnCaption(static_cast<OverviewColumn>(c)));
  }
  std::vector<std::vector<std::string>> cells;
  for (const PinOverviewRow& row : rows) {
    cells.push_back({row.PinText, row.Description, row.Device, row.OutputType,
                     row.Layout, row.InitAspect, row.DccFirst, NumberText(row.DccCount), row.XDccFirst,
                     NumberText(row.XDccCount), row.SerialFirst, NumberText(row.SerialCount), row.PinAddress});
  }
  sheet.AddTable(std::move(header), std::move(cells));
}

}  // namespace

SheetDocument BuildConfigurationSheet(AppState& app, const SheetFacts& facts) {
  app.UpdateAddressInputs();
  SheetDocument sheet;
  const std::string id = app.General().TextGenIDString;
  sheet.Title = std::string(kSheetTitle) + (id.empty() ? "" : " \u2014 " + id);
  sheet.Footer = (id.empty() ? "" : id + " \u00b7 ") + facts.FileName + " \u00b7 " + facts.Date;
  AddTitleBlock(sheet, app, facts);
  AddGeneralSettings(sheet, app);
  AddEventControl(sheet, app);
  const std::vector<PinOverviewRow> rows = BuildPinOverview(app.Model(), app.Pins().Addresses().Inputs());
  AddOverview(sheet, app, rows);
  AddPinSections(sheet, app.Model(), rows);
  return sheet;
}

std::string TodayText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[16];
  std::strftime(text, sizeof text, "%Y-%m-%d", &local);
  return text;
}

SheetFormat SheetFormatOf(const std::string& path) {
  const size_t dot = path.find_last_of("./");
  if (dot == std::string::npos || path[dot] != '.') return SheetFormat::Unknown;
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == "html" || extension == "htm") return SheetFormat::Html;
  if (extension == "pdf") return SheetFormat::Pdf;
  return SheetFormat::Unknown;
}

}  // namespace brixo
