#include <string>

#include "transfer/general_settings_encoding.h"
#include "transfer/general_settings_messages.h"
#include "transfer/general_settings_transfer.h"

namespace brixo {

namespace {

// The verdict and the report lines of one verification run. The serial address is
// compared against the bytes the write operation would send, so that a controller written
// by this tool never fails on it; the extended address and group mask are compared with
// the boxes themselves, so that "Enforced eXtended Address" (127 and an all-zero mask on
// the controller) shows their lines without touching the verdict.
class GeneralVerification {
 public:
  explicit GeneralVerification(TransferContext& ctx) : ctx_(ctx), link_(ctx.Link), g_(ctx.General) {}

  bool Run() {
    link_.CheckBrixoBD = true;
    Line("Start General Settings Verification");
    if (!IdString() || !Hardware() || !DccAddress() || !XDccAddress() || !DccOptions() || !SerialAddress() ||
        !ModuleXAddress() || !GroupMask() || !Led(kGenGreenLed, g_.CheckLCGreen, "Green") ||
        !Led(kGenOrangeLed, g_.CheckLCOrange, "Orange"))
      return ok_;
    SerialPort();
    ctx_.Report.Compared.push_back("general settings");
    return ok_;
  }

 private:
  // Each step returns false when the verification ends there.
  bool IdString() {
    if (!RequestGeneral(ctx_, kGenIdString)) {
      // Nothing could be compared: the verdict must not claim otherwise.
      ok_ = false;
      return true;
    }
    if (link_.ReplyLength() < 2 || !GeneralEchoMatches(link_, kGenIdString))
      return FailEnd("ReadIDString: No valid response");
    const std::string brixo = GeneralReplyString(link_);
    if (brixo != g_.TextGenIDString)
      Fail("ID does not compare: BrixoConfig = <" + g_.TextGenIDString + "> Brixo = <" + brixo + ">");
    return true;
  }

  bool Hardware() {
    if (!RequestGeneral(ctx_, kGenHardware)) {
      ok_ = false;
      return true;
    }
    if (link_.ReplyLength() != 6) return FailEnd("HWCRead: No valid response size");
    if (!GeneralEchoMatches(link_, kGenHardware)) return FailEnd("HWCRead: No valid response type");
    for (int group = 0; group < 4; ++group) {
      if (link_.R(2 + group) != EncodeHardwareGroup(g_, group)) {
        Fail("Hardware configuration does not compare");
        break;
      }
    }
    return true;
  }

  bool DccAddress() {
    if (!RequestGeneral(ctx_, kGenDccAddress)) return FailEnd();
    if (link_.ReplyLength() != 4) {
      Line("DCC Address: No valid response");
      return true;
    }
    if (!GeneralEchoMatches(link_, kGenDccAddress)) return FailEnd("DCC Address: No valid response");
    if (DecodeDccAddress(link_.R(2), link_.R(3)) != DccAddressValue(g_)) Fail("DCC address does not compare");
    return true;
  }

  bool XDccAddress() {
    if (!RequestGeneral(ctx_, kGenXDccAddress)) return FailEnd();
    if (link_.ReplyLength() != 4) {
      Line("eXtended DCC Address: No valid response");
      return true;
    }
    if (!GeneralEchoMatches(link_, kGenXDccAddress)) return FailEnd("eXtended DCC Address: No valid response");
    if (DecodeDccAddress(link_.R(2), link_.R(3)) != XDccAddressValue(g_))
      Fail("eXtended DCC address does not compare");
    return true;
  }

  bool DccOptions() {
    if (!RequestGeneral(ctx_, kGenDccOptions)) return FailEnd();
    if (!GeneralReplyIs(link_, kGenDccOptions, 3)) return FailEnd("DCC Options: No valid response");
    if (link_.R(2) != EncodeDccOptions(g_)) Fail("DCC Options do not compare");
    return true;
  }

  bool SerialAddress() {
    if (!RequestGeneral(ctx_, kGenSerialAddress)) return FailEnd();
    if (link_.ReplyLength() != 4)
      return FailEnd("Serial Address Settings: " + GeneralSizeText(link_, 4));
    if (!GeneralEchoMatches(link_, kGenSerialAddress))
      return FailEnd("Serial Address Settings: " + GeneralEchoText(link_, kGenSerialAddress));
    if (128 * link_.R(2) + link_.R(3) != WrittenSerialAddress(g_).Word()) Fail("Serial Address Settings do not compare");
    return true;
  }

  // A different extended address or group mask is reported but does not fail the verdict.
  bool ModuleXAddress() {
    if (!RequestGeneral(ctx_, kGenModuleXAddress)) return FailEnd();
    if (link_.ReplyLength() != 3) return FailEnd("eXtended Address: " + GeneralSizeText(link_, 3));
    if (!GeneralEchoMatches(link_, kGenModuleXAddress))
      return FailEnd("eXtended Address: " + GeneralEchoText(link_, kGenModuleXAddress));
    if (link_.R(2) != g_.ModuleXAddress) Line("eXtended Address does not compare");
    return true;
  }

  bool GroupMask() {
    if (!RequestGeneral(ctx_, kGenGroupMask)) return FailEnd();
    if (link_.ReplyLength() != 6) return FailEnd("eXtended Group Mask: " + GeneralSizeText(link_, 6));
    if (!GeneralEchoMatches(link_, kGenGroupMask))
      return FailEnd("eXtended Group Mask: " + GeneralEchoText(link_, kGenGroupMask));
    if (GeneralReplyQuad(link_) != EncodeGroupMasks(g_)) Line("eXtended Group Mask does not compare");
    return true;
  }

  bool Led(int sub, const std::array<uint8_t, 8>& boxes, const std::string& colour) {
    if (!RequestGeneral(ctx_, sub) || !GeneralReplyIs(link_, sub, 3))
      return FailEnd("ReadLEDConfig: No valid response");
    if (link_.R(2) != EncodeLedByte(boxes)) Fail(colour + " LED configuration does not compare");
    return true;
  }

  void SerialPort() {
    if (!RequestGeneral(ctx_, kGenSerialPort)) {
      ok_ = false;
      return;
    }
    if (link_.ReplyLength() != 4) {
      Fail("Serial Port Config: " + GeneralSizeText(link_, 4));
    } else if (!GeneralEchoMatches(link_, kGenSerialPort)) {
      Fail("Serial Port Config: " + GeneralEchoText(link_, kGenSerialPort));
    } else if (128 * link_.R(2) + link_.R(3) != SerialPortWord(g_)) {
      Fail("Serial Port Configuration does not compare");
    }
  }

  void Line(const std::string& text) { ctx_.Report.AppendReportLine(text); }
  void Fail(const std::string& text) {
    ctx_.Report.AppendDifference(text);
    ok_ = false;
  }
  bool FailEnd(const std::string& text = {}) {
    if (!text.empty()) Line(text);
    ok_ = false;
    return false;
  }

  TransferContext& ctx_;
  BrixoLink& link_;
  const GeneralSettings& g_;
  bool ok_ = true;
};

}  // namespace

bool VerifyGeneralSettings(TransferContext& ctx) { return GeneralVerification(ctx).Run(); }

}  // namespace brixo
