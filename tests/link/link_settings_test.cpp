// The port list, port and bit-rate selection, with fake devices only.
#include <gtest/gtest.h>

#include "link/link_settings.h"
#include "link_test_support.h"

namespace brixo::test {
namespace {

TEST(PortList, MachineDevicesInStableNaturalOrder) {
  const std::vector<std::string> names{"ttyS10", "ttyS2", "console", "ttyACM0", "ttyUSB1", "tty0",
                                       "ttyUSB0", "ttyS0", "ttyUSBx", "ttyS"};
  EXPECT_EQ(OrderSerialDevices(names), (std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0",
                                                                  "/dev/ttyS0", "/dev/ttyS2", "/dev/ttyS10"}));
  std::vector<std::string> many;
  for (int i = 31; i >= 0; --i) many.push_back("ttyS" + std::to_string(i));
  const auto ordered = OrderSerialDevices(many);
  ASSERT_EQ(ordered.size(), 16u);
  EXPECT_EQ(ordered.back(), "/dev/ttyS15");
}

struct SettingsRig {
  ManualClock Clock;
  RecordingPrompt Prompt;
  RecordingLog Log;
  BrixoLink Link{Clock, Prompt, Log};
  FakeFactory Factory{Clock};
  LinkSettings Settings{Link, Factory, [] {
                          return std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyS0"};
                        }};
  SettingsRig() {
    Factory.Refuse = {"/dev/ttyACM0"};
    Settings.AddExtraDevice("/dev/pts/7");
    Settings.ListSerialPorts();
  }
  FakePort& OpenPort() { return *static_cast<FakePort*>(Link.Port()); }
};

TEST(LinkSettings, ListsOpenablePortsAndNumbersExtrasAfterThem) {
  SettingsRig rig;
  EXPECT_EQ(rig.Settings.ComboPortItems(),
            (std::vector<std::string>{"1 /dev/ttyUSB0", "3 /dev/ttyS0", "4 /dev/pts/7"}));
  EXPECT_FALSE(rig.Settings.PortOpen());
  EXPECT_TRUE(rig.Prompt.Messages.empty()) << "probing never reports";
}

TEST(LinkSettings, SelectingOpensTheNumberedDeviceAndForcesResync) {
  SettingsRig rig;
  EXPECT_TRUE(rig.Settings.SelectPort("3 /dev/ttyS0"));
  ASSERT_TRUE(rig.Settings.PortOpen());
  EXPECT_EQ(rig.OpenPort().OpenedDevice, "/dev/ttyS0");
  EXPECT_EQ(rig.OpenPort().SettingsAtOpen, "19200,o,8,1");
  EXPECT_EQ(rig.Link.ToggleState, 128);
}

// What the port could not arrange (low-latency operation) is said in the communication
// monitor when the user opens it, each time; probing the list says nothing.
TEST(LinkSettings, PortNotesGoToTheMonitorWhenThePortOpens) {
  SettingsRig rig;
  rig.Factory.NotesAtOpen = {"Latency timer of /dev/ttyUSB0 stays at 16 ms", "Low-latency mode could not be set"};
  rig.Settings.ListSerialPorts();
  EXPECT_TRUE(rig.Log.Lines.empty());
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(rig.Settings.SelectPort("1 /dev/ttyUSB0"));
    ASSERT_EQ(rig.Log.Lines.size(), 2u * (round + 1));
    EXPECT_EQ(rig.Log.Lines[2 * round], rig.Factory.NotesAtOpen[0]);
    EXPECT_EQ(rig.Log.Lines[2 * round + 1], rig.Factory.NotesAtOpen[1]);
  }
}

TEST(LinkSettings, SelectionThatCannotOpenLeavesPortClosed) {
  struct Case {
    std::string text;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"port", {}},
      {"2 /dev/ttyACM0", {"Cannot open communications port /dev/ttyACM0\nbusy"}},
      {"9", {"Cannot open communications port 9"}},
  };
  for (const Case& c : cases) {
    SettingsRig rig;
    rig.Settings.SelectPort("1 /dev/ttyUSB0");
    EXPECT_FALSE(rig.Settings.SelectPort(c.text)) << c.text;
    EXPECT_FALSE(rig.Settings.PortOpen()) << c.text;
    EXPECT_EQ(rig.Prompt.Messages, c.messages) << c.text;
    EXPECT_FALSE(rig.Link.SendBrixoMessage(true, {112, 0}));
    EXPECT_EQ(rig.Prompt.Messages.back(), "Select communications port");
  }
}

TEST(LinkSettings, BitRateChangeReopensSelectedPort) {
  SettingsRig rig;
  rig.Settings.SelectBitRate(0);
  EXPECT_FALSE(rig.Settings.PortOpen()) << "no port selected: settings only";
  EXPECT_EQ(rig.Settings.LineSettings(), "9600,o,8,1");

  rig.Settings.SelectPort("1 /dev/ttyUSB0");
  rig.Link.ToggleState = 0;
  rig.Settings.SelectBitRate(2);
  ASSERT_TRUE(rig.Settings.PortOpen());
  EXPECT_EQ(rig.OpenPort().SettingsAtOpen, "38400,o,8,1");
  EXPECT_EQ(rig.Settings.OptionBitRate, 2);
  EXPECT_EQ(rig.Link.ToggleState, 128);
}

TEST(LinkSettings, RefreshClosesThePort) {
  SettingsRig rig;
  rig.Settings.SelectPort("1 /dev/ttyUSB0");
  rig.Settings.RefreshPorts();
  EXPECT_FALSE(rig.Settings.PortOpen());
  EXPECT_EQ(rig.Link.Port(), nullptr);
  EXPECT_EQ(rig.Settings.ComboPortText, "");
  EXPECT_EQ(rig.Settings.ComboPortItems().size(), 3u);
}

TEST(LinkSettings, BitrateFrameToggles) {
  SettingsRig rig;
  EXPECT_FALSE(rig.Settings.FrameBitrateVisible);
  rig.Settings.ToggleBitrateFrame();
  EXPECT_TRUE(rig.Settings.FrameBitrateVisible);
  rig.Settings.ToggleBitrateFrame();
  EXPECT_FALSE(rig.Settings.FrameBitrateVisible);
}

}  // namespace
}  // namespace brixo::test
