#include <string>
#include <vector>

#include "model/output_config.h"
#include "transfer/pin_transfer.h"
#include "transfer/pin_transfer_messages.h"

namespace brixo {

namespace {

std::string PinLine(const ConfigModel& model, int p, const std::string& what) {
  return "Pin " + std::to_string(DisplayedPin(model, p)) + ": " + what + " does not compare";
}

// A servo's flag byte may arrive with its range in the high half; the model keeps the
// range in bits 0..2 with bits 3 and 5 set.
void NormalizeReportedServoFlags(std::vector<uint8_t>& config) {
  if (config.size() >= 3 && config[0] == 1) config[2] = NormalisedServoFlags(config[2]);
}

bool OutputConfigCompares(const PinRecord& pin, const std::vector<uint8_t>& reported) {
  for (size_t i = 0; i < reported.size() && i < pin.OutputConfig.size(); ++i) {
    if (pin.OutputConfig[i] != reported[i]) return false;
  }
  return true;
}

// Controllers reporting only part of a PWM configuration use fixed off and on levels.
bool ShortPwmLevelsCompare(const PinRecord& pin, const std::vector<uint8_t>& reported) {
  const bool pwm = reported[0] == 2 || reported[0] == 3;
  if (!pwm || reported.size() > 5) return true;
  return pin.OutputConfig[4] == 0 && pin.OutputConfig[5] == 31;
}

enum class PinVerdict { Compares, Differs, Stop };

PinVerdict Worse(PinVerdict a, PinVerdict b) {
  if (a == PinVerdict::Stop || b == PinVerdict::Stop) return PinVerdict::Stop;
  if (a == PinVerdict::Differs || b == PinVerdict::Differs) return PinVerdict::Differs;
  return PinVerdict::Compares;
}

PinVerdict VerifyOutputConfig(TransferContext& ctx, int p) {
  std::vector<uint8_t> reported;
  switch (RequestStoredOutputConfig(ctx.Link, p, reported)) {
    case ReplyStatus::LinkFailed: return PinVerdict::Stop;
    case ReplyStatus::Invalid: ctx.Report.AppendReportLine("No valid response"); return PinVerdict::Stop;
    case ReplyStatus::Ok: break;
  }
  NormalizeReportedServoFlags(reported);
  const PinRecord& pin = ctx.Model.PinTable[p];
  PinVerdict verdict = PinVerdict::Compares;
  if (!OutputConfigCompares(pin, reported)) {
    ctx.Report.AppendReportLine(PinLine(ctx.Model, p, "Pinconfig"));
    verdict = PinVerdict::Differs;
  }
  if (!ShortPwmLevelsCompare(pin, reported)) {
    ctx.Report.AppendReportLine(PinLine(ctx.Model, p, "Pinconfig"));
    verdict = PinVerdict::Differs;
  }
  return verdict;
}

PinVerdict VerifyAspects(TransferContext& ctx, int p) {
  const PinRecord& pin = ctx.Model.PinTable[p];
  uint8_t layout = 0;
  switch (RequestLayout(ctx.Link, p, layout)) {
    case ReplyStatus::LinkFailed: return PinVerdict::Stop;
    case ReplyStatus::Invalid: ctx.Report.AppendReportLine("No valid response"); return PinVerdict::Stop;
    case ReplyStatus::Ok: break;
  }
  if (layout != pin.AspectConfig) {
    ctx.Report.AppendReportLine(PinLine(ctx.Model, p, "Aspectconfig"));
    return PinVerdict::Differs;
  }
  PinVerdict verdict = PinVerdict::Compares;
  for (int a = 0; a < AspectCountOf(layout); ++a) {
    for (int s = 0; s < StepCountOf(layout); ++s) {
      EncodedStep reported;
      switch (RequestStep(ctx.Link, p, a, s, reported)) {
        case ReplyStatus::LinkFailed: return PinVerdict::Stop;
        case ReplyStatus::Invalid: ctx.Report.AppendReportLine("No valid response"); return PinVerdict::Stop;
        case ReplyStatus::Ok: break;
      }
      if (EncodeStep(pin.Aspects[a].Steps[s]) != reported) {
        ctx.Report.AppendReportLine(PinLine(ctx.Model, p, "Aspect " + std::to_string(a)));
        verdict = PinVerdict::Differs;
        break;  // one line per aspect is enough; go on with the next one
      }
    }
  }
  return verdict;
}

PinVerdict VerifyInitAspect(TransferContext& ctx, int p) {
  int initByte = 0;
  switch (RequestInitByte(ctx.Link, p, initByte)) {
    case ReplyStatus::LinkFailed: return PinVerdict::Stop;
    case ReplyStatus::Invalid: return PinVerdict::Compares;  // nothing to compare with
    case ReplyStatus::Ok: break;
  }
  if ((initByte >> 4) != 7) return PinVerdict::Compares;
  if (DecodeInitAspect(initByte) == ctx.Model.PinTable[p].InitAspect) return PinVerdict::Compares;
  ctx.Report.AppendReportLine(PinLine(ctx.Model, p, "Init"));
  return PinVerdict::Differs;
}

PinVerdict VerifyAddressConfig(TransferContext& ctx, int p) {
  std::array<int, 3> reported{};
  switch (RequestAddressBytes(ctx.Link, p, reported)) {
    case ReplyStatus::LinkFailed: return PinVerdict::Stop;
    case ReplyStatus::Invalid:
      ctx.Report.AppendReportLine("Pin Address Configuration: Invalid Response, expected 5,118," +
                                  std::to_string(p) + ", received " + std::to_string(ctx.Link.ReplyLength()) +
                                  "," + std::to_string(ctx.Link.R(0)) + "," + std::to_string(ctx.Link.R(1)));
      return PinVerdict::Differs;
    case ReplyStatus::Ok: break;
  }
  // Each byte is compared within its tag's field against what a write would send.
  const std::array<uint8_t, 3> expected = EncodeAddressConfig(ctx.Model.PinTable[p]);
  PinVerdict verdict = PinVerdict::Compares;
  for (int value : reported) {
    std::string finding;
    if (value <= 15) {
      if (value != expected[0]) finding = PinLine(ctx.Model, p, "DCC Address Configuration");
    } else if (value <= 31) {
      if ((value & 15) != (expected[1] & 15)) finding = PinLine(ctx.Model, p, "Serial Address Configuration");
    } else if (value <= 63) {
      finding = "Pin Address Configuration: Invalid Response " + std::to_string(value / 16);
    } else if ((value & 31) != (expected[2] & 31)) {
      finding = PinLine(ctx.Model, p, "Device Pointer");
    }
    if (!finding.empty()) {
      ctx.Report.AppendReportLine(finding);
      verdict = PinVerdict::Differs;
    }
  }
  return verdict;
}

}  // namespace

bool VerifyPins(TransferContext& ctx) {
  ctx.Link.CheckBrixoBD = true;
  ctx.Report.AppendReportLine("Start Pin Verification");
  if (ctx.Model.NumberingOffset == 1) ctx.Report.AppendReportLine("Note: Numbering starts at 1");

  bool ok = true;
  for (int p = 0; p < kPinCount; ++p) {
    if (ctx.Stopping()) return false;
    ctx.View.ShowProgress("Verifying " + PinOfAll(ctx.Model, p));
    PinVerdict verdict = VerifyOutputConfig(ctx, p);
    if (verdict != PinVerdict::Stop) verdict = Worse(verdict, VerifyAspects(ctx, p));
    if (verdict != PinVerdict::Stop) verdict = Worse(verdict, VerifyInitAspect(ctx, p));
    if (verdict != PinVerdict::Stop) verdict = Worse(verdict, VerifyAddressConfig(ctx, p));
    if (verdict == PinVerdict::Stop) return false;
    if (verdict == PinVerdict::Differs) ok = false;
    ctx.NoteDone(PinOfAll(ctx.Model, p));
  }
  return ok && !ctx.Stopping();
}

}  // namespace brixo
