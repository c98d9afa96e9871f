#include "files/general_records.h"

#include <string>

#include "files/number_text.h"

namespace brixo {
namespace {

int LedMask(const std::array<uint8_t, 8>& boxes) {
  int mask = 0;
  for (int i = 0; i < 7; ++i) {
    if (boxes[i] != 0) mask |= 1 << i;
  }
  return mask;
}

void ApplyLedMask(int mask, std::array<uint8_t, 8>& boxes) {
  for (int i = 0; i < 7; ++i) boxes[i] = (mask >> i) & 1;
  boxes[7] = mask == 0 ? 2 : 0;  // nothing selected: "Idle Flash" shown dimmed-checked
}

void ApplyDcc(const FileRecord& record, int version, GeneralSettings& general, DataFileView& view) {
  general.TextGenDCCAddress = record.Texts[0];
  if (version >= 32) general.TextGenXDCCAddress = record.Texts[1];
  if (version >= 23) {
    const int options = record.Numbers[0];
    general.ChkGenDCCAllow0 = (options >> 3) & 1;
    general.ChkGenDCC_BPSI = (options >> 2) & 1;
    general.OptGenDCC_PRP = options & 3;
  }
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
  general.ModuleXAddress = static_cast<uint8_t>(n[2]);
  general.TextGenXaddr = std::to_string(general.ModuleXAddress + numberingOffset);
  for (int k = 0; k < 4; ++k) {
    for (int b = 0; b < 4; ++b) general.CheckGenXGM[4 * k + b] = (n[3 + k] >> b) & 1;
  }
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

}  // namespace

void WriteGeneralRecords(RecordWriter& writer, const GeneralSettings& general) {
  writer.Record("ID$").Text(general.TextGenIDString);

  const int dccOptions = (general.OptGenDCC_PRP & 3) + 4 * general.ChkGenDCC_BPSI + 8 * general.ChkGenDCCAllow0;
  writer.Record("DCC")
      .Real(LeadingNumberValue(general.TextGenDCCAddress))
      .Real(LeadingNumberValue(general.TextGenXDCCAddress))
      .Number(dccOptions);

  int flexValue = general.CheckGenBrixoNative ? 64 : 0;
  if (general.CheckGenTamloaddr) flexValue = general.FlexAddress;
  writer.Record("XAD").Number(flexValue).Number(general.CheckGenTamloaddr ? 1 : 0).Number(general.ModuleXAddress);
  for (int k = 0; k < 4; ++k) {
    int mask = 0;
    for (int b = 0; b < 4; ++b) mask |= general.CheckGenXGM[4 * k + b] << b;
    writer.Number(mask);
  }

  writer.Record("HWC");
  for (int g = 0; g < 4; ++g) writer.Number(general.ChkGenHWCSink[g] + 2 * general.ChkGenHWCSource[g]);

  writer.Record("LED").Number(LedMask(general.CheckLCGreen)).Number(LedMask(general.CheckLCOrange));

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
      for (int g = 0; g < 4; ++g) {
        general.ChkGenHWCSink[g] = record.Numbers[g] & 1;
        general.ChkGenHWCSource[g] = (record.Numbers[g] >> 1) & 1;
      }
      break;
    case RecordTag::Led:
      ApplyLedMask(record.Numbers[0], general.CheckLCGreen);
      ApplyLedMask(record.Numbers[1], general.CheckLCOrange);
      break;
    case RecordTag::Spc:
      ApplySerialPort(record, general);
      break;
    default:
      break;
  }
}

}  // namespace brixo
