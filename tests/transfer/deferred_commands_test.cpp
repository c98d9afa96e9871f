#include "transfer/deferred_commands.h"

#include <gtest/gtest.h>

#include "pin_test_fixture.h"
#include "transfer/event_control_transfer.h"
#include "transfer/pin_transfer.h"

namespace brixo::testing {
namespace {

class DeferredCommandsTest : public TransferTest {
 protected:
  std::string LastBusyCall() const {
    std::string last;
    for (const auto& c : view.Calls) {
      if (c.rfind("SetBusy", 0) == 0) last = c;
    }
    return last;
  }
  DeferredCommands commands{ctx};
};

TEST_F(DeferredCommandsTest, OnlyTheLastCommandPostedBeforeATickRuns) {
  ASSERT_TRUE(commands.PostCommand("ReadAll"));
  ASSERT_TRUE(commands.PostCommand("WriteAll"));
  EXPECT_EQ(commands.PendingCommand(), "WriteAll");
  EXPECT_TRUE(commands.LabelActionVisible());
  commands.Tick();
  EXPECT_EQ(CountCommand(112), 0);
  EXPECT_EQ(CountCommand(114), 0);
  EXPECT_EQ(CountCommand(98), 32);
  EXPECT_FALSE(commands.LabelActionVisible());

  const size_t sent = Payloads().size();
  commands.Tick();  // nothing left
  EXPECT_EQ(Payloads().size(), sent);
}

TEST_F(DeferredCommandsTest, SlotIsEmptiedBeforeTheOperationRuns) {
  std::vector<std::string> seenWhileRunning;
  view.OnCall = [&](const std::string&) { seenWhileRunning.push_back(commands.PendingCommand()); };
  commands.PostCommand("ReadPin");
  seenWhileRunning.clear();
  commands.Tick();
  ASSERT_FALSE(seenWhileRunning.empty());
  for (const auto& pending : seenWhileRunning) EXPECT_EQ(pending, "");
}

class PortCheckTest : public DeferredCommandsTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(PortCheckTest, VerifyWithClosedPortPostsNothing) {
  port.Close();
  report.AppendReportLine("earlier findings");
  EXPECT_FALSE(commands.PostCommand(GetParam()));
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"Select communications port"});
  EXPECT_TRUE(view.Calls.empty());
  EXPECT_FALSE(commands.LabelActionVisible());
  EXPECT_EQ(commands.PendingCommand(), "");
  commands.Tick();
  EXPECT_EQ(report.Text, "earlier findings\r\n");
  EXPECT_TRUE(view.Calls.empty());
}

INSTANTIATE_TEST_SUITE_P(Commands, PortCheckTest, ::testing::Values("VerifyAll", "VerifyAllPins", "ECVerify", "Compare",
                                                                  "WriteChanged"));

TEST_F(DeferredCommandsTest, OtherCommandsPostWithClosedPort) {
  port.Close();
  EXPECT_TRUE(commands.PostCommand("ReadAll"));
  EXPECT_TRUE(prompt.Messages.empty());
}

TEST_F(DeferredCommandsTest, WriteDeviceNeedsAReferralToAHead) {
  model.CurrentPin = 5;
  model.PinTable[5].DevicePointer = -2;
  model.PinTable[3].DevicePointer = 1;
  EXPECT_FALSE(commands.PostCommand("WriteDevice"));
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"Referral is not a device"});
  EXPECT_EQ(prompt.Icons(), std::vector<MessageIcon>{MessageIcon::Warning});
  EXPECT_TRUE(view.Calls.empty());
  EXPECT_EQ(commands.PendingCommand(), "");

  model.PinTable[3].DevicePointer = 0;
  EXPECT_TRUE(commands.PostCommand("WriteDevice"));
}

TEST_F(DeferredCommandsTest, NamesAreMatchedExactly) {
  for (const char* name : {"readall", "Read All", "", "ECVerify "}) {
    EXPECT_FALSE(commands.PostCommand(name)) << name;
    EXPECT_FALSE(DeferredCommands::IsCommandName(name)) << name;
  }
  EXPECT_TRUE(view.Calls.empty());
}

struct CommandCase {
  const char* name;
  std::vector<int> firstPayloadStart;
  bool refreshesViews;
  bool showsReport;
};

class CommandTableTest : public DeferredCommandsTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CommandTableTest, TickRunsTheCommandAndHidesTheBusyLabel) {
  const CommandCase c = GetParam();
  model.CurrentPin = 9;
  ASSERT_TRUE(commands.PostCommand(c.name));
  EXPECT_EQ(view.Calls, std::vector<std::string>{"SetBusy(1)"});
  commands.Tick();

  const auto payloads = Payloads();
  ASSERT_FALSE(payloads.empty());
  const std::vector<int> start(payloads[0].begin(),
                               payloads[0].begin() + std::min(payloads[0].size(), c.firstPayloadStart.size()));
  EXPECT_EQ(start, c.firstPayloadStart);
  EXPECT_EQ(LastBusyCall(), "SetBusy(0)");
  EXPECT_FALSE(commands.LabelActionVisible());
  EXPECT_EQ(view.Saw("RebuildAddressMaps") && view.Saw("ShowOutputConfig"), c.refreshesViews);
  EXPECT_EQ(view.Saw("ShowReport"), c.showsReport);
  if (c.showsReport) {
    EXPECT_EQ(view.Calls.back(), "ShowReport");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandTableTest,
    ::testing::Values(CommandCase{"ReadAll", {112, 0}, true, false}, CommandCase{"WriteAll", {96, 10}, false, false},
                      CommandCase{"VerifyAll", {112, 10}, false, true}, CommandCase{"ReadPin", {114, 9}, true, false},
                      CommandCase{"WritePin", {98, 9}, false, false}, CommandCase{"ReadDevice", {118, 9}, true, false},
                      CommandCase{"WriteDevice", {98, 9}, false, false},
                      CommandCase{"ReadAllPins", {114, 0}, true, false},
                      CommandCase{"WriteAllPins", {98, 0}, false, false},
                      CommandCase{"PAspReadPin", {114, 9}, false, false},
                      CommandCase{"PAspWritePin", {98, 9}, false, false},
                      CommandCase{"VerifyAllPins", {113, 0}, false, true},
                      CommandCase{"ECWriteAll", {100, 0, 0, 16, 32, 48}, false, false},
                      // A read taken whole shows everything it took.
                      CommandCase{"ECReadAll", {116, 0}, true, false},
                      CommandCase{"ECVerify", {116, 0}, false, true}, CommandCase{"Compare", {112, 10}, false, true},
                      CommandCase{"WriteChanged", {112, 10}, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeferredCommandsTest, AspectReadShowsThePinOnlyOnSuccess) {
  port.Controller().Faults().NoReply = true;
  commands.PostCommand("PAspReadPin");
  commands.Tick();
  EXPECT_FALSE(view.Saw("ShowPin"));
  EXPECT_EQ(LastBusyCall(), "SetBusy(0)");
}

// What each verify command leaves at the end of the report.
class ClosingWordTest : public DeferredCommandsTest {
 protected:
  void SetUp() override {
    DeferredCommandsTest::SetUp();
    for (int p = 0; p < 32; ++p) model.PinTable[p] = SamplePin(3);
    for (auto& pin : events.OnAction) pin = {1, -1, 11, 4};
    ASSERT_TRUE(WriteAllPinsLoop(ctx));
    ASSERT_TRUE(WriteEventControl(ctx));
    ASSERT_TRUE(WriteEnableMap(ctx));
  }
  std::string Run(const char* name) {
    report.Text = "stale";
    commands.PostCommand(name);
    commands.Tick();
    return report.Text;
  }
};

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST_F(ClosingWordTest, VerifyAllPinsEndsWithItsVerdictAndASummaryWithoutLineBreak) {
  const std::string text = Run("VerifyAllPins");
  EXPECT_EQ(text.rfind("Start Pin Verification", 0), 0u);
  EXPECT_TRUE(EndsWith(text, "\r\nVerify OK\r\nCompared 32 pins: no differences.")) << text;

  port.Controller().Memory().Pins[0].InitByte = 0x7F;
  const std::string differs = Run("VerifyAllPins");
  EXPECT_TRUE(EndsWith(differs, "\r\nDifferences Found\r\nCompared 32 pins: 1 difference.")) << differs;
}

TEST_F(ClosingWordTest, EventVerifyEndsWithItsVerdictAndASummary) {
  const std::string text = Run("ECVerify");
  EXPECT_EQ(text.rfind("Start EC Verification", 0), 0u);
  EXPECT_TRUE(EndsWith(text, "\r\nVerify OK\r\nCompared event control: no differences.")) << text;

  port.Controller().Memory().Pins[3].OnActions[0] = 0x05;
  const std::string differs = Run("ECVerify");
  EXPECT_EQ(differs.find("Verify OK"), std::string::npos);
  EXPECT_TRUE(EndsWith(differs, "\r\nDifferences Found\r\nCompared event control: 1 difference.")) << differs;
}

}  // namespace
}  // namespace brixo::testing
