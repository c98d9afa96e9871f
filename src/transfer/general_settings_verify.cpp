#include <string>

#include "transfer/general_settings_encoding.h"
#include "transfer/general_settings_messages.h"
#include "transfer/general_settings_transfer.h"

namespace brixo {

namespace {

// The verdict, the report lines and the differences of one verification run. Every group
// is compared byte for byte with what its write operation would send, so a controller
// written from this configuration always compares, and any other byte never does
// ("Enforced eXtended Address" included: its write sends 127 and an all-zero mask and
// serial address, whatever the boxes hold).
class GeneralVerification {
 public:
  explicit GeneralVerification(TransferContext& ctx) : ctx_(ctx), link_(ctx.Link), g_(ctx.General) {}

  VerificationResult Run() {
    link_.CheckBrixoBD = true;
    Line("Start General Settings Verification");
    if (!IdString() || !Hardware() || !DccAddress() || !XDccAddress() || !DccOptions() || !SerialAddress() ||
        !ModuleXAddress() || !GroupMask() || !Led(kGenGreenLed, g_.CheckLCGreen, "Green") ||
        !Led(kGenOrangeLed, g_.CheckLCOrange, "Orange"))
      return result_;
    SerialPort();
    result_.Compared.push_back("general settings");
    return result_;
  }

 private:
  // Each step returns false when the verification ends there.
  bool IdString() {
    if (!RequestGeneral(ctx_, kGenIdString)) {
      // Nothing could be compared: the verdict must not claim otherwise.
      result_.Ok = false;
      return true;
    }
    if (link_.ReplyLength() < 2 || !GeneralEchoMatches(link_, kGenIdString))
      return Unreadable({FieldKind::IdString}, "ReadIDString: No valid response");
    const std::string brixo = GeneralReplyString(link_);
    // The whole text: characters beyond the 12 a controller holds are not on it, and a
    // file that has them does not describe it (its write cuts the box to what it sent).
    if (brixo != g_.TextGenIDString) {
      Fail("ID does not compare: BrixoConfig = <" + g_.TextGenIDString + "> Brixo = <" + brixo + ">");
      Differ({FieldKind::IdString}, 0, 0, g_.TextGenIDString, brixo);
    }
    return true;
  }

  bool Hardware() {
    if (!RequestGeneral(ctx_, kGenHardware)) {
      result_.Ok = false;
      return true;
    }
    const FieldId first{FieldKind::HardwareGroup, -1, 0};
    if (link_.ReplyLength() != 6) return Unreadable(first, "HWCRead: No valid response size");
    if (!GeneralEchoMatches(link_, kGenHardware)) return Unreadable(first, "HWCRead: No valid response type");
    bool reported = false;
    for (int group = 0; group < 4; ++group) {
      if (link_.R(2 + group) == EncodeHardwareGroup(g_, group)) continue;
      if (!reported) Fail("Hardware configuration does not compare");
      reported = true;
      Differ({FieldKind::HardwareGroup, -1, static_cast<int8_t>(group)}, EncodeHardwareGroup(g_, group),
             link_.R(2 + group));
    }
    return true;
  }

  // The address as its two bytes: a low byte of 64 or more is no address the write sends.
  bool DccAddressBytes(int sub, FieldKind kind, int expected, const std::string& name, const std::string& differs) {
    if (!RequestGeneral(ctx_, sub)) return FailEnd();
    if (link_.ReplyLength() != 4 || !GeneralEchoMatches(link_, sub)) return Unreadable({kind}, name + ": No valid response");
    const auto bytes = EncodeDccAddress(expected);
    if (link_.R(2) != bytes[0] || link_.R(3) != bytes[1]) {
      Fail(differs);
      Differ({kind}, expected, DecodeDccAddress(link_.R(2), link_.R(3)));
    }
    return true;
  }

  bool DccAddress() {
    return DccAddressBytes(kGenDccAddress, FieldKind::DccAddress, DccAddressValue(g_), "DCC Address",
                           "DCC address does not compare");
  }

  bool XDccAddress() {
    return DccAddressBytes(kGenXDccAddress, FieldKind::XDccAddress, XDccAddressValue(g_), "eXtended DCC Address",
                           "eXtended DCC address does not compare");
  }

  bool DccOptions() {
    if (!RequestGeneral(ctx_, kGenDccOptions)) return FailEnd();
    if (!GeneralReplyIs(link_, kGenDccOptions, 3)) return Unreadable({FieldKind::DccOptions}, "DCC Options: No valid response");
    if (link_.R(2) != EncodeDccOptions(g_)) {
      Fail("DCC Options do not compare");
      Differ({FieldKind::DccOptions}, EncodeDccOptions(g_), link_.R(2));
    }
    return true;
  }

  bool SerialAddress() {
    if (!RequestGeneral(ctx_, kGenSerialAddress)) return FailEnd();
    if (link_.ReplyLength() != 4)
      return Unreadable({FieldKind::FlexFlag}, "Serial Address Settings: " + GeneralSizeText(link_, 4));
    if (!GeneralEchoMatches(link_, kGenSerialAddress))
      return Unreadable({FieldKind::FlexFlag}, "Serial Address Settings: " + GeneralEchoText(link_, kGenSerialAddress));
    const SerialAddressBytes written = WrittenSerialAddress(g_);
    if (128 * link_.R(2) + link_.R(3) != written.Word()) {
      Fail("Serial Address Settings do not compare");
      if (link_.R(2) != written.Flag) Differ({FieldKind::FlexFlag}, written.Flag, link_.R(2));
      if (link_.R(3) != written.Address) Differ({FieldKind::FlexValue}, written.Address, link_.R(3));
    }
    return true;
  }

  bool ModuleXAddress() {
    if (!RequestGeneral(ctx_, kGenModuleXAddress)) return FailEnd();
    const FieldId field{FieldKind::ModuleXAddress};
    if (link_.ReplyLength() != 3) return Unreadable(field, "eXtended Address: " + GeneralSizeText(link_, 3));
    if (!GeneralEchoMatches(link_, kGenModuleXAddress))
      return Unreadable(field, "eXtended Address: " + GeneralEchoText(link_, kGenModuleXAddress));
    if (link_.R(2) != EncodeModuleXAddress(g_)) {
      Fail("eXtended Address does not compare");
      Differ({FieldKind::ModuleXAddress}, EncodeModuleXAddress(g_), link_.R(2));
    }
    return true;
  }

  bool GroupMask() {
    if (!RequestGeneral(ctx_, kGenGroupMask)) return FailEnd();
    const FieldId first{FieldKind::GroupMask, -1, 0};
    if (link_.ReplyLength() != 6) return Unreadable(first, "eXtended Group Mask: " + GeneralSizeText(link_, 6));
    if (!GeneralEchoMatches(link_, kGenGroupMask))
      return Unreadable(first, "eXtended Group Mask: " + GeneralEchoText(link_, kGenGroupMask));
    const std::array<int, 4> written = WrittenGroupMasks(g_);
    const std::array<int, 4> reported = GeneralReplyQuad(link_);
    if (reported != written) Fail("eXtended Group Mask does not compare");
    for (int i = 0; i < 4; ++i) {
      if (reported[i] != written[i]) Differ({FieldKind::GroupMask, -1, static_cast<int8_t>(i)}, written[i], reported[i]);
    }
    return true;
  }

  bool Led(int sub, const std::array<uint8_t, 8>& boxes, const std::string& colour) {
    const FieldId field{sub == kGenGreenLed ? FieldKind::GreenLed : FieldKind::OrangeLed};
    if (!RequestGeneral(ctx_, sub)) return FailEnd("ReadLEDConfig: No valid response");
    if (!GeneralReplyIs(link_, sub, 3)) return Unreadable(field, "ReadLEDConfig: No valid response");
    if (link_.R(2) != EncodeLedByte(boxes)) {
      Fail(colour + " LED configuration does not compare");
      Differ(field, EncodeLedByte(boxes), link_.R(2));
    }
    return true;
  }

  void SerialPort() {
    if (!RequestGeneral(ctx_, kGenSerialPort)) {
      result_.Ok = false;
      return;
    }
    if (link_.ReplyLength() != 4) {
      Unreadable({FieldKind::SerialEnable}, "Serial Port Config: " + GeneralSizeText(link_, 4));
    } else if (!GeneralEchoMatches(link_, kGenSerialPort)) {
      Unreadable({FieldKind::SerialEnable}, "Serial Port Config: " + GeneralEchoText(link_, kGenSerialPort));
    } else if (128 * link_.R(2) + link_.R(3) != SerialPortWord(g_)) {
      Fail("Serial Port Configuration does not compare");
      SerialPortDifferences(link_.R(2), link_.R(3));
    }
  }

  void SerialPortDifferences(int enable, int format) {
    const int expectedEnable = g_.CheckGenSerialEnable ? 1 : 0;
    if (enable != expectedEnable) Differ({FieldKind::SerialEnable}, expectedEnable, enable);
    const int expected = EncodeSerialPortFormat(g_);
    if (format == expected) return;
    GeneralSettings reported;
    DecodeSerialPortFormat(format, reported);
    const ConfigModel model;
    const EventControlState events;
    const ConfigurationRef mine{model, g_, events};
    const ConfigurationRef theirs{model, reported, events};
    bool any = false;
    for (FieldKind kind : {FieldKind::BaudRate, FieldKind::DataBits, FieldKind::Parity, FieldKind::StopBits}) {
      const int file = FieldValue({kind}, mine);
      const int controller = FieldValue({kind}, theirs);
      if (file != controller) Differ({kind}, file, controller);
      any = any || file != controller;
    }
    // Bits that no field of the tab shows (a parity code without its option).
    if (!any) Differ({FieldKind::Parity}, FieldValue({FieldKind::Parity}, mine), 0, {}, "format byte " + std::to_string(format));
  }

  void Differ(const FieldId& field, int file, int controller, const std::string& fileText = {},
              const std::string& controllerText = {}) {
    result_.Differences.push_back({field, file, controller, fileText, controllerText});
  }
  void Line(const std::string& text) { ctx_.Report.AppendReportLine(text); }
  void Fail(const std::string& text) {
    Line(text);
    result_.Ok = false;
  }
  // A reply that cannot be read: its line, and an entry in the list of differences on the
  // first field it should have carried. The verification ends there.
  bool Unreadable(const FieldId& field, const std::string& text) {
    const ConfigurationRef config{ctx_.Model, g_, ctx_.Events};
    result_.Differences.push_back(NoValidResponse(
        field, FieldValue(field, config), InfoOf(field.Kind).IsText ? FieldText(field, config) : std::string{}));
    return FailEnd(text);
  }
  bool FailEnd(const std::string& text = {}) {
    if (!text.empty()) Line(text);
    result_.Ok = false;
    return false;
  }

  TransferContext& ctx_;
  BrixoLink& link_;
  const GeneralSettings& g_;
  VerificationResult result_;
};

}  // namespace

VerificationResult VerifyGeneralSettings(TransferContext& ctx) { return GeneralVerification(ctx).Run(); }

}  // namespace brixo
