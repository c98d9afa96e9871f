// Undo and redo in the window, the modified mark in its title and the question before
// closing over unsaved edits, driven as a user drives them: keys, clicks and the close
// button.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "files/data_file.h"
#include "support/case_name.h"
#include "support/scratch_folder.h"
#include "window_test_fixture.h"

namespace brixo::window_test {
namespace {

std::string Saved(AppState& app) {
  ConfigModel model = app.Model();
  bool quotes = false;
  return ComposeDataFile(model, app.General(), app.Events(), false, quotes);
}

class UndoWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  // The user's action ends; the window records it from its event loop.
  void Settle() { QApplication::processEvents(); }
  void PressKeys(QKeySequence keys) {
    // Shortcuts reach the window from any control that does not edit text itself.
    Find<QPushButton>("CommandReadAll")->setFocus();
    QTest::keySequence(&window, keys);
    Settle();
  }
  QString Title() const { return window.windowTitle(); }
};

TEST_F(UndoWindowTest, CtrlZAndCtrlShiftZUndoAndRedoWhatTheControlsChanged) {
  const std::string start = Saved(app);
  EXPECT_EQ(Title(), "Brixo Config");

  // Four actions through the controls: a typed address, a check box, an event action
  // and "Copy to All".
  Type("TextGenDCCAddress", "300");
  Settle();
  const std::string typed = Saved(app);
  QTest::mouseClick(Find<QCheckBox>("ChkGenDCC_BPSI"), Qt::LeftButton);
  Settle();
  const std::string checked = Saved(app);
  window.SSTab_Main()->setCurrentIndex(kEventControlTab);
  Type("TextECon_1", "4");
  Settle();
  const std::string action = Saved(app);
  QTest::mouseClick(Find<QPushButton>("CommandECcopy"), Qt::LeftButton);
  Settle();
  const std::string copied = Saved(app);
  ASSERT_NE(typed, start);
  ASSERT_NE(checked, typed);
  ASSERT_NE(action, checked);
  ASSERT_NE(copied, action);
  EXPECT_EQ(Title(), QString::fromUtf8("Untitled* \u2014 Brixo Config"));

  app.Simulator()->Controller().ClearReceived();
  const std::vector<std::string> states = {start, typed, checked, action, copied};
  size_t at = states.size() - 1;
  // Back to the start, and forth again.
  while (at > 0) {
    PressKeys(QKeySequence("Ctrl+Z"));
    --at;
    EXPECT_EQ(Saved(app), states[at]) << "undo to state " << at;
  }
  EXPECT_EQ(Title(), "Brixo Config") << "undone to the start: nothing unsaved";
  EXPECT_EQ(FieldText("TextGenDCCAddress").toStdString(), app.General().TextGenDCCAddress);
  PressKeys(QKeySequence("Ctrl+Shift+Z"));
  EXPECT_EQ(Saved(app), typed);
  EXPECT_EQ(FieldText("TextGenDCCAddress"), "300") << "the control shows what was redone";
  EXPECT_TRUE(Received().empty()) << "undo and redo sent something to the controller";
  EXPECT_TRUE(prompt.Messages.empty());
}

TEST_F(UndoWindowTest, TheMenuEntriesFollowWhatCanBeUndone) {
  auto* undo = window.findChild<QAction*>("ActionUndo");
  auto* redo = window.findChild<QAction*>("ActionRedo");
  ASSERT_NE(undo, nullptr);
  ASSERT_NE(redo, nullptr);
  EXPECT_EQ(undo->shortcut(), QKeySequence("Ctrl+Z"));
  EXPECT_EQ(redo->shortcut(), QKeySequence("Ctrl+Shift+Z"));
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_FALSE(redo->isEnabled());
  Type("TextGenDCCAddress", "300");
  Settle();
  EXPECT_TRUE(undo->isEnabled());
  EXPECT_EQ(undo->text(), "&Undo DCC address");
  // The changed field is marked with what it was, and counted.
  EXPECT_EQ(Text("LabelChanges"), "1 change");
  EXPECT_TRUE(Find("TextGenDCCAddress")->toolTip().endsWith("was 1")) << Find("TextGenDCCAddress")->toolTip().toStdString();
  undo->trigger();
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_TRUE(redo->isEnabled());
  EXPECT_EQ(redo->text(), "&Redo DCC address");
  EXPECT_EQ(FieldText("TextGenDCCAddress"), "1");
  EXPECT_EQ(Text("LabelChanges"), "");
  EXPECT_FALSE(Find("TextGenDCCAddress")->toolTip().contains("was 1"));
}

// An edit undone on another tab, pin or aspect is shown where it was made, its box focused.
struct ElsewhereCase {
  const char* Name;
  int Tab;
  const char* Box;
  const char* Typed;
  const char* UndoText;
};

class UndoElsewhereTest : public UndoWindowTest, public ::testing::WithParamInterface<ElsewhereCase> {};

TEST_P(UndoElsewhereTest, UndoSwitchesToTheFieldAndFocusesIt) {
  const ElsewhereCase& c = GetParam();
  window.SSTab_Main()->setCurrentIndex(c.Tab);
  Settle();
  Type(c.Box, c.Typed);
  Settle();
  auto* undo = window.findChild<QAction*>("ActionUndo");
  EXPECT_EQ(undo->text().toStdString(), c.UndoText);
  window.SSTab_Main()->setCurrentIndex(c.Tab == kGeneralTab ? kEventControlTab : kGeneralTab);
  Settle();
  undo->trigger();
  EXPECT_EQ(window.SSTab_Main()->currentIndex(), c.Tab);
  QWidget* box = Find(c.Box);
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(window.focusWidget() == box || box->isAncestorOf(window.focusWidget())) << c.Box;
}

INSTANTIATE_TEST_SUITE_P(Fields, UndoElsewhereTest,
                         ::testing::Values(ElsewhereCase{"General", kGeneralTab, "TextGenDCCAddress", "300",
                                                         "&Undo DCC address"},
                                           ElsewhereCase{"EventAction", kEventControlTab, "TextECon_1", "4",
                                                         "&Undo event pin 1 input 1 ON"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(UndoWindowTest, CtrlZInATextBoxUndoesItsTypingFirstThenTheEditor) {
  Type("TextGenDCCAddress", "300");
  Settle();
  QLineEdit* box = Find<UpDownField>("TextGenDCCAddress")->Edit();
  box->setFocus();
  QTest::keyClicks(box, "7");
  QTest::keySequence(box, QKeySequence("Ctrl+Z"));
  EXPECT_EQ(box->text(), "300") << "the typing not yet taken";
  EXPECT_EQ(app.General().TextGenDCCAddress, "300");
  QTest::keySequence(box, QKeySequence("Ctrl+Z"));
  Settle();
  EXPECT_EQ(app.General().TextGenDCCAddress, "1") << "then the editor's step";
  EXPECT_EQ(box->text(), "1");
}

// However an undo starts, a text box's entry counts whole: the words of a description are
// no steps of their own, finished with Return or not.
struct TextEntryCase {
  const char* Name;
  int Tab;
  const char* Box;
  bool Finished;  // left with Return before the undo
  bool ByMenu;    // Edit > Undo with the mouse; else Ctrl+Z in the box
};

class TextEntryUndoTest : public UndoWindowTest, public ::testing::WithParamInterface<TextEntryCase> {};

TEST_P(TextEntryUndoTest, AnUndoTakesTheWholeEntryBack) {
  const TextEntryCase c = GetParam();
  window.SSTab_Main()->setCurrentIndex(c.Tab);
  Settle();
  const std::string start = Saved(app);
  auto* box = Find<QLineEdit>(c.Box);
  ASSERT_NE(box, nullptr);
  const QString before = box->text();
  box->setFocus();
  Settle();
  // Key by key, with the event loop running between the keys as it does for a typist.
  for (const QChar key : QString("North Yard")) {
    QTest::keyClick(box, key.toLatin1());
    Settle();
  }
  const QString typed = box->text();
  if (c.Finished) QTest::keyClick(box, Qt::Key_Return);
  Settle();
  if (c.ByMenu) {
    // Edit > Undo with the mouse: the menu opens over the box, which keeps the focus.
    QAction* undo = window.findChild<QAction*>("ActionUndo");
    for (QMenu* menu : window.menuBar()->findChildren<QMenu*>()) {
      if (!menu->actions().contains(undo)) continue;
      menu->popup(window.mapToGlobal(QPoint(10, 10)));
      Settle();
      ASSERT_TRUE(undo->isEnabled()) << "the entry being typed is offered for undo";
      undo->trigger();
      menu->hide();
    }
  } else {
    QTest::keySequence(box, QKeySequence("Ctrl+Z"));
  }
  Settle();
  EXPECT_EQ(box->text(), before);
  EXPECT_TRUE(Saved(app) == start) << "a save carries a text never entered";
  if (c.ByMenu) {
    window.findChild<QAction*>("ActionRedo")->trigger();
    EXPECT_EQ(box->text(), typed) << "redone whole";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, TextEntryUndoTest,
    ::testing::Values(TextEntryCase{"IdString_Return_Menu", kGeneralTab, "TextGenIDString", true, true},
                      TextEntryCase{"IdString_Typing_Menu", kGeneralTab, "TextGenIDString", false, true},
                      TextEntryCase{"IdString_Return_CtrlZ", kGeneralTab, "TextGenIDString", true, false},
                      TextEntryCase{"PinDescription_Return_Menu", kDeviceConfigurationTab, "TextPAspDesc", true, true},
                      TextEntryCase{"PinDescription_Typing_Menu", kDeviceConfigurationTab, "TextPAspDesc", false, true},
                      TextEntryCase{"PinDescription_Return_CtrlZ", kDeviceConfigurationTab, "TextPAspDesc", true, false}),
    testing::CaseName());

// Undo brings back stored values and shows them with the numbering of now: a step taken
// before "Start numbering at 1" was cleared must not bring back its texts.
struct NumberedBoxCase {
  const char* Name;
  const char* Box;
  bool TamloOn;  // the box shows only with "Tamlo Flex-Addresss"
};

class NumberedBoxUndoTest : public UndoWindowTest, public ::testing::WithParamInterface<NumberedBoxCase> {};

TEST_P(NumberedBoxUndoTest, UndoShowsStoredValuesWithTheCurrentNumbering) {
  const NumberedBoxCase c = GetParam();
  if (c.TamloOn) {
    prompt.Answers = {MessageAnswer::Ok};
    QTest::mouseClick(Find<QCheckBox>("CheckGenTamloaddr"), Qt::LeftButton);
    Settle();
    ASSERT_TRUE(app.General().CheckGenTamloaddr);
  }
  const std::string start = Saved(app);
  QTest::mouseClick(Find<QCheckBox>("CheckKLnumber"), Qt::LeftButton);
  Settle();
  ASSERT_EQ(app.Model().NumberingOffset, 0);
  ASSERT_EQ(FieldText(c.Box), "0");
  QTest::mouseClick(Find<QCheckBox>("ChkGenDCC_BPSI"), Qt::LeftButton);
  Settle();
  PressKeys(QKeySequence("Ctrl+Z"));
  EXPECT_TRUE(Saved(app) == start);
  EXPECT_EQ(FieldText(c.Box), "0") << "shown with the numbering from 0";
  // Entering the box and leaving it commits what it shows.
  QLineEdit* box = Find<UpDownField>(c.Box)->Edit();
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Tab);
  Settle();
  EXPECT_TRUE(Saved(app) == start) << "focus and Tab stored another value";
  EXPECT_EQ(FieldText(c.Box), "0");
}

INSTANTIATE_TEST_SUITE_P(Boxes, NumberedBoxUndoTest,
                         ::testing::Values(NumberedBoxCase{"ModuleXAddress", "TextGenXaddr", false},
                                           NumberedBoxCase{"TamloStart", "TextGenTamloaddr", true}),
                         testing::CaseName());

TEST_F(UndoWindowTest, ReadAllOverUnsavedEditsAsksBeforeItStarts) {
  SelectSimulatedPort();
  Type("TextGenDCCAddress", "300");
  Settle();
  prompt.Answers = {MessageAnswer::Cancel};
  RunCommand("CommandReadAll");
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"Save changes to Untitled?"});
  EXPECT_TRUE(Received().empty()) << "cancelled, yet the read started";
  EXPECT_EQ(FieldText("TextGenDCCAddress"), "300");

  prompt.Answers = {MessageAnswer::Discard};
  RunCommand("CommandReadAll");
  EXPECT_FALSE(Received().empty());
  EXPECT_EQ(FieldText("TextGenDCCAddress"), "20") << "the controller's, from demo.dat";
  EXPECT_EQ(Title(), "Brixo Config") << "what the controller holds is nothing unsaved";
  // The read itself is a step: undone, the edits are back.
  PressKeys(QKeySequence("Ctrl+Z"));
  EXPECT_EQ(FieldText("TextGenDCCAddress"), "300");
  EXPECT_EQ(Title(), QString::fromUtf8("Untitled* \u2014 Brixo Config"));
}

struct CloseCase {
  const char* Name;
  MessageAnswer Answer;
  bool Closes;
  bool Saves;
};

class CloseQuestionTest : public UndoWindowTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseQuestionTest, ClosingOverUnsavedEditsAsksFirst) {
  const CloseCase c = GetParam();
  // The cases run side by side: each saves into a folder of its own.
  const testing::ScratchFolder scratch;
  const std::filesystem::path path = scratch / "brixo_close_test.dat";
  std::filesystem::copy_file(std::string(BRIXO_TEST_DATA_DIR) + "/demo.dat", path,
                             std::filesystem::copy_options::overwrite_existing);
  chooser.Answers = {path.string()};
  Click("CommandLoad");
  EXPECT_EQ(Title(), QString::fromUtf8("brixo_close_test.dat \u2014 Brixo Config"));
  // Unchanged: no question.
  EXPECT_TRUE(window.close());
  EXPECT_TRUE(prompt.Messages.empty());
  window.show();

  QLineEdit* id = Find<QLineEdit>("TextGenIDString");
  id->setFocus();
  QTest::keyClicks(id, " Yard");
  Find<QPushButton>("CommandReadAll")->setFocus();  // leaving the box ends the entry
  Settle();
  EXPECT_EQ(Title(), QString::fromUtf8("brixo_close_test.dat* \u2014 Brixo Config"));

  prompt.Answers = {c.Answer};
  EXPECT_EQ(window.close(), c.Closes);
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"Save changes to brixo_close_test.dat?"});
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str().find("Demo Layout Yard") != std::string::npos, c.Saves);
  if (!c.Closes) {
    EXPECT_EQ(id->text(), "Demo Layout Yard") << "the edits stay";
  }
  std::filesystem::remove(path);
}

INSTANTIATE_TEST_SUITE_P(Answers, CloseQuestionTest,
                         ::testing::Values(CloseCase{"Save", MessageAnswer::Save, true, true},
                                           CloseCase{"Discard", MessageAnswer::Discard, true, false},
                                           CloseCase{"Cancel", MessageAnswer::Cancel, false, false},
                                           CloseCase{"Dismissed", MessageAnswer::Dismissed, false, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace brixo::window_test
