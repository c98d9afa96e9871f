#pragma once
// The captions of the "General" tab's option lists and LED boxes, by index: the tab shows
// them, the data file writes the bit rate's, and the settings in words name them.
#include <array>

namespace brixo {

inline constexpr std::array<const char*, 8> kBaudRateTexts = {"9600",  "14400", "19200", "28800",
                                                              "38400", "57600", "76800", "115200"};

inline constexpr std::array<const char*, 8> kGreenLedCaptions = {"Basic DCC Packet", "eXtd DCC Packet", "Tamlo Message",
                                                                 "Brixo Message",    "Green 4",         "Green 5",
                                                                 "Green 6",          "Idle Flash"};
inline constexpr std::array<const char*, 8> kOrangeLedCaptions = {
    "DCC Checksum Error", "Orange 1", "Orange 2", "Orange 3",
    "Orange 4",           "Orange 5", "Orange 6", "All Received Datagrams"};

// "Packet Retention", by OptGenDCC_PRP index.
inline constexpr std::array<const char*, 4> kPacketRetentionCaptions = {"62.5ms", "125ms", "250ms", "500ms"};
// "Parity", by OptionGenSerialParity index (there is no index 1).
inline constexpr std::array<const char*, 4> kParityCaptions = {"No", "", "Even", "Odd"};

}  // namespace brixo
