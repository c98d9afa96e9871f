#include <QCheckBox>
#include <QLabel>
#include <QRegularExpression>
#include <QPushButton>

#include "test_tab_fixture.h"
#include "ui/test_tab.h"

namespace brixo {
namespace {

using Frame = std::array<int, 4>;

class TestTabCommandsTest : public SimulatedAppTest {
 protected:
  TestTabCommandsTest() { tab.Bind(app); }

  void Click(const QString& name) {
    auto* button = tab.findChild<QPushButton*>(name);
    ASSERT_NE(button, nullptr) << name.toStdString();
    button->click();
  }
  UpDownField* Field(const QString& name) { return tab.findChild<UpDownField*>(name); }

  TestTab tab;
};

TEST_F(TestTabCommandsTest, SetAspectButtonsSendThroughTheTypedAddress) {
  OpenSimulator();
  Type(Field("TextBrixoSendAspectOutput"), "5");
  struct Case {
    const char* button;
    std::vector<std::vector<int>> payloads;
  };
  std::vector<std::vector<int>> eight0, eight1;
  for (int a = 0; a < 8; ++a) {
    eight0.push_back({0, 1, a, 0});
    eight1.push_back({0, 1, a, 1});
  }
  const Case cases[] = {
      {"CommandBrixoSetAspect_0", {{0, 1, 5, 0}}},
      {"CommandBrixoSetAspect_3", {{0, 1, 5, 3}}},
      {"CommandBrixoSetAspect_5", eight0},
      {"CommandBrixoSetAspect_6", eight1},
  };
  for (const Case& c : cases) {
    Sim().ClearReceived();
    Click(c.button);
    EXPECT_EQ(Payloads(), c.payloads) << c.button;
  }
}

TEST_F(TestTabCommandsTest, ToggleAlternatesStartingWithZero) {
  OpenSimulator();
  Type(Field("TextBrixoSendAspectOutput"), "9");
  for (int i = 0; i < 3; ++i) Click("CommandBrixoSetAspect_4");
  EXPECT_EQ(Payloads(), (std::vector<std::vector<int>>{{0, 1, 9, 0}, {0, 1, 9, 1}, {0, 1, 9, 0}}));
}

TEST_F(TestTabCommandsTest, LegacyFieldsNeverSendMoreThanAByte) {
  OpenSimulator();
  struct Case {
    const char* typed;
    const char* shown;
  };
  // A text that is no number gives the field back its value.
  const Case cases[] = {{"200", "127"}, {"-3", "0"}, {"7.6", "8"}, {"x", "8"}, {"", "8"}};
  for (const Case& c : cases) {
    Type(Field("TextTamloParameter_1"), c.typed);
    EXPECT_EQ(Field("TextTamloParameter_1")->Text(), c.shown) << c.typed;
  }
  // Uncommitted text is committed by the buttons themselves before anything goes out.
  Field("TextTamloParameter_0")->Edit()->setText("5");
  Field("TextTamloParameter_1")->Edit()->setText("300");
  Field("TextTamloParameter_2")->Edit()->setText("12");
  Click("CommandSendTamlo");
  EXPECT_EQ(Field("TextTamloParameter_1")->Text(), "127");
  Field("TextBrixoSendAspectOutput")->Edit()->setText("999");
  Click("CommandBrixoSetAspect_1");
  EXPECT_EQ(Field("TextBrixoSendAspectOutput")->Text(), "127");

  EXPECT_EQ(Sim().LegacyFrames(), (std::vector<Frame>{{3, 5, 127, 12}}));
  EXPECT_EQ(Payloads(), (std::vector<std::vector<int>>{{0, 1, 127, 1}}));
  EXPECT_TRUE(prompt.Messages.empty()) << prompt.Messages.front();
}

TEST_F(TestTabCommandsTest, LegacyButtonsReachTheirModules) {
  OpenSimulator();
  app.Link().ModuleAddress = 2;
  Sim().SetModuleAddress(2);
  auto allOutputs = [](int addressByte, int b1, int b3) {
    std::vector<Frame> frames;
    for (int i = 0; i < 32; ++i) frames.push_back({addressByte, b1, i, b3});
    return frames;
  };
  struct Case {
    const char* button;
    std::vector<Frame> frames;
  };
  const Case cases[] = {
      {"Command_Clr_0", allOutputs(11, 8, 0)},   {"Command_Clr_1", allOutputs(3, 8, 0)},
      {"Command_LT_0", allOutputs(11, 10, 30)},  {"Command_LT_1", allOutputs(3, 10, 30)},
      {"Command_LT_2", allOutputs(63, 10, 30)},  {"CommandReset_0", {{11, 2, 0, 0}}},
      {"CommandReset_1", {{63, 2, 0, 0}}},
  };
  for (const Case& c : cases) {
    Sim().ClearReceived();
    Click(c.button);
    EXPECT_EQ(app.Simulator()->LegacyFrames(), c.frames) << c.button;
  }
}

TEST_F(TestTabCommandsTest, ClosedPortIsReportedOnceForThirtyTwoMessages) {
  for (const char* button : {"Command_Clr_0", "Command_LT_2"}) {
    prompt.Messages.clear();
    Click(button);
    EXPECT_EQ(prompt.Messages, (std::vector<std::string>{"Select communications port"})) << button;
  }
}

TEST_F(TestTabCommandsTest, MatrixButtonSendsItsAspectToEveryCheckedAddressInOrder) {
  OpenSimulator();
  for (int i : {7, 1, 3}) tab.findChild<QCheckBox*>(QString("ChkMatrix_%1").arg(i))->setChecked(true);
  Click("CmdSetMatrix_11");
  EXPECT_EQ(Payloads(), (std::vector<std::vector<int>>{{0, 1, 1, 11}, {0, 1, 3, 11}, {0, 1, 7, 11}}));
  Sim().ClearReceived();
  for (int i : {7, 1, 3}) tab.findChild<QCheckBox*>(QString("ChkMatrix_%1").arg(i))->setChecked(false);
  Click("CmdSetMatrix_31");
  EXPECT_TRUE(Payloads().empty());
  EXPECT_EQ(tab.findChildren<QLabel*>(QRegularExpression("^LblMatrix_")).size(), 20);
}

}  // namespace
}  // namespace brixo
