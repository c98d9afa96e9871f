// Exchanges that wait their own way: a short window, quiet about silence, handing on the
// replies of other controllers; what the last exchange came to; input left from before a
// resynchronisation.
#include <gtest/gtest.h>

#include "link/frame_codec.h"
#include "link_test_support.h"

namespace brixo::test {
namespace {

// A reply frame of a module with the given alternation bit, payload 112, 0, 3, 2, 1, 0.
Bytes VersionReply(int module, int toggle, std::optional<int> extended = std::nullopt) {
  Bytes frame{static_cast<uint8_t>(module * 4 + 3 + toggle), static_cast<uint8_t>(0xE6 | (extended ? 0x10 : 0))};
  if (extended) frame.push_back(static_cast<uint8_t>(128 + *extended));
  for (int v : {112, 0, 3, 2, 1, 0}) frame.push_back(static_cast<uint8_t>(128 + v));
  return WithCheck(frame);
}

ReplyWait Quiet(double seconds, std::vector<OtherReply>* others = nullptr) {
  ReplyWait wait;
  wait.Seconds = seconds;
  wait.Quiet = true;
  if (others) wait.OnOtherReply = [others](const OtherReply& r) { others->push_back(r); };
  return wait;
}

TEST(ReplyWait, TheWindowIsTheCallersAndSilenceIsAnOutcomeNotAMessage) {
  struct Case {
    double window;
    double delay;
    bool quiet;
    ExchangeOutcome outcome;
    bool message;
    double roundTrip = 0;  // of a network port: every window grows by it
  };
  const Case cases[] = {
      {0.05, 0.04, true, ExchangeOutcome::Answered, false},
      {0.05, 0.06, true, ExchangeOutcome::NoReply, false},
      {0.05, 0.06, false, ExchangeOutcome::NoReply, true},
      {2.0, 1.9, false, ExchangeOutcome::Answered, false},
      {0.05, 0.12, true, ExchangeOutcome::Answered, false, 0.1},
      {0.05, 0.16, true, ExchangeOutcome::NoReply, false, 0.1},
      {2.0, 2.25, false, ExchangeOutcome::Answered, false, 0.3},
      {2.0, 2.35, false, ExchangeOutcome::NoReply, true, 0.3},
  };
  for (const Case& c : cases) {
    LinkRig rig;
    rig.Port.RoundTrip = c.roundTrip;
    rig.Link.ModuleAddress = 1;
    rig.Port.QueueReply(VersionReply(1, 0), c.delay);
    ReplyWait wait;
    wait.Seconds = c.window;
    wait.Quiet = c.quiet;
    const double start = rig.Clock.NowSeconds();
    EXPECT_TRUE(rig.Link.SendBrixoMessage(true, {112, 0}, wait));
    EXPECT_EQ(rig.Link.LastOutcome(), c.outcome) << c.delay;
    EXPECT_EQ(rig.Link.ReplyValid, c.outcome == ExchangeOutcome::Answered);
    EXPECT_LE(rig.Clock.NowSeconds() - start, c.window + c.roundTrip + 0.002) << "never waits beyond its window";
    EXPECT_EQ(!rig.Prompt.Messages.empty(), c.message) << c.delay;
    // Only a shown time-out switches replies off; a quiet one leaves the switch alone.
    EXPECT_EQ(rig.Link.CheckBrixoBD, !c.message) << c.delay;
    if (c.quiet && c.outcome == ExchangeOutcome::NoReply) {
      EXPECT_EQ(rig.Link.LastProblem(), "No response received");
    }
  }
}

TEST(ReplyWait, EveryWayAnExchangeEndsHasItsOutcome) {
  struct Case {
    const char* name;
    bool bidirectional;
    Bytes reply;
    std::vector<int> payload;
    ExchangeOutcome outcome;
  };
  const Case cases[] = {
      {"answered", true, VersionReply(1, 0), {112, 0}, ExchangeOutcome::Answered},
      {"written only", false, {}, {96, 5, 1}, ExchangeOutcome::Sent},
      {"wrong alternation bit", true, VersionReply(1, 64), {112, 0}, ExchangeOutcome::Refused},
      {"unexpected extended byte", true, VersionReply(1, 0, 4), {112, 0}, ExchangeOutcome::Refused},
      {"silent", true, {}, {112, 0}, ExchangeOutcome::NoReply},
      {"too long", true, {}, std::vector<int>(16, 0), ExchangeOutcome::NotSent},
  };
  for (const Case& c : cases) {
    LinkRig rig;
    rig.Link.ModuleAddress = 1;
    rig.Link.CheckBrixoBD = c.bidirectional;
    rig.Port.QueueReply(c.reply);
    rig.Link.SendBrixoMessage(true, c.payload, Quiet(0.1));
    EXPECT_EQ(rig.Link.LastOutcome(), c.outcome) << c.name;
    const bool refusedOrSilent = c.outcome == ExchangeOutcome::Refused || c.outcome == ExchangeOutcome::NoReply;
    EXPECT_EQ(!rig.Link.LastProblem().empty(), refusedOrSilent) << c.name;
    // A caller's mistake is still shown; the controller's are the caller's to judge.
    EXPECT_EQ(!rig.Prompt.Messages.empty(), c.outcome == ExchangeOutcome::NotSent) << c.name;
  }
  LinkRig broken;
  broken.Port.FailOnWait("device unplugged");
  broken.Link.SendBrixoMessage(true, {112, 0}, Quiet(0.1));
  EXPECT_EQ(broken.Link.LastOutcome(), ExchangeOutcome::LinkFailed);
  EXPECT_EQ(broken.Prompt.Messages, (std::vector<std::string>{"device unplugged"}));
}

TEST(ReplyWait, RepliesOfOtherControllersAreHandedOnAndTheWaitGoesOn) {
  struct Case {
    const char* name;
    bool extendedAddressing;
    Bytes before;  // arrives first, from someone else
    int otherModule;
    int otherExtended;  // -1: none
  };
  const Case cases[] = {
      {"another module", false, VersionReply(3, 64), 3, -1},
      {"another module, extended", true, VersionReply(3, 0, 7), 3, 7},
      {"same module, another extended address", true, VersionReply(1, 0, 6), 1, 6},
  };
  for (const Case& c : cases) {
    LinkRig rig;
    rig.Link.ModuleAddress = 1;
    rig.Link.CheckXaddress = c.extendedAddressing;
    rig.Link.ExtendedAddress = 7;
    Bytes both = c.before;
    const Bytes own = VersionReply(1, 0, c.extendedAddressing ? std::optional<int>(rig.Link.ExtendedAddress) : std::nullopt);
    both.insert(both.end(), own.begin(), own.end());
    rig.Port.QueueReply(both);
    std::vector<OtherReply> others;
    rig.Link.SendBrixoMessage(true, {112, 0}, Quiet(0.1, &others));
    EXPECT_EQ(rig.Link.LastOutcome(), ExchangeOutcome::Answered) << c.name;
    ASSERT_EQ(others.size(), 1u) << c.name;
    EXPECT_EQ(others[0].Module, c.otherModule) << c.name;
    EXPECT_EQ(others[0].Extended.value_or(-1), c.otherExtended) << c.name;
    EXPECT_EQ(others[0].Payload, (std::vector<int>{112, 0, 3, 2, 1, 0})) << c.name;
    EXPECT_EQ(rig.Log.Lines.size(), 3u) << "request, the other's reply, our reply: " << c.name;
  }
  // Without anyone to hand it to, another module's reply is an invalid response.
  LinkRig plain;
  plain.Link.ModuleAddress = 1;
  plain.Port.QueueReply(VersionReply(3, 0));
  plain.Link.SendBrixoMessage(true, {112, 0});
  EXPECT_FALSE(plain.Link.ReplyValid);
  ASSERT_EQ(plain.Prompt.Messages.size(), 1u);
  EXPECT_EQ(plain.Prompt.Messages[0].rfind("Invalid response received", 0), 0u);
}

TEST(ReplyWait, ListeningTakesEveryReplyWithinTheWindowAndSendsNothing) {
  LinkRig rig;
  Bytes two = VersionReply(4, 64);
  const Bytes second = VersionReply(15, 0);
  two.insert(two.end(), second.begin(), second.end());
  rig.Port.Feed(two);
  std::vector<OtherReply> others;
  const double start = rig.Clock.NowSeconds();
  rig.Link.ListenForReplies(Quiet(0.05, &others));
  ASSERT_EQ(others.size(), 2u);
  EXPECT_EQ(others[0].Module, 4);
  EXPECT_EQ(others[1].Module, 15);
  EXPECT_TRUE(rig.Port.Writes.empty());
  EXPECT_NEAR(rig.Clock.NowSeconds() - start, 0.05, 0.002);
}

TEST(ReplyWait, InputFromBeforeAResynchronisationIsNeverTheReply) {
  // A reply that arrived too late for its own exchange carries the address byte the next
  // one expects after a resynchronisation; it must not be taken for that one's reply.
  LinkRig rig;
  rig.Link.ModuleAddress = 2;
  rig.Link.ToggleState = 128;
  rig.Port.Feed(VersionReply(2, 64));
  Bytes fresh{static_cast<uint8_t>(2 * 4 + 3 + 64), 0xE3};
  for (int v : {112, 10, int('A')}) fresh.push_back(static_cast<uint8_t>(128 + v));
  rig.Port.QueueReply({});  // the burst
  rig.Port.QueueReply({});  // the synchronising frame
  rig.Port.QueueReply(WithCheck(fresh));
  rig.Link.SendBrixoMessage(true, {112, 10});
  ASSERT_TRUE(rig.Link.ReplyValid);
  EXPECT_EQ(rig.Link.R(1), 10);
  EXPECT_EQ(rig.Link.R(2), 'A');
}

}  // namespace
}  // namespace brixo::test
