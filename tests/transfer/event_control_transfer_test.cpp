#include <gtest/gtest.h>

#include "general_test_fixture.h"
#include "transfer/event_control.h"
#include "transfer/event_control_transfer.h"
#include "support/raw_difference.h"

namespace brixo {
namespace {

using testing::DifferenceText;

class EventTransferTest : public gentest::SimTest {
 protected:
  int Count(int command) const {
    int n = 0;
    for (const auto& p : Payloads()) n += p[0] == command;
    return n;
  }
  void FillTable() {
    for (int p = 0; p < kPinCount; ++p) {
      for (int i = 0; i < 4; ++i) {
        events.OnAction[p][i] = static_cast<int16_t>((p + i) % 16 - 1);  // -1 .. 14
        events.OffAction[p][i] = static_cast<int16_t>((p * 3 + i) % 13 - 1);
      }
    }
    events.CheckInitEE = {true, false, true, false, false, true, true, false};
  }
};

TEST_F(EventTransferTest, WriteSendsEveryPinPacedWithoutReplies) {
  events.OnAction[5] = {3, -1, 0, 11};
  link.CheckBrixoBD = false;
  const double start = clock.NowSeconds();
  ASSERT_TRUE(WriteEventControl(ctx));
  const auto sent = Payloads();
  ASSERT_EQ(sent.size(), 64u);
  EXPECT_EQ(sent[5], (std::vector<int>{100, 5, 3, 31, 32, 59}));
  EXPECT_EQ(sent[32], (std::vector<int>{101, 0, 0, 16, 32, 48}));
  EXPECT_GE(clock.NowSeconds() - start, 63 * 0.1);
  EXPECT_EQ(view.Calls.back(), "SetBusy(0)");
  EXPECT_EQ(view.Progress[11], "Event-On pin 12 of 32");
  EXPECT_EQ(Memory().Pins[5].OnActions, (std::array<uint8_t, 4>{3, 31, 32, 59}));
}

TEST_F(EventTransferTest, WriteStopsAtALinkFailure) {
  link.AttachPort(nullptr);
  EXPECT_FALSE(WriteEventControl(ctx));
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"Select communications port"});
  EXPECT_EQ(view.Calls, std::vector<std::string>{"SetBusy(0)"});
}

TEST_F(EventTransferTest, RoundTripAndVerify) {
  FillTable();
  const EventControlState written = events;
  ASSERT_TRUE(WriteEventControl(ctx) && WriteEnableMap(ctx));
  events = EventControlState{};
  link.CheckBrixoBD = false;
  ASSERT_TRUE(ReadEventControl(ctx) && ReadEnableMap(ctx));
  EXPECT_TRUE(link.CheckBrixoBD);
  EXPECT_EQ(events.OnAction, written.OnAction);
  EXPECT_EQ(events.OffAction, written.OffAction);
  EXPECT_EQ(events.CheckInitEE, written.CheckInitEE);
  EXPECT_EQ(events.TextECon[0], "-1");  // pin 0 shown
  EXPECT_TRUE(prompt.Messages.empty());

  model.NumberingOffset = 0;
  EXPECT_TRUE(VerifyEventControl(ctx));
  EXPECT_EQ(report.Text, "Start EC Verification\r\n");
}

TEST_F(EventTransferTest, VerifyReportsEachDifference) {
  ASSERT_TRUE(WriteEventControl(ctx) && WriteEnableMap(ctx));
  events.OnAction[0][2] = 3;
  events.OffAction[31][0] = 12;
  events.CheckInitEE[1] = true;
  events.CheckInitEE[7] = true;
  EXPECT_FALSE(VerifyEventControl(ctx));
  EXPECT_EQ(report.Text,
            "Start EC Verification\r\n"
            "Note: Numbering starts at 1\r\n"
            "Event-On(2) for pin 1 does not compare: Configured Action = 3, Brixo Reply = 0\r\n"
            "Event-Off(0) for pin 32 does not compare: Configured Action = 12, Brixo Reply = 0\r\n"
            "ECInit: ON-mask does not compare\r\n"
            "ECInit: OFF-mask does not compare\r\n");
}

TEST_F(EventTransferTest, VerifyComparesActionBytesNotTheirMeaning) {
  events.OnAction[3][0] = -1;
  events.OffAction[4][2] = -1;
  ASSERT_TRUE(WriteEventControl(ctx) && WriteEnableMap(ctx));
  // Both decode as "no action", but neither is the byte a write of -1 leaves.
  Memory().Pins[3].OnActions[0] = 0x10;
  Memory().Pins[4].OffActions[2] = 0x1F;
  const VerificationResult result = VerifyEventControl(ctx);
  EXPECT_FALSE(result.Ok);
  std::vector<std::string> differences;
  for (const Difference& d : result.Differences) differences.push_back(DifferenceText(d, 1));
  EXPECT_EQ(differences, (std::vector<std::string>{"event pin 4 input 0 ON: file -1, controller byte 16",
                                                   "event pin 5 input 2 OFF: file -1, controller byte 31"}));
}

TEST_F(EventTransferTest, AnUnknownEnableMapIsNeitherWrittenNorCompared) {
  Memory().EnableOnMask = 9;
  Memory().EnableOffMask = 6;
  events.EnableMapKnown = false;
  ASSERT_TRUE(WriteEventControl(ctx));
  ClearPayloads();
  const VerificationResult result = VerifyEventControl(ctx);
  EXPECT_TRUE(result.Ok);
  EXPECT_EQ(result.NotCompared.size(), 2u);
  EXPECT_EQ(report.Text.substr(report.Text.rfind("ECInit")), "ECInit: not compared, the configuration holds no enable map\r\n");
  EXPECT_EQ(Count(112), 0);

  // Writing the boxes, or a read that is answered, makes the map known again; a read that
  // is not answered, unknown.
  ASSERT_TRUE(WriteEnableMap(ctx));
  EXPECT_TRUE(events.EnableMapKnown);
  events.EnableMapKnown = false;
  ASSERT_TRUE(ReadEnableMap(ctx));
  EXPECT_TRUE(events.EnableMapKnown);
  port.Controller().Faults().NoEventControl = true;
  ASSERT_TRUE(ReadEnableMap(ctx));
  EXPECT_FALSE(events.EnableMapKnown);
}

TEST_F(EventTransferTest, VerifyWithoutEventControl) {
  port.Controller().Faults().NoEventControl = true;
  model.NumberingOffset = 0;
  // Nothing of the part can be compared, the map neither: it is not claimed as compared.
  VerificationResult result = VerifyEventControl(ctx);
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(report.Text,
            "Start EC Verification\r\n"
            "Read Event-On: Function not supported by Device\r\n"
            "Read Event-Off: Function not supported by Device\r\n");
  EXPECT_TRUE(result.Compared.empty());
  ASSERT_EQ(result.Skipped.size(), 1u);
  EXPECT_EQ(SkippedPartText(result.Skipped[0]), "event control: not compared, the controller does not support it");
  EXPECT_EQ(Count(112), 0);
  report.Clear();
  port.Controller().Faults().NoEventControl = false;
  ASSERT_TRUE(WriteEventControl(ctx));
  ReshapeReply(112, 11, {112, 12, 0, 0});
  result = VerifyEventControl(ctx);
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(report.Text, "Start EC Verification\r\nECInit: No valid response type\r\n");
  ASSERT_EQ(result.Differences.size(), 1u);
  EXPECT_EQ(DifferenceText(result.Differences[0], 0), "initial event ON mask: file " +
                                                          std::to_string(EncodeOnMask(events)) +
                                                          ", controller no valid response");
  report.Clear();
  SpoilReply(117, 3);
  EXPECT_FALSE(VerifyEventControl(ctx));
  EXPECT_EQ(Payloads().back(), (std::vector<int>{117, 3}));
}

TEST_F(EventTransferTest, RejectedOnReadStillReadsAllOffActions) {
  Memory().Pins[9].OffActions = {0x01, 0x12, 0x2F, 0x3E};
  events.OnAction[4] = {7, 7, 7, 7};
  ReshapeReply(116, 0, {116, 0, 127});
  ASSERT_TRUE(ReadEventControl(ctx));
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"Read Event-On: Function not supported by Device"});
  EXPECT_EQ(Count(116), 1);
  EXPECT_EQ(Count(117), 32);
  EXPECT_EQ(events.OnAction[4], (std::array<int16_t, 4>{7, 7, 7, 7}));  // kept
  EXPECT_EQ(events.OffAction[9], (std::array<int16_t, 4>{1, 2, -1, 14}));
}

TEST_F(EventTransferTest, ReadStopsAtALinkFailure) {
  port.Controller().Faults().FailAfterFrames = 3;
  EXPECT_FALSE(ReadEventControl(ctx));
  EXPECT_EQ(Payloads().size(), 3u);
}

TEST_F(EventTransferTest, SinglePin) {
  events.CurrentEventPin = 7;
  events.OnAction[7] = {1, 2, 3, 4};
  events.OffAction[7] = {-1, 5, -1, 6};
  link.CheckBrixoBD = false;
  WriteEventPin(ctx);
  EXPECT_EQ(Payloads(), (std::vector<std::vector<int>>{{100, 7, 1, 18, 35, 52}, {101, 7, 15, 21, 47, 54}}));

  events.OnAction[7] = {};
  events.OffAction[7] = {};
  ReadEventPin(ctx);
  EXPECT_EQ(events.TextECon, (std::array<std::string, 4>{"1", "2", "3", "4"}));
  EXPECT_EQ(events.TextECoff, (std::array<std::string, 4>{"-1", "5", "-1", "6"}));

  ClearPayloads();
  ReshapeReply(116, 7, {116, 7});
  ReadEventPin(ctx);
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"Function not supported by Device"});
  EXPECT_EQ(Payloads().size(), 1u);
}

TEST_F(EventTransferTest, EnableMap) {
  events.CheckInitEE = {true, false, true, false, true, true, true, true};
  ASSERT_TRUE(WriteEnableMap(ctx));
  EXPECT_EQ(Payloads().back(), (std::vector<int>{96, 11, 10, 0}));
  Memory().EnableOnMask = 5;
  ASSERT_TRUE(ReadEnableMap(ctx));
  EXPECT_EQ(events.CheckInitEE, (std::array<bool, 8>{false, true, false, true, true, true, true, true}));

  port.Controller().Faults().NoEventControl = true;
  EXPECT_TRUE(ReadEnableMap(ctx));
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"No valid response size"});
  EXPECT_EQ(events.CheckInitEE[0], false);
}

}  // namespace
}  // namespace brixo
