// The configuration sheet of the demo layout, read as a user reads it: the title block,
// which pins get a section, the event table and a servo pin with its device and aspects.
#include "app/configuration_sheet.h"

#include <algorithm>

#include "app_test_support.h"
#include "files/data_file.h"
#include "support/named_value_print.h"

namespace brixo::testing {
namespace {

class ConfigurationSheetTest : public ::testing::Test {
 protected:
  ConfigurationSheetTest() { EXPECT_TRUE(LoadDataFileFrom(app.DataFiles(), DataFile("demo.dat"))); }

  SheetDocument Sheet() { return BuildConfigurationSheet(app, {"demo.dat", "2026-12-08"}); }

  // The blocks after the heading, up to the next heading of its level or above.
  static std::vector<SheetBlock> Under(const SheetDocument& sheet, const std::string& heading) {
    auto at = std::find_if(sheet.Blocks.begin(), sheet.Blocks.end(),
                           [&](const SheetBlock& b) { return b.Kind == SheetBlockKind::Heading && b.Text == heading; });
    EXPECT_NE(at, sheet.Blocks.end()) << heading;
    if (at == sheet.Blocks.end()) return {};
    const int level = at->Level;
    std::vector<SheetBlock> blocks;
    for (++at; at != sheet.Blocks.end() && !(at->Kind == SheetBlockKind::Heading && at->Level <= level); ++at)
      blocks.push_back(*at);
    return blocks;
  }
  static std::vector<std::string> Headings(const std::vector<SheetBlock>& blocks, int level) {
    std::vector<std::string> texts;
    for (const SheetBlock& b : blocks)
      if (b.Kind == SheetBlockKind::Heading && b.Level == level) texts.push_back(b.Text);
    return texts;
  }

  ManualClock clock;
  RecordingPrompt prompt;
  NoFileChooser chooser;
  AppState app{prompt, chooser, SimulatedOnly(clock)};
};

TEST_F(ConfigurationSheetTest, TitleBlockTellsTheFirmwareVersionOnlyWhenKnown) {
  const std::vector<NamedValue> unknown = Under(Sheet(), "Brixo Configuration Sheet").at(0).Fields;
  EXPECT_EQ(unknown, (std::vector<NamedValue>{{"ID String", "Demo Layout"},
                                              {"File", "demo.dat"},
                                              {"Date", "2026-12-08"},
                                              {"Addresses for", "module address 1"},
                                              {"Numbering", "pins and addresses from 1"}}));
  app.General().LabelGenVersionString = "3.21.0.1";
  app.SetStartNumberingAtOne(false);
  app.Link().CheckXaddress = true;
  app.Link().ExtendedAddress = 4;
  const SheetDocument sheet = Sheet();
  const std::vector<NamedValue> known = Under(sheet, "Brixo Configuration Sheet").at(0).Fields;
  EXPECT_EQ(known.at(3), (NamedValue{"Firmware Version", "3.21.0.1"}));
  EXPECT_EQ(known.at(4), (NamedValue{"Addresses for", "module address 0, extended address 4"}));
  EXPECT_EQ(sheet.Footer, "Demo Layout \u00b7 demo.dat \u00b7 2026-12-08");
}

TEST_F(ConfigurationSheetTest, EveryPinThatHoldsConfigurationHasASectionAndNoOther) {
  const SheetDocument sheet = Sheet();
  EXPECT_EQ(
      Headings(sheet.Blocks, 2),
      (std::vector<std::string>{
          "General Settings", "Event Control", "Pin Overview", "Pin 1 \u2014 A red", "Pin 2 \u2014 A yellow",
          "Pin 3 \u2014 A green", "Pin 4 \u2014 B red", "Pin 5 \u2014 B green", "Pin 6 \u2014 C red",
          "Pin 7 \u2014 C green", "Pin 9 \u2014 W1 servo", "Pin 10 \u2014 W2 servo", "Pin 11 \u2014 W2 frog relay",
          "Pin 17 \u2014 Station hall light", "Pin 18 \u2014 Platform lamps", "Pin 25 \u2014 Track 1 occupied"}));
  // A pin with nothing but a name is configured too; one without it is not.
  app.Model().PinTable[31].Description = "Spare";
  app.Model().PinTable[24] = PinRecord{};
  const std::vector<std::string> after = Headings(Sheet().Blocks, 2);
  EXPECT_EQ(after.back(), "Pin 32 \u2014 Spare");
  EXPECT_EQ(std::count(after.begin(), after.end(), "Pin 25 \u2014 Track 1 occupied"), 0);
}

TEST_F(ConfigurationSheetTest, EventTableTellsEachPinsActions) {
  const std::vector<SheetBlock> events = Under(Sheet(), "Event Control");
  ASSERT_EQ(events.size(), 3u);
  // The demo's file holds no enable map.
  EXPECT_EQ(events[1].Fields.at(0),
            (NamedValue{"Enabled at start", "not known (the configuration holds no enable map)"}));
  app.Events().EnableMapKnown = true;
  app.Events().CheckInitEE = {true, false, true, false, false, false, false, true};
  EXPECT_EQ(Under(Sheet(), "Event Control")[1].Fields.at(0).Value, "ON events: 0, 2; OFF events: 3");
  const SheetTable& table = events[2].Table;
  EXPECT_EQ(table.Header.at(2), "Input 0 ON");
  EXPECT_EQ(table.Header.at(9), "Input 3 OFF");
  ASSERT_EQ(table.Rows.size(), size_t(kPinCount));
  EXPECT_EQ(table.Rows[0],
            (std::vector<std::string>{"1", "A red", "aspect 0", "aspect 2", "-", "-", "-", "-", "-", "-"}));
  EXPECT_EQ(table.Rows[8],
            (std::vector<std::string>{"9", "W1 servo", "-", "-", "aspect 1", "aspect 0", "-", "-", "-", "-"}));
}

TEST_F(ConfigurationSheetTest, ServoPinTellsItsPageItsDeviceAndItsAspects) {
  const SheetDocument sheet = Sheet();
  const std::vector<SheetBlock> servo = Under(sheet, "Pin 10 \u2014 W2 servo");
  const std::vector<NamedValue>& fields = servo.at(0).Fields;
  const std::vector<NamedValue> expected{{"Description", "W2 servo"},
                                         {"Device", "Turnout W2 (pins 10, 11)"},
                                         {"Output", "servo"},
                                         {"Range", "M"},
                                         {"Auto Suspend", "yes"},
                                         {"Suspended", "no"},
                                         {"Initial Position", "0"},
                                         {"Midpoint", "0"},
                                         {"1/Mass", "127"},
                                         {"Damping", "58"},
                                         {"MaxSpd", "20"},
                                         {"MaxAcc", "10"},
                                         {"BounceDown", "0"},
                                         {"BounceDownFactor", "0"},
                                         {"BounceUp", "0"},
                                         {"BounceUpFactor", "0"},
                                         {"Nr Of Addresses", "Serial 1, B-DCC 1, X-DCC 0"},
                                         {"Address", "Serial 6, B-DCC 83, Module.Pin 1.6"}};
  ASSERT_GE(fields.size(), expected.size());
  EXPECT_EQ(std::vector<NamedValue>(fields.begin(), fields.begin() + expected.size()), expected);
  EXPECT_EQ(Headings(servo, 3), (std::vector<std::string>{"Aspect 0 \u2014 Straight", "Aspect 1 \u2014 Diverging"}));
  // Each aspect: its steps in words, then its time line; the unused two are named once.
  EXPECT_EQ(servo.at(2).Table.Rows.size(), 2u);
  EXPECT_EQ(servo.at(3).Kind, SheetBlockKind::Picture);
  EXPECT_NE(servo.at(3).Picture.Svg.find("Straight"), std::string::npos);
  EXPECT_EQ(servo.back().Text, "Aspects without a description or steps: 2, 3.");
  EXPECT_EQ(Under(sheet, "Pin 11 \u2014 W2 frog relay").at(0).Fields.at(1),
            (NamedValue{"Device", "Turnout W2 (pins 10, 11)"}));
}

}  // namespace
}  // namespace brixo::testing
