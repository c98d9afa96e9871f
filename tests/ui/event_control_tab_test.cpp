#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionButton>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QToolButton>

#include "test_tab_fixture.h"
#include "transfer/event_control.h"
#include "ui/event_control_tab.h"
#include "ui/event_test_screenshots.h"

namespace brixo {
namespace {

// Forwards what the main window's observer would forward to the tab.
class TabObserver : public AppObserver {
 public:
  explicit TabObserver(EventControlTab& tab) : tab_(tab) {}
  void ShowEventPin() override { tab_.ShowEventPin(); }
  void ShowNumbering() override { tab_.ShowNumbering(); }
  void ShowExpertMode() override { tab_.ShowExpertMode(); }

 private:
  EventControlTab& tab_;
};

class EventControlTabTest : public SimulatedAppTest {
 protected:
  EventControlTabTest() : observer(tab) {
    app.SetObserver(&observer);
    tab.Bind(app);
  }
  // A shown tab gives up its focus while still whole: hidden by its own destructor, the
  // focused box's last commit would reach a tab already half gone.
  ~EventControlTabTest() override { tab.hide(); }

  UpDownField* Field(const char* name, int i = -1) {
    const QString full = i < 0 ? QString(name) : QString("%1_%2").arg(name).arg(i);
    return tab.findChild<UpDownField*>(full);
  }
  QPushButton* ButtonNamed(const char* name) { return tab.findChild<QPushButton*>(name); }
  void Click(const char* name) {
    QPushButton* button = ButtonNamed(name);
    ASSERT_NE(button, nullptr) << name;
    button->click();
  }
  QCheckBox* Box(int k) { return tab.findChild<QCheckBox*>(QString("CheckInitEE_%1").arg(k)); }
  static bool Grey(UpDownField* field) {
    return field->Edit()->palette().color(QPalette::Base) == QColor(224, 224, 224);
  }
  void SetActions(int pin, std::array<int16_t, 4> on, std::array<int16_t, 4> off) {
    app.Events().OnAction[pin] = on;
    app.Events().OffAction[pin] = off;
  }
  void ShowPin(int shownNumber) { Type(Field("TextECpin"), QString::number(shownNumber)); }

  EventControlTab tab;
  TabObserver observer;
};

TEST_F(EventControlTabTest, ActionFieldsClampShadeAndStoreForTheShownPin) {
  struct Case {
    const char* typed;
    const char* shown;
    int16_t stored;
    bool grey;
  };
  const Case cases[] = {{"15", "11", 11, false}, {"-5", "-1", -1, true}, {"3.6", "4", 4, false},
                        {"0", "0", 0, false},    {"-1", "-1", -1, true}};
  ShowPin(6);  // internal pin 5 with numbering from 1
  for (const Case& c : cases) {
    for (int i = 0; i < 4; ++i) {
      Type(Field("TextECon", i), c.typed);
      Type(Field("TextECoff", i), c.typed);
      EXPECT_EQ(Field("TextECon", i)->Text(), c.shown) << c.typed;
      EXPECT_EQ(Grey(Field("TextECon", i)), c.grey) << c.typed;
      EXPECT_EQ(Grey(Field("TextECoff", i)), c.grey) << c.typed;
      EXPECT_EQ(app.Events().OnAction[5][i], c.stored) << c.typed;
      EXPECT_EQ(app.Events().OffAction[5][i], c.stored) << c.typed;
    }
  }
  EXPECT_EQ(app.Events().OnAction[4][0], -1) << "another pin must stay untouched";
}

TEST_F(EventControlTabTest, SpinnersStepWithinRangeAndUpdateTheShading) {
  Type(Field("TextECon", 2), "0");
  Field("TextECon", 2)->DownButton()->click();
  EXPECT_EQ(Field("TextECon", 2)->Text(), "-1");
  EXPECT_TRUE(Grey(Field("TextECon", 2)));
  Field("TextECon", 2)->DownButton()->click();
  EXPECT_EQ(Field("TextECon", 2)->Text(), "-1");
  Field("TextECon", 2)->UpButton()->click();
  EXPECT_FALSE(Grey(Field("TextECon", 2)));
  EXPECT_EQ(app.Events().OnAction[0][2], 0);
}

TEST_F(EventControlTabTest, PinFieldClampsAndShowsThatPinsActions) {
  SetActions(31, {1, 2, 3, 4}, {5, 6, -1, 7});
  SetActions(0, {9, 9, 9, 9}, {8, 8, 8, 8});
  struct Case {
    const char* typed;
    const char* shown;
    int pin;
  };
  for (const Case& c : {Case{"40", "32", 31}, Case{"-3", "1", 0}, Case{"32", "32", 31}}) {
    Type(Field("TextECpin"), c.typed);
    EXPECT_EQ(Field("TextECpin")->Text(), c.shown);
    EXPECT_EQ(app.Events().CurrentEventPin, c.pin);
    EXPECT_EQ(Field("TextECon", 0)->Text(), QString::number(app.Events().OnAction[c.pin][0]));
    EXPECT_EQ(Field("TextECoff", 3)->Text(), QString::number(app.Events().OffAction[c.pin][3]));
  }
  EXPECT_TRUE(Grey(Field("TextECoff", 2)));
  Field("TextECpin")->DownButton()->click();
  EXPECT_EQ(Field("TextECpin")->Text(), "31");
  EXPECT_EQ(Field("TextECon", 0)->Text(), "-1");

  app.SetStartNumberingAtOne(false);
  EXPECT_EQ(Field("TextECpin")->Text(), "30");
  EXPECT_EQ(app.Events().CurrentEventPin, 30);
}

TEST_F(EventControlTabTest, CopyToAllTakesTheShownFields) {
  ShowPin(3);
  const char* on[] = {"1", "-1", "11", "0"};
  const char* off[] = {"2", "3", "-1", "10"};
  for (int i = 0; i < 4; ++i) {
    Type(Field("TextECon", i), on[i]);
    Type(Field("TextECoff", i), off[i]);
  }
  Click("CommandECcopy");
  for (int p = 0; p < kPinCount; ++p) {
    EXPECT_EQ(app.Events().OnAction[p], (std::array<int16_t, 4>{1, -1, 11, 0})) << p;
    EXPECT_EQ(app.Events().OffAction[p], (std::array<int16_t, 4>{2, 3, -1, 10})) << p;
  }
}

TEST_F(EventControlTabTest, SingleWriteThenReadRoundTripsTheShownPin) {
  OpenSimulator();
  SetActions(5, {3, -1, 0, 11}, {-1, 4, 5, -1});
  ShowPin(6);
  Click("CommandECWriteSingle");
  const auto sent = Payloads();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0], (std::vector<int>{100, 5, 3, 31, 32, 59}));
  EXPECT_EQ(sent[1], (std::vector<int>{101, 5, 15, 20, 37, 63}));

  SetActions(5, {0, 0, 0, 0}, {0, 0, 0, 0});
  ShowPin(6);
  Click("CommandECReadSingle");
  EXPECT_EQ(app.Events().OnAction[5], (std::array<int16_t, 4>{3, -1, 0, 11}));
  EXPECT_EQ(app.Events().OffAction[5], (std::array<int16_t, 4>{-1, 4, 5, -1}));
  EXPECT_EQ(Field("TextECon", 3)->Text(), "11");
  EXPECT_TRUE(Grey(Field("TextECon", 1)));
  EXPECT_TRUE(Grey(Field("TextECoff", 3)));
}

TEST_F(EventControlTabTest, SingleReadOfAControllerWithoutEventsSaysSo) {
  OpenSimulator();
  Sim().Faults().NoEventControl = true;
  SetActions(0, {1, 1, 1, 1}, {2, 2, 2, 2});
  Click("CommandECReadSingle");
  EXPECT_EQ(MessageCount("Function not supported by Device"), 1);
  EXPECT_EQ(app.Events().OnAction[0], (std::array<int16_t, 4>{1, 1, 1, 1}));
}

TEST_F(EventControlTabTest, BatchButtonsPostAndTheTickRunsThem) {
  OpenSimulator();
  for (int p = 0; p < kPinCount; ++p) SetActions(p, {int16_t(p % 12), -1, 2, 3}, {4, int16_t(p % 5), -1, 0});
  Click("CommandECWrite");
  EXPECT_EQ(app.Commands().PendingCommand(), "ECWriteAll");
  EXPECT_TRUE(Payloads().empty()) << "nothing runs before the tick";
  app.Commands().Tick();
  EXPECT_EQ(Payloads().size(), 64u);
  Click("CommandECInitWrite");

  // The verify button belongs to expert mode.
  EXPECT_TRUE(ButtonNamed("CommandECVerify")->isHidden());
  app.SetExpertMode(true);
  EXPECT_FALSE(ButtonNamed("CommandECVerify")->isHidden());

  Click("CommandECVerify");
  app.Commands().Tick();
  EXPECT_NE(app.Report().Text.find("Verify OK"), std::string::npos) << app.Report().Text;

  app.Events().OnAction[0][1] = 7;
  Click("CommandECVerify");
  app.Commands().Tick();
  EXPECT_NE(app.Report().Text.find("Event-On(1) for pin 1 does not compare: Configured Action = 7, Brixo Reply = -1"),
            std::string::npos)
      << app.Report().Text;
  EXPECT_EQ(app.Report().Text.find("Verify OK"), std::string::npos);

  // Reading everything back brings the controller's table, and the fields follow.
  ShowPin(1);
  Click("CommandECRead");
  app.Commands().Tick();
  EXPECT_EQ(app.Events().OnAction[0][1], -1);
  EXPECT_EQ(Field("TextECon", 1)->Text(), "-1");
  EXPECT_TRUE(Grey(Field("TextECon", 1)));
}

TEST_F(EventControlTabTest, EnableMapBoxesTravelAsMasks) {
  OpenSimulator();
  const bool wanted[8] = {true, false, true, false, false, true, true, true};
  for (int k = 0; k < 8; ++k) {
    Box(k)->setChecked(!wanted[k]);
    Box(k)->click();
    EXPECT_EQ(app.Events().CheckInitEE[k], wanted[k]) << k;
  }
  Click("CommandECInitWrite");
  ASSERT_FALSE(Payloads().empty());
  EXPECT_EQ(Payloads().back(), (std::vector<int>{96, 11, 10, 1}));

  for (int k = 0; k < 8; ++k) Box(k)->setChecked(false);
  Click("CommandECInitRead");
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(Box(k)->isChecked(), wanted[k]) << k;
    EXPECT_EQ(app.Events().CheckInitEE[k], wanted[k]) << k;
  }
}

// Each "Input" heading stands over the ticks of its own column, in both rows.
TEST_F(EventControlTabTest, EnableMapHeadingsStandOverTheirTicks) {
  tab.resize(1000, 700);
  tab.show();
  QApplication::processEvents();
  const auto centre = [this](QWidget* w) { return w->mapTo(&tab, w->rect().center()).x(); };
  for (int input = 0; input < kEventInputCount; ++input) {
    auto* heading = tab.findChild<QLabel*>(QString("LabelECInitInput_%1").arg(input));
    ASSERT_NE(heading, nullptr);
    for (int k : {input, input + kEventInputCount}) {
      QStyleOptionButton option;
      option.initFrom(Box(k));
      const QRect tick = Box(k)->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, Box(k));
      const int tickCentre = Box(k)->mapTo(&tab, tick.center()).x();
      EXPECT_LE(std::abs(tickCentre - centre(heading)), 4) << "input " << input << ", box " << k;
    }
  }
}

TEST_F(EventControlTabTest, BothTabsRenderToPictures) {
  const QString dir = QDir::temp().filePath("brixo_event_test_tabs");
  QDir(dir).removeRecursively();
  ASSERT_TRUE(RenderEventAndTestTabs(app, dir));
  for (const char* file : {"event_control_tab.png", "test_tab.png"}) {
    QImage image(QDir(dir).filePath(file));
    EXPECT_GE(image.width(), 600) << file;
  }
}

}  // namespace
}  // namespace brixo
