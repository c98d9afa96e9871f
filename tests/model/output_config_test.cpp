#include "model/output_config_editor.h"

#include <gtest/gtest.h>

#include "model/output_config_words.h"
#include "support/named_value_print.h"
#include "support/random_configuration.h"
#include "support/recording_prompt.h"

namespace brixo {
namespace {

using testing::RecordingPrompt;

class OutputConfigTest : public ::testing::Test {
 protected:
  PinRecord& Pin() { return model.PinTable[model.CurrentPin]; }
  uint8_t Byte(OutputFieldId id) { return Pin().OutputConfig[OutputFieldOf(id).Byte]; }

  ConfigModel model;
  RecordingPrompt prompt;
  OutputConfigEditor editor{model, prompt};
};

TEST_F(OutputConfigTest, FieldCommitsClampAndStoreWithOffset) {
  editor.TabClick(kPageServo);
  const struct {
    OutputFieldId id;
    const char* typed;
    const char* shown;
    int stored;
  } cases[] = {
      {OutputFieldId::SrvMaxSpd, "200", "127", 127}, {OutputFieldId::SrvMaxSpd, "0", "1", 1},
      {OutputFieldId::BounceUp, "5", "0", 64},       {OutputFieldId::BounceUp, "-70", "-63", 1},
      {OutputFieldId::Midpoint, "-10", "-10", 54},   {OutputFieldId::BounceDown, "99", "63", 127},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(editor.CommitField(c.id, c.typed), c.shown) << c.typed;
    EXPECT_EQ(Byte(c.id), c.stored) << c.typed;
  }
  editor.EditFieldText(OutputFieldId::SrvInitPos, "-5");  // stored while typing
  EXPECT_EQ(Byte(OutputFieldId::SrvInitPos), 59);
  editor.EditFieldText(OutputFieldId::SrvInitPos, "-500");
  EXPECT_EQ(Byte(OutputFieldId::SrvInitPos), 59);
  editor.EditFieldText(OutputFieldId::Midpoint, "3");  // only on commit
  EXPECT_EQ(Byte(OutputFieldId::Midpoint), 54);
  editor.CopyFromTestSlider(OutputFieldId::SrvInitPos, 20);
  EXPECT_EQ(Byte(OutputFieldId::SrvInitPos), 84);
  EXPECT_EQ(editor.View().FieldText[int(OutputFieldId::SrvInitPos)], "20");
}

TEST_F(OutputConfigTest, TabClickInstallsDefaultsOnlyForAnotherKind) {
  const struct {
    int page;
    std::array<uint8_t, 12> bytes;
    int level;
  } cases[] = {
      {kPageServo, {1, 64, 0, 64, 127, 58, 127, 127, 64, 0, 64, 0}, 64},
      {kPagePwm, {2, 0, 0, 28, 0, 31, 0, 0, 0, 0, 0, 0}, 0},
      {kPageInput, {5, 0, 0, 4, 4, 0, 0, 0, 0, 0, 0, 0}, 0},
      {kPageClear, {}, 0},
  };
  for (const auto& c : cases) {
    Pin().OutputConfig.fill(99);
    Pin().OutputLevel = 7;
    editor.TabClick(c.page);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(Pin().OutputConfig[i], c.bytes[i]) << c.page << " byte " << i;
    EXPECT_EQ(Pin().OutputConfig[12], 99);
    EXPECT_EQ(Pin().OutputLevel, c.level);
    EXPECT_EQ(editor.View().SSTabPCFG, c.page);
  }
  Pin().OutputConfig = {3, 5, 3, 9, 1, 20};
  editor.TabClick(kPagePwm);  // inverted PWM matches the page: kept
  EXPECT_EQ(Pin().OutputConfig[3], 9);
  EXPECT_TRUE(editor.View().CheckPWMInverted);
  EXPECT_EQ(editor.View().OptionPWMDriveMode, 1);
  EXPECT_EQ(editor.View().OptionPWMAccelMode, 1);
}

TEST_F(OutputConfigTest, FlagAndModeEditorsRewriteByteTwo) {
  editor.TabClick(kPageServo);
  Pin().OutputConfig[2] = 64 + 3;  // initialised, range L
  editor.ShowOutputConfig();
  EXPECT_TRUE(editor.View().ChkSrvInitialized);
  EXPECT_EQ(editor.View().OptionServoRange, 3);
  editor.SetSuspended(true);
  EXPECT_EQ(Pin().OutputConfig[2], 3 + 8 + 32);
  editor.SetAutoSuspend(true);
  editor.SetServoRange(1);
  EXPECT_EQ(Pin().OutputConfig[2], 1 + 8 + 16 + 32);
  Pin().OutputConfig[2] = 6;
  editor.ShowOutputConfig();
  EXPECT_EQ(editor.View().OptionServoRange, 0);

  editor.TabClick(kPagePwm);
  editor.SetAccelMode(1);
  EXPECT_EQ(Pin().OutputConfig[2], 2);
  editor.SetPwmInverted(true);
  EXPECT_EQ(Pin().OutputConfig[0], 3);
  editor.TabClick(kPageInput);
  editor.SetInputLowActive(false);
  EXPECT_EQ(Pin().OutputConfig[0], 4);
}

TEST_F(OutputConfigTest, ShowsWarningsSlidersAndRefusesUnknownTypes) {
  model.CurrentPin = 9;
  HardwareGroupFlags hw;
  hw.Source[1] = true;
  editor.SetHardwareFlags(hw);
  editor.TabClick(kPageServo);
  Pin().OutputLevel = 70;
  editor.ShowOutputConfig();
  EXPECT_TRUE(editor.View().LabelSrvHWCWarn);
  EXPECT_EQ(editor.View().SliderServo, 6);
  EXPECT_EQ(editor.View().FieldText[int(OutputFieldId::SrvFriction)], "58");

  Pin().OutputConfig[0] = 9;
  Pin().OutputConfig[4] = 33;
  EXPECT_FALSE(editor.ShowOutputConfig());
  EXPECT_EQ(prompt.Messages.back(), "Unknown configuration: 9");
  EXPECT_EQ(editor.View().SSTabPCFG, kPageServo);
  editor.CommitPageFields();  // the stale servo page must not overwrite the unknown bytes
  EXPECT_EQ(Pin().OutputConfig[4], 33);
}

// The sheet tells a pin's output parameters as its page shows them: every field of the
// page under its caption with the text of its box, and the options selected.
TEST_F(OutputConfigTest, ParametersInWordsAreWhatThePageShows) {
  testing::ConfigurationDice dice(7);
  for (int round = 0; round < 60; ++round) {
    dice.FillPin(Pin(), model.CurrentPin);
    const std::vector<NamedValue> words = OutputParametersInWords(Pin());
    if (!editor.ShowOutputConfig() || editor.View().SSTabPCFG == kPageClear) {
      EXPECT_TRUE(words.empty()) << int(Pin().OutputConfig[0]);
      continue;
    }
    const OutputConfigView& view = editor.View();
    std::vector<NamedValue> shown;
    if (view.SSTabPCFG == kPageServo) {
      shown = {{"Range", kServoRangeCaptions[view.OptionServoRange]},
               {"Auto Suspend", view.ChkSrvAutoSuspend ? "yes" : "no"},
               {"Suspended", view.ChkSrvSuspended ? "yes" : "no"}};
    } else if (view.SSTabPCFG == kPagePwm) {
      shown = {{"Drive Mode", kPwmModeCaptions[view.OptionPWMDriveMode]},
               {"Acceleration Mode", kPwmModeCaptions[view.OptionPWMAccelMode]}};
    }
    for (const OutputField& field : OutputFields()) {
      if (field.Page == view.SSTabPCFG) shown.push_back({field.Label, view.FieldText[int(field.Id)]});
    }
    EXPECT_EQ(words, shown) << "type " << int(Pin().OutputConfig[0]);
  }
}

}  // namespace
}  // namespace brixo
