#include "transfer/config_fields.h"

#include <gtest/gtest.h>

#include <set>

#include "model/output_config.h"
#include "transfer/verification_report.h"

namespace brixo {
namespace {

TEST(ConfigFields, NamesUseDisplayedNumbersAndTellEveryFieldApart) {
  struct Case {
    FieldId id;
    int offset;
    const char* name;
  };
  const Case cases[] = {
      {{FieldKind::StepPar2, 9, -1, 2, 1}, 1, "pin 10 aspect 2 step 1 Par2"},
      {{FieldKind::StepPar2, 9, -1, 2, 1}, 0, "pin 9 aspect 2 step 1 Par2"},
      {{FieldKind::OnAction, 2, 2}, 1, "event pin 3 input 2 ON"},
      {{FieldKind::OffAction, 31, 0}, 1, "event pin 32 input 0 OFF"},
      {{FieldKind::DccAddress}, 1, "DCC address"},
      {{FieldKind::GroupMask, -1, 3}, 1, "extended group mask 3"},
      {{FieldKind::OutputByte, 4, 2}, 1, "pin 5 output byte 2"},
      {{FieldKind::InitAspect, 0}, 1, "pin 1 initial aspect"},
      {{FieldKind::AspectDescription, 7, -1, 11}, 1, "pin 8 aspect 11 description"},
  };
  for (const Case& c : cases) EXPECT_EQ(FieldName(c.id, c.offset), c.name);

  // Every field of a configuration has a name of its own, and the table lists the kinds in
  // the order of their enumeration.
  std::set<std::string> names;
  for (const FieldId& id : AllFields()) EXPECT_TRUE(names.insert(FieldName(id, 1)).second) << FieldName(id, 1);
  EXPECT_EQ(names.size(), 14u + 4 + 4 + 2 + 2 * 32 * 4 + 32 * (5 + 12 + 3 + 12 * (1 + 9 * 5)));
  for (const FieldKindInfo& info : FieldKinds()) EXPECT_EQ(InfoOf(info.Kind).Label, info.Label);
}

TEST(ConfigFields, ValuesAreWhatTheFileHoldsAndTheControllerIsSent) {
  ConfigModel model;
  GeneralSettings general;
  EventControlState events;
  const ConfigurationRef config{model, general, events};
  PinRecord& pin = model.PinTable[6];
  pin.InitAspect = 0;
  pin.DevicePointer = -2;
  pin.OutputConfig = {1, 70, 43};
  pin.Aspects[3].Steps[4] = {38, 1, 2, 17, 5, 9};
  general.CheckGenForceXA = true;
  general.ModuleXAddress = 12;
  general.TextGenDCCAddress = "600";  // a field may hold more than a write sends
  events.OnAction[1][3] = 14;
  struct Case {
    FieldId id;
    int value;
  };
  const Case cases[] = {
      {{FieldKind::InitAspect, 6}, -1},
      {{FieldKind::DevicePointer, 6}, -2},
      {{FieldKind::OutputByte, 6, 2}, 43},
      {{FieldKind::StepCode, 6, -1, 3, 4}, 54},
      {{FieldKind::StepPar3, 6, -1, 3, 4}, 9},
      {{FieldKind::ModuleXAddress}, 127},
      {{FieldKind::DccAddress}, 510},
      {{FieldKind::OnAction, 1, 3}, 14},
  };
  for (const Case& c : cases) EXPECT_EQ(FieldValue(c.id, config), c.value) << FieldName(c.id, 1);

  // The file and the controller carry exactly the bytes of the pin's type and layout.
  pin.AspectConfig = 3;
  int outputBytes = 0;
  int steps = 0;
  for (const FieldId& id : AllFields()) {
    if (id.Pin != 6 || !FieldInFile(id, config)) continue;
    outputBytes += id.Kind == FieldKind::OutputByte;
    steps += id.Kind == FieldKind::StepCode;
    EXPECT_EQ(FieldOnController(id, config), !InfoOf(id.Kind).IsText) << FieldName(id, 1);
    EXPECT_EQ(ControllerPlaceOf(id).Request.empty(), InfoOf(id.Kind).IsText) << FieldName(id, 1);
  }
  EXPECT_EQ(outputBytes, OutputConfigBytesOf(1));
  EXPECT_EQ(steps, 4 * 9);
  events.EnableMapKnown = false;
  EXPECT_FALSE(FieldInFile({FieldKind::EnableOnMask}, config));
}

TEST(ConfigFields, RangesFollowTheFieldsTheyDependOn) {
  struct Case {
    FieldId id;
    RangeContext context;
    int value;
    bool accepted, kept;
  };
  const Case cases[] = {
      // A controller may hold 0 with "Allow Address 0" off: a file keeps what it read.
      {{FieldKind::DccAddress}, {}, 0, true, true},
      {{FieldKind::XDccAddress}, {}, 0, true, true},
      {{FieldKind::DccAddress}, {}, 511, false, false},
      {{FieldKind::FlexValue}, {false}, 64, true, true},
      {{FieldKind::FlexValue}, {false}, 20, false, false},
      {{FieldKind::FlexValue}, {true}, 20, true, true},
      {{FieldKind::ModuleXAddress}, {}, 96, false, false},
      {{FieldKind::ModuleXAddress}, {}, 127, true, true},
      {{FieldKind::OutputByte, 3, 0}, {}, 7, true, false},
      {{FieldKind::OutputByte, 3, 2}, {false, 1}, 0x30, true, false},
      {{FieldKind::OutputByte, 3, 2}, {false, 1}, 0x2B, true, true},
      {{FieldKind::OutputByte, 3, 2}, {false, 2}, 0x30, true, true},
      {{FieldKind::StepPar1, 0, -1, 0, 0}, {false, 0, 4}, 200, true, true},
      {{FieldKind::StepPar1, 0, -1, 0, 0}, {false, 0, 9}, 200, false, false},
      {{FieldKind::StepPar0, 0, -1, 0, 0}, {false, 0, 5}, 1, false, false},
      {{FieldKind::DevicePointer, 30}, {}, 1, true, true},
      {{FieldKind::DevicePointer, 30}, {}, 2, false, false},
  };
  for (const Case& c : cases) {
    const FieldRange range = FieldRangeOf(c.id, c.context);
    EXPECT_EQ(range.Accepts(c.value), c.accepted) << FieldName(c.id, 1) << " " << c.value;
    EXPECT_EQ(range.Keeps(c.value), c.kept) << FieldName(c.id, 1) << " " << c.value;
  }
}

TEST(ConfigFields, DifferencesReadAsTheUserNamesThem) {
  Difference number{{FieldKind::StepPar2, 9, -1, 2, 1}, 40, 41, {}, {}};
  EXPECT_EQ(DifferenceText(number, 1), "pin 10 aspect 2 step 1 Par2: file 40, controller 41");
  Difference text{{FieldKind::IdString}, 0, 0, "Yard", "Yar"};
  EXPECT_EQ(DifferenceText(text, 1), "ID string: file <Yard>, controller <Yar>");
  Difference missing{{FieldKind::SerialCount, 0}, 2, 0, {}, "missing"};
  EXPECT_EQ(DifferenceText(missing, 0), "pin 0 serial address count: file 2, controller missing");
  // An instruction code also by the name it is chosen by; the empty step and a code
  // without a name stay numbers.
  Difference code{{FieldKind::StepCode, 4, -1, 0, 3}, 25, 124, {}, {}};
  EXPECT_EQ(DifferenceText(code, 1), "pin 5 aspect 0 step 3 instruction: file 25 (On with fade), controller 124");
  Difference empty{{FieldKind::StepCode, 4, -1, 0, 3}, 0, 9, {}, {}};
  EXPECT_EQ(DifferenceText(empty, 1), "pin 5 aspect 0 step 3 instruction: file 0, controller 9 (On)");
}

}  // namespace
}  // namespace brixo
