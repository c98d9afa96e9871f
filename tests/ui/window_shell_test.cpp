// The main window as a whole: it fits a small screen, tells the user what happened, keeps
// typed values and refuses letters, starts a posted command at once and keeps the
// communication monitor usable while a command runs.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QScrollArea>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QWheelEvent>
#include <filesystem>
#include <functional>
#include <fstream>

#include "ui/communication_window.h"
#include "ui/device_config_tab.h"
#include "ui/pin_overview_window.h"
#include "ui/up_down_field.h"
#include "ui/window_placement.h"
#include "window_test_fixture.h"

namespace brixo::window_test {
namespace {

class WindowShellTest : public MainWindowTest {
 protected:
  void ShowAt(int width, int height) {
    window.resize(width, height);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  QString Result() { return Text("LabelLastResult"); }
  QString StatusNote() { return window.statusBar()->currentMessage(); }
  // Types as a user does: the box is marked as edited.
  void TypeKeys(QLineEdit* box, const QString& text) {
    box->selectAll();
    box->del();
    QTest::keyClicks(box, text);
  }
};

TEST_F(WindowShellTest, TheWindowAndEveryTabFitA1024By768Screen) {
  const QSize least = window.minimumSizeHint();
  EXPECT_LE(least.width(), 1024);
  EXPECT_LE(least.height(), 768);
  // Asked for the whole screen, the window gets what its frame leaves.
  ShowAt(1024, 768);
  const QRect screen = window.screen()->availableGeometry();
  ASSERT_EQ(screen.size(), QSize(1024, 768));
  EXPECT_TRUE(screen.contains(window.frameGeometry()));
  const QSize shown = window.size();
  EXPECT_GT(shown.height(), 700);
  SelectSimulatedPort();
  RunCommand("CommandReadAll");
  prompt.Answers = {MessageAnswer::Yes};
  window.ExpertModeSwitch();
  for (int tab = 0; tab < window.SSTab_Main()->count(); ++tab) {
    window.SSTab_Main()->setCurrentIndex(tab);
    // Nested layouts settle in turns.
    for (int pass = 0; pass < 3; ++pass) QApplication::processEvents();
    for (QScrollArea* scroll : window.SSTab_Main()->widget(tab)->findChildren<QScrollArea*>()) {
      EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0)
          << window.SSTab_Main()->tabText(tab).toStdString() << " is wider than the window";
      // Without the details the device tab fits as it is: a scroll bar for a few pixels
      // would only take room from the rows.
      if (tab == kDeviceConfigurationTab && scroll->objectName() == "DeviceConfigScroll") {
        EXPECT_EQ(scroll->verticalScrollBar()->maximum(), 0) << "the device tab is higher than the window";
      }
    }
  }
  // The editor and the output parameters stand side by side at this size.
  EXPECT_TRUE(window.DevicePage()->SideBySide());

  // Under a window manager's title bar (openbox: 24 px) the General tab still needs no
  // scrolling: its last group, "Erase Flash", would otherwise sit under the fold.
  window.resize(1024, 768 - 24);
  window.SSTab_Main()->setCurrentIndex(kGeneralTab);
  for (int pass = 0; pass < 3; ++pass) QApplication::processEvents();
  for (QScrollArea* scroll : window.SSTab_Main()->widget(kGeneralTab)->findChildren<QScrollArea*>())
    EXPECT_EQ(scroll->verticalScrollBar()->maximum(), 0) << "the General tab is higher than the window";
  window.resize(shown);

  // Showing the bit rates makes nothing larger.
  QTest::mouseDClick(Find("LabelPort"), Qt::LeftButton);
  ASSERT_TRUE(Shown("FrameBitrate"));
  EXPECT_EQ(window.minimumSizeHint(), least);
  EXPECT_EQ(window.size(), shown);
}

// However a window manager frames it, the first window and a restored one lie wholly on the
// screen's available area, title bar and status bar (with "Stop") included: on 1024 x 768,
// on 2048 x 1536 at scale factor 2 (the same in Qt's pixels), beside a panel, and when the
// geometry was saved on a larger or another screen.
TEST_F(WindowShellTest, TheWindowWithItsFrameLiesOnTheScreen) {
  // Constructed, as the program starts, on the test's screen.
  const QRect screen = window.screen()->availableGeometry();
  EXPECT_TRUE(screen.contains(window.geometry().marginsAdded(kAssumedFrame)))
      << "first window, frame included, beyond the screen";
  const QSize least = window.minimumSizeHint();
  EXPECT_LE(least.width() + kAssumedFrame.left() + kAssumedFrame.right(), 1024);
  EXPECT_LE(least.height() + kAssumedFrame.top() + kAssumedFrame.bottom(), 768);

  struct Case {
    const char* Name;
    QRect Available;
    QRect Wanted;
  };
  const QRect small(0, 0, 1024, 768);
  const Case cases[] = {
      {"first window", small, QRect(0, 0, 1200, 800)},
      {"fits already", QRect(0, 0, 1920, 1080), QRect(100, 100, 1200, 800)},
      {"beside a top panel", QRect(0, 28, 1024, 740), QRect(0, 0, 1024, 768)},
      {"restored from a larger screen", small, QRect(600, 400, 1600, 1000)},
      {"restored from another screen", small, QRect(2100, 300, 900, 600)},
      {"restored above the screen", small, QRect(50, -40, 900, 600)},
      {"second screen", QRect(1024, 0, 1024, 768), QRect(0, 0, 1200, 800)},
  };
  const QMargins frames[] = {QMargins(), QMargins(1, 22, 1, 1), QMargins(4, 30, 4, 4), kAssumedFrame};
  for (const Case& c : cases) {
    for (const QMargins& frame : frames) {
      SCOPED_TRACE(std::string(c.Name) + ", title bar " + std::to_string(frame.top()));
      const QRect fitted = FittedGeometry(c.Wanted, frame, c.Available, least);
      EXPECT_TRUE(c.Available.contains(fitted.marginsAdded(frame)));
      EXPECT_LE(fitted.width(), c.Wanted.width());
      EXPECT_LE(fitted.height(), c.Wanted.height());
      const QSize floor = least.boundedTo(c.Wanted.size());
      EXPECT_TRUE(fitted.width() >= floor.width() && fitted.height() >= floor.height()) << "shrunk below its least";
      if (c.Available.contains(c.Wanted.marginsAdded(frame))) {
        EXPECT_EQ(fitted, c.Wanted) << "a window that fits stays where it is";
      }
    }
  }
}

// The window goes no narrower than its top row; there the device tab's halves, side by
// side or stacked, still need no sideways scrolling (the tab alone stacks them when
// narrower, see the device tab's tests).
TEST_F(WindowShellTest, AtItsNarrowestTheDeviceTabNeedsNoSidewaysScrolling) {
  app.Pins().ShowDetails(true);
  window.ShowDetails();
  ShowAt(1400, 900);
  window.SSTab_Main()->setCurrentIndex(kDeviceConfigurationTab);
  QApplication::processEvents();
  EXPECT_TRUE(window.DevicePage()->SideBySide());
  window.resize(700, 600);
  QApplication::processEvents();
  EXPECT_LE(window.width(), 1024);
  for (QScrollArea* scroll : window.DevicePage()->findChildren<QScrollArea*>())
    EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0);
}

TEST_F(WindowShellTest, RefusingTheTestTabShowsTheMessageOverThePreviousTab) {
  QTabWidget* tabs = window.SSTab_Main();
  tabs->setCurrentIndex(kEventControlTab);
  int behind = -1;
  prompt.OnMessage = [&](const std::string&) { behind = tabs->currentIndex(); };
  tabs->setCurrentIndex(kTestTab);
  EXPECT_EQ(MessageCount("Sorry, This tab is disabled\n"
                         "It opens in expert mode: switch that on in Tools > Expert Mode"), 1);
  EXPECT_EQ(behind, kEventControlTab) << "the message must not stand over the Test tab";
  EXPECT_EQ(tabs->currentIndex(), kEventControlTab);
}

// Every spinner of the window: typing a value and pressing an arrow at once steps from the
// typed value, just as committing it first and then pressing the arrow does.
TEST_F(WindowShellTest, EverySpinnerArrowStepsFromTheTypedValue) {
  SelectSimulatedPort();
  RunCommand("CommandReadAll");
  app.Pins().ShowDetails(true);
  window.ShowAll();
  int fields = 0;
  for (UpDownField* field : window.findChildren<UpDownField*>()) {
    if (field->UpButton() == nullptr || field->window() != &window) continue;
    const QString name = field->objectName();
    for (bool up : {true, false}) {
      const QString typed = up ? "3" : "5";
      QToolButton* arrow = up ? field->UpButton() : field->DownButton();
      TypeKeys(field->Edit(), typed);
      QTest::keyClick(field->Edit(), Qt::Key_Return);
      arrow->click();
      const QString committedThenStepped = field->Text();
      TypeKeys(field->Edit(), typed);
      arrow->click();
      EXPECT_EQ(field->Text(), committedThenStepped) << name.toStdString() << " " << (up ? "up" : "down");
    }
    ++fields;
  }
  EXPECT_GE(fields, 20);
  // The example of the report: "300" typed, then the up arrow.
  UpDownField* dcc = Find<UpDownField>("TextGenDCCAddress");
  TypeKeys(dcc->Edit(), "300");
  dcc->UpButton()->click();
  EXPECT_EQ(dcc->Text(), "301");
  EXPECT_EQ(app.General().TextGenDCCAddress, "301");
}

TEST_F(WindowShellTest, LettersInANumberBoxAreRefusedWithANote) {
  SelectSimulatedPort();
  struct Box {
    const char* name;
    std::function<std::string()> stored;
  } boxes[] = {
      {"TextECon_0", [&] { return std::to_string(app.Events().OnAction[0][0]); }},
      {"TextGenDCCAddress", [&] { return app.General().TextGenDCCAddress; }},
      {"TextAddress", [&] { return std::to_string(app.Link().ModuleAddress); }},
      {"TextTamloParameter_1", [] { return std::string(); }},
  };
  for (const Box& box : boxes) {
    auto* field = Find<UpDownField>(box.name);
    const QString shown = field->Text();
    const std::string stored = box.stored();
    TypeKeys(field->Edit(), "abc");
    QTest::keyClick(field->Edit(), Qt::Key_Return);
    EXPECT_EQ(field->Text(), shown) << box.name;
    EXPECT_EQ(box.stored(), stored) << box.name;
    EXPECT_EQ(StatusNote(), QString("\"abc\" is not a number: kept %1").arg(shown)) << box.name;
  }
  // A servo test position "abc" moves nothing.
  app.Model().PinTable[0].OutputConfig[0] = 1;
  app.View().ShowOutputConfig();
  auto* position = Find<QLineEdit>("TextPosition");
  const QString kept = position->text();
  position->setText("abc");
  const size_t frames = Received().size();
  Click("CommandSrvLevel");
  EXPECT_EQ(Received().size(), frames);
  EXPECT_EQ(position->text(), kept);
  EXPECT_EQ(StatusNote(), QString("\"abc\" is not a number: kept %1").arg(kept));
  EXPECT_TRUE(prompt.Messages.empty());
}

TEST_F(WindowShellTest, TheStatusBarTellsWhatHappenedAndThePortState) {
  EXPECT_EQ(Text("LabelPortState"), "Port closed");
  SelectSimulatedPort();
  EXPECT_EQ(Text("LabelPortState"), QString("Open: %1 (19200,o,8,1)").arg(kSimulatedPortName));

  Click("CommandReadAll");
  EXPECT_TRUE(Shown("FrameAction"));
  EXPECT_FALSE(Shown("LabelLastResult"));
  window.Timer1Tick();
  EXPECT_FALSE(Shown("FrameAction"));
  EXPECT_TRUE(Shown("LabelLastResult"));
  EXPECT_TRUE(Result().startsWith("Read All: 32 pins in ")) << Result().toStdString();

  Click("CommandGenDCCWrite");
  EXPECT_EQ(Result(), "Wrote DCC settings");
  Click("CommandECInitRead");
  EXPECT_EQ(Result(), "Read initial enable map");

  const std::filesystem::path file = std::filesystem::temp_directory_path() / "brixo_status_demo.dat";
  chooser.Answers = {file.string()};
  QTest::mouseClick(Find<QPushButton>("CommandSave"), Qt::LeftButton);
  EXPECT_EQ(Result(), "Saved brixo_status_demo.dat");
  std::filesystem::remove(file);

  prompt.Answers = {MessageAnswer::Ok, MessageAnswer::Ok};  // the second question says: stop
  Click("CommandGenEraseFlash");
  EXPECT_EQ(Result(), "Flash not erased");
}

TEST_F(WindowShellTest, APostedCommandStartsWithoutWaitingForTheTick) {
  ShowAt(1024, 768);
  SelectSimulatedPort();
  window.Timer1()->setInterval(60000);
  window.Timer1()->start();
  QElapsedTimer elapsed;
  elapsed.start();
  Click("CommandReadAll");
  EXPECT_TRUE(Received().empty()) << "the click itself only posts";
  // The tick is a minute away: anything well below it started on its own, even on a loaded machine.
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Received().empty() && !Shown("FrameAction"); }, 30000));
  EXPECT_LT(elapsed.elapsed(), 30000);
  // One slot: only the last of two posts runs.
  app.Simulator()->Controller().ClearReceived();
  Click("CommandReadAll");
  Click("CommandWriteAll");
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Received().empty() && !Shown("FrameAction"); }, 30000));
  for (const std::vector<int>& payload : Received()) EXPECT_NE(payload.front(), 112) << "the read was replaced";
}

TEST_F(WindowShellTest, TheMonitorScrollsAndClearsWhileACommandRuns) {
  ShowAt(1024, 768);
  SelectSimulatedPort();
  RunCommand("CommandReadAll");
  window.OpenMonitor();
  CommunicationWindow* monitor = window.Monitor();
  QScrollBar* bar = monitor->txtQuendalCommunication()->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  bool scrolled = false;
  bool cleared = false;
  bool mainWindowDropped = true;
  // Acts while the command runs, as a user scrolling back through the monitor would.
  QTimer user;
  user.setInterval(0);
  QObject::connect(&user, &QTimer::timeout, [&] {
    if (!Shown("FrameAction")) return;
    if (!scrolled) {
      const int before = bar->value();
      QWidget* viewport = monitor->txtQuendalCommunication()->viewport();
      const QPointF at(viewport->width() / 2.0, viewport->height() / 2.0);
      QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, 120 * 5), Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
      QApplication::sendEvent(viewport, &wheel);
      scrolled = bar->value() < before;
      QTest::mouseClick(Find<QPushButton>("CommandWriteAll"), Qt::LeftButton);
      mainWindowDropped &= app.Commands().PendingCommand().empty();
    } else if (!cleared) {
      QTest::mouseClick(monitor->cmdClear(), Qt::LeftButton);
      cleared = app.Log().Text().size() < 200;
    }
  });
  user.start();
  Click("CommandVerifyAll");
  window.Timer1Tick();
  user.stop();
  EXPECT_TRUE(scrolled);
  EXPECT_TRUE(cleared);
  EXPECT_TRUE(mainWindowDropped);
  EXPECT_TRUE(app.Commands().PendingCommand().empty());
}

TEST_F(WindowShellTest, TheReportCanBeSavedAndCopied) {
  SelectSimulatedPort();
  RunCommand("CommandVerifyAll");
  VerificationReportWindow* report = window.ReportWindow();
  ASSERT_NE(report, nullptr);
  report->findChild<QPushButton*>("cmdCopyReport")->click();
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8(app.Report().Text.c_str()).remove('\r'));
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "brixo_report_window.txt";
  chooser.Answers = {file.string()};
  report->findChild<QPushButton*>("cmdSaveReport")->click();
  std::ifstream in(file, std::ios::binary);
  const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(saved, app.Report().Text);
  EXPECT_EQ(Result(), "Saved brixo_report_window.txt");
  std::filesystem::remove(file);
}

TEST_F(WindowShellTest, ReadAllRefreshesTheOutputRangesOnTheGeneralTab) {
  SelectSimulatedPort();
  ASSERT_EQ(window.SSTab_Main()->currentIndex(), kGeneralTab);
  EXPECT_EQ(Text("LabelGenDCCOutput"), "Output 1 .. 32");
  RunCommand("CommandReadAll");
  EXPECT_EQ(Text("LabelGenDCCOutput"), "Output 77 .. 105");
  EXPECT_EQ(Text("LabelGenXDCCOutput"), "Output 100 .. 118");
}

TEST_F(WindowShellTest, ThePortNamedOnTheCommandLineIsOpenAtOnce) {
  EXPECT_TRUE(window.SelectDevice(kSimulatedPortName));
  EXPECT_TRUE(app.Ports().PortOpen());
  EXPECT_TRUE(Find<QComboBox>("ComboPort")->currentText().contains(kSimulatedPortName));
  RunCommand("CommandReadAll");
  EXPECT_TRUE(prompt.Messages.empty());
  EXPECT_EQ(Find<QLineEdit>("TextGenIDString")->text(), "Demo Layout");
}

TEST_F(WindowShellTest, ExpertModeIsOfferedInTheMenuAndTheLabelsTip) {
  EXPECT_TRUE(Find("Release")->toolTip().contains("Expert Mode"));
  QAction* expert = window.findChild<QAction*>("ActionExpertMode");
  ASSERT_NE(expert, nullptr);
  EXPECT_FALSE(expert->isChecked());
  for (const auto& [answer, on] : {std::pair{MessageAnswer::Yes, true}, {MessageAnswer::No, false}}) {
    prompt.Answers = {answer};
    expert->trigger();
    EXPECT_EQ(prompt.Messages.back(), "Expert Mode?");
    EXPECT_EQ(app.ExpertMode(), on);
    EXPECT_EQ(expert->isChecked(), on);
    EXPECT_EQ(Shown("CommandReadPin"), on);
  }
}

TEST_F(WindowShellTest, TheStandardShortcutsReachTheirEntries) {
  const std::map<QString, QKeySequence> shortcuts = {{"ActionLoadFile", QKeySequence("Ctrl+O")},
                                                     {"ActionSaveFile", QKeySequence("Ctrl+S")},
                                                     {"ActionSaveAs", QKeySequence("Ctrl+Shift+S")},
                                                     {"ActionReadAll", QKeySequence("F5")},
                                                     {"ActionWriteAll", QKeySequence("F6")},
                                                     {"ActionVerifyAll", QKeySequence("F7")},
                                                     {"ActionCompare", QKeySequence("F8")},
                                                     {"ActionQuit", QKeySequence("Ctrl+Q")},
                                                     {"ActionHelp", QKeySequence("F1")}};
  for (const auto& [name, keys] : shortcuts) {
    QAction* action = window.findChild<QAction*>(name);
    ASSERT_NE(action, nullptr) << name.toStdString();
    EXPECT_EQ(action->shortcut(), keys) << name.toStdString();
  }
}

// The windows beside the main one close on Escape, as a dialog does; the monitor stays
// above the main window (a tool window of it) rather than falling behind it.
TEST_F(WindowShellTest, EscapeClosesTheWindowsBesideTheMainOne) {
  window.show();
  const std::vector<std::pair<const char*, std::function<QWidget*()>>> windows = {
      {"monitor", [&] { window.OpenMonitor(); return static_cast<QWidget*>(window.Monitor()); }},
      {"help", [&] { window.ShowHelp(); return window.findChild<QWidget*>("HelpWindow"); }},
      {"pin overview", [&] { window.OpenPinOverview(); return static_cast<QWidget*>(window.Overview()); }},
  };
  for (const auto& [name, open] : windows) {
    QWidget* beside = open();
    ASSERT_NE(beside, nullptr) << name;
    ASSERT_TRUE(beside->isVisible()) << name;
    QApplication::setActiveWindow(beside);
    QTest::keyClick(beside, Qt::Key_Escape);
    EXPECT_FALSE(beside->isVisible()) << name << " stays open on Escape";
  }
  EXPECT_EQ(window.Monitor()->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
  EXPECT_EQ(window.Monitor()->parentWidget(), &window);
}

TEST_F(WindowShellTest, StepCaptionsFollowTheRowBeingEditedAndEachBoxNamesItsField) {
  app.Model().PinTable[0].AspectConfig = 3;
  app.Model().PinTable[0].Aspects[0].Steps[2] = StepRecord{102, 0, 0, 0, 7, 1};  // "Wait"
  app.Model().PinTable[0].Aspects[0].Steps[4] = StepRecord{8, 1, 1, 0, 0, 0};    // "Off"
  app.View().ShowPin();
  window.ShowPin();
  EXPECT_EQ(Text("LabelPASpHParam2"), "Time");
  EXPECT_EQ(Text("LabelPAspHParam3"), "Base");
  // Its range first; a value changed since the load also says what it was.
  EXPECT_EQ(Find("TextPAspPar2_2")->toolTip().split('\n'), QStringList({"Time: 0 to 63", "was 0"}));
  EXPECT_EQ(Find("TextPAspPar1_2")->toolTip(), "Not used by this instruction");

  ShowAt(1024, 768);
  window.SSTab_Main()->setCurrentIndex(kDeviceConfigurationTab);
  Find("TextPAspOffset_4")->setFocus(Qt::MouseFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(Text("LabelPAspHFade"), "Fade");
  EXPECT_EQ(Text("LabelPAspOffset"), "P.O.");
  EXPECT_EQ(Text("LabelPASpHParam2"), "");

  // With "Show Details" off a count box that reads 1 is hidden, and its caption with it.
  EXPECT_FALSE(Shown("TextPaspTamlon"));
  EXPECT_FALSE(Shown("lblSerial"));
  EXPECT_TRUE(Shown("lblBDcc") == Shown("TextPaspDCCn"));
}

}  // namespace
}  // namespace brixo::window_test
