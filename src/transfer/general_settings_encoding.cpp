#include "transfer/general_settings_encoding.h"

#include "link/text_encoding.h"

namespace brixo {

namespace {
constexpr int kModuleXAddressMax = 95;
constexpr int kBaudIndexMax = 7;
constexpr int kParityEven = 2;
constexpr int kParityOdd = 3;
}  // namespace

int EncodeHardwareGroup(const GeneralSettings& g, int group) {
  return (g.ChkGenHWCSink[group] ? 1 : 0) + (g.ChkGenHWCSource[group] ? 2 : 0);
}

bool DecodeHardwareGroup(int value, GeneralSettings& g, int group) {
  if (value < 0 || value > 3) return false;
  g.ChkGenHWCSink[group] = (value & 1) != 0;
  g.ChkGenHWCSource[group] = (value & 2) != 0;
  return true;
}

std::array<int, 4> EncodeGroupMasks(const GeneralSettings& g) {
  std::array<int, 4> masks{};
  for (int i = 0; i < 4; ++i)
    for (int b = 0; b < 4; ++b)
      if (g.CheckGenXGM[4 * i + b]) masks[i] |= 1 << b;
  return masks;
}

void DecodeGroupMasks(const std::array<int, 4>& masks, GeneralSettings& g) {
  for (int i = 0; i < 4; ++i)
    for (int b = 0; b < 4; ++b) g.CheckGenXGM[4 * i + b] = (masks[i] >> b) & 1;
}

int EncodeModuleXAddress(const GeneralSettings& g) {
  if (g.CheckGenForceXA) return kEnforcedXAddress;
  // A loaded file may hold anything; a value above the range would reach the marker 127.
  return g.ModuleXAddress > kModuleXAddressMax ? kModuleXAddressMax : g.ModuleXAddress;
}

void DecodeModuleXAddress(int value, GeneralSettings& g) {
  g.CheckGenForceXA = value == kEnforcedXAddress;
  g.ModuleXAddress = static_cast<uint8_t>(g.CheckGenForceXA ? 0 : value);
}

SerialAddressBytes EncodeSerialAddress(const GeneralSettings& g) {
  SerialAddressBytes bytes;
  bytes.Flag = g.CheckGenTamloaddr ? 1 : 0;
  // Flexible addressing decides when it is on; otherwise the start address left in the
  // field must not reach the controller, whose native-mode flag is bit 6 of this byte.
  if (g.CheckGenTamloaddr)
    bytes.Address = g.FlexAddress > 127 ? 127 : g.FlexAddress;
  else
    bytes.Address = g.CheckGenBrixoNative ? kNativeModeAddress : 0;
  return bytes;
}

void DecodeSerialAddress(int flag, int address, GeneralSettings& g) {
  if (flag != 0) {
    g.CheckGenTamloaddr = true;
    g.CheckGenBrixoNative = false;
    g.FlexAddress = static_cast<uint8_t>(address);
  } else {
    g.CheckGenTamloaddr = false;
    g.CheckGenBrixoNative = (address & kNativeModeAddress) != 0;
    g.FlexAddress = 0;
  }
}

SerialAddressBytes WrittenSerialAddress(const GeneralSettings& g) {
  return g.CheckGenForceXA ? SerialAddressBytes{} : EncodeSerialAddress(g);
}

std::array<int, 4> WrittenGroupMasks(const GeneralSettings& g) {
  return g.CheckGenForceXA ? std::array<int, 4>{} : EncodeGroupMasks(g);
}

int EncodeDccOptions(const GeneralSettings& g) {
  int retention = (g.OptGenDCC_PRP >= 0 && g.OptGenDCC_PRP <= 3) ? g.OptGenDCC_PRP : 2;
  return retention + (g.ChkGenDCC_BPSI ? 4 : 0) + (g.ChkGenDCCAllow0 ? 8 : 0);
}

void DecodeDccOptions(int value, GeneralSettings& g) {
  g.OptGenDCC_PRP = value & 3;
  g.ChkGenDCC_BPSI = (value & 4) != 0;
  g.ChkGenDCCAllow0 = (value & 8) != 0;
}

std::array<int, 2> EncodeDccAddress(int address) { return {address % 64, address / 64}; }

int DecodeDccAddress(int low, int high) { return 64 * high + low; }

SpinRange DccAddressRange(const GeneralSettings& g) {
  return {g.ChkGenDCCAllow0 ? 0 : 1, kDccAddressMax};
}

SpinRange XDccAddressRange(const GeneralSettings& g) {
  return {g.ChkGenDCCAllow0 ? 0 : 1, kXDccAddressMax};
}

int DccAddressValue(const GeneralSettings& g) { return ClampedFieldValue(g.TextGenDCCAddress, {0, kDccAddressMax}); }

int XDccAddressValue(const GeneralSettings& g) { return ClampedFieldValue(g.TextGenXDCCAddress, {0, kXDccAddressMax}); }

int EncodeLedByte(const std::array<uint8_t, 8>& boxes) {
  int value = 0;
  for (int k = 0; k < 7; ++k)
    if (boxes[k] != 0) value |= 1 << k;
  return value;
}

void DecodeLedByte(int value, std::array<uint8_t, 8>& boxes) {
  for (int k = 0; k < 7; ++k) boxes[k] = (value >> k) & 1;
  boxes[7] = (value & 0x7F) == 0 ? 2 : 0;
}

int EncodeSerialPortFormat(const GeneralSettings& g) {
  int baud = g.ComboGenBaud < 0 ? 0 : (g.ComboGenBaud > kBaudIndexMax ? kBaudIndexMax : g.ComboGenBaud);
  int value = baud;
  if (g.OptionGenSerialDatabits == 1) value += 8;
  if (g.OptionGenSerialStop == 1) value += 64;
  if (g.OptionGenSerialParity == kParityEven) value += 16 * kParityEven;
  if (g.OptionGenSerialParity == kParityOdd) value += 16 * kParityOdd;
  return value;
}

void DecodeSerialPortFormat(int value, GeneralSettings& g) {
  g.ComboGenBaud = value & 7;
  g.OptionGenSerialDatabits = (value >> 3) & 1;
  g.OptionGenSerialStop = (value >> 6) & 1;
  int parity = (value >> 4) & 3;
  // Bit 5 enables parity (Even 2, Odd 3); with it clear the line has none, so the field
  // value 1, which has no option of its own, shows as "No".
  g.OptionGenSerialParity = (parity & 2) ? parity : 0;
}

int SerialPortWord(const GeneralSettings& g) {
  return 128 * (g.CheckGenSerialEnable ? 1 : 0) + EncodeSerialPortFormat(g);
}

IdStringBytes SendableIdString(const std::string& text) {
  IdStringBytes bytes;
  for (char32_t c : CodePoints(FirstCharacters(text, kIdStringLength))) {
    bytes.Replaced = bytes.Replaced || c > 127;
    bytes.Text += c > 127 ? '?' : static_cast<char>(c);
  }
  return bytes;
}

std::string FormatVersion(int a, int b, int c, int d) {
  return std::to_string(a) + "." + std::to_string(b) + "." + std::to_string(c) + "." + std::to_string(d);
}

}  // namespace brixo
