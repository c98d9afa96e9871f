#include "model/controller_encoding.h"

#include <gtest/gtest.h>

#include "model/pin_operations.h"

namespace brixo {
namespace {

struct StepCase {
  StepRecord step;
  EncodedStep encoded;
};

TEST(StepEncoding, EncodesAndDecodesBothWays) {
  const StepCase cases[] = {
      {{38, 1, 2, 17, 0, 0}, {54, 2, 17, 0, 0}},          // "Set Level" with fade
      {{9, 0, 31, 127, 0, 0}, {9, 31, 127, 0, 0}},
      {{4, 0, 0, 200, 0, 0}, {4, 1, 72, 0, 0}},           // top bit of Byte in D0 bit 0
      {{5, 0, 0, 129, 255, 0}, {5, 3, 1, 127, 0}},        // both top bits
      {{102, 0, 0, 0, 50, 1}, {102, 0, 0, 50, 1}},
      {{47, 1, 3, 60, 0, 0}, {63, 3, 60, 0, 0}},          // highest code that carries fade
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeStep(c.step), c.encoded) << int(c.step.Instruction);
    EXPECT_EQ(DecodeStep(c.encoded), c.step) << int(c.step.Instruction);
  }
}

TEST(StepEncoding, SendSerialDoesNotSendPar0) {
  StepRecord step{4, 0, 9, 1, 0, 0};
  EXPECT_EQ(EncodeStep(step).D0, 0);
  EXPECT_EQ(DecodeStep(EncodeStep(step)).Par0, 0);
}

TEST(StepEncoding, FadeOnlySplitBetween19And63) {
  const struct {
    int code;
    int instruction;
    int fade;
  } cases[] = {{16, 16, 0}, {17, 17, 0}, {18, 18, 0}, {19, 3, 1}, {54, 38, 1},
               {63, 47, 1}, {64, 64, 0}, {112, 112, 0}, {127, 127, 0}, {8, 8, 0}};
  for (const auto& c : cases) {
    StepRecord step;
    SplitStepCode(c.code, step);
    EXPECT_EQ(step.Instruction, c.instruction) << c.code;
    EXPECT_EQ(step.Fade, c.fade) << c.code;
  }
}

TEST(InitAspectEncoding, BothWays) {
  EXPECT_EQ(EncodeInitAspect(0), 0x7F);
  EXPECT_EQ(EncodeInitAspect(1), 0x70);
  EXPECT_EQ(EncodeInitAspect(12), 0x7B);
  const struct {
    int byte;
    int init;
  } reads[] = {{0x7F, 0}, {0x35, 0}, {0x70, 1}, {0x7B, 12}, {0x0F, 0}, {0xF3, 0}};
  for (const auto& r : reads) EXPECT_EQ(DecodeInitAspect(r.byte), r.init) << r.byte;
}

TEST(AddressEncoding, WritesTaggedBytesAndReadsThemInAnyOrder) {
  PinRecord pin;
  pin.DccAddressCount = 2;
  pin.XDccAddressCount = 1;
  pin.SerialAddressCount = 3;
  pin.DevicePointer = -3;
  EXPECT_EQ(EncodeAddressConfig(pin), (std::array<uint8_t, 3>{0x0A, 0x13, 0x5D}));

  PinRecord read;
  for (int byte : {0x5D, 0x13, 0x0A}) EXPECT_TRUE(DecodeAddressByte(byte, 5, read));
  EXPECT_EQ(read.DccAddressCount, 2);
  EXPECT_EQ(read.XDccAddressCount, 1);
  EXPECT_EQ(read.SerialAddressCount, 3);
  EXPECT_EQ(read.DevicePointer, -3);  // head 2

  PinRecord wrap;
  EXPECT_TRUE(DecodeAddressByte(0x40 + 3, 30, wrap));
  EXPECT_EQ(wrap.DevicePointer, -29);  // head (30 + 3) mod 32 = 1
  for (int bad : {0x20, 0x3F, 0x60, 0x7F}) EXPECT_FALSE(DecodeAddressByte(bad, 0, wrap)) << bad;
}

TEST(AspectLayout, CountsPerCode) {
  EXPECT_EQ(AspectCountOf(3) * StepCountOf(3), 36);
  EXPECT_EQ(AspectCountOf(2), 12);
  EXPECT_EQ(StepCountOf(2), 3);
  for (int code : {0, 1, 4, 127}) {
    EXPECT_EQ(AspectCountOf(code), 0);
    EXPECT_EQ(StepCountOf(code), 0);
  }
}

TEST(ClearPin, KeepsCountsLevelAndLastConfigByte) {
  PinRecord pin;
  pin.Description = "x";
  pin.DeviceDescription = "y";
  pin.DevicePointer = -2;
  pin.OutputConfig.fill(9);
  pin.OutputLevel = 40;
  pin.InitAspect = 3;
  pin.DccAddressCount = 2;
  pin.XDccAddressCount = 1;
  pin.SerialAddressCount = 4;
  pin.AspectConfig = 3;
  pin.Aspects[11].Description = "a";
  pin.Aspects[11].Steps[8] = {9, 1, 1, 1, 1, 1};
  ClearPin(pin);

  PinRecord expected;
  expected.OutputConfig[12] = 9;
  expected.OutputLevel = 40;
  expected.DccAddressCount = 2;
  expected.XDccAddressCount = 1;
  expected.SerialAddressCount = 4;
  EXPECT_EQ(pin, expected);
}

}  // namespace
}  // namespace brixo
