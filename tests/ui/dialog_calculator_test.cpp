#include <QSlider>
#include <QToolButton>

#include "device_tab_fixture.h"
#include "model/help_tools.h"

namespace brixo {
namespace {

struct CalcCase {
  const char* name;
  const char* instruction;
  int startPar1;
  std::vector<const char*> clicks;  // buttons of the dialog, the last one closes it
  int par1;
};

class PatternCalculatorTest : public DeviceTabTest, public ::testing::WithParamInterface<CalcCase> {};

TEST_P(PatternCalculatorTest, ResultGoesIntoTheStep) {
  const CalcCase& c = GetParam();
  SetLayout(1);
  ChooseInstruction(0, c.instruction);
  Step(0, 0, 0).Par1 = static_cast<uint8_t>(c.startPar1);
  Refresh();
  const std::vector<const char*> clicks = c.clicks;
  driveDialog = [clicks](QDialog& d) {
    for (const char* name : clicks) Press(d, name);
  };
  QTest::mouseDClick(Edit("TextPAspPar1_0"), Qt::LeftButton);
  EXPECT_EQ(dialogsRun, 1);
  EXPECT_EQ(Step(0, 0, 0).Par1, c.par1);
  EXPECT_EQ(Text("TextPAspPar1_0"), QString::number(c.par1));
}

INSTANTIATE_TEST_SUITE_P(
    Calculators, PatternCalculatorTest,
    ::testing::Values(
        CalcCase{"PatternOk", "Multibit 3", 0, {"chkUitgang_0", "chkUitgang_2", "chkAllDark", "OKButton"}, 37},
        CalcCase{"PatternNoDarkClearsAllDark", "Multibit 3", 37, {"chkNoDark", "OKButton"}, 69},
        CalcCase{"PatternCancel", "Multibit 3", 5, {"chkUitgang_1", "chkAllDark", "CancelButton"}, 5},
        CalcCase{"EventMapDisableOff", "Event Input", 16, {"chkEvent_1", "chkEvent_3", "optEvent_6", "OKButton"}, 106},
        CalcCase{"EventMapExecuteOn", "Event Input", 16, {"chkEvent_1", "chkEvent_3", "optEvent_1", "OKButton"}, 26},
        CalcCase{"EventMapCancel", "Event Input", 106, {"chkEvent_0", "CancelButton"}, 106}),
    [](const auto& info) { return std::string(info.param.name); });

class TimeCalculatorTest : public DeviceTabTest {
 protected:
  TimeCalculatorTest() {
    SetLayout(1);
    ChooseInstruction(0, "Wait");
    Type("TextPAspPar2_0", "7");
    Type("TextPAspPar3_0", "0");
  }
};

TEST_F(TimeCalculatorTest, OkTakesBaseAndSlider) {
  QString maxTime;
  driveDialog = [&maxTime](QDialog& d) {
    auto* base = d.findChild<UpDownField*>("TextCTBase");
    base->Edit()->setText("7");
    QTest::keyClick(base->Edit(), Qt::Key_Return);
    EXPECT_EQ(base->Text(), "3");
    maxTime = d.findChild<QLabel*>("LabelCTMaxTimeValue")->text();
    d.findChild<QSlider*>("SliderCTTime")->setValue(63);
    Press(d, "OKButton");
  };
  QTest::mouseDClick(Find("LabelPAspTime_0"), Qt::LeftButton);
  EXPECT_EQ(maxTime, "10:45.12");
  EXPECT_EQ(Step(0, 0, 0).Par2, 63);
  EXPECT_EQ(Step(0, 0, 0).Par3, 3);
  EXPECT_EQ(Text("LabelPAspTime_0"), "10:45.12");
}

TEST_F(TimeCalculatorTest, CancelGivesBackWhatWasPassedIn) {
  driveDialog = [](QDialog& d) {
    EXPECT_EQ(d.findChild<QSlider*>("SliderCTTime")->value(), 7);
    d.findChild<QSlider*>("SliderCTTime")->setValue(40);
    d.findChild<UpDownField*>("TextCTBase")->UpButton()->click();
    Press(d, "CancelButton");
  };
  QTest::mouseDClick(Edit("TextPAspPar2_0"), Qt::LeftButton);
  EXPECT_EQ(Step(0, 0, 0).Par2, 7);
  EXPECT_EQ(Step(0, 0, 0).Par3, 0);
  EXPECT_EQ(Text("LabelPAspTime_0"), "00:00.14");
}

// Escape and the title bar's close button leave a calculator as "Cancel" does: whatever was
// changed in it never reaches the step.
struct LeaveCase {
  const char* name;
  const char* instruction;
  StepRecord step;
  const char* box;  // double-clicked to open the calculator
  std::function<void(QDialog&)> change;
  bool escape;  // else the window is closed
};

class LeaveCalculatorTest : public DeviceTabTest, public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(LeaveCalculatorTest, LeavingWithoutOkKeepsTheStep) {
  const LeaveCase& c = GetParam();
  SetLayout(1);
  ChooseInstruction(0, c.instruction);
  const StepRecord before{Step(0, 0, 0).Instruction, c.step.Fade, c.step.Par0, c.step.Par1, c.step.Par2, c.step.Par3};
  Step(0, 0, 0) = before;
  Refresh();
  driveDialog = [&c](QDialog& d) {
    d.show();
    c.change(d);
    if (c.escape) {
      QTest::keyClick(&d, Qt::Key_Escape);
    } else {
      d.close();
    }
    EXPECT_FALSE(d.isVisible());
  };
  QTest::mouseDClick(Find(c.box), Qt::LeftButton);
  EXPECT_EQ(dialogsRun, 1);
  EXPECT_EQ(Step(0, 0, 0), before) << c.name;
}

const auto kPatternTo39 = [](QDialog& d) {
  for (const char* box : {"chkUitgang_1", "chkUitgang_2", "chkAllDark"}) d.findChild<QAbstractButton*>(box)->click();
};
const auto kEventMapTo107 = [](QDialog& d) { d.findChild<QAbstractButton*>("chkEvent_0")->click(); };
const auto kTimeTo40 = [](QDialog& d) {
  d.findChild<QSlider*>("SliderCTTime")->setValue(40);
  d.findChild<UpDownField*>("TextCTBase")->UpButton()->click();
};

INSTANTIATE_TEST_SUITE_P(
    Calculators, LeaveCalculatorTest,
    ::testing::Values(LeaveCase{"PatternEscape", "Multibit 3", {0, 0, 0, 5, 0, 0}, "TextPAspPar1_0", kPatternTo39, true},
                      LeaveCase{"PatternClose", "Multibit 3", {0, 0, 0, 5, 0, 0}, "TextPAspPar1_0", kPatternTo39, false},
                      LeaveCase{"EventMapEscape", "Event Input", {0, 0, 0, 106, 0, 0}, "TextPAspPar1_0", kEventMapTo107,
                                true},
                      LeaveCase{"EventMapClose", "Event Input", {0, 0, 0, 106, 0, 0}, "TextPAspPar1_0", kEventMapTo107,
                                false},
                      LeaveCase{"TimeEscape", "Wait", {0, 0, 0, 0, 7, 0}, "LabelPAspTime_0", kTimeTo40, true},
                      LeaveCase{"TimeClose", "Wait", {0, 0, 0, 0, 7, 0}, "LabelPAspTime_0", kTimeTo40, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceTabTest, BoxWithoutHelpToolSaysSo) {
  SetLayout(1);
  ChooseInstruction(0, "On");
  QTest::mouseDClick(Edit("TextPAspPar1_0"), Qt::LeftButton);
  QTest::mouseDClick(Find("LabelPAspTime_0"), Qt::LeftButton);
  EXPECT_EQ(dialogsRun, 0);
  ASSERT_EQ(prompt.Messages.size(), 2u);
  EXPECT_EQ(prompt.Messages[0], kHelpToolNotAvailable);
}

}  // namespace
}  // namespace brixo
