// What the window remembers between runs, taken from one state and put into a fresh one,
// and the File menu's recent files.
#include "app/remembered_settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/recent_files.h"
#include "app_test_support.h"
#include "support/scripted_chooser.h"

namespace brixo::testing {
namespace {

using Files = std::vector<std::string>;

TEST(RecentFiles, NewestFirstEachOnceAtMostFive) {
  struct Case {
    const char* what;
    Files before;
    std::string added;
    Files after;
  };
  const Case cases[] = {
      {"into an empty list", {}, "/a.dat", {"/a.dat"}},
      {"goes first", {"/a.dat"}, "/b.dat", {"/b.dat", "/a.dat"}},
      {"a listed file moves up", {"/a.dat", "/b.dat", "/c.dat"}, "/c.dat", {"/c.dat", "/a.dat", "/b.dat"}},
      {"the oldest drops out", {"/1", "/2", "/3", "/4", "/5"}, "/6", {"/6", "/1", "/2", "/3", "/4"}},
      {"an empty path (a cancelled dialog) changes nothing", {"/a.dat"}, "", {"/a.dat"}},
  };
  for (const Case& c : cases) EXPECT_EQ(WithRecentFile(c.before, c.added), c.after) << c.what;
  EXPECT_EQ(WithoutRecentFile({"/a", "/b", "/c"}, "/b"), (Files{"/a", "/c"}));
}

TEST(RecentFiles, LoadsAndSavesPutTheirFileFirstAndAFileThatIsGoneLeaves) {
  ManualClock clock;
  RecordingPrompt prompt;
  ScriptedChooser chooser;
  AppState app(prompt, chooser, SimulatedOnly(clock));
  const std::string demo = DataFile("demo.dat");
  const std::string saved = (std::filesystem::temp_directory_path() / "brixo_recent_saved.dat").string();
  const std::string gone = (std::filesystem::temp_directory_path() / "brixo_recent_gone.dat").string();
  app.SetRecentFiles({gone});

  chooser.Answers = {demo};
  ASSERT_TRUE(app.LoadFile());
  EXPECT_EQ(app.RecentFiles(), (Files{demo, gone}));
  chooser.Answers = {saved};
  ASSERT_TRUE(app.SaveAs());
  EXPECT_EQ(app.RecentFiles(), (Files{saved, demo, gone}));
  chooser.Answers = {""};
  EXPECT_FALSE(app.LoadFile());
  EXPECT_EQ(app.RecentFiles(), (Files{saved, demo, gone})) << "a cancelled dialog adds nothing";

  EXPECT_TRUE(app.LoadRecentFile(demo));
  EXPECT_EQ(app.RecentFiles(), (Files{demo, saved, gone}));
  EXPECT_EQ(app.LastResult(), "Loaded demo.dat");
  EXPECT_FALSE(app.LoadRecentFile(gone));
  EXPECT_EQ(app.RecentFiles(), (Files{demo, saved}));
  ASSERT_FALSE(prompt.Messages.empty());
  EXPECT_EQ(prompt.Messages.back().rfind("Could not open " + gone, 0), 0u) << prompt.Messages.back();
  std::filesystem::remove(saved);
}

TEST(RememberedSettings, EveryValueComesBackInAFreshState) {
  ManualClock clock;
  RecordingPrompt prompt;
  NoFileChooser chooser;
  AppState first(prompt, chooser, SimulatedOnly(clock));
  ASSERT_TRUE(first.SelectDevice(kSimulatedPortName));
  // Every remembered value away from its default.
  first.SetStartNumberingAtOne(false);
  first.Ports().SelectBitRate(2);
  first.Addresses().SetModuleAddressFromSpinner(7, 0);
  first.Addresses().SetExtendedAddressFromSpinner(42, 0);
  first.Link().CheckBrixoBD = false;
  prompt.Answers = {MessageAnswer::Ok};
  ASSERT_TRUE(first.Addresses().SetExtendedAddressing(true));
  first.Pins().ShowDetails(true);
  first.SetRecentFiles({"/x/one.dat", "/x/two.dat"});
  const RememberedSettings remembered = RememberSettings(first, {});
  const size_t asked = prompt.Messages.size();
  EXPECT_EQ(remembered.Port, (PortIdentity{"", "", kSimulatedPortName}));

  AppState second(prompt, chooser, SimulatedOnly(clock));
  const RememberedSettings defaults = RememberSettings(second, {});
  RestoreSettings(second, remembered);
  RememberedSettings restored = RememberSettings(second, remembered);
  EXPECT_EQ(restored, remembered);
  // Each value by itself, so that a forgotten one is named.
  EXPECT_NE(defaults.StartNumberingAtOne, remembered.StartNumberingAtOne);
  EXPECT_NE(defaults.BitRateOption, remembered.BitRateOption);
  EXPECT_NE(defaults.ModuleAddress, remembered.ModuleAddress);
  EXPECT_NE(defaults.ExtendedAddress, remembered.ExtendedAddress);
  EXPECT_NE(defaults.Bidirectional, remembered.Bidirectional);
  EXPECT_NE(defaults.RecentFiles, remembered.RecentFiles);
  EXPECT_NE(defaults.ExtendedAddressing, remembered.ExtendedAddressing);
  EXPECT_NE(defaults.ShowDetails, remembered.ShowDetails);
  EXPECT_EQ(second.Ports().LineSettings(), "38400,o,8,1");
  EXPECT_EQ(second.Addresses().LabelAddressCaption(), "Channel Number");
  EXPECT_TRUE(second.Pins().Editor().View().Details.SSTabPCFG) << "the output parameters are shown";
  EXPECT_FALSE(second.Ports().PortOpen()) << "the port is opened by the window, once it shows";
  EXPECT_EQ(prompt.Messages.size(), asked) << "the warning answered in the first run is not asked again";
}

TEST(RememberedSettings, ValuesOutOfRangeAreBroughtIntoItAndUnknownOnesLeaveTheDefaults) {
  ManualClock clock;
  RecordingPrompt prompt;
  NoFileChooser chooser;
  AppState app(prompt, chooser, SimulatedOnly(clock));
  const RememberedSettings defaults = RememberSettings(app, {});
  RestoreSettings(app, {});
  EXPECT_EQ(RememberSettings(app, {}), defaults) << "nothing stored: nothing changes";

  RememberedSettings odd;
  odd.BitRateOption = 9;
  odd.ModuleAddress = 99;
  odd.ExtendedAddress = -5;
  RestoreSettings(app, odd);
  EXPECT_EQ(app.Ports().OptionBitRate, *defaults.BitRateOption);
  EXPECT_EQ(app.Link().ModuleAddress, 15);
  EXPECT_EQ(app.Link().ExtendedAddress, 0);
}

TEST(RememberedSettings, WithNoPortSelectedThePortRememberedBeforeIsKept) {
  ManualClock clock;
  RecordingPrompt prompt;
  NoFileChooser chooser;
  AppState app(prompt, chooser, SimulatedOnly(clock));
  RememberedSettings before;
  before.Port = {"A12345", "/dev/serial/by-id/usb-FTDI_A12345-if00-port0", "/dev/ttyUSB0"};
  EXPECT_EQ(RememberSettings(app, before).Port, before.Port);
  ASSERT_TRUE(app.SelectDevice(kSimulatedPortName));
  EXPECT_EQ(RememberSettings(app, before).Port, (PortIdentity{"", "", kSimulatedPortName}));
}

}  // namespace
}  // namespace brixo::testing
