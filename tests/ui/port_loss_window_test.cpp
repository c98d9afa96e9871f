// The window when the device goes away under it, and its views over long runs.
#include <QPlainTextEdit>
#include <fstream>

#include "link/bounded_text.h"
#include "ui/communication_window.h"
#include "ui/feedback_monitor_panel.h"
#include "window_test_fixture.h"

namespace brixo::window_test {
namespace {

const std::string kGone = std::string("Communications port ") + kSimulatedPortName +
                          " went away (device unplugged or closed)";

// Resident memory of this process, in kB.
long ResidentKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

class PortLossWindowTest : public MainWindowTest {
 protected:
  int Count(const std::string& text) const { return testing::CountOf(prompt.Messages, text); }
};

TEST_F(PortLossWindowTest, FeedbackMonitorShowsTheLostDeviceOnceAndThePortClosed) {
  SelectSimulatedPort();
  EXPECT_TRUE(Text("LabelPortState").startsWith("Open: "));
  app.Simulator()->Controller().SetFeedback({1, 2, 3, 4});
  app.Simulator()->Faults().GoneAfterFrames = 3;
  auto* monitorButton = Find<QPushButton>("CommandFBM_1");
  auto* panel = Find<FeedbackMonitorPanel>("FrameFBM");
  ASSERT_NE(monitorButton, nullptr);
  ASSERT_NE(panel, nullptr);
  monitorButton->click();
  ASSERT_TRUE(panel->Timer2()->isActive());

  QTRY_VERIFY_WITH_TIMEOUT(!panel->Timer2()->isActive(), 60000);
  QTest::qWait(300);  // ticks that would repeat the message have had their time
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{kGone});
  EXPECT_EQ(Text("LabelPortState"), "Port closed");
  const QString text = panel->TextFBM()->toPlainText();
  EXPECT_EQ(text.count("<1> <2> <3> <4> "), 3) << text.toStdString();
  EXPECT_TRUE(text.endsWith("\nMonitoring Stopped")) << text.toStdString();
  EXPECT_EQ(text.count("Monitoring Stopped"), 1);
}

TEST_F(PortLossWindowTest, ReadAllThatLosesTheDeviceSaysSoOnceAndShowsThePortClosed) {
  SelectSimulatedPort();
  app.Simulator()->Faults().GoneAfterFrames = 60;
  ASSERT_TRUE(window.PostCommand("ReadAll"));
  window.Timer1Tick();
  // The read says how far it got, and that it took none of it into the editor.
  EXPECT_EQ(prompt.Messages, (std::vector<std::string>{kGone, "Read All stopped after pin 3 of 32: nothing was "
                                                              "changed in the editor"}))
      << "no \"Select communications port\" after it";
  EXPECT_EQ(Text("LabelPortState"), "Port closed");

  // The next command finds the port closed and says that, once.
  ASSERT_TRUE(window.PostCommand("ReadAll"));
  window.Timer1Tick();
  EXPECT_EQ(Count("Select communications port"), 1);
}

// An idle window notices at its next automatic refresh that the device went: the port
// shows closed and the loss is told once, as under an operation.
TEST_F(PortLossWindowTest, AnIdleWindowShowsAVanishedPortClosedAtTheNextRefresh) {
  SelectSimulatedPort();
  EXPECT_TRUE(Text("LabelPortState").startsWith("Open: "));
  window.RescanPorts();
  EXPECT_TRUE(Text("LabelPortState").startsWith("Open: ")) << "nothing went";
  app.Simulator()->Unplug();
  window.RescanPorts();
  EXPECT_EQ(Text("LabelPortState"), "Port closed");
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{kGone});
  EXPECT_EQ(app.LastResult(), std::string("Port closed: ") + kSimulatedPortName + " went away");
  window.RescanPorts();
  EXPECT_EQ(prompt.Messages.size(), 1u) << "told once";
  // Nothing can be opened where the device went.
  ASSERT_TRUE(window.PostCommand("ReadAll"));
  window.Timer1Tick();
  EXPECT_EQ(Count("Select communications port"), 1);
}

TEST_F(PortLossWindowTest, BothMonitorViewsKeepTheNewestLinesOnly) {
  QTest::mouseDClick(Find("Release"), Qt::LeftButton);
  ASSERT_NE(window.Monitor(), nullptr);
  QPlainTextEdit* communication = window.Monitor()->txtQuendalCommunication();
  auto* panel = Find<FeedbackMonitorPanel>("FrameFBM");
  ASSERT_NE(panel, nullptr);
  for (QPlainTextEdit* view : {communication, panel->TextFBM()}) {
    EXPECT_EQ(view->maximumBlockCount(), static_cast<int>(kViewHistoryLines)) << view->objectName().toStdString();
  }

  // Far more lines than are kept, as hours of monitoring would log; once the view is full
  // (minutes into a run) the memory stays.
  const int lines = static_cast<int>(kHistoryLines) + 20000;
  long residentWhenFull = 0;
  for (int i = 0; i < lines; ++i) {
    app.Log().AppendLine("> line " + std::to_string(i));
    if (i == static_cast<int>(kViewHistoryLines) * 2) residentWhenFull = ResidentKb();
  }
#if !defined(__SANITIZE_ADDRESS__)
  // The log's own text may grow by a few megabytes to its limit; the view must not.
  EXPECT_LT(ResidentKb() - residentWhenFull, 8 * 1024) << "kB grown after the view was full";
#endif
  EXPECT_LE(communication->blockCount(), static_cast<int>(kViewHistoryLines) + 1);
  EXPECT_TRUE(communication->toPlainText().endsWith("\n> line " + QString::number(lines - 1)));
  EXPECT_LE(app.Log().LineCount(), kHistoryLines + kHistoryLines / 10);
}

}  // namespace
}  // namespace brixo::window_test
