#include <QRadioButton>
#include <QToolButton>

#include "transfer/general_settings.h"
#include "ui/general_tab.h"
#include "ui/led_check_box.h"
#include "window_test_fixture.h"

namespace brixo::window_test {
namespace {

using GeneralTabTest = MainWindowTest;

TEST_F(GeneralTabTest, TypedNumbersAreBroughtIntoTheirRanges) {
  struct Case {
    const char* field;
    const char* typed;
    const char* shown;
  } cases[] = {
      {"TextGenDCCAddress", "600", "510"},   {"TextGenDCCAddress", "0", "1"},
      {"TextGenDCCAddress", "abc", "1"},     {"TextGenDCCAddress", "12.6", "13"},
      {"TextGenXDCCAddress", "5000", "2046"}, {"TextGenTamloaddr", "0", "1"},
      {"TextGenTamloaddr", "6", "5"},        {"TextGenTamloaddr", "9999", "509"},
      {"TextGenXaddr", "200", "96"},         {"TextAddress", "40", "16"},
      {"TextAddress", "0", "1"},             {"txtXaddr", "200", "96"},
  };
  for (const Case& c : cases) {
    Type(c.field, c.typed);
    EXPECT_EQ(FieldText(c.field), c.shown) << c.field << " " << c.typed;
  }
  // The values behind the last texts.
  EXPECT_EQ(app.General().FlexAddress, 127);
  EXPECT_EQ(app.General().ModuleXAddress, 95);
  EXPECT_EQ(app.Link().ModuleAddress, 0);
  EXPECT_EQ(app.Link().ExtendedAddress, 95);
}

TEST_F(GeneralTabTest, FieldsCommitWhenTheyLoseFocus) {
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  UpDownField* dcc = Find<UpDownField>("TextGenDCCAddress");
  dcc->Edit()->setFocus();
  dcc->Edit()->setText("999");
  Find<QLineEdit>("TextGenIDString")->setFocus();
  EXPECT_EQ(dcc->Text(), "510");
  EXPECT_EQ(app.General().TextGenDCCAddress, "510");
}

TEST_F(GeneralTabTest, SpinnersStepWithinTheRange) {
  UpDownField* dcc = Find<UpDownField>("TextGenDCCAddress");
  Type("TextGenDCCAddress", "510");
  dcc->UpButton()->click();
  EXPECT_EQ(dcc->Text(), "510");
  dcc->DownButton()->click();
  EXPECT_EQ(dcc->Text(), "509");
  Type("TextGenDCCAddress", "1");
  dcc->DownButton()->click();
  EXPECT_EQ(dcc->Text(), "1");
  Find<QCheckBox>("ChkGenDCCAllow0")->click();
  dcc->DownButton()->click();
  EXPECT_EQ(dcc->Text(), "0");

  UpDownField* module = Find<UpDownField>("TextAddress");
  module->UpButton()->click();
  EXPECT_EQ(module->Text(), "2");
  EXPECT_EQ(app.Link().ModuleAddress, 1);
}

TEST_F(GeneralTabTest, OutputRangeTurnsRedOnOverflow) {
  // Every pin starts with one DCC address: 32 in all.
  Type("TextGenDCCAddress", "1");
  QLabel* label = Find<QLabel>("LabelGenDCCOutput");
  EXPECT_EQ(label->text(), "Output 1 .. 32");
  EXPECT_NE(label->palette().color(QPalette::WindowText), QColor(Qt::red));
  Type("TextGenDCCAddress", "510");
  EXPECT_EQ(label->text(), "Output 2037 .. OVFLOW");
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::red));
  Type("TextGenXDCCAddress", "2040");
  EXPECT_EQ(Text("LabelGenXDCCOutput"), "Output 2040 .. OVERFLOW");
  Type("TextGenDCCAddress", "2");
  EXPECT_NE(label->palette().color(QPalette::WindowText), QColor(Qt::red));
}

TEST_F(GeneralTabTest, IdleLedBoxIsDimmedCheckedExactlyWhenNoFunctionIsSelected) {
  struct Step {
    int box;
    Qt::CheckState box0;
    Qt::CheckState box7;
  } steps[] = {
      {0, Qt::Checked, Qt::Unchecked},          // a function clears the idle box
      {7, Qt::Unchecked, Qt::PartiallyChecked},  // the idle box clears every function
      {7, Qt::Unchecked, Qt::PartiallyChecked},  // and cannot be cleared by itself
      {0, Qt::Checked, Qt::Unchecked},
      {0, Qt::Unchecked, Qt::PartiallyChecked},  // the last function cleared
  };
  for (const char* led : {"CheckLCGreen_%1", "CheckLCOrange_%1"}) {
    for (const Step& step : steps) {
      Find<QCheckBox>(QString(led).arg(step.box))->click();
      EXPECT_EQ(Find<QCheckBox>(QString(led).arg(0))->checkState(), step.box0) << led << " " << step.box;
      EXPECT_EQ(Find<QCheckBox>(QString(led).arg(7))->checkState(), step.box7) << led << " " << step.box;
    }
  }
  EXPECT_EQ(app.General().CheckLCGreen[7], 2);
}

TEST_F(GeneralTabTest, AddressingBoxesShowAndHideTheirControls) {
  const std::string warning =
      "Tamlo Flexible Addressing is a complex concept !!\nIt should only be activated by experienced users\n"
      "that understand the details very well !";
  EXPECT_FALSE(Shown("TextGenTamloaddr"));
  prompt.Answers = {MessageAnswer::Cancel};
  Find<QCheckBox>("CheckGenTamloaddr")->click();
  EXPECT_EQ(prompt.Messages.back(), warning);
  EXPECT_FALSE(Find<QCheckBox>("CheckGenTamloaddr")->isChecked());
  EXPECT_FALSE(Shown("TextGenTamloaddr"));

  Find<QCheckBox>("CheckGenTamloaddr")->click();  // answered OK
  EXPECT_TRUE(Find<QCheckBox>("CheckGenTamloaddr")->isChecked());
  EXPECT_TRUE(Shown("TextGenTamloaddr"));
  EXPECT_TRUE(Shown("LabelGenXA_4"));
  EXPECT_FALSE(Shown("CheckGenBrixoNative"));

  Find<QCheckBox>("CheckGenForceXA")->click();
  for (const char* hidden : {"CheckGenTamloaddr", "CheckGenBrixoNative", "TextGenTamloaddr", "TextGenXaddr",
                             "LabelGenXA_2", "LabelGenXGMlbl_15", "CheckGenXGM_15"})
    EXPECT_FALSE(Shown(hidden)) << hidden;
  Find<QCheckBox>("CheckGenForceXA")->click();
  EXPECT_TRUE(Shown("CheckGenXGM_15"));
  EXPECT_TRUE(Shown("TextGenTamloaddr"));
  EXPECT_EQ(MessageCount(warning), 2);
}

TEST_F(GeneralTabTest, ReadingFlexibleAddressingFromTheControllerAsksNothing) {
  SelectSimulatedPort();
  Find<QCheckBox>("CheckGenTamloaddr")->click();
  Type("TextGenTamloaddr", "21");
  Click("CommandGenAddrWrite");
  app.General().CheckGenTamloaddr = false;
  app.General().FlexAddress = 0;
  window.ShowGeneralSettings();
  const size_t asked = prompt.Messages.size();

  Click("CommandGenAddrRead");
  EXPECT_EQ(prompt.Messages.size(), asked);
  EXPECT_TRUE(Find<QCheckBox>("CheckGenTamloaddr")->isChecked());
  EXPECT_EQ(FieldText("TextGenTamloaddr"), "21");
  EXPECT_TRUE(Shown("TextGenTamloaddr"));
}

TEST_F(GeneralTabTest, NumberingFromZeroRewritesTheNumbersButKeepsTheValues) {
  Type("TextGenXaddr", "10");
  Type("TextAddress", "3");
  Find<QCheckBox>("CheckKLnumber")->click();
  EXPECT_EQ(app.Model().NumberingOffset, 0);
  EXPECT_EQ(Text("LabelGenHWCPin_1"), "0..7");
  EXPECT_EQ(Text("LabelGenHWCPin_4"), "24..31");
  EXPECT_EQ(FieldText("TextGenXaddr"), "9");
  EXPECT_EQ(FieldText("TextAddress"), "2");
  EXPECT_EQ(app.General().ModuleXAddress, 9);
  EXPECT_EQ(app.Link().ModuleAddress, 2);
  Find<QCheckBox>("CheckKLnumber")->click();
  EXPECT_EQ(Text("LabelGenHWCPin_1"), "1..8");
  EXPECT_EQ(FieldText("TextAddress"), "3");
}

TEST_F(GeneralTabTest, EraseFlashSendsOnlyAfterBothQuestionsSayGoOn) {
  const std::vector<int> erase = {96, 0, 83, 61, 11, 29, 66, 9, 35, 14};
  struct Case {
    std::deque<MessageAnswer> answers;
    bool sent;
  } cases[] = {
      {{MessageAnswer::Cancel}, false},
      {{MessageAnswer::Ok, MessageAnswer::Ok}, false},  // OK answers "cancel this operation?"
      {{MessageAnswer::Ok, MessageAnswer::Cancel}, true},
  };
  SelectSimulatedPort();
  for (const Case& c : cases) {
    app.Simulator()->Controller().ClearReceived();
    prompt.Answers = c.answers;
    Click("CommandGenEraseFlash");
    const auto received = Received();
    EXPECT_EQ(std::find(received.begin(), received.end(), erase) != received.end(), c.sent);
    EXPECT_TRUE(Find<QCheckBox>("CheckBrixoBD")->isChecked());
  }
}

TEST_F(GeneralTabTest, GroupButtonsTalkToTheControllerAtOnce) {
  SelectSimulatedPort();
  Find<QCheckBox>("ChkGenHWCSource_2")->click();
  Click("CommandGenHWCWrite");
  EXPECT_EQ(Received().back(), (std::vector<int>{96, 1, 0, 0, 2, 0}));
  Find<QCheckBox>("ChkGenHWCSource_2")->click();
  Click("CommandGenHWCRead");
  EXPECT_TRUE(Find<QCheckBox>("ChkGenHWCSource_2")->isChecked());

  Click("CommandGenVersion");
  EXPECT_NE(Text("LabelGenVersionString"), "Unknown");
  EXPECT_TRUE(app.Commands().PendingCommand().empty());
}

}  // namespace
}  // namespace brixo::window_test
