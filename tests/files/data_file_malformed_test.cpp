#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "files_test_support.h"

namespace brixo::testing {
namespace {

// A sound file to break: one described pin with an aspect and two steps.
std::string SoundFile() {
  ConfigModel model;
  GeneralSettings general;
  EventControlState events;
  general.TextGenIDString = "Loaded";
  events.OnAction[2][1] = 5;
  PinRecord& pin = model.PinTable[3];
  pin.Description = "Signal";
  pin.AspectConfig = 3;
  pin.OutputConfig = {2, 0, 0, 28, 0, 31};
  pin.Aspects[1].Description = "Clear";
  pin.Aspects[1].Steps[0] = {9, 1, 1, 0, 0, 0};
  pin.Aspects[1].Steps[4] = {102, 0, 0, 0, 15, 0};
  bool quotes;
  return ComposeDataFile(model, general, events, true, quotes);
}

// Each refusal says where and why on its second line. The sound file's lines: 1 header,
// 2 "ID$" .. 7 "SPC", 8..39 "Eon", 40..71 "Eof", 72 "Ena", then pin 3: 73 "Pin", 74 "Dev",
// 75 "Cfg", 76 "PAM", 77 "Asp", 78 and 79 "Ins", 80 "End".
TEST_F(FilesTest, MalformedFilesChangeNothingAndAreNamedByLine) {
  const std::string sound = SoundFile();
  const size_t lastQuote = sound.rfind('"');
  const struct {
    const char* name;
    std::string text;
    std::string where;  // the message's second line, after "broken.dat"
  } cases[] = {
      {"empty file", "", ": the file is empty"},
      {"wrong keyword", Replace(sound, "BrixoConfiguration 3100", "BrixoConfig 3100"),
       ", line 1: not a configuration file (it begins with no \"BrixoConfiguration \" and a version)"},
      {"header too long", Replace(sound, "BrixoConfiguration 3100", "BrixoConfiguration 31000"),
       ", line 1: not a configuration file (it begins with no \"BrixoConfiguration \" and a version)"},
      {"more than the header on its line", Replace(sound, "3100\"", "3100\",5"), ", line 1: more than the header on its line"},
      {"truncated before End", Replace(sound, "End\r\n", ""), ": the file ends before \"End\""},
      {"cut in a record", sound.substr(0, sound.find("Ins,4") + 7), ", line 79: Ins: too few fields: Par0 (field 3) is missing"},
      {"byte above 255", Replace(sound, "Pin,3,3,0", "Pin,3,3,256"), ", line 73: Pin: initial aspect 256 is above 255"},
      {"16-bit out of range", Replace(sound, "Dev,0", "Dev,40000"), ", line 74: Dev: device pointer 40000 is above 28"},
      {"event value minus one out of range", Replace(sound, "Eon,5,1,1,1,1", "Eon,5,1,-32768,1,1"),
       ", line 13: Eon: input 1 ON -32768 is below -32767"},
      {"pin above 31", Replace(sound, "Pin,3,", "Pin,32,"), ", line 73: Pin: pin number 32 is above 31"},
      {"event pin above 31", Replace(sound, "Eof,7,", "Eof,32,"), ", line 47: Eof: event pin 32 is above 31"},
      {"aspect above 11", Replace(sound, "Asp,1,", "Asp,12,"), ", line 77: Asp: aspect number 12 is above 11"},
      {"step above 8", Replace(sound, "Ins,4,", "Ins,9,"), ", line 79: Ins: step number 9 is above 8"},
      {"step code above 127", Replace(sound, "Ins,4,102", "Ins,4,200"), ", line 79: Ins: instruction 200 is above 127"},
      {"device head outside the pins", Replace(sound, "Dev,0", "Dev,-4"), ", line 74: Dev: device pointer -4 is below -3"},
      {"text in a number field", Replace(sound, "PAM,0,0,0", "PAM,0,x,0"), ", line 76: PAM: DCC address count x is not a whole number"},
      {"missing field at the end", Replace(sound, "Ins,4,102,0,0,15,0\r\nEnd", "Ins,4,102,0,0\r\nEnd"),
       ", line 79: Ins: too few fields: Par2 (field 5) is missing"},
      {"missing closing quote", sound.substr(0, lastQuote) + sound.substr(lastQuote + 1),
       ", line 77: a text whose closing quote is missing"},
      // A record that lost a field takes none from the next line.
      {"pin without its description", Replace(sound, "Pin,3,3,0,\"Signal\"", "Pin,3,3,0"),
       ", line 73: Pin: too few fields: description (field 4) is missing"},
      {"aspect without its description", Replace(sound, "Asp,1,\"Clear\"", "Asp,1"),
       ", line 77: Asp: too few fields: description (field 2) is missing"},
      {"a field too many", Replace(sound, "PAM,0,0,0", "PAM,0,0,0,0"), ", line 76: PAM: too many fields: 4 where 3 belong"},
      {"End with a field", Replace(sound, "End\r\n", "End,1\r\n"), ", line 80: End: too many fields: 1 where 0 belong"},
      // A control character in place of a comma or a line end would run fields together.
      {"NUL in place of a comma", Replace(sound, "Ins,4,102,", std::string("Ins,4,102\0", 10)),
       ", line 79: control character 0x00 outside quotes"},
      {"control byte in place of a line end", Replace(sound, "\"Clear\"\r\n", "\"Clear\"\x1e"),
       ", line 77: control character 0x1E outside quotes"},
      {"control byte in an event record", Replace(sound, "Eon,2,1,6,1,1", "Eon,2,1,6\x02,1"),
       ", line 10: control character 0x02 outside quotes"},
      // Values of the right width that the controller cannot hold.
      {"address counts beyond their bits", Replace(sound, "PAM,0,0,0", "PAM,1,9,13"),
       ", line 76: PAM: DCC address count 9 is above 7"},
      {"serial address count beyond its bits", Replace(sound, "PAM,0,0,0", "PAM,0,0,9"),
       ", line 76: PAM: serial address count 9 is above 7"},
      {"DCC addresses beyond 510 and 2046", Replace(sound, "DCC,1,1,0", "DCC,9999,5000,0"),
       ", line 3: DCC: DCC address 9999 is above 510"},
      {"DCC address below 0", Replace(sound, "DCC,1,1,0", "DCC,-1,1,0"), ", line 3: DCC: DCC address -1 is below 0"},
      {"DCC address that is no whole number", Replace(sound, "DCC,1,1,0", "DCC,12.5,1,0"),
       ", line 3: DCC: DCC address 12.5 is not a value a controller holds"},
      {"extended address 200", Replace(sound, "XAD,0,0,0,", "XAD,0,0,200,"),
       ", line 4: XAD: module extended address 200 is above 127"},
      {"extended address between 95 and the enforced 127", Replace(sound, "XAD,0,0,0,", "XAD,0,0,96,"),
       ", line 4: XAD: module extended address 96 is not a value a controller holds (it holds 0 to 95 and 127)"},
      {"flexible start address without flexible addressing", Replace(sound, "XAD,0,0,0,", "XAD,5,0,0,"),
       ", line 4: XAD: flexible start address / 4 is 5, not a value a controller holds (it holds 0 and 64)"},
      {"group mask beyond four groups", Replace(sound, "XAD,0,0,0,0,0,0,0", "XAD,0,0,0,0,16,0,0"),
       ", line 4: XAD: extended group mask 1 is 16, above 15"},
      {"hardware group byte 4", Replace(sound, "HWC,0,0,0,0", "HWC,0,4,0,0"),
       ", line 5: HWC: hardware configuration group 1 is 4, above 3"},
      {"LED byte beyond seven bits", Replace(sound, "LED,0,0", "LED,128,0"), ", line 6: LED: green LED functions 128 is above 127"},
      {"unknown bit rate", Replace(sound, "\"9600\"", "\"1234\""),
       ", line 7: SPC: serial port bit rate 1234 is not a value a controller holds"},
      {"five data bits", Replace(sound, "SPC,0,\"9600\",8", "SPC,0,\"9600\",5"),
       ", line 7: SPC: serial port data bits 5 is below 7"},
      {"parity code 1", Replace(sound, "SPC,0,\"9600\",8,0", "SPC,0,\"9600\",8,1"),
       ", line 7: SPC: serial port parity 1 is not a value a controller holds (it holds 0 and 2 to 3)"},
      {"action 15", Replace(sound, "Eon,2,1,6,1,1", "Eon,2,1,16,1,1"), ", line 10: Eon: input 1 ON 16 is above 15"},
      {"enable map beyond four inputs", Replace(sound, "Ena,15,15", "Ena,16,15"), ", line 72: Ena: initial event ON mask 16 is above 15"},
      {"identification string of 13 characters",
       Replace(sound, "Ena,15,15", "Ena,15,15\r\nIDB,13,65,65,65,65,65,65,65,65,65,65,65,65,65"),
       ", line 73: IDB: character count 13 is above 12"},
      {"identification character beyond seven bits", Replace(sound, "Ena,15,15", "Ena,15,15\r\nIDB,1,128"),
       ", line 73: IDB: character 1 is 128, above 127"},
      {"layout code beyond seven bits", Replace(sound, "Pin,3,3,0", "Pin,3,128,0"), ", line 73: Pin: layout 128 is above 127"},
      {"initial aspect 16", Replace(sound, "Pin,3,3,0", "Pin,3,3,17"), ", line 73: Pin: initial aspect 17 is above 15"},
      {"output byte beyond seven bits", Replace(sound, "Cfg,2,0,0,28,0,31", "Cfg,2,0,0,28,0,131"),
       ", line 75: Cfg: output byte 5 is 131, above 127"},
      {"step parameter beyond seven bits", Replace(sound, "Ins,4,102,0,0,15,0", "Ins,4,102,0,0,15,128"),
       ", line 79: Ins: Par3 is 128, above 127"},
      {"offset on a SendSerial step", Replace(sound, "Ins,4,102,0,0,15,0", "Ins,4,4,3,0,15,0"), ", line 79: Ins: Par0 is 3, above 0"},
      {"binary garbage", std::string("\x00\xff\x22\x01\x80,\r\n\x7f", 9), ", line 1: control character 0x00 outside quotes"},
      {"garbage after the header", std::string("\"BrixoConfiguration 3100\"\r\n\xfe\x00\x01", 30),
       ", line 2: control character 0x00 outside quotes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    prompt.Clear();
    view.Calls.clear();
    WriteAll(PathOf("broken.dat"), c.text);
    bool quotes;
    const std::string before = ComposeDataFile(model, general, events, false, quotes);
    const ConfigModel modelBefore = model;
    const EventControlState eventsBefore = events;

    EXPECT_FALSE(LoadDataFileFrom(data, PathOf("broken.dat")));
    ASSERT_FALSE(prompt.Shown.empty());
    const std::string& told = prompt.Shown.back().Text;
    EXPECT_EQ(told.substr(0, told.find('\n')), "Invalid configuration file");
    // Where and why, the field named as the field table names it.
    EXPECT_EQ(told.substr(told.find('\n') + 1), "broken.dat" + c.where);
    EXPECT_EQ(prompt.Shown.back().Icon, MessageIcon::Warning);
    EXPECT_TRUE(view.Calls.empty());
    EXPECT_EQ(model.PinTable, modelBefore.PinTable);
    EXPECT_EQ(events.OnAction, eventsBefore.OnAction);
    EXPECT_EQ(events.OffAction, eventsBefore.OffAction);
    EXPECT_EQ(ComposeDataFile(model, general, events, false, quotes), before);
  }
  // The sound file itself loads, and so do forms of it the format allows: blank lines, line
  // feeds alone, and records this reader does not know, skipped whole even where they hold
  // a tag's word ("Pin" here would otherwise take pin 9).
  const std::string forms[] = {
      sound,
      Replace(sound, "\r\nEnd", "\r\n\r\n   \r\nEnd"),
      [&sound] {
        std::string lineFeeds = sound;
        for (size_t at; (at = lineFeeds.find("\r\n")) != std::string::npos;) lineFeeds.replace(at, 2, "\n");
        return lineFeeds;
      }(),
      Replace(sound, "End\r\n", "Xyz,Pin,9,0,0,\"New\",\"a, b\"\r\nXy2\r\nEnd\r\n"),
  };
  for (const std::string& form : forms) {
    prompt.Clear();
    model = ConfigModel{};
    ASSERT_TRUE(LoadDataFileText(data, form)) << Messages();
    EXPECT_EQ(Messages(), "");
    EXPECT_EQ(general.TextGenIDString, "Loaded");
    EXPECT_EQ(model.PinTable[3].Description, "Signal");
    EXPECT_EQ(model.PinTable[9].Description, "");
  }
}

// A line whose tag is unknown is skipped, as older readers must skip newer records. When
// the pin group records behind it land where earlier records of a pin landed already (a
// mistyped "Pin" or "Asp"), the load goes through and says so, naming the line. The file:
// pin 3 as in the sound file (lines 73 to 79), then pin 4 from line 80: 80 "Pin", 81 "Dev",
// 82 "Cfg", 83 "PAM", 84 "Asp,0", 85 "Ins,0", 86 "Asp,1", 87 "Ins,0", 88 "End".
TEST_F(FilesTest, ASkippedLineWhoseRecordsLandOnAnotherPinIsNamed) {
  ConfigModel two;
  GeneralSettings plain;
  EventControlState none;
  plain.TextGenIDString = "Loaded";
  two.PinTable[3].Description = "Signal";
  two.PinTable[3].AspectConfig = 3;
  two.PinTable[3].OutputConfig = {2, 0, 0, 28, 0, 31};
  two.PinTable[3].Aspects[1].Description = "Clear";
  two.PinTable[3].Aspects[1].Steps[0] = {9, 1, 1, 0, 0, 0};
  two.PinTable[3].Aspects[1].Steps[4] = {102, 0, 0, 0, 15, 0};
  two.PinTable[4].Description = "Distant";
  two.PinTable[4].AspectConfig = 3;
  two.PinTable[4].Aspects[0].Description = "Caution";
  two.PinTable[4].Aspects[0].Steps[0] = {9, 0, 0, 0, 0, 0};
  two.PinTable[4].Aspects[1].Description = "Go";
  two.PinTable[4].Aspects[1].Steps[0] = {10, 0, 0, 0, 0, 0};
  bool quotes;
  const std::string file = ComposeDataFile(two, plain, none, true, quotes);
  const std::string skipped = "not a record this program knows, so it was skipped; the lines after it ";
  const struct {
    const char* name;
    std::string text;
    std::string warning;  // empty: none
  } cases[] = {
      {"mistyped Pin puts its pin on the previous one", Replace(file, "Pin,4,", "Pif,4,"),
       "line 80: Pif: " + skipped + "(from line 81) went to pin 4"},
      {"mistyped first Pin puts its pin on the first", Replace(file, "Pin,3,", "Pni,3,"),
       "line 73: Pni: " + skipped + "(from line 74) went to pin 1"},
      {"mistyped Asp puts its steps on the previous aspect", Replace(file, "Asp,1,\"Go\"", "Aps,1,\"Go\""),
       "line 86: Aps: " + skipped + "(from line 87) went to pin 5 aspect 0"},
      // Records a newer program may add: what follows them lands where nothing did before.
      {"unknown record inside a pin group", Replace(file, "  PAM,0,0,0\r\n  Asp,0", "  Lbl,\"x\"\r\n  PAM,0,0,0\r\n  Asp,0"), ""},
      {"unknown record before the pins", Replace(file, "Pin,3,", "Xyz,1\r\nPin,3,"), ""},
      {"unknown record before End", Replace(file, "End\r\n", "Xyz,Pin,9\r\nEnd\r\n"), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    prompt.Clear();
    model = ConfigModel{};
    WriteAll(PathOf("skips.dat"), c.text);
    EXPECT_TRUE(LoadDataFileFrom(data, PathOf("skips.dat")));
    if (c.warning.empty()) {
      EXPECT_EQ(Messages(), "");
      continue;
    }
    EXPECT_EQ(Messages(), "skips.dat, " + c.warning + "|");
    ASSERT_FALSE(prompt.Shown.empty());
    EXPECT_EQ(prompt.Shown[0].Icon, MessageIcon::Warning);
  }
}

TEST_F(FilesTest, MissingFileIsReported) {
  EXPECT_FALSE(LoadDataFileFrom(data, PathOf("nothing.dat")));
  ASSERT_EQ(prompt.Shown.size(), 1u);
  EXPECT_EQ(prompt.Shown[0].Text.rfind("Could not open " + PathOf("nothing.dat") + ": ", 0), 0u);
}

TEST_F(FilesTest, FailedSaveKeepsThePreviousFile) {
  const std::string target = PathOf("keep.dat");
  WriteAll(target, "previous contents");
  model.PinTable[0].Description = "new";
  // A file size limit makes the write fail, even for root: try it in a child.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit small{1000, 1000};
    if (setrlimit(RLIMIT_FSIZE, &small) != 0) _exit(3);
    const bool saved = SaveDataFileTo(data, target, false);
    const bool told = prompt.Shown.size() == 1 &&
                      prompt.Shown[0].Text == "Could not save " + target + ": File too large" &&
                      prompt.Shown[0].Icon == MessageIcon::Warning;
    _exit(saved ? 1 : told ? 0 : 2);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: saved anyway, 2: not told, 3: no limit";
  EXPECT_EQ(ReadAll(target), "previous contents");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1) << "no temporary file left";

  // Into a missing folder.
  EXPECT_FALSE(SaveDataFileTo(data, PathOf("no/such/folder.dat"), false));
  EXPECT_EQ(prompt.Shown.size(), 1u);
}

TEST_F(FilesTest, SaveIntoUnwritableFolderKeepsThePreviousFile) {
  const std::filesystem::path folder = dir_ / "locked";
  std::filesystem::create_directory(folder);
  const std::string target = (folder / "config.dat").string();
  WriteAll(target, "previous contents");
  std::filesystem::permissions(dir_, std::filesystem::perms::all);
  std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                                           std::filesystem::perms::group_read | std::filesystem::perms::group_exec |
                                           std::filesystem::perms::others_read | std::filesystem::perms::others_exec);
  // Root ignores folder permissions: try the save as an unprivileged user in a child.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && setuid(65534) != 0) _exit(3);
    const bool saved = SaveDataFileTo(data, target, false);
    const bool told = prompt.Shown.size() == 1 &&
                      prompt.Shown[0].Text.rfind("Could not save " + target + ": ", 0) == 0;
    _exit(saved ? 1 : told ? 0 : 2);
  }
  int status = 0;
  waitpid(child, &status, 0);
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: saved anyway, 2: not reported, 3: could not drop root";
  EXPECT_EQ(ReadAll(target), "previous contents");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "no temporary file left";
}

TEST_F(FilesTest, SaveReplacesAnExistingFile) {
  const std::string target = PathOf("replace.dat");
  WriteAll(target, "old");
  model.PinTable[0].Description = "fresh";
  ASSERT_TRUE(SaveDataFileTo(data, target, true));
  EXPECT_NE(ReadAll(target).find("\"fresh\""), std::string::npos);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1) << "no temporary file left";
}

}  // namespace
}  // namespace brixo::testing
