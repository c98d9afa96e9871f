#include "model/help_tools.h"

#include <gtest/gtest.h>

#include "model/duration_format.h"

namespace brixo {
namespace {

class HelpToolsTest : public ::testing::Test {
 protected:
  void ShowStep(const StepRecord& step) {
    model.PinTable[0].AspectConfig = 3;
    model.PinTable[0].Aspects[0].Steps[0] = step;
    editor.ShowPin();
  }
  ConfigModel model;
  PinEditor editor{model};
};

TEST_F(HelpToolsTest, ToolDependsOnBoxAndInstruction) {
  const struct {
    int opcode;
    HelpBox box;
    HelpToolKind kind;
  } cases[] = {
      {13, HelpBox::Par1, HelpToolKind::Pattern},  {33, HelpBox::Par1, HelpToolKind::Pattern},
      {16, HelpBox::Par1, HelpToolKind::EventMap}, {102, HelpBox::Par2, HelpToolKind::Time},
      {112, HelpBox::Par3, HelpToolKind::Time},    {127, HelpBox::Duration, HelpToolKind::Time},
      {102, HelpBox::Par1, HelpToolKind::None},    {13, HelpBox::Par2, HelpToolKind::None},
      {9, HelpBox::Duration, HelpToolKind::None},  {50, HelpBox::Par1, HelpToolKind::None},
  };
  for (const auto& c : cases) {
    ShowStep({static_cast<uint8_t>(c.opcode)});
    const HelpToolRequest r = OpenHelpTool(editor, 0, c.box);
    EXPECT_EQ(r.Kind, c.kind) << c.opcode;
    EXPECT_EQ(r.Message.empty(), c.kind != HelpToolKind::None) << c.opcode;
  }
  EXPECT_EQ(OpenHelpTool(editor, 0, HelpBox::Par1).Message,
            "Help tool not available for this box with the selected command");
}

TEST_F(HelpToolsTest, PatternPresetSharesBitsFiveAndSix) {
  ShowStep({13, 0, 0, 0x7F, 0, 0});  // "Multibit 3"
  PatternPreset p = OpenHelpTool(editor, 0, HelpBox::Par1).Pattern;
  EXPECT_EQ(p.Outputs, (std::array<bool, 7>{true, true, true, false, false, false, false}));
  EXPECT_EQ(p.OutputEnabled, (std::array<bool, 7>{true, true, true, false, false, false, false}));
  EXPECT_TRUE(p.AllDark && p.NoDark && p.DarkEnabled);
  EXPECT_EQ(p.Original, "127");

  ShowStep({33, 0, 0, 0x7F, 0, 0});  // "Multibit 7"
  p = OpenHelpTool(editor, 0, HelpBox::Par1).Pattern;
  EXPECT_EQ(p.Outputs, (std::array<bool, 7>{true, true, true, true, true, true, true}));
  EXPECT_FALSE(p.AllDark || p.NoDark || p.DarkEnabled);
}

TEST_F(HelpToolsTest, EventMapPresetReadsOldAndNewMaps) {
  const struct {
    int value;
    std::array<bool, 4> events;
    int mode;
  } cases[] = {
      {2, {false, false, true, false}, 1},   // old form: input number
      {5, {false, true, false, false}, 5},   // old form: input 1 off-event
      {10, {false, false, false, false}, 1},
      {0x1A + 64, {false, true, false, true}, 5},
      {0x2F, {true, true, true, true}, 2},
      {64 + 48 + 9, {true, false, false, true}, 7},
  };
  for (const auto& c : cases) {
    ShowStep({16, 0, 0, static_cast<uint8_t>(c.value), 0, 0});
    const EventMapPreset p = OpenHelpTool(editor, 0, HelpBox::Par1).EventMap;
    EXPECT_EQ(p.Events, c.events) << c.value;
    EXPECT_EQ(p.Mode, c.mode) << c.value;
  }
}

TEST_F(HelpToolsTest, ResultsAreTakenBackWithoutClamping) {
  ShowStep({39, 0, 0, 0, 0, 0});
  TakePatternResult(editor, 0, "-60");  // bias -64: stored 4
  EXPECT_EQ(editor.Step(0).Par1, 4);
  ShowStep({16, 0, 0, 0, 0, 0});
  TakeEventMapResult(editor, 0, "106");
  EXPECT_EQ(editor.Step(0).Par1, 106);
  ShowStep({102, 0, 0, 0, 0, 0});
  const HelpToolRequest r = OpenHelpTool(editor, 0, HelpBox::Duration);
  TakeTimeResult(editor, 0, 1, 50);
  EXPECT_EQ(editor.Step(0).Par3, 1);
  EXPECT_EQ(editor.Step(0).Par2, 50);
  EXPECT_EQ(editor.View().Rows[0].DurationText, "00:08.00");
  EXPECT_EQ(r.TimeBase, "0");
}

TEST(Calculators, PatternDarkBoxesExcludeEachOther) {
  PatternCalculator calc;
  PatternPreset preset;
  preset.Original = "12";
  calc.Preset(preset);
  calc.SetOutput(0, true);
  calc.SetOutput(2, true);
  calc.SetAllDark(true);
  EXPECT_EQ(calc.Parameter(), "37");
  calc.SetNoDark(true);
  EXPECT_FALSE(calc.State().AllDark);
  EXPECT_EQ(calc.Parameter(), "69");
  calc.Cancel();
  EXPECT_EQ(calc.Parameter(), "12");
}

TEST(Calculators, EventMap) {
  const std::array<bool, 4> inputs13{false, true, false, true};
  EXPECT_EQ(ComputeEventMap(inputs13, 6), 106);
  EXPECT_EQ(ComputeEventMap(inputs13, 1), 26);
  EXPECT_EQ(ComputeEventMap(inputs13, 0), 10);
  EventMapCalculator calc;
  calc.Preset({inputs13, 6, "3"});
  EXPECT_EQ(calc.Parameter(), "106");
  calc.SelectMode(7);
  EXPECT_EQ(calc.Parameter(), "122");
  calc.Cancel();
  EXPECT_EQ(calc.Parameter(), "3");
}

TEST(Calculators, TimeBaseClampAndCancel) {
  TimeCalculator calc;
  calc.Preset("2", 10);
  EXPECT_EQ(calc.MaxTimeValue(), FormatDuration(63, 2));
  EXPECT_EQ(calc.CommitBase("7"), "3");
  EXPECT_EQ(calc.MaxTimeValue(), "10:45.12");
  EXPECT_EQ(calc.CommitBase("-2"), "0");
  EXPECT_EQ(calc.MaxTimeValue(), "00:01.26");
  calc.SetSlider(50);
  EXPECT_EQ(calc.TimeValue(), "00:01.00");
  calc.Cancel();
  EXPECT_EQ(calc.BaseText(), "2");
  EXPECT_EQ(calc.Slider(), 10);
}

}  // namespace
}  // namespace brixo
