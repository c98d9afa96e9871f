#include "ui/modifier_button.h"

#include <gtest/gtest.h>

#include <QTest>
#include <vector>

namespace brixo {
namespace {

struct Report {
  bool click;  // clickedWith rather than pressedWith
  Qt::MouseButton button;
  Qt::KeyboardModifiers modifiers;
  bool operator==(const Report&) const = default;
};

class ModifierButtonTest : public ::testing::Test {
 protected:
  ModifierButtonTest() {
    QObject::connect(&button, &ModifierButton::pressedWith, [this](Qt::MouseButton b, Qt::KeyboardModifiers m) {
      reports.push_back({false, b, m});
    });
    QObject::connect(&button, &ModifierButton::clickedWith, [this](Qt::MouseButton b, Qt::KeyboardModifiers m) {
      reports.push_back({true, b, m});
    });
  }
  ModifierButton button{"Save File"};
  std::vector<Report> reports;
};

TEST_F(ModifierButtonTest, ClickCarriesWhatThePressSaw) {
  // Shift let go before the release still makes a Shift click.
  QTest::mousePress(&button, Qt::LeftButton, Qt::ShiftModifier | Qt::KeypadModifier);
  QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier);
  EXPECT_EQ(reports, (std::vector<Report>{{false, Qt::LeftButton, Qt::ShiftModifier},
                                          {true, Qt::LeftButton, Qt::ShiftModifier}}));
}

TEST_F(ModifierButtonTest, OtherButtonsReportThePressButNeverClick) {
  QTest::mousePress(&button, Qt::RightButton, Qt::ControlModifier);
  QTest::mouseRelease(&button, Qt::RightButton, Qt::ControlModifier);
  // A click from code after that press carries nothing stale.
  button.click();
  EXPECT_EQ(reports, (std::vector<Report>{{false, Qt::RightButton, Qt::ControlModifier}}));
}

TEST_F(ModifierButtonTest, SpaceIsALeftPressWithTheKeysHeld) {
  button.setFocus();
  QTest::keyPress(&button, Qt::Key_Space, Qt::AltModifier);
  QTest::keyRelease(&button, Qt::Key_Space, Qt::AltModifier);
  EXPECT_EQ(reports, (std::vector<Report>{{false, Qt::LeftButton, Qt::AltModifier},
                                          {true, Qt::LeftButton, Qt::AltModifier}}));
}

}  // namespace
}  // namespace brixo
