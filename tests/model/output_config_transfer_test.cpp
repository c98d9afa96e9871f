#include "model/output_config_transfer.h"
#include "model/output_config.h"

#include <gtest/gtest.h>

#include "support/sim_link_fixture.h"

namespace brixo {
namespace {

using Config = std::array<uint8_t, 13>;

class OutputConfigTransferTest : public testing::SimLinkTest {
 protected:
  // What the controller holds for the pin: the stored and the active output configuration
  // and the output level.
  void SetOutputConfig(int pin, const Config& stored, const Config& active, int level) {
    PinMemory& p = port.Controller().Memory().Pins[pin];
    p.StoredOutputConfig = stored;
    p.ActiveOutputConfig = active;
    p.OutputLevel = static_cast<uint8_t>(level);
  }
  std::vector<int> LastPayload() const {
    const auto payloads = port.ReceivedPayloads();
    return payloads.empty() ? std::vector<int>{} : payloads.back();
  }

  ConfigModel model;
};

TEST_F(OutputConfigTransferTest, ReadMovesServoRangeOutOfTheHighHalf) {
  const Config servo{1, 70, 0x30, 64, 127, 58, 127, 127, 64, 0, 64, 0, 0};
  SetOutputConfig(4, servo, servo, 64);
  link.CheckBrixoBD = false;
  ASSERT_TRUE(ReadOutputConfig(link, model, 1, 4));
  EXPECT_TRUE(link.CheckBrixoBD);
  EXPECT_EQ(model.PinTable[4].OutputConfig[2], 43);
  EXPECT_EQ(model.PinTable[4].OutputConfig[1], 70);
  EXPECT_EQ(model.PinTable[4].OutputConfig[5], 58);
}

TEST_F(OutputConfigTransferTest, GetStoresCurrentPositionReadStoresInitialPosition) {
  const Config servo{1, 70, 8, 64, 127, 58, 127, 127, 64, 0, 64, 0, 0};
  SetOutputConfig(2, servo, servo, 90);
  ASSERT_TRUE(ReadOutputConfig(link, model, 0, 2));
  EXPECT_EQ(LastPayload(), (std::vector<int>{81, 2}));
  EXPECT_EQ(model.PinTable[2].OutputLevel, 90);
  EXPECT_EQ(model.PinTable[2].OutputConfig[1], 64);  // new servo: initial position 0
  ASSERT_TRUE(ReadOutputConfig(link, model, 1, 2));
  EXPECT_EQ(LastPayload(), (std::vector<int>{113, 2}));
  EXPECT_EQ(model.PinTable[2].OutputConfig[1], 70);
  EXPECT_EQ(model.PinTable[2].OutputLevel, 90);
}

TEST_F(OutputConfigTransferTest, ShortPwmReplyGetsDefaultLevels) {
  port.Controller().Faults().ShortPwmConfig = true;
  const Config pwm{2, 10, 1, 20, 9, 25};
  SetOutputConfig(7, pwm, pwm, 0);
  model.PinTable[7].OutputConfig[4] = 5;
  ASSERT_TRUE(ReadOutputConfig(link, model, 1, 7));
  EXPECT_EQ(model.PinTable[7].OutputConfig[3], 20);
  EXPECT_EQ(model.PinTable[7].OutputConfig[4], 0);
  EXPECT_EQ(model.PinTable[7].OutputConfig[5], 31);
}

TEST_F(OutputConfigTransferTest, FailedExchangeLeavesTheModelUnchanged) {
  port.Controller().Faults().NoReply = true;
  model.PinTable[1].OutputConfig = {1, 64, 8, 64};
  const PinRecord before = model.PinTable[1];
  EXPECT_FALSE(ReadOutputConfig(link, model, 1, 1));
  EXPECT_EQ(model.PinTable[1], before);
}

TEST_F(OutputConfigTransferTest, WritePayloadsPerType) {
  PinRecord& pin = model.PinTable[3];
  pin.OutputLevel = 80;
  const struct {
    Config config;
    int variant;
    std::vector<int> payload;
  } cases[] = {
      {{1, 70, 64 + 8 + 2, 64, 127, 58, 127, 127, 64, 0, 64, 0, 0}, 1,
       {97, 3, 1, 70, 10, 64, 127, 58, 127, 127, 64, 0, 64, 0}},
      {{1, 70, 10, 64, 127, 58, 127, 127, 64, 0, 64, 0, 0}, 0,
       {65, 3, 1, 80, 10, 64, 127, 58, 127, 127, 64, 0, 64, 0}},
      {{3, 5, 1, 28, 2, 31}, 1, {97, 3, 3, 5, 1, 28, 2, 31}},
      {{5, 0, 0, 4, 6}, 0, {65, 3, 5, 80, 0, 4, 6}},
      {{0, 9, 9}, 1, {97, 3, 0}},
      {{8, 9, 9}, 1, {97, 3, 0}},
  };
  for (const auto& c : cases) {
    pin.OutputConfig = c.config;
    WriteOutputConfig(link, model, c.variant, 3);
    EXPECT_EQ(LastPayload(), c.payload) << int(c.config[0]);
  }
  pin.OutputConfig[0] = 1;
  pin.OutputConfig[2] = 64 + 8;
  WriteOutputConfig(link, model, 1, 3);
  EXPECT_EQ(pin.OutputConfig[2], 8);  // "Servo Initialised" cleared in the model too
}

TEST_F(OutputConfigTransferTest, ServoFromThePageDefaultsReadsBackAsWritten) {
  PinRecord& pin = model.PinTable[5];
  InstallPageDefaults(pin, kPageServo);
  ASSERT_TRUE(WriteOutputConfig(link, model, 1, 5));
  EXPECT_EQ(LastPayload()[4], 8);  // range "Off" in bits 0..2, marked by bit 3
  EXPECT_EQ(pin.OutputConfig[2], 8);
  // Once the servo has moved the controller reports it initialised (bit 6).
  port.Controller().Memory().Pins[5].ActiveOutputConfig[2] |= 64;
  ASSERT_TRUE(ReadOutputConfig(link, model, 0, 5));
  EXPECT_EQ(ServoRangeOption(pin.OutputConfig[2]), 0);
  EXPECT_EQ(pin.OutputConfig[2] & 0x30, 0);  // neither suspended nor auto-suspending
}

TEST(ServoFlags, EveryFlagByteIsWrittenSoThatItReadsBackWithTheSameMeaning) {
  for (int held = 0; held < 128; ++held) {
    const uint8_t written = WrittenServoFlags(static_cast<uint8_t>(held));
    const uint8_t meant = NormalisedServoFlags(static_cast<uint8_t>(held & 63));
    EXPECT_EQ(written & 8, 8) << held;
    EXPECT_EQ(written & 0xC0, 0) << held;
    // What a read makes of it, with or without "Servo Initialised" reported.
    for (int initialised : {0, 64}) {
      const uint8_t read = NormalisedServoFlags(static_cast<uint8_t>(written | initialised));
      EXPECT_EQ(ServoRangeOption(read), ServoRangeOption(meant)) << held;
      EXPECT_EQ(read & 0x30, meant & 0x30) << held;
    }
  }
}

}  // namespace
}  // namespace brixo
