#include <gtest/gtest.h>

#include <functional>

#include "general_test_fixture.h"
#include "transfer/general_settings_transfer.h"
#include "support/raw_difference.h"

namespace brixo {
namespace {

using testing::DifferenceText;

using PayloadList = std::vector<std::vector<int>>;

// A value other than the default in every group.
void FillEverything(GeneralSettings& g) {
  g.TextGenIDString = "Yard West 7";
  g.TextGenDCCAddress = "300";
  g.TextGenXDCCAddress = "1234";
  g.OptGenDCC_PRP = 1;
  g.ChkGenDCC_BPSI = true;
  g.ChkGenDCCAllow0 = true;
  g.CheckGenTamloaddr = true;
  g.FlexAddress = 20;
  g.ModuleXAddress = 17;
  g.CheckGenXGM[1] = g.CheckGenXGM[6] = g.CheckGenXGM[11] = g.CheckGenXGM[12] = true;
  g.ChkGenHWCSink = {true, false, false, true};
  g.ChkGenHWCSource = {false, true, false, true};
  g.CheckGenSerialEnable = true;
  g.ComboGenBaud = 7;
  g.OptionGenSerialDatabits = 1;
  g.OptionGenSerialStop = 1;
  g.OptionGenSerialParity = 3;
  g.CheckLCGreen = {1, 0, 0, 1, 0, 0, 0, 0};
  g.CheckLCOrange = {0, 1, 0, 0, 0, 0, 1, 0};
}

bool WriteEverything(TransferContext& ctx) {
  return WriteIdString(ctx) && WriteDccSettings(ctx) && WriteAddressSettings(ctx) && WriteHardwareConfig(ctx) &&
         WriteSerialPortConfig(ctx) && WriteLedConfig(ctx);
}

bool ReadEverything(TransferContext& ctx) {
  return ReadVersion(ctx) && ReadIdString(ctx) && ReadDccSettings(ctx) && ReadAddressSettings(ctx) &&
         ReadHardwareConfig(ctx) && ReadSerialPortConfig(ctx) && ReadLedConfig(ctx);
}

class GeneralTransferTest : public gentest::SimTest {};

TEST_F(GeneralTransferTest, WritesByteForByte) {
  struct Case {
    const char* name;
    std::function<void(GeneralSettings&)> setup;
    std::function<bool(TransferContext&)> write;
    PayloadList expected;
  };
  const Case cases[] = {
      {"flexible", [](GeneralSettings& g) { g.CheckGenTamloaddr = true; g.FlexAddress = 20; g.ModuleXAddress = 5; },
       WriteAddressSettings, {{96, 8, 1, 20}, {96, 3, 0, 0, 0, 0}, {96, 2, 5}}},
      {"native", [](GeneralSettings& g) { g.CheckGenBrixoNative = true; g.CheckGenXGM[4] = true; },
       WriteAddressSettings, {{96, 8, 0, 64}, {96, 3, 0, 1, 0, 0}, {96, 2, 0}}},
      {"enforced", [](GeneralSettings& g) { g.CheckGenForceXA = true; g.CheckGenBrixoNative = true; g.CheckGenXGM[0] = true; },
       WriteAddressSettings, {{96, 8, 0, 0}, {96, 3, 0, 0, 0, 0}, {96, 2, 127}}},
      {"serial port", [](GeneralSettings& g) { g.CheckGenSerialEnable = true; g.ComboGenBaud = 7; },
       WriteSerialPortConfig, {{96, 13, 1, 15}}},
      {"dcc", [](GeneralSettings& g) { g.TextGenDCCAddress = "300"; g.TextGenXDCCAddress = "2046"; g.OptGenDCC_PRP = 2; },
       WriteDccSettings, {{96, 5, 2}, {96, 4, 44, 4}, {96, 12, 62, 31}}},
      {"id cut", [](GeneralSettings& g) { g.TextGenIDString = "ABCDEFGHIJKLMNO"; },
       WriteIdString, {{96, 10, 65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 75, 76}}},
      {"id empty", [](GeneralSettings& g) { g.TextGenIDString.clear(); }, WriteIdString, {{96, 10}}},
      {"hardware", [](GeneralSettings& g) { g.ChkGenHWCSink[1] = true; g.ChkGenHWCSource[2] = g.ChkGenHWCSink[3] = g.ChkGenHWCSource[3] = true; },
       WriteHardwareConfig, {{96, 1, 0, 1, 2, 3}}},
      {"leds", [](GeneralSettings& g) { g.CheckLCGreen = {1, 0, 0, 1, 0, 0, 0, 0}; },
       WriteLedConfig, {{96, 6, 9}, {96, 7, 0}}},
  };
  for (const Case& c : cases) {
    general = GeneralSettings{};
    c.setup(general);
    ClearPayloads();
    EXPECT_TRUE(c.write(ctx)) << c.name;
    EXPECT_EQ(Payloads(), c.expected) << c.name;
  }
  EXPECT_EQ(general.TextGenIDString, "");
  // Only the cut is told, before the write.
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"The ID string \"ABCDEFGHIJKLMNO\" is longer than the 12 "
                                                      "characters a controller holds: \"ABCDEFGHIJKL\" is written"});
}

TEST_F(GeneralTransferTest, IdCharactersAbove127AreReplacedAndTheUserTold) {
  general.TextGenIDString = "\xC3\x84nderung";  // one character, two bytes
  ASSERT_TRUE(WriteIdString(ctx));
  EXPECT_EQ(Payloads().back(), (std::vector<int>{96, 10, '?', 'n', 'd', 'e', 'r', 'u', 'n', 'g'}));
  EXPECT_EQ(general.TextGenIDString, "?nderung");
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"Characters that cannot be sent were replaced by ?"});
}

TEST_F(GeneralTransferTest, RoundTripThroughTheController) {
  FillEverything(general);
  const GeneralSettings written = general;
  ASSERT_TRUE(WriteEverything(ctx));

  general = GeneralSettings{};
  link.CheckBrixoBD = false;
  ASSERT_TRUE(ReadEverything(ctx));
  EXPECT_TRUE(link.CheckBrixoBD);
  EXPECT_TRUE(prompt.Messages.empty()) << prompt.Messages.front();  // no flexible-addressing question
  EXPECT_EQ(general.LabelGenVersionString, "3.2.1.0");
  EXPECT_EQ(general.TextGenIDString, written.TextGenIDString);
  EXPECT_EQ(general.TextGenDCCAddress, "300");
  EXPECT_EQ(general.TextGenXDCCAddress, "1234");
  EXPECT_EQ(general.OptGenDCC_PRP, 1);
  EXPECT_TRUE(general.ChkGenDCC_BPSI && general.ChkGenDCCAllow0);
  EXPECT_TRUE(general.CheckGenTamloaddr);
  EXPECT_FALSE(general.QuietAddressUpdate);
  EXPECT_EQ(general.FlexAddress, 20);
  EXPECT_EQ(general.TextGenTamloaddr, "81");
  EXPECT_EQ(general.ModuleXAddress, 17);
  EXPECT_EQ(general.TextGenXaddr, "18");
  EXPECT_EQ(general.CheckGenXGM, written.CheckGenXGM);
  EXPECT_EQ(general.ChkGenHWCSink, written.ChkGenHWCSink);
  EXPECT_EQ(general.ChkGenHWCSource, written.ChkGenHWCSource);
  EXPECT_TRUE(general.CheckGenSerialEnable);
  EXPECT_EQ(general.ComboGenBaud, 7);
  EXPECT_EQ(general.OptionGenSerialDatabits, 1);
  EXPECT_EQ(general.OptionGenSerialStop, 1);
  EXPECT_EQ(general.OptionGenSerialParity, 3);
  EXPECT_EQ(general.CheckLCGreen, written.CheckLCGreen);
  EXPECT_EQ(general.CheckLCOrange, written.CheckLCOrange);

  EXPECT_TRUE(VerifyGeneralSettings(ctx));
  EXPECT_EQ(report.Text, "Start General Settings Verification\r\n");
}

TEST_F(GeneralTransferTest, ReadsDecodeControllerBytes) {
  Memory().SerialFlexFlag = 0;
  Memory().SerialAddressByte = 64;
  Memory().ModuleXAddress = 127;
  general.FlexAddress = 33;
  ASSERT_TRUE(ReadAddressSettings(ctx));
  EXPECT_TRUE(general.CheckGenBrixoNative);
  EXPECT_FALSE(general.CheckGenTamloaddr);
  EXPECT_EQ(general.FlexAddress, 0);
  EXPECT_TRUE(general.CheckGenForceXA);
  EXPECT_EQ(general.ModuleXAddress, 0);

  Memory().DccLow = 44;
  Memory().DccHigh = 4;
  Memory().GreenLed = 0;
  Memory().OrangeLed = 9;
  Memory().SerialEnable = 1;
  Memory().SerialFormat = 96;
  ASSERT_TRUE(ReadDccSettings(ctx) && ReadLedConfig(ctx) && ReadSerialPortConfig(ctx));
  EXPECT_EQ(general.TextGenDCCAddress, "300");
  EXPECT_EQ(general.CheckLCGreen, (std::array<uint8_t, 8>{0, 0, 0, 0, 0, 0, 0, 2}));
  EXPECT_EQ(general.CheckLCOrange, (std::array<uint8_t, 8>{1, 0, 0, 1, 0, 0, 0, 0}));
  EXPECT_EQ(general.ComboGenBaud, 0);
  EXPECT_EQ(general.OptionGenSerialDatabits, 0);
  EXPECT_EQ(general.OptionGenSerialParity, 2);
  EXPECT_EQ(general.OptionGenSerialStop, 1);
}

// A read keeps what the controller holds, 0 included whatever "Allow Address 0" says; what
// a write could not send back as the same bytes is said at once.
TEST_F(GeneralTransferTest, DccAddressesAreKeptAsTheControllerHoldsThem) {
  struct Case {
    const char* name;
    int low, high, xlow, xhigh;
    const char* basic;
    const char* extended;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"zero without Allow0", 0, 0, 0, 0, "0", "0", {}},
      {"ordinary", 44, 4, 62, 31, "300", "2046", {}},
      {"beyond the fields", 63, 7, 63, 31, "510", "2046",
       {"DCC address: the controller holds 511, which cannot be written back as it is; a write sends 510",
        "eXtended DCC address: the controller holds 2047, which cannot be written back as it is; a write sends 2046"}},
      {"low byte of no address", 70, 0, 1, 0, "70", "1",
       {"DCC address: the controller holds the bytes 70, 0, which cannot be written back as it is; a write sends 70"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    general = GeneralSettings{};
    prompt.Clear();
    Memory().DccOptions = 2;  // "Allow Address 0" off
    Memory().DccLow = static_cast<uint8_t>(c.low);
    Memory().DccHigh = static_cast<uint8_t>(c.high);
    Memory().XDccLow = static_cast<uint8_t>(c.xlow);
    Memory().XDccHigh = static_cast<uint8_t>(c.xhigh);
    ASSERT_TRUE(ReadDccSettings(ctx));
    EXPECT_FALSE(general.ChkGenDCCAllow0);
    EXPECT_EQ(general.TextGenDCCAddress, c.basic);
    EXPECT_EQ(general.TextGenXDCCAddress, c.extended);
    EXPECT_EQ(prompt.Messages, c.messages);
    if (!c.messages.empty()) continue;
    // What was read is what a write sends back.
    ClearPayloads();
    ASSERT_TRUE(WriteDccSettings(ctx));
    EXPECT_EQ(Payloads(), (PayloadList{{96, 5, 2}, {96, 4, c.low, c.high}, {96, 12, c.xlow, c.xhigh}}));
  }
}

TEST_F(GeneralTransferTest, RefusedRepliesAreReported) {
  struct Case {
    int sub;
    std::vector<int> reply;
    std::function<bool(TransferContext&)> read;
    const char* message;
    bool result;
  };
  const Case cases[] = {
      {0, {112, 0, 1, 2}, ReadVersion, "GetVersion: No valid response, size <> 6", false},
      {0, {112, 1, 1, 2, 3, 4}, ReadVersion, "GetVersion: No valid response", false},
      {10, {112, 9, 65}, ReadIdString, "No valid response", false},
      {5, {112, 5}, ReadDccSettings, "Received Address, cannot read DCC options", true},
      {5, {113, 5, 0}, ReadDccSettings, "Received Address: No valid response", true},
      {4, {112, 4, 1}, ReadDccSettings, "Get DCC Address: No valid response, size <> 4", true},
      {4, {112, 3, 1, 0}, ReadDccSettings, "Get DCC Address: No valid response", true},
      {12, {112, 12, 1}, ReadDccSettings, "No valid response", true},
      {8, {112, 8, 1}, ReadAddressSettings, "No valid response, size = 3 expected = 4", true},
      {8, {113, 8, 0, 0}, ReadAddressSettings, "No valid response, msg = 113,8 expected = 112,8", true},
      {2, {112, 2}, ReadAddressSettings, "No valid response, size = 2 expected = 3", true},
      {3, {112, 4, 0, 0, 0, 0}, ReadAddressSettings, "No valid response, msg = 112,4 expected = 112,3", true},
      {1, {112, 1, 0}, ReadHardwareConfig, "No valid response size", true},
      {1, {112, 0, 0, 0, 0, 0}, ReadHardwareConfig, "No valid response type", true},
      {13, {112, 13, 1}, ReadSerialPortConfig, "No valid response, size = 3 expected = 4", true},
      {13, {112, 14, 1, 1}, ReadSerialPortConfig, "No valid response, msg = 112,14 expected = 112,13", true},
      {7, {112, 7}, ReadLedConfig, "No valid response", true},
  };
  for (const Case& c : cases) {
    general = GeneralSettings{};
    prompt.Messages.clear();
    ReshapeReply(112, c.sub, c.reply);
    EXPECT_EQ(c.read(ctx), c.result) << c.message;
    EXPECT_EQ(prompt.Messages, std::vector<std::string>{c.message}) << c.sub;
  }
}

TEST_F(GeneralTransferTest, BadHardwareByteStopsAfterEarlierGroups) {
  ReshapeReply(112, 1, {112, 1, 1, 2, 4, 3});
  EXPECT_FALSE(ReadHardwareConfig(ctx));
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"No valid response byte"});
  EXPECT_EQ(general.ChkGenHWCSink, (std::array<bool, 4>{true, false, false, false}));
  EXPECT_EQ(general.ChkGenHWCSource, (std::array<bool, 4>{false, true, false, false}));
}

TEST_F(GeneralTransferTest, LinkFailureStopsTheRead) {
  port.Controller().Faults().FailAfterFrames = 1;  // options answered, address not
  EXPECT_FALSE(ReadDccSettings(ctx));
  EXPECT_EQ(Payloads(), (PayloadList{{112, 5}}));
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"No response received, resetting bidirectional communication"});
}

TEST_F(GeneralTransferTest, EraseNeedsOkThenCancel) {
  struct Case { std::vector<MessageAnswer> answers; bool sent; };
  for (const Case& c : {Case{{MessageAnswer::Cancel}, false}, Case{{MessageAnswer::Ok, MessageAnswer::Ok}, false},
                        Case{{MessageAnswer::Ok, MessageAnswer::Cancel}, true}}) {
    ClearPayloads();
    prompt.Answers.assign(c.answers.begin(), c.answers.end());
    prompt.Messages.clear();
    link.CheckBrixoBD = true;
    EXPECT_EQ(EraseFlash(ctx), c.sent);
    EXPECT_EQ(prompt.Messages.size(), c.answers.size());
    EXPECT_TRUE(link.CheckBrixoBD);
    const PayloadList expected = c.sent ? PayloadList{{96, 0, 83, 61, 11, 29, 66, 9, 35, 14}} : PayloadList{};
    EXPECT_EQ(Payloads(), expected);
  }
  EXPECT_EQ(prompt.Messages[1],
            "WARNING !!\nThis operation will erase the Brixo Configuration Memory\n"
            "The green LED on the Brixo will be ON during this process\n"
            "The erase process may take up to 45 seconds, please be patient\n\nDo you want to cancel this operation?");
}

class GeneralVerifyTest : public GeneralTransferTest {
 protected:
  void SetUp() override {
    GeneralTransferTest::SetUp();
    FillEverything(general);
    ASSERT_TRUE(WriteEverything(ctx));
    matching = general;
    ClearPayloads();
  }
  std::string Report(const std::string& line) {
    return "Start General Settings Verification\r\n" + (line.empty() ? "" : line + "\r\n");
  }
  GeneralSettings matching;
};

TEST_F(GeneralVerifyTest, EachDifferenceHasItsLineAndFailsNamingTheField) {
  struct Case {
    std::function<void(GeneralSettings&)> change;
    const char* line;
    const char* difference;
  };
  const Case cases[] = {
      {[](GeneralSettings& g) { g.TextGenIDString = "Yard East"; },
       "ID does not compare: BrixoConfig = <Yard East> Brixo = <Yard West 7>",
       "ID string: file <Yard East>, controller <Yard West 7>"},
      {[](GeneralSettings& g) { g.ChkGenHWCSink[2] = true; }, "Hardware configuration does not compare",
       "hardware configuration group 2: file 1, controller 0"},
      {[](GeneralSettings& g) { g.TextGenDCCAddress = "301"; }, "DCC address does not compare",
       "DCC address: file 301, controller 300"},
      {[](GeneralSettings& g) { g.TextGenXDCCAddress = "12"; }, "eXtended DCC address does not compare",
       "extended DCC address: file 12, controller 1234"},
      {[](GeneralSettings& g) { g.OptGenDCC_PRP = 0; }, "DCC Options do not compare", "DCC options: file 12, controller 13"},
      {[](GeneralSettings& g) { g.FlexAddress = 21; }, "Serial Address Settings do not compare",
       "flexible start address / 4: file 21, controller 20"},
      {[](GeneralSettings& g) { g.ModuleXAddress = 3; }, "eXtended Address does not compare",
       "module extended address: file 3, controller 17"},
      {[](GeneralSettings& g) { g.CheckGenXGM[0] = true; }, "eXtended Group Mask does not compare",
       "extended group mask 0: file 3, controller 2"},
      {[](GeneralSettings& g) { g.CheckLCGreen[2] = 1; }, "Green LED configuration does not compare",
       "green LED functions: file 13, controller 9"},
      {[](GeneralSettings& g) { g.CheckLCOrange[6] = 0; }, "Orange LED configuration does not compare",
       "orange LED functions: file 2, controller 66"},
      {[](GeneralSettings& g) { g.ComboGenBaud = 6; }, "Serial Port Configuration does not compare",
       "serial port bit rate: file 6, controller 7"},
  };
  for (const Case& c : cases) {
    general = matching;
    c.change(general);
    report.Clear();
    const VerificationResult result = VerifyGeneralSettings(ctx);
    EXPECT_FALSE(result.Ok) << c.line;
    EXPECT_EQ(report.Text, Report(c.line));
    ASSERT_EQ(result.Differences.size(), 1u) << c.line;
    EXPECT_EQ(DifferenceText(result.Differences[0], 1), c.difference);
  }
  general = matching;
  report.Clear();
  const VerificationResult same = VerifyGeneralSettings(ctx);
  EXPECT_TRUE(same.Ok);
  EXPECT_TRUE(same.Differences.empty());
}

// A controller holds 12 characters: a longer text, as a file may hold it, is not what it
// holds even when the first 12 agree. The write cuts the box, so it compares afterwards.
TEST_F(GeneralVerifyTest, AnIdLongerThanTheControllerHoldsDoesNotCompare) {
  general.TextGenIDString = "ABCDEFGHIJKLMNO";
  ASSERT_TRUE(WriteIdString(ctx));
  general.TextGenIDString = "ABCDEFGHIJKLMNO";
  report.Clear();
  EXPECT_FALSE(VerifyGeneralSettings(ctx).Ok);
  EXPECT_EQ(report.Text, Report("ID does not compare: BrixoConfig = <ABCDEFGHIJKLMNO> Brixo = <ABCDEFGHIJKL>"));
  ASSERT_TRUE(WriteIdString(ctx));
  EXPECT_TRUE(VerifyGeneralSettings(ctx).Ok);
}

TEST_F(GeneralVerifyTest, RefusedRepliesEndOrGoOn) {
  struct Case {
    int sub;
    std::vector<int> reply;
    const char* line;
    bool verdict;
    int lastRequest;  // 13 when the verification went on to its end
  };
  const Case cases[] = {
      {10, {112}, "ReadIDString: No valid response", false, 10},
      {1, {112, 1, 0}, "HWCRead: No valid response size", false, 1},
      {1, {112, 2, 0, 0, 0, 0}, "HWCRead: No valid response type", false, 1},
      {4, {112, 4, 1}, "DCC Address: No valid response", false, 4},
      {4, {112, 5, 1, 0}, "DCC Address: No valid response", false, 4},
      {12, {112, 12}, "eXtended DCC Address: No valid response", false, 12},
      {12, {113, 12, 1, 0}, "eXtended DCC Address: No valid response", false, 12},
      {5, {112, 5, 0, 0}, "DCC Options: No valid response", false, 5},
      {8, {112, 8, 1}, "Serial Address Settings: No valid response, size = 3 expected = 4", false, 8},
      {8, {112, 9, 1, 20}, "Serial Address Settings: No valid response, msg = 112,9 expected = 112,8", false, 8},
      {2, {112, 2}, "eXtended Address: No valid response, size = 2 expected = 3", false, 2},
      {2, {100, 2, 17}, "eXtended Address: No valid response, msg = 100,2 expected = 112,2", false, 2},
      {3, {112, 3, 1}, "eXtended Group Mask: No valid response, size = 3 expected = 6", false, 3},
      {3, {112, 4, 0, 0, 0, 0}, "eXtended Group Mask: No valid response, msg = 112,4 expected = 112,3", false, 3},
      {6, {112, 6}, "ReadLEDConfig: No valid response", false, 6},
      {7, {112, 8, 0}, "ReadLEDConfig: No valid response", false, 7},
      {13, {112, 13, 1}, "Serial Port Config: No valid response, size = 3 expected = 4", false, 13},
      {13, {112, 12, 1, 0}, "Serial Port Config: No valid response, msg = 112,12 expected = 112,13", false, 13},
  };
  for (const Case& c : cases) {
    report.Clear();
    ClearPayloads();
    ReshapeReply(112, c.sub, c.reply);
    EXPECT_EQ(VerifyGeneralSettings(ctx).Ok, c.verdict) << c.line;
    EXPECT_EQ(report.Text, Report(c.line));
    EXPECT_EQ(Payloads().back(), (std::vector<int>{112, c.lastRequest})) << c.line;
  }
}

TEST_F(GeneralVerifyTest, UnansweredReadsNeverPassAsCompared) {
  struct Case { int sub; int lastRequest; };
  for (const Case& c : {Case{10, 13}, Case{1, 13}, Case{4, 4}, Case{8, 8}, Case{13, 13}}) {
    report.Clear();
    ClearPayloads();
    SpoilReply(112, c.sub);
    EXPECT_FALSE(VerifyGeneralSettings(ctx)) << c.sub;
    EXPECT_EQ(report.Text, Report("")) << c.sub;
    EXPECT_EQ(Payloads().back(), (std::vector<int>{112, c.lastRequest})) << c.sub;
  }
}

TEST_F(GeneralVerifyTest, EnforcedAddressComparesWithWhatItsWriteSends) {
  // The write sends 127, an all-zero mask and serial address 0, 0 whatever the boxes hold.
  general.CheckGenForceXA = true;
  ASSERT_TRUE(WriteAddressSettings(ctx));
  EXPECT_TRUE(VerifyGeneralSettings(ctx));
  EXPECT_EQ(report.Text, Report(""));

  struct Case {
    int sub;
    std::vector<int> held;
    const char* line;
    FieldKind field;
  };
  const Case cases[] = {
      {2, {112, 2, 17}, "eXtended Address does not compare", FieldKind::ModuleXAddress},
      {3, {112, 3, 0, 0, 1, 0}, "eXtended Group Mask does not compare", FieldKind::GroupMask},
      {8, {112, 8, 0, 64}, "Serial Address Settings do not compare", FieldKind::FlexValue},
  };
  for (const Case& c : cases) {
    report.Clear();
    ReshapeReply(112, c.sub, c.held);
    const VerificationResult result = VerifyGeneralSettings(ctx);
    EXPECT_FALSE(result.Ok) << c.line;
    EXPECT_EQ(report.Text, Report(c.line));
    ASSERT_EQ(result.Differences.size(), 1u) << c.line;
    EXPECT_EQ(result.Differences[0].Field.Kind, c.field) << c.line;
  }
}

}  // namespace
}  // namespace brixo
