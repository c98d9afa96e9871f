#include <gtest/gtest.h>

#include <optional>
#include <set>

#include "files_test_support.h"
#include "support/comma_locale.h"

namespace brixo::testing {
namespace {

const std::string kDataDir = BRIXO_TEST_DATA_DIR;

bool Known(int op) {
  return op <= 18 ? op != 2 : (op >= 32 && op <= 39) || (op >= 42 && op <= 47) || (op >= 96 && op <= 107) ||
                                  (op >= 112 && op <= 123) || op == 127;
}
bool FadeAllowed(int op) { return op == 3 || (op >= 6 && op <= 15) || (op >= 32 && op <= 39) || (op >= 42 && op <= 47); }
bool UsesPinOffset(int op) {
  return op == 3 || (op >= 6 && op <= 15) || op == 17 || (op >= 32 && op <= 47) || (op >= 104 && op <= 123) || op == 127;
}

// The section of a definitions text from the device's "Dev" record up to the next device.
std::string Section(const std::string& text, const std::string& name) {
  const size_t start = text.find("Dev,\"" + name + "\"\r\n");
  if (start == std::string::npos) return "";
  size_t end = text.find("\r\nDev,", start);
  if (end == std::string::npos) end = text.find("\r\nEnd\r\n", start);
  return text.substr(start, end - start);
}

TEST_F(FilesTest, EveryShippedDeviceLoadsCleanlyAndMakesSense) {
  ASSERT_TRUE(LoadStandardDefinitions(devices, kDataDir));
  EXPECT_EQ(library.lblDDVersion, "1.0");
  ASSERT_GE(library.cboDevice.size(), 8u);
  const std::string original = ReadAll(kDataDir + "/BrixoDevices.def");

  for (size_t d = 0; d < library.cboDevice.size(); ++d) {
    const std::string name = library.cboDevice[d];
    SCOPED_TRACE(name);
    model.PinTable = PinArray{};
    model.CurrentPin = 0;
    SelectDevice(library, static_cast<int>(d));
    ASSERT_TRUE(LoadDevice(devices));
    EXPECT_TRUE(prompt.Shown.empty()) << Messages();

    for (int p = 0; p < kPinCount; ++p) {
      const PinRecord& pin = model.PinTable[p];
      if (pin.Description.empty()) continue;
      EXPECT_EQ(p + pin.DevicePointer, 0) << "pin " << p;
      const int aspects = pin.AspectConfig == 3 ? 4 : pin.AspectConfig == 2 ? 12 : 0;
      const int steps = pin.AspectConfig == 3 ? 9 : 3;
      for (int a = 0; a < aspects; ++a) {
        for (int s = 0; s < steps; ++s) {
          const StepRecord& step = pin.Aspects[a].Steps[s];
          const int op = step.Instruction;
          SCOPED_TRACE("pin " + std::to_string(p) + " aspect " + std::to_string(a) + " step " + std::to_string(s));
          EXPECT_TRUE(Known(op)) << op;
          if (step.Fade) {
            EXPECT_TRUE(FadeAllowed(op)) << op;
          }
          if (op >= 96) {
            EXPECT_LE(step.Par2, 63);
            EXPECT_LE(step.Par3, 3);
          }
          if (op == 38 || (op >= 96 && op <= 99)) {
            EXPECT_LE(step.Par1, 31);
          }
          if (op == 1) {
            EXPECT_LT(step.Par1, aspects);
            EXPECT_LT(step.Par2, steps);
          }
          // Steps act on pins of their own device, driven the way the step needs.
          const int target = UsesPinOffset(op) ? (p + step.Par0) % kPinCount : p;
          const PinRecord& driven = model.PinTable[target];
          if (UsesPinOffset(op)) {
            EXPECT_FALSE(driven.Description.empty()) << "offset " << int(step.Par0);
          }
          if (op == 39 || op == 100 || op == 101) {
            EXPECT_EQ(driven.OutputConfig[0], 1);
          }
          if (op == 38 || (op >= 96 && op <= 99)) {
            EXPECT_TRUE(driven.OutputConfig[0] == 2 || driven.OutputConfig[0] == 3);
          }
          if (op == 16 || op == 17) {
            EXPECT_TRUE(driven.OutputConfig[0] == 4 || driven.OutputConfig[0] == 5);
          }
        }
      }
    }
    // The library is written the way "Save Device" writes.
    bool quotes = false;
    EXPECT_EQ(Section(ComposeDeviceFile(model.PinTable, 0, quotes), name), Section(original, name));
  }
}

// Also where the desktop's locale writes a decimal comma.
TEST_F(FilesTest, DemoConfigurationLoadsAndSavesBackUnchanged) {
  for (const bool comma : {false, true}) {
    SCOPED_TRACE(comma ? "decimal comma" : "C locale");
    std::optional<test::CommaLocale> locale;
    if (comma) {
      locale.emplace();
      if (!locale->Active()) GTEST_SKIP() << "no locale with a decimal comma could be made";
    }
    ASSERT_TRUE(LoadDataFileFrom(data, kDataDir + "/demo.dat"));
    EXPECT_TRUE(prompt.Shown.empty()) << Messages();
    EXPECT_EQ(general.TextGenIDString, "Demo Layout");
    int described = 0;
    for (const PinRecord& pin : model.PinTable) described += !pin.Description.empty();
    EXPECT_GE(described, 8);
    ASSERT_TRUE(SaveDataFileTo(data, PathOf("again.dat"), true));
    EXPECT_EQ(ReadAll(PathOf("again.dat")), ReadAll(kDataDir + "/demo.dat"));
  }
}

}  // namespace
}  // namespace brixo::testing
