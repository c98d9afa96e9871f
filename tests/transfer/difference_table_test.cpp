// The differences table over the whole field table: every field, changed alone in a random
// configuration, is one row captioned and valued as the editor shows it, the values tell
// the two sides apart, and taking the other side's values makes the two agree.
#include "transfer/difference_table.h"

#include <gtest/gtest.h>

#include "model/output_config.h"
#include "model/output_config_editor.h"
#include "model/pin_editor.h"
#include "transfer/changed_writes.h"
#include "support/property_stride.h"
#include "support/random_configuration.h"
#include "support/recording_prompt.h"

namespace brixo::testing {
namespace {

Configuration Random(unsigned seed) {
  ConfigurationDice dice(seed);
  RandomConfiguration c = dice.Configuration();
  return {c.Model, c.General, c.Events};
}

// Another value the field can hold; nothing when it holds only one.
std::optional<FieldSetting> OtherValue(const FieldId& id, const Configuration& config) {
  if (InfoOf(id.Kind).IsText) return FieldSetting{id, 0, FieldText(id, config.Ref()) + "x"};
  const int current = FieldValue(id, config.Ref());
  const FieldRange range = FieldRangeOf(id, RangeContextOf(id, config.Ref()));
  for (int value : {current + 1, current - 1, range.Lowest(), range.Highest()}) {
    if (value != current && range.Keeps(value)) return FieldSetting{id, value, {}};
  }
  return std::nullopt;
}

// Fields whose value another one decides: the flexible start address without its flag.
bool FollowsFrom(const FieldId& follower, const FieldId& changed) {
  return follower.Kind == FieldKind::FlexValue && changed.Kind == FieldKind::FlexFlag;
}

TEST(DifferenceTable, EveryFieldChangedAloneIsOneRowAsTheEditorShowsIt) {
  for (unsigned seed : {7u, 1208u}) {
    const Configuration mine = Random(seed);
    int rowsSeen = 0;
    for (size_t i = 0; i < AllFields().size(); i += kPropertyStride) {
      const FieldId& id = AllFields()[i];
      if (!FieldInFile(id, mine.Ref())) continue;
      const std::optional<FieldSetting> other = OtherValue(id, mine);
      if (!other) continue;
      Configuration theirs = mine;
      SetFieldValue(id, other->Value, other->Text, theirs);
      const std::string name = FieldName(id, 1);
      if (!InfoOf(id.Kind).IsText) {
        ASSERT_EQ(FieldValue(id, theirs.Ref()), other->Value) << name;
      }

      const std::vector<DifferenceRow> rows = DifferenceRows(mine.Ref(), theirs.Ref());
      int own = 0;
      for (const DifferenceRow& row : rows) {
        if (!(row.Field == id)) {
          EXPECT_TRUE(FollowsFrom(row.Field, id)) << name << " also changed " << FieldName(row.Field, 1);
          continue;
        }
        ++own;
        EXPECT_EQ(row.Place, FieldPlace(id, mine.Ref())) << name;
        EXPECT_EQ(row.Caption, FieldCaption(id, mine.Ref())) << name;
        EXPECT_EQ(row.Mine.rfind(ShownFieldValue(id, mine.Ref()), 0), 0u) << name;
        EXPECT_EQ(row.Theirs.rfind(ShownFieldValue(id, theirs.Ref()), 0), 0u) << name;
        EXPECT_NE(row.Mine, row.Theirs) << name << ": the two sides read alike";
        EXPECT_TRUE(row.Takeable && row.Ticked) << name;
      }
      EXPECT_EQ(own, 1) << name;
      rowsSeen += own;

      // Taking the other side's values leaves nothing different, whatever was changed.
      Configuration taken = mine;
      SetFieldValues(TickedSettings(rows), taken);
      EXPECT_TRUE(DifferenceRows(taken.Ref(), theirs.Ref()).empty()) << name;
    }
    EXPECT_GT(rowsSeen, 1000 / kPropertyStride);
  }
}

// The step grid and the output pages show the same captions and numbers as the table.
TEST(DifferenceTable, StepsAndOutputPagesReadAsTheirBoxes) {
  Configuration config = Random(31);
  RecordingPrompt prompt;
  PinEditor editor(config.Model);
  OutputConfigEditor output(config.Model, prompt);
  int compared = 0;
  for (int p = 0; p < kPinCount; p += kPropertyStride) {
    config.Model.CurrentPin = static_cast<uint8_t>(p);
    const PinRecord& pin = config.Model.PinTable[p];
    for (int a = 0; a < AspectCountOf(pin.AspectConfig); ++a) {
      config.Model.CurrentAspect = static_cast<uint8_t>(a);
      editor.ShowPin();
      for (int s = 0; s < StepCountOf(pin.AspectConfig); ++s) {
        editor.FocusRow(s);
        const ColumnCaptions& c = editor.View().Captions;
        const std::string* captions[] = {&c.LabelPAspOffset, &c.LabelPAspHParam1, &c.LabelPASpHParam2,
                                         &c.LabelPAspHParam3};
        for (int par = 0; par < kParCount; ++par) {
          if (!editor.View().Rows[s].ParEnabled[par]) continue;
          const FieldId id{static_cast<FieldKind>(static_cast<int>(FieldKind::StepPar0) + par), static_cast<int8_t>(p),
                           -1, static_cast<int8_t>(a), static_cast<int8_t>(s)};
          EXPECT_EQ(FieldCaption(id, config.Ref()), *captions[par]) << FieldName(id, 1);
          EXPECT_EQ(ShownFieldValue(id, config.Ref()), editor.View().Rows[s].ParText[par]) << FieldName(id, 1);
          ++compared;
        }
      }
      EXPECT_EQ(ShownFieldValue({FieldKind::InitAspect, static_cast<int8_t>(p)}, config.Ref()),
                editor.View().TextPAspInit);
      EXPECT_EQ(ShownFieldValue({FieldKind::DevicePointer, static_cast<int8_t>(p)}, config.Ref()),
                editor.View().TextDevicePin);
    }
    if (!output.ShowOutputConfig()) continue;
    for (const OutputField& field : OutputFields()) {
      if (!PageMatchesType(field.Page, pin.OutputConfig[0])) continue;
      const FieldId id{FieldKind::OutputByte, static_cast<int8_t>(p), static_cast<int8_t>(field.Byte)};
      EXPECT_EQ(FieldCaption(id, config.Ref()), field.Label);
      EXPECT_EQ(ShownFieldValue(id, config.Ref()), output.View().FieldText[static_cast<int>(field.Id)]) << field.Label;
    }
  }
  EXPECT_GT(compared, 50);
}

// A comparison with the controller: each difference one row, the controller's value as the
// editor would show it, a reply that could not be read named as such and not taken.
TEST(DifferenceTable, AComparisonsDifferencesReadAsOneLineEach) {
  Configuration mine;
  StepRecord& step = mine.Model.PinTable[9].Aspects[2].Steps[1];
  step.Instruction = 9;  // "On": Par1 is "T(/60)"
  step.Par1 = 2;
  mine.General.TextGenIDString = "Yard";
  mine.General.ComboGenBaud = 2;
  mine.Model.PinTable[4].SerialAddressCount = 3;
  mine.Model.PinTable[7].AspectConfig = 3;
  const FieldId code{FieldKind::StepCode, 9, -1, 2, 1};
  const FieldId par1{FieldKind::StepPar1, 9, -1, 2, 1};
  const std::vector<Difference> found = {
      {{FieldKind::IdString}, 0, 0, "Yard", "Yar"},
      {{FieldKind::BaudRate}, 2, 4, {}, {}},
      {{FieldKind::OnAction, 20, 3}, -1, 4, {}, {}},
      {code, 9, 7, {}, {}},  // "Clone": Par1 is the "Source" pin, shown as numbered
      {par1, 2, 4, {}, {}},
      {{FieldKind::SerialCount, 4}, 3, 0, {}, "missing"},
      NoValidResponse({FieldKind::AspectConfig, 7}, 3),
  };
  const std::vector<DifferenceRow> rows = DifferenceRows(found, mine.Ref());
  const std::vector<std::string> expected = {
      "ID String: file <Yard>, controller <Yar>",
      "Serial Port Baudrate: file 19200, controller 38400",
      "event pin 21 input 3 ON: file -1, controller 4",
      "pin 10 aspect 2 step 1 Instruction: file On, controller Clone",
      "pin 10 aspect 2 step 1 T(/60) / Source: file 2, controller 5",
      "pin 5 Nr Of Addresses Serial: file 3, controller missing",
      "pin 8 Aspects: file 4, controller no valid response",
  };
  EXPECT_EQ(DifferenceLines(rows), expected);
  EXPECT_EQ(DifferenceLine(rows[1], {"A", "B"}), "Serial Port Baudrate: A 19200, B 38400");
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].Takeable, i < 5) << expected[i];

  Configuration taken = mine;
  SetFieldValues(TickedSettings(rows), taken);
  EXPECT_EQ(taken.General.TextGenIDString, "Yar");
  EXPECT_EQ(taken.General.ComboGenBaud, 4);
  EXPECT_EQ(taken.Events.OnAction[20][3], 4);
  EXPECT_EQ(taken.Model.PinTable[9].Aspects[2].Steps[1].Instruction, 7);
  EXPECT_EQ(taken.Model.PinTable[4].SerialAddressCount, 3) << "no value to take";
  EXPECT_EQ(ChangedPartsOf(TickedFields(rows)).PinCount(), 3);
}

}  // namespace
}  // namespace brixo::testing
