#include <gtest/gtest.h>

#include "pin_test_fixture.h"
#include "transfer/pin_transfer.h"

namespace brixo::testing {
namespace {

using PinTransferTest = TransferTest;

struct LayoutCase {
  uint8_t layout;
  int stepMessages;
};

class PinLayoutTest : public TransferTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(PinLayoutTest, ExchangeCountsFollowTheLayout) {
  const LayoutCase c = GetParam();
  model.PinTable[7] = SamplePin(c.layout);

  ASSERT_TRUE(WritePinProgram(ctx, 7));
  std::vector<int> expected{98, 100, 102};
  expected.insert(expected.end(), c.stepMessages, 99);
  EXPECT_EQ(Commands(), expected);

  ClearPayloads();
  ASSERT_TRUE(ReadPinProgram(ctx, 7));
  expected = {114};
  expected.insert(expected.end(), c.stepMessages, 115);
  expected.insert(expected.end(), {116, 118});
  EXPECT_EQ(Commands(), expected);
}

INSTANTIATE_TEST_SUITE_P(Layouts, PinLayoutTest,
                         ::testing::Values(LayoutCase{0, 0}, LayoutCase{3, 36}, LayoutCase{2, 36},
                                           LayoutCase{7, 0}));

TEST_F(PinTransferTest, WritesByteExactPayloadsAndReadsThemBack) {
  model.PinTable[5] = SamplePin(3);
  ASSERT_TRUE(WritePinProgram(ctx, 5));
  const auto payloads = Payloads();
  ASSERT_GE(payloads.size(), 3u + 36u);
  EXPECT_EQ(payloads[0], (std::vector<int>{98, 5, 3}));
  EXPECT_EQ(payloads[1], (std::vector<int>{100, 5, 0x72}));
  EXPECT_EQ(payloads[2], (std::vector<int>{102, 5, 0x0A, 0x13, 0x5D}));
  EXPECT_EQ(payloads[3], (std::vector<int>{99, 5, 0, 0, 54, 2, 17, 5, 2}));
  EXPECT_EQ(payloads[3 + 9 + 1], (std::vector<int>{99, 5, 1, 1, 4, 3, 72, 1, 3}));

  ConfigModel fresh;
  TransferContext readCtx{link, fresh, maps, general, events, report, view};
  ASSERT_TRUE(ReadPinProgram(readCtx, 5));
  const PinRecord& read = fresh.PinTable[5];
  const PinRecord& written = model.PinTable[5];
  EXPECT_EQ(read.AspectConfig, 3);
  EXPECT_EQ(read.InitAspect, written.InitAspect);
  EXPECT_EQ(read.DccAddressCount, 2);
  EXPECT_EQ(read.XDccAddressCount, 1);
  EXPECT_EQ(read.SerialAddressCount, 3);
  EXPECT_EQ(read.DevicePointer, -3);
  for (int a = 0; a < 4; ++a) {
    for (int s = 0; s < 9; ++s) {
      StepRecord expected = written.Aspects[a].Steps[s];
      if (expected.Instruction == 4) expected.Par0 = 0;  // "SendSerial" carries no offset
      EXPECT_EQ(read.Aspects[a].Steps[s], expected) << "aspect " << a << " step " << s;
    }
  }
  // Aspects outside the layout are neither sent nor read.
  EXPECT_EQ(read.Aspects[4], AspectRecord{});
  EXPECT_TRUE(prompt.Messages.empty());
}

struct AddressCase {
  std::array<uint8_t, 3> bytes;
  bool ok;
  int dcc, xdcc, serial, pointer;
};

class PinAddressTest : public TransferTest, public ::testing::WithParamInterface<AddressCase> {};

TEST_P(PinAddressTest, AddressBytesAreRecognisedByTheirTag) {
  const AddressCase c = GetParam();
  SimPin(5).AddressBytes = c.bytes;
  model.PinTable[5].DevicePointer = 9;  // sentinel: unchanged when no device byte is read
  EXPECT_EQ(ReadPinProgram(ctx, 5), c.ok);
  const PinRecord& pin = model.PinTable[5];
  EXPECT_EQ(pin.DccAddressCount, c.dcc);
  EXPECT_EQ(pin.XDccAddressCount, c.xdcc);
  EXPECT_EQ(pin.SerialAddressCount, c.serial);
  EXPECT_EQ(pin.DevicePointer, c.pointer);
  if (c.ok) {
    EXPECT_TRUE(prompt.Messages.empty());
  } else {
    EXPECT_EQ(prompt.Messages, std::vector<std::string>{"Read Pin Address Configuration: Invalid Response"});
  }
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, PinAddressTest,
    ::testing::Values(AddressCase{{0x0A, 0x13, 0x5D}, true, 2, 1, 3, -3},
                      AddressCase{{0x5D, 0x0A, 0x13}, true, 2, 1, 3, -3},   // any order
                      AddressCase{{0x45, 0x10, 0x00}, true, 0, 0, 0, 5},    // forward pointer
                      // A refused reply leaves the whole pin as it was.
                      AddressCase{{0x0A, 0x25, 0x5D}, false, 0, 0, 0, 9},
                      AddressCase{{0x0A, 0x13, 0x60}, false, 0, 0, 0, 9},
                      // A tag seen again overrides, a missing one leaves its field as it
                      // was: a controller whose addresses were never written (all 0) reads.
                      AddressCase{{0x0A, 0x0B, 0x0C}, true, 4, 1, 0, 9},
                      AddressCase{{0x0A, 0x13, 0x14}, true, 2, 1, 4, 9},
                      AddressCase{{0x00, 0x00, 0x00}, true, 0, 0, 0, 9}));

struct InitCase {
  uint8_t initByte;
  uint8_t expected;
};

class PinInitTest : public TransferTest, public ::testing::WithParamInterface<InitCase> {};

TEST_P(PinInitTest, InitialAspectIsDecoded) {
  SimPin(4).InitByte = GetParam().initByte;
  model.PinTable[4].InitAspect = 9;
  ASSERT_TRUE(ReadPinProgram(ctx, 4));
  EXPECT_EQ(model.PinTable[4].InitAspect, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Bytes, PinInitTest,
                         ::testing::Values(InitCase{0x7F, 0}, InitCase{0x70, 1}, InitCase{0x7B, 12},
                                           InitCase{0x35, 0}));

TEST_F(PinTransferTest, InitialAspectComesFromEitherReplyFormAndAnythingElseIsRefused) {
  // A controller without event control answers 116 with request, pin and initial byte only.
  port.Controller().Faults().NoEventControl = true;
  SimPin(4).InitByte = 0x71;
  model.PinTable[4].InitAspect = 5;
  EXPECT_TRUE(ReadPinProgram(ctx, 4));
  EXPECT_EQ(model.PinTable[4].InitAspect, 2);
  EXPECT_TRUE(prompt.Messages.empty());

  // A reply without the byte, or for another pin, reads nothing: the pin stays as it was.
  ReplyRewritingPort rewriting(port);
  link.AttachPort(&rewriting);
  for (const std::vector<int>& reply : {std::vector<int>{116, 4}, std::vector<int>{116, 5, 0x73}}) {
    rewriting.Rewrite = [&reply](std::vector<int>& payload, int&) {
      if (payload[0] == 116) payload = reply;
    };
    prompt.Clear();
    model.PinTable[4].InitAspect = 5;
    model.PinTable[4].AspectConfig = 7;
    EXPECT_FALSE(ReadPinProgram(ctx, 4));
    EXPECT_EQ(prompt.Messages, std::vector<std::string>{"No valid response"});
    EXPECT_EQ(model.PinTable[4].InitAspect, 5);
    EXPECT_EQ(model.PinTable[4].AspectConfig, 7);
  }
}

TEST_F(PinTransferTest, OutputConfigurationCountsForThePinsResult) {
  ReplyRewritingPort rewriting(port);
  link.AttachPort(&rewriting);
  model.PinTable[6].OutputConfig = {2, 5, 0, 28, 0, 31, 0, 0, 0, 0, 0, 0, 0};
  struct Case {
    const char* name;
    std::vector<int> reply;
    bool ok;
  };
  const Case cases[] = {
      {"servo", {113, 6, 1, 70, 43, 64, 127, 58, 127, 127, 64, 0, 64, 0}, true},
      {"short PWM of old firmware", {113, 6, 3, 9, 1, 20, 0}, true},
      {"servo of one byte", {113, 6, 1}, false},
      {"input without its delays", {113, 6, 4, 0, 0}, false},
      {"another pin", {113, 7, 0}, false},
  };
  for (const Case& c : cases) {
    rewriting.Rewrite = [&c](std::vector<int>& payload, int&) {
      if (payload[0] == 113) payload = c.reply;
    };
    prompt.Clear();
    const PinRecord before = model.PinTable[6];
    EXPECT_EQ(ReadPinComplete(ctx, 6), c.ok) << c.name;
    if (c.ok) {
      EXPECT_EQ(model.PinTable[6].OutputConfig[0], c.reply[2]) << c.name;
    } else {
      EXPECT_EQ(prompt.Messages, std::vector<std::string>{"No valid response"}) << c.name;
      EXPECT_EQ(model.PinTable[6], before) << c.name;
    }
    model.PinTable[6] = before;
  }

  // A value the line cannot carry is refused by the link, and the pin's write fails with it.
  link.AttachPort(&port);
  model.PinTable[6].OutputConfig = {2, 5, 0, 200, 0, 31, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_FALSE(WritePinComplete(ctx, 6));
  EXPECT_FALSE(WriteAllPinsLoop(ctx));
}

TEST_F(PinTransferTest, AReadThatStopsLeavesTheRestAsItWas) {
  ReplyRewritingPort rewriting(port);
  link.AttachPort(&rewriting);
  for (int p = 0; p < kPinCount; ++p) SimPin(p).AspectConfig = 3;
  rewriting.Rewrite = [](std::vector<int>& payload, int&) {
    if (payload[0] == 115 && payload[1] == 5 && payload[2] == 2) payload[1] = 9;  // pin 5, half-way
  };
  for (PinRecord& pin : model.PinTable) pin.Description = "old";
  model.PinTable[5].AspectConfig = 0;
  const PinArray before = model.PinTable;
  EXPECT_FALSE(ReadAllPinsLoop(ctx));
  // Whoever runs the loop says what it took; the loop only tells the refused reply.
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"No valid response"});
  for (int p = 0; p < kPinCount; ++p) {
    if (p < 5) {
      EXPECT_EQ(model.PinTable[p].AspectConfig, 3) << p;
    } else {
      EXPECT_EQ(model.PinTable[p], before[p]) << p;
    }
  }
}

TEST_F(PinTransferTest, ReadStopsAtAWrongReplyWithNoValidResponse) {
  ReplyRewritingPort rewriting(port);
  link.AttachPort(&rewriting);
  rewriting.Rewrite = [](std::vector<int>& payload, int&) {
    if (payload.size() == 9 && payload[0] == 115 && payload[2] == 1) payload[3] = 7;  // wrong step echo
  };
  SimPin(3).AspectConfig = 3;
  EXPECT_FALSE(ReadPinProgram(ctx, 3));
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"No valid response"});
  EXPECT_EQ(CountCommand(115), 10);  // aspect 0 complete, then the first step of aspect 1
  EXPECT_EQ(CountCommand(116), 0);
}

TEST_F(PinTransferTest, ReadStopsSilentlyWhenTheExchangeFails) {
  port.Controller().Faults().NoReply = true;
  link.CheckBrixoBD = false;
  EXPECT_FALSE(ReadPinProgram(ctx, 3));
  EXPECT_EQ(Commands(), std::vector<int>{114});
  // Only the link's own message; the read adds none.
  EXPECT_EQ(prompt.Messages.size(), 1u);
  EXPECT_NE(prompt.Messages[0], "No valid response");
}

TEST_F(PinTransferTest, WritesArePacedOnlyWithoutReplies) {
  model.PinTable[2].AspectConfig = 2;  // 3 + 36 messages
  link.CheckBrixoBD = false;
  double start = clock.NowSeconds();
  ASSERT_TRUE(WritePinProgram(ctx, 2));
  EXPECT_NEAR(clock.NowSeconds() - start, 39 * 0.1, 1e-6);

  start = clock.NowSeconds();
  ASSERT_TRUE(WritePinComplete(ctx, 2));  // the output configuration write is paced too
  EXPECT_NEAR(clock.NowSeconds() - start, 40 * 0.1, 1e-6);

  link.CheckBrixoBD = true;
  start = clock.NowSeconds();
  ASSERT_TRUE(WritePinProgram(ctx, 2));
  EXPECT_LT(clock.NowSeconds() - start, 0.1);
}

TEST_F(PinTransferTest, WriteStopsWhenThePortIsClosed) {
  port.Close();
  model.PinTable[0].AspectConfig = 3;
  EXPECT_FALSE(WritePinComplete(ctx, 0));
  EXPECT_FALSE(WriteAllPinsLoop(ctx));
  EXPECT_TRUE(Payloads().empty());
}

TEST_F(PinTransferTest, AspectWriteOutsideTheLayoutSendsNothing) {
  model.PinTable[6] = SamplePin(3);
  EXPECT_FALSE(WriteAspectProgram(ctx, 6, 4));
  EXPECT_FALSE(WriteAspectProgram(ctx, 6, -1));
  model.PinTable[6].AspectConfig = 0;
  EXPECT_FALSE(WriteAspectProgram(ctx, 6, 0));
  EXPECT_TRUE(Payloads().empty());

  model.PinTable[6].AspectConfig = 2;
  EXPECT_TRUE(WriteAspectProgram(ctx, 6, 11));
  EXPECT_EQ(Commands(), (std::vector<int>{99, 99, 99}));
}

TEST_F(PinTransferTest, ReadAllPinsReadsEveryPinWithItsOutputConfiguration) {
  SimPin(31).StoredOutputConfig = {2, 7, 1, 28, 3, 30};
  ASSERT_TRUE(ReadAllPinsLoop(ctx));
  EXPECT_EQ(CountCommand(114), 32);
  EXPECT_EQ(CountCommand(113), 32);
  EXPECT_EQ(model.PinTable[31].OutputConfig[5], 30);
  EXPECT_EQ(view.Progress.front(), "Reading pin 1 of 32");
  EXPECT_EQ(view.Progress.back(), "Reading pin 32 of 32");
}

TEST_F(PinTransferTest, ReadDeviceWithoutDeviceByteNamesTheDisplayedPin) {
  model.NumberingOffset = 1;
  SimPin(5).AddressBytes = {0x01, 0x11, 0x12};
  EXPECT_FALSE(ReadDeviceOfPin(ctx, 5));
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"Cannot read DevicePointer from Pin 6"});
  EXPECT_EQ(Commands(), std::vector<int>{118});
}

TEST_F(PinTransferTest, ReadDeviceReadsEachMemberOnce) {
  // Device headed by pin 2 with members 3 and 5; pin 4 heads its own device.
  SimPin(2).AddressBytes = {0x40, 0x01, 0x11};
  SimPin(3).AddressBytes = {0x5F, 0x01, 0x11};
  SimPin(5).AddressBytes = {0x5D, 0x01, 0x11};
  // Pin 5's output configuration carries a byte that itself looks like a device byte
  // pointing at pin 2; it must not be taken for one.
  SimPin(5).StoredOutputConfig = {1, 0x5D, 0x40 + 9, 64, 127, 58, 127, 127, 64, 0, 64, 0};
  ASSERT_TRUE(ReadDeviceOfPin(ctx, 3));

  std::vector<int> readPins;
  for (const auto& p : Payloads()) {
    if (p[0] == 114) readPins.push_back(p[1]);
  }
  EXPECT_EQ(readPins, (std::vector<int>{2, 3, 5}));
  EXPECT_EQ(model.PinTable[5].DevicePointer, -3);
  EXPECT_EQ(model.PinTable[5].OutputConfig[1], 0x5D);
}

TEST_F(PinTransferTest, WriteDeviceWritesTheMembersFromTheModel) {
  model.PinTable[3].DevicePointer = -1;
  model.PinTable[5].DevicePointer = -3;
  model.PinTable[6].DevicePointer = -2;  // member of pin 4's device
  ASSERT_TRUE(WriteDeviceOfPin(ctx, 5));
  std::vector<int> layoutWrites;
  for (const auto& p : Payloads()) {
    if (p[0] == 98) layoutWrites.push_back(p[1]);
  }
  EXPECT_EQ(layoutWrites, (std::vector<int>{2, 3, 5}));
}

struct BrokenReferenceCase {
  int pin;
  int16_t pointer;
  int16_t headPointer;
};

class WriteDeviceRefusalTest : public TransferTest, public ::testing::WithParamInterface<BrokenReferenceCase> {};

TEST_P(WriteDeviceRefusalTest, BrokenReferenceIsRefusedWithoutSending) {
  const auto c = GetParam();
  model.PinTable[c.pin].DevicePointer = c.pointer;
  const int referred = c.pin + c.pointer;
  if (referred >= 0 && referred < 32 && referred != c.pin) model.PinTable[referred].DevicePointer = c.headPointer;
  EXPECT_FALSE(WriteDeviceOfPin(ctx, c.pin));
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"Referral is not a device"});
  EXPECT_EQ(prompt.Icons(), std::vector<MessageIcon>{MessageIcon::Warning});
  EXPECT_TRUE(Payloads().empty());
}

INSTANTIATE_TEST_SUITE_P(Pointers, WriteDeviceRefusalTest,
                         ::testing::Values(BrokenReferenceCase{5, -2, 1},     // referred pin is a member
                                           BrokenReferenceCase{0, -5, 0},     // before pin 0
                                           BrokenReferenceCase{30, 4, 0}));   // past pin 31

}  // namespace
}  // namespace brixo::testing
