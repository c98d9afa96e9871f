// Host-interface frames, the host receiver and the tunnelled exchange with its polling.
#include <gtest/gtest.h>

#include "link/frame_codec.h"
#include "link_test_support.h"

namespace brixo::test {
namespace {

const Bytes kEmptyAnswer{0x28, 0xD8};

// A rig with tunnelling on and module 1.
struct TunnelRig : LinkRig {
  TunnelRig() {
    Link.CheckQuendal = true;
    Link.ModuleAddress = 1;
  }
};

TEST(HostHeader, EncodesEveryLengthSoThatItDecodesBack) {
  for (int toggle : {0, 1}) {
    for (int m = 0; m <= kMaxHostData; ++m) {
      const uint8_t header = EncodeHostHeader(m, toggle);
      EXPECT_EQ(header & 0x80, 0) << m;
      EXPECT_EQ((header >> 6) & 1, toggle) << m;
      EXPECT_EQ(DecodeHostLength(header), m) << m;
    }
  }
  EXPECT_EQ(EncodeHostHeader(0, 0), 0x28);
  EXPECT_EQ(EncodeHostHeader(7, 0), 0x2F);
  EXPECT_EQ(EncodeHostHeader(8, 0), 0x00);
  EXPECT_EQ(EncodeHostHeader(15, 0), 0x07);
  EXPECT_EQ(EncodeHostHeader(16, 0), 0x10);
  EXPECT_EQ(EncodeHostHeader(23, 1), 0x57);
  EXPECT_EQ(DecodeHostLength(0x3A), 2) << "status flags in bits 4 and 5 do not change the length";
}

TEST(HostFrame, ExamplesOnTheLine) {
  struct Case {
    int hostToggle;
    int extended;
    std::vector<int> payload;
    bool poll;
    Bytes frame;
    std::string logLine;  // empty: not logged
  };
  const Case cases[] = {
      {0, -1, {112, 2}, false, {0x2D, 0x80, 0xE1, 0xE0, 0xF0, 0x82, 0xA0}, ">>  [2D] [00] [61] [60] [70] [02]"},
      {1, 5, {112, 0}, false, WithCheck({0x6E, 0x80, 0xE1, 0xF0, 0x85, 0xF0, 0x80}),
       ">>  [6E] [00] [61] [70] [05] [70] [00]"},
      {0, -1, {}, true, {0x28, 0xD8}, ""},
      {1, -1, {}, true, {0x68, 0x98}, ""},
  };
  for (const Case& c : cases) {
    TunnelRig rig;
    rig.Link.HostToggle = c.hostToggle;
    rig.Link.CheckXaddress = c.extended >= 0;
    rig.Link.ExtendedAddress = c.extended >= 0 ? c.extended : 0;
    rig.Port.QueueReply(kEmptyAnswer);
    if (c.poll) rig.Link.SendQuendalMessage({});
    else rig.Link.SendBrixoMessage(false, c.payload);
    ASSERT_FALSE(rig.Port.Writes.empty());
    EXPECT_EQ(rig.Port.Writes[0], c.frame);
    if (c.logLine.empty()) EXPECT_TRUE(rig.Log.Lines.empty());
    else EXPECT_EQ(rig.Log.Lines.at(0), c.logLine);
    if (c.poll) {
      EXPECT_EQ(rig.Link.HostToggle, 1 - c.hostToggle);
    }
  }
}

// Every length a header can announce is taken whole, the longest ones (a servo's parameters
// tunnelled with an extended address: 19 data bytes) included.
TEST(HostReceiver, TakesAnswersOfEveryLength) {
  for (int m = 1; m <= kMaxHostData; ++m) {
    TunnelRig rig;
    Bytes answer{EncodeHostHeader(m, 1)};
    for (int i = 0; i < m; ++i) answer.push_back(static_cast<uint8_t>(0x80 | (i * 37 + m) % 128));
    rig.Port.QueueReply(WithCheck(answer));
    EXPECT_TRUE(rig.Link.SendQuendalMessage({})) << m;
    EXPECT_EQ(rig.Link.ReplyBuffer[0], m);
    EXPECT_TRUE(rig.Prompt.Messages.empty()) << m << ": " << rig.Prompt.Messages.front();
  }
}

TEST(TunnelledExchange, PollsUntilTheControllerReplyArrives) {
  TunnelRig rig;
  rig.Port.QueueReply(kEmptyAnswer);
  rig.Port.QueueReply(kEmptyAnswer);
  rig.Port.QueueReply(WithCheck({0x2E, 0x80, 0xE1, 0xE3, 0xF0, 0x80, 0x85}));
  EXPECT_TRUE(rig.Link.SendBrixoMessage(true, {112, 0}));
  EXPECT_TRUE(rig.Link.ReplyValid);
  EXPECT_EQ(rig.Port.Writes.size(), 3u);
  EXPECT_EQ(rig.Port.Writes[1], (Bytes{0x68, 0x98}));
  EXPECT_EQ(rig.Port.Writes[2], (Bytes{0x28, 0xD8}));
  EXPECT_EQ(rig.Link.ReplyBuffer[0], 7);
  EXPECT_EQ(rig.Link.ReplyLength(), 3);
  EXPECT_EQ(rig.Link.R(0), 112);
  EXPECT_EQ(rig.Link.R(2), 5);
  EXPECT_EQ(rig.Log.Lines, (std::vector<std::string>{">>  [2D] [00] [61] [60] [70] [00]",
                                                    "<<  [2E] [00] [61] [63] [70] [00] [05]"}));
  EXPECT_TRUE(rig.Prompt.Messages.empty());
}

TEST(TunnelledExchange, GivesUpAfterTwoSecondsOfPolling) {
  TunnelRig rig;
  rig.Port.WriteSeconds = 0.05;
  for (int i = 0; i < 100; ++i) rig.Port.QueueReply(kEmptyAnswer);
  EXPECT_FALSE(rig.Link.SendBrixoMessage(true, {112, 0}));
  EXPECT_FALSE(rig.Link.ReplyValid);
  EXPECT_EQ(rig.Prompt.Messages, std::vector<std::string>{"No valid response received"});
  EXPECT_GE(rig.Port.Writes.size(), 40u);
  EXPECT_LE(rig.Port.Writes.size(), 42u);
}

// An interface unit that answers every poll at once (one on a pseudo-terminal) is polled
// for the whole window however many polls that takes.
TEST(TunnelledExchange, AQuickUnitIsPolledForTheWholeWindow) {
  TunnelRig rig;
  rig.Port.WriteSeconds = 0.0001;
  for (int i = 0; i < 15000; ++i) rig.Port.QueueReply(kEmptyAnswer);
  rig.Port.QueueReply(WithCheck({0x2E, 0x80, 0xE1, 0xE3, 0xF0, 0x80, 0x85}));
  EXPECT_TRUE(rig.Link.SendBrixoMessage(true, {112, 0}));
  EXPECT_TRUE(rig.Link.ReplyValid);
  EXPECT_EQ(rig.Link.R(2), 5);
  EXPECT_TRUE(rig.Prompt.Messages.empty());
}

TEST(TunnelledExchange, PollingEndsEvenWhenTheClockStandsStill) {
  TunnelRig rig;
  for (int i = 0; i < 2100; ++i) rig.Port.QueueReply(kEmptyAnswer);
  EXPECT_FALSE(rig.Link.SendBrixoMessage(true, {112, 0}));
  EXPECT_EQ(rig.Prompt.Messages, std::vector<std::string>{"No valid response received"});
}

TEST(TunnelledExchange, Failures) {
  struct Case {
    const char* name;
    int extended;
    std::vector<Bytes> answers;  // to the request, then to the polls
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"HostSilent", -1, {{}}, {"No answer from Quendal", "No valid response received"}},
      {"HostFallsSilentWhilePolling", -1, {kEmptyAnswer, {}}, {"No answer from Quendal", "No valid response received"}},
      {"UnexpectedExtendedByte", -1, {WithCheck({0x2D, 0x80, 0xE1, 0xF1, 0x85, 0xF0})},
       {"Unexpected eXtended Address Byte 5"}},
      {"WrongExtendedByte", 5, {WithCheck({0x2D, 0x80, 0xE1, 0xF1, 0x86, 0xF0})},
       {"Incorrect eXtended Address byte \nReceived 6 Expected 5"}},
  };
  for (const Case& c : cases) {
    TunnelRig rig;
    rig.Link.CheckXaddress = c.extended >= 0;
    rig.Link.ExtendedAddress = c.extended >= 0 ? c.extended : 0;
    for (const Bytes& a : c.answers) rig.Port.QueueReply(a);
    EXPECT_FALSE(rig.Link.SendBrixoMessage(true, {112, 0})) << c.name;
    EXPECT_FALSE(rig.Link.ReplyValid) << c.name;
    EXPECT_EQ(rig.Prompt.Messages, c.messages) << c.name;
  }
}

TEST(TunnelledExchange, ExtendedByteIsTakenOut) {
  TunnelRig rig;
  rig.Link.CheckXaddress = true;
  rig.Link.ExtendedAddress = 5;
  rig.Port.QueueReply(WithCheck({0x2E, 0x80, 0xE1, 0xF2, 0x85, 0xF0, 0x83}));
  EXPECT_TRUE(rig.Link.SendBrixoMessage(true, {112, 0}));
  EXPECT_EQ(rig.Link.ReplyBuffer[1], 0x72);
  EXPECT_EQ(rig.Link.R(0), 112);
  EXPECT_EQ(rig.Link.R(1), 3);
}

// A write (no reply data wanted) still collects the controller's reply, since that is the
// only sign the message arrived, and fails as a read does when it does not come.
TEST(TunnelledExchange, AWriteCollectsItsReplyAsAReadDoes) {
  const Bytes acknowledgement = WithCheck({0x2D, 0x80, 0xE1, 0xE2, 0x80, 0x80});  // 0, 97, 98: 0, 0
  struct Case {
    const char* name;
    std::vector<Bytes> answers;  // to the request, then to the polls
    bool sent;
    int frames;  // 0: polls for the whole window
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"ReplyWithTheFirstPoll", {kEmptyAnswer, acknowledgement}, true, 2, {}},
      {"ReplyWithTheThirdPoll", {kEmptyAnswer, kEmptyAnswer, kEmptyAnswer, acknowledgement}, true, 4, {}},
      {"ControllerSilent", std::vector<Bytes>(60, kEmptyAnswer), false, 0, {"No valid response received"}},
      {"HostFallsSilent", {kEmptyAnswer, {}}, false, 2, {"No answer from Quendal", "No valid response received"}},
  };
  for (const Case& c : cases) {
    TunnelRig rig;
    rig.Port.WriteSeconds = 0.05;
    for (const Bytes& a : c.answers) rig.Port.QueueReply(a);
    EXPECT_EQ(rig.Link.SendBrixoMessage(false, {0, 0, 3, 1}), c.sent) << c.name;
    const int frames = static_cast<int>(rig.Port.Writes.size());
    if (c.frames > 0) EXPECT_EQ(frames, c.frames) << c.name;
    else EXPECT_NEAR(frames, 41, 1) << c.name << ": two seconds of polls 50 ms apart";
    EXPECT_EQ(rig.Prompt.Messages, c.messages) << c.name;
    const ExchangeOutcome failed = c.frames == 2 ? ExchangeOutcome::LinkFailed : ExchangeOutcome::NoReply;
    EXPECT_EQ(rig.Link.LastOutcome(), c.sent ? ExchangeOutcome::Answered : failed) << c.name;
  }
}

TEST(HostReceiver, BadFramesAreReportedAndNotAnswers) {
  struct Case {
    const char* name;
    Bytes answer;
    std::string message;
    std::vector<std::string> logAfterRequest;
  };
  const Case cases[] = {
      {"CheckByteWrong", {0x2A, 0x81, 0x82, 0x80}, "Checksum Error\nSize = 2<<  [2A] [01] [02]", {}},
      {"PartialFrame", {0x2B, 0x81}, "", {"<<  [2B] [01]"}},
      {"PartialFrameWithHeaderZero", {0x00, 0x81, 0x82}, "", {}},
  };
  for (const Case& c : cases) {
    LinkRig rig;
    rig.Port.QueueReply(c.answer);
    EXPECT_FALSE(rig.Link.SendQuendalMessage({1, 2})) << c.name;
    std::vector<std::string> expected;
    if (!c.message.empty()) expected.push_back(c.message);
    expected.push_back("No answer from Quendal");
    EXPECT_EQ(rig.Prompt.Messages, expected) << c.name;
    EXPECT_EQ(rig.Prompt.Shown.back().Icon, MessageIcon::Warning);
    std::vector<std::string> log{">>  [2A] [01] [02]"};
    log.insert(log.end(), c.logAfterRequest.begin(), c.logAfterRequest.end());
    EXPECT_EQ(rig.Log.Lines, log) << c.name;
  }
}

TEST(HostReceiver, StaleBytesAreDiscardedBeforeSending) {
  LinkRig rig;
  rig.Port.Feed(WithCheck({0x2A, 0x81, 0x82}));
  rig.Port.QueueReply(kEmptyAnswer);
  EXPECT_TRUE(rig.Link.SendQuendalMessage({}));
  EXPECT_EQ(rig.Link.ReplyBuffer[0], 0) << "the answer is the empty frame, not the stale one";
}

TEST(HostReceiver, LongestControllerReplyPassesItsCheck) {
  // 0, module, header with extended flag and 15 bytes, extended byte, 15 payload bytes: 19 data bytes.
  TunnelRig rig;
  rig.Link.CheckXaddress = true;
  rig.Link.ExtendedAddress = 5;
  Bytes frame{0x13, 0x80, 0xE1, 0xFF, 0x85};
  for (int i = 0; i < 15; ++i) frame.push_back(static_cast<uint8_t>(0x80 + 100 + i));
  rig.Port.QueueReply(WithCheck(frame));
  EXPECT_TRUE(rig.Link.SendBrixoMessage(true, {113, 0}));
  EXPECT_EQ(rig.Link.ReplyLength(), 15);
  EXPECT_EQ(rig.Link.R(0), 100);
  EXPECT_EQ(rig.Link.R(14), 114);
}

TEST(HostReceiver, FrameLargerThanReplyBufferIsHeldWhole) {
  LinkRig rig;
  Bytes frame{0x17};  // 23 data bytes
  for (int i = 0; i < 23; ++i) frame.push_back(static_cast<uint8_t>(0x80 + i));
  rig.Port.QueueReply(WithCheck(frame));
  EXPECT_TRUE(rig.Link.SendQuendalMessage({1, 2}));
  EXPECT_EQ(rig.Link.ReplyBuffer[0], 23);
  EXPECT_EQ(rig.Link.ReplyBuffer[20], 19);
  ASSERT_EQ(rig.Link.LastHostData().size(), 23u);
  EXPECT_EQ(rig.Link.LastHostData()[22], 22);
}

TEST(TamloMessage, TunnelledAsFiveByteHostFrame) {
  TunnelRig rig;
  rig.Port.QueueReply(kEmptyAnswer);
  rig.Link.SendTamloMessage(7, 10, 3, 30);
  ASSERT_EQ(rig.Port.Writes.size(), 1u);
  EXPECT_EQ(rig.Port.Writes[0], WithCheck({0x2D, 0x80, 0xE1, 0x8A, 0x83, 0x9E}));
}

}  // namespace
}  // namespace brixo::test
