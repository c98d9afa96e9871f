#include "model/device_membership.h"
#include "model/edit_operations.h"

#include <gtest/gtest.h>

namespace brixo {
namespace {

StepRecord Step(int instruction, int par = 0) {
  const auto p = static_cast<uint8_t>(par);
  return StepRecord{static_cast<uint8_t>(instruction), 1, p, p, p, p};
}

// Pins 3..5 form a device headed by 3.
ConfigModel ModelWithDevice() {
  ConfigModel m;
  m.PinTable[3].DeviceDescription = "Signal";
  m.PinTable[4].DevicePointer = -1;
  m.PinTable[5].DevicePointer = -2;
  return m;
}

TEST(PinClipboardTest, PastedMemberKeepsItsHead) {
  ConfigModel m;
  m.PinTable[6].DevicePointer = -2;  // member of the device headed by 4
  m.PinTable[6].Description = "yellow";
  m.CurrentPin = 6;
  PinClipboard clip;
  CopyPin(m, clip);
  m.PinTable[6].Description = "changed after copy";

  m.CurrentPin = 10;
  ASSERT_TRUE(PastePin(m, clip));
  EXPECT_EQ(m.PinTable[10].DevicePointer, -6);
  EXPECT_EQ(m.PinTable[10].Description, "yellow");
}

TEST(PinClipboardTest, PasteOntoHeadReleasesItsDeviceAndCopiedHeadStaysHead) {
  ConfigModel m = ModelWithDevice();
  m.PinTable[20].DeviceDescription = "Turnout";
  m.CurrentPin = 20;
  PinClipboard clip;
  CopyPin(m, clip);

  m.CurrentPin = 3;
  ASSERT_TRUE(PastePin(m, clip));
  for (int p : {4, 5}) {
    EXPECT_EQ(m.PinTable[p].DevicePointer, 0) << p;
    EXPECT_TRUE(m.PinTable[p].DeviceDescription.empty()) << p;
  }
  EXPECT_EQ(m.PinTable[3].DevicePointer, 0);
  EXPECT_EQ(m.PinTable[3].DeviceDescription, "Turnout");
}

TEST(PinClipboardTest, EmptyClipboardPastesNothing) {
  ConfigModel m = ModelWithDevice();
  m.CurrentPin = 3;
  const PinArray before = m.PinTable;
  EXPECT_FALSE(PastePin(m, PinClipboard{}));
  EXPECT_EQ(m.PinTable, before);
}

TEST(PinClipboardTest, ClearPinReleasesDeviceAndKeepsCountsAndLevel) {
  ConfigModel m = ModelWithDevice();
  PinRecord& pin = m.PinTable[3];
  pin.Description = "red";
  pin.AspectConfig = 3;
  pin.InitAspect = 2;
  pin.DccAddressCount = 2;
  pin.SerialAddressCount = 3;
  pin.OutputLevel = 64;
  pin.OutputConfig.fill(7);
  pin.Aspects[1].Description = "Stop";
  pin.Aspects[1].Steps[4] = Step(9, 5);
  m.CurrentPin = 3;

  ClearCurrentPin(m);
  EXPECT_EQ(m.PinTable[4].DevicePointer, 0);
  EXPECT_EQ(m.PinTable[5].DevicePointer, 0);
  EXPECT_TRUE(pin.Description.empty());
  EXPECT_TRUE(pin.DeviceDescription.empty());
  EXPECT_EQ(pin.AspectConfig, 0);
  EXPECT_EQ(pin.InitAspect, 0);
  EXPECT_EQ(pin.DccAddressCount, 2);
  EXPECT_EQ(pin.SerialAddressCount, 3);
  EXPECT_EQ(pin.OutputLevel, 64);
  EXPECT_EQ(pin.OutputConfig[0], 0);
  EXPECT_EQ(pin.OutputConfig[11], 0);
  EXPECT_EQ(pin.OutputConfig[12], 7);
  EXPECT_EQ(pin.Aspects[1], AspectRecord{});
}

TEST(DissolveDeviceTest, MemberPinChangesNothing) {
  ConfigModel m = ModelWithDevice();
  const PinArray before = m.PinTable;
  DissolveDevice(m.PinTable, 4);
  EXPECT_EQ(m.PinTable, before);
}

TEST(AspectClipboardTest, PasteGivesStateAtCopyTime) {
  ConfigModel m;
  m.CurrentPin = 2;
  m.CurrentAspect = 1;
  m.PinTable[2].Aspects[1].Description = "Clear";
  m.PinTable[2].Aspects[1].Steps[0] = Step(24, 1);
  AspectClipboard clip;
  CopyAspect(m, clip);
  m.PinTable[2].Aspects[1].Steps[0] = Step(9);

  m.CurrentPin = 7;
  m.CurrentAspect = 3;
  ASSERT_TRUE(PasteAspect(m, clip));
  EXPECT_EQ(m.PinTable[7].Aspects[3].Description, "Clear");
  EXPECT_EQ(m.PinTable[7].Aspects[3].Steps[0], Step(24, 1));
  EXPECT_FALSE(PasteAspect(m, AspectClipboard{}));
}

TEST(AspectEditTest, ClearAndCleanup) {
  ConfigModel m;
  AspectRecord& a = m.PinTable[0].Aspects[0];
  auto fill = [&] {
    a.Description = "x";
    for (int s = 0; s < kStepCount; ++s) a.Steps[s] = Step(s % 2 == 0 ? 9 : 0, 5);
  };
  fill();
  CleanupAspect(m);
  EXPECT_TRUE(a.Description.empty());
  EXPECT_EQ(a.Steps[0], Step(9, 5));
  for (int s = 1; s < kStepCount; ++s) EXPECT_EQ(a.Steps[s], StepRecord{}) << s;

  // No empty step: only the description goes.
  for (auto& s : a.Steps) s = Step(9, 5);
  a.Description = "x";
  CleanupAspect(m);
  EXPECT_TRUE(a.Description.empty());
  EXPECT_EQ(a.Steps[8], Step(9, 5));

  fill();
  ClearAspect(m);
  EXPECT_EQ(a, AspectRecord{});
}

struct StepShiftCase {
  const char* name;
  int layout;  // AspectConfig
  bool insert;
  int at;
  std::array<int, kStepCount> expected;  // instructions after the shift
};

class StepShiftTest : public ::testing::TestWithParam<StepShiftCase> {};

TEST_P(StepShiftTest, MovesOnlyTheLayoutsSteps) {
  const StepShiftCase& c = GetParam();
  ConfigModel m;
  m.CurrentPin = 4;
  m.CurrentAspect = 2;
  PinRecord& pin = m.PinTable[4];
  pin.AspectConfig = static_cast<uint8_t>(c.layout);
  for (int s = 0; s < kStepCount; ++s) pin.Aspects[2].Steps[s] = Step(s + 1, s + 1);

  if (c.insert) {
    InsertStep(m, c.at);
  } else {
    DeleteStep(m, c.at);
  }
  for (int s = 0; s < kStepCount; ++s) {
    const StepRecord& step = pin.Aspects[2].Steps[s];
    EXPECT_EQ(step.Instruction, c.expected[s]) << "step " << s;
    if (c.expected[s] == 0) {
      EXPECT_EQ(step, StepRecord{}) << "step " << s;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    EditStep, StepShiftTest,
    ::testing::Values(
        StepShiftCase{"InsertLastOfTwelve", 2, true, 2, {1, 2, 0, 4, 5, 6, 7, 8, 9}},
        StepShiftCase{"InsertFirstOfTwelve", 2, true, 0, {0, 1, 2, 4, 5, 6, 7, 8, 9}},
        StepShiftCase{"InsertMiddleOfFour", 3, true, 3, {1, 2, 3, 0, 4, 5, 6, 7, 8}},
        StepShiftCase{"DeleteFirstOfFour", 3, false, 0, {2, 3, 4, 5, 6, 7, 8, 9, 0}},
        StepShiftCase{"DeleteLastOfFour", 3, false, 8, {1, 2, 3, 4, 5, 6, 7, 8, 0}},
        StepShiftCase{"DeleteFirstOfTwelve", 2, false, 0, {2, 3, 0, 4, 5, 6, 7, 8, 9}},
        StepShiftCase{"BeyondTwelveLayoutUntouched", 2, true, 5, {1, 2, 3, 4, 5, 6, 7, 8, 9}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace brixo
