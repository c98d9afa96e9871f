#include <gtest/gtest.h>

#include "support/recording_prompt.h"
#include "support/recording_transfer_view.h"
#include "transfer/general_settings.h"

namespace brixo {
namespace {

using testing::RecordingTransferView;
using testing::RecordingPrompt;

class GeneralTabTest : public ::testing::Test {
 protected:
  GeneralSettings general;
  ConfigModel model;
  AddressMaps maps;
  RecordingTransferView view;
  RecordingPrompt prompt;
  GeneralTab tab{general, model, maps, view, prompt};
};

TEST_F(GeneralTabTest, TamloAddressCommitsInStepsOfFour) {
  struct Case { int offset; const char* typed; const char* shown; int flex; };
  for (const Case& c : {Case{1, "0", "1", 0}, Case{1, "6", "5", 1}, Case{1, "600", "509", 127},
                        Case{0, "7", "4", 1}, Case{0, "-3", "0", 0}}) {
    model.NumberingOffset = static_cast<uint8_t>(c.offset);
    EXPECT_EQ(CommitTextGenTamloaddr(tab, c.typed), c.shown) << c.typed;
    EXPECT_EQ(general.FlexAddress, c.flex) << c.typed;
  }
  EXPECT_EQ(view.Calls.back(), "ShowSerialAddress");
}

TEST_F(GeneralTabTest, TamloSpinnerStopsAtItsBounds) {
  model.NumberingOffset = 1;
  general.FlexAddress = 126;
  EXPECT_EQ(UpDownGenTamloaddr(tab, true), "509");
  EXPECT_EQ(UpDownGenTamloaddr(tab, true), "509");
  general.FlexAddress = 0;
  EXPECT_EQ(UpDownGenTamloaddr(tab, false), "1");
}

TEST_F(GeneralTabTest, ModuleXAddressFollowsNumberingBase) {
  model.NumberingOffset = 1;
  EXPECT_EQ(CommitTextGenXaddr(tab, "200"), "96");
  EXPECT_EQ(general.ModuleXAddress, 95);
  EXPECT_EQ(UpDownGenXaddr(tab, true), "96");
  EXPECT_EQ(CommitTextGenXaddr(tab, "0"), "1");
  EXPECT_EQ(general.ModuleXAddress, 0);

  general.FlexAddress = 3;
  general.ModuleXAddress = 10;
  ApplyNumberingOffsetToGeneral(general, 0, maps);
  EXPECT_EQ(general.TextGenTamloaddr, "12");
  EXPECT_EQ(general.TextGenXaddr, "10");
  EXPECT_EQ(general.ModuleXAddress, 10);
  EXPECT_EQ(GenXaddrRange(0).Max, 95);
  EXPECT_EQ(LabelGenHWCPinCaption(0), "Pin       0..7         8..15      16..23       24..31");
  EXPECT_EQ(LabelGenHWCPinCaption(1), "Pin       1..8         9..16      17..24       25..32");
}

TEST_F(GeneralTabTest, DccOutputRangeLabels) {
  struct Case { bool allow0; int offset; const char* address; int total; const char* label; bool red; int first; };
  for (const Case& c : {Case{false, 1, "1", 8, "Output 1 .. 8", false, 1},
                        Case{false, 1, "510", 8, "Output 2037 .. OVFLOW", true, 2037},
                        Case{false, 0, "509", 8, "Output 2033 .. 2040", false, 2033},
                        Case{true, 0, "0", 4, "Output 0 .. 3", false, 0},
                        Case{true, 1, "0", 4, "Output 1 .. 4", false, 1},
                        Case{false, 1, "5", 0, "No addr in use", false, 17}}) {
    general.ChkGenDCCAllow0 = c.allow0;
    model.NumberingOffset = static_cast<uint8_t>(c.offset);
    maps.DccAddressTotal = c.total;
    CommitTextGenDCCAddress(tab, c.address);
    EXPECT_EQ(general.LabelGenDCCOutput, c.label) << c.address;
    EXPECT_EQ(general.LabelGenDCCOutputRed, c.red) << c.address;
    EXPECT_EQ(general.DccFirstOutput, c.first) << c.address;
  }
  EXPECT_EQ(view.Calls.back(), "ShowDccAddress");
}

TEST_F(GeneralTabTest, XDccOutputRangeLabels) {
  struct Case { bool allow0; const char* address; int total; const char* label; bool red; };
  // Overflow exactly when the last address used lies beyond 2046.
  for (const Case& c : {Case{false, "2040", 6, "Output 2040 .. 2045", false},
                        Case{false, "2041", 6, "Output 2041 .. 2046", false},
                        Case{false, "2042", 6, "Output 2042 .. OVERFLOW", true},
                        Case{true, "0", 2, "Output 1 .. 2", false},
                        Case{false, "3000", 1, "Output 2046 .. 2046", false},
                        Case{false, "3000", 2, "Output 2046 .. OVERFLOW", true}}) {
    general.ChkGenDCCAllow0 = c.allow0;
    maps.XDccAddressTotal = c.total;
    CommitTextGenXDCCAddress(tab, c.address);
    EXPECT_EQ(general.LabelGenXDCCOutput, c.label) << c.address;
    EXPECT_EQ(general.LabelGenXDCCOutputRed, c.red) << c.address;
  }
}

TEST_F(GeneralTabTest, Allow0MovesTheLowerBoundOfBothFields) {
  EXPECT_EQ(CommitTextGenDCCAddress(tab, "-4"), "1");
  general.ChkGenDCCAllow0 = true;
  EXPECT_EQ(CommitTextGenDCCAddress(tab, "-4"), "0");
  general.TextGenXDCCAddress = "0";
  SetChkGenDCCAllow0(tab, false);
  EXPECT_EQ(general.TextGenDCCAddress, "1");
  EXPECT_EQ(general.TextGenXDCCAddress, "1");
  EXPECT_EQ(UpDownGenDCCAddress(tab, false), "1");
}

TEST_F(GeneralTabTest, LedBoxSevenMarksNothingSelected) {
  ClickCheckLCGreen(general, 3, 1);
  EXPECT_EQ(general.CheckLCGreen, (std::array<uint8_t, 8>{0, 0, 0, 1, 0, 0, 0, 0}));
  ClickCheckLCGreen(general, 0, 1);
  ClickCheckLCGreen(general, 3, 0);
  EXPECT_EQ(general.CheckLCGreen[7], 0);
  ClickCheckLCGreen(general, 0, 0);
  EXPECT_EQ(general.CheckLCGreen[7], 2);
  ClickCheckLCOrange(general, 5, 1);
  ClickCheckLCOrange(general, 7, 1);
  EXPECT_EQ(general.CheckLCOrange, (std::array<uint8_t, 8>{0, 0, 0, 0, 0, 0, 0, 2}));
  // Clearing box 7 while a function is selected cannot dim it.
  ClickCheckLCOrange(general, 2, 1);
  ClickCheckLCOrange(general, 7, 2);
  EXPECT_EQ(general.CheckLCOrange[7], 0);
}

TEST_F(GeneralTabTest, AddressingVisibility) {
  struct Case { bool f, t, n; bool native, tamlo, start, module; };
  for (const Case& c : {Case{false, false, false, true, true, false, true},
                        Case{false, true, false, false, true, true, true},
                        Case{false, false, true, true, false, false, true},
                        Case{true, true, false, false, false, false, false},
                        Case{true, false, true, false, false, false, false}}) {
    general.CheckGenForceXA = c.f;
    general.CheckGenTamloaddr = c.t;
    general.CheckGenBrixoNative = c.n;
    const AddressingVisibility v = GeneralAddressingVisibility(general);
    EXPECT_EQ(v.CheckGenBrixoNative, c.native);
    EXPECT_EQ(v.CheckGenTamloaddr, c.tamlo);
    EXPECT_EQ(v.TamloStart, c.start);
    EXPECT_EQ(v.ModuleXAddress, c.module);
    EXPECT_EQ(v.LabelGenXGMlbl, !c.f);
    EXPECT_EQ(v.CheckGenXGM[15], !c.f);
  }
}

TEST_F(GeneralTabTest, FlexibleAddressingWarning) {
  prompt.Answers = {MessageAnswer::Cancel};
  SetCheckGenTamloaddr(tab, true);
  EXPECT_FALSE(general.CheckGenTamloaddr);
  ASSERT_EQ(prompt.Messages.size(), 1u);
  EXPECT_EQ(prompt.Messages[0],
            "Tamlo Flexible Addressing is a complex concept !!\nIt should only be activated by experienced users\n"
            "that understand the details very well !");
  SetCheckGenTamloaddr(tab, true);  // OK
  EXPECT_TRUE(general.CheckGenTamloaddr);
  SetCheckGenTamloaddr(tab, true);  // no change, no question
  general.CheckGenTamloaddr = false;
  general.QuietAddressUpdate = true;
  SetCheckGenTamloaddr(tab, true);
  EXPECT_TRUE(general.CheckGenTamloaddr);
  EXPECT_EQ(prompt.Messages.size(), 2u);
  EXPECT_EQ(view.Calls.back(), "ShowSerialAddress");
}

TEST_F(GeneralTabTest, DriverTypeChangesRefreshOutputView) {
  SetChkGenHWCSource(tab, 2, true);
  EXPECT_TRUE(general.ChkGenHWCSource[2]);
  EXPECT_EQ(view.Calls, (std::vector<std::string>{"ShowOutputConfig"}));
}

}  // namespace
}  // namespace brixo
