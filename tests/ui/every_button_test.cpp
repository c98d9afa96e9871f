// Every push button of every tab, pressed in expert mode with "Show Details" against the
// simulated controller, and every menu entry, must do something a user notices: a frame
// reaches the controller, a dialog or window opens, the configuration changes, a command
// is posted. The buttons and entries are found, not listed, so a new one that does
// nothing fails here.
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTabWidget>
#include <QTextBrowser>
#include <functional>
#include <map>

#include "files/data_file.h"
#include "files/device_library.h"
#include "transfer/event_control.h"
#include "ui/clickable_label.h"
#include "ui/communication_window.h"
#include "ui/device_config_tab.h"
#include "ui/modifier_button.h"
#include "window_test_fixture.h"

namespace brixo::window_test {
namespace {

// What a user could notice, taken before and after a press.
struct Observed {
  size_t Frames = 0;
  size_t LogSize = 0;
  std::string Configuration;
  std::string Link;
  size_t Messages = 0;
  size_t FileDialogs = 0;
  int Dialogs = 0;
  int Reports = 0;
  int Closes = 0;
  QStringList Windows;
  QString Feedback;
  std::string Result;
  bool operator==(const Observed&) const = default;
};

class EveryButtonTest : public MainWindowTest {
 protected:
  EveryButtonTest() {
    window.SetDialogRunner([this](QDialog& dialog) { dialogs.push_back(dialog.objectName()); });
    window.installEventFilter(&closeCounter);
    window.resize(1024, 768);
    window.show();
    QApplication::setActiveWindow(&window);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    SelectSimulatedPort();
    RunCommand("CommandReadAll");
    prompt.Clear();
  }

  struct CloseCounter : QObject {
    int Count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Close) {
        ++Count;
        event->ignore();  // the window stays for the next press
        return true;
      }
      return false;
    }
  } closeCounter;

  Observed Observe() {
    Observed o;
    SimController& sim = app.Simulator()->Controller();
    o.Frames = sim.ReceivedPayloads().size() + sim.LegacyFrames().size();
    o.LogSize = app.Log().Text().size();
    bool quotes = false;
    o.Configuration = ComposeDataFile(app.Model(), app.General(), app.Events(), false, quotes);
    const BrixoLink& link = app.Link();
    o.Link = std::to_string(app.Ports().PortOpen()) + std::to_string(link.CheckBrixoBD) +
             std::to_string(link.CheckQuendal) + std::to_string(app.ExpertMode()) + app.Devices().lblDDVersion +
             std::to_string(app.Ports().FrameBitrateVisible);
    o.Messages = prompt.Shown.size();
    o.FileDialogs = chooser.Filters.size();
    o.Dialogs = static_cast<int>(dialogs.size());
    o.Reports = reportsShown;
    o.Closes = closeCounter.Count;
    for (QWidget* top : QApplication::topLevelWidgets())
      if (top != &window && top->isVisible()) o.Windows << top->objectName();
    o.Windows.sort();
    o.Feedback = Find<QPlainTextEdit>("textFBM")->toPlainText();
    o.Result = app.LastResult();
    return o;
  }

  // The state every press starts from: the port open, expert mode with details, pin 1 a
  // four-aspect signal that heads its device with steps that offer every calculator, a
  // device chosen in the library, a box of the matrix checked, the feedback monitor
  // stopped with lines in it, event actions that differ from pin to pin.
  void Prepare() {
    // No window that an earlier press opened (the differences table) stays over the main
    // window: a user comes back to it by clicking it, which makes it active again.
    for (QWidget* top : QApplication::topLevelWidgets())
      if (top != &window && top->isVisible()) top->close();
    QApplication::setActiveWindow(&window);
    app.Simulator()->Controller().ClearReceived();
    if (!app.Ports().PortOpen()) SelectSimulatedPort();
    window.ShowAll();
    app.SetExpertMode(true);
    app.Pins().ShowDetails(true);
    ConfigModel& model = app.Model();
    model.CurrentPin = 0;
    model.CurrentAspect = 0;
    PinRecord& pin = model.PinTable[0];
    pin.AspectConfig = 3;
    pin.DevicePointer = 0;
    pin.Aspects[0].Steps[6] = StepRecord{12, 0, 0, 5, 0, 0};    // "Multibit 3": the pattern calculator
    pin.Aspects[0].Steps[7] = StepRecord{16, 0, 0, 106, 0, 0};  // "Event Input": the event map
    pin.Aspects[0].Steps[8] = StepRecord{102, 0, 0, 0, 7, 1};   // "Wait": the time calculator
    app.Events().OnAction[0] = {3, 4, 5, 6};
    ShowEventPin(app.Events(), app.View());
    if (app.Devices().SelectedIndex < 0) SelectDevice(app.Devices(), 0);
    Find<QCheckBox>("ChkMatrix_0")->setChecked(true);
    app.View().ShowPin();
    app.View().ShowOutputConfig();
    window.ShowAll();
    QApplication::processEvents();
  }

  // Brings the button on screen: its tab, its output page, scrolled into view.
  void Reveal(QWidget* button) {
    std::vector<std::pair<QTabWidget*, QWidget*>> pages;
    for (QWidget* w = button; w != nullptr && w != &window; w = w->parentWidget()) {
      if (auto* tabs = qobject_cast<QTabWidget*>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr))
        if (tabs->indexOf(w) >= 0) pages.emplace_back(tabs, w);
    }
    for (auto it = pages.rbegin(); it != pages.rend(); ++it) it->first->setCurrentWidget(it->second);
    for (QWidget* w = button->parentWidget(); w != nullptr; w = w->parentWidget())
      if (auto* scroll = qobject_cast<QScrollArea*>(w)) scroll->ensureWidgetVisible(button);
    QApplication::processEvents();
  }

  // Presses as a user does (the button takes the focus), then lets a posted command run.
  void Press(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
    window.Timer1Tick();
    QApplication::processEvents();
  }

  // The buttons of the window itself (not of its dialogs and other windows).
  std::vector<QAbstractButton*> Buttons() {
    std::vector<QAbstractButton*> buttons;
    for (QPushButton* button : window.findChildren<QPushButton*>())
      if (button->window() == &window) buttons.push_back(button);
    return buttons;
  }

  std::vector<QString> dialogs;
};

// Buttons whose only action is on a running feedback monitor: "Stop" has no action of its
// own, taking the focus from "Monitor" is all it does.
const QStringList kPressedWhileMonitoring = {"CommandFBM_2"};
// Buttons shown only while a command runs: "Stop" (its effect is tested with a running
// command in stop_compare_window_test).
const QStringList kShownWhileRunning = {"CommandStop"};

TEST_F(EveryButtonTest, EveryPushButtonOfEveryTabHasAnEffect) {
  auto* monitorButton = Find<QPushButton>("CommandFBM_1");
  auto* stopButton = Find<QPushButton>("CommandFBM_2");
  const std::vector<QAbstractButton*> buttons = Buttons();
  ASSERT_GT(buttons.size(), 80u);
  int pressed = 0;
  for (QAbstractButton* button : buttons) {
    const QString name = button->objectName();
    if (kShownWhileRunning.contains(name)) continue;
    Prepare();
    // The feedback monitor has lines in it, and runs only for the button that stops it.
    Reveal(monitorButton);
    Press(monitorButton);
    if (!kPressedWhileMonitoring.contains(name)) {
      Reveal(stopButton);
      Press(stopButton);
    }
    Reveal(button);
    ASSERT_TRUE(button->isVisible()) << name.toStdString() << " cannot be pressed in expert mode with details";
    const Observed before = Observe();
    Press(button);
    EXPECT_FALSE(Observe() == before) << name.toStdString() << " (\"" << button->text().toStdString()
                                     << "\") did nothing a user would notice";
    ++pressed;
  }
  EXPECT_EQ(pressed + kShownWhileRunning.size(), buttons.size());
  // Nothing was refused for want of a port or a reply.
  for (const std::string& message : prompt.Messages) {
    EXPECT_EQ(message.find("Select comm"), std::string::npos) << message;
    EXPECT_EQ(message.find("No response"), std::string::npos) << message;
  }
}

TEST_F(EveryButtonTest, EveryMenuEntryHasAnEffect) {
  // A submenu's entries count, not the submenu: the recent files offer one.
  app.SetRecentFiles({std::string(BRIXO_TEST_DATA_DIR) + "/demo.dat"});
  window.ShowRecentFiles();
  // By name: an entry may be made afresh (the recent files after a load).
  std::vector<QString> leaves;
  std::function<void(QMenu*)> collect = [&](QMenu* menu) {
    for (QAction* action : menu->actions()) {
      if (action->isSeparator()) continue;
      if (action->menu())
        collect(action->menu());
      else
        leaves.push_back(action->objectName());
    }
  };
  for (QAction* menuAction : window.menuBar()->actions()) {
    ASSERT_NE(menuAction->menu(), nullptr);
    collect(menuAction->menu());
  }
  int entries = 0;
  {
    for (const QString& name : leaves) {
      Prepare();
      QAction* action = window.findChild<QAction*>(name);
      ASSERT_NE(action, nullptr) << name.toStdString();
      window.SSTab_Main()->setCurrentIndex(0);
      // Redo needs a step undone first.
      if (action->objectName() == "ActionRedo") {
        app.NoteEdits();
        window.Undo();
      }
      const Observed before = Observe();
      action->trigger();
      window.Timer1Tick();
      QApplication::processEvents();
      EXPECT_FALSE(Observe() == before) << action->text().toStdString() << " did nothing a user would notice";
      ++entries;
    }
  }
  EXPECT_GE(entries, 14);
}

// Every label that acts on the mouse ("Pin", "Aspect", the step numbers and durations,
// "Port:", "Initial Level") takes the focus from Tab, and Space, Return or the
// context-menu key there does what the mouse does: the same dialog, the same change. Every
// parameter box of the steps opens its calculator on F4 as on a double-click.
TEST_F(EveryButtonTest, EveryClickableLabelAndParameterBoxAnswersTheKeyboardAsTheMouse) {
  using Act = std::function<void(QWidget*)>;
  const auto run = [&](QWidget* target, const Act& act) {
    Prepare();
    app.Ports().FrameBitrateVisible = false;  // "Port:" toggles it
    Reveal(target);
    dialogs.clear();
    const Observed before = Observe();
    act(target);
    window.Timer1Tick();
    QApplication::processEvents();
    const Observed after = Observe();
    // Small enough to print: whether anything, the configuration or the link changed, the
    // messages and the dialogs.
    return std::make_tuple(!(after == before), after.Configuration != before.Configuration, after.Link,
                           after.Messages - before.Messages, dialogs);
  };
  // "Initial Level" takes the test level: one it does not hold yet.
  const auto offerLevel = [this] {
    app.Live().State.PwmTestLevel = (app.Model().PinTable[0].OutputConfig[1] + 7) % 32;
  };
  const Act click = [](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center()); };
  const Act doubleClick = [](QWidget* w) { QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center()); };
  const Act tabThere = [this](QWidget* w) {
    // Reached by Tab from the widget before it in the focus chain, as a user would.
    QWidget* before = w->previousInFocusChain();
    while (before != w && !(before->isVisible() && before->isEnabled() && (before->focusPolicy() & Qt::TabFocus)))
      before = before->previousInFocusChain();
    before->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w) << w->objectName().toStdString() << " is not reached by Tab";
  };
  int labels = 0;
  QStringList opened;
  for (ClickableLabel* label : window.findChildren<ClickableLabel*>()) {
    const QString name = label->objectName();
    if (!(label->focusPolicy() & Qt::TabFocus)) continue;  // a caption with no action
    Prepare();
    Reveal(label);
    if (!label->isVisible()) continue;  // a step row the aspect does not use
    const bool onDouble = name.startsWith("LabelPAspTime") || name == "LabelPort";
    const auto byMouse = run(label, [&](QWidget* w) {
      offerLevel();
      (onDouble ? doubleClick : click)(w);
    });
    EXPECT_TRUE(std::get<0>(byMouse)) << name.toStdString() << " does nothing on a click";
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Menu}) {
      const auto byKey = run(label, [&](QWidget* w) {
        tabThere(w);
        offerLevel();
        if (key == Qt::Key_Menu) {
          QContextMenuEvent menu(QContextMenuEvent::Keyboard, w->rect().center(), w->mapToGlobal(w->rect().center()),
                                 Qt::NoModifier);
          QApplication::sendEvent(w, &menu);
        } else {
          QTest::keyClick(w, key);
        }
      });
      EXPECT_EQ(byKey, byMouse) << name.toStdString() << ", key " << key;
    }
    for (const QString& dialog : std::get<4>(byMouse)) opened << dialog;
    ++labels;
  }
  // Pin, Aspect, nine steps and their durations, Port, Initial Level.
  EXPECT_GE(labels, 22);
  for (const char* dialog : {"dlgEditPin", "dlgEditAspect", "dlgEditStep", "dlgCT"})
    EXPECT_TRUE(opened.contains(dialog)) << dialog << " is out of the keyboard's reach";

  // The step parameters with a calculator: P.O. has none and says so.
  int boxes = 0;
  for (int par = 1; par < 4; ++par) {
    for (const int row : {6, 7, 8}) {
      const QString name = QString("%1_%2").arg(par == 1 ? "TextPAspPar1" : par == 2 ? "TextPAspPar2" : "TextPAspPar3").arg(row);
      auto* box = window.findChild<QLineEdit*>(name);
      if (box == nullptr || !box->isEnabled()) continue;
      const auto byMouse = run(box, doubleClick);
      const auto byKey = run(box, [](QWidget* w) {
        w->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(w, Qt::Key_F4);
      });
      EXPECT_EQ(byKey, byMouse) << name.toStdString();
      ++boxes;
    }
  }
  EXPECT_GE(boxes, 3);
}

// A caption as a menu and a button both show it: "&Scan Line..." and "Scan line…" alike.
QString PlainCaption(QString caption) {
  return caption.remove('&').remove("...").remove(QChar(0x2026)).toLower();
}

// A menu entry and the button with its caption run the same operation.
TEST_F(EveryButtonTest, AMenuEntryDoesWhatItsButtonDoes) {
  std::map<QString, QAction*> entries;
  for (QAction* menuAction : window.menuBar()->actions())
    for (QAction* action : menuAction->menu()->actions()) entries[PlainCaption(action->text())] = action;
  int compared = 0;
  std::vector<QString> scanDialogs;
  for (QAbstractButton* button : Buttons()) {
    const auto entry = entries.find(PlainCaption(button->text()));
    if (entry == entries.end()) continue;
    const auto run = [&](const std::function<void()>& press) {
      Prepare();
      app.Simulator()->Controller().ClearReceived();
      dialogs.clear();
      const Observed before = Observe();
      press();
      window.Timer1Tick();
      QApplication::processEvents();
      Observed after = Observe();
      after.Frames -= before.Frames;
      after.Messages -= before.Messages;
      after.FileDialogs -= before.FileDialogs;
      after.Dialogs -= before.Dialogs;
      after.Reports -= before.Reports;
      return std::make_tuple(app.Simulator()->Controller().ReceivedPayloads(), after.Frames, after.Messages,
                             after.FileDialogs, after.Reports, dialogs);
    };
    const auto byButton = run([&] {
      Reveal(button);
      Press(button);
    });
    const auto byMenu = run([&] { entry->second->trigger(); });
    EXPECT_EQ(byMenu, byButton) << button->text().toStdString();
    if (button->objectName() == "cmdScanLine") scanDialogs = std::get<5>(byMenu);
    ++compared;
  }
  // Load File, Save File, Read All, Write All, Verify All, Compare, Erase Flash, Scan Line.
  EXPECT_EQ(compared, 8);
  // Both open the scan dialog.
  EXPECT_EQ(scanDialogs, std::vector<QString>{"dlgScanLine"});
}

}  // namespace
}  // namespace brixo::window_test
