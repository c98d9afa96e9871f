#include <string>
#include <vector>

#include "model/output_config.h"
#include "model/output_config_transfer.h"
#include "transfer/pin_transfer.h"
#include "transfer/pin_transfer_messages.h"

namespace brixo {

namespace {

enum class PinVerdict { Compares, Differs, Stop };

PinVerdict Worse(PinVerdict a, PinVerdict b) {
  if (a == PinVerdict::Stop || b == PinVerdict::Stop) return PinVerdict::Stop;
  if (a == PinVerdict::Differs || b == PinVerdict::Differs) return PinVerdict::Differs;
  return PinVerdict::Compares;
}

// Verifies one pin at a time. Every byte the controller reports is compared with the byte a
// write of the pin would send, so that no change of a stored byte can pass unnoticed, and
// each difference is also listed field by field.
class PinVerification {
 public:
  PinVerification(TransferContext& ctx, VerificationResult& result) : ctx_(ctx), result_(result) {}

  PinVerdict Verify(int p) {
    p_ = p;
    PinVerdict verdict = OutputConfig();
    if (verdict != PinVerdict::Stop) verdict = Worse(verdict, Aspects());
    if (verdict != PinVerdict::Stop) verdict = Worse(verdict, InitAspect());
    if (verdict != PinVerdict::Stop) verdict = Worse(verdict, AddressConfig());
    return verdict;
  }

 private:
  const PinRecord& Pin() const { return ctx_.Model.PinTable[p_]; }
  FieldId Field(FieldKind kind, int index = -1, int aspect = -1, int step = -1) const {
    return {kind, static_cast<int8_t>(p_), static_cast<int8_t>(index), static_cast<int8_t>(aspect),
            static_cast<int8_t>(step)};
  }
  void Differ(const FieldId& field, int file, int controller, const std::string& controllerText = {}) {
    result_.Differences.push_back({field, file, controller, {}, controllerText});
  }
  void Line(const std::string& text) { ctx_.Report.AppendReportLine(text); }
  std::string PinLine(const std::string& what) const {
    return "Pin " + std::to_string(DisplayedPin(ctx_.Model, p_)) + ": " + what + " does not compare";
  }
  PinVerdict Stop(const std::string& line) {
    Line(line);
    return PinVerdict::Stop;
  }
  // A reply that cannot be read is an entry in the list too, on the first field it should
  // have carried, so that the list names every place the controller was not found to agree.
  void Unreadable(const FieldId& field) {
    const ConfigurationRef config{ctx_.Model, ctx_.General, ctx_.Events};
    result_.Differences.push_back(NoValidResponse(field, FieldValue(field, config)));
  }
  PinVerdict StopUnreadable(const FieldId& field) {
    Unreadable(field);
    return Stop("No valid response");
  }

  PinVerdict OutputConfig() {
    std::vector<uint8_t> reported;
    switch (RequestStoredOutputConfig(ctx_.Link, p_, reported)) {
      case ReplyStatus::LinkFailed: return PinVerdict::Stop;
      case ReplyStatus::Invalid: return StopUnreadable(Field(FieldKind::OutputByte, 0));
      case ReplyStatus::Ok: break;
    }
    // The reply must carry every byte its type uses; the short PWM reply of old firmware
    // has fixed off and on levels instead of its last byte.
    const int type = reported[0];
    const int count = static_cast<int>(reported.size());
    const bool shortPwm = IsShortPwmReply(type, count);
    if (count < OutputConfigBytesOf(type) && !shortPwm) return StopUnreadable(Field(FieldKind::OutputByte, 0));

    const std::vector<int> expected = OutputConfigPayload(Pin(), 1);
    bool differs = false;
    if (expected[0] != type) {
      // Another kind of output: its bytes mean something else, so only the type is listed.
      differs = true;
      Differ(Field(FieldKind::OutputByte, 0), expected[0], type);
    } else {
      const int compared = shortPwm ? count : OutputConfigBytesOf(type);
      for (int i = 0; i < compared; ++i) {
        if (expected[i] == reported[i]) continue;
        differs = true;
        Differ(Field(FieldKind::OutputByte, i), expected[i], reported[i]);
      }
    }
    if (shortPwm && (Pin().OutputConfig[4] != 0 || Pin().OutputConfig[5] != 31)) {
      differs = true;
      Differ(Field(FieldKind::OutputByte, 5), Pin().OutputConfig[5], 31);
    }
    if (!differs) return PinVerdict::Compares;
    Line(PinLine("Pinconfig"));
    return PinVerdict::Differs;
  }

  PinVerdict Aspects() {
    uint8_t layout = 0;
    switch (RequestLayout(ctx_.Link, p_, layout)) {
      case ReplyStatus::LinkFailed: return PinVerdict::Stop;
      case ReplyStatus::Invalid: return StopUnreadable(Field(FieldKind::AspectConfig));
      case ReplyStatus::Ok: break;
    }
    if (layout != Pin().AspectConfig) {
      Line(PinLine("Aspectconfig"));
      Differ(Field(FieldKind::AspectConfig), Pin().AspectConfig, layout);
      return PinVerdict::Differs;
    }
    PinVerdict verdict = PinVerdict::Compares;
    for (int a = 0; a < AspectCountOf(layout); ++a) {
      bool reported = false;
      for (int s = 0; s < StepCountOf(layout); ++s) {
        EncodedStep theirs;
        switch (RequestStep(ctx_.Link, p_, a, s, theirs)) {
          case ReplyStatus::LinkFailed: return PinVerdict::Stop;
          case ReplyStatus::Invalid: return StopUnreadable(Field(FieldKind::StepCode, -1, a, s));
          case ReplyStatus::Ok: break;
        }
        const EncodedStep mine = EncodeStep(Pin().Aspects[a].Steps[s]);
        if (mine == theirs) continue;
        if (!reported) Line(PinLine("Aspect " + std::to_string(a)));  // one line per aspect
        reported = true;
        verdict = PinVerdict::Differs;
        StepDifferences(a, s, mine, theirs);
      }
    }
    return verdict;
  }

  // The step's fields as a write sends them against the controller's.
  void StepDifferences(int a, int s, const EncodedStep& mine, const EncodedStep& theirs) {
    if (mine.Code != theirs.Code) Differ(Field(FieldKind::StepCode, -1, a, s), mine.Code, theirs.Code);
    const StepRecord sent = DecodeStep(mine);
    const StepRecord held = DecodeStep(theirs);
    const int sentPars[] = {sent.Par0, sent.Par1, sent.Par2, sent.Par3};
    const int heldPars[] = {held.Par0, held.Par1, held.Par2, held.Par3};
    const FieldKind kinds[] = {FieldKind::StepPar0, FieldKind::StepPar1, FieldKind::StepPar2, FieldKind::StepPar3};
    bool listed = mine.Code != theirs.Code;
    for (int k = 0; k < 4; ++k) {
      if (sentPars[k] == heldPars[k]) continue;
      Differ(Field(kinds[k], -1, a, s), sentPars[k], heldPars[k]);
      listed = true;
    }
    // Bits of D0 that no parameter of a "SendSerial" step uses.
    if (!listed) Differ(Field(FieldKind::StepPar0, -1, a, s), mine.D0, theirs.D0, "D0 " + std::to_string(theirs.D0));
  }

  PinVerdict InitAspect() {
    int initByte = 0;
    switch (RequestInitByte(ctx_.Link, p_, initByte)) {
      case ReplyStatus::LinkFailed: return PinVerdict::Stop;
      case ReplyStatus::Invalid:
        // Nothing was compared, so the pin cannot pass.
        Line(PinLine("Init"));
        Unreadable(Field(FieldKind::InitAspect));
        return PinVerdict::Differs;
      case ReplyStatus::Ok: break;
    }
    if (initByte == EncodeInitAspect(Pin().InitAspect)) return PinVerdict::Compares;
    Line(PinLine("Init"));
    const int held = DecodeInitAspect(initByte) - 1;
    Differ(Field(FieldKind::InitAspect), Pin().InitAspect - 1, held,
           held == Pin().InitAspect - 1 ? "byte " + std::to_string(initByte) : std::string{});
    return PinVerdict::Differs;
  }

  PinVerdict AddressConfig() {
    std::array<int, 3> reported{};
    switch (RequestAddressBytes(ctx_.Link, p_, reported)) {
      case ReplyStatus::LinkFailed: return PinVerdict::Stop;
      case ReplyStatus::Invalid:
        Line("Pin Address Configuration: Invalid Response, expected 5,118," + std::to_string(p_) + ", received " +
             std::to_string(ctx_.Link.ReplyLength()) + "," + std::to_string(ctx_.Link.R(0)) + "," +
             std::to_string(ctx_.Link.R(1)));
        Unreadable(Field(FieldKind::DccCount));
        return PinVerdict::Differs;
      case ReplyStatus::Ok: break;
    }
    PinVerdict verdict = PinVerdict::Compares;
    for (int value : reported) {
      if (value >= 32 && value <= 63) {
        Line("Pin Address Configuration: Invalid Response " + std::to_string(value / 16));
        verdict = PinVerdict::Differs;
      }
    }
    // Each tag must carry exactly the byte a write sends; a byte that changed its tag
    // leaves its own tag missing.
    TaggedAddressBytes tagged;
    SortAddressBytes(reported, tagged);
    const std::array<uint8_t, 3> expected = EncodeAddressConfig(Pin());
    PinRecord held;
    if (tagged.Dcc != expected[0]) {
      Line(PinLine("DCC Address Configuration"));
      if (tagged.Dcc >= 0) DecodeAddressByte(tagged.Dcc, p_, held);
      const std::string missing = tagged.Dcc < 0 ? "missing" : "";
      if (Pin().DccAddressCount != held.DccAddressCount || !missing.empty())
        Differ(Field(FieldKind::DccCount), Pin().DccAddressCount, held.DccAddressCount, missing);
      if (Pin().XDccAddressCount != held.XDccAddressCount || !missing.empty())
        Differ(Field(FieldKind::XDccCount), Pin().XDccAddressCount, held.XDccAddressCount, missing);
      verdict = PinVerdict::Differs;
    }
    if (tagged.Serial != expected[1]) {
      Line(PinLine("Serial Address Configuration"));
      if (tagged.Serial >= 0) DecodeAddressByte(tagged.Serial, p_, held);
      Differ(Field(FieldKind::SerialCount), Pin().SerialAddressCount, held.SerialAddressCount,
             tagged.Serial < 0 ? "missing" : (tagged.Serial & 8) ? "byte " + std::to_string(tagged.Serial) : "");
      verdict = PinVerdict::Differs;
    }
    if (tagged.Device != expected[2]) {
      Line(PinLine("Device Pointer"));
      const int distance = tagged.Device & 31;
      Differ(Field(FieldKind::DevicePointer), Pin().DevicePointer, (p_ + distance) % kPinCount - p_,
             tagged.Device < 0 ? "missing" : tagged.Device > 95 ? "byte " + std::to_string(tagged.Device) : "");
      verdict = PinVerdict::Differs;
    }
    return verdict;
  }

  TransferContext& ctx_;
  VerificationResult& result_;
  int p_ = 0;
};

}  // namespace

VerificationResult VerifyPins(TransferContext& ctx) {
  ctx.Link.CheckBrixoBD = true;
  ctx.Report.AppendReportLine("Start Pin Verification");
  if (ctx.Model.NumberingOffset == 1) ctx.Report.AppendReportLine("Note: Numbering starts at 1");

  VerificationResult result;
  PinVerification verification(ctx, result);
  for (int p = 0; p < kPinCount; ++p) {
    // A verification that was stopped has not compared everything.
    if (ctx.Stopping()) {
      result.Ok = false;
      return result;
    }
    ctx.View.ShowProgress("Verifying " + PinOfAll(ctx.Model, p));
    const PinVerdict verdict = verification.Verify(p);
    if (verdict == PinVerdict::Stop) {
      result.Ok = false;
      if (p > 0) result.Partial = std::to_string(p) + " of 32 pins";
      return result;
    }
    if (verdict == PinVerdict::Differs) result.Ok = false;
    ctx.NoteDone(PinOfAll(ctx.Model, p));
  }
  if (ctx.Stopping()) {
    result.Ok = false;
    return result;
  }
  result.Compared.push_back("32 pins");
  return result;
}

}  // namespace brixo
