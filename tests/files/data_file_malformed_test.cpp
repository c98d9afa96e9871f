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
      {"cut in a record", sound.substr(0, sound.find("Ins,4") + 7), ", line 79: Ins: too few fields: field 3 is missing"},
      {"byte above 255", Replace(sound, "Pin,3,3,0", "Pin,3,3,256"), ", line 73: Pin: field 3 is 256, outside 0 to 255"},
      {"16-bit out of range", Replace(sound, "Dev,0", "Dev,40000"), ", line 74: Dev: field 1 is 40000, outside -3 to 28"},
      {"event value minus one out of range", Replace(sound, "Eon,5,1,1,1,1", "Eon,5,1,-32768,1,1"),
       ", line 13: Eon: field 3 is -32768, outside -32767 to 32767"},
      {"pin above 31", Replace(sound, "Pin,3,", "Pin,32,"), ", line 73: Pin: field 1 is 32, outside 0 to 31"},
      {"event pin above 31", Replace(sound, "Eof,7,", "Eof,32,"), ", line 47: Eof: field 1 is 32, outside 0 to 31"},
      {"aspect above 11", Replace(sound, "Asp,1,", "Asp,12,"), ", line 77: Asp: field 1 is 12, outside 0 to 11"},
      {"step above 8", Replace(sound, "Ins,4,", "Ins,9,"), ", line 79: Ins: field 1 is 9, outside 0 to 8"},
      {"step code above 127", Replace(sound, "Ins,4,102", "Ins,4,200"), ", line 79: Ins: field 2 is 200, outside 0 to 127"},
      {"device head outside the pins", Replace(sound, "Dev,0", "Dev,-4"), ", line 74: Dev: field 1 is -4, outside -3 to 28"},
      {"text in a number field", Replace(sound, "PAM,0,0,0", "PAM,0,x,0"), ", line 76: PAM: field 2 is not a whole number: x"},
      {"missing field at the end", Replace(sound, "Ins,4,102,0,0,15,0\r\nEnd", "Ins,4,102,0,0\r\nEnd"),
       ", line 79: Ins: too few fields: field 5 is missing"},
      {"missing closing quote", sound.substr(0, lastQuote) + sound.substr(lastQuote + 1),
       ", line 77: a text whose closing quote is missing"},
      // A record that lost a field takes none from the next line.
      {"pin without its description", Replace(sound, "Pin,3,3,0,\"Signal\"", "Pin,3,3,0"),
       ", line 73: Pin: too few fields: field 4 is missing"},
      {"aspect without its description", Replace(sound, "Asp,1,\"Clear\"", "Asp,1"),
       ", line 77: Asp: too few fields: field 2 is missing"},
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
      {"address counts beyond their bits", Replace(sound, "PAM,0,0,0", "PAM,1,9,13"), ", line 76: PAM: "},
      {"DCC addresses beyond 510 and 2046", Replace(sound, "DCC,1,1,0", "DCC,9999,5000,0"), ", line 3: DCC: "},
      {"DCC address below 0", Replace(sound, "DCC,1,1,0", "DCC,-1,1,0"), ", line 3: DCC: "},
      {"DCC address that is no whole number", Replace(sound, "DCC,1,1,0", "DCC,12.5,1,0"), ", line 3: DCC: "},
      {"extended address 200", Replace(sound, "XAD,0,0,0,", "XAD,0,0,200,"), ", line 4: XAD: "},
      {"extended address between 95 and the enforced 127", Replace(sound, "XAD,0,0,0,", "XAD,0,0,96,"), ", line 4: XAD: "},
      {"flexible start address without flexible addressing", Replace(sound, "XAD,0,0,0,", "XAD,5,0,0,"),
       ", line 4: XAD: "},
      {"group mask beyond four groups", Replace(sound, "XAD,0,0,0,0,0,0,0", "XAD,0,0,0,0,16,0,0"), ", line 4: XAD: "},
      {"hardware group byte 4", Replace(sound, "HWC,0,0,0,0", "HWC,0,4,0,0"), ", line 5: HWC: "},
      {"LED byte beyond seven bits", Replace(sound, "LED,0,0", "LED,128,0"), ", line 6: LED: "},
      {"unknown bit rate", Replace(sound, "\"9600\"", "\"1234\""), ", line 7: SPC: "},
      {"five data bits", Replace(sound, "SPC,0,\"9600\",8", "SPC,0,\"9600\",5"), ", line 7: SPC: "},
      {"parity code 1", Replace(sound, "SPC,0,\"9600\",8,0", "SPC,0,\"9600\",8,1"), ", line 7: SPC: "},
      {"action 15", Replace(sound, "Eon,2,1,6,1,1", "Eon,2,1,16,1,1"), ", line 10: Eon: "},
      {"enable map beyond four inputs", Replace(sound, "Ena,15,15", "Ena,16,15"), ", line 72: Ena: "},
      {"identification string of 13 characters",
       Replace(sound, "Ena,15,15", "Ena,15,15\r\nIDB,13,65,65,65,65,65,65,65,65,65,65,65,65,65"),
       ", line 73: IDB: field 1 is 13, outside 1 to 12"},
      {"identification character beyond seven bits", Replace(sound, "Ena,15,15", "Ena,15,15\r\nIDB,1,128"),
       ", line 73: IDB: field 2 is 128, outside 0 to 127"},
      {"layout code beyond seven bits", Replace(sound, "Pin,3,3,0", "Pin,3,128,0"), ", line 73: Pin: "},
      {"initial aspect 16", Replace(sound, "Pin,3,3,0", "Pin,3,3,17"), ", line 73: Pin: "},
      {"output byte beyond seven bits", Replace(sound, "Cfg,2,0,0,28,0,31", "Cfg,2,0,0,28,0,131"), ", line 75: Cfg: "},
      {"step parameter beyond seven bits", Replace(sound, "Ins,4,102,0,0,15,0", "Ins,4,102,0,0,15,128"),
       ", line 79: Ins: "},
      {"offset on a SendSerial step", Replace(sound, "Ins,4,102,0,0,15,0", "Ins,4,4,3,0,15,0"), ", line 79: Ins: "},
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
    // The range refusals name their field and value; the rest are named in full.
    const std::string where = told.substr(told.find('\n') + 1);
    const bool named = c.where.back() == ' ' ? where.rfind("broken.dat" + c.where, 0) == 0
                                             : where == "broken.dat" + c.where;
    EXPECT_TRUE(named) << where;
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
    EXPECT_EQ(general.TextGenIDString, "Loaded");
    EXPECT_EQ(model.PinTable[3].Description, "Signal");
    EXPECT_EQ(model.PinTable[9].Description, "");
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
