// "addresses" and "program": what a data file holds, told as the window tells it. The CSV
// of every pin reads back to the texts of the pin editor's labels under the same link
// options; the program's words are the device tab's, and its picture is written.
#include "app/app_state.h"
#include "cli_test_support.h"
#include "files/data_file.h"
#include "model/pin_overview.h"
#include "model/program_words.h"
#include "support/csv_records.h"
#include "support/random_configuration.h"
#include "support/recording_prompt.h"
#include "support/scripted_chooser.h"

namespace brixo::testing {
namespace {

struct LinkOptions {
  bool ZeroBased = false;
  int Module = -1;  // as displayed; -1: not given
  int XAddress = -1;
};

// The window's editor with the file loaded and the link set as the options say: the
// labels it shows with each pin chosen in the pin box.
std::vector<std::vector<std::string>> EditorRows(const std::string& file, const LinkOptions& o) {
  RecordingPrompt prompt;
  ScriptedChooser chooser;
  AppStateOptions options;
  options.LoadDeviceDefinitions = false;
  AppState app(prompt, chooser, options);
  app.SetStartNumberingAtOne(!o.ZeroBased);
  EXPECT_TRUE(LoadDataFileFrom(app.DataFiles(), file));
  const int offset = o.ZeroBased ? 0 : 1;
  if (o.Module >= 0) app.Addresses().CommitModuleAddressText(std::to_string(o.Module), offset);
  if (o.XAddress >= 0) {
    app.Addresses().SetExtendedAddressing(true);
    app.Addresses().CommitExtendedAddressText(std::to_string(o.XAddress), offset);
  }
  app.UpdateAddressInputs();
  std::vector<std::vector<std::string>> rows;
  for (int p = 0; p < kPinCount; ++p) {
    const std::string shown = std::to_string(p + offset);
    app.Pins().SelectPin(shown);
    const AddressPanelView& v = app.Pins().Addresses().View();
    const PinRecord& pin = app.Model().PinTable[p];
    rows.push_back({shown, pin.Description, "", v.lblDCCAddress, v.TextPaspDCCn, v.lblXDCCAddress, v.TextPAspXDCCn,
                    v.Serial.lblSerialAddress, v.TextPaspTamlon, v.Serial.lblPinAddress});
  }
  return rows;
}

TEST(CliAddresses, CsvCarriesTheEditorsLabelsUnderEveryLinkOption) {
  ScratchFolder folder;
  for (unsigned seed = 1; seed <= 8; ++seed) {
    ConfigurationDice dice(seed);
    RandomConfiguration c = dice.Configuration();
    bool quotes = false;
    const std::string file = folder / ("random" + std::to_string(seed) + ".dat");
    WriteText(file, ComposeDataFile(c.Model, c.General, c.Events, false, quotes));
    LinkOptions o;
    o.ZeroBased = dice.Coin();
    const int first = o.ZeroBased ? 0 : 1;
    std::vector<std::string> args{"addresses", file, "--csv"};
    if (o.ZeroBased) args.push_back("--zero-based");
    if (dice.Coin()) {
      o.Module = dice.Between(first, first + 15);
      args.insert(args.end(), {"--module", std::to_string(o.Module)});
    }
    if (dice.Coin()) {
      o.XAddress = dice.Between(first, first + 95);
      args.insert(args.end(), {"--xaddr", std::to_string(o.XAddress)});
    }
    const ProgramResult run = RunCli(args);
    SCOPED_TRACE("seed " + std::to_string(seed) + ": " + run.Err);
    ASSERT_EQ(run.Status, 0);
    const auto records = ParseCsv(run.Out);
    const auto expected = EditorRows(file, o);
    ASSERT_EQ(records.size(), expected.size() + 1);
    EXPECT_EQ(records[0], ParseCsv(std::string(kAddressesCsvHeader) + "\n")[0]);
    for (size_t r = 0; r < expected.size(); ++r) {
      std::vector<std::string> got = records[r + 1];
      ASSERT_EQ(got.size(), 10u);
      got[2] = "";  // the device column is checked with the overview's own tests
      EXPECT_EQ(got, expected[r]) << "pin " << expected[r][0];
    }
  }
}

TEST(CliAddresses, TableAndUsage) {
  const ProgramResult table = RunCli({"addresses", DataFile("demo.dat")});
  ASSERT_EQ(table.Status, 0) << table.Err;
  const auto lines = Lines(table.Out);
  ASSERT_EQ(lines.size(), 33u);
  EXPECT_EQ(lines[0].rfind("Pin  Description", 0), 0u) << lines[0];
  EXPECT_NE(lines[1].find("A red"), std::string::npos);
  EXPECT_NE(lines[1].find("1 Entry signal A"), std::string::npos);
  EXPECT_NE(lines[1].find("PWM output"), std::string::npos);

  EXPECT_EQ(RunCli({"addresses", DataFile("demo.dat"), "--module", "17"}).Status, 2);
  EXPECT_EQ(RunCli({"addresses", DataFile("demo.dat"), "--svg", "x.svg"}).Status, 2);
  EXPECT_EQ(RunCli({"addresses", "/nonexistent.dat"}).Status, 2);
}

TEST(CliProgram, PrintsTheDeviceTabsWordsAndWritesTheTimeLine) {
  ScratchFolder folder;
  const std::string svg = folder / "flicker.svg";
  // Pin 17 aspect 3 of the demo: random waits and a jump back.
  const ProgramResult run = RunCli({"program", DataFile("demo.dat"), "17", "3", "--svg", svg});
  ASSERT_EQ(run.Status, 0) << run.Err;
  RecordingPrompt prompt;
  ScriptedChooser chooser;
  AppStateOptions options;
  options.LoadDeviceDefinitions = false;
  AppState app(prompt, chooser, options);
  ASSERT_TRUE(LoadDataFileFrom(app.DataFiles(), DataFile("demo.dat")));
  EXPECT_EQ(run.Out, ProgramText(AspectInWords(app.Model(), 16, 3)));
  EXPECT_EQ(Lines(run.Out).back(), "2: Jump to aspect 3, step 0");
  const std::string picture = ReadText(svg);
  EXPECT_EQ(picture.rfind("<?xml", 0), 0u);
  EXPECT_NE(picture.find(">repeats<"), std::string::npos);
  EXPECT_NE(picture.find(">0 random<"), std::string::npos);

  const struct {
    std::vector<std::string> Args;
    const char* Error;
  } refused[] = {
      {{"program", DataFile("demo.dat"), "17", "4"}, "aspect must be a number from 0 to 3: 4"},
      {{"program", DataFile("demo.dat"), "8", "0"}, "pin 8 has no aspects (layout 0)"},
      {{"program", DataFile("demo.dat"), "33", "0"}, "pin must be a number from 1 to 32: 33"},
  };
  for (const auto& c : refused) {
    const ProgramResult bad = RunCli(c.Args);
    EXPECT_EQ(bad.Status, 2);
    EXPECT_NE(bad.Err.find(c.Error), std::string::npos) << bad.Err;
  }
}

}  // namespace
}  // namespace brixo::testing
