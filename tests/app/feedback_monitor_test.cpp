// The feedback monitor on a line that fails: through an interface unit, with a device
// that goes away, and over a long run.
#include "app/feedback_monitor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>

#include "link/communication_log.h"
#include "support/sim_link_fixture.h"
#include "support/case_name.h"

namespace brixo::testing {
namespace {

constexpr const char* kFeedback = "<1> <0> <64> <3> ";

class FeedbackMonitorTest : public SimLinkTest {
 protected:
  void SetUp() override {
    SimLinkTest::SetUp();
    port.Controller().SetFeedback({1, 0, 64, 3});
  }
  void Tunnel() {
    port.SetHostAttached(true);
    link.CheckQuendal = true;
  }
  int Count(const std::string& line) const {
    int n = 0;
    for (size_t at = monitor.Text().find(line); at != std::string::npos; at = monitor.Text().find(line, at + 1)) ++n;
    return n;
  }

  FeedbackMonitor monitor{link};
};

TEST_F(FeedbackMonitorTest, ThroughAnInterfaceUnitTheAnswerIsCollected) {
  Tunnel();
  ASSERT_TRUE(monitor.Monitor());
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(monitor.Tick()) << i;
  EXPECT_EQ(monitor.Text(), std::string("Start Monitoring\n") + kFeedback + "\n" + kFeedback + "\n" + kFeedback + "\n");
  EXPECT_TRUE(prompt.Messages.empty());
  EXPECT_EQ(port.ReceivedPayloads(), std::vector<std::vector<int>>(3, std::vector<int>{}))
      << "one empty message per tick";
}

TEST_F(FeedbackMonitorTest, ItsPollsAreMarkedSoThatTheCommunicationMonitorCanHideThem) {
  for (const bool tunnelled : {false, true}) {
    if (tunnelled) Tunnel();
    ASSERT_TRUE(monitor.Monitor());
    const size_t before = log.Lines.size();
    link.SendBrixoMessage(true, {112, 0});  // an ordinary exchange is no poll
    const size_t polls = log.Lines.size();
    ASSERT_GT(polls, before);
    ASSERT_TRUE(monitor.Tick());
    ASSERT_GT(log.Lines.size(), polls);
    for (size_t i = before; i < log.Lines.size(); ++i) EXPECT_EQ(log.Polled[i], i >= polls) << log.Lines[i];
    log.AppendLine("after");
    EXPECT_FALSE(log.Polled.back()) << "the mark ends with the poll";
    monitor.Stop();
  }
}

// A poll that fails, and how the monitor ends: in both front ends the line failure is told
// once and the monitor closes once.
struct PollFailure {
  const char* Name;
  bool Tunnelled;
  void (*Arrange)(SimFaults&);
  const char* Message;
};

const PollFailure kPollFailures[] = {
    {"tunnelled, controller silent", true, [](SimFaults& f) { f.SilentAfterFrames = 2; }, "No valid response received"},
    {"tunnelled, device gone", true, [](SimFaults& f) { f.GoneAfterFrames = 2; },
     "Communications port SIM went away (device unplugged or closed)"},
    {"direct, device gone", false, [](SimFaults& f) { f.GoneAfterFrames = 2; },
     "Communications port SIM went away (device unplugged or closed)"},
};

class PollFailureTest : public FeedbackMonitorTest, public ::testing::WithParamInterface<PollFailure> {};

TEST_P(PollFailureTest, EndsTheMonitorOnceWithItsMessage) {
  if (GetParam().Tunnelled) Tunnel();
  GetParam().Arrange(port.Faults());
  ASSERT_TRUE(monitor.Monitor());
  for (int tick = 0; tick < 20; ++tick) monitor.Tick();
  EXPECT_FALSE(monitor.Running());
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{GetParam().Message});
  EXPECT_EQ(Count(kFeedback), 2) << "the answers before the failure are listed";
  EXPECT_EQ(Count("Monitoring Stopped"), 1);

  // "Stop" takes the focus afterwards: the monitor is closed already.
  monitor.Stop();
  EXPECT_EQ(Count("Monitoring Stopped"), 1);
  EXPECT_EQ(prompt.Messages.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Failures, PollFailureTest, ::testing::ValuesIn(kPollFailures), CaseName());

TEST_F(FeedbackMonitorTest, ADirectLostReplyKeepsTheWindowsMonitorRunningWithoutReplies) {
  port.Faults().SilentAfterFrames = 1;
  ASSERT_TRUE(monitor.Monitor());
  for (int tick = 0; tick < 5; ++tick) monitor.Tick();
  EXPECT_TRUE(monitor.Running());
  EXPECT_FALSE(link.CheckBrixoBD);
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"No response received, resetting bidirectional communication"});
  EXPECT_EQ(Count(kFeedback), 1);
}

TEST_F(FeedbackMonitorTest, ACommandLineRunEndsAtTheFirstLostReply) {
  link.StopOnLinkFailure = true;
  CancellationScope run(link.Cancellation());
  port.Faults().SilentAfterFrames = 1;
  ASSERT_TRUE(monitor.Monitor());
  for (int tick = 0; tick < 5; ++tick) monitor.Tick();
  EXPECT_FALSE(monitor.Running());
  EXPECT_EQ(std::count_if(log.Lines.begin(), log.Lines.end(), [](const std::string& l) { return l.starts_with("> "); }),
            2)
      << "no poll after the lost one";
  EXPECT_EQ(prompt.Messages.size(), 1u);
}

// A message box takes the focus from "Monitor", as a dialog does in the window.
class FocusTakingPrompt : public RecordingPrompt {
 public:
  MessageAnswer ShowMessage(const std::string& text, MessageIcon icon, MessageButtons buttons) override {
    if (onShow) onShow();
    return RecordingPrompt::ShowMessage(text, icon, buttons);
  }
  std::function<void()> onShow;
};

TEST(FeedbackMonitorFocus, TheFaultsMessageTakingTheFocusClosesTheMonitorOnce) {
  for (int pollsAnswered : {0, 1}) {
    ManualClock clock;
    FocusTakingPrompt prompt;
    RecordingLog log;
    SimSerialPort port{clock};
    BrixoLink link{clock, prompt, log};
    ASSERT_TRUE(port.Open("SIM"));
    link.AttachPort(&port);
    FeedbackMonitor monitor{link};
    prompt.onShow = [&] { monitor.Stop(); };
    ASSERT_TRUE(monitor.Monitor());
    port.Faults().GoneAfterFrames = pollsAnswered;
    monitor.Tick();
    monitor.Tick();
    EXPECT_FALSE(monitor.Running());
    EXPECT_EQ(prompt.Messages.size(), 1u);
    const std::string& text = monitor.Text();
    EXPECT_EQ(text.find("Monitoring Stopped"), text.rfind("Monitoring Stopped")) << text;
  }
}

// Resident memory of this process, in kB.
long ResidentKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

TEST(FeedbackMonitorLongRun, KeepsABoundedHistoryAndFlatMemory) {
  ManualClock clock;
  RecordingPrompt prompt;
  CommunicationLog log;
  SimSerialPort port{clock};
  BrixoLink link{clock, prompt, log};
  ASSERT_TRUE(port.Open("SIM"));
  link.AttachPort(&port);
  port.Controller().SetFeedback({1, 0, 64, 3});
  FeedbackMonitor monitor{link};
  size_t logLines = 0;
  log.onAppend = [&](const std::string&) { ++logLines; };  // what --log FILE would stream
  ASSERT_TRUE(monitor.Monitor());

  // Seven hours of polls at ten a second: both histories reach their limit within the
  // first four and stay there.
  constexpr int kTicks = 252000;
  long residentAtLimit = 0;
  for (int tick = 1; tick <= kTicks; ++tick) {
    ASSERT_TRUE(monitor.Tick());
    clock.Advance(0.1);
    if (tick % 10000 == 0) {  // the simulator's own record of the line is no part of this
      port.ClearWritten();
      port.Controller().ClearReceived();
    }
    if (tick == 130000) residentAtLimit = ResidentKb();  // both histories have been trimmed
  }
  EXPECT_EQ(logLines, 2u * kTicks) << "every line is still passed on";
  EXPECT_LE(log.LineCount(), kHistoryLines + kHistoryLines / 10);
  EXPECT_GE(log.LineCount(), kHistoryLines);
  EXPECT_TRUE(log.Text().ends_with(" [01] [00] [40] [03]\r\n")) << "the newest line is kept";
  EXPECT_TRUE(log.Text().starts_with("> ") || log.Text().starts_with("< ")) << "oldest lines dropped whole";
  const std::string& text = monitor.Text();
  EXPECT_LE(text.size(), (kHistoryLines + kHistoryLines / 10) * 18);
  EXPECT_EQ(text.substr(0, 18), std::string(kFeedback) + "\n") << "oldest lines dropped whole";
  EXPECT_EQ(monitor.Appended(), std::string("Start Monitoring\n").size() + kTicks * 18u);
#if !defined(__SANITIZE_ADDRESS__)
  // Freed memory stays with the sanitizer's quarantine there; here it must not grow.
  EXPECT_LT(ResidentKb() - residentAtLimit, 512) << "kB grown while both histories were full";
#endif
}

}  // namespace
}  // namespace brixo::testing
