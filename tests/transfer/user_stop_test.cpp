// "Stop" pressed while an operation runs: every deferred command ends after the exchange in
// flight, says how far it got and what that leaves behind, and a read leaves the editor
// exactly as it was.
#include <gtest/gtest.h>

#include "pin_test_fixture.h"
#include "support/property_stride.h"
#include "transfer/config_fields.h"
#include "transfer/deferred_commands.h"

namespace brixo::testing {
namespace {

class UserStopTest : public TransferTest {
 protected:
  void SetUp() override {
    TransferTest::SetUp();
    link.AttachPort(&rewriting);
    // The editor holds pins the controller does not, so that any read would change it.
    for (int p = 0; p < kPinCount; ++p) {
      model.PinTable[p] = SamplePin(p % 2 ? 2 : 3);
      model.PinTable[p].DevicePointer = 0;
      SimPin(p).AspectConfig = 3;
    }
    general.TextGenIDString = "editor";
    events.OnAction[3][1] = 5;
    // "Stop" is pressed while the reply to the chosen exchange comes in.
    rewriting.Rewrite = [this](std::vector<int>&, int&) {
      if (++replies == stopAtReply) {
        sentAtStop = Payloads().size();
        link.Cancellation().Trip(StopReason::UserStop);
      }
    };
  }

  // Every field of the editor's configuration, as the user could see it.
  std::vector<std::string> Editor() const {
    const ConfigurationRef config{model, general, events};
    std::vector<std::string> values;
    for (const FieldId& field : AllFields()) {
      values.push_back(InfoOf(field.Kind).IsText ? FieldText(field, config) : std::to_string(FieldValue(field, config)));
    }
    return values;
  }

  void RunStoppedAt(const std::string& name, int reply) {
    replies = 0;
    stopAtReply = reply;
    sentAtStop = 0;
    ClearPayloads();
    prompt.Clear();
    ASSERT_TRUE(commands.PostCommand(name));
    commands.Tick();
  }

  ReplyRewritingPort rewriting{port};
  int replies = 0;
  int stopAtReply = 0;
  size_t sentAtStop = 0;
  DeferredCommands commands{ctx};
};

TEST_F(UserStopTest, EveryCommandStopsAfterTheExchangeInFlight) {
  for (const std::string& name : DeferredCommands::CommandNames()) {
    SCOPED_TRACE(name);
    const std::vector<std::string> before = Editor();
    RunStoppedAt(name, 3);
    EXPECT_EQ(Payloads().size(), sentAtStop) << "nothing is sent after the exchange in flight";
    EXPECT_FALSE(commands.LastSucceeded());
    EXPECT_TRUE(commands.LastStopped());
    EXPECT_TRUE(prompt.Messages.empty()) << prompt.Messages.front();
    const std::string said = commands.LastEndedEarlyText();
    EXPECT_EQ(said.rfind(commands.LastCaption() + " stopped ", 0), 0u) << said;
    // Write Changes stopped in its first comparison has written nothing yet; Write Checked
    // with nothing ticked writes nothing and is stopped in the comparison that follows.
    const std::string consequence =
        name == "WriteChanged"   ? "nothing was written"
        : name == "WriteChecked" ? "everything checked was written, the comparison is incomplete"
                                 : StopConsequence(commands.LastKind(), false);
    EXPECT_TRUE(said.ends_with(": " + consequence)) << said;
    if (commands.LastKind() == CommandKind::Read) {
      EXPECT_EQ(Editor(), before) << "a stopped read changes nothing in the editor";
    }
    EXPECT_FALSE(commands.LabelActionVisible());
  }
}

// Stopped at any reply, every part boundary among them, Verify All and Compare never say
// "Verify OK" of a controller that does compare: only a verification that reached the end
// of every part may.
TEST_F(UserStopTest, AVerificationStoppedAtAnyReplyNeverSaysVerifyOk) {
  for (PinRecord& pin : model.PinTable) pin = PinRecord{};  // few replies per pin
  RunStoppedAt("WriteAll", -1);
  ASSERT_TRUE(commands.LastSucceeded());
  for (const char* name : {"VerifyAll", "Compare"}) {
    SCOPED_TRACE(name);
    RunStoppedAt(name, -1);
    ASSERT_TRUE(commands.LastSucceeded()) << report.Text;
    const int total = replies;
    for (int reply = 1; reply <= total; reply += kPropertyStride) {
      RunStoppedAt(name, reply);
      EXPECT_FALSE(commands.LastSucceeded()) << "stopped at reply " << reply;
      EXPECT_FALSE(report.Result.Ok) << "stopped at reply " << reply;
      EXPECT_EQ(report.Text.find("\r\nVerify OK\r\n"), std::string::npos) << "stopped at reply " << reply;
    }
  }
}

// Replies of the general settings and of each pin of layout 3 during Read All.
constexpr int kGeneralReplies = 12;
constexpr int kPinReplies = 40;

struct ReadStop {
  int Reply;  // the reply during which "Stop" is pressed: the first one of the next piece
  const char* Said;
};

class ReadAllUserStopTest : public UserStopTest, public ::testing::WithParamInterface<ReadStop> {};

// Wherever Read All stops, the editor keeps what it held: general settings, pins and events.
TEST_P(ReadAllUserStopTest, TakesNothing) {
  const std::vector<std::string> before = Editor();
  RunStoppedAt("ReadAll", GetParam().Reply);
  EXPECT_EQ(Editor(), before);
  EXPECT_EQ(commands.LastEndedEarlyText(), GetParam().Said);
}

INSTANTIATE_TEST_SUITE_P(
    Points, ReadAllUserStopTest,
    ::testing::Values(ReadStop{2, "Read All stopped at its first step: nothing was changed in the editor"},
                      ReadStop{kGeneralReplies + 1, "Read All stopped after the general settings: nothing was changed in the editor"},
                      ReadStop{kGeneralReplies + 12 * kPinReplies + 1, "Read All stopped after pin 12 of 32: nothing was changed in the editor"},
                      ReadStop{kGeneralReplies + 32 * kPinReplies + 6,
                               "Read All stopped after Event-On pin 5 of 32: nothing was changed in the editor"}),
    [](const auto& info) { return "Reply" + std::to_string(info.param.Reply); });

TEST_F(UserStopTest, ACompleteReadIsTakenWhole) {
  RunStoppedAt("ReadAll", -1);
  EXPECT_TRUE(commands.LastSucceeded());
  EXPECT_EQ(replies, kGeneralReplies + 32 * kPinReplies + 64 + 1) << "the stop points below count on it";
  EXPECT_EQ(general.TextGenIDString, "");
  EXPECT_EQ(model.PinTable[0].AspectConfig, 3);
  EXPECT_EQ(events.OnAction[3][1], -1);
}

}  // namespace
}  // namespace brixo::testing
