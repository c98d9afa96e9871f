// Operations that meet a link failure while the link stops on them (the command line):
// every deferred command ends at once and says how far it got. The window's way, going
// on after a lost reply, stays as it was.
#include <gtest/gtest.h>

#include <algorithm>

#include "pin_test_fixture.h"
#include "support/case_name.h"
#include "transfer/deferred_commands.h"
#include "transfer/whole_sequences.h"

namespace brixo::testing {
namespace {

class SequenceStopTest : public TransferTest {
 protected:
  void SetUp() override {
    TransferTest::SetUp();
    link.StopOnLinkFailure = true;
    // And, as the command line does, tells how far an operation got itself.
    link.Cancellation().SetOwnerTellsProgress(true);
    // Every pin has aspects, so that each one takes many frames.
    for (int p = 0; p < kPinCount; ++p) {
      model.PinTable[p] = SamplePin(p % 2 ? 2 : 3);
      model.PinTable[p].DevicePointer = 0;  // every pin heads a device of its own
    }
  }

  // Runs a command as the timer tick would.
  void Run(const std::string& name) {
    ASSERT_TRUE(commands.PostCommand(name)) << name;
    commands.Tick();
  }

  // The index of the first frame (or the n-th) the controller accepted that starts with
  // these bytes, in a fault-free run of the command against a fresh controller; 0 for no
  // bytes.
  int FirstFrame(const std::string& command, const std::vector<int>& start, int n = 1) {
    if (start.empty()) return 0;
    const ControllerMemory memory = port.Controller().Memory();
    Run(command);
    const auto payloads = Payloads();
    port.Controller().Memory() = memory;
    ClearPayloads();
    prompt.Clear();
    link.CheckBrixoBD = true;
    for (size_t i = 0; i < payloads.size(); ++i) {
      if (std::equal(start.begin(), start.end(), payloads[i].begin(), payloads[i].begin() + std::min(start.size(), payloads[i].size())) &&
          --n == 0)
        return static_cast<int>(i);
    }
    ADD_FAILURE() << "no frame starting like that in " << command;
    return -1;
  }

  DeferredCommands commands{ctx};
};

// Directly, or through an interface unit: a lost reply is a failure either way, the
// reply to a write as much as that to a read.
struct LineKind {
  const char* Name;
  bool Tunnelled;
  const char* LostReply;  // what the lost reply shows
};

class LostReplyTest : public SequenceStopTest, public ::testing::WithParamInterface<LineKind> {
 protected:
  void SetUp() override {
    SequenceStopTest::SetUp();
    port.SetHostAttached(GetParam().Tunnelled);
    link.CheckQuendal = GetParam().Tunnelled;
  }
};

TEST_P(LostReplyTest, EveryCommandEndsAtItsFirstLostReply) {
  // The frame after the first one is lost; the loss is one-shot, so any frame sent after
  // it would reach the controller and show.
  for (const std::string& name : DeferredCommands::CommandNames()) {
    SCOPED_TRACE(name);
    ClearPayloads();
    prompt.Clear();
    link.CheckBrixoBD = true;
    // A fresh start, as each run of the command line makes: without it the first frame
    // could repeat the last one the controller carried out, which it only answers again.
    link.ToggleState = 128;
    port.Controller().Faults().FailAfterFrames = 1;
    Run(name);
    EXPECT_EQ(Payloads().size(), 1u) << "nothing is sent after the lost frame";
    EXPECT_EQ(prompt.Messages, std::vector<std::string>{GetParam().LostReply});
    EXPECT_FALSE(commands.LastSucceeded());
    EXPECT_TRUE(commands.LastStopped());
    EXPECT_EQ(commands.LastStoppedText().rfind(commands.LastCaption() + " stopped ", 0), 0u)
        << commands.LastStoppedText();
    EXPECT_FALSE(commands.LabelActionVisible());
  }
}

INSTANTIATE_TEST_SUITE_P(Lines, LostReplyTest,
                         ::testing::Values(LineKind{"Direct", false, "No response received, resetting bidirectional communication"},
                                           LineKind{"Tunnelled", true, "No valid response received"}),
                         CaseName());

struct StopPoint {
  const char* Command;
  std::vector<int> LostFrame;  // the first frame of the piece that is not finished
  const char* Said;
};

class StopPointTest : public SequenceStopTest, public ::testing::WithParamInterface<StopPoint> {};

TEST_P(StopPointTest, SaysHowFarItGot) {
  const StopPoint& point = GetParam();
  const int lost = FirstFrame(point.Command, point.LostFrame);
  port.Controller().Faults().FailAfterFrames = lost;
  Run(point.Command);
  EXPECT_EQ(static_cast<int>(Payloads().size()), lost) << "the lost frame was the last one sent";
  EXPECT_EQ(commands.LastStoppedText(), point.Said);
}

// Pins count from 1 ("Start numbering at 1"), as the user sees them.
INSTANTIATE_TEST_SUITE_P(
    Sequences, StopPointTest,
    ::testing::Values(StopPoint{"WriteAll", {}, "Write All stopped at its first step"},
                      StopPoint{"WriteAll", {98, 0}, "Write All stopped after the general settings"},
                      StopPoint{"WriteAll", {98, 12}, "Write All stopped after pin 12 of 32"},
                      StopPoint{"WriteAll", {99, 31, 11, 2}, "Write All stopped after pin 31 of 32"},
                      StopPoint{"WriteAll", {96, 8}, "Write All stopped after the event control"},
                      StopPoint{"ReadAll", {114, 5}, "Read All stopped after pin 5 of 32"},
                      StopPoint{"ReadAll", {117, 0}, "Read All stopped after Event-On pin 32 of 32"},
                      StopPoint{"VerifyAllPins", {113, 20}, "Verify All Pins stopped after pin 20 of 32"},
                      StopPoint{"ECWriteAll", {101, 0}, "Write All Events stopped after Event-On pin 32 of 32"},
                      StopPoint{"WriteAllPins", {98, 2}, "Write All Devices stopped after pin 2 of 32"}),
    [](const auto& info) { return CaseNameOf(info.param.Said); });

// Write Changes says which phase ended it and what the controller holds then: nothing
// when the first comparison ended, a mix while writing (with the pins written), all of it
// in the final comparison. The controller differs from the editor in every pin.
struct WriteChangesStop {
  const char* Name;
  std::vector<int> LostFrame;
  int Occurrence;  // of the lost frame's start
  bool StopsOnFailure;  // the command line's way; otherwise the window's, going on
  const char* Said;
};

class WriteChangesStopTest : public SequenceStopTest, public ::testing::WithParamInterface<WriteChangesStop> {};

TEST_P(WriteChangesStopTest, SaysWhichPhaseEndedItAndWhatTheControllerHolds) {
  const WriteChangesStop& point = GetParam();
  const int lost = FirstFrame("WriteChanged", point.LostFrame, point.Occurrence);
  link.StopOnLinkFailure = point.StopsOnFailure;
  port.Controller().Faults().FailAfterFrames = lost;
  Run("WriteChanged");
  EXPECT_FALSE(commands.LastSucceeded());
  EXPECT_TRUE(commands.LastEndedEarly());
  EXPECT_EQ(commands.LastEndedEarlyText(), point.Said);
  const int writes = CountCommand(96) + CountCommand(97) + CountCommand(98) + CountCommand(99) +
                     CountCommand(100) + CountCommand(101) + CountCommand(102);
  if (std::string(point.Said).find("nothing was written") != std::string::npos) EXPECT_EQ(writes, 0);
  else EXPECT_GT(writes, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Phases, WriteChangesStopTest,
    ::testing::Values(
        WriteChangesStop{"FirstComparisonAtItsStart", {}, 1, true,
                         "Write Changes stopped in its first comparison: nothing was written"},
        WriteChangesStop{"FirstComparisonInThePins", {113, 5}, 1, true,
                         "Write Changes stopped in its first comparison after pin 5 of 32: nothing was written"},
        WriteChangesStop{"WritingThePins", {98, 3}, 1, true,
                         "Write Changes stopped while writing, after 3 of 32 pins: the controller now holds a mix of "
                         "old and new settings \u2014 write again to finish"},
        WriteChangesStop{"FinalComparison", {113, 5}, 2, true,
                         "Write Changes stopped in its final comparison after pin 5 of 32: everything that differed "
                         "was written (32 pins), the comparison is incomplete"},
        WriteChangesStop{"LostWriteInTheWindow", {99, 3, 0, 0}, 1, false,
                         "Write Changes wrote everything that differed (32 pins), but its final comparison still "
                         "finds 5 differences"}),
    CaseName());

TEST_F(SequenceStopTest, TheWindowGoesOnAfterALostReplyAsItAlwaysDid) {
  link.StopOnLinkFailure = false;
  port.Controller().Faults().FailAfterFrames = 10;
  Run("WriteAll");
  EXPECT_GT(Payloads().size(), 1000u) << "every pin is still written";
  EXPECT_FALSE(commands.LastStopped());
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"No response received, resetting bidirectional communication"});
}

TEST_F(SequenceStopTest, APortThatGoesAwayEndsTheWindowsOperationWithOneMessage) {
  link.StopOnLinkFailure = false;
  link.Cancellation().SetOwnerTellsProgress(false);
  for (const char* name : {"ReadAll", "WriteAll", "VerifyAll", "ECReadAll", "WriteAllPins"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(port.Open("SIM"));
    link.CheckBrixoBD = true;
    prompt.Clear();
    port.Controller() = SimController();
    port.Controller().Faults().GoneAfterFrames = 40;
    if (std::string(name) == "VerifyAll" || std::string(name) == "ECReadAll") port.Controller().Faults().GoneAfterFrames = 3;
    Run(name);
    std::vector<std::string> expected{"Communications port SIM went away (device unplugged or closed)"};
    // A read taken whole says how far it got and that it took nothing.
    if (std::string(name) == "ReadAll")
      expected.push_back("Read All stopped after pin 7 of 32: nothing was changed in the editor");
    if (std::string(name) == "ECReadAll")
      expected.push_back("Read All Events stopped after Event-On pin 3 of 32: nothing was changed in the editor");
    EXPECT_EQ(prompt.Messages, expected) << "not followed by \"Select communications port\" for each exchange left";
    EXPECT_TRUE(commands.LastStopped());
    EXPECT_EQ(link.Cancellation().Reason(), StopReason::PortLost);
  }
}

}  // namespace
}  // namespace brixo::testing
