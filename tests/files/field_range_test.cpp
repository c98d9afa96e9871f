// The data file's numbers against the field table: every numeric field set one beyond what
// the controller can hold is refused and changes nothing; every value it can hold loads and
// saves unchanged; older forms a file may carry load as the value they stand for. Fields
// are found in the file where the table says they sit.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "files_test_support.h"
#include "support/field_in_file.h"
#include "support/property_stride.h"
#include "transfer/config_fields.h"

namespace brixo::testing {
namespace {

// Every value next to the ranges that the field cannot take.
std::vector<int> Beyond(const FieldRange& range) {
  std::vector<int> values;
  auto add = [&](int v) {
    if (!range.Accepts(v) && std::find(values.begin(), values.end(), v) == values.end()) values.push_back(v);
  };
  for (const auto* spans : {&range.Held, &range.Converted}) {
    for (const ValueSpan& s : *spans) {
      add(s.Min - 1);
      add(s.Max + 1);
    }
  }
  return values;
}

class FieldRangeTest : public FilesTest {
 protected:
  // Pins of every output type and both layouts, steps of "SendSerial" and of others, every
  // aspect described so that a compact save writes them.
  void FillBase(bool flexible) {
    general.TextGenIDString = "Range";
    general.TextGenDCCAddress = "300";
    general.TextGenXDCCAddress = "1000";
    general.ChkGenDCCAllow0 = flexible;
    general.OptGenDCC_PRP = 2;
    general.CheckGenTamloaddr = flexible;
    general.CheckGenBrixoNative = !flexible;
    general.FlexAddress = flexible ? 64 : 0;
    general.CheckGenForceXA = !flexible;
    general.ModuleXAddress = 17;
    general.CheckGenXGM[3] = true;
    general.ChkGenHWCSink[1] = true;
    general.CheckLCGreen = {1, 0, 1, 0, 0, 0, 0, 0};
    general.ComboGenBaud = 4;
    for (int p = 0; p < kPinCount; ++p) events.OnAction[p] = {2, -1, 14, 0};
    events.CheckInitEE = {true, false, false, true, false, true, false, false};

    const struct {
      int pin, type, layout;
    } pins[] = {{3, 1, 3}, {7, 2, 2}, {12, 5, 0}, {20, 0, 0}, {31, 3, 3}};
    for (const auto& p : pins) {
      PinRecord& pin = model.PinTable[p.pin];
      pin.Description = "pin";
      pin.DevicePointer = static_cast<int16_t>(p.pin == 20 ? -4 : 0);
      pin.AspectConfig = static_cast<uint8_t>(p.layout);
      pin.InitAspect = 2;
      pin.OutputConfig = {static_cast<uint8_t>(p.type), 64, 10, 64, 127, 58, 20, 10, 64, 0, 64, 0, 0};
      pin.DccAddressCount = 2;
      for (int a = 0; a < kAspectCount; ++a) {
        pin.Aspects[a].Description = "aspect";
        for (int s = 0; s < kStepCount; ++s) {
          // "SendSerial 1" first: changing its code leaves parameters every instruction takes.
          pin.Aspects[a].Steps[s] = (a + s) % 2 == 0 ? StepRecord{4, 0, 0, 100, 50, 3} : StepRecord{9, 1, 2, 5, 0, 1};
        }
      }
    }
  }

  std::string Compose() {
    bool quotes = false;
    return ComposeDataFile(model, general, events, true, quotes);
  }

  void Restore() {
    model = base_.Model;
    general = base_.General;
    events = base_.Events;
  }

  // Checks every field the file holds; returns how many values were tried.
  int CheckEveryField() {
    base_ = {model, general, events};
    const std::string text = Compose();
    base_ = {model, general, events};  // the save reduced the servo flags
    const ConfigurationRef config{base_.Model, base_.General, base_.Events};
    std::map<std::string, bool> rangesTried;
    int tried = 0;
    for (const FieldId& id : AllFields()) {
      const FieldKindInfo& info = InfoOf(id.Kind);
      if (info.IsText || !FieldInFile(id, config)) continue;
      if (id.Pin >= 0 && base_.Model.PinTable[id.Pin].Description.empty() && InfoOf(id.Kind).FileTag != std::string("Eon") &&
          InfoOf(id.Kind).FileTag != std::string("Eof")) {
        continue;  // a compact save leaves the pin out
      }
      const std::string name = FieldName(id, 0);
      const FieldRange range = FieldRangeOf(id, RangeContextOf(id, config));
      EXPECT_FALSE(range.Held.empty()) << name;

      for (int value : Beyond(range)) {
        const std::optional<std::string> changed = WithField(text, id, value);
        if (!changed) {
          ADD_FAILURE() << name << " is not where the table says";
          break;
        }
        Restore();
        prompt.Clear();
        EXPECT_FALSE(LoadDataFileText(data, *changed)) << name << " = " << value;
        EXPECT_EQ(prompt.Messages.size(), 1u);
        // Refused with the record named: "Invalid configuration file\nline 45: Pin: ..."
        const std::string told = prompt.Messages.empty() ? "" : prompt.Messages[0];
        EXPECT_EQ(told.rfind("Invalid configuration file\nline ", 0), 0u) << told;
        EXPECT_NE(told.find(std::string(": ") + info.FileTag + ": "), std::string::npos) << told;
        EXPECT_EQ(Compose(), text) << name << " = " << value << " changed the configuration";
        ++tried;
      }

      // Every value a field can take, once per kind of range.
      std::string key = std::to_string(static_cast<int>(id.Kind)) + "/" + std::to_string(id.Index);
      for (const auto* spans : {&range.Held, &range.Converted})
        for (const ValueSpan& s : *spans) key += "/" + std::to_string(s.Min) + ".." + std::to_string(s.Max);
      if (rangesTried[key]) continue;
      rangesTried[key] = true;
      for (int value = range.Lowest(); value <= range.Highest(); ++value) {
        if (!range.Accepts(value)) continue;
        const bool edge = !range.Accepts(value - 1) || !range.Accepts(value + 1);
        if (!edge && value % kPropertyStride != 0) continue;
        const std::string what = name + " = " + std::to_string(value);
        Restore();
        if (!LoadDataFileText(data, *WithField(text, id, value))) {
          ADD_FAILURE() << what << " was refused";
          continue;
        }
        const int loaded = FieldValue(id, ConfigurationRef{model, general, events});
        const std::string saved = Compose();
        Restore();
        if (!LoadDataFileText(data, saved)) {
          ADD_FAILURE() << what << " was saved as a file that is refused";
          continue;
        }
        const int again = FieldValue(id, ConfigurationRef{model, general, events});
        if (range.Keeps(value)) {
          EXPECT_EQ(loaded, value) << what << " did not load unchanged";
          EXPECT_EQ(again, value) << what << " did not save unchanged";
        } else {
          // An older form: it stands for a value that is then kept.
          EXPECT_TRUE(range.Keeps(again)) << what << " saved as " << again;
          EXPECT_EQ(Compose(), saved) << what;
        }
        ++tried;
      }
    }
    return tried;
  }

  struct Saved {
    ConfigModel Model;
    GeneralSettings General;
    EventControlState Events;
  } base_;
};

TEST_F(FieldRangeTest, WithFlexibleAddressingEveryFieldKeepsItsRange) {
  FillBase(true);
  EXPECT_GT(CheckEveryField(), 5000 / kPropertyStride);
}

TEST_F(FieldRangeTest, WithNativeModeAndEnforcedExtendedAddressEveryFieldKeepsItsRange) {
  FillBase(false);
  EXPECT_GT(CheckEveryField(), 5000 / kPropertyStride);
}

// Each kind of field sits where the table says, so that the checks above reach them all.
TEST_F(FieldRangeTest, TheBaseFileHoldsEveryNumericKindOfField) {
  FillBase(true);
  const std::string text = Compose();
  const ConfigurationRef config{model, general, events};
  for (const FieldKindInfo& info : FieldKinds()) {
    EXPECT_EQ(&InfoOf(info.Kind), &info) << info.Label << ": the table is out of order";
    if (info.IsText) continue;
    bool found = false;
    for (const FieldId& id : AllFields()) {
      if (id.Kind == info.Kind && FieldInFile(id, config) && WithField(text, id, FieldValue(id, config)) == text) {
        found = true;
        break;
      }
    }
    EXPECT_TRUE(found) << info.Label;
  }
}

}  // namespace
}  // namespace brixo::testing
