#include <gtest/gtest.h>
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

TEST_F(FilesTest, MalformedFilesChangeNothing) {
  const std::string sound = SoundFile();
  const size_t lastQuote = sound.rfind('"');
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"empty file", ""},
      {"wrong keyword", Replace(sound, "BrixoConfiguration 3100", "BrixoConfig 3100")},
      {"header too long", Replace(sound, "BrixoConfiguration 3100", "BrixoConfiguration 31000")},
      {"truncated before End", Replace(sound, "End\r\n", "")},
      {"cut in a record", sound.substr(0, sound.find("Ins,4") + 7)},
      {"byte above 255", Replace(sound, "Pin,3,3,0", "Pin,3,3,256")},
      {"16-bit out of range", Replace(sound, "Dev,0", "Dev,40000")},
      {"event value minus one out of range", Replace(sound, "Eon,5,1,1,1,1", "Eon,5,1,-32768,1,1")},
      {"pin above 31", Replace(sound, "Pin,3,", "Pin,32,")},
      {"event pin above 31", Replace(sound, "Eof,7,", "Eof,32,")},
      {"aspect above 11", Replace(sound, "Asp,1,", "Asp,12,")},
      {"step above 8", Replace(sound, "Ins,4,", "Ins,9,")},
      {"step code above 127", Replace(sound, "Ins,4,102", "Ins,4,200")},
      {"device head outside the pins", Replace(sound, "Dev,0", "Dev,-4")},
      {"text in a number field", Replace(sound, "PAM,0,0,0", "PAM,0,x,0")},
      {"missing field at the end", Replace(sound, "Ins,4,102,0,0,15,0\r\nEnd", "Ins,4,102,0,0\r\nEnd")},
      {"missing closing quote", sound.substr(0, lastQuote) + sound.substr(lastQuote + 1)},
      // Values of the right width that the controller cannot hold.
      {"address counts beyond their bits", Replace(sound, "PAM,0,0,0", "PAM,1,9,13")},
      {"DCC addresses beyond 510 and 2046", Replace(sound, "DCC,1,1,0", "DCC,9999,5000,0")},
      {"DCC address below 0", Replace(sound, "DCC,1,1,0", "DCC,-1,1,0")},
      {"DCC address that is no whole number", Replace(sound, "DCC,1,1,0", "DCC,12.5,1,0")},
      {"extended address 200", Replace(sound, "XAD,0,0,0,", "XAD,0,0,200,")},
      {"extended address between 95 and the enforced 127", Replace(sound, "XAD,0,0,0,", "XAD,0,0,96,")},
      {"flexible start address without flexible addressing", Replace(sound, "XAD,0,0,0,", "XAD,5,0,0,")},
      {"group mask beyond four groups", Replace(sound, "XAD,0,0,0,0,0,0,0", "XAD,0,0,0,0,16,0,0")},
      {"hardware group byte 4", Replace(sound, "HWC,0,0,0,0", "HWC,0,4,0,0")},
      {"LED byte beyond seven bits", Replace(sound, "LED,0,0", "LED,128,0")},
      {"unknown bit rate", Replace(sound, "\"9600\"", "\"1234\"")},
      {"five data bits", Replace(sound, "SPC,0,\"9600\",8", "SPC,0,\"9600\",5")},
      {"parity code 1", Replace(sound, "SPC,0,\"9600\",8,0", "SPC,0,\"9600\",8,1")},
      {"action 15", Replace(sound, "Eon,2,1,6,1,1", "Eon,2,1,16,1,1")},
      {"enable map beyond four inputs", Replace(sound, "Ena,15,15", "Ena,16,15")},
      {"identification string of 13 characters", Replace(sound, "Ena,15,15", "Ena,15,15\r\nIDB,13,65,65,65,65,65,65,65,65,65,65,65,65,65")},
      {"identification character beyond seven bits", Replace(sound, "Ena,15,15", "Ena,15,15\r\nIDB,1,128")},
      {"layout code beyond seven bits", Replace(sound, "Pin,3,3,0", "Pin,3,128,0")},
      {"initial aspect 16", Replace(sound, "Pin,3,3,0", "Pin,3,3,17")},
      {"output byte beyond seven bits", Replace(sound, "Cfg,2,0,0,28,0,31", "Cfg,2,0,0,28,0,131")},
      {"step parameter beyond seven bits", Replace(sound, "Ins,4,102,0,0,15,0", "Ins,4,102,0,0,15,128")},
      {"offset on a SendSerial step", Replace(sound, "Ins,4,102,0,0,15,0", "Ins,4,4,3,0,15,0")},
      {"binary garbage", std::string("\x00\xff\x22\x01\x80,\r\n\x7f", 9)},
      {"garbage after the header", std::string("\"BrixoConfiguration 3100\"\r\n\xfe\x00\x01", 30)},
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
    EXPECT_EQ(prompt.Shown.back().Text, "Invalid configuration file");
    EXPECT_EQ(prompt.Shown.back().Icon, MessageIcon::Warning);
    EXPECT_TRUE(view.Calls.empty());
    EXPECT_EQ(model.PinTable, modelBefore.PinTable);
    EXPECT_EQ(events.OnAction, eventsBefore.OnAction);
    EXPECT_EQ(events.OffAction, eventsBefore.OffAction);
    EXPECT_EQ(ComposeDataFile(model, general, events, false, quotes), before);
  }
  // The sound file itself loads.
  ASSERT_TRUE(LoadDataFileText(data, sound));
  EXPECT_EQ(general.TextGenIDString, "Loaded");
}

TEST_F(FilesTest, MissingFileIsReported) {
  EXPECT_FALSE(LoadDataFileFrom(data, PathOf("nothing.dat")));
  ASSERT_EQ(prompt.Shown.size(), 1u);
  EXPECT_EQ(prompt.Shown[0].Text.rfind("Could not open " + PathOf("nothing.dat") + ": ", 0), 0u);
}

TEST_F(FilesTest, FailedSaveKeepsThePreviousFile) {
  const std::string target = PathOf("keep.dat");
  WriteAll(target, "previous contents");
  // A directory where the temporary file would go makes the write fail, even for root.
  std::filesystem::create_directory(target + ".saving.tmp");
  model.PinTable[0].Description = "new";
  EXPECT_FALSE(SaveDataFileTo(data, target, false));
  EXPECT_EQ(ReadAll(target), "previous contents");
  ASSERT_EQ(prompt.Shown.size(), 1u);
  EXPECT_EQ(prompt.Shown[0].Text.rfind("Could not save " + target + ": ", 0), 0u);
  EXPECT_EQ(prompt.Shown[0].Icon, MessageIcon::Warning);

  // Into a missing folder.
  EXPECT_FALSE(SaveDataFileTo(data, PathOf("no/such/folder.dat"), false));
  EXPECT_EQ(prompt.Shown.size(), 2u);
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
  EXPECT_FALSE(std::filesystem::exists(target + ".saving.tmp"));
}

TEST_F(FilesTest, SaveReplacesAnExistingFile) {
  const std::string target = PathOf("replace.dat");
  WriteAll(target, "old");
  model.PinTable[0].Description = "fresh";
  ASSERT_TRUE(SaveDataFileTo(data, target, true));
  EXPECT_NE(ReadAll(target).find("\"fresh\""), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(target + ".saving.tmp"));
}

}  // namespace
}  // namespace brixo::testing
