// QtSerialPort against brixo-sim on a pseudo-terminal: a real exchange through the
// operating system, and what happens when the other side goes away.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>

#include "link/communication_log.h"
#include "link/link_settings.h"
#include "link/qt_serial_port.h"
#include "link/link_test_support.h"
#include "sim/sim_process.h"

namespace brixo::test {
namespace {

class QtSimPty : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim_.Start(BRIXO_SIM_EXE, {"--quiet"}));
    device_ = sim_.Path();
    settings_.AddExtraDevice(device_);
    settings_.ListSerialPorts();
    ASSERT_EQ(settings_.ComboPortItems(), std::vector<std::string>{"1 " + device_});
    ASSERT_TRUE(settings_.SelectPort(settings_.ComboPortItems()[0]));
  }
  SimProcess sim_;
  std::string device_;
  SteadyClock clock_;
  RecordingPrompt prompt_;
  CommunicationLog log_;
  BrixoLink link_{clock_, prompt_, log_};
  QtSerialPortFactory factory_;
  // Only the simulator's device is offered: tests never open the machine's serial ports.
  LinkSettings settings_{link_, factory_};
};

TEST_F(QtSimPty, VersionReadRoundTrip) {
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(link_.SendBrixoMessage(true, {112, 0}));
    ASSERT_TRUE(link_.ReplyValid) << (prompt_.Messages.empty() ? "" : prompt_.Messages[0]);
    EXPECT_EQ(link_.ReplyLength(), 6);
    EXPECT_EQ(link_.R(0), 112);
    EXPECT_EQ(link_.R(1), 0);
  }
  EXPECT_TRUE(prompt_.Messages.empty());
  EXPECT_NE(log_.Text().find("<  [03] [66] [70] [00]"), std::string::npos) << log_.Text();
}

TEST_F(QtSimPty, SimulatorGoneIsReportedOnceAndClosesThePort) {
  ASSERT_TRUE(link_.SendBrixoMessage(true, {112, 0}));
  sim_.Kill();
  EXPECT_FALSE(link_.SendBrixoMessage(true, {112, 0}));
  EXPECT_FALSE(settings_.PortOpen());
  ASSERT_EQ(prompt_.Messages.size(), 1u);
  // The device is named and said to be gone, not the system call that noticed it.
  EXPECT_EQ(prompt_.Messages[0], "Communications port " + device_ + " went away (device unplugged or closed)");
  EXPECT_TRUE(link_.CheckBrixoBD);
  const size_t shown = prompt_.Messages.size();
  EXPECT_FALSE(link_.SendBrixoMessage(true, {112, 0}));
  ASSERT_EQ(prompt_.Messages.size(), shown + 1);
  EXPECT_EQ(prompt_.Messages.back(), "Select communications port");
}

// A program killed while it held the device leaves its settings behind, which a
// pseudo-terminal keeps; the device must open again all the same.
TEST_F(QtSimPty, DeviceHeldByAKilledProgramOpensAgain) {
  settings_.RefreshPorts();
  ASSERT_FALSE(settings_.PortOpen());
  for (int round = 0; round < 2; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      QtSerialPort port;
      port.SetLineSettings("19200,o,8,1");
      _exit(port.Open(device_) ? 0 : 1);  // gone without closing, as if killed
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
  }
  ASSERT_TRUE(settings_.SelectPort(settings_.ComboPortItems()[0])) << (prompt_.Messages.empty() ? "" : prompt_.Messages[0]);
  ASSERT_TRUE(link_.SendBrixoMessage(true, {112, 0}));
  EXPECT_TRUE(link_.ReplyValid);
  // A pseudo-terminal has no low-latency settings: opening it says nothing about them.
  EXPECT_EQ(log_.Text().find("atency"), std::string::npos) << log_.Text();
}


// Another program holding the device is told as such, by name, whichever way it keeps
// others out: the lock file Qt's serial ports leave, or a flock() lock alone.
TEST_F(QtSimPty, ADeviceAnotherProgramHoldsIsReportedInUseByIt) {
  struct Case {
    const char* Name;
    std::function<bool(const std::string&)> Hold;  // in the other process; true when held
  };
  const Case cases[] = {
      {"another serial-port program", [](const std::string& device) {
         auto* port = new QtSerialPort;  // never closed: held until the process ends
         port->SetLineSettings("19200,o,8,1");
         return port->Open(device);
       }},
      {"flock alone", [](const std::string& device) {
         const int handle = ::open(device.c_str(), O_RDWR | O_NOCTTY);
         return handle >= 0 && ::flock(handle, LOCK_EX) == 0;
       }},
  };
  settings_.RefreshPorts();
  for (const Case& c : cases) {
    ASSERT_FALSE(settings_.PortOpen()) << c.Name;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
      const char held = c.Hold(device_) ? 'y' : 'n';
      (void)!::write(ready[1], &held, 1);
      ::pause();
      _exit(0);
    }
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_EQ(held, 'y') << c.Name;
    prompt_.Messages.clear();
    EXPECT_FALSE(settings_.SelectPort(settings_.ComboPortItems()[0])) << c.Name;
    const std::string inUse = "Communications port " + device_ + " is in use by brixo_qt_tests (process " +
                              std::to_string(holder) + ")";
    EXPECT_EQ(prompt_.Messages, std::vector<std::string>{"Cannot open communications port " + device_ + "\n" + inUse})
        << c.Name;
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
  }
  // Once the other program has gone, the device opens.
  EXPECT_TRUE(settings_.SelectPort(settings_.ComboPortItems()[0])) << (prompt_.Messages.empty() ? "" : prompt_.Messages.back());
}

}  // namespace
}  // namespace brixo::test
