// Several controllers on one simulated line: who answers what, collisions, repeated frames,
// the order of late and prompt replies, and the options that put them on the line.
#include <gtest/gtest.h>

#include "sim/sim_options.h"
#include "sim_test_support.h"

namespace brixo::test {
namespace {

// The payload of the first well-formed reply in bytes; nothing when there is none.
std::optional<std::vector<int>> ReplyPayload(const Bytes& bytes) {
  for (size_t start = 0; start < bytes.size(); ++start) {
    if (bytes[start] >= 0x80 || start + 1 >= bytes.size()) continue;
    const size_t skip = (bytes[start + 1] & 16) ? 3 : 2;
    const size_t length = skip + (bytes[start + 1] & 15) + 1;
    if (start + length > bytes.size()) continue;
    const Bytes frame(bytes.begin() + start, bytes.begin() + start + length);
    if (!SumValid(frame)) continue;
    std::vector<int> out;
    for (size_t i = skip; i + 1 < frame.size(); ++i) out.push_back(frame[i] & 127);
    return out;
  }
  return std::nullopt;
}

TEST(SeveralControllers, EachAnswersItsOwnAddressWithItsOwnMemory) {
  Line line;
  line.port.Controller().SetModuleAddress(1);
  line.port.Controller().Memory().IdString = "one";
  line.port.Controllers().Add(5).Memory().IdString = "five";
  line.port.Controllers().Add(5).Memory().ModuleXAddress = 7;  // a second one at 5, behind 7
  line.port.Controllers().At(2).Memory().IdString = "seven";
  struct Case {
    int module;
    std::optional<int> extended;
    std::optional<std::vector<int>> reply;
  };
  const Case cases[] = {
      {1, std::nullopt, std::vector<int>{112, 10, 'o', 'n', 'e'}},
      {5, 0, std::vector<int>{112, 10, 'f', 'i', 'v', 'e'}},
      {5, 7, std::vector<int>{112, 10, 's', 'e', 'v', 'e', 'n'}},
      {5, std::nullopt, std::nullopt},  // both at module 5 answer: a collision
      {5, 3, std::nullopt},
      {2, std::nullopt, std::nullopt},
  };
  bool toggle = false;
  for (const Case& c : cases) {
    toggle = !toggle;
    EXPECT_EQ(ReplyPayload(line.Send(Request(c.module, {112, 10}, toggle, true, c.extended))), c.reply)
        << c.module << "/" << c.extended.value_or(-1);
  }
  EXPECT_EQ(line.port.Controllers().Find(5, 7)->Memory().IdString, "seven");
  EXPECT_EQ(line.port.Controllers().Find(5)->Memory().IdString, "five");
  EXPECT_EQ(line.port.Controllers().Find(6), nullptr);
}

TEST(SeveralControllers, ThroughTheInterfaceUnitACollisionIsNoAnswer) {
  Line line;
  line.port.SetHostAttached(true);
  line.port.Controller().SetModuleAddress(20);
  line.port.Controllers().Add(20).Memory().ModuleXAddress = 4;
  line.Send(HostRequest({0, 96 + 20, 96, 112, 0}));
  EXPECT_EQ(line.Send(HostRequest({})).size(), 2u) << "nothing but the empty answer";
  line.Send(HostRequest({0, 96 + 20, 112, 4, 112, 0}));
  const Bytes answer = line.Send(HostRequest({}));
  ASSERT_GT(answer.size(), 5u);
  EXPECT_EQ(answer[4] & 127, 4) << "the one behind extended address 4 answered";
}

TEST(SeveralControllers, AFrameRepeatedWithTheSameAlternationBitIsCarriedOutOnce) {
  Line line;
  const Bytes write = Request(0, {96, 6, 3}, true);
  const Bytes first = line.Send(write);
  const Bytes again = line.Send(write);
  EXPECT_FALSE(first.empty());
  EXPECT_EQ(again, first) << "answered again";
  EXPECT_EQ(line.port.ReceivedPayloads().size(), 1u) << "but carried out once";
  // The other alternation bit is a new frame; so is the same frame after a resynchronisation.
  line.Send(Request(0, {96, 6, 3}, false));
  EXPECT_EQ(line.port.ReceivedPayloads().size(), 2u);
  line.Send(Request(0, {96, 6, 3}, false));
  EXPECT_EQ(line.port.ReceivedPayloads().size(), 2u);
  Bytes resync{0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xAA, 0xAA, 0xAA, 0x03, 0xC0, 0xBD};
  line.Send(resync);
  line.Send(Request(0, {96, 6, 3}, false));
  EXPECT_EQ(line.port.ReceivedPayloads().size(), 3u);
}

TEST(SeveralControllers, ALateReplyDoesNotHoldUpAPromptOneAskedAfterIt) {
  Line line;
  line.port.Controller().SetModuleAddress(3);
  line.port.Controller().Faults().ReplyDelaySeconds = 0.5;
  line.port.Controllers().Add(4);
  line.port.Write(Request(3, {112, 0}));
  line.port.Write(Request(4, {112, 0}));
  ASSERT_TRUE(line.port.WaitForBytes(100));
  Bytes prompt;
  while (line.port.BytesWaiting() > 0) prompt.push_back(static_cast<uint8_t>(line.port.ReadByte()));
  ASSERT_FALSE(prompt.empty());
  EXPECT_EQ(prompt[0], 4 * 4 + 3) << "module 4 first";
  line.clock.Advance(0.5);
  const Bytes late = line.Send({});
  ASSERT_FALSE(late.empty());
  EXPECT_EQ(late[0], 3 * 4 + 3) << "module 3 when its time has come";
}

TEST(SeveralControllers, ModulesOption) {
  struct Case {
    std::vector<std::string> args;
    bool ok;
    std::vector<std::tuple<int, int, std::string>> controllers;  // module, extended or -1, file
  };
  const Case cases[] = {
      {{}, true, {{0, -1, ""}}},
      {{"--module", "7"}, true, {{7, -1, ""}}},
      {{"--modules", "1,5,9"}, true, {{1, -1, ""}, {5, -1, ""}, {9, -1, ""}}},
      {{"--modules", "3:1,3:2,31"}, true, {{3, 1, ""}, {3, 2, ""}, {31, -1, ""}}},
      {{"--modules", "1,5:12", "--load", "5:12=b.dat", "--load", "a.dat"}, true, {{1, -1, "a.dat"}, {5, 12, "b.dat"}}},
      {{"--load", "x=y.dat", "--module", "2"}, true, {{2, -1, "x=y.dat"}}},
      {{"--modules", "1,1"}, false, {}},
      {{"--modules", "3,3:0"}, false, {}},
      {{"--modules", "32"}, false, {}},
      {{"--modules", "1:96"}, false, {}},
      {{"--modules", "1,,2"}, false, {}},
      {{"--modules", ""}, false, {}},
      {{"--modules"}, false, {}},
      {{"--modules", "1,5", "--load", "6=c.dat"}, false, {}},
  };
  for (const Case& c : cases) {
    SimOptions options;
    std::string error;
    const std::string label = c.args.empty() ? "(none)" : c.args[0] + " " + (c.args.size() > 1 ? c.args[1] : "");
    ASSERT_EQ(ParseSimOptions(c.args, options, error), c.ok) << label << ": " << error;
    if (!c.ok) {
      EXPECT_FALSE(error.empty()) << label;
      continue;
    }
    std::vector<std::tuple<int, int, std::string>> got;
    for (const SimLineController& s : LineControllers(options)) got.emplace_back(s.Module, s.Extended.value_or(-1), s.LoadPath);
    EXPECT_EQ(got, c.controllers) << label;
  }
}

}  // namespace
}  // namespace brixo::test
