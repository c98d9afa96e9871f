// Controller frames on the line, the reply receiver and its checks, byte for byte.
#include <gtest/gtest.h>

#include "link/frame_codec.h"
#include "link_test_support.h"

namespace brixo::test {
namespace {

TEST(FormatLogByte, WritesTwoUpperCaseHexDigits) {
  EXPECT_EQ(FormatLogByte(15), " [0F]");
  EXPECT_EQ(FormatLogByte(165), " [A5]");
  EXPECT_EQ(FormatLogByte(0), " [00]");
}

struct FrameCase {
  const char* name;
  int module;
  uint8_t toggle;
  bool bidirectional;
  int extended;  // -1: extended addressing off
  std::vector<int> payload;
  Bytes frame;
  std::string logLine;
};

class DirectFrame : public ::testing::TestWithParam<FrameCase> {};

TEST_P(DirectFrame, IsWrittenAndLoggedExactly) {
  const FrameCase& c = GetParam();
  LinkRig rig;
  rig.Link.ModuleAddress = c.module;
  rig.Link.ToggleState = c.toggle;
  rig.Link.CheckBrixoBD = c.bidirectional;
  rig.Link.CheckXaddress = c.extended >= 0;
  rig.Link.ExtendedAddress = c.extended >= 0 ? c.extended : 0;
  rig.Port.QueueSilence();
  EXPECT_TRUE(rig.Link.SendBrixoMessage(true, c.payload));
  ASSERT_FALSE(rig.Port.Writes.empty());
  EXPECT_EQ(rig.Port.Writes[0], c.frame);
  ASSERT_FALSE(rig.Log.Lines.empty());
  EXPECT_EQ(rig.Log.Lines[0], c.logLine);
  EXPECT_EQ(rig.Link.ToggleState, (c.toggle + 64) % 128);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, DirectFrame,
    ::testing::Values(
        FrameCase{"Empty", 0, 0, true, -1, {}, {0x03, 0xE0, 0x9D}, ">  [03] [60]"},
        FrameCase{"VersionRead", 1, 64, true, -1, {112, 2}, {0x47, 0xE2, 0xF0, 0x82, 0xE5},
                  ">  [47] [62] [70] [02]"},
        FrameCase{"WithoutBidirectional", 0, 0, false, -1, {}, {0x03, 0xC0, 0xBD}, ">  [03] [40]"},
        FrameCase{"Extended", 2, 0, true, 5, {112, 0}, {0x0B, 0xF2, 0x85, 0xF0, 0x80, 0x8E},
                  ">  [0B] [72] [05] [70] [00]"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DirectFrame, FifteenBytesIsTheLargestPayload) {
  LinkRig rig;
  rig.Link.CheckBrixoBD = false;
  EXPECT_TRUE(rig.Link.SendBrixoMessage(true, std::vector<int>(15, 127)));
  Bytes expectedFrame{0x03, 0xCF};
  expectedFrame.insert(expectedFrame.end(), 15, 0xFF);
  EXPECT_EQ(rig.Port.Writes.at(0), WithCheck(expectedFrame));
  std::string expected = ">  [03] [4F]";
  for (int i = 0; i < 15; ++i) expected += " [7F]";
  EXPECT_EQ(rig.Log.Lines.at(0), expected);
}

TEST(DirectFrame, ResyncPrecedesFirstFrameAfterOpening) {
  for (int module : {0, 5}) {
    LinkRig rig;
    rig.Link.ModuleAddress = module;
    rig.Link.ToggleState = 128;
    rig.Link.CheckBrixoBD = false;
    const uint8_t a = static_cast<uint8_t>(module * 4 + 3);
    rig.Link.SendBrixoMessage(false, {});
    rig.Link.SendBrixoMessage(false, {});
    ASSERT_EQ(rig.Port.Writes.size(), 4u);
    EXPECT_EQ(rig.Port.Writes[0], (Bytes{0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xAA, 0xAA, 0xAA}));
    EXPECT_EQ(rig.Port.Writes[1], (Bytes{a, 0xC0, static_cast<uint8_t>(192 - a)}));
    EXPECT_EQ(rig.Port.Writes[2][0], a + 64);
    EXPECT_EQ(rig.Port.Writes[3][0], a);
    EXPECT_EQ(rig.Log.Lines.size(), 2u) << "resync frames are not logged";
  }
}

TEST(DirectFrame, RefusedWithoutWritingAnything) {
  struct Case {
    std::vector<int> payload;
    bool portOpen;
    std::string message;
  };
  const Case cases[] = {
      {std::vector<int>(16, 0), true, "SendBrixoMessage: Message Size Overrun, size = 16"},
      {{96, 128}, true, "Value out of range 0..127: 128"},
      {{96, -1}, true, "Value out of range 0..127: -1"},
      {{112, 0}, false, "Select communications port"},
  };
  for (const Case& c : cases) {
    LinkRig rig;
    if (!c.portOpen) rig.Port.Close();
    EXPECT_FALSE(rig.Link.SendBrixoMessage(true, c.payload));
    EXPECT_TRUE(rig.Port.Writes.empty()) << c.message;
    EXPECT_EQ(rig.Prompt.Messages, std::vector<std::string>{c.message});
    EXPECT_FALSE(rig.Link.ReplyValid);
  }
}

struct ReplyCase {
  const char* name;
  int extended;     // -1: extended addressing off
  Bytes reply;      // bytes arriving after the request 112, 0 to module 1 with the alternation bit 64
  bool valid;
  std::vector<int> bufferStart;  // ReplyBuffer[0..] when valid
  std::string message;           // empty: none
  std::string logLine;           // empty: no reply line
};

class DirectReply : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(DirectReply, IsCheckedAndLaidOut) {
  const ReplyCase& c = GetParam();
  LinkRig rig;
  rig.Link.ModuleAddress = 1;
  rig.Link.ToggleState = 64;
  rig.Link.CheckXaddress = c.extended >= 0;
  rig.Link.ExtendedAddress = c.extended >= 0 ? c.extended : 0;
  rig.Port.QueueReply(c.reply);
  EXPECT_TRUE(rig.Link.SendBrixoMessage(true, {112, 0}));
  EXPECT_EQ(rig.Link.ReplyValid, c.valid);
  if (c.valid) {
    for (size_t i = 0; i < c.bufferStart.size(); ++i) EXPECT_EQ(rig.Link.ReplyBuffer[i], c.bufferStart[i]) << i;
  }
  EXPECT_EQ(rig.Prompt.Messages, c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
  ASSERT_EQ(rig.Log.Lines.size(), c.logLine.empty() ? 1u : 2u);
  if (!c.logLine.empty()) {
    EXPECT_EQ(rig.Log.Lines[1], c.logLine);
  }
  EXPECT_EQ(rig.Link.ToggleState, 0) << "the alternation bit flips with or without a reply";
}

const char* const kNoResponse = "No response received, resetting bidirectional communication";

INSTANTIATE_TEST_SUITE_P(
    Cases, DirectReply,
    ::testing::Values(
        ReplyCase{"Valid", -1, WithCheck({0x47, 0xE3, 0xF0, 0x80, 0x85}), true, {0x47, 0x63, 112, 0, 5}, "",
                  "<  [47] [63] [70] [00] [05]"},
        ReplyCase{"StrayBytesBeforeAddressIgnored", -1, [] {
                    Bytes b{0xFF, 0x90};
                    Bytes f = WithCheck({0x47, 0xE2, 0xF0, 0x80});
                    b.insert(b.end(), f.begin(), f.end());
                    return b;
                  }(), true, {0x47, 0x62, 112, 0}, "", "<  [47] [62] [70] [00]"},
        ReplyCase{"SecondAddressByteRestarts", -1, [] {
                    Bytes b{0x47, 0xE2, 0xF0};
                    Bytes f = WithCheck({0x47, 0xE1, 0xF0});
                    b.insert(b.end(), f.begin(), f.end());
                    return b;
                  }(), true, {0x47, 0x61, 112}, "", "<  [47] [61] [70]"},
        ReplyCase{"BadCheckByteDroppedThenTimeOut", -1, {0x47, 0xE1, 0xF0, 0x81}, false, {}, kNoResponse, ""},
        ReplyCase{"AlternationBitMissing", -1, WithCheck({0x07, 0xE1, 0xF0}), false, {},
                  "Invalid response received, \nReceived: Addr = 7 Header = 97\nExpected: Addr = 7 Header > 95 ",
                  "<  [07] [61] [70]"},
        ReplyCase{"HeaderBelow96", -1, WithCheck({0x47, 0xC1, 0xF0}), false, {},
                  "Invalid response received, \nReceived: Addr = 71 Header = 65\nExpected: Addr = 7 Header > 95 ",
                  "<  [47] [41] [70]"},
        ReplyCase{"UnexpectedExtendedByte", -1, WithCheck({0x47, 0xF1, 0x85, 0xF0}), false, {},
                  "Unexpected eXtended Address Byte 5", "<  [47] [71] [05] [70]"},
        ReplyCase{"ExtendedByteMissing", 5, WithCheck({0x47, 0xE1, 0xF0}), false, {},
                  "eXtended Address Byte expected", "<  [47] [61] [70]"},
        ReplyCase{"ExtendedByteWrong", 5, WithCheck({0x47, 0xF1, 0x86, 0xF0}), false, {},
                  "Incorrect eXtended Address byte \nReceived 6 Expected 5", "<  [47] [71] [06] [70]"},
        ReplyCase{"ExtendedByteRemoved", 5, WithCheck({0x47, 0xF2, 0x85, 0xF0, 0x83}), true, {0x47, 0x72, 112, 3},
                  "", "<  [47] [72] [05] [70] [03]"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DirectReply, TimeOutUnchecksBidirectionalAndLaterFramesGoWithoutIt) {
  LinkRig rig;
  rig.Port.QueueSilence();
  const double start = rig.Clock.NowSeconds();
  EXPECT_TRUE(rig.Link.SendBrixoMessage(true, {112, 0}));
  EXPECT_FALSE(rig.Link.ReplyValid);
  EXPECT_FALSE(rig.Link.CheckBrixoBD);
  EXPECT_EQ(rig.Prompt.Messages, std::vector<std::string>{kNoResponse});
  EXPECT_NEAR(rig.Clock.NowSeconds() - start, 2.0, 0.01);
  EXPECT_LE(rig.Port.Waits, 3) << "waits in the port, not in a loop";

  rig.Link.SendBrixoMessage(true, {112, 0});
  EXPECT_EQ(rig.Port.Writes[1][1], 0xC2) << "header without the bidirectional bit";
  EXPECT_EQ(rig.Prompt.Messages.size(), 1u);
}

TEST(DirectReply, ReplyWindowIsTwoSeconds) {
  for (double delay : {1.99, 2.01}) {
    LinkRig rig;
    rig.Port.QueueReply(WithCheck({0x03, 0xE0}), delay);
    rig.Link.SendBrixoMessage(true, {});
    EXPECT_EQ(rig.Link.ReplyValid, delay < 2.0) << delay;
  }
}

TEST(DirectReply, ClockGoingBackEndsTheWait) {
  LinkRig rig;
  rig.Port.ClockJumpOnWait = -3600;
  rig.Port.QueueSilence();
  rig.Link.SendBrixoMessage(true, {});
  EXPECT_EQ(rig.Port.Waits, 1);
  EXPECT_EQ(rig.Prompt.Messages, std::vector<std::string>{kNoResponse});
}

TEST(DirectReply, PortFaultIsReportedOnceAndPortStaysClosed) {
  LinkRig rig;
  rig.Port.QueueSilence();
  rig.Port.FailOnWait("Communications port fake failed: Input/output error");
  EXPECT_FALSE(rig.Link.SendBrixoMessage(true, {}));
  EXPECT_FALSE(rig.Link.PortOpen());
  EXPECT_EQ(rig.Prompt.Messages, std::vector<std::string>{"Communications port fake failed: Input/output error"});
  EXPECT_EQ(rig.Prompt.Shown[0].Icon, MessageIcon::Error);
  EXPECT_TRUE(rig.Link.CheckBrixoBD) << "a dead port is not a silent controller";
  EXPECT_FALSE(rig.Link.SendBrixoMessage(true, {}));
  EXPECT_EQ(rig.Prompt.Messages.back(), "Select communications port");
}

TEST(TamloMessage, DirectFrameResyncsButNeverFlipsOrLogs) {
  LinkRig rig;
  rig.Link.ToggleState = 128;
  rig.Link.SendTamloMessage(7, 0, 1, 2);
  rig.Link.SendTamloMessage(7, 10, 3, 30);
  ASSERT_EQ(rig.Port.Writes.size(), 4u);
  EXPECT_EQ(rig.Port.Writes[0].size(), 9u);
  EXPECT_EQ(rig.Port.Writes[1], (Bytes{0x07, 0x80, 0x80, 0x80, 0xF9}));
  EXPECT_EQ(rig.Port.Writes[2], WithCheck({0x07, 0x80, 0x81, 0x82}));
  EXPECT_EQ(rig.Port.Writes[3], WithCheck({0x07, 0x8A, 0x83, 0x9E}));
  EXPECT_EQ(rig.Link.ToggleState, 64);
  EXPECT_TRUE(rig.Log.Lines.empty());
}

TEST(TamloMessage, RefusesValuesThatWouldSetBitSeven) {
  LinkRig rig;
  rig.Link.SendTamloMessage(7, 0, 200, 0);
  EXPECT_TRUE(rig.Port.Writes.empty());
  EXPECT_EQ(rig.Prompt.Messages, std::vector<std::string>{"Value out of range 0..127: 200"});
}

TEST(TamloMessage, ClosedPortIsReported) {
  LinkRig rig;
  rig.Port.Close();
  rig.Link.SendTamloMessage(7, 0, 1, 2);
  EXPECT_EQ(rig.Prompt.Messages, std::vector<std::string>{"Select communications port"});
}

}  // namespace
}  // namespace brixo::test
