// QtSerialPort against brixo-sim on a pseudo-terminal: a real exchange through the
// operating system, and what happens when the other side goes away.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace brixo::test
