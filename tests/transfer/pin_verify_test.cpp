#include <gtest/gtest.h>

#include <functional>

#include "pin_test_fixture.h"
#include "support/raw_difference.h"
#include "transfer/pin_transfer.h"

namespace brixo::testing {
namespace {

// A controller that holds exactly what the model says, so that each case changes one thing.
class PinVerifyTest : public TransferTest {
 protected:
  void SetUp() override {
    TransferTest::SetUp();
    for (int p = 0; p < 32; ++p) model.PinTable[p] = SamplePin(static_cast<uint8_t>(p % 3 == 0 ? 0 : p % 3 + 1));
    model.PinTable[4] = SamplePin(3);
    model.PinTable[4].OutputConfig = {1, 64, 43, 64, 127, 58, 127, 127, 64, 0, 64, 0, 0};
    model.PinTable[7].OutputConfig = {2, 10, 0, 28, 0, 31, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(WriteAllPinsLoop(ctx));
    ClearPayloads();
  }

  std::vector<std::string> ReportLines() const {
    std::vector<std::string> lines;
    std::string text = report.Text;
    size_t start = 0;
    for (size_t pos; (pos = text.find("\r\n", start)) != std::string::npos; start = pos + 2) {
      lines.push_back(text.substr(start, pos - start));
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
  }

  std::vector<std::string> Header() const {
    return {"Start Pin Verification", "Note: Numbering starts at 1"};
  }
};

TEST_F(PinVerifyTest, UnchangedControllerCompares) {
  EXPECT_TRUE(VerifyPins(ctx));
  EXPECT_EQ(ReportLines(), Header());
}

struct DifferenceCase {
  const char* name;
  std::function<void(ControllerMemory&, ConfigModel&)> change;
  std::vector<std::string> lines;
  std::vector<std::string> differences = {};  // as listed beside the report, numbered from 1
};

class PinDifferenceTest : public PinVerifyTest, public ::testing::WithParamInterface<DifferenceCase> {};

TEST_P(PinDifferenceTest, ReportsEachDifference) {
  GetParam().change(port.Controller().Memory(), model);
  std::vector<std::string> expected = Header();
  expected.insert(expected.end(), GetParam().lines.begin(), GetParam().lines.end());
  const VerificationResult result = VerifyPins(ctx);
  EXPECT_EQ(result.Ok, GetParam().lines.empty());
  EXPECT_EQ(ReportLines(), expected);
  std::vector<std::string> differences;
  for (const Difference& d : result.Differences) differences.push_back(DifferenceText(d, 1));
  EXPECT_EQ(differences, GetParam().differences);
  EXPECT_EQ(CountCommand(113), 32);  // a difference never stops the verification
  // All 32 pins were compared.
  EXPECT_EQ(result.Compared, std::vector<std::string>{"32 pins"});
}

const DifferenceCase kDifferences[] = {
    {"OutputConfig", [](ControllerMemory& m, ConfigModel&) { m.Pins[4].StoredOutputConfig[5] = 3; },
     {"Pin 5: Pinconfig does not compare"}, {"pin 5 output byte 5: file 58, controller 3"}},
    // The bytes, not their meaning: the older form of the same range is another byte.
    {"ServoRangeInHighHalf", [](ControllerMemory& m, ConfigModel&) { m.Pins[4].StoredOutputConfig[2] = 0x30; },
     {"Pin 5: Pinconfig does not compare"}, {"pin 5 output byte 2: file 43, controller 48"}},
    {"ServoFlagsWithBit3", [](ControllerMemory& m, ConfigModel&) { m.Pins[4].StoredOutputConfig[2] = 0x38; },
     {"Pin 5: Pinconfig does not compare"}, {"pin 5 output byte 2: file 43, controller 56"}},
    {"LayoutStillChecksInitAndAddresses",
     [](ControllerMemory& m, ConfigModel&) {
       m.Pins[4].AspectConfig = 2;
       m.Pins[4].InitByte = 0x75;
       m.Pins[4].AddressBytes[1] = 0x14;
     },
     {"Pin 5: Aspectconfig does not compare", "Pin 5: Init does not compare",
      "Pin 5: Serial Address Configuration does not compare"},
     {"pin 5 layout: file 3, controller 2", "pin 5 initial aspect: file 2, controller 5",
      "pin 5 serial address count: file 3, controller 4"}},
    {"OneLinePerAspect",
     [](ControllerMemory& m, ConfigModel&) {
       m.Pins[4].Steps[2][4][0] = 9;
       m.Pins[4].Steps[2][6][4] = 9;
       m.Pins[4].Steps[3][8][2] = 99;
     },
     {"Pin 5: Aspect 2 does not compare", "Pin 5: Aspect 3 does not compare"},
     {"pin 5 aspect 2 step 4 instruction: file 1 (Jump), controller 9 (On)", "pin 5 aspect 2 step 6 Par3: file 1, controller 9",
      "pin 5 aspect 3 step 8 Par1: file 3, controller 99"}},
    {"SevenBitSplit", [](ControllerMemory& m, ConfigModel&) { m.Pins[4].Steps[1][1][1] = 1; },
     {"Pin 5: Aspect 1 does not compare"}, {"pin 5 aspect 1 step 1 Par2: file 129, controller 1"}},
    {"Init", [](ControllerMemory& m, ConfigModel&) { m.Pins[4].InitByte = 0x7F; }, {"Pin 5: Init does not compare"},
     {"pin 5 initial aspect: file 2, controller -1"}},
    {"InitNotAnAspectByte", [](ControllerMemory& m, ConfigModel&) { m.Pins[4].InitByte = 0x35; },
     {"Pin 5: Init does not compare"}, {"pin 5 initial aspect: file 2, controller -1"}},
    {"NoInitBothSides",
     [](ControllerMemory& m, ConfigModel& model) {
       m.Pins[4].InitByte = 0x7F;
       model.PinTable[4].InitAspect = 0;
     },
     {}},
    {"Dcc", [](ControllerMemory& m, ConfigModel&) { m.Pins[4].AddressBytes[0] = 0x02; },
     {"Pin 5: DCC Address Configuration does not compare"}, {"pin 5 extended DCC address count: file 1, controller 0"}},
    {"Serial", [](ControllerMemory& m, ConfigModel&) { m.Pins[4].AddressBytes[1] = 0x12; },
     {"Pin 5: Serial Address Configuration does not compare"}, {"pin 5 serial address count: file 3, controller 2"}},
    {"Device", [](ControllerMemory& m, ConfigModel&) { m.Pins[4].AddressBytes[2] = 0x40; },
     {"Pin 5: Device Pointer does not compare"}, {"pin 5 device pointer: file -3, controller 0"}},
    {"UntaggedAddressByte", [](ControllerMemory& m, ConfigModel&) { m.Pins[4].AddressBytes[2] = 0x25; },
     {"Pin Address Configuration: Invalid Response 2", "Pin 5: Device Pointer does not compare"},
     {"pin 5 device pointer: file -3, controller missing"}},
    {"TagTwice", [](ControllerMemory& m, ConfigModel&) { m.Pins[4].AddressBytes[1] = 0x03; },
     {"Pin 5: Serial Address Configuration does not compare"}, {"pin 5 serial address count: file 3, controller missing"}},
    {"DeviceByteBeyondThePins", [](ControllerMemory& m, ConfigModel&) { m.Pins[4].AddressBytes[2] |= 0x20; },
     {"Pin 5: Device Pointer does not compare"}, {"pin 5 device pointer: file -3, controller byte 125"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, PinDifferenceTest, ::testing::ValuesIn(kDifferences),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PinVerifyTest, AnOutputReplyWithoutTheBytesItsTypeUsesStops) {
  ReplyRewritingPort rewriting(port);
  link.AttachPort(&rewriting);
  for (const std::vector<int>& reply : {std::vector<int>{113, 4, 1}, std::vector<int>{113, 4, 1, 64, 43, 64, 127}}) {
    rewriting.Rewrite = [&reply](std::vector<int>& payload, int&) {
      if (payload[0] == 113 && payload[1] == 4) payload = reply;
    };
    report.Clear();
    ClearPayloads();
    EXPECT_FALSE(VerifyPins(ctx).Ok);
    EXPECT_EQ(ReportLines().back(), "No valid response");
    EXPECT_EQ(CountCommand(113), 5);
  }
}

TEST_F(PinVerifyTest, ShortPwmReportCompares) {
  port.Controller().Faults().ShortPwmConfig = true;
  EXPECT_TRUE(VerifyPins(ctx));
  model.PinTable[7].OutputConfig[5] = 20;
  report.Clear();
  const VerificationResult result = VerifyPins(ctx);
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(ReportLines().back(), "Pin 8: Pinconfig does not compare");
  ASSERT_EQ(result.Differences.size(), 1u);
  EXPECT_EQ(DifferenceText(result.Differences[0], 1), "pin 8 output byte 5: file 20, controller 31");
}

TEST_F(PinVerifyTest, NumbersFromZeroWithoutTheNote) {
  model.NumberingOffset = 0;
  port.Controller().Memory().Pins[4].InitByte = 0x7F;
  const VerificationResult result = VerifyPins(ctx);
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(ReportLines(), (std::vector<std::string>{"Start Pin Verification", "Pin 4: Init does not compare"}));
  ASSERT_EQ(result.Differences.size(), 1u);
  EXPECT_EQ(DifferenceText(result.Differences[0], 0), "pin 4 initial aspect: file 2, controller -1");
}

TEST_F(PinVerifyTest, AddressReplyOfAnotherShapeIsReportedAndVerificationGoesOn) {
  ReplyRewritingPort rewriting(port);
  link.AttachPort(&rewriting);
  rewriting.Rewrite = [](std::vector<int>& payload, int&) {
    if (payload.size() == 5 && payload[0] == 118 && payload[1] == 4) payload.pop_back();
  };
  const VerificationResult result = VerifyPins(ctx);
  EXPECT_FALSE(result.Ok);
  std::vector<std::string> expected = Header();
  expected.push_back("Pin Address Configuration: Invalid Response, expected 5,118,4, received 4,118,4");
  EXPECT_EQ(ReportLines(), expected);
  EXPECT_EQ(CountCommand(118), 32);
  // The reply that could not be read is in the list, so that every listing shows it.
  ASSERT_EQ(result.Differences.size(), 1u);
  EXPECT_EQ(DifferenceText(result.Differences[0], 1), "pin 5 DCC address count: file 2, controller no valid response");
  EXPECT_EQ(VerificationVerdict(result, 1), "Differences Found");
}

struct StopCase {
  const char* name;
  std::function<void(std::vector<int>&, int&)> rewrite;
  const char* difference;  // the last one listed: the reply that could not be read
};

class PinVerifyStopTest : public PinVerifyTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(PinVerifyStopTest, WrongReplyStopsWithNoValidResponse) {
  ReplyRewritingPort rewriting(port);
  link.AttachPort(&rewriting);
  rewriting.Rewrite = GetParam().rewrite;
  const VerificationResult result = VerifyPins(ctx);
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(ReportLines().back(), "No valid response");
  // Nothing of pin 5 (internal 5) or later was asked for.
  for (const auto& p : Payloads()) EXPECT_LE(p[1], 4);
  EXPECT_TRUE(result.Compared.empty());
  EXPECT_EQ(result.Partial, "4 of 32 pins");
  ASSERT_FALSE(result.Differences.empty());
  EXPECT_EQ(DifferenceText(result.Differences.back(), 1), GetParam().difference);
}

const StopCase kStops[] = {
    {"OutputConfigTooShort",
     [](std::vector<int>& p, int&) {
       if (p[0] == 113 && p[1] == 4) p.resize(2);
     },
     "pin 5 output byte 0: file 1, controller no valid response"},
    {"OutputConfigOtherPin",
     [](std::vector<int>& p, int&) {
       if (p[0] == 113 && p[1] == 4) p[1] = 5;
     },
     "pin 5 output byte 0: file 1, controller no valid response"},
    {"LayoutEcho",
     [](std::vector<int>& p, int&) {
       if (p[0] == 114 && p[1] == 4) p[0] = 115;
     },
     "pin 5 layout: file 3, controller no valid response"},
    {"DifferenceThenWrongLayout",
     [](std::vector<int>& p, int&) {
       if (p[0] == 113 && p[1] == 4) p[3] = 1;  // the pin differs first ...
       if (p[0] == 114 && p[1] == 4) p.push_back(0);  // ... then its layout reply is wrong
     },
     "pin 5 layout: file 3, controller no valid response"},
    {"StepLength",
     [](std::vector<int>& p, int&) {
       if (p[0] == 115 && p[1] == 4 && p[2] == 3) p.pop_back();
     },
     "pin 5 aspect 3 step 0 instruction: file 1 (Jump), controller no valid response"},
};

INSTANTIATE_TEST_SUITE_P(Cases, PinVerifyStopTest, ::testing::ValuesIn(kStops),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PinVerifyTest, ExchangeFailureStopsWithoutAReportLine) {
  port.Controller().Faults().FailAfterFrames = 3;
  EXPECT_FALSE(VerifyPins(ctx));
  EXPECT_EQ(ReportLines(), Header());
}

}  // namespace
}  // namespace brixo::testing
