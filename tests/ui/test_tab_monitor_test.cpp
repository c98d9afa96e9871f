#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "test_tab_fixture.h"
#include "ui/feedback_monitor_panel.h"
#include "ui/test_tab.h"

namespace brixo {
namespace {

class TestTabMonitorTest : public SimulatedAppTest {
 protected:
  TestTabMonitorTest() {
    tab.Bind(app);
    tab.show();
    tab.activateWindow();
    QApplication::setActiveWindow(&tab);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&tab));
  }

  QPushButton* Button(int index) { return tab.findChild<QPushButton*>(QString("CommandFBM_%1").arg(index)); }
  // Presses a button the way a user does: it takes the focus, then it is clicked.
  void Press(int index) {
    Button(index)->setFocus(Qt::MouseFocusReason);
    Button(index)->click();
  }
  QString Text() { return tab.findChild<QPlainTextEdit*>("textFBM")->toPlainText(); }
  QTimer* Timer2() { return tab.Monitor()->Timer2(); }
  // Lets Timer2 fire until the condition holds, however long a busy machine takes.
  static bool TicksUntil(const std::function<bool()>& done) { return QTest::qWaitFor(done, 60000); }
  // Lets time pass in which Timer2 would have fired, for what must not happen.
  static void LetTicksRun(int ms) { QTest::qWait(ms); }

  TestTab tab;
};

TEST_F(TestTabMonitorTest, MonitorListsFeedbackUntilStopTakesTheFocus) {
  OpenSimulator();
  EXPECT_EQ(Timer2()->interval(), 100);
  Sim().SetFeedback({1, 0, 64, 3});
  Press(1);
  Press(1);
  EXPECT_TRUE(Timer2()->isActive());
  EXPECT_EQ(Text().count("Start Monitoring"), 1);
  ASSERT_TRUE(TicksUntil([&] { return Text().split('\n', Qt::SkipEmptyParts).size() >= 2; }));
  const QStringList lines = Text().split('\n', Qt::SkipEmptyParts);
  ASSERT_GE(lines.size(), 2);
  EXPECT_EQ(lines[1], "<1> <0> <64> <3> ");
  EXPECT_TRUE(Payloads().front().empty()) << "the poll is an empty message";

  Press(2);
  EXPECT_FALSE(Timer2()->isActive());
  EXPECT_EQ(Text().count("Monitoring Stopped"), 1);
  EXPECT_TRUE(Text().endsWith("Monitoring Stopped"));
  const QString stopped = Text();
  const size_t polls = Payloads().size();
  LetTicksRun(250);
  EXPECT_EQ(Text(), stopped);
  EXPECT_EQ(Payloads().size(), polls);

  Press(0);
  EXPECT_TRUE(Text().isEmpty());
}

// Only another control of the window taking the focus stops the monitor: not the window
// losing its activation (to the communication monitor, say) nor a menu opening.
TEST_F(TestTabMonitorTest, MonitorStopsWhenAnotherControlTakesTheFocus) {
  OpenSimulator();
  const struct {
    Qt::FocusReason Reason;
    bool Stops;
  } cases[] = {{Qt::ActiveWindowFocusReason, false},
               {Qt::PopupFocusReason, false},
               {Qt::MouseFocusReason, true},
               {Qt::TabFocusReason, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Reason);
    Press(1);
    ASSERT_TRUE(Timer2()->isActive());
    QFocusEvent lost(QEvent::FocusOut, c.Reason);
    QCoreApplication::sendEvent(Button(1), &lost);
    EXPECT_EQ(Timer2()->isActive(), !c.Stops);
    Press(2);
    EXPECT_FALSE(Timer2()->isActive());
  }
}

TEST_F(TestTabMonitorTest, MonitorNeedsAnOpenPort) {
  Press(1);
  EXPECT_EQ(MessageCount("Select Comm-port"), 1);
  EXPECT_FALSE(Timer2()->isActive());
  EXPECT_FALSE(Text().contains("Start Monitoring"));
}

TEST_F(TestTabMonitorTest, PortClosedUnderTheMonitorStopsItQuietly) {
  OpenSimulator();
  Press(1);
  ASSERT_TRUE(TicksUntil([&] { return Payloads().size() >= 2; })) << "a poll after the first";
  app.Ports().SelectPort("");  // no number: the port closes
  prompt.Messages.clear();
  EXPECT_TRUE(TicksUntil([&] { return !Timer2()->isActive(); }));
  EXPECT_EQ(MessageCount("Select communications port"), 0);
  EXPECT_TRUE(Text().endsWith("Monitoring Stopped"));
}

}  // namespace
}  // namespace brixo
