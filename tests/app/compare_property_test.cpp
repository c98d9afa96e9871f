// What "Compare" and Write Changes promise, over the whole configuration: every single
// change of the controller's memory shows as its own line naming the field, nothing shows
// when the two agree, the editor and the controller stay as they were, and Write Changes
// makes the controller agree again while writing less than Write All.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "app_test_support.h"
#include "files/data_file.h"
#include "sim/sim_serial_port.h"
#include "support/controller_image.h"
#include "support/field_in_file.h"
#include "support/property_stride.h"
#include "support/random_configuration.h"
#include "transfer/config_fields.h"
#include "transfer/changed_writes.h"
#include "transfer/difference_table.h"

namespace brixo::testing {
namespace {

class CompareTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(app.Ports().SelectPort("1"));
    ConfigurationDice dice(1208);
    RandomConfiguration c = dice.Configuration();
    for (int p = 0; p < kPinCount; ++p) c.Model.PinTable[p].AspectConfig = p % 4 == 3 ? 2 : p % 8 == 6 ? 0 : 3;
    c.General.CheckGenForceXA = false;
    app.Model().PinTable = c.Model.PinTable;
    app.General() = c.General;
    app.Events() = c.Events;
    ASSERT_TRUE(Run("WriteAll"));
  }

  ControllerMemory& Memory() { return app.Simulator()->Controller().Memory(); }

  bool Run(const std::string& command) {
    if (!app.Commands().PostCommand(command)) return false;
    app.Commands().Tick();
    app.Log().Clear();
    return app.Commands().LastSucceeded();
  }

  std::string Editor() {
    bool quotes = false;
    return ComposeDataFile(app.Model(), app.General(), app.Events(), false, quotes);
  }

  ConfigurationRef Config() { return {app.Model(), app.General(), app.Events()}; }

  std::vector<std::string> Lines() {
    return DifferenceLines(DifferenceRows(app.Report().Result.Differences, Config()));
  }

  std::vector<ImageByte> Described() {
    std::vector<ImageByte> described;
    for (const ImageByte& b : ControllerImage(Memory())) {
      if (b.Described) described.push_back(b);
    }
    return described;
  }

  size_t FramesOf(const std::string& command) {
    app.Simulator()->Controller().ClearReceived();
    Run(command);
    return app.Simulator()->Controller().ReceivedPayloads().size();
  }

  ManualClock clock;
  RecordingPrompt prompt;
  NoFileChooser chooser;
  AppState app{prompt, chooser, SimulatedOnly(clock)};
};

TEST_F(CompareTest, AnAgreeingControllerListsNothing) {
  const std::string editor = Editor();
  EXPECT_TRUE(Run("Compare")) << app.Report().Text;
  EXPECT_TRUE(Lines().empty());
  EXPECT_NE(app.Report().Text.find("Verify OK"), std::string::npos);
  EXPECT_EQ(Editor(), editor);
}

// Every described byte of the controller, changed alone, shows as differences of the one
// pin, group or event table it belongs to, each field once; the controller and the editor
// are left as they were.
TEST_F(CompareTest, EverySingleChangeIsListedOnceByName) {
  const std::string editor = Editor();
  std::vector<ImageByte> described = Described();
  int single = 0;
  for (size_t i = 0; i < described.size(); i += kPropertyStride * 7) {
    const ImageByte& b = described[i];
    const uint8_t held = *b.Byte;
    *b.Byte = static_cast<uint8_t>(held ^ (1u << (i % 7)));
    const std::vector<uint8_t> changed = DescribedBytes(Memory());
    EXPECT_FALSE(Run("Compare")) << b.Name;
    const std::vector<std::string> lines = Lines();
    const std::string& text = app.Report().Text;
    // A reply that cannot be read at all ends the comparison instead.
    if (text.find("No valid response") == std::string::npos && text.find("Invalid Response") == std::string::npos) {
      EXPECT_FALSE(lines.empty()) << b.Name;
      EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()).size(), lines.size()) << b.Name;
      if (lines.size() == 1) ++single;
      // A pin's byte differs in fields of that pin alone (a step's first byte carries its
      // instruction and the top bits of its parameters).
      int pin = -1;
      if (std::sscanf(b.Name.c_str(), "pin %d ", &pin) == 1) {
        for (const std::string& line : lines) {
          const std::string owner = "pin " + std::to_string(pin + 1) + " ";
          EXPECT_TRUE(line.rfind(owner, 0) == 0 || line.rfind("event " + owner, 0) == 0) << b.Name << ": " << line;
        }
      }
    }
    EXPECT_EQ(DescribedBytes(Memory()), changed) << "Compare changed the controller: " << b.Name;
    EXPECT_EQ(Editor(), editor) << "Compare changed the editor: " << b.Name;
    *b.Byte = held;
  }
  // Most bytes are one field each.
  EXPECT_GT(single, 0);
}

// A single field changed in the editor is one line, naming that field, with both values.
struct FieldEdit {
  const char* Name;
  FieldId Field;
  void (*Edit)(AppState&);
};

class FieldEditTest : public CompareTest, public ::testing::WithParamInterface<FieldEdit> {};

TEST_P(FieldEditTest, IsOneLineNamingIt) {
  const FieldEdit& edit = GetParam();
  edit.Edit(app);
  const std::string shown = ShownFieldValue(edit.Field, Config());
  const std::string value = InfoOf(edit.Field.Kind).IsText ? "<" + shown + ">" : shown;
  EXPECT_FALSE(Run("Compare"));
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 1u) << app.Report().Text;
  EXPECT_EQ(lines[0].rfind(FieldLabel(edit.Field, Config()) + ": file " + value, 0), 0u) << lines[0];
}

template <typename T>
void Bump(T& value, int low, int high) {
  value = static_cast<T>(value >= high ? low : value + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FieldEditTest,
    ::testing::Values(
        FieldEdit{"IdString", {FieldKind::IdString}, [](AppState& a) { a.General().TextGenIDString = "Yard 7"; }},
        FieldEdit{"EventOn", {FieldKind::OnAction, 7, 1}, [](AppState& a) { Bump(a.Events().OnAction[7][1], -1, 11); }},
        FieldEdit{"EventOff", {FieldKind::OffAction, 30, 3}, [](AppState& a) { Bump(a.Events().OffAction[30][3], -1, 11); }},
        FieldEdit{"InitAspect", {FieldKind::InitAspect, 12}, [](AppState& a) { Bump(a.Model().PinTable[12].InitAspect, 0, 3); }},
        FieldEdit{"StepPar2", {FieldKind::StepPar2, 9, -1, 1, 0},
                  [](AppState& a) { Bump(a.Model().PinTable[9].Aspects[1].Steps[0].Par2, 0, 100); }},
        FieldEdit{"DevicePointer", {FieldKind::DevicePointer, 4}, [](AppState& a) { Bump(a.Model().PinTable[4].DevicePointer, -3, 3); }}),
    [](const auto& info) { return std::string(info.param.Name); });

// Differences in several parts are all listed: a general setting, an event action and a
// step, where Verify All would stop at the first part that differs.
TEST_F(CompareTest, ListsDifferencesOfEveryPartWhereVerifyAllStopsAtTheFirst) {
  Memory().IdString = "Other";
  Memory().Pins[9].Steps[1][0][3] ^= 1;
  app.Events().OnAction[4][2] = app.Events().OnAction[4][2] == 3 ? 4 : 3;
  EXPECT_FALSE(Run("Compare"));
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 3u) << app.Report().Text;

  EXPECT_EQ(lines[0].rfind("ID String: file <", 0), 0u) << lines[0];
  EXPECT_TRUE(lines[0].ends_with(", controller <Other>")) << lines[0];
  EXPECT_EQ(lines[1].rfind("event pin 5 input 2 ON:", 0), 0u) << lines[1];
  EXPECT_EQ(lines[2].rfind("pin 10 aspect 1 step 0 ", 0), 0u) << lines[2];
  EXPECT_FALSE(Run("VerifyAll"));
  EXPECT_EQ(Lines().size(), 1u) << "Verify All stops after the general settings";
}

TEST_F(CompareTest, WriteChangesWritesOnlyWhatDiffersThenVerifies) {
  const size_t everything = FramesOf("WriteAll");
  // Nothing differs: only the comparison is sent.
  const size_t comparison = FramesOf("Compare");
  EXPECT_EQ(FramesOf("WriteChanged"), comparison);
  EXPECT_TRUE(app.Commands().LastSucceeded());

  Memory().Pins[20].Steps[0][2][1] ^= 4;
  Memory().Pins[3].InitByte ^= 1;
  Memory().GreenLed ^= 1;
  const size_t written = FramesOf("WriteChanged");
  EXPECT_TRUE(app.Commands().LastSucceeded()) << app.Report().Text;
  EXPECT_NE(app.Report().Text.find("Verify OK"), std::string::npos);
  EXPECT_NE(app.Report().Text.find("Written: "), std::string::npos);
  EXPECT_LT(written - 2 * comparison, everything / 8) << "two pins and a group, not the whole controller";
  EXPECT_TRUE(Run("Compare")) << app.Report().Text;
}

// Every kind of field the controller holds, changed alone in the editor (through the data
// file, where the field table places it): Write Changes writes it and ends with "Verify
// OK", and the controller then compares. A kind that Write Changes forgot to mark would
// write nothing and leave the difference.
TEST_F(CompareTest, WriteChangesAfterAnySingleFieldChangeVerifies) {
  const ControllerMemory held = Memory();
  const std::string base = Editor();
  for (const FieldKindInfo& info : FieldKinds()) {
    if (info.IsText && info.Kind != FieldKind::IdString) continue;  // the controller holds no other text
    SCOPED_TRACE(info.Label);
    std::string changedField;
    for (const FieldId& id : AllFields()) {
      if (id.Kind != info.Kind || !changedField.empty()) continue;
      const ConfigurationRef config{app.Model(), app.General(), app.Events()};
      if (!FieldOnController(id, config)) continue;
      const int current = FieldValue(id, config);
      const FieldRange range = FieldRangeOf(id, RangeContextOf(id, config));
      if (info.IsText) {
        app.General().TextGenIDString = FieldText(id, config) == "Changed" ? "Other" : "Changed";
        changedField = FieldLabel(id, config);
        break;
      }
      for (int value : {current + 1, current - 1, range.Lowest(), range.Highest()}) {
        if (value == current || !range.Keeps(value)) continue;
        const std::optional<std::string> text = WithField(base, id, value);
        if (!text) continue;
        prompt.Clear();
        if (!LoadDataFileText(app.DataFiles(), *text)) continue;
        const ConfigurationRef loaded{app.Model(), app.General(), app.Events()};
        if (FieldValue(id, loaded) != value) continue;  // the loader read another value
        changedField = FieldLabel(id, loaded);
        break;
      }
    }
    ASSERT_FALSE(changedField.empty()) << "no value of this kind could be changed alone";
    SCOPED_TRACE(changedField);
    EXPECT_TRUE(Run("WriteChanged")) << app.Report().Text;
    EXPECT_NE(app.Report().Text.find("Written: " + changedField + ": "), std::string::npos) << app.Report().Text;
    EXPECT_NE(app.Report().Text.find("\r\nVerify OK\r\n"), std::string::npos) << app.Report().Text;
    EXPECT_TRUE(Run("VerifyAll")) << app.Report().Text;
    EXPECT_TRUE(prompt.Messages.empty()) << prompt.Messages.front();
    Memory() = held;
    ASSERT_TRUE(LoadDataFileText(app.DataFiles(), base));
  }
}

TEST_F(CompareTest, WriteChangesWritesNothingWhenTheComparisonWasCutShort) {
  Memory().Pins[3].InitByte ^= 1;
  app.Simulator()->Controller().Faults().GoneAfterFrames = 30;
  app.Simulator()->Controller().ClearReceived();
  EXPECT_FALSE(Run("WriteChanged"));
  for (const auto& payload : app.Simulator()->Controller().ReceivedPayloads()) {
    if (!payload.empty()) {
      EXPECT_GE(payload[0], 112) << "only read requests were sent";
    }
  }
}


// "Write Checked": differences in two pins and a general setting, some rows ticked. Only
// the ticked rows' pins and group are written, the comparison that follows lists exactly
// the unticked rows, and taking the controller's values then makes the editor agree, one
// undo step away from where it was.
struct CheckedCase {
  const char* Name;
  bool Pin4;
  bool Pin21;
  bool Led;
};

class WriteCheckedTest : public CompareTest, public ::testing::WithParamInterface<CheckedCase> {};

TEST_P(WriteCheckedTest, WritesOnlyTheTickedRowsAndTakingTheRestAgrees) {
  const CheckedCase& c = GetParam();
  Memory().Pins[20].Steps[0][2][1] ^= 4;
  Memory().Pins[3].InitByte ^= 1;
  Memory().GreenLed ^= 1;
  EXPECT_FALSE(Run("Compare"));
  std::vector<DifferenceRow> rows = DifferenceRows(app.Report().Result.Differences, Config());
  std::vector<std::string> unticked;
  for (DifferenceRow& row : rows) {
    const bool led = row.Place == "LED Control";
    row.Ticked = row.Place.starts_with("pin 4") ? c.Pin4 : row.Place.starts_with("pin 21") ? c.Pin21 : led && c.Led;
    if (!row.Ticked) unticked.push_back(DifferenceLine(row));
  }
  ASSERT_EQ(rows.size(), 3u) << app.Report().Text;

  app.Simulator()->Controller().ClearReceived();
  ASSERT_TRUE(app.Commands().PostWriteChecked(ChangedPartsOf(TickedFields(rows))));
  app.Commands().Tick();
  std::set<int> pinsWritten;
  int generalWrites = 0;
  for (const std::vector<int>& payload : app.Simulator()->Controller().ReceivedPayloads()) {
    if (payload.size() < 2 || payload[0] >= 112) continue;
    if (payload[0] == 96) ++generalWrites;
    else if (payload[0] > 96) pinsWritten.insert(payload[1]);
  }
  std::set<int> ticked;
  if (c.Pin4) ticked.insert(3);
  if (c.Pin21) ticked.insert(20);
  EXPECT_EQ(pinsWritten, ticked);
  EXPECT_EQ(generalWrites > 0, c.Led);
  EXPECT_EQ(app.Commands().LastSucceeded(), unticked.empty()) << app.Report().Text;
  EXPECT_EQ(Lines(), unticked);

  const std::string before = Editor();
  app.TakeValues(TickedSettings(DifferenceRows(app.Report().Result.Differences, Config())));
  EXPECT_TRUE(Run("Compare")) << app.Report().Text;
  ASSERT_EQ(Editor() != before, !unticked.empty());
  if (!unticked.empty()) {
    ASSERT_TRUE(app.Undo());
    EXPECT_EQ(Editor(), before) << "taking the values is one step";
  }
}

INSTANTIATE_TEST_SUITE_P(Ticks, WriteCheckedTest,
                         ::testing::Values(CheckedCase{"All", true, true, true}, CheckedCase{"OnePin", false, true, false},
                                           CheckedCase{"GroupOnly", false, false, true},
                                           CheckedCase{"PinAndGroup", true, false, true}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace brixo::testing
