#include "ui/press_rules.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "app/live_commands.h"

namespace brixo {
namespace {

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kControl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier;

template <typename Result>
struct PressCase {
  Qt::MouseButton button;
  Qt::KeyboardModifiers modifiers;
  std::optional<Result> expected;
};

template <typename Result, typename Rule>
void ExpectAnswers(Rule rule, std::initializer_list<PressCase<Result>> cases) {
  for (const PressCase<Result>& c : cases) {
    EXPECT_EQ(rule(c.button, c.modifiers), c.expected)
        << "button " << c.button << ", modifiers 0x" << std::hex << c.modifiers.toInt();
  }
}

TEST(PressRulesTest, OnlyPlainAndShiftLeftClicksSave) {
  ExpectAnswers<SaveMode>(SaveModeFor, {
                                           {Qt::LeftButton, kNone, SaveMode::Normal},
                                           {Qt::LeftButton, kShift, SaveMode::Compact},
                                           {Qt::LeftButton, kShift | Qt::KeypadModifier, SaveMode::Compact},
                                           {Qt::LeftButton, kControl, std::nullopt},
                                           {Qt::LeftButton, kAlt, std::nullopt},
                                           {Qt::LeftButton, kShift | kControl, std::nullopt},
                                           {Qt::RightButton, kNone, std::nullopt},
                                           {Qt::MiddleButton, kShift, std::nullopt},
                                       });
}

TEST(PressRulesTest, TestButtonMapsHeldKeysToBitsForLeftPressesOnly) {
  ExpectAnswers<int>(TestKeysFor, {
                                      {Qt::LeftButton, kNone, 0},
                                      {Qt::LeftButton, kShift, kShiftKey},
                                      {Qt::LeftButton, kShift | kControl, kShiftKey | kControlKey},
                                      {Qt::LeftButton, kAlt | kShift, kAltKey | kShiftKey},
                                      {Qt::LeftButton, kShift | kControl | kAlt | Qt::MetaModifier,
                                       kShiftKey | kControlKey | kAltKey},
                                      {Qt::RightButton, kNone, std::nullopt},
                                      {Qt::MiddleButton, kAlt, std::nullopt},
                                  });
}

TEST(PressRulesTest, ReloadAppendsWithShiftAndIgnoresOtherButtons) {
  ExpectAnswers<bool>(ReloadAppendsFor, {
                                            {Qt::LeftButton, kNone, false},
                                            {Qt::LeftButton, kControl, false},
                                            {Qt::LeftButton, kShift, true},
                                            {Qt::LeftButton, kShift | kAlt, true},
                                            {Qt::RightButton, kShift, std::nullopt},
                                        });
}

}  // namespace
}  // namespace brixo
