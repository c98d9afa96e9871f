#include "files/general_records.h"

#include <algorithm>
#include <string>

#include "link/numeric_text.h"
#include "transfer/general_settings_encoding.h"

namespace brixo {
namespace {

void ApplyDcc(const FileRecord& record, int version, GeneralSettings& general, DataFileView& view) {
  // The reader has checked that both are whole numbers.
  general.TextGenDCCAddress = std::to_string(ParseWholeNumber(record.Texts[0]).value_or(0));
  if (version >= 32) general.TextGenXDCCAddress = std::to_string(ParseWholeNumber(record.Texts[1]).value_or(0));
  if (version >= 23) DecodeDccOptions(record.Numbers[0], general);
  view.ShowDccOutputRange();
  view.ShowDccAddress();
  view.ShowXDccOutputRange();
  view.ShowXDccAddress();
}

void ApplyAddressing(const FileRecord& record, int version, uint8_t numberingOffset,
                     GeneralSettings& general, DataFileView& view) {
  const std::vector<int>& n = record.Numbers;
  general.QuietAddressUpdate = true;
  general.FlexAddress = static_cast<uint8_t>(n[0]);
  if (n[1] == 1) {
    general.CheckGenTamloaddr = true;
    general.CheckGenBrixoNative = false;
  } else {
    general.CheckGenTamloaddr = false;
    general.CheckGenBrixoNative = version >= 3100 && ((general.FlexAddress >> 6) & 1);
    general.FlexAddress = 0;
  }
  general.TextGenTamloaddr = std::to_string(general.FlexAddress * 4 + numberingOffset);
  view.ShowAddressingOptions();
  // The controller's own byte: 127 stands for "Enforced eXtended Address".
  DecodeModuleXAddress(n[2], general);
  general.TextGenXaddr = std::to_string(general.ModuleXAddress + numberingOffset);
  DecodeGroupMasks({n[3], n[4], n[5], n[6]}, general);
  general.QuietAddressUpdate = false;
}

void ApplySerialPort(const FileRecord& record, GeneralSettings& general) {
  const std::vector<int>& n = record.Numbers;
  general.CheckGenSerialEnable = n[0] == 1;
  for (size_t i = 0; i < kBaudRateTexts.size(); ++i) {
    if (record.Texts[0] == kBaudRateTexts[i]) general.ComboGenBaud = static_cast<int>(i);
  }
  general.OptionGenSerialDatabits = n[1] == 8 ? 1 : 0;
  general.OptionGenSerialParity = (n[2] == 2 || n[2] == 3) ? n[2] : 0;
  general.OptionGenSerialStop = n[3] == 2 ? 1 : 0;
}

bool NeedsIdBytes(const std::string& id) {
  // What a quoted text cannot carry: the quote itself, and line breaks, which would end the
  // field's line. Only what the controller can hold: twelve seven-bit characters.
  return id.find_first_of("\"\r\n") != std::string::npos && id.size() <= kIdStringLength &&
         std::none_of(id.begin(), id.end(), [](char c) { return static_cast<unsigned char>(c) > 127; });
}

}  // namespace

void WriteIdBytesRecord(RecordWriter& writer, const GeneralSettings& general) {
  const std::string& id = general.TextGenIDString;
  if (!NeedsIdBytes(id)) return;
  writer.Record("IDB").Number(static_cast<long>(id.size()));
  for (char c : id) writer.Number(static_cast<unsigned char>(c));
}

void WriteGeneralRecords(RecordWriter& writer, const GeneralSettings& general) {
  std::string id = general.TextGenIDString;
  // Its exact characters follow in "IDB"; here the quote and line breaks become what older
  // readers show.
  if (NeedsIdBytes(id)) std::replace(id.begin(), id.end(), '"', '\'');
  writer.Record("ID$").Text(id);

  writer.Record("DCC")
      .Number(DccAddressValue(general))
      .Number(XDccAddressValue(general))
      .Number(EncodeDccOptions(general));

  const SerialAddressBytes serial = EncodeSerialAddress(general);
  writer.Record("XAD").Number(serial.Address).Number(serial.Flag).Number(EncodeModuleXAddress(general));
  for (int mask : EncodeGroupMasks(general)) writer.Number(mask);

  writer.Record("HWC");
  for (int g = 0; g < 4; ++g) writer.Number(EncodeHardwareGroup(general, g));

  writer.Record("LED").Number(EncodeLedByte(general.CheckLCGreen)).Number(EncodeLedByte(general.CheckLCOrange));

  const int baud = general.ComboGenBaud;
  const bool knownBaud = baud >= 0 && baud < static_cast<int>(kBaudRateTexts.size());
  const int parity = general.OptionGenSerialParity;
  writer.Record("SPC")
      .Number(general.CheckGenSerialEnable ? 1 : 0)
      .Text(knownBaud ? kBaudRateTexts[baud] : "")
      .Number(general.OptionGenSerialDatabits == 1 ? 8 : 7)
      .Number(parity == 2 || parity == 3 ? parity : 0)
      .Number(general.OptionGenSerialStop == 1 ? 2 : 1);
}

void ApplyGeneralRecord(const FileRecord& record, int version, uint8_t numberingOffset,
                        GeneralSettings& general, DataFileView& view) {
  switch (record.Tag) {
    case RecordTag::IdString:
      general.TextGenIDString = record.Texts[0];
      break;
    case RecordTag::Dcc:
      ApplyDcc(record, version, general, view);
      break;
    case RecordTag::Xad:
      ApplyAddressing(record, version, numberingOffset, general, view);
      break;
    case RecordTag::Hwc:
      for (int g = 0; g < 4; ++g) DecodeHardwareGroup(record.Numbers[g], general, g);
      break;
    case RecordTag::Led:
      DecodeLedByte(record.Numbers[0], general.CheckLCGreen);
      DecodeLedByte(record.Numbers[1], general.CheckLCOrange);
      break;
    case RecordTag::Spc:
      ApplySerialPort(record, general);
      break;
    default:
      break;
  }
}

}  // namespace brixo
