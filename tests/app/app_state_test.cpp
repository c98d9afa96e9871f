#include <filesystem>
#include <fstream>
#include <regex>

#include "app_test_support.h"
#include "transfer/whole_sequences.h"

namespace brixo::testing {
namespace {

class AppStateTest : public ::testing::Test {
 protected:
  ManualClock clock;
  RecordingPrompt prompt;
  NoFileChooser chooser;
  AppState app{prompt, chooser, SimulatedOnly(clock)};

  void OpenSimulator() {
    ASSERT_EQ(app.Ports().ComboPortItems(), std::vector<std::string>{std::string("1 ") + kSimulatedPortName});
    ASSERT_TRUE(app.Ports().SelectPort("1"));
  }
  // As a button post followed by the next timer tick.
  bool RunDeferred(const std::string& name) {
    if (!app.Commands().PostCommand(name)) return false;
    app.Commands().Tick();
    return true;
  }
};

TEST_F(AppStateTest, StartUpPreparesTheDocumentedDefaults) {
  EXPECT_TRUE(prompt.Messages.empty());
  EXPECT_EQ(app.Model().NumberingOffset, 1);
  EXPECT_EQ(app.DataFileVersion(), "3100");
  EXPECT_EQ(app.General().ComboGenBaud, 0);
  EXPECT_FALSE(app.ExpertMode());
  EXPECT_EQ(app.Link().ModuleAddress, 0);
  EXPECT_TRUE(app.Link().CheckBrixoBD);
  EXPECT_FALSE(app.Link().PortOpen());
  for (int p = 0; p < kPinCount; ++p) {
    const PinRecord& pin = app.Model().PinTable[p];
    EXPECT_EQ(pin.DccAddressCount, 1) << p;
    EXPECT_EQ(pin.XDccAddressCount, 1) << p;
    EXPECT_EQ(pin.SerialAddressCount, 1) << p;
    EXPECT_EQ(pin.DevicePointer, 0) << p;
    for (int i = 0; i < kEventInputCount; ++i) {
      EXPECT_EQ(app.Events().OnAction[p][i], -1) << p;
      EXPECT_EQ(app.Events().OffAction[p][i], -1) << p;
    }
  }
  // The maps were built from those counts, and the views show numbering from 1.
  EXPECT_EQ(app.Maps().SerialAddressTotal, kPinCount);
  EXPECT_EQ(app.Maps().SerialStart[31], 31);
  EXPECT_EQ(app.Pins().Editor().View().TextPAspOutput, "1");
  EXPECT_EQ(app.Events().TextECpin, "1");
  EXPECT_EQ(app.General().TextGenTamloaddr, "1");
}

TEST_F(AppStateTest, NumberingChangeRewritesShownNumbersAndKeepsStoredOnes) {
  app.Model().CurrentPin = 5;
  app.Events().CurrentEventPin = 7;
  app.General().FlexAddress = 2;
  const struct {
    bool atOne;
    const char* pin;
    const char* eventPin;
    const char* tamlo;
  } cases[] = {{false, "5", "7", "8"}, {true, "6", "8", "9"}, {false, "5", "7", "8"}};
  for (const auto& c : cases) {
    app.SetStartNumberingAtOne(c.atOne);
    EXPECT_EQ(app.Model().NumberingOffset, c.atOne ? 1 : 0);
    EXPECT_EQ(app.Pins().Editor().View().TextPAspOutput, c.pin);
    EXPECT_EQ(app.Events().TextECpin, c.eventPin);
    EXPECT_EQ(app.General().TextGenTamloaddr, c.tamlo);
    EXPECT_EQ(app.Model().CurrentPin, 5);
    EXPECT_EQ(app.General().FlexAddress, 2);
  }
}

TEST_F(AppStateTest, StandardDeviceLibraryIsListedAtStartUp) {
  const std::string path = DataFile(kStandardDefinitionsName);
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no " << path;
  std::ifstream in(path);
  std::vector<std::string> names;
  const std::regex dev(R"(^\s*Dev,"([^"]*)\")");
  for (std::string line, m; std::getline(in, line);) {
    std::smatch match;
    if (std::regex_search(line, match, dev)) names.push_back(match[1]);
  }
  AppStateOptions options = SimulatedOnly(clock);
  options.LoadDeviceDefinitions = true;
  AppState loaded(prompt, chooser, options);
  EXPECT_EQ(loaded.Devices().cboDevice, names);
  EXPECT_FALSE(names.empty());
}

// A library beside the program that cannot be read is passed over for the shipped one, and
// the communication monitor says which was loaded and why.
TEST_F(AppStateTest, ALibraryBesideTheProgramThatCannotBeReadIsNamedInTheMonitor) {
  const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "brixo_program_folder";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder / kStandardDefinitionsName);
  AppStateOptions options = SimulatedOnly(clock);
  options.LoadDeviceDefinitions = true;
  options.ProgramFolder = folder.string();
  AppState loaded(prompt, chooser, options);
  EXPECT_FALSE(loaded.Devices().cboDevice.empty());
  const std::string note = loaded.Devices().StartUpNote;
  EXPECT_EQ(note.rfind("Device library " + (folder / kStandardDefinitionsName).string() +
                           " cannot be read (Is a directory). Loaded ",
                       0),
            0u)
      << note;
  EXPECT_NE(loaded.Log().Text().find(note), std::string::npos);
  EXPECT_TRUE(prompt.Messages.empty());
  std::filesystem::remove_all(folder);
}

TEST_F(AppStateTest, SimulatedControllerIsOfferedOnlyWhenAsked) {
  AppStateOptions options = SimulatedOnly(clock);
  options.OfferSimulator = false;
  AppState plain(prompt, chooser, options);
  EXPECT_TRUE(plain.Ports().ComboPortItems().empty());
  EXPECT_EQ(plain.Simulator(), nullptr);
  EXPECT_FALSE(plain.Ports().SelectPort("1"));

  OpenSimulator();
  EXPECT_TRUE(app.Link().SendBrixoMessage(true, {112, 0}));
  EXPECT_TRUE(app.Link().ReplyValid);
  EXPECT_EQ(app.Simulator()->ReceivedPayloads().back(), (std::vector<int>{112, 0}));
}

TEST_F(AppStateTest, SimulatorKeepsItsConfigurationWhenThePortIsReopened) {
  OpenSimulator();
  app.General().TextGenIDString = "Kept";
  ASSERT_TRUE(RunDeferred("WriteAll"));
  app.Ports().SelectBitRate(2);  // closes and reopens the port
  ASSERT_TRUE(app.Link().PortOpen());
  app.General().TextGenIDString.clear();
  ASSERT_TRUE(RunDeferred("ReadAll"));
  EXPECT_EQ(app.General().TextGenIDString, "Kept");
  EXPECT_TRUE(prompt.Messages.empty()) << prompt.Messages.front();
}

TEST_F(AppStateTest, PreloadPutsTheFileOnTheSimulatedController) {
  const std::string demo = DataFile("demo.dat");
  if (!std::filesystem::exists(demo)) GTEST_SKIP() << "no " << demo;
  ASSERT_TRUE(app.PreloadSimulator(demo));
  // The application's own configuration is untouched by the preload.
  EXPECT_TRUE(app.General().TextGenIDString.empty());

  OpenSimulator();
  ASSERT_TRUE(RunDeferred("ReadAll"));
  ASSERT_TRUE(prompt.Messages.empty()) << prompt.Messages.front();

  AppState expected(prompt, chooser, SimulatedOnly(clock));
  ASSERT_TRUE(LoadDataFileFrom(expected.DataFiles(), demo));
  EXPECT_EQ(app.General().TextGenIDString, expected.General().TextGenIDString);
  EXPECT_EQ(app.General().TextGenDCCAddress, expected.General().TextGenDCCAddress);
  // The output ranges count the addresses of the pins loaded, as after a read.
  EXPECT_EQ(expected.General().LabelGenDCCOutput, "Output 77 .. 105");
  EXPECT_EQ(expected.General().LabelGenXDCCOutput, "Output 100 .. 118");
  EXPECT_EQ(app.General().LabelGenDCCOutput, expected.General().LabelGenDCCOutput);
  EXPECT_EQ(app.General().LabelGenXDCCOutput, expected.General().LabelGenXDCCOutput);
  EXPECT_EQ(app.Events().OnAction, expected.Events().OnAction);
  EXPECT_EQ(app.Events().OffAction, expected.Events().OffAction);
  for (int p = 0; p < kPinCount; ++p) {
    const PinRecord& got = app.Model().PinTable[p];
    const PinRecord& want = expected.Model().PinTable[p];
    EXPECT_EQ(got.AspectConfig, want.AspectConfig) << p;
    EXPECT_EQ(got.InitAspect, want.InitAspect) << p;
    EXPECT_EQ(got.DevicePointer, want.DevicePointer) << p;
    EXPECT_EQ(got.SerialAddressCount, want.SerialAddressCount) << p;
    for (int a = 0; a < kAspectCount; ++a) EXPECT_EQ(got.Aspects[a].Steps, want.Aspects[a].Steps) << p << "/" << a;
  }
}

TEST_F(AppStateTest, PreloadRefusesABrokenFileAndLeavesTheSimulatorAlone) {
  const std::string path = ::testing::TempDir() + "/broken_preload.dat";
  std::ofstream(path) << "\"NotAConfiguration 3100\"\r\nEnd\r\n";
  EXPECT_FALSE(app.PreloadSimulator(path));
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"Invalid configuration file\nbroken_preload.dat, line 1: not a "
                                                      "configuration file (it begins with no \"BrixoConfiguration \" "
                                                      "and a version)"});
  EXPECT_TRUE(app.Simulator()->ReceivedPayloads().empty());
  EXPECT_FALSE(app.Simulator()->IsOpen());
}

TEST_F(AppStateTest, PreloadWhileThePortIsOpenLeavesItOpen) {
  const std::string demo = DataFile("demo.dat");
  if (!std::filesystem::exists(demo)) GTEST_SKIP() << "no " << demo;
  OpenSimulator();
  ASSERT_TRUE(app.PreloadSimulator(demo));
  EXPECT_TRUE(app.Link().PortOpen());
  EXPECT_TRUE(app.Link().SendBrixoMessage(true, {112, 10}));
  EXPECT_TRUE(app.Link().ReplyValid);
}

TEST_F(AppStateTest, TestTabOpensOnlyInExpertMode) {
  EXPECT_FALSE(app.TabSelected(kTestTab));
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"Sorry, This tab is disabled\n"
                                                      "It opens in expert mode: switch that on in Tools > Expert Mode"});
  app.ExpertModeSwitch();
  EXPECT_TRUE(app.ExpertMode());
  EXPECT_TRUE(app.TabSelected(kTestTab));
  prompt.YesNoAnswer = MessageAnswer::No;
  app.ExpertModeSwitch();
  EXPECT_FALSE(app.ExpertMode());
  EXPECT_FALSE(app.Pins().Editor().View().ExpertMode);
}

}  // namespace
}  // namespace brixo::testing

namespace brixo::testing {
namespace {

// Showing a servo or PWM pin puts its current position or level into the test controls,
// so that "Jump" sends what the sliders show.
TEST(AppStateLiveTest, ShowingAPinSetsTheTestPositionAndLevel) {
  ManualClock clock;
  RecordingPrompt prompt;
  NoFileChooser chooser;
  AppState app{prompt, chooser, SimulatedOnly(clock)};
  const struct {
    uint8_t Type;
    uint8_t Level;
    int Servo;
    int Pwm;
  } cases[] = {{1, 74, 10, 0}, {2, 17, 10, 17}, {3, 40, 10, 31}, {1, 0, -64, 31}};
  for (const auto& c : cases) {
    PinRecord& pin = app.Model().PinTable[app.Model().CurrentPin];
    pin.OutputConfig[0] = c.Type;
    pin.OutputLevel = c.Level;
    app.View().ShowOutputConfig();
    EXPECT_EQ(app.Live().State.ServoTestPosition, c.Servo) << int(c.Type) << "/" << int(c.Level);
    EXPECT_EQ(app.Live().State.PwmTestLevel, c.Pwm) << int(c.Type) << "/" << int(c.Level);
  }
}

}  // namespace
}  // namespace brixo::testing
