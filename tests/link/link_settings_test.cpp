// The port list, port and bit-rate selection, with fake devices only.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "link/link_settings.h"
#include "link/port_in_use.h"
#include "link/port_permission.h"
#include "link_test_support.h"
#include "support/scratch_folder.h"

namespace brixo::test {
namespace {

SerialDeviceInfo Usb(const std::string& device, const std::string& description = "", const std::string& serial = "") {
  return {device, description, "", serial, "", true};
}
SerialDeviceInfo Plain(const std::string& device) { return {device, "", "", "", "", false}; }

std::vector<std::string> Devices(const std::vector<SerialDeviceInfo>& devices) {
  std::vector<std::string> names;
  for (const SerialDeviceInfo& device : devices) names.push_back(device.Device);
  return names;
}

TEST(PortList, UsbAdaptersFirstThenEachFamilyInNaturalOrder) {
  const std::vector<SerialDeviceInfo> scanned{Plain("/dev/ttyS10"), Plain("/dev/ttyS2"),     Usb("/dev/ttyACM0"),
                                              Usb("/dev/ttyUSB1"),  Plain("/dev/ttyAMA0"),   Usb("/dev/ttyUSB0"),
                                              Plain("/dev/ttyS0"),  Usb("/dev/ttyUSB10"),    Usb("/dev/ttyUSB2"),
                                              Plain("/dev/rfcomm0")};
  EXPECT_EQ(Devices(OrderSerialDevices(scanned)),
            (std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyACM0",
                                      "/dev/ttyS0", "/dev/ttyS2", "/dev/ttyS10", "/dev/rfcomm0", "/dev/ttyAMA0"}));
  // A USB adapter of an unusual family still comes before the built-in ports.
  EXPECT_EQ(Devices(OrderSerialDevices({Plain("/dev/ttyS0"), Usb("/dev/ttyXRUSB0")})),
            (std::vector<std::string>{"/dev/ttyXRUSB0", "/dev/ttyS0"}));
  // Whatever order the scanner reports, the list is the same.
  std::vector<SerialDeviceInfo> reversed(scanned.rbegin(), scanned.rend());
  EXPECT_EQ(OrderSerialDevices(reversed), OrderSerialDevices(scanned));

  std::vector<SerialDeviceInfo> many;
  for (int i = 31; i >= 0; --i) many.push_back(Plain("/dev/ttyS" + std::to_string(i)));
  const auto ordered = OrderSerialDevices(many);
  ASSERT_EQ(ordered.size(), 16u);
  EXPECT_EQ(ordered.back().Device, "/dev/ttyS15");
}

TEST(PortList, EntryTextsTellAdaptersApart) {
  struct Case {
    SerialDeviceInfo info;
    std::string text;
  };
  const Case cases[] = {
      {{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A12345", "", true}, "1 /dev/ttyUSB0 \u2014 FT232R USB UART (A12345)"},
      {{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "", "", true}, "1 /dev/ttyUSB0 \u2014 FT232R USB UART"},
      {{"/dev/ttyACM0", "", "Arduino LLC", "", "", true}, "1 /dev/ttyACM0 \u2014 Arduino LLC"},
      {{"/dev/ttyACM0", "", "", "7523", "", true}, "1 /dev/ttyACM0 \u2014 (7523)"},
      {Plain("/dev/ttyS0"), "1 /dev/ttyS0"},
  };
  for (const Case& c : cases) EXPECT_EQ((PortEntry{1, c.info}.Text()), c.text);
  const PortEntry full{2, {"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A12345", "/dev/serial/by-id/usb-FTDI-if00", true}};
  EXPECT_EQ(full.Details(),
            "/dev/ttyUSB0\nDescription: FT232R USB UART\nManufacturer: FTDI\nSerial number: A12345\n"
            "Stable name: /dev/serial/by-id/usb-FTDI-if00");
}

TEST(PortList, ExtraDevicesFollowTheMachinesAndAreNotListedTwice) {
  const auto entries = NumberPorts({Usb("/dev/ttyUSB0"), Plain("/dev/ttyS0")}, {"/dev/pts/7", "/dev/ttyUSB0"});
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[2].Number, 3);
  EXPECT_EQ(entries[2].Device(), "/dev/pts/7");
  EXPECT_EQ(entries[2].Text(), "3 /dev/pts/7");
}

TEST(PortList, TheRememberedPortIsFoundByItsIdentityNotItsNumber) {
  const SerialDeviceInfo ftdiA{"/dev/ttyUSB1", "FT232R", "FTDI", "A1", "/dev/serial/by-id/usb-FTDI_A1-if00", true};
  const SerialDeviceInfo ftdiB{"/dev/ttyUSB0", "FT232R", "FTDI", "B2", "/dev/serial/by-id/usb-FTDI_B2-if00", true};
  const SerialDeviceInfo clone1{"/dev/ttyUSB2", "CH340", "", "", "/dev/serial/by-id/usb-1a86-if00", true};
  const SerialDeviceInfo twinA{"/dev/ttyACM0", "CDC", "", "SAME", "", true};
  const SerialDeviceInfo twinB{"/dev/ttyACM1", "CDC", "", "SAME", "", true};
  const auto entries =
      NumberPorts(OrderSerialDevices({ftdiA, ftdiB, clone1, twinA, twinB, Plain("/dev/ttyS0")}), {"/dev/pts/3"});
  struct Case {
    const char* what;
    PortIdentity remembered;
    std::string found;  // empty: none
  };
  const Case cases[] = {
      {"by-id wins over a path now used by another adapter",
       {"A1", "/dev/serial/by-id/usb-FTDI_A1-if00", "/dev/ttyUSB0"}, "/dev/ttyUSB1"},
      {"a by-id name that is gone finds nothing, whatever the path",
       {"", "/dev/serial/by-id/usb-FTDI_C3-if00", "/dev/ttyUSB0"}, ""},
      {"serial number alone", {"B2", "", "/dev/ttyUSB7"}, "/dev/ttyUSB0"},
      {"a shared serial number prefers the old path", {"SAME", "", "/dev/ttyACM1"}, "/dev/ttyACM1"},
      {"a shared serial number at a new path takes the first", {"SAME", "", "/dev/ttyACM5"}, "/dev/ttyACM0"},
      {"a serial number that is gone finds nothing", {"Z9", "", "/dev/ttyUSB0"}, ""},
      {"a built-in port by its path", {"", "", "/dev/ttyS0"}, "/dev/ttyS0"},
      {"a pseudo-terminal by its path", {"", "", "/dev/pts/3"}, "/dev/pts/3"},
      {"nothing remembered", {}, ""},
  };
  for (const Case& c : cases) {
    const PortEntry* entry = FindPort(entries, c.remembered);
    EXPECT_EQ(entry ? entry->Device() : "", c.found) << c.what;
  }
  // Every scanned device is found again by its own identity, wherever it is in the list.
  for (const PortEntry& entry : entries) {
    if (entry.Info.SerialNumber == "SAME") continue;
    const PortEntry* again = FindPort(entries, IdentityOf(entry.Info));
    ASSERT_NE(again, nullptr) << entry.Device();
    EXPECT_EQ(again->Device(), entry.Device());
  }
}

TEST(PortList, ByIdLinksNameTheirDevices) {
  namespace fs = std::filesystem;
  const fs::path root = fs::temp_directory_path() / ("brixo_by_id_" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::create_directories(root / "by-id");
  std::ofstream(root / "ttyUSB0").put('x');
  fs::create_symlink("../ttyUSB0", root / "by-id" / "usb-FTDI_A1-if00");
  fs::create_symlink("../gone", root / "by-id" / "usb-broken");
  const auto links = ByIdLinks((root / "by-id").string());
  EXPECT_EQ(links, (std::map<std::string, std::string>{
                       {(root / "ttyUSB0").string(), (root / "by-id" / "usb-FTDI_A1-if00").string()}}));
  EXPECT_TRUE(ByIdLinks((root / "none").string()).empty());
  fs::remove_all(root);
}

struct SettingsRig {
  ManualClock Clock;
  RecordingPrompt Prompt;
  RecordingLog Log;
  BrixoLink Link{Clock, Prompt, Log};
  FakeFactory Factory{Clock};
  std::vector<SerialDeviceInfo> Machine{Usb("/dev/ttyUSB0"), Usb("/dev/ttyACM0"), Plain("/dev/ttyS0")};
  LinkSettings Settings{Link, Factory, [this] { return Machine; }};
  SettingsRig() {
    Factory.Refuse = {"/dev/ttyACM0"};
    Settings.AddExtraDevice("/dev/pts/7");
    Settings.ListSerialPorts();
  }
  FakePort& OpenPort() { return *static_cast<FakePort*>(Link.Port()); }
};

TEST(LinkSettings, ListsTheDevicesThatExistWithoutOpeningThemAndNumbersExtrasAfterThem) {
  SettingsRig rig;
  EXPECT_EQ(rig.Settings.ComboPortItems(),
            (std::vector<std::string>{"1 /dev/ttyUSB0", "2 /dev/ttyACM0", "3 /dev/ttyS0", "4 /dev/pts/7"}));
  EXPECT_FALSE(rig.Settings.PortOpen());
  EXPECT_TRUE(rig.Factory.Made.empty()) << "listing opens nothing";
  EXPECT_TRUE(rig.Prompt.Messages.empty());
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

// A number beyond the list says that there is no such port, how many there are and how
// to list them, in the words of the program in use.
TEST(LinkSettings, SelectionThatCannotOpenLeavesPortClosed) {
  struct Case {
    std::string text;
    size_t machinePorts;  // besides the one named on the command line
    bool commandLine;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"port", 3, false, {}},
      {"2 /dev/ttyACM0", 3, false, {"Cannot open communications port /dev/ttyACM0\nbusy"}},
      {"5", 3, false, {"Cannot open communications port 5\nThere is no port 5: there are ports 1 to 4 (Refresh lists them again)"}},
      {"9", 3, true, {"Cannot open communications port 9\nThere is no port 9: there are ports 1 to 4 (brixo-cli ports lists them)"}},
      {"5", 0, true, {"Cannot open communications port 5\nThere is no port 5: there is only port 1 (brixo-cli ports lists them)"}},
  };
  for (const Case& c : cases) {
    SettingsRig rig;
    rig.Machine.resize(c.machinePorts);
    rig.Settings.ListSerialPorts();
    if (c.commandLine) rig.Settings.Directions = CommandLineDirections();
    rig.Settings.SelectPort("1");
    EXPECT_FALSE(rig.Settings.SelectPort(c.text)) << c.text;
    EXPECT_FALSE(rig.Settings.PortOpen()) << c.text;
    EXPECT_EQ(rig.Prompt.Messages, c.messages) << c.text;
    EXPECT_FALSE(rig.Link.SendBrixoMessage(true, {112, 0}));
    EXPECT_EQ(rig.Prompt.Messages.back(), "Select communications port");
  }
  EXPECT_EQ(NoSuchPortText(2, 0, CommandLineDirections()),
            "There is no port 2: no port was found (brixo-cli ports lists them)");
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
  EXPECT_EQ(rig.Settings.ComboPortItems().size(), 4u);
}

TEST(LinkSettings, BitrateFrameToggles) {
  SettingsRig rig;
  EXPECT_FALSE(rig.Settings.FrameBitrateVisible);
  rig.Settings.ToggleBitrateFrame();
  EXPECT_TRUE(rig.Settings.FrameBitrateVisible);
  rig.Settings.ToggleBitrateFrame();
  EXPECT_FALSE(rig.Settings.FrameBitrateVisible);
}

TEST(LinkSettings, TheAutomaticRefreshFollowsAdaptersAndKeepsTheOpenPort) {
  SettingsRig rig;
  ASSERT_TRUE(rig.Settings.SelectPort("3 /dev/ttyS0"));
  FakePort* open = &rig.OpenPort();
  EXPECT_FALSE(rig.Settings.RescanPorts().Changed) << "nothing plugged: nothing to do";

  // An adapter plugged in comes first: the open built-in port moves to number 4 and stays open.
  rig.Machine.push_back(Usb("/dev/ttyUSB1", "FT232R", "A1"));
  const auto plugged = rig.Settings.RescanPorts();
  EXPECT_TRUE(plugged.Changed);
  EXPECT_TRUE(plugged.LostDevice.empty());
  EXPECT_EQ(rig.Settings.ComboPortItems(),
            (std::vector<std::string>{"1 /dev/ttyUSB0", "2 /dev/ttyUSB1 \u2014 FT232R (A1)", "3 /dev/ttyACM0",
                                      "4 /dev/ttyS0", "5 /dev/pts/7"}));
  EXPECT_EQ(rig.Settings.ComboPortText, "4 /dev/ttyS0");
  ASSERT_TRUE(rig.Settings.PortOpen());
  EXPECT_EQ(&rig.OpenPort(), open) << "the port was not reopened";
  EXPECT_EQ(rig.Factory.Made.size(), 1u);
  // A bit-rate change reopens the same device under its new number.
  rig.Settings.SelectBitRate(0);
  EXPECT_EQ(rig.OpenPort().OpenedDevice, "/dev/ttyS0");

  // The open port's device unplugged: the port closes and the selection empties.
  rig.Machine.pop_back();
  rig.Machine.erase(rig.Machine.end() - 1);
  const auto unplugged = rig.Settings.RescanPorts();
  EXPECT_TRUE(unplugged.Changed);
  EXPECT_EQ(unplugged.LostDevice, "/dev/ttyS0");
  EXPECT_FALSE(rig.Settings.PortOpen());
  EXPECT_EQ(rig.Link.Port(), nullptr);
  EXPECT_EQ(rig.Settings.ComboPortText, "");
  EXPECT_EQ(rig.Settings.ComboPortItems(),
            (std::vector<std::string>{"1 /dev/ttyUSB0", "2 /dev/ttyACM0", "3 /dev/pts/7"}));
  EXPECT_TRUE(rig.Prompt.Messages.empty()) << "the window tells it in the status bar";
}

TEST(LinkSettings, TheAutomaticRefreshKeepsAPortNamedOnTheCommandLine) {
  SettingsRig rig;
  ASSERT_TRUE(rig.Settings.SelectPort("4 /dev/pts/7"));
  rig.Machine.clear();
  const auto change = rig.Settings.RescanPorts();
  EXPECT_TRUE(change.Changed);
  EXPECT_TRUE(change.LostDevice.empty());
  EXPECT_EQ(rig.Settings.ComboPortText, "1 /dev/pts/7");
  EXPECT_TRUE(rig.Settings.PortOpen());
}

TEST(LinkSettings, APermissionRefusalSaysHowToGetAccess) {
  SettingsRig rig;
  rig.Factory.RefuseReason = "Communications port /dev/ttyACM0: Permission denied";
  EXPECT_FALSE(rig.Settings.SelectPort("2 /dev/ttyACM0"));
  ASSERT_EQ(rig.Prompt.Messages.size(), 1u);
  const std::string& text = rig.Prompt.Messages[0];
  EXPECT_EQ(text.rfind("Cannot open communications port /dev/ttyACM0\nCommunications port /dev/ttyACM0: "
                       "Permission denied\n",
                       0),
            0u)
      << text;
  // The device does not exist here, so the advice names Debian's group.
  EXPECT_NE(text.find("sudo usermod -a -G dialout "), std::string::npos) << text;
  // A refusal for another reason gives no such advice.
  rig.Factory.RefuseReason = "Device or resource busy";
  rig.Prompt.Messages.clear();
  rig.Settings.SelectPort("2 /dev/ttyACM0");
  EXPECT_EQ(rig.Prompt.Messages, std::vector<std::string>{"Cannot open communications port /dev/ttyACM0\nDevice or resource busy"});
}

TEST(PortPermission, TheAdviceNamesTheGroupTheUserAndTheCommand) {
  struct Case {
    DeviceAccess access;
    std::string advice;
  };
  const Case cases[] = {
      {{"dialout", "alice", false},
       "Only members of the group \"dialout\", which owns /dev/ttyUSB0, may open it. Add yourself with\n"
       "    sudo usermod -a -G dialout alice\nthen log out and back in."},
      {{"uucp", "bob", false},
       "Only members of the group \"uucp\", which owns /dev/ttyUSB0, may open it. Add yourself with\n"
       "    sudo usermod -a -G uucp bob\nthen log out and back in."},
      {{"", "", false},
       "Only members of the group \"dialout\", which owns /dev/ttyUSB0, may open it. Add yourself with\n"
       "    sudo usermod -a -G dialout $USER\nthen log out and back in."},
      {{"dialout", "alice", true},
       "You are a member of the group \"dialout\", which owns /dev/ttyUSB0, but only since this login began: "
       "log out and back in (or start the program under\n    newgrp dialout\n) to use the membership."},
      {{"root", "alice", false},
       "/dev/ttyUSB0 may be opened by root only. A udev rule that gives it to the group dialout lets that "
       "group's members open it."},
  };
  for (const Case& c : cases) EXPECT_EQ(PermissionAdvice("/dev/ttyUSB0", c.access), c.advice);
  EXPECT_TRUE(IsPermissionDenied("Communications port /dev/ttyS0: Permission denied"));
  EXPECT_FALSE(IsPermissionDenied("Communications port /dev/ttyS0: No such file or directory"));
  // On this machine: the group of a device everybody has, and who runs the tests.
  const DeviceAccess here = LookUpDeviceAccess("/dev/null");
  EXPECT_FALSE(here.Group.empty());
  EXPECT_FALSE(here.User.empty());
}


// A device another program holds: its lock file names the holder, in any of the forms
// programs write; a lock whose process has gone names nobody.
TEST(PortInUse, TheLockFileNamesTheProgramThatHoldsTheDevice) {
  EXPECT_EQ(LockFileName("/dev/ttyUSB0"), "LCK..ttyUSB0");
  EXPECT_EQ(LockFileName("/dev/pts/3"), "LCK..pts_3");
  const int32_t binary = 4242;
  struct Case {
    std::string Content;
    std::optional<int> Pid;
  };
  const Case cases[] = {
      {"      4242\n", 4242},                      // padded, as UUCP programs write it
      {"4242\nbrixoconfig\nhost\n", 4242},       // Qt's serial ports
      {"4242", 4242},
      {std::string(reinterpret_cast<const char*>(&binary), 4), 4242},  // old programs
      {"", std::nullopt},
      {"0\n", std::nullopt},
      {"12ab\n", std::nullopt},
      {"holder\n", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(LockFilePid(c.Content), c.Pid) << c.Content;

  const testing::ScratchFolder folder;
  const int parent = static_cast<int>(::getppid());  // a process that lives
  std::ofstream(folder / "LCK..ttyFAKE7") << "  " << parent << "\n";
  const std::optional<PortHolder> holder = FindPortHolder("/dev/ttyFAKE7", {folder / ""});
  ASSERT_TRUE(holder.has_value());
  EXPECT_EQ(holder->Pid, parent);
  EXPECT_FALSE(holder->Program.empty());
  EXPECT_EQ(PortInUseText("/dev/ttyFAKE7", holder),
            "Communications port /dev/ttyFAKE7 is in use by " + holder->Program + " (process " +
                std::to_string(parent) + ")");
  std::ofstream(folder / "LCK..ttyFAKE7") << "999999999\n";
  EXPECT_FALSE(FindPortHolder("/dev/ttyFAKE7", {folder / ""}).has_value()) << "a stale lock";
  EXPECT_EQ(PortInUseText("/dev/ttyFAKE7", std::nullopt), "Communications port /dev/ttyFAKE7 is in use by another program");
}

}  // namespace
}  // namespace brixo::test
