// Byte forms the controller round trips cannot show: values the tool must never send,
// and controller values with no control of their own.
#include <gtest/gtest.h>

#include "transfer/general_settings_encoding.h"

namespace brixo {
namespace {

TEST(GeneralFieldText, LeadingNumberOrZero) {
  struct Case { const char* text; double value; };
  for (const Case& c : {Case{"300", 300}, Case{"  -5", -5}, Case{"12.5abc", 12.5}, Case{"abc", 0},
                        Case{"", 0}, Case{"1e3", 1}}) {
    EXPECT_DOUBLE_EQ(FieldNumber(c.text), c.value) << c.text;
  }
  EXPECT_EQ(ClampedFieldValue("99999999999999999999", {1, 510}), 510);
  EXPECT_EQ(ClampedFieldValue("2.6", {1, 510}), 3);
}

TEST(GeneralEncoding, SerialAddressNeverCarriesAStaleStartAddress) {
  struct Case { bool flex, native; int flexAddress; int flag, address; };
  // 80 has bit 6 set: left in the field after flexible addressing was switched off it
  // would switch native mode on.
  for (const Case& c : {Case{false, false, 80, 0, 0}, Case{true, true, 20, 1, 20}, Case{false, true, 80, 0, 64}}) {
    GeneralSettings g;
    g.CheckGenTamloaddr = c.flex;
    g.CheckGenBrixoNative = c.native;
    g.FlexAddress = static_cast<uint8_t>(c.flexAddress);
    EXPECT_EQ(WrittenSerialAddress(g).Flag, c.flag);
    EXPECT_EQ(WrittenSerialAddress(g).Address, c.address);
  }
}

TEST(GeneralEncoding, ValuesOutsideTheirRangesAreNotSent) {
  GeneralSettings g;
  g.TextGenDCCAddress = "700";  // typed, never committed
  g.TextGenXDCCAddress = "-3";
  EXPECT_EQ(DccAddressValue(g), 510);
  EXPECT_EQ(XDccAddressValue(g), 0);
  // The typed lower bound is not the controller's: a 0 it held and a file kept is sent back.
  g.TextGenXDCCAddress = "0";
  EXPECT_EQ(XDccAddressValue(g), 0);
  g.ModuleXAddress = 126;
  EXPECT_EQ(EncodeModuleXAddress(g), 95);  // 127 would enforce extended addressing
  g.ComboGenBaud = 9;
  g.OptGenDCC_PRP = -1;
  EXPECT_EQ(EncodeSerialPortFormat(g) & 7, 7);
  EXPECT_EQ(EncodeDccOptions(g) & 3, 2);
}

TEST(GeneralEncoding, ControllerValuesWithoutAControl) {
  GeneralSettings g;
  g.OptionGenSerialParity = 3;
  DecodeSerialPortFormat(16 + 8, g);  // parity field 1: bit 5 (parity on) is clear
  EXPECT_EQ(g.OptionGenSerialParity, 0);
  g.ChkGenHWCSink[2] = true;
  EXPECT_FALSE(DecodeHardwareGroup(4, g, 2));
  EXPECT_TRUE(g.ChkGenHWCSink[2]);
  DecodeGroupMasks({0x71, 0, 0, 0}, g);  // high bits are not groups
  EXPECT_TRUE(g.CheckGenXGM[0]);
  EXPECT_FALSE(g.CheckGenXGM[4]);
}

}  // namespace
}  // namespace brixo
