#include <gtest/gtest.h>

#include "model/address_labels.h"
#include "model/address_maps.h"
#include "model/address_panel.h"

namespace brixo {
namespace {

TEST(AddressMaps, StartsAreRunningSumsInPinOrder) {
  PinArray pins{};
  pins[0].DccAddressCount = 2;
  pins[2].DccAddressCount = 3;
  for (auto& p : pins) p.SerialAddressCount = 6;
  pins[31].XDccAddressCount = 1;
  AddressMaps maps;
  BuildDccMap(pins, maps);
  BuildSerialMap(pins, maps);
  BuildXDccMap(pins, maps);
  EXPECT_EQ(maps.DccStart[0], 0);
  EXPECT_EQ(maps.DccStart[1], 2);
  EXPECT_EQ(maps.DccStart[2], 2);
  EXPECT_EQ(maps.DccStart[3], 5);
  EXPECT_EQ(maps.DccStart[31], 5);
  EXPECT_EQ(maps.DccAddressTotal, 5);
  EXPECT_EQ(maps.SerialStart[31], 186);
  EXPECT_EQ(maps.SerialAddressTotal, 192);
  EXPECT_EQ(maps.XDccStart[31], 0);
  EXPECT_EQ(maps.XDccAddressTotal, 1);

  AddressInputs in;
  in.DccFirstOutput = 5;
  in.CurrentPin = 2;
  EXPECT_EQ(ShowDccAddress(pins, maps, in), "7");
  in.CurrentPin = 1;
  EXPECT_EQ(ShowDccAddress(pins, maps, in), "-");
  EXPECT_EQ(ShowXDccAddress(pins, maps, in), "-");
}

TEST(AddressLabels, SerialAndPinAddressByMode) {
  PinArray pins{};
  pins[31].SerialAddressCount = 1;
  AddressMaps maps;
  const struct {
    int start;
    bool flex, native, xaddr;
    int numbering;
    const char* serial;
    const char* pinAddress;
  } cases[] = {
      {31, false, false, false, 0, "63", "1.31"},
      {32, false, false, false, 0, "-", "1.32"},
      {32, false, true, false, 0, "160", "1.32"},
      {128, false, true, false, 0, "-", "-"},
      {128, true, false, false, 1, "141", "-"},
      {4, false, false, true, 1, "37", "2.6.5"},
  };
  for (const auto& c : cases) {
    maps.SerialStart[31] = static_cast<uint8_t>(c.start);
    AddressInputs in;
    in.ModuleAddress = 1;
    in.ExtendedAddress = 5;
    in.FlexAddress = 3;
    in.CheckGenTamloaddr = c.flex;
    in.CheckGenBrixoNative = c.native;
    in.CheckXaddress = c.xaddr;
    in.NumberingOffset = c.numbering;
    in.CurrentPin = 31;
    const SerialAddressLabels labels = ShowSerialAddress(pins, maps, in);
    EXPECT_EQ(labels.lblSerialAddress, c.serial) << c.start;
    EXPECT_EQ(labels.lblPinAddress, c.pinAddress) << c.start;
  }
  pins[31].SerialAddressCount = 0;
  AddressInputs in;
  in.CurrentPin = 31;
  EXPECT_EQ(ShowSerialAddress(pins, maps, in).lblPinAddress, "-");
}

TEST(AddressPanel, CountCommitsClampAndRebuildTheirMap) {
  ConfigModel model;
  AddressMaps maps;
  AddressPanel panel(model, maps);
  model.CurrentPin = 0;
  EXPECT_EQ(panel.CommitCount(AddressKind::Dcc, "9"), "6");
  EXPECT_EQ(panel.CommitCount(AddressKind::XDcc, "3"), "1");
  EXPECT_EQ(panel.CommitCount(AddressKind::Serial, "-2"), "0");
  EXPECT_EQ(model.PinTable[0].DccAddressCount, 6);
  EXPECT_EQ(model.PinTable[0].XDccAddressCount, 1);
  EXPECT_EQ(maps.DccStart[1], 6);
  EXPECT_EQ(maps.XDccAddressTotal, 1);
  EXPECT_EQ(panel.View().lblDCCAddress, "1");
  EXPECT_EQ(panel.View().Serial.lblSerialAddress, "-");
  panel.CountSpinnerChanged(AddressKind::Serial, 2);
  EXPECT_EQ(maps.SerialAddressTotal, 2);
}

TEST(AddressCounts, BoxesOfASingleAddressHideWithoutDetails) {
  AddressCountVisibility v = ShowAddressCounts("1", "1", "1", false);
  EXPECT_FALSE(v.TextPaspTamlon || v.TextPaspDCCn || v.TextPAspXDCCn || v.LabelPASPAdrCnt);
  v = ShowAddressCounts("0", "1", "1", false);
  EXPECT_TRUE(v.TextPaspTamlon && v.LabelPASPAdrCnt);
  EXPECT_FALSE(v.TextPaspDCCn);
  v = ShowAddressCounts("1", "1", "1", true);
  EXPECT_TRUE(v.TextPaspTamlon && v.TextPaspDCCn && v.TextPAspXDCCn && v.LabelPASPAdrCnt);
}

}  // namespace
}  // namespace brixo
