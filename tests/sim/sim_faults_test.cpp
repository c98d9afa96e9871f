// Each injected fault shows up on the line the way the tool's error paths expect.
#include <gtest/gtest.h>

#include <functional>

#include "sim_test_support.h"

namespace brixo::test {
namespace {

using Payload = std::vector<int>;

TEST(SimFaults, ReplyShapeFaults) {
  struct Case {
    const char* name;
    std::function<void(SimFaults&)> set;
    std::optional<int> requestExtended;
    std::function<void(const Bytes&)> check;
  };
  const Bytes normal{0x47, 0xE3, 0xF0, 0x82, 0x80, 0xE4};
  const Case cases[] = {
      {"no reply", [](SimFaults& f) { f.NoReply = true; }, std::nullopt,
       [](const Bytes& r) { EXPECT_TRUE(r.empty()); }},
      {"wrong check byte", [](SimFaults& f) { f.WrongCheckByte = true; }, std::nullopt,
       [&](const Bytes& r) {
         ASSERT_EQ(r.size(), normal.size());
         EXPECT_FALSE(SumValid(r));
         EXPECT_TRUE(std::equal(r.begin(), r.end() - 1, normal.begin()));
       }},
      {"alternation bit", [](SimFaults& f) { f.WrongAlternationBit = true; }, std::nullopt,
       [](const Bytes& r) {
         ASSERT_FALSE(r.empty());
         EXPECT_EQ(r[0], 0x07);
         EXPECT_TRUE(SumValid(r));
       }},
      {"stray bytes", [](SimFaults& f) { f.StrayBytes = 3; }, std::nullopt,
       [&](const Bytes& r) {
         ASSERT_EQ(r.size(), normal.size() + 3);
         for (int i = 0; i < 3; ++i) EXPECT_GE(r[i], 0x80);
         EXPECT_EQ(Bytes(r.begin() + 3, r.end()), normal);
       }},
      {"unexpected extended byte", [](SimFaults& f) { f.UnexpectedExtendedByte = true; }, std::nullopt,
       [](const Bytes& r) {
         ASSERT_EQ(r.size(), 7u);
         EXPECT_EQ(r[1], 0xF3);
         EXPECT_TRUE(SumValid(r));
       }},
      {"missing extended byte", [](SimFaults& f) { f.MissingExtendedByte = true; }, 0,
       [&](const Bytes& r) { EXPECT_EQ(r, normal); }},
      {"wrong extended byte", [](SimFaults& f) { f.WrongExtendedByte = true; }, 0,
       [](const Bytes& r) {
         ASSERT_EQ(r.size(), 7u);
         EXPECT_EQ(r[1], 0xF3);
         EXPECT_EQ(r[2], 0x81);
         EXPECT_TRUE(SumValid(r));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Line line;
    line.port.Controller().SetModuleAddress(1);
    c.set(line.port.Controller().Faults());
    c.check(line.Send(Request(1, {112, 2}, true, true, c.requestExtended)));
  }
}

TEST(SimFaults, FailAfterFramesLosesExactlyOneFrame) {
  Line line;
  line.port.Controller().Faults().FailAfterFrames = 2;
  EXPECT_TRUE(line.Ask({96, 5, 1}));
  EXPECT_TRUE(line.Ask({96, 6, 1}));
  EXPECT_FALSE(line.Ask({96, 7, 1}));
  EXPECT_TRUE(line.Ask({96, 7, 2}));
  EXPECT_EQ(line.port.Controller().Faults().FailAfterFrames, -1);
  EXPECT_EQ(line.port.ReceivedPayloads(), (std::vector<Payload>{{96, 5, 1}, {96, 6, 1}, {96, 7, 2}}));
  EXPECT_EQ(line.port.Controller().Memory().OrangeLed, 2);
}

TEST(SimFaults, ControllerWithoutEventControl) {
  Line line;
  line.port.Controller().Faults().NoEventControl = true;
  line.Ask({100, 2, 0x71});
  line.Ask({100, 2, 3, 31, 32, 59});
  EXPECT_EQ(line.Ask({116, 2}), (Payload{116, 2, 0x71}));
  EXPECT_EQ(line.Ask({117, 2}), (Payload{117, 2}));
  EXPECT_EQ(line.Ask({112, 11}), (Payload{112, 11}));
  EXPECT_EQ(line.port.Controller().Memory().Pins[2].OnActions, (std::array<uint8_t, 4>{0x0F, 0x1F, 0x2F, 0x3F}));
}

TEST(SimFaults, OldFirmwareReportsFivePwmBytes) {
  Line line;
  line.port.Controller().Faults().ShortPwmConfig = true;
  line.Ask({97, 6, 3, 9, 2, 20, 1, 30});
  EXPECT_EQ(line.Ask({113, 6}), (Payload{113, 6, 3, 9, 2, 20, 1}));
  line.Ask({97, 6, 5, 0, 0, 4, 4});
  EXPECT_EQ(line.Ask({113, 6}), (Payload{113, 6, 5, 0, 0, 4, 4}));
}

}  // namespace
}  // namespace brixo::test
