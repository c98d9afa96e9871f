#include <QPushButton>

#include "app/live_commands.h"
#include "device_tab_fixture.h"

namespace brixo {
namespace {

bool Shown(QWidget* widget) { return widget && widget->isVisibleTo(widget->window()); }

using PinEditorTest = DeviceTabTest;

TEST_F(PinEditorTest, ChoosingAnInstructionClearsUnusedBoxesAndFollowsFade) {
  SetLayout(1);
  // "On" with leftovers in Par2 and Par3, as a damaged file could bring them.
  Step(0, 0, 0) = StepRecord{9, 1, 0, 5, 40, 2};

  ChooseInstruction(0, "Off");
  EXPECT_EQ(Step(0, 0, 0).Instruction, 8);
  EXPECT_EQ(Step(0, 0, 0).Par2, 0);
  EXPECT_EQ(Step(0, 0, 0).Fade, 1);
  EXPECT_FALSE(Edit("TextPAspPar2_0")->isEnabled());
  EXPECT_EQ(Text("TextPAspPar2_0"), "0");
  EXPECT_TRUE(Shown(Find("CheckPAspFade_0")));
  EXPECT_EQ(Text("LabelPAspHFade"), "Fade");

  ChooseInstruction(0, "Wait");
  EXPECT_EQ(Step(0, 0, 0).Fade, 0);
  EXPECT_FALSE(Shown(Find("CheckPAspFade_0")));
  EXPECT_FALSE(Edit("TextPAspOffset_0")->isEnabled());
  EXPECT_TRUE(Edit("TextPAspPar2_0")->isEnabled());
  EXPECT_EQ(Text("LabelPAspHFade"), "");
  EXPECT_EQ(Text("LabelPASpHParam2"), "Time");
  EXPECT_EQ(Text("LabelPAspHParam3"), "Base");
}

struct TypedCase {
  const char* instruction;
  int pinShown;  // with "Start numbering at 1"
  const char* box;
  const char* typed;
  const char* shown;
  int stored;  // the byte behind the box
};

class PinEditorTypingTest : public DeviceTabTest, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(PinEditorTypingTest, OutOfRangeShowsTheBound) {
  const TypedCase& c = GetParam();
  Type("TextPAspOutput", QString::number(c.pinShown));
  SetLayout(1);
  ChooseInstruction(0, c.instruction);
  Type(QString("%1_0").arg(c.box), c.typed);
  EXPECT_EQ(Text(QString("%1_0").arg(c.box)), c.shown);
  const StepRecord& s = Step(c.pinShown - 1, 0, 0);
  const std::string box = c.box;
  const int stored = box == "TextPAspOffset" ? s.Par0 : box == "TextPAspPar1" ? s.Par1 : box == "TextPAspPar2" ? s.Par2 : s.Par3;
  EXPECT_EQ(stored, c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, PinEditorTypingTest,
    ::testing::Values(TypedCase{"Set Servo", 1, "TextPAspPar1", "70", "63", 127},
                      TypedCase{"Set Servo", 1, "TextPAspPar1", "-100", "-64", 0},
                      TypedCase{"On", 4, "TextPAspOffset", "-4", "-3", 29},
                      TypedCase{"On", 4, "TextPAspOffset", "-3", "-3", 29},
                      TypedCase{"SetLevel & Wait", 1, "TextPAspOffset", "-1", "-1", 127},
                      TypedCase{"Wait", 1, "TextPAspPar2", "99", "63", 63},
                      TypedCase{"Wait", 1, "TextPAspPar3", "7", "3", 3},
                      TypedCase{"Clone", 1, "TextPAspPar1", "1", "1", 0}));

TEST_F(PinEditorTest, DurationFollowsTimeAndBase) {
  SetLayout(1);
  ChooseInstruction(0, "Wait");
  Type("TextPAspPar2_0", "50");
  Type("TextPAspPar3_0", "1");
  EXPECT_EQ(Text("LabelPAspTime_0"), "00:08.00");
  EXPECT_EQ(Find("LabelPAspTime_0")->toolTip(), "Double-click for help-tool");
  ChooseInstruction(0, "On");
  EXPECT_EQ(Text("LabelPAspTime_0"), "00:00.00");
}

TEST_F(PinEditorTest, LayoutSwitchesRowsAndClampsAspectBoxes) {
  SetLayout(2);
  EXPECT_TRUE(Shown(Find("ComboPAspInst_2")));
  EXPECT_FALSE(Shown(Find("ComboPAspInst_3")));
  Type("TextPAspAspect", "7");
  Type("TextPAspInit", "5");
  EXPECT_EQ(app.Model().CurrentAspect, 7);
  EXPECT_EQ(Pin(0).InitAspect, 6);

  SetLayout(1);
  EXPECT_EQ(Text("TextPAspAspect"), "3");
  EXPECT_EQ(Text("TextPAspInit"), "-1");
  EXPECT_TRUE(Shown(Find("ComboPAspInst_8")));
  EXPECT_EQ(Pin(0).AspectConfig, 3);

  SetLayout(0);
  EXPECT_FALSE(Shown(Find("CommandPAspTestAspect")));
  EXPECT_FALSE(Shown(Find("ComboPAspInst_0")));
  EXPECT_EQ(Pin(0).AspectConfig, 0);
}

TEST_F(PinEditorTest, DetailsAndExpertModeShowTheirControls) {
  SetLayout(1);
  EXPECT_FALSE(Shown(Find("CommandPAspWriteAspect")));
  EXPECT_FALSE(Shown(Find("SSTabPCFG")));
  ShowDetails();
  EXPECT_TRUE(Shown(Find("CommandPAspWriteAspect")));
  EXPECT_TRUE(Shown(Find("SSTabPCFG")));
  EXPECT_TRUE(Shown(Find("CommandPCFGGetParam_0")));
  EXPECT_FALSE(Shown(Find("CommandPCFGGetParam_1")));
  EXPECT_FALSE(Shown(Find("CommandPAspReadPin")));

  app.SetExpertMode(true);
  tab.ShowExpertMode();
  EXPECT_TRUE(Shown(Find("CommandPCFGSetParam_1")));
  EXPECT_TRUE(Shown(Find("CommandPAspWritePin")));
  EXPECT_TRUE(Shown(tab.CommandVerifyAllPins()));
}

TEST_F(PinEditorTest, DeviceMembershipIsShownFromTheHead) {
  Pin(2).DeviceDescription = "Signal";
  Type("TextPAspOutput", "6");  // internal pin 5
  Pin(5).DeviceDescription = "stale name";
  Type("TextDevicePin", "3");
  EXPECT_EQ(Pin(5).DevicePointer, -3);
  EXPECT_TRUE(Pin(5).DeviceDescription.empty());
  EXPECT_EQ(Text("TextDeviceDescription"), "Signal");
  EXPECT_FALSE(Edit("TextDeviceDescription")->isEnabled());

  Pin(2).DevicePointer = 1;  // pin 2 itself joins another device
  Type("TextDevicePin", "3");
  EXPECT_EQ(Text("TextDeviceDescription"), "<Referral is no Device !>");

  Type("TextDevicePin", "6");
  EXPECT_TRUE(Edit("TextDeviceDescription")->isEnabled());
  QTest::keyClicks(Edit("TextDeviceDescription"), "Mine");
  EXPECT_EQ(Pin(5).DeviceDescription, "Mine");
}

TEST_F(PinEditorTest, AddressCountsClampAndShowWhenNotOne) {
  EXPECT_FALSE(Shown(Find("TextPaspDCCn")));
  EXPECT_FALSE(Shown(Find("LabelPASPAdrCnt")));
  ShowDetails();
  Type("TextPaspDCCn", "9");
  EXPECT_EQ(Text("TextPaspDCCn"), "6");
  EXPECT_EQ(Pin(0).DccAddressCount, 6);
  Type("TextPAspXDCCn", "3");
  EXPECT_EQ(Pin(0).XDccAddressCount, 1);
  Type("TextPaspTamlon", "0");
  EXPECT_EQ(Text("lblSerialAddress"), "-");

  Click("CheckPAspShowDetails");
  EXPECT_TRUE(Shown(Find("TextPaspTamlon")));
  EXPECT_TRUE(Shown(Find("TextPaspDCCn")));
  EXPECT_FALSE(Shown(Find("TextPAspXDCCn")));
  EXPECT_TRUE(Shown(Find("LabelPASPAdrCnt")));
  // The next pin's first DCC address moved by the six addresses of pin 1.
  Type("TextPAspOutput", "2");
  EXPECT_EQ(app.Maps().DccStart[1], 6);
}

TEST_F(PinEditorTest, TestButtonSendsByModifiers) {
  OpenSimulator();
  SetLayout(1);
  Type("TextPAspAspect", "2");
  auto* test = Find<QPushButton>("CommandPAspTestAspect");
  QTest::mousePress(test, Qt::LeftButton);
  QTest::mouseRelease(test, Qt::LeftButton);
  ASSERT_EQ(Sim().ReceivedPayloads().size(), 1u);
  EXPECT_EQ(Sim().ReceivedPayloads()[0], (std::vector<int>{0, 0, 0, 2}));

  QTest::mousePress(test, Qt::LeftButton, Qt::AltModifier | Qt::ShiftModifier);
  QTest::mouseRelease(test, Qt::LeftButton, Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_EQ(Sim().ReceivedPayloads().size(), 1u);
  ASSERT_FALSE(prompt.Messages.empty());
  EXPECT_EQ(prompt.Messages.back(), kTestAspectHelp);

  QTest::mousePress(test, Qt::RightButton);
  EXPECT_EQ(Sim().ReceivedPayloads().size(), 1u);
}

TEST_F(PinEditorTest, WriteSingleSendsTheAspectAtOnce) {
  OpenSimulator();
  SetLayout(2);
  ShowDetails();
  Type("TextPAspAspect", "5");
  ChooseInstruction(1, "On");
  Click("CommandPAspWriteAspect");
  const auto& sent = Sim().ReceivedPayloads();
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(std::vector<int>(sent[1].begin(), sent[1].begin() + 5), (std::vector<int>{99, 0, 5, 1, 9}));
  EXPECT_TRUE(app.Commands().PendingCommand().empty());
}

}  // namespace
}  // namespace brixo
