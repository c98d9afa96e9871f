// The captions over the step columns and the tool tips of the parameter boxes.
#include <gtest/gtest.h>

#include <regex>

#include "model/help_tools.h"
#include "model/numeric_text.h"
#include "model/pin_editor.h"

namespace brixo {
namespace {

constexpr uint8_t kOff = 8;      // "Off": fade, P.O. and T
constexpr uint8_t kWait = 102;   // "Wait": Time and Base
constexpr uint8_t kEvent = 16;   // "Event Input": the event-map calculator

class StepCaptionsTest : public ::testing::Test {
 protected:
  // Pin 3 in layout `option` (1: four aspects of nine steps, 2: twelve of three), with the
  // given instructions in the steps of aspect 0, shown afresh.
  void Show(int option, std::vector<std::pair<int, uint8_t>> steps) {
    model.CurrentPin = 3;
    model.CurrentAspect = 0;
    model.PinTable[3].AspectConfig = option == 1 ? 3 : 2;
    for (const auto& [row, opcode] : steps) model.PinTable[3].Aspects[0].Steps[row].Instruction = opcode;
    editor.ShowPin();
  }
  ColumnCaptions CaptionsOf(uint8_t opcode) const {
    const InstructionInfo& info = StandardInstructionTable().Info(opcode);
    return {info.FadeAllowed ? "Fade" : "", info.Par0Label, info.Par1Label, info.Par2Label, info.Par3Label};
  }
  static std::vector<std::string> Texts(const ColumnCaptions& c) {
    return {c.LabelPAspHFade, c.LabelPAspOffset, c.LabelPAspHParam1, c.LabelPASpHParam2, c.LabelPAspHParam3};
  }
  std::vector<std::string> Shown() const { return Texts(editor.View().Captions); }
  std::vector<std::string> Of(uint8_t opcode) const { return Texts(CaptionsOf(opcode)); }

  ConfigModel model;
  PinEditor editor{model};
};

TEST_F(StepCaptionsTest, AShownPinNamesTheFieldsOfItsFirstVisibleStepWithAnInstruction) {
  const struct {
    const char* name;
    int option;
    std::vector<std::pair<int, uint8_t>> steps;
    int captionRow;  // -1: no captions
  } cases[] = {
      {"first step", 1, {{0, kWait}, {1, kOff}}, 0},
      {"empty steps skipped", 1, {{2, kWait}, {5, kOff}}, 2},
      {"last of nine", 1, {{8, kOff}}, 8},
      {"no instruction", 1, {}, -1},
      {"hidden step never", 2, {{5, kWait}}, -1},
      {"visible before hidden", 2, {{1, kOff}, {4, kWait}}, 1},
  };
  for (const auto& c : cases) {
    model = ConfigModel{};
    Show(c.option, c.steps);
    EXPECT_EQ(editor.CaptionRow(), c.captionRow) << c.name;
    const std::vector<std::string> expected =
        c.captionRow < 0 ? Texts(ColumnCaptions{}) : Of(model.PinTable[3].Aspects[0].Steps[c.captionRow].Instruction);
    EXPECT_EQ(Shown(), expected) << c.name;
  }
}

TEST_F(StepCaptionsTest, TheCaptionsFollowTheRowBeingEdited) {
  Show(1, {{0, kOff}, {1, kWait}, {2, kEvent}});
  const auto byChooser = [](uint8_t opcode) { return StandardInstructionTable().ChooserIndexOf(opcode); };
  const struct {
    const char* name;
    std::function<void()> edit;
    uint8_t opcode;
  } edits[] = {
      {"focus on row 1", [&] { editor.FocusRow(1); }, kWait},
      {"typing in row 2", [&] { editor.EditParText(2, 1, "3"); }, kEvent},
      {"committing row 0", [&] { editor.CommitPar(0, 0, "1"); }, kOff},
      {"choosing in row 4", [&] { editor.ChooseInstruction(4, byChooser(kWait)); }, kWait},
      {"fade in row 0", [&] { editor.SetFade(0, true); }, kOff},
      // Committing everything before another pin is shown re-shows the aspect from its
      // first step, not from whichever row was committed last.
      {"all rows committed", [&] { editor.FocusRow(2), editor.CommitVisibleRows(); }, kOff},
  };
  for (const auto& e : edits) {
    e.edit();
    EXPECT_EQ(Shown(), Of(e.opcode)) << e.name;
  }
  // Another aspect starts again from its first step with an instruction.
  model.PinTable[3].Aspects[1].Steps[3].Instruction = kOff;
  editor.CommitAspect("1");
  EXPECT_EQ(editor.CaptionRow(), 3);
}

// Each tool tip names the field and the range a typed value is brought into: typing one
// beyond either end stores that end.
TEST_F(StepCaptionsTest, EveryParameterTipNamesItsFieldAndTheRangeTheBoxKeeps) {
  const std::regex range(R"((.+): (-?\d+) to (-?\d+))");
  for (int numbering : {0, 1}) {
    for (const ChooserEntry& entry : StandardInstructionTable().ChooserList()) {
      model = ConfigModel{};
      model.NumberingOffset = static_cast<uint8_t>(numbering);
      Show(1, {{0, entry.Opcode}});
      const InstructionInfo& info = StandardInstructionTable().Info(entry.Opcode);
      const bool used[] = {info.Par0Used, info.Par1Used, info.Par2Used, info.Par3Used};
      const std::string* labels[] = {&info.Par0Label, &info.Par1Label, &info.Par2Label, &info.Par3Label};
      for (int par = 0; par < kParCount; ++par) {
        const std::string tip = editor.View().Rows[0].ParTip[par];
        if (!used[par]) {
          EXPECT_EQ(tip, "Not used by this instruction") << entry.Name << " " << par;
          continue;
        }
        std::smatch m;
        ASSERT_TRUE(std::regex_match(tip, m, range)) << tip;
        if (!labels[par]->empty()) {
          EXPECT_EQ(m[1].str(), *labels[par]) << tip;
        }
        const int low = std::stoi(m[2].str());
        const int high = std::stoi(m[3].str());
        EXPECT_EQ(editor.CommitPar(0, par, NumberText(high + 1)), NumberText(high)) << entry.Name << " " << tip;
        EXPECT_EQ(editor.CommitPar(0, par, NumberText(low - 1)), NumberText(low)) << entry.Name << " " << tip;
      }
    }
  }
}

TEST_F(StepCaptionsTest, AMenuCalculatorFindsTheRowThatOffersIt) {
  Show(1, {{1, kWait}, {3, kEvent}, {5, kWait}});
  EXPECT_EQ(HelpToolRow(editor, HelpToolKind::Time), 1);
  EXPECT_EQ(HelpToolRow(editor, HelpToolKind::EventMap), 3);
  EXPECT_EQ(HelpToolRow(editor, HelpToolKind::Pattern), -1);
  editor.FocusRow(5);
  EXPECT_EQ(HelpToolRow(editor, HelpToolKind::Time), 5);  // the row being edited first
  EXPECT_EQ(HelpToolBox(HelpToolKind::Time), HelpBox::Duration);
  EXPECT_EQ(HelpToolBox(HelpToolKind::EventMap), HelpBox::Par1);
}

}  // namespace
}  // namespace brixo
