#pragma once
// The bytes in which the controller holds its general settings. Each byte has one builder
// and one reader, shared by the read, write and verify paths.
#include <array>
#include <cstdint>
#include <string>

#include "transfer/general_field_text.h"
#include "transfer/general_settings_state.h"

namespace brixo {

// Sub-commands of the general-settings read (112, s) and write (96, s) messages.
enum GeneralSubCommand : int {
  kGenVersion = 0,
  kGenHardware = 1,
  kGenModuleXAddress = 2,
  kGenGroupMask = 3,
  kGenDccAddress = 4,
  kGenDccOptions = 5,
  kGenGreenLed = 6,
  kGenOrangeLed = 7,
  kGenSerialAddress = 8,
  kGenIdString = 10,
  kGenEnableMap = 11,
  kGenXDccAddress = 12,
  kGenSerialPort = 13,
};
constexpr int kGenReadCommand = 112;
constexpr int kGenWriteCommand = 96;

constexpr int kIdStringLength = 12;
constexpr int kEnforcedXAddress = 127;
constexpr int kNativeModeAddress = 64;

// Hardware byte of output group g: bit 0 sink driver, bit 1 source driver.
int EncodeHardwareGroup(const GeneralSettings& g, int group);
// False (and nothing changed) for a byte above 3.
bool DecodeHardwareGroup(int value, GeneralSettings& g, int group);

// Extended group mask byte i: groups 4i .. 4i+3 in bits 0..3.
std::array<int, 4> EncodeGroupMasks(const GeneralSettings& g);
void DecodeGroupMasks(const std::array<int, 4>& masks, GeneralSettings& g);

// The module extended address byte: 127 when extended addressing is enforced.
int EncodeModuleXAddress(const GeneralSettings& g);
void DecodeModuleXAddress(int value, GeneralSettings& g);

// Serial address: F (flexible addressing flag) and A (flexible start / 4, or 64 for native).
struct SerialAddressBytes {
  int Flag = 0;
  int Address = 0;
  int Word() const { return 128 * Flag + Address; }
};
SerialAddressBytes EncodeSerialAddress(const GeneralSettings& g);
void DecodeSerialAddress(int flag, int address, GeneralSettings& g);

// What the addressing write sends: enforced extended addressing sends flag 0, address 0
// and an all-zero group mask in place of the boxes' values.
SerialAddressBytes WrittenSerialAddress(const GeneralSettings& g);
std::array<int, 4> WrittenGroupMasks(const GeneralSettings& g);

// DCC options: packet retention index, basic packet state invert, allow address 0.
int EncodeDccOptions(const GeneralSettings& g);
void DecodeDccOptions(int value, GeneralSettings& g);

// DCC address as low (mod 64) and high (div 64) bytes.
std::array<int, 2> EncodeDccAddress(int address);
int DecodeDccAddress(int low, int high);
constexpr int kDccAddressMax = 510;
constexpr int kXDccAddressMax = 2046;
// What the user may type: (1 - Allow0) .. 510 and (1 - Allow0) .. 2046.
SpinRange DccAddressRange(const GeneralSettings& g);
SpinRange XDccAddressRange(const GeneralSettings& g);
// The address the fields stand for, brought within what a write can send, 0 .. 510 and
// 0 .. 2046 (a field may still hold an uncommitted value). The typed lower bound is not
// applied: a controller may hold 0 with "Allow Address 0" off, and what it holds is read,
// saved, loaded, verified and written back as it stands.
int DccAddressValue(const GeneralSettings& g);
int XDccAddressValue(const GeneralSettings& g);

// LED function byte: bit k = box k (0..6); box 7 in state 2 marks "nothing selected".
int EncodeLedByte(const std::array<uint8_t, 8>& boxes);
void DecodeLedByte(int value, std::array<uint8_t, 8>& boxes);

// The controller's serial port: E and the format byte C.
int EncodeSerialPortFormat(const GeneralSettings& g);
void DecodeSerialPortFormat(int value, GeneralSettings& g);
int SerialPortWord(const GeneralSettings& g);  // 128 * E + C

// The identification string as it can travel: at most 12 characters, each 0..127.
struct IdStringBytes {
  std::string Text;       // what the text box holds afterwards
  bool Replaced = false;  // a character above 127 became "?"
};
IdStringBytes SendableIdString(const std::string& text);

// "R2.R3.R4.R5".
std::string FormatVersion(int a, int b, int c, int d);

}  // namespace brixo
