// The interface unit: host frames, queries, tunnelling and transparent mode.
#include <gtest/gtest.h>

#include "sim/host_frame.h"
#include "sim/interface_unit.h"
#include "sim_test_support.h"

namespace brixo::test {
namespace {

using Payload = std::vector<int>;

// Data of a host answer, checked for a sound frame on the way.
std::optional<Payload> HostData(const Bytes& frame) {
  if (frame.size() < 2 || frame[0] >= 0x80 || !SumValid(frame)) return std::nullopt;
  Payload data;
  for (size_t i = 1; i + 1 < frame.size(); ++i) data.push_back(frame[i] & 127);
  if (static_cast<int>(data.size()) != HostDataLength(frame[0])) return std::nullopt;
  return data;
}

struct HostLine : Line {
  HostLine() { port.SetHostAttached(true); }
  std::optional<Payload> Host(const Payload& data) { return HostData(Send(HostRequest(data))); }
};

TEST(InterfaceUnit, LengthCoding) {
  struct Case {
    int m;
    int code;
  };
  const Case cases[] = {{0, 0x28}, {5, 0x2D}, {7, 0x2F}, {8, 0x00}, {15, 0x07}, {16, 0x10}, {23, 0x17}};
  for (const Case& c : cases) {
    EXPECT_EQ(HostLengthCode(c.m), c.code) << c.m;
    EXPECT_EQ(HostDataLength(static_cast<uint8_t>(c.code)), c.m) << c.m;
    EXPECT_EQ(HostDataLength(static_cast<uint8_t>(c.code | 0x40)), c.m) << c.m;
  }
  // Status flags in bits 4 and 5 of a short header do not change the length.
  EXPECT_EQ(HostDataLength(0x1B), 3);
}

TEST(InterfaceUnit, AnswersPollAndQueries) {
  HostLine line;
  EXPECT_EQ(line.Send({0x28, 0xD8}), (Bytes{0x28, 0xD8}));
  EXPECT_EQ(line.Host({1, 2}), (Payload{1, 2, 26, 0}));
  line.port.Host().Config().ProtocolVersion = 3199;
  line.port.Host().Config().UnitType = 10;
  line.port.Host().Config().UnitVersion = 1030;
  EXPECT_EQ(line.Host({1, 2}), (Payload{1, 2, 25, 79}));
  EXPECT_EQ(line.Host({1, 10}), (Payload{1, 10, 10, 8, 24}));
  EXPECT_EQ(line.port.Host().HostFrames().size(), 4u);
}

TEST(InterfaceUnit, AnswersAlternateTheirToggleBit) {
  HostLine line;
  const Bytes first = line.Send(HostRequest({}));
  const Bytes second = line.Send(HostRequest({}));
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(second.empty());
  EXPECT_NE(first[0] & 0x40, second[0] & 0x40);
}

TEST(InterfaceUnit, TunnelledRequestIsAnsweredAtTheNextPoll) {
  HostLine line;
  line.port.Controller().SetModuleAddress(1);
  line.port.Controller().Memory().SerialFlexFlag = 1;
  line.port.Controller().Memory().SerialAddressByte = 20;
  // Literal frame: data 0, 97, 96, 112, 8 with toggle 0.
  const Bytes request{0x2D, 0x80, 0xE1, 0xE0, 0xF0, 0x88, 0x9A};
  ASSERT_EQ(request, HostRequest({0, 97, 96, 112, 8}));
  EXPECT_EQ(HostData(line.Send(request)), Payload{});
  EXPECT_EQ(line.Host({}), (Payload{0, 97, 100, 112, 8, 1, 20}));
  EXPECT_EQ(line.Host({}), Payload{});
  EXPECT_EQ(line.port.ReceivedPayloads(), (std::vector<Payload>{{112, 8}}));
}

TEST(InterfaceUnit, SlowControllerKeepsThePollsEmptyUntilItsReplyIsThere) {
  HostLine line;
  line.port.Controller().Faults().ReplyDelaySeconds = 0.5;
  const double start = line.clock.NowSeconds();
  line.Host({0, 96, 96, 112, 5});
  int emptyPolls = 0;
  std::optional<Payload> answer;
  while ((answer = line.Host({})) == Payload{} && emptyPolls < 1000) ++emptyPolls;
  EXPECT_EQ(answer, (Payload{0, 96, 99, 112, 5, 0}));
  EXPECT_GT(emptyPolls, 10);  // each empty answer lets some time pass
  EXPECT_GE(line.clock.NowSeconds() - start, 0.5);
}

TEST(InterfaceUnit, TunnelledReplyCanComeWithTheRequestItself) {
  HostLine line;
  line.port.Host().Config().ReplyOnNextPoll = false;
  EXPECT_EQ(line.Host({0, 96, 96, 112, 0}), (Payload{0, 96, 102, 112, 0, 3, 2, 1, 0}));
}

TEST(InterfaceUnit, TunnelledModulesAboveFifteenAndExtendedAddresses) {
  HostLine line;
  line.port.Controller().SetModuleAddress(20);
  line.port.Controller().Memory().ModuleXAddress = 42;
  line.Host({0, 116, 112, 41, 112, 0});  // another extended address: nobody answers
  EXPECT_EQ(line.Host({}), Payload{});
  line.Host({0, 116, 112, 42, 112, 0});
  EXPECT_EQ(line.Host({}), (Payload{0, 116, 118, 42, 112, 0, 3, 2, 1, 0}));
  line.port.Controller().Faults().WrongExtendedByte = true;
  line.Host({0, 116, 112, 42, 112, 2});
  EXPECT_EQ(line.Host({}), (Payload{0, 116, 115, 43, 112, 2, 42}));
}

TEST(InterfaceUnit, VersionPacking) {
  struct Case {
    int version;
    int h;
    int l;
  };
  // 3199 and 1019 have no form of their own and fall back to the next one below.
  const Case cases[] = {{3200, 26, 0}, {3100, 25, 0}, {1020, 8, 16}, {1030, 8, 24}, {3199, 25, 79}, {1019, 8, 15}};
  for (const Case& c : cases) {
    EXPECT_EQ(PackHostVersion(c.version), std::make_pair(c.h, c.l)) << c.version;
  }
}

TEST(InterfaceUnit, TunnelledLegacyFrame) {
  HostLine line;
  EXPECT_EQ(line.Host({0, 96 + 15, 10, 3, 30}), Payload{});
  EXPECT_EQ(line.port.LegacyFrames(), (std::vector<std::array<int, 4>>{{63, 10, 3, 30}}));
  EXPECT_TRUE(line.port.ReceivedPayloads().empty());
}

TEST(InterfaceUnit, TransparentModePassesDirectFramesThrough) {
  HostLine line;
  EXPECT_EQ(line.Host({1, 5, 16}), Payload{});
  EXPECT_TRUE(line.port.Host().Transparent());
  EXPECT_EQ(line.Ask({112, 0}), (Payload{112, 0, 3, 2, 1, 0}));
}

TEST(InterfaceUnit, SilentUnitAndBadCheckByte) {
  HostLine line;
  line.port.Host().Config().Silent = true;
  EXPECT_TRUE(line.Send(HostRequest({})).empty());
  line.port.Host().Config().Silent = false;
  line.port.Host().Config().WrongCheckByte = true;
  const Bytes answer = line.Send(HostRequest({1, 2}));
  ASSERT_EQ(answer.size(), 6u);
  EXPECT_FALSE(SumValid(answer));
  // A host frame with a bad check byte is not taken at all.
  EXPECT_TRUE(line.Send({0x2A, 0x81, 0x82, 0x00}).empty());
}

}  // namespace
}  // namespace brixo::test
