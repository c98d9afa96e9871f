#include <gtest/gtest.h>
#include <sys/stat.h>

#include "files/file_io.h"
#include "files_test_support.h"

namespace brixo::testing {
namespace {

std::string DefinitionsFile(const std::string& version, const std::string& body) {
  std::string text = "\"BrixoDeviceDefinitions " + version + "\"\r\n" + body + "End\r\n";
  return text;
}

class DeviceTest : public FilesTest {
 protected:
  // Lists the devices of a file written from `text` and selects the named one.
  void ListAndSelect(const std::string& text, const std::string& name) {
    WriteAll(PathOf("lib.def"), text);
    ASSERT_TRUE(ReloadDefinitionsFrom(devices, PathOf("lib.def"), false));
    for (size_t i = 0; i < library.cboDevice.size(); ++i) {
      if (library.cboDevice[i] == name) SelectDevice(library, static_cast<int>(i));
    }
    ASSERT_EQ(library.cboDeviceText, name);
  }
};

TEST_F(DeviceTest, SavedDeviceWrapsRoundTheHeadAndLoadsBack) {
  model.PinTable[30] = PinRecord{};
  model.PinTable[30].DeviceDescription = "Signal \"A\"";
  model.PinTable[30].Description = "Red";
  model.PinTable[30].AspectConfig = 2;
  model.PinTable[30].InitAspect = 1;
  model.PinTable[30].DccAddressCount = 2;
  model.PinTable[30].OutputConfig = {1, 64, 90, 64, 127, 58, 127, 127, 64, 0, 64, 0, 0};
  model.PinTable[30].Aspects[0].Description = "Stop";
  model.PinTable[30].Aspects[0].Steps[1] = {9, 1, 1, 0, 0, 0};
  model.PinTable[30].Aspects[0].Steps[2] = {102, 0, 0, 0, 15, 0};
  model.PinTable[30].Aspects[5].Steps[0] = {9, 0, 0, 0, 0, 0};  // undescribed but programmed: kept
  model.PinTable[30].Aspects[6].Description.clear();             // neither: left out
  model.PinTable[31].Description = "Green";
  model.PinTable[31].DevicePointer = -1;
  model.PinTable[31].OutputConfig = {4, 1, 2, 3, 4};
  model.PinTable[1].Description = "Yellow";
  model.PinTable[1].DevicePointer = 29;
  model.CurrentPin = 31;  // any member names the device
  ASSERT_TRUE(SaveDeviceTo(devices, PathOf("signal.def")));

  EXPECT_EQ(ReadAll(PathOf("signal.def")),
            "\"BrixoDeviceDefinitions Signal 'A'\"\r\n"
            "Dev,\"Signal 'A'\"\r\n"
            "  Pin,0,2,1,\"Red\"\r\n"
            "    Cfg,1,64,26,64,127,58,127,127,64,0,64,0\r\n"
            "    PAM,0,2,0\r\n"
            "    Asp,0,\"Stop\"\r\n"
            "      Ins,1,25,1,0,0,0\r\n"
            "      Ins,2,102,0,0,15,0\r\n"
            "    Asp,5,\"\"\r\n"
            "      Ins,0,9,0,0,0,0\r\n"
            "  Pin,3,0,0,\"Yellow\"\r\n"
            "    Cfg,0\r\n"
            "    PAM,0,0,0\r\n"
            "  Pin,1,0,0,\"Green\"\r\n"
            "    Cfg,4,1,2,3,4\r\n"
            "    PAM,0,0,0\r\n"
            "End\r\n");
  ASSERT_EQ(prompt.Shown.size(), 1u);
  EXPECT_EQ(prompt.Shown[0].Text, "Double quotes in texts were saved as apostrophes");

  const PinArray saved = model.PinTable;
  model.PinTable = PinArray{};
  model.CurrentPin = 30;
  ASSERT_TRUE(ReloadDefinitionsFrom(devices, PathOf("signal.def"), false));
  EXPECT_EQ(library.lblDDVersion, "Signal 'A'");
  SelectDevice(library, 0);
  ASSERT_TRUE(LoadDevice(devices));
  for (int p : {30, 31, 1}) {
    SCOPED_TRACE(p);
    const PinRecord& got = model.PinTable[p];
    EXPECT_EQ(got.Description, saved[p].Description);
    EXPECT_EQ(got.DevicePointer, saved[p].DevicePointer);
    EXPECT_EQ(got.OutputConfig, saved[p].OutputConfig);
    EXPECT_EQ(got.AspectConfig, saved[p].AspectConfig);
  }
  EXPECT_EQ(model.PinTable[30].DeviceDescription, "Signal 'A'");
  EXPECT_EQ(model.PinTable[30].Aspects[0].Steps[1], (StepRecord{9, 1, 1, 0, 0, 0}));
  EXPECT_EQ(model.PinTable[30].Aspects[5].Steps[0], (StepRecord{9, 0, 0, 0, 0, 0}));
  EXPECT_EQ(model.PinTable[30].OutputLevel, 64);  // the level follows the loaded initial position
  EXPECT_EQ(view.Calls, (std::vector<std::string>{"BuildDccMap", "BuildXDccMap", "BuildSerialMap", "ShowDccAddress",
                                                  "ShowXDccAddress", "ShowSerialAddress", "ShowPin",
                                                  "ShowOutputConfig", "ShowDetails"}));
}

TEST_F(DeviceTest, SaveRefusesABrokenReferral) {
  model.PinTable[4].DevicePointer = 1;
  model.PinTable[5].DevicePointer = 2;  // pin 5 is no head
  model.CurrentPin = 4;
  chooser.Answers.push_back(PathOf("x.def"));
  EXPECT_FALSE(SaveDevice(devices));
  model.PinTable[4].DevicePointer = -10;  // refers outside the pins
  EXPECT_FALSE(SaveDeviceTo(devices, PathOf("x.def")));
  EXPECT_EQ(Messages(), "Referral is not a device|Referral is not a device|");
  EXPECT_TRUE(chooser.Filters.empty());
  EXPECT_FALSE(std::filesystem::exists(PathOf("x.def")));
}

TEST_F(DeviceTest, LoadPlacesRelativeAndAbsolutePinsAndReportsUsedOnes) {
  const std::string body =
      "Dev,\"Other\"\r\n  Pin,0,0,0,\"other\"\r\n"
      "Dev,\"Pair\"\r\n"
      "  Pin,0,3,2,\"head\"\r\n    PAM,0,2,1\r\n    Asp,1,\"On\"\r\n      Ins,0,48,1,2,3,4\r\n"
      "  Pab,40,0,0,\"absolute\"\r\n"
      "  Pin,-1,0,0,\"below\"\r\n"
      "Dev,\"Next\"\r\n  Pin,5,0,0,\"not this one\"\r\n";
  ListAndSelect(DefinitionsFile("1.0", body), "Pair");
  model.PinTable[8].Description = "busy";
  model.PinTable[5].Description = "also busy";
  model.CurrentPin = 5;
  ASSERT_TRUE(LoadDevice(devices));

  EXPECT_EQ(model.PinTable[5].DeviceDescription, "Pair");
  EXPECT_EQ(model.PinTable[5].Description, "head");
  EXPECT_EQ(model.PinTable[5].DccAddressCount, 2);
  EXPECT_EQ(model.PinTable[5].XDccAddressCount, 0);
  EXPECT_EQ(model.PinTable[5].Aspects[1].Steps[0], (StepRecord{32, 1, 1, 2, 3, 4}));
  EXPECT_EQ(model.PinTable[8].Description, "absolute");
  EXPECT_EQ(model.PinTable[8].DevicePointer, -3);
  EXPECT_EQ(model.PinTable[8].DccAddressCount, 1);
  EXPECT_EQ(model.PinTable[4].Description, "below");
  EXPECT_EQ(model.PinTable[4].DevicePointer, 1);
  EXPECT_EQ(model.PinTable[10].Description, "");
  // Asked before loading, with the pins as the user numbers them.
  ASSERT_EQ(prompt.Shown.size(), 1u);
  EXPECT_EQ(prompt.Shown[0].Text,
            "The following Pin numbers are already used and will be overwritten: \n 6, 9\nContinue?");
  EXPECT_EQ(prompt.Shown[0].Icon, MessageIcon::Warning);
  EXPECT_EQ(prompt.Shown[0].Buttons, MessageButtons::OkCancel);
}

TEST_F(DeviceTest, LoadAsksAboutEveryPinHoldingAConfigurationAndCancelChangesNothing) {
  const std::string body = "Dev,\"Trio\"\r\n  Pin,0,0,0,\"a\"\r\n  Pin,1,0,0,\"b\"\r\n  Pin,2,0,0,\"c\"\r\n"
                           "  Pin,3,0,0,\"d\"\r\n  Pin,4,0,0,\"e\"\r\n  Pin,5,0,0,\"f\"\r\n  Pin,6,0,0,\"g\"\r\n";
  ListAndSelect(DefinitionsFile("1.0", body), "Trio");
  model.CurrentPin = 10;
  // Each kind of configuration on a pin of its own; pin 17 has only address counts.
  model.PinTable[10].OutputConfig[0] = 2;
  model.PinTable[11].AspectConfig = 3;
  model.PinTable[12].Aspects[7].Steps[2].Instruction = 9;
  model.PinTable[13].InitAspect = 2;
  model.PinTable[14].DevicePointer = -4;
  model.PinTable[15].Aspects[0].Description = "x";
  model.PinTable[16].DccAddressCount = 3;
  const PinArray before = model.PinTable;

  prompt.Answers.push_back(MessageAnswer::Cancel);
  EXPECT_FALSE(LoadDevice(devices));
  ASSERT_EQ(prompt.Shown.size(), 1u);
  EXPECT_EQ(prompt.Shown[0].Text,
            "The following Pin numbers are already used and will be overwritten: \n 11, 12, 13, 14, 15, 16\nContinue?");
  EXPECT_EQ(model.PinTable, before);
  EXPECT_TRUE(view.Calls.empty());

  ASSERT_TRUE(LoadDevice(devices));
  EXPECT_EQ(model.PinTable[16].Description, "g");
}

TEST_F(DeviceTest, LoadingOntoADeviceHeadDissolvesIt) {
  ListAndSelect(DefinitionsFile("1.0", "Dev,\"Lamp\"\r\n  Pin,0,0,0,\"lamp\"\r\n"), "Lamp");
  model.PinTable[5].DeviceDescription = "Three";
  model.PinTable[6].DevicePointer = -1;
  model.PinTable[6].DeviceDescription = "stale";
  model.PinTable[9].DevicePointer = -4;
  model.PinTable[12].DevicePointer = -5;  // member of pin 7's device: untouched
  model.CurrentPin = 5;
  ASSERT_TRUE(LoadDevice(devices));
  EXPECT_EQ(model.PinTable[5].DeviceDescription, "Lamp");
  EXPECT_EQ(model.PinTable[6].DevicePointer, 0);
  EXPECT_EQ(model.PinTable[6].DeviceDescription, "");
  EXPECT_EQ(model.PinTable[9].DevicePointer, 0);
  EXPECT_EQ(model.PinTable[12].DevicePointer, -5);
}

TEST_F(DeviceTest, ShortPwmConfigKeepsBytesFourAndFive) {
  const std::string body =
      "Dev,\"Dim\"\r\n  Pin,0,0,0,\"dim\"\r\n    Cfg,2,1,2,3\r\n    PAM,1,0,4\r\n"
      "  Pin,1,0,0,\"full\"\r\n    Cfg,3,1,2,3,9,10\r\n    PAM,0,0,0\r\n"
      "  Pin,2,0,0,\"input\"\r\n    Cfg,5,0,0,6,7\r\n";
  ListAndSelect(DefinitionsFile("1.0", body), "Dim");
  for (int p = 0; p < 3; ++p) model.PinTable[p].OutputConfig = {1, 64, 26, 64, 127, 58, 127, 127, 64, 0, 64, 0, 0};
  model.CurrentPin = 0;
  ASSERT_TRUE(LoadDevice(devices));
  EXPECT_EQ(model.PinTable[0].OutputConfig, (std::array<uint8_t, 13>{2, 1, 2, 3, 127, 58, 127, 127, 64, 0, 64, 0, 0}));
  EXPECT_EQ(model.PinTable[0].XDccAddressCount, 1);
  EXPECT_EQ(model.PinTable[0].SerialAddressCount, 4);
  EXPECT_EQ(model.PinTable[1].OutputConfig[0], 3);
  EXPECT_EQ(model.PinTable[1].OutputConfig[5], 10);
  EXPECT_EQ(model.PinTable[2].OutputConfig[3], 6);
  EXPECT_EQ(model.PinTable[2].OutputConfig[4], 7);
}

// Types 3, 4 and 5 may carry fewer bytes than a save writes, down to the type alone;
// the bytes given are taken, the others keep their values, and the next record applies.
TEST_F(DeviceTest, ShortConfigsOfOtherTypesLoadWhatTheyCarry) {
  const std::array<uint8_t, 13> old = {1, 64, 26, 64, 127, 58, 127, 127, 64, 0, 64, 0, 0};
  const struct {
    const char* cfg;
    std::array<uint8_t, 13> expected;
  } cases[] = {
      {"Cfg,3", {3, 64, 26, 64, 127, 58, 127, 127, 64, 0, 64, 0, 0}},
      {"Cfg,3,1,2", {3, 1, 2, 64, 127, 58, 127, 127, 64, 0, 64, 0, 0}},
      {"Cfg,3,1,2,3,4,5", {3, 1, 2, 3, 4, 5, 127, 127, 64, 0, 64, 0, 0}},
      {"Cfg,4", {4, 64, 26, 64, 127, 58, 127, 127, 64, 0, 64, 0, 0}},
      {"Cfg,5,0,0,6", {5, 0, 0, 6, 127, 58, 127, 127, 64, 0, 64, 0, 0}},
      {"Cfg,7", {7, 64, 26, 64, 127, 58, 127, 127, 64, 0, 64, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cfg);
    ListAndSelect(DefinitionsFile("1", std::string("Dev,\"D\"\r\n  Pin,0,0,0,\"p\"\r\n    ") + c.cfg +
                                           "\r\n    PAM,0,2,3\r\n"),
                  "D");
    model.PinTable[4].OutputConfig = old;
    model.CurrentPin = 4;
    ASSERT_TRUE(LoadDevice(devices));
    EXPECT_EQ(model.PinTable[4].OutputConfig, c.expected);
    EXPECT_EQ(model.PinTable[4].DccAddressCount, 2);
    EXPECT_EQ(model.PinTable[4].SerialAddressCount, 3);
  }
}

TEST_F(DeviceTest, RefusalsChangeNothing) {
  const std::string good = "Dev,\"A\"\r\n  Pin,0,3,0,\"a\"\r\n    Asp,0,\"x\"\r\n      Ins,0,9,0,0,0,0\r\n";
  const struct {
    const char* name;
    std::string text;
    std::string message;
  } cases[] = {
      {"name not in the file", DefinitionsFile("1", "Dev,\"B\"\r\n"), "No match found"},
      {"truncated device", DefinitionsFile("1", good).substr(0, 61), "line 4: Asp: too few fields: aspect number (field 1) is missing"},
      {"aspect above 11", DefinitionsFile("1", Replace(good, "Asp,0", "Asp,12")), "line 4: Asp: aspect number 12 is above 11"},
      {"step above 8", DefinitionsFile("1", Replace(good, "Ins,0,9", "Ins,9,9")), "line 5: Ins: step number 9 is above 8"},
      {"byte above 255", DefinitionsFile("1", Replace(good, "Pin,0,3,0", "Pin,0,3,300")),
       "line 3: Pin: initial aspect 300 is above 255"},
      {"16-bit out of range", DefinitionsFile("1", Replace(good, "Pin,0,", "Pin,70000,")),
       "line 3: Pin: pin offset from the device's first pin 70000 is above 32767"},
      // Values of the right width that a controller cannot hold, named as the field table names them.
      {"address count beyond its bits",
       DefinitionsFile("1", Replace(good, "  Pin,0,3,0,\"a\"\r\n", "  Pin,0,3,0,\"a\"\r\n    PAM,0,2,9\r\n")),
       "line 4: PAM: serial address count 9 is above 7"},
      {"absolute pin with a layout beyond seven bits",
       DefinitionsFile("1", Replace(good, "  Pin,0,3,0,\"a\"\r\n", "  Pin,0,3,0,\"a\"\r\n  Pab,4,128,0,\"b\"\r\n")),
       "line 4: Pab: layout 128 is above 127"},
      {"output byte beyond seven bits",
       DefinitionsFile("1", Replace(good, "  Pin,0,3,0,\"a\"\r\n", "  Pin,0,3,0,\"a\"\r\n    Cfg,2,1,2,200\r\n")),
       "line 4: Cfg: output byte 3 is 200, above 127"},
      {"open quote", DefinitionsFile("1", Replace(good, "\"x\"", "\"x")), "line 4: a text whose closing quote is missing"},
      // A record that lost or gained a field, or runs into the next, takes nothing from it.
      {"pin without its description", DefinitionsFile("1", Replace(good, ",\"a\"", "")),
       "line 3: Pin: too few fields: description (field 4) is missing"},
      {"a field too many", DefinitionsFile("1", Replace(good, "Ins,0,9,0,0,0,0", "Ins,0,9,0,0,0,0,0")),
       "line 5: Ins: too many fields: 7 where 6 belong"},
      {"bytes behind an output type that takes none", DefinitionsFile("1", Replace(good, "  Pin,0,3,0,\"a\"\r\n",
                                                                                   "  Pin,0,3,0,\"a\"\r\n    Cfg,7,9,9\r\n")),
       "line 4: Cfg: too many fields: 3 where 1 belong"},
      {"control byte in place of a line end", DefinitionsFile("1", Replace(good, "\"x\"\r\n", "\"x\"\x1f")),
       "line 4: control character 0x1F outside quotes"},
  };
  ListAndSelect(DefinitionsFile("1", good), "A");
  model.PinTable[0].Description = "keep";
  model.PinTable[2].DevicePointer = -2;
  const PinArray before = model.PinTable;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    prompt.Clear();
    WriteAll(PathOf("lib.def"), c.text);  // the file changed after it was listed
    EXPECT_FALSE(LoadDevice(devices));
    const std::string expected = c.message.rfind("line ", 0) == 0 ? "Invalid definition file\nlib.def, " + c.message
                                                                   : c.message;
    EXPECT_EQ(Messages(), expected + "|");
    EXPECT_EQ(model.PinTable, before);
  }
  prompt.Clear();
  SelectDevice(library, -1);
  EXPECT_FALSE(LoadDevice(devices));
  EXPECT_EQ(Messages(), "Select Devicename to load|");
  EXPECT_EQ(prompt.Shown[0].Icon, MessageIcon::None);
}

TEST_F(DeviceTest, ReloadCaptionsAndAppending) {
  WriteAll(PathOf("x.def"), DefinitionsFile("X", "Dev,\"x1\"\r\nDev,\"x2\"\r\n"));
  WriteAll(PathOf("y.def"), DefinitionsFile("Y", "Dev,\"y1\"\r\n"));
  WriteAll(PathOf("z.def"), DefinitionsFile("Z", "Dev,\"z1\"\r\n"));
  ASSERT_TRUE(ReloadDefinitionsFrom(devices, PathOf("x.def"), false));
  ASSERT_TRUE(ReloadDefinitionsFrom(devices, PathOf("y.def"), true));
  chooser.Answers = {PathOf("z.def")};
  ASSERT_TRUE(ReloadDefinitions(devices, true));
  EXPECT_EQ(library.lblDDVersion, "X + Y + Z");
  EXPECT_EQ(library.cboDevice, (std::vector<std::string>{"x1", "x2", "y1", "z1"}));
  EXPECT_EQ(library.DeviceSourceFiles,
            (std::vector<std::string>{PathOf("x.def"), PathOf("x.def"), PathOf("y.def"), PathOf("z.def")}));
  EXPECT_EQ(chooser.Filters.back(), "Brixo Device Definitions|*.def");

  const std::string longVersion(30, 'a');
  WriteAll(PathOf("long.def"), DefinitionsFile(longVersion + std::string(30, 'b'), "Dev,\"l\"\r\n"));
  ASSERT_TRUE(ReloadDefinitionsFrom(devices, PathOf("long.def"), false));
  EXPECT_EQ(library.lblDDVersion, ".." + std::string(18, 'a') + std::string(30, 'b'));
  EXPECT_EQ(library.cboDevice, std::vector<std::string>{"l"});

  // A failed reload keeps the list.
  WriteAll(PathOf("bad.def"), "\"SomethingElse 1\"\r\nEnd\r\n");
  EXPECT_FALSE(ReloadDefinitionsFrom(devices, PathOf("bad.def"), false));
  WriteAll(PathOf("cut.def"), "\"BrixoDeviceDefinitions 2\"\r\nDev,\"m\"\r\n");
  EXPECT_FALSE(ReloadDefinitionsFrom(devices, PathOf("cut.def"), true));
  EXPECT_FALSE(ReloadDefinitions(devices, false));  // cancelled
  EXPECT_EQ(Messages(),
            "Invalid definition file\nbad.def, line 1: not a definitions file (it begins with no "
            "\"BrixoDeviceDefinitions\")|"
            "Invalid definition file\ncut.def: the file ends before \"End\"|No Device Configuration file selected|");
  EXPECT_EQ(library.cboDevice, std::vector<std::string>{"l"});
  // The version read before is forgotten; the caption stays.
  EXPECT_EQ(library.DefinitionsVersion, "");
  EXPECT_EQ(library.lblDDVersion, ".." + std::string(18, 'a') + std::string(30, 'b'));
}

TEST_F(DeviceTest, StartUpFallsBackToTheDialog) {
  // The program folder holds a library without version text: the caption shows "Unknown".
  WriteAll(PathOf("BrixoDevices.def"), "\"BrixoDeviceDefinitions\"\r\nDev,\"d\"\r\nEnd\r\n");
  ASSERT_TRUE(LoadStandardDefinitions(devices, dir_.string()));
  EXPECT_EQ(library.lblDDVersion, "Unknown");
  EXPECT_EQ(library.cboDevice, std::vector<std::string>{"d"});
  EXPECT_EQ(library.DeviceFilePath, PathOf("BrixoDevices.def"));

  const auto candidates = StandardDefinitionsCandidates("/opt/brixo/bin");
  ASSERT_EQ(candidates.size(), 3u);
  EXPECT_EQ(candidates[1], "/opt/brixo/bin/../share/brixoconfig/BrixoDevices.def");
  EXPECT_EQ(candidates[2], std::string(BRIXO_TEST_DATA_DIR) + "/BrixoDevices.def");
  EXPECT_TRUE(prompt.Shown.empty());

  // Nothing at the standard places: the user is asked, and may fail to name a file.
  chooser.Answers = {PathOf("missing.def")};
  EXPECT_FALSE(LoadStartUpDefinitions(devices, {PathOf("a/BrixoDevices.def"), PathOf("b/BrixoDevices.def")}));
  EXPECT_EQ(Messages(), "Can not find Device Configuration file at standard location|No Device Configuration available|");
  EXPECT_EQ(chooser.Presets.back(), "BrixoDevices.def");
  EXPECT_TRUE(library.cboDevice.empty());

  prompt.Clear();
  chooser.Answers = {PathOf("BrixoDevices.def")};
  EXPECT_TRUE(LoadStartUpDefinitions(devices, {PathOf("a/BrixoDevices.def")}));
  EXPECT_EQ(Messages(), "Can not find Device Configuration file at standard location|");
  EXPECT_EQ(library.cboDevice, std::vector<std::string>{"d"});
}

// A library beside the program that is there but cannot be used is passed over for the
// shipped one, and start-up says which it loaded and why (the window shows it in its status
// bar and the monitor); when it is the only one there is, it is refused in words.
TEST_F(DeviceTest, AnUnusableLibraryBesideTheProgramIsPassedOverInWords) {
  namespace fs = std::filesystem;
  const std::string beside = PathOf("bin/BrixoDevices.def");
  const std::string shipped = PathOf("share/BrixoDevices.def");
  fs::create_directories(dir_ / "share");
  WriteAll(shipped, DefinitionsFile("1.0", "Dev,\"Shipped\"\r\n"));
  const struct {
    const char* name;
    void (*make)(const std::string& path);
    std::string why;
  } cases[] = {
      {"a folder", [](const std::string& path) { fs::create_directories(path); }, "cannot be read (Is a directory)"},
      {"a FIFO", [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); }, "cannot be read (not a regular file)"},
      {"too large",
       [](const std::string& path) {
         WriteAll(path, "");
         fs::resize_file(path, kMaxFileBytes + 1);
       },
       "cannot be read (file too large (over 16 MB))"},
      {"damaged",
       [](const std::string& path) { WriteAll(path, DefinitionsFile("2.0", "Dev,\"Mine\"\r\n  Pin,0,3,0\r\n")); },
       "is damaged (BrixoDevices.def, line 3: Pin: too few fields: description (field 4) is missing)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    prompt.Clear();
    fs::remove_all(dir_ / "bin");
    fs::create_directories(dir_ / "bin");
    c.make(beside);
    ASSERT_TRUE(LoadStartUpDefinitions(devices, {beside, shipped}));
    EXPECT_EQ(library.cboDevice, std::vector<std::string>{"Shipped"});
    EXPECT_EQ(library.StartUpNote, "Device library " + beside + " " + c.why + ". Loaded " + shipped + " instead.");
    EXPECT_EQ(Messages(), "");
  }
  // Missing beside the program is the usual case: nothing to say.
  fs::remove_all(dir_ / "bin");
  ASSERT_TRUE(LoadStartUpDefinitions(devices, {beside, shipped}));
  EXPECT_EQ(library.StartUpNote, "");
  // The only library there is damaged: refused, as a reload would refuse it.
  fs::create_directories(dir_ / "bin");
  cases[3].make(beside);
  EXPECT_FALSE(LoadStartUpDefinitions(devices, {beside}));
  EXPECT_EQ(Messages(),
            "Invalid definition file\nBrixoDevices.def, line 3: Pin: too few fields: description (field 4) is missing|");
  EXPECT_TRUE(library.cboDevice.empty());
}

}  // namespace
}  // namespace brixo::testing
