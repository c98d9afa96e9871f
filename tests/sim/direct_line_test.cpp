// The controller on the direct line: which frames it takes, how its replies look.
#include <gtest/gtest.h>

#include "sim_test_support.h"

namespace brixo::test {
namespace {

TEST(DirectLine, AnswersWithEchoedAddressHeaderAndCheckByte) {
  Line line;
  line.port.Controller().SetModuleAddress(1);
  // Read of the module extended address, module 1, alternation bit set.
  const Bytes reply = line.Send({0x47, 0xE2, 0xF0, 0x82, 0xE5});
  EXPECT_EQ(reply, (Bytes{0x47, 0xE3, 0xF0, 0x82, 0x80, 0xE4}));
  EXPECT_EQ(line.port.ReceivedPayloads(), (std::vector<std::vector<int>>{{112, 2}}));
}

TEST(DirectLine, EmptyFrameAnswersTheFourFeedbackValues) {
  Line line;
  line.port.Controller().SetFeedback({1, 0, 64, 3});
  const Bytes reply = line.Send({0x03, 0xE0, 0x9D});
  ASSERT_EQ(reply.size(), 7u);
  EXPECT_EQ(reply[0], 0x03);
  EXPECT_EQ(reply[1], 0xE4);
  EXPECT_EQ((Bytes{reply[2], reply[3], reply[4], reply[5]}), (Bytes{0x81, 0x80, 0xC0, 0x83}));
  EXPECT_TRUE(SumValid(reply));
}

TEST(DirectLine, IgnoresWhatIsNotAValidFrameForIt) {
  struct Case {
    const char* name;
    Bytes bytes;
  };
  const Case cases[] = {
      {"other module", Request(1, {112, 0})},
      {"bad check byte", {0x03, 0xE2, 0xF0, 0x80, 0xAC}},
      {"truncated", {0x03, 0xE2, 0xF0}},
      {"noise only", {0xF0, 0x80, 0xAB}},
  };
  for (const Case& c : cases) {
    Line line;
    EXPECT_TRUE(line.Send(c.bytes).empty()) << c.name;
    EXPECT_TRUE(line.port.ReceivedPayloads().empty()) << c.name;
  }
}

TEST(DirectLine, NoiseBeforeAnAddressByteIsDroppedAndANewAddressByteRestarts) {
  Line line;
  Bytes bytes{0xFF, 0xA5, 0x03, 0xE2};  // a frame broken off after its header
  const Bytes good = Request(0, {112, 0});
  bytes.insert(bytes.end(), good.begin(), good.end());
  const Bytes reply = line.Send(bytes);
  ASSERT_FALSE(reply.empty());
  EXPECT_EQ(reply[1], 0xE6);
  EXPECT_EQ(line.port.ReceivedPayloads(), (std::vector<std::vector<int>>{{112, 0}}));
}

TEST(DirectLine, WithoutTheBidirectionalBitWritesAreCarriedOutButNotAnswered) {
  Line line;
  EXPECT_TRUE(line.Send(Request(0, {96, 5, 9}, false, false)).empty());
  EXPECT_EQ(line.port.Controller().Memory().DccOptions, 9);
  // While bidirectional a write is acknowledged with its first two bytes.
  EXPECT_EQ(line.Ask({96, 5, 3}), (std::vector<int>{96, 5}));
}

TEST(DirectLine, ResyncBurstAndSynchronisingFrameAreNeitherAnsweredNorRecorded) {
  Line line;
  Bytes bytes{0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xAA, 0xAA, 0xAA, 0x07, 0xC0, 0xB9};
  const Bytes real = Request(1, {112, 0}, true);
  bytes.insert(bytes.end(), real.begin(), real.end());
  line.port.Controller().SetModuleAddress(1);
  const Bytes reply = line.Send(bytes);
  ASSERT_EQ(reply.size(), 9u);
  EXPECT_EQ(reply[0], 0x47);
  EXPECT_EQ(line.port.ReceivedPayloads(), (std::vector<std::vector<int>>{{112, 0}}));
}

TEST(DirectLine, LegacyFramesAreRecordedNeverAnsweredAndDriveTheOutputs) {
  Line line;
  line.port.Controller().SetModuleAddress(15);
  Bytes bytes{0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xAA, 0xAA, 0xAA};
  for (const Bytes& f : {WithCheck({63, 128, 128, 128}),        // synchronising frame
                         WithCheck({63, 128 + 0, 128 + 4, 128 + 2}),   // set aspect
                         WithCheck({63, 128 + 10, 128 + 7, 128 + 30}),  // lamp test
                         WithCheck({7, 128 + 0, 128 + 5, 128 + 1})}) {  // another module
    bytes.insert(bytes.end(), f.begin(), f.end());
  }
  EXPECT_TRUE(line.Send(bytes).empty());
  EXPECT_EQ(line.port.LegacyFrames(),
            (std::vector<std::array<int, 4>>{{63, 0, 4, 2}, {63, 10, 7, 30}, {7, 0, 5, 1}}));
  LiveOutputs& outputs = line.port.Controller().Outputs();
  EXPECT_EQ(outputs.Aspect[4], 2);
  EXPECT_EQ(outputs.Aspect[5], -1);
  EXPECT_TRUE(outputs.LampTest[7]);
  line.Send(WithCheck({63, 128 + 2, 128, 128}));  // reset
  EXPECT_EQ(outputs.Aspect[4], -1);
  EXPECT_EQ(outputs.ResetCount, 1);
}

TEST(DirectLine, ExtendedAddressSelectsTheControllerAndIsEchoed) {
  Line line;
  line.port.Controller().Memory().ModuleXAddress = 42;
  EXPECT_TRUE(line.Send(Request(0, {112, 0}, false, true, 41)).empty());
  const Bytes reply = line.Send(Request(0, {112, 0}, false, true, 42));
  ASSERT_EQ(reply.size(), 10u);
  EXPECT_EQ(reply[1], 0xF6);
  EXPECT_EQ(reply[2], 128 + 42);
  EXPECT_TRUE(SumValid(reply));
  // A plain frame still reaches it.
  EXPECT_EQ(line.Ask({112, 2}), (std::vector<int>{112, 2, 42}));
}

}  // namespace
}  // namespace brixo::test
