#pragma once
// Everything the "General" tab's controls hold. The window mirrors this record; the
// transfers, the data file and the CLI read and write it.
#include <array>
#include <cstdint>
#include <string>

namespace brixo {

struct GeneralSettings {
  // Serial addressing.
  bool CheckGenForceXA = false;      // "Enforced eXtended Address"
  bool CheckGenBrixoNative = false;  // "Native Brixo Mode"
  bool CheckGenTamloaddr = false;    // "Tamlo Flex-Addresss"
  std::string TextGenTamloaddr = "1";
  std::string TextGenXaddr = "1";
  std::array<bool, 16> CheckGenXGM{};
  uint8_t FlexAddress = 0;     // flexible start address / 4
  uint8_t ModuleXAddress = 0;  // 0..95
  bool QuietAddressUpdate = false;

  // DCC.
  std::string TextGenDCCAddress = "1";
  std::string TextGenXDCCAddress = "1";
  int OptGenDCC_PRP = 0;  // selected "Packet Retention" index 0..3
  bool ChkGenDCC_BPSI = false;
  bool ChkGenDCCAllow0 = false;
  int16_t DccFirstOutput = 1;
  int16_t XDccFirstOutput = 1;
  std::string LabelGenDCCOutput = "No addr in use";
  bool LabelGenDCCOutputRed = false;
  std::string LabelGenXDCCOutput = "No addr in use";
  bool LabelGenXDCCOutputRed = false;

  // Hardware configuration of the four output groups.
  std::array<bool, 4> ChkGenHWCSink{};
  std::array<bool, 4> ChkGenHWCSource{};

  // Identification and version.
  std::string TextGenIDString;
  std::string LabelGenVersionString = "Unknown";

  // The controller's own serial port.
  bool CheckGenSerialEnable = false;
  int ComboGenBaud = 0;               // list index 0..7 ("9600" .. "115200")
  int OptionGenSerialDatabits = 1;    // 0 "7", 1 "8"
  int OptionGenSerialStop = 0;        // 0 "1", 1 "2"
  int OptionGenSerialParity = 0;      // 0 "No", 2 "Even", 3 "Odd"

  // LED functions: 0 clear, 1 checked, 2 (box 7 only) checked and dimmed = nothing selected.
  std::array<uint8_t, 8> CheckLCGreen{0, 0, 0, 0, 0, 0, 0, 2};
  std::array<uint8_t, 8> CheckLCOrange{0, 0, 0, 0, 0, 0, 0, 2};
};

}  // namespace brixo
