// Stopping a running operation: the token itself, the link refusing exchanges once it is
// tripped, the failures that trip it, and a port that goes away.
#include <gtest/gtest.h>

#include <cctype>
#include <optional>

#include "link/cancellation_token.h"
#include "link_test_support.h"
#include "support/case_name.h"

namespace brixo::test {
namespace {

TEST(CancellationToken, StopsOnlyTheOperationItWasTrippedIn) {
  CancellationToken token;
  token.Trip(StopReason::LinkFailure);
  EXPECT_TRUE(token.Tripped());
  EXPECT_FALSE(token.Stopping()) << "no operation runs";

  {
    CancellationScope operation(token);
    EXPECT_FALSE(token.Tripped()) << "a new operation starts unstopped";
    EXPECT_EQ(token.Done(), "");
    token.NoteDone("pin 3 of 32");
    token.Trip(StopReason::PortLost);
    token.Trip(StopReason::UserStop);
    EXPECT_TRUE(token.Stopping());
    EXPECT_EQ(token.Reason(), StopReason::PortLost) << "the first reason sticks";
  }
  EXPECT_FALSE(token.Stopping());
  EXPECT_EQ(token.Reason(), StopReason::PortLost) << "readable after the operation";
  EXPECT_EQ(token.Done(), "pin 3 of 32");
}

// One exchange that fails on the line, as the rig's port answers it.
struct LinkFault {
  const char* Name;
  bool Tunnelled;
  void (*Arrange)(LinkRig&);
  const char* Message;
};

// The direct reply to a version request of module 0 (alternation bit clear).
Bytes VersionReply() { return WithCheck({0x03, 0xE6, 0xF0, 0x80, 0x83, 0x82, 0x81, 0x80}); }

const LinkFault kLinkFaults[] = {
    {"no reply", false, [](LinkRig& r) { r.Port.QueueSilence(); },
     "No response received, resetting bidirectional communication"},
    {"wrong check byte", false,
     [](LinkRig& r) {
       Bytes reply = VersionReply();
       reply.back() ^= 1;
       r.Port.QueueReply(reply);
     },
     "No response received, resetting bidirectional communication"},
    {"reply too late", false, [](LinkRig& r) { r.Port.QueueReply(VersionReply(), 2.5); },
     "No response received, resetting bidirectional communication"},
    {"wrong alternation bit", false,
     [](LinkRig& r) { r.Port.QueueReply(WithCheck({0x43, 0xE6, 0xF0, 0x80, 0x83, 0x82, 0x81, 0x80})); },
     "Invalid response received, \nReceived: Addr = 67 Header = 102\nExpected: Addr = 3 Header > 95 "},
    {"unexpected extended address", false,
     [](LinkRig& r) { r.Port.QueueReply(WithCheck({0x03, 0xF6, 0x85, 0xF0, 0x80, 0x83, 0x82, 0x81, 0x80})); },
     "Unexpected eXtended Address Byte 5"},
    {"host silent", true, [](LinkRig& r) { r.Port.QueueSilence(); }, "No answer from Quendal"},
};

class LinkFailureStopTest : public ::testing::TestWithParam<LinkFault> {};

TEST_P(LinkFailureStopTest, TheCommandLinePolicyEndsTheOperationAtTheFirstFailure) {
  const LinkFault& fault = GetParam();
  for (bool stopOnFailure : {false, true}) {
    SCOPED_TRACE(stopOnFailure ? "command line" : "window");
    LinkRig rig;
    rig.Link.CheckQuendal = fault.Tunnelled;
    rig.Link.StopOnLinkFailure = stopOnFailure;
    CancellationScope operation(rig.Link.Cancellation());
    fault.Arrange(rig);
    rig.Link.SendBrixoMessage(true, {112, 0});
    ASSERT_FALSE(rig.Prompt.Messages.empty());
    EXPECT_EQ(rig.Prompt.Messages.front(), fault.Message);
    EXPECT_EQ(rig.Link.Cancellation().Stopping(), stopOnFailure);

    const size_t writes = rig.Port.Writes.size();
    const size_t messages = rig.Prompt.Messages.size();
    const bool sent = rig.Link.SendBrixoMessage(false, {96, 0, 1});
    rig.Link.SendTamloMessage(4, 0, 1, 2);
    if (stopOnFailure) {
      EXPECT_FALSE(sent);
      EXPECT_EQ(rig.Port.Writes.size(), writes) << "nothing more goes out";
      EXPECT_EQ(rig.Prompt.Messages.size(), messages) << "and nothing more is said";
      EXPECT_EQ(rig.Link.Cancellation().Reason(), StopReason::LinkFailure);
    } else {
      EXPECT_GT(rig.Port.Writes.size(), writes) << "the window goes on as it always did";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, LinkFailureStopTest, ::testing::ValuesIn(kLinkFaults),
                         brixo::testing::CaseName());

TEST(LinkCancellation, AStopFromOutsideSendsNothingMoreInEveryMode) {
  for (bool tunnelled : {false, true}) {
    LinkRig rig;
    rig.Link.CheckQuendal = tunnelled;
    CancellationScope operation(rig.Link.Cancellation());
    rig.Link.Cancellation().Trip(StopReason::UserStop);  // "Stop" pressed between two exchanges
    EXPECT_FALSE(rig.Link.SendBrixoMessage(true, {112, 0}));
    EXPECT_FALSE(rig.Link.SendQuendalMessage({}));
    rig.Link.SendTamloMessage(4, 0, 1, 2);
    EXPECT_TRUE(rig.Port.Writes.empty()) << tunnelled;
    EXPECT_TRUE(rig.Prompt.Messages.empty()) << tunnelled;
  }
}

TEST(LinkCancellation, AStoppedOperationDoesNotSilenceTheNextOne) {
  LinkRig rig;
  rig.Link.StopOnLinkFailure = true;
  {
    CancellationScope operation(rig.Link.Cancellation());
    rig.Port.QueueSilence();
    rig.Link.SendBrixoMessage(true, {112, 0});
    ASSERT_TRUE(rig.Link.Cancellation().Stopping());
  }
  rig.Link.CheckBrixoBD = true;
  rig.Port.QueueReply(WithCheck({0x43, 0xE6, 0xF0, 0x80, 0x83, 0x82, 0x81, 0x80}));
  EXPECT_TRUE(rig.Link.SendBrixoMessage(true, {112, 0})) << "a single command after it is sent";
  EXPECT_TRUE(rig.Link.ReplyValid);
}

TEST(LinkCancellation, APortThatGoesAwayIsReportedOnceAndStopsTheOperation) {
  for (bool inOperation : {true, false}) {
    SCOPED_TRACE(inOperation ? "in an operation" : "a single command");
    LinkRig rig;
    int portLost = 0;
    rig.Link.onPortLost = [&] {
      ++portLost;
      EXPECT_TRUE(rig.Prompt.Messages.empty()) << "the port shows closed before the message comes up";
      EXPECT_FALSE(rig.Link.PortOpen());
    };
    std::optional<CancellationScope> operation;
    if (inOperation) operation.emplace(rig.Link.Cancellation());
    rig.Port.FailOnWait("Communications port fake went away (device unplugged or closed)");
    EXPECT_FALSE(rig.Link.SendBrixoMessage(true, {112, 0}));
    EXPECT_FALSE(rig.Link.PortOpen());
    EXPECT_EQ(portLost, 1);
    EXPECT_EQ(rig.Link.Cancellation().Reason(), StopReason::PortLost);
    EXPECT_TRUE(rig.Link.CheckBrixoBD) << "the controller is not to blame";

    // What the rest of an operation would send meets silence; a later command hears why.
    rig.Link.SendBrixoMessage(true, {112, 1});
    rig.Link.SendBrixoMessage(false, {96, 0, 1});
    const std::vector<std::string> expected =
        inOperation ? std::vector<std::string>{"Communications port fake went away (device unplugged or closed)"}
                    : std::vector<std::string>{"Communications port fake went away (device unplugged or closed)",
                                               "Select communications port", "Select communications port"};
    EXPECT_EQ(rig.Prompt.Messages, expected);
  }
}

}  // namespace
}  // namespace brixo::test
