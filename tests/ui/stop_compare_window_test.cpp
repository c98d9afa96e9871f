// The window's "Stop" button and Escape during a running command, "Compare", and the
// question before "Write All".
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>
#include <functional>
#include <set>

#include "app/result_text.h"
#include "files/data_file.h"
#include "ui/qt_user_prompt.h"

#include "ui/difference_table_window.h"
#include "window_test_fixture.h"

namespace brixo::window_test {
namespace {

class StopCompareWindowTest : public MainWindowTest {
 protected:
  StopCompareWindowTest() {
    window.SetDialogRunner([this](QDialog& dialog) {
      dialogs.push_back(dialog.objectName());
      auto* box = qobject_cast<QMessageBox*>(&dialog);
      if (box == nullptr) return;
      if (box->checkBox()) box->checkBox()->setChecked(onlyChanges);
      box->button(answers.empty() ? QMessageBox::Cancel : answers.front())->click();
      if (!answers.empty()) answers.erase(answers.begin());
    });
  }

  // The editor holds what the simulated controller holds.
  void EditorAsController() {
    ASSERT_TRUE(LoadDataFileFrom(app.DataFiles(), std::string(BRIXO_TEST_DATA_DIR) + "/demo.dat"));
  }

  std::string Editor() {
    bool quotes = false;
    return ComposeDataFile(app.Model(), app.General(), app.Events(), false, quotes);
  }

  // Runs the posted command; `act` is called once frames of it have gone out, from within
  // its repaints, as a user acting while it runs. A short command may end before a repaint
  // gives the user a chance: `required` says whether that fails the test.
  void RunActingAfter(size_t frames, const std::function<void()>& act, bool required = true) {
    bool acted = false;
    QTimer user;
    user.setInterval(0);
    QObject::connect(&user, &QTimer::timeout, [&] {
      if (acted || !Shown("FrameAction") || Received().size() < frames) return;
      acted = true;
      act();
    });
    user.start();
    window.Timer1Tick();
    user.stop();
    EXPECT_TRUE(acted || !required);
  }

  std::vector<QString> dialogs;
  std::vector<QMessageBox::StandardButton> answers;
  bool onlyChanges = false;
};

struct StopWay {
  const char* Name;
  void (*Stop)(StopCompareWindowTest&, BrixoConfig&);
};

class StopWayTest : public StopCompareWindowTest, public ::testing::WithParamInterface<StopWay> {};

// Stopped half-way, Read All sends nothing more, takes nothing into the editor and says so.
TEST_P(StopWayTest, ReadAllStopsAndTakesNothing) {
  SelectSimulatedPort();
  app.General().TextGenIDString = "Editor's";
  const std::string before = Editor();
  Click("CommandReadAll");
  EXPECT_TRUE(Shown("CommandStop"));
  size_t sentAtStop = 0;
  RunActingAfter(200, [&] {
    sentAtStop = Received().size();
    GetParam().Stop(*this, window);
  });
  EXPECT_LE(Received().size(), sentAtStop + 1) << "at most the exchange in flight";
  EXPECT_LT(Received().size(), 1000u);
  EXPECT_EQ(Editor(), before);
  const std::string said = app.LastResult();
  EXPECT_EQ(said.rfind("Read All stopped after pin ", 0), 0u) << said;
  EXPECT_NE(said.find(" of 32: nothing was changed in the editor"), std::string::npos) << said;
  EXPECT_EQ(Text("LabelLastResult").toStdString(), said);
  // The edit made above is asked about before the read; nothing else is said in a box.
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{SaveChangesQuestion("")});
  EXPECT_FALSE(Shown("FrameAction"));
}

INSTANTIATE_TEST_SUITE_P(
    Ways, StopWayTest,
    ::testing::Values(StopWay{"StopButton",
                              [](StopCompareWindowTest&, BrixoConfig& w) {
                                QTest::mouseClick(w.findChild<QPushButton*>("CommandStop"), Qt::LeftButton);
                              }},
                      StopWay{"Escape", [](StopCompareWindowTest&, BrixoConfig& w) { QTest::keyClick(&w, Qt::Key_Escape); }}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(StopCompareWindowTest, AStoppedWriteSaysTheControllerHoldsAMix) {
  SelectSimulatedPort();
  answers = {QMessageBox::No};
  Click("CommandWriteAll");
  EXPECT_EQ(app.Commands().PendingCommand(), "WriteAll");
  RunActingAfter(100, [&] { window.StopOperation(); });
  EXPECT_EQ(app.LastResult().rfind("Write All stopped after ", 0), 0u) << app.LastResult();
  EXPECT_NE(app.LastResult().find("the controller now holds a mix of old and new settings"), std::string::npos);
  // The bar above the tabs keeps saying so after the status bar moved on.
  app.ShowResult("Saved demo.dat");
  ASSERT_TRUE(Shown("LabelMixedController"));
  EXPECT_TRUE(Text("LabelMixedController").startsWith("Module ")) << Text("LabelMixedController").toStdString();
  EXPECT_TRUE(Text("LabelMixedController").contains("mix of old and new settings"));
  answers = {QMessageBox::No};
  RunCommand("CommandWriteAll");
  EXPECT_EQ(app.LastResult().rfind("Write All: ", 0), 0u) << app.LastResult();
  EXPECT_FALSE(Shown("LabelMixedController")) << "a complete Write All ends it";
}

// Every text the core hands the window when a command ends (its result, its report, its
// messages), for every command run to its end, stopped by the user and cut off by a line
// gone silent, shows in the window as the core wrote it.
TEST_F(StopCompareWindowTest, EveryTextACommandEndsWithShowsAsTheCoreWroteIt) {
  enum class Ending { Completes, Stopped, LineSilent };
  const std::pair<Ending, const char*> endings[] = {
      {Ending::Completes, "completes"}, {Ending::Stopped, "stopped"}, {Ending::LineSilent, "line silent"}};
  std::set<std::string> messages;
  std::set<std::string> results;
  // A file that is not there, in a folder whose name the file system holds as UTF-8.
  chooser.Answers = {"/nonexistent/Z\xC3\xBCrich \xE2\x80\x94 Nord/missing.dat"};
  Click("CommandLoad");
  results.insert(app.LastResult());
  EXPECT_EQ(Text("LabelLastResult").toUtf8().toStdString(), app.LastResult());
  messages.insert(prompt.Messages.begin(), prompt.Messages.end());
  ASSERT_EQ(messages.size(), 1u);
  SelectSimulatedPort();
  EditorAsController();
  for (const std::string& name : DeferredCommands::CommandNames()) {
    for (const auto& [ending, endingName] : endings) {
      const std::string what = name + ", " + endingName;
      SimFaults& faults = app.Simulator()->Controller().Faults();
      faults = SimFaults{};
      if (!app.Ports().PortOpen()) SelectSimulatedPort();
      if (ending == Ending::LineSilent) faults.SilentAfterFrames = 3;
      prompt.Clear();
      answers = {QMessageBox::No};
      const int reportsBefore = reportsShown;
      app.Simulator()->Controller().ClearReceived();
      if (!app.Commands().PostCommand(name)) continue;
      if (ending == Ending::Stopped) {
        RunActingAfter(2, [&] { window.StopOperation(); }, false);
      } else {
        window.Timer1Tick();
      }
      results.insert(app.LastResult());
      EXPECT_EQ(Text("LabelLastResult").toUtf8().toStdString(), app.LastResult()) << what;
      if (reportsShown > reportsBefore) {
        std::string written = app.Report().Text;
        written.erase(std::remove(written.begin(), written.end(), '\r'), written.end());
        EXPECT_EQ(reportText.toUtf8().toStdString(), written) << what;
      }
      messages.insert(prompt.Messages.begin(), prompt.Messages.end());
    }
  }
  EXPECT_TRUE(std::any_of(results.begin(), results.end(),
                          [](const std::string& r) { return r.find("\u2014") != std::string::npos; }))
      << "the texts tried hold none beyond ASCII";
  // The messages, each in the window's own message box.
  for (const std::string& message : messages) {
    QString shown;
    QTimer::singleShot(0, [&shown] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      shown = box->text();
      box->button(QMessageBox::Ok)->click();
    });
    QtUserPrompt(&window).ShowMessage(message);
    EXPECT_EQ(shown.toUtf8().toStdString(), message);
  }
}

// "Compare" shows the differences as a table, each as the editor shows the field, with
// the report one button away; a double-click leads to the field; the controller and the
// editor are left as they were.
TEST_F(StopCompareWindowTest, CompareListsTheDifferencesAndChangesNothing) {
  SelectSimulatedPort();
  EditorAsController();
  app.General().TextGenIDString = "Other";
  app.Model().PinTable[0].Aspects[0].Steps[0].Par1 = 17;
  app.Events().OnAction[6][1] = 5;
  const std::string before = Editor();
  RunCommand("CommandCompare");
  EXPECT_EQ(reportsShown, 0) << "the table comes first";
  DifferenceTableWindow* table = window.CompareTable();
  ASSERT_NE(table, nullptr);
  EXPECT_TRUE(table->isVisible());
  EXPECT_EQ(table->windowTitle(), "Compare");
  std::vector<QStringList> cells;
  for (int r = 0; r < table->Table()->rowCount(); ++r) {
    QStringList row;
    for (int c = 1; c < table->Table()->columnCount(); ++c) row << table->Table()->item(r, c)->text();
    EXPECT_EQ(table->Table()->item(r, 0)->checkState(), Qt::Checked);
    cells.push_back(row);
  }
  const std::vector<QStringList> expected = {
      {"ID String", "ID String", "<Other>", "<Demo Layout>"},
      {"event pin 7 input 1", "ON", "5", "-1"},
      {"pin 1 aspect 0 step 0", "T(/60)", "17", "0"},
  };
  EXPECT_EQ(cells, expected);
  EXPECT_EQ(Editor(), before);
  for (const std::vector<int>& payload : Received()) {
    if (!payload.empty()) {
      EXPECT_GE(payload[0], 112) << "only read requests";
    }
  }
  EXPECT_EQ(app.LastResult(), "Compare: 3 differences in 0.0 s");

  table->ReportButton()->click();
  EXPECT_EQ(reportsShown, 1);
  EXPECT_TRUE(reportText.contains("ID String: file <Other>, controller <Demo Layout>")) << reportText.toStdString();
  EXPECT_TRUE(reportText.contains("Differences Found"));

  // Double-click: the tab, the pin and the box of the field.
  const std::vector<std::pair<int, QString>> opened = {
      {0, "TextGenIDString"}, {1, "TextECon_1"}, {2, "TextPAspPar1_0"}};
  for (const auto& [row, box] : opened) {
    emit table->Table()->cellDoubleClicked(row, 1);
    QWidget* focused = Find(box);
    ASSERT_NE(focused, nullptr);
    EXPECT_TRUE(window.focusWidget() == focused || focused->isAncestorOf(window.focusWidget()))
        << box.toStdString();
    EXPECT_TRUE(window.SSTab_Main()->currentWidget()->isAncestorOf(focused)) << box.toStdString();
  }
  EXPECT_EQ(app.Events().CurrentEventPin, 6);
}

// "Take Controller's Values": the ticked fields take the controller's values, in one
// undo step; the unticked stay.
TEST_F(StopCompareWindowTest, TakingTheControllersValuesIsOneUndoStep) {
  SelectSimulatedPort();
  EditorAsController();
  const std::string controller = Editor();
  app.General().TextGenIDString = "Other";
  app.Model().PinTable[0].Aspects[0].Steps[0].Par3 = 17;
  app.Events().OnAction[6][1] = 5;
  app.NoteEdits();
  const std::string edited = Editor();
  RunCommand("CommandCompare");
  DifferenceTableWindow* table = window.CompareTable();
  ASSERT_NE(table, nullptr);
  table->Table()->item(1, 0)->setCheckState(Qt::Unchecked);
  table->TakeValuesButton()->click();
  EXPECT_EQ(app.General().TextGenIDString, "Demo Layout");
  EXPECT_EQ(app.Model().PinTable[0].Aspects[0].Steps[0].Par3, 0);
  EXPECT_EQ(app.Events().OnAction[6][1], 5) << "unticked";
  EXPECT_EQ(table->Table()->rowCount(), 1);
  table->TakeValuesButton()->click();
  EXPECT_EQ(Editor(), controller);
  window.Undo();
  window.Undo();
  EXPECT_EQ(Editor(), edited);
}

// File > "Compare with File...": the editor against a data file, no controller needed;
// "Take File's Values" makes the editor hold the file's values, one undo step away.
TEST_F(StopCompareWindowTest, CompareWithFileTakesTheFilesValuesInOneStep) {
  EditorAsController();
  app.Simulator()->Controller().ClearReceived();
  const std::string file = Editor();
  app.General().TextGenIDString = "Other";
  app.Model().PinTable[2].Description = "Moved";
  app.NoteEdits();
  const std::string edited = Editor();
  chooser.Answers.push_back(std::string(BRIXO_TEST_DATA_DIR) + "/demo.dat");
  window.findChild<QAction*>("ActionCompareWithFile")->trigger();
  DifferenceTableWindow* table = window.CompareTable();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->windowTitle(), "Compare with demo.dat");
  EXPECT_EQ(table->Table()->horizontalHeaderItem(4)->text(), "File");
  EXPECT_TRUE(table->WriteCheckedButton()->isHidden()) << "a file is not written to";
  ASSERT_EQ(table->Table()->rowCount(), 2);
  EXPECT_EQ(table->Table()->item(1, 1)->text() + " " + table->Table()->item(1, 2)->text(), "pin 3 Description");
  EXPECT_EQ(table->TakeValuesButton()->text(), "Take File's Values");
  table->TakeValuesButton()->click();
  EXPECT_EQ(Editor(), file);
  EXPECT_EQ(table->Table()->rowCount(), 0);
  EXPECT_TRUE(Received().empty());
  window.Undo();
  EXPECT_EQ(Editor(), edited);
}

struct WriteChoice {
  const char* Name;
  std::vector<QMessageBox::StandardButton> Answers;
  bool WriteChecked;  // in the table that "Yes" shows
  bool OnlyChanges;
  bool Writes;           // anything written
  bool WritesEverything;  // the whole configuration rather than the one pin
};

class WriteQuestionTest : public StopCompareWindowTest, public ::testing::WithParamInterface<WriteChoice> {};

// "Show what will change first?": Yes compares and shows the table, where "Write Checked"
// writes what differs; No writes at once, Cancel does nothing; the check box writes only
// what differs.
TEST_P(WriteQuestionTest, WritesAsChosen) {
  const WriteChoice& c = GetParam();
  SelectSimulatedPort();
  EditorAsController();
  app.Model().PinTable[0].Aspects[0].Steps[0].Par3 = 17;
  answers = c.Answers;
  onlyChanges = c.OnlyChanges;
  Click("CommandWriteAll");
  window.Timer1Tick();
  if (c.WriteChecked) {
    ASSERT_NE(window.CompareTable(), nullptr);
    window.CompareTable()->WriteCheckedButton()->click();
  }
  EXPECT_EQ(dialogs.front(), "ShowChangesQuestion");
  int pinWrites = 0;
  int generalWrites = 0;
  for (const std::vector<int>& payload : Received()) {
    if (payload.empty()) continue;
    pinWrites += payload[0] >= 96 && payload[0] < 112 && payload[0] != 96 ? 1 : 0;
    generalWrites += payload[0] == 96 ? 1 : 0;
  }
  EXPECT_EQ(pinWrites > 0, c.Writes);
  EXPECT_EQ(generalWrites > 0, c.WritesEverything);
  // Written or not, as the comparison afterwards tells.
  ASSERT_TRUE(app.Commands().PostCommand("Compare"));
  app.Commands().Tick();
  EXPECT_EQ(app.Commands().LastSucceeded(), c.Writes);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, WriteQuestionTest,
    ::testing::Values(WriteChoice{"Cancel", {QMessageBox::Cancel}, false, false, false, false},
                      WriteChoice{"NoWritesAll", {QMessageBox::No}, false, false, true, true},
                      WriteChoice{"NoOnlyChanges", {QMessageBox::No}, false, true, true, false},
                      WriteChoice{"ShowThenClose", {QMessageBox::Yes}, false, true, false, false},
                      WriteChoice{"ShowThenWriteChecked", {QMessageBox::Yes}, true, false, true, false}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace brixo::window_test
