// The feedback monitor on a line that fails: through an interface unit, with a device
// that goes away, and over a long run.
#include "app/feedback_monitor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <functional>
#include <string>

#include "app/app_state.h"
#include "app/no_file_chooser.h"
#include "link/communication_log.h"
#include "support/simulated_app.h"
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

// A program that passes every line on as it comes (brixo-cli) keeps few of them: an hour
// of polls ends where its first two minutes left the log, the monitor's text and the
// memory, and every line was still passed on.
TEST(FeedbackMonitorLongRun, PassingEveryLineOnSettlesWithinTheFirstMinutes) {
  ManualClock clock;
  RecordingPrompt prompt;
  NoFileChooser chooser;
  AppStateOptions options = SimulatedAppOptions(clock);
  options.LoadDeviceDefinitions = false;
  options.HistoryLines = kStreamedHistoryLines;
  AppState app(prompt, chooser, options);
  ASSERT_TRUE(SelectSimulatedPort(app));
  FeedbackMonitor& monitor = app.Monitor();
  size_t passedOn = 0;
  monitor.onAppend = [&passedOn](const std::string&) { ++passedOn; };
  ASSERT_TRUE(monitor.Monitor());

  constexpr int kTwoMinutes = 1200;
  constexpr int kHour = 36000;
  const auto sizes = [&] {
    return std::array<size_t, 3>{app.Log().Text().size(), app.Log().Marks().size(), monitor.Text().size()};
  };
  std::array<size_t, 3> settled{};
  long residentSettled = 0;
  for (int tick = 1; tick <= kHour; ++tick) {
    ASSERT_TRUE(monitor.Tick());
    clock.Advance(0.1);
    if (tick % 1000 == 0) {  // the simulator's own record of the line is no part of this
      app.Simulator()->ClearWritten();
      app.Simulator()->Controller().ClearReceived();
    }
    const std::array<size_t, 3> now = sizes();
    for (size_t i = 0; i < now.size(); ++i) {
      if (tick <= kTwoMinutes) {
        settled[i] = std::max(settled[i], now[i]);
      } else if (now[i] > settled[i]) {
        FAIL() << "history " << i << " grew to " << now[i] << " after " << tick << " polls";
      }
    }
    if (tick == kTwoMinutes) residentSettled = ResidentKb();
  }
  EXPECT_EQ(passedOn, 1u + kHour);
  EXPECT_LE(app.Log().LineCount(), kStreamedHistoryLines + kStreamedHistoryLines / 10);
#if !defined(__SANITIZE_ADDRESS__)
  EXPECT_LT(ResidentKb() - residentSettled, 256) << "kB grown after the first two minutes";
#endif
}

}  // namespace
}  // namespace brixo::testing
