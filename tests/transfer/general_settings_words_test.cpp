// The General tab's settings in words, as a printed sheet tells them: each case sets what
// a user sets on the tab and reads one line of the sheet.
#include "transfer/general_settings_words.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/case_name.h"

namespace brixo {
namespace {

struct WordsCase {
  const char* Name;
  int Offset;
  std::function<void(GeneralSettings&)> Set;
  const char* Caption;
  const char* Words;
};

std::string WordsOf(const GeneralSettings& g, int offset, const std::string& caption) {
  for (const SettingsGroup& group : GeneralSettingsInWords(g, offset)) {
    for (const NamedValue& item : group.Items) {
      if (item.Name == caption) return item.Value;
    }
  }
  return "(not told)";
}

class GeneralSettingsWordsTest : public ::testing::TestWithParam<WordsCase> {};

TEST_P(GeneralSettingsWordsTest, TellsTheSetting) {
  GeneralSettings g;
  GetParam().Set(g);
  EXPECT_EQ(WordsOf(g, GetParam().Offset, GetParam().Caption), GetParam().Words);
}

const WordsCase kCases[] = {
    {"dcc address with its outputs", 1,
     [](GeneralSettings& g) {
       g.TextGenDCCAddress = "20";
       g.LabelGenDCCOutput = "Output 77 .. 84";
     },
     "Basic Decoder Addr", "20 (Output 77 .. 84)"},
    {"extended address unused", 1, [](GeneralSettings&) {}, "Extended Dec. Addr", "1 (No addr in use)"},
    {"packet retention", 1, [](GeneralSettings& g) { g.OptGenDCC_PRP = 3; }, "Packet Retention", "500ms"},
    {"flexible addressing from 0", 0,
     [](GeneralSettings& g) {
       g.CheckGenTamloaddr = true;
       g.FlexAddress = 3;
     },
     "Serial addresses", "Tamlo Flex-Addresss, Start 12"},
    {"native mode", 1, [](GeneralSettings& g) { g.CheckGenBrixoNative = true; }, "Serial addresses",
     "Native Brixo Mode: 128 addresses from the module address on"},
    {"module extended address", 0, [](GeneralSettings& g) { g.ModuleXAddress = 5; }, "Module eXtended Address", "5"},
    {"enforced extended address", 1, [](GeneralSettings& g) { g.CheckGenForceXA = true; }, "Module eXtended Address",
     "Enforced eXtended Address"},
    {"enforced address has no group mask", 1, [](GeneralSettings& g) { g.CheckGenForceXA = true; }, "eXt Group Mask",
     "(not told)"},
    {"group mask", 1,
     [](GeneralSettings& g) {
       g.CheckGenXGM[0] = true;
       g.CheckGenXGM[15] = true;
     },
     "eXt Group Mask", "0, 15"},
    {"hardware group from 0", 0,
     [](GeneralSettings& g) {
       g.ChkGenHWCSink[2] = true;
       g.ChkGenHWCSource[2] = true;
     },
     "Pin 16..23", "Sink Driver and Source Driver"},
    {"green functions", 1, [](GeneralSettings& g) { g.CheckLCGreen = {1, 0, 0, 1, 0, 0, 0, 0}; }, "Green LED",
     "Basic DCC Packet, Brixo Message"},
    {"orange without function", 1, [](GeneralSettings&) {}, "Orange LED",
     "All Received Datagrams (no function selected)"},
    {"serial port bit rate", 1, [](GeneralSettings& g) { g.ComboGenBaud = 7; }, "Baudrate", "115200"},
    {"serial port parity", 1, [](GeneralSettings& g) { g.OptionGenSerialParity = 3; }, "Parity", "Odd"},
};

INSTANTIATE_TEST_SUITE_P(EverySetting, GeneralSettingsWordsTest, ::testing::ValuesIn(kCases), testing::CaseName());

}  // namespace
}  // namespace brixo
