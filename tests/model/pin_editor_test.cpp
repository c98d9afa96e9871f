#include "model/pin_editor.h"

#include <gtest/gtest.h>

#include "model/duration_format.h"
#include "model/numeric_text.h"

namespace brixo {
namespace {

class PinEditorTest : public ::testing::Test {
 protected:
  // Pin `pin` in the four-aspect layout with step 0 of aspect 0 holding `step`, shown.
  void ShowStep(int pin, const StepRecord& step, int numbering = 1) {
    model.NumberingOffset = static_cast<uint8_t>(numbering);
    model.CurrentPin = static_cast<uint8_t>(pin);
    model.CurrentAspect = 0;
    model.PinTable[pin].AspectConfig = 3;
    model.PinTable[pin].Aspects[0].Steps[0] = step;
    editor.ShowPin();
  }
  const StepRecord& Stored() { return editor.Step(0); }
  const StepRowView& Row(int i = 0) { return editor.View().Rows[i]; }

  ConfigModel model;
  PinEditor editor{model};
};

TEST(InstructionChooser, OrderedByGroupThenOpcode) {
  const auto& list = StandardInstructionTable().ChooserList();
  const char* head[] = {"-", "Blink alt", "Off", "On", "Invert", "Random", "Multibit 2"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(list[i].Name, head[i]);
  EXPECT_EQ(list.back().Name, "If Not Less");
  EXPECT_EQ(list.size(), 57u);
  int group = 0;
  for (const auto& entry : list) {
    const int g = StandardInstructionTable().Info(entry.Opcode).Group;
    EXPECT_GE(g, group) << entry.Name;
    group = g;
  }
  for (int op : {2, 19, 31, 40, 41, 48, 95, 108, 111, 124, 126, 128, 255}) {
    EXPECT_FALSE(StandardInstructionTable().HasEntry(op)) << op;
  }
}

TEST(NumericText, LeadingNumberLikeTheBoxesRead) {
  const struct {
    const char* text;
    int value;
    bool numeric;
  } cases[] = {{"12abc", 12, false}, {"", 0, false}, {"abc", 0, false}, {" -3", -3, true},
               {"2.5", 3, true},     {"-1.6", -2, true}, {"7 ", 7, true}, {"-", 0, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(ParseLeadingNumber(c.text), c.value) << c.text;
    EXPECT_EQ(IsNumericText(c.text), c.numeric) << c.text;
  }
}

TEST_F(PinEditorTest, Par0KindsShowAndCommit) {
  const struct {
    int pin;
    int opcode;
    int numbering;
    const char* typed;
    int stored;
    const char* shown;
  } cases[] = {
      {3, 9, 1, "-3", 29, "-3"},   // offset back to pin 0
      {3, 9, 1, "-4", 29, "-3"},   // beyond pin 0: clamped
      {2, 9, 1, "29", 29, "29"},   // forward to pin 31
      {2, 9, 1, "30", 29, "29"},
      {0, 96, 1, "-1", 127, "-1"}, // "Accel"
      {0, 96, 1, "-5", 127, "-1"},
      {0, 97, 1, "40", 31, "31"},
      {0, 18, 1, "1", 0, "1"},     // "MXpin" is a pin number
      {0, 18, 1, "0", 0, "1"},
      {0, 18, 0, "31", 31, "31"},
      {0, 18, 1, "40", 31, "32"},
  };
  for (const auto& c : cases) {
    ShowStep(c.pin, {static_cast<uint8_t>(c.opcode)}, c.numbering);
    EXPECT_EQ(editor.CommitPar(0, 0, c.typed), c.shown) << c.opcode << " " << c.typed;
    EXPECT_EQ(Stored().Par0, c.stored) << c.opcode << " " << c.typed;
  }
}

TEST_F(PinEditorTest, Par1To3BiasAndRanges) {
  const struct {
    int opcode;
    int par;
    const char* typed;
    int stored;
    const char* shown;
  } cases[] = {
      {39, 1, "70", 127, "63"},  // "Set Servo" shows -64..63
      {39, 1, "-64", 0, "-64"},
      {39, 1, "-100", 0, "-64"},
      {7, 1, "1", 0, "1"},       // "Clone" source with numbering from 1
      {7, 1, "33", 31, "32"},
      {7, 1, "0", 0, "1"},
      {4, 1, "300", 255, "255"},
      {104, 1, "-5", 0, "0"},    // "If Equal": negatives are not stored
      {104, 1, "70", 63, "63"},
      {1, 2, "9", 8, "8"},       // "Ins#"
      {18, 2, "40", 31, "31"},
      {5, 2, "256", 255, "255"},
      {102, 2, "64", 63, "63"},
      {102, 2, "-1", 0, "0"},
      {102, 3, "4", 3, "3"},
      {9, 1, "12.6abc", 13, "13"},
  };
  for (const auto& c : cases) {
    ShowStep(5, {static_cast<uint8_t>(c.opcode)});
    EXPECT_EQ(editor.CommitPar(0, c.par, c.typed), c.shown) << c.opcode << " " << c.typed;
    const uint8_t pars[] = {Stored().Par0, Stored().Par1, Stored().Par2, Stored().Par3};
    EXPECT_EQ(pars[c.par], c.stored) << c.opcode << " " << c.typed;
  }
}

TEST_F(PinEditorTest, ShowsStoredParametersByKind) {
  ShowStep(2, {39, 1, 29, 0, 0, 0});
  EXPECT_EQ(Row().ParText[0], "29");
  EXPECT_EQ(Row().ParText[1], "-64");
  ShowStep(4, {7, 0, 30, 5, 0, 0});
  EXPECT_EQ(Row().ParText[0], "-2");
  EXPECT_EQ(Row().ParText[1], "6");
}

TEST(Durations, FormatAsMinutesSecondsHundredths) {
  const struct {
    int time, base;
    const char* text;
  } cases[] = {{50, 1, "00:08.00"}, {63, 3, "10:45.12"}, {7, 0, "00:00.14"}, {63, 0, "00:01.26"},
               {1, 0, "00:00.02"},  {50, 0, "00:01.00"}, {0, 0, "00:00.00"}};
  for (const auto& c : cases) EXPECT_EQ(FormatDuration(c.time, c.base), c.text);
  EXPECT_EQ(StepDurationText({9, 0, 0, 0, 50, 1}), "00:00.00");  // no time below opcode 64
  EXPECT_EQ(StepDurationText({102, 0, 0, 0, 50, 1}), "00:08.00");
}

TEST_F(PinEditorTest, ChoosingAnInstructionClearsWhatItDoesNotUse) {
  ShowStep(0, {102, 0, 0, 0, 40, 2});
  const auto& list = StandardInstructionTable().ChooserList();
  editor.ChooseInstruction(0, StandardInstructionTable().ChooserIndexOf(8));  // "Off"
  EXPECT_EQ(Stored(), (StepRecord{8, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(Row().ParEnabled[2]);
  EXPECT_EQ(Row().ParText[2], "0");
  EXPECT_TRUE(Row().FadeVisible);
  EXPECT_EQ(editor.View().Captions.LabelPAspHFade, "Fade");

  editor.SetFade(0, true);
  EXPECT_EQ(Stored().Fade, 1);
  editor.ChooseInstruction(0, StandardInstructionTable().ChooserIndexOf(102));  // "Wait"
  EXPECT_EQ(Stored().Fade, 0);
  EXPECT_FALSE(Row().FadeVisible);
  EXPECT_EQ(editor.View().Captions.LabelPASpHParam2, "Time");
  EXPECT_EQ(list[Row().ChooserIndex].Name, "Wait");
}

TEST_F(PinEditorTest, UnknownInstructionIsShownAsDashButKept) {
  for (int opcode : {2, 50, 130}) {
    const StepRecord step{static_cast<uint8_t>(opcode), 1, 7, 8, 9, 3};
    ShowStep(0, step);
    EXPECT_EQ(Row().ChooserIndex, 0);
    EXPECT_FALSE(Row().ParEnabled[1]);
    EXPECT_FALSE(Row().FadeVisible);
    editor.CommitVisibleRows();
    EXPECT_EQ(Stored(), step) << opcode;
  }
}

// Showing a pin only redisplays it: an initial aspect beyond the layout, as a file or a
// controller may hold it, is shown corrected but kept in the model.
TEST_F(PinEditorTest, ShowingAPinKeepsAnInitialAspectBeyondItsLayout) {
  model.PinTable[0].AspectConfig = 3;
  model.PinTable[0].InitAspect = 6;
  editor.ShowPin();
  EXPECT_EQ(editor.View().TextPAspInit, "-1");
  EXPECT_EQ(model.PinTable[0].InitAspect, 6);
}

TEST_F(PinEditorTest, LayoutSwitchCorrectsAspectAndInitialAspect) {
  model.PinTable[0].AspectConfig = 2;
  model.PinTable[0].InitAspect = 6;
  model.CurrentAspect = 7;
  editor.ShowPin();
  EXPECT_EQ(editor.View().TextPAspAspect, "7");
  EXPECT_EQ(editor.View().TextPAspInit, "5");
  EXPECT_EQ(editor.View().UpDownPAspAspectMax, 11);
  EXPECT_TRUE(editor.View().Rows[2].Visible);
  EXPECT_FALSE(editor.View().Rows[3].Visible);

  editor.OptionPAspConf_Click(1);
  EXPECT_EQ(editor.View().TextPAspAspect, "3");
  EXPECT_EQ(editor.View().TextPAspInit, "-1");
  EXPECT_EQ(model.CurrentAspect, 3);
  EXPECT_EQ(model.PinTable[0].InitAspect, 0);
  EXPECT_EQ(model.PinTable[0].AspectConfig, 3);
  EXPECT_TRUE(editor.View().Rows[8].Visible);

  editor.CommitAspect("2");
  editor.CommitInitAspect("1");
  editor.OptionPAspConf_Click(2);
  EXPECT_EQ(editor.View().TextPAspAspect, "2");
  EXPECT_EQ(editor.View().TextPAspInit, "1");
  EXPECT_EQ(model.PinTable[0].AspectConfig, 2);

  editor.OptionPAspConf_Click(0);
  EXPECT_FALSE(editor.View().AspectControlsVisible);
  EXPECT_FALSE(editor.View().Rows[0].Visible);
  model.PinTable[0].AspectConfig = 7;  // unknown code: shown as no layout, kept
  editor.ShowPin();
  EXPECT_EQ(editor.View().OptionPAspConf, 0);
  EXPECT_EQ(model.PinTable[0].AspectConfig, 7);
  editor.OptionPAspConf_Click(0);  // only the user's choice replaces it
  EXPECT_EQ(model.PinTable[0].AspectConfig, 0);
}

TEST_F(PinEditorTest, ShowingAndNavigatingNeverChangeTheStoredSteps) {
  // Bytes an instruction does not use, a fade flag it does not offer and an offset the box
  // cannot show: as a controller or file may hold them.
  model.PinTable[0].AspectConfig = 3;
  const StepRecord held[] = {{9, 0, 3, 5, 7, 2}, {4, 1, 6, 200, 0, 9}, {102, 1, 40, 9, 12, 3}, {1, 0, 45, 2, 8, 0}};
  for (int row = 0; row < 4; ++row) model.PinTable[0].Aspects[1].Steps[row] = held[row];
  const PinArray before = model.PinTable;
  model.CurrentAspect = 1;
  editor.ShowPin();
  editor.CommitVisibleRows();  // what leaving the aspect does
  editor.OptionPAspConf_Click(1);
  EXPECT_EQ(model.PinTable, before);

  // An edit of a step clears what its instruction does not use, and keeps the rest in range.
  editor.CommitPar(0, 1, "6");
  EXPECT_EQ(model.PinTable[0].Aspects[1].Steps[0], (StepRecord{9, 0, 3, 6, 0, 0}));
  editor.ChooseInstruction(1, StandardInstructionTable().ChooserIndexOf(9));  // "On"
  EXPECT_EQ(model.PinTable[0].Aspects[1].Steps[1], (StepRecord{9, 1, 6, 127, 0, 0}));
}

TEST_F(PinEditorTest, DetailsVisibilityFollowsDetailsExpertAndLayout) {
  model.PinTable[0].AspectConfig = 3;
  editor.ShowPin();
  EXPECT_FALSE(editor.View().Details.FrameAspdetails);
  editor.SetShowDetails(true);
  const auto& d = editor.View().Details;
  EXPECT_TRUE(d.SSTabPCFG && d.CommandPCFGGetParam[0] && d.CommandPCFGSetParam[0] && d.CommandPAspWriteAspect);
  EXPECT_FALSE(d.CommandPCFGGetParam[1] || d.CommandPAspReadPin || d.CommandPAspWritePin);
  editor.SetExpertMode(true);
  EXPECT_TRUE(d.CommandPCFGSetParam[1] && d.CommandPAspReadPin && d.CommandPAspWritePin);
  editor.OptionPAspConf_Click(0);
  EXPECT_FALSE(d.CommandPAspWriteAspect || d.LabelPAspHStep || d.LabelPAspHInst);
  editor.SetShowDetails(false);
  EXPECT_FALSE(d.CommandPCFGGetParam[0] || d.CommandPAspReadPin);
}

TEST_F(PinEditorTest, DeviceMembershipEditing) {
  model.NumberingOffset = 1;
  model.PinTable[2].DeviceDescription = "Signal";
  model.PinTable[5].DeviceDescription = "Own";
  model.CurrentPin = 5;
  editor.ShowPin();
  EXPECT_EQ(editor.View().TextDevicePin, "6");
  EXPECT_TRUE(editor.View().TextDeviceDescriptionEnabled);

  editor.ChangeDevicePin("3");
  EXPECT_EQ(model.PinTable[5].DevicePointer, -3);
  editor.ChangeDevicePin("");     // not numeric: nothing stored
  editor.ChangeDevicePin("40");   // out of range: nothing stored
  EXPECT_EQ(model.PinTable[5].DevicePointer, -3);
  editor.LeaveDevicePin();
  EXPECT_EQ(editor.View().TextDevicePin, "3");
  EXPECT_EQ(model.PinTable[5].DeviceDescription, "");
  EXPECT_EQ(editor.View().TextDeviceDescription, "Signal");
  EXPECT_FALSE(editor.View().TextDeviceDescriptionEnabled);
  editor.ChangeDeviceDescription("typed");
  EXPECT_EQ(model.PinTable[5].DeviceDescription, "");

  model.PinTable[2].DevicePointer = -1;  // pin 2 is itself a member
  editor.LeaveDevicePin();
  EXPECT_EQ(editor.View().TextDeviceDescription, kReferralIsNoDevice);
  model.PinTable[5].DevicePointer = 40;  // damaged: refers outside the pins
  editor.ShowPin();
  EXPECT_EQ(editor.View().TextDeviceDescription, kReferralIsNoDevice);
}

TEST_F(PinEditorTest, SpinnerCommitsRowsOfTheOldAspectFirst) {
  ShowStep(0, {9, 0, 0, 0, 0, 0});
  editor.EditParText(0, 0, "2");
  editor.EditParText(0, 1, "99");
  editor.AspectSpinnerMoved(1);
  EXPECT_EQ(model.PinTable[0].Aspects[0].Steps[0].Par0, 2);
  EXPECT_EQ(model.PinTable[0].Aspects[0].Steps[0].Par1, 99);
  EXPECT_EQ(model.CurrentAspect, 1);
  EXPECT_EQ(editor.View().TextPAspAspect, "1");
}

TEST_F(PinEditorTest, PinNumberAndTextsAreStored) {
  model.NumberingOffset = 1;
  EXPECT_EQ(editor.CommitPinNumber("0"), "1");
  EXPECT_EQ(model.CurrentPin, 0);
  EXPECT_EQ(editor.CommitPinNumber("40"), "32");
  EXPECT_EQ(model.CurrentPin, 31);
  editor.SetPinDescription("lamp");
  editor.SetAspectDescription("red");
  EXPECT_EQ(model.PinTable[31].Description, "lamp");
  EXPECT_EQ(model.PinTable[31].Aspects[0].Description, "red");
}

}  // namespace
}  // namespace brixo
