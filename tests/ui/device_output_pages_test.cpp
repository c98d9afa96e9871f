#include <QFocusEvent>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>

#include "device_tab_fixture.h"
#include "model/output_config.h"

namespace brixo {
namespace {

class OutputPagesTest : public DeviceTabTest {
 protected:
  OutputPagesTest() { ShowDetails(); }

  void ClickPage(int page) { Find<QTabWidget>("SSTabPCFG")->setCurrentIndex(page); }
  static void GiveFocus(QWidget* widget, bool in) {
    QFocusEvent event(in ? QEvent::FocusIn : QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(widget, &event);
  }
};

struct PageCase {
  const char* name;
  int typeBefore;
  int page;
  int typeAfter;
  int byte3;  // shows whether the defaults were installed
};

class OutputPageClickTest : public OutputPagesTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(OutputPageClickTest, OnlyAnotherKindInstallsDefaults) {
  const PageCase& c = GetParam();
  Pin(0).OutputConfig = {};
  Pin(0).OutputConfig[0] = static_cast<uint8_t>(c.typeBefore);
  Pin(0).OutputConfig[3] = 99;
  app.View().ShowOutputConfig();
  tab.ShowOutputConfig();
  ClickPage(c.page);
  EXPECT_EQ(Pin(0).OutputConfig[0], c.typeAfter);
  EXPECT_EQ(Pin(0).OutputConfig[3], c.byte3);
  EXPECT_EQ(Find<QTabWidget>("SSTabPCFG")->currentIndex(), c.page);
}

INSTANTIATE_TEST_SUITE_P(Pages, OutputPageClickTest,
                         ::testing::Values(PageCase{"PwmOnInvertedPwmKeeps", 3, kPagePwm, 3, 99},
                                           PageCase{"PwmOnServoInstallsPwm", 1, kPagePwm, 2, 28},
                                           PageCase{"ServoOnInputInstallsServo", 5, kPageServo, 1, 64},
                                           PageCase{"InputOnPwm", 2, kPageInput, 5, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OutputPagesTest, FieldsClampIntoTheirRange) {
  ClickPage(kPageServo);
  const struct {
    const char* field;
    const char* typed;
    const char* shown;
    int byte;
    int stored;
  } cases[] = {{"TextSrvMaxSpd", "200", "127", 6, 127}, {"TextSrvMaxSpd", "0", "1", 6, 1},
               {"TextBounceUp", "5", "0", 10, 64},      {"TextBounceUp", "-70", "-63", 10, 1},
               {"TextMidpoint", "-10", "-10", 3, 54}};
  for (const auto& c : cases) {
    Type(c.field, c.typed);
    EXPECT_EQ(Text(c.field), c.shown) << c.field << " " << c.typed;
    EXPECT_EQ(Pin(0).OutputConfig[c.byte], c.stored) << c.field << " " << c.typed;
  }
}

TEST_F(OutputPagesTest, RangeAndFlagsRewriteTheFlagByte) {
  ClickPage(kPageServo);
  Click("OptionServoRange_3");
  Click("ChkSrvSuspended");
  EXPECT_EQ(Pin(0).OutputConfig[2], 3 + 8 + 32);
  EXPECT_FALSE(Find("ChkSrvInitialized")->isEnabled());
}

TEST_F(OutputPagesTest, ServoSliderSendsOnlyWithFocus) {
  OpenSimulator();
  ClickPage(kPageServo);
  auto* slider = Find<QSlider>("SliderServo");
  slider->setValue(10);
  EXPECT_TRUE(Sim().ReceivedPayloads().empty());
  EXPECT_EQ(Pin(0).OutputLevel, 74);

  GiveFocus(slider, true);
  QTest::keyClick(slider, Qt::Key_Right);
  ASSERT_EQ(Sim().ReceivedPayloads().size(), 1u);
  EXPECT_EQ(Sim().ReceivedPayloads()[0], (std::vector<int>{0, 39, 0, 75}));
  EXPECT_EQ(Text("TextPosition"), "11");

  // The program showing another level sends nothing, even while the slider has the focus.
  Pin(0).OutputLevel = 30;
  app.View().ShowOutputConfig();
  tab.ShowOutputConfig();
  EXPECT_EQ(slider->value(), -34);
  EXPECT_EQ(Sim().ReceivedPayloads().size(), 1u);

  GiveFocus(slider, false);
  Find<QLineEdit>("TextPosition")->setText("-70");
  Click("CommandSrvLevel");
  EXPECT_EQ(Text("TextPosition"), "-64");
  EXPECT_EQ(slider->value(), -64);
  ASSERT_EQ(Sim().ReceivedPayloads().size(), 2u);
  EXPECT_EQ(Sim().ReceivedPayloads()[1], (std::vector<int>{0, 39, 0, 0}));
}

TEST_F(OutputPagesTest, PwmLevelButtonClampsAndSendsOnce) {
  OpenSimulator();
  ClickPage(kPagePwm);
  Click("CheckPWMSlow");
  Find<QLineEdit>("TextPWMLevel")->setText("40");
  Click("CommandPWMLevel");
  EXPECT_EQ(Text("TextPWMLevel"), "31");
  EXPECT_EQ(Find<QSlider>("SliderPWM")->value(), 31);
  ASSERT_EQ(Sim().ReceivedPayloads().size(), 1u);
  EXPECT_EQ(Sim().ReceivedPayloads()[0], (std::vector<int>{0, 54, 0, 31}));
  Click("CommandPWMJump");
  EXPECT_EQ(Sim().ReceivedPayloads().back(), (std::vector<int>{0, 38, 0, 31}));

  // A double-click on "Initial Level" takes the test level.
  QTest::mouseDClick(Edit("TextPWMInitLevel"), Qt::LeftButton);
  EXPECT_EQ(Pin(0).OutputConfig[1], 31);
}

TEST_F(OutputPagesTest, SetPinConfigCommitsTypedValuesFirst) {
  OpenSimulator();
  ClickPage(kPageServo);
  Edit("TextSrvMaxAccel")->setText("300");
  emit Edit("TextSrvMaxAccel")->textEdited("300");
  Click("CommandPCFGSetParam_0");
  EXPECT_EQ(Text("TextSrvMaxAccel"), "127");
  ASSERT_EQ(Sim().ReceivedPayloads().size(), 1u);
  const std::vector<int>& sent = Sim().ReceivedPayloads()[0];
  ASSERT_EQ(sent.size(), 14u);
  EXPECT_EQ(sent[0], 65);
  EXPECT_EQ(sent[2], 1);
  EXPECT_EQ(sent[8], 127);
}

}  // namespace
}  // namespace brixo
