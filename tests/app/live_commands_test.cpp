#include "app/live_commands.h"

#include <gtest/gtest.h>

#include "app/feedback_monitor.h"
#include "app_test_support.h"
#include "link/clock.h"
#include "support/sim_link_fixture.h"

namespace brixo::testing {
namespace {

using Payload = std::vector<int>;
using Legacy = std::array<int, 4>;

class LiveTest : public SimLinkTest {
 protected:
  void SetUp() override {
    SimLinkTest::SetUp();
    BuildSerialMap(model.PinTable, maps);
  }
  void Reset() {
    ClearPayloads();
    prompt.Clear();
  }

  ConfigModel model;
  AddressMaps maps;
  GeneralSettings general;
  LiveTestState state;
  LiveContext live{link, model, maps, general, state};
};

TEST_F(LiveTest, TestButtonSendsTheFormTheModifiersChoose) {
  // Pin 4 (shown as 5) holds serial addresses 6..: pins 0..3 hold two each.
  for (int p = 0; p < 4; ++p) model.PinTable[p].SerialAddressCount = 2;
  model.PinTable[4].SerialAddressCount = 1;
  BuildSerialMap(model.PinTable, maps);
  model.CurrentPin = 4;
  model.CurrentAspect = 2;
  const int legacyModule1 = 1 * 4 + 3;
  struct Case {
    int modifiers;
    bool flex;
    std::vector<Payload> payloads;
    std::vector<Legacy> legacy;
  };
  const Case cases[] = {
      {0, false, {{0, 0, 4, 2}}, {}},
      {kControlKey, false, {{0, 1, 8, 2}}, {}},
      {kShiftKey, false, {}, {{legacyModule1, 0, 4, 2}}},
      {kShiftKey | kControlKey, false, {}, {{legacyModule1, 1, 8, 2}}},
      // Flex start 10 (x 4 = 40) + address 8 = 48: module 1, address 16.
      {kShiftKey, true, {}, {{legacyModule1, 1, 16, 2}}},
      {kShiftKey | kControlKey, true, {}, {{legacyModule1, 1, 16, 2}}},
      {kAltKey | kShiftKey, false, {}, {}},
  };
  link.ModuleAddress = 1;
  port.Controller().SetModuleAddress(1);
  general.FlexAddress = 10;
  for (const Case& c : cases) {
    Reset();
    general.CheckGenTamloaddr = c.flex;
    TestAspect(live, c.modifiers);
    EXPECT_EQ(Payloads(), c.payloads) << c.modifiers;
    EXPECT_EQ(port.LegacyFrames(), c.legacy) << c.modifiers;
  }
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{kTestAspectHelp});
}

TEST_F(LiveTest, AddressFormsRefuseAPinWithoutSerialAddress) {
  model.PinTable[6].SerialAddressCount = 0;
  model.CurrentPin = 6;
  for (int modifiers : {int(kControlKey), kShiftKey | kControlKey}) {
    Reset();
    EXPECT_FALSE(TestAspect(live, modifiers));
    EXPECT_EQ(prompt.Messages, std::vector<std::string>{"You have no Tamlo-address(es) assigned to Pin 7"});
    EXPECT_TRUE(port.Written().empty() || Payloads().empty());
  }
  Reset();
  EXPECT_TRUE(TestAspect(live, 0));  // the plain form needs no address
}

TEST_F(LiveTest, TypedLevelsAreClampedAndSentOnce) {
  model.CurrentPin = 3;
  struct Case {
    bool servo;
    const char* typed;
    bool dynamics;
    const char* shown;
    Payload sent;
    int outputLevel;
  };
  const Case cases[] = {
      {false, "40", false, "31", {0, 38, 3, 31}, 31},  {false, "-3", true, "0", {0, 54, 3, 0}, 0},
      {false, "12.4", false, "12", {0, 38, 3, 12}, 12}, {true, "-70", false, "-64", {0, 39, 3, 0}, 0},
      {true, "100", true, "63", {0, 55, 3, 127}, 127},  {true, "5", false, "5", {0, 39, 3, 69}, 69},
  };
  for (const Case& c : cases) {
    Reset();
    state.SliderPWMFocus = state.SliderServoFocus = true;  // the slider keeps the focus it had
    const std::string shown =
        c.servo ? CommandSrvLevel(live, c.typed, c.dynamics) : CommandPWMLevel(live, c.typed, c.dynamics);
    EXPECT_EQ(shown, c.shown) << c.typed;
    EXPECT_EQ(Payloads(), std::vector<Payload>{c.sent}) << c.typed;
    EXPECT_EQ(model.PinTable[3].OutputLevel, c.outputLevel) << c.typed;
    EXPECT_TRUE(state.SliderPWMFocus && state.SliderServoFocus);
  }
  // "Jump" sends the last value without the fade flag.
  Reset();
  CommandStopSrv(live);
  EXPECT_EQ(Payloads(), (std::vector<Payload>{{0, 39, 3, 69}}));
}

TEST_F(LiveTest, SlidersSendOnlyWithTheFocus) {
  model.CurrentPin = 1;
  SliderPWMChange(live, 7, false);
  EXPECT_TRUE(Payloads().empty());
  EXPECT_EQ(state.PwmTestLevel, 7);
  state.SliderPWMFocus = true;
  SliderPWMChange(live, 8, true);
  EXPECT_EQ(Payloads(), (std::vector<Payload>{{0, 54, 1, 8}}));
}

TEST_F(LiveTest, SetAspectButtons) {
  const struct {
    int index;
    std::vector<Payload> sent;
  } cases[] = {
      {2, {{0, 1, 9, 2}}},
      {4, {{0, 1, 9, 0}}},
      {4, {{0, 1, 9, 1}}},
      {4, {{0, 1, 9, 0}}},
      {6, {{0, 1, 0, 1}, {0, 1, 1, 1}, {0, 1, 2, 1}, {0, 1, 3, 1}, {0, 1, 4, 1}, {0, 1, 5, 1}, {0, 1, 6, 1}, {0, 1, 7, 1}}},
  };
  for (const auto& c : cases) {
    Reset();
    BrixoSetAspect(live, c.index, "9");
    EXPECT_EQ(Payloads(), c.sent) << c.index;
  }
  Reset();
  SetMatrix(link, 5, {false, true, false, true});
  EXPECT_EQ(Payloads(), (std::vector<Payload>{{0, 1, 1, 5}, {0, 1, 3, 5}}));
}

TEST_F(LiveTest, LegacyModuleCommands) {
  Reset();
  ASSERT_TRUE(LampTestOutputs(link, 15));
  ASSERT_EQ(port.LegacyFrames().size(), 32u);
  EXPECT_EQ(port.LegacyFrames()[0], (Legacy{63, 10, 0, 30}));
  EXPECT_EQ(port.LegacyFrames()[31], (Legacy{63, 10, 31, 30}));
  Reset();
  ASSERT_TRUE(ClearAllOutputs(link, 0));
  EXPECT_EQ(port.LegacyFrames().back(), (Legacy{3, 8, 31, 0}));
  Reset();
  ResetModule(link, 2);
  link.ModuleAddress = 2;
  SendTamlo(link, 1, 2, 3);
  EXPECT_EQ(port.LegacyFrames(), (std::vector<Legacy>{{11, 2, 0, 0}, {11, 1, 2, 3}}));

  // With the port closed the loops say so once instead of 32 times.
  port.Close();
  Reset();
  EXPECT_FALSE(LampTestOutputs(link, 0));
  EXPECT_FALSE(ClearAllOutputs(link, 0));
  EXPECT_EQ(prompt.Messages, std::vector<std::string>(2, "Select communications port"));
}

TEST_F(LiveTest, FreeLegacyMessageRefusesAFirstByteThatReadsAsAControllerFrame) {
  // Every first byte: below 64 the frame goes out, from 64 on nothing reaches the line.
  link.ModuleAddress = 1;
  port.Controller().Memory().IdString = "Yard";
  for (int b1 = 0; b1 <= 127; ++b1) {
    Reset();
    const bool sent = SendTamlo(link, b1, 96, 10);
    EXPECT_EQ(sent, b1 < 64) << b1;
    EXPECT_EQ(port.LegacyFrames().size(), b1 < 64 ? 1u : 0u) << b1;
    EXPECT_TRUE(Payloads().empty()) << b1;
    EXPECT_EQ(prompt.Messages, b1 < 64 ? std::vector<std::string>{} : std::vector<std::string>{kLegacyFirstByteRefused})
        << b1;
  }
  EXPECT_EQ(port.Controller().Memory().IdString, "Yard");
}

TEST_F(LiveTest, FeedbackMonitorListsFourValueAnswers) {
  FeedbackMonitor monitor(link);
  std::string shown;
  monitor.onAppend = [&](const std::string& piece) { shown += piece; };
  port.Controller().SetFeedback({1, 0, 64, 3});
  EXPECT_FALSE(monitor.Tick());  // stopped: nothing is sent
  EXPECT_TRUE(monitor.Monitor());
  EXPECT_TRUE(monitor.Monitor());
  EXPECT_TRUE(monitor.Tick());
  monitor.Stop();
  EXPECT_FALSE(monitor.Tick());
  EXPECT_EQ(monitor.Text(), "Start Monitoring\n<1> <0> <64> <3> \nMonitoring Stopped\n");
  EXPECT_EQ(shown, monitor.Text());
  monitor.Clear();
  EXPECT_EQ(monitor.Text(), "");

  port.Close();
  EXPECT_FALSE(monitor.Monitor());
  EXPECT_EQ(prompt.Messages.back(), "Select Comm-port");
}

TEST_F(LiveTest, FeedbackLineNeedsAValidReplyOfFourBytes) {
  for (int length : {3, 4, 5}) {
    for (bool valid : {false, true}) {
      link.ReplyValid = valid;
      link.ReplyBuffer[1] = static_cast<uint8_t>(96 + length);
      for (int i = 0; i < length; ++i) link.ReplyBuffer[2 + i] = static_cast<uint8_t>(10 + i);
      EXPECT_EQ(FeedbackLine(link), valid && length == 4 ? "<10> <11> <12> <13> " : "") << length << valid;
    }
  }
}

}  // namespace
}  // namespace brixo::testing
