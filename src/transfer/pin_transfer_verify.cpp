#include <string>
#include <vector>

#include "model/instruction_table.h"
#include "model/output_config.h"
#include "transfer/pin_transfer.h"
#include "transfer/pin_transfer_messages.h"

namespace brixo {

namespace {

// "Pin N: <what> does not compare", where it differs, then both sides in the words of the
// other report lines.
std::string PinLine(const ConfigModel& model, int p, const std::string& what, const std::string& configured,
                    const std::string& controller, const std::string& at = {}) {
  return "Pin " + std::to_string(DisplayedPin(model, p)) + ": " + what + " does not compare" +
         (at.empty() ? "" : " at " + at) + ": BrixoConfig = <" + configured + "> Brixo = <" + controller + ">";
}

// A step as stored: the instruction, its fade flag and the four parameter bytes.
std::string StepText(const StepRecord& step) {
  const InstructionInfo& info = StandardInstructionTable().Info(step.Instruction);
  std::string text = info.Name.empty() ? "code " + std::to_string(step.Instruction) : info.Name;
  if (step.Fade != 0) text += " with fade";
  return text + " (" + std::to_string(step.Par0) + ", " + std::to_string(step.Par1) + ", " +
         std::to_string(step.Par2) + ", " + std::to_string(step.Par3) + ")";
}

std::string LayoutText(int aspectConfig) {
  return std::to_string(AspectCountOf(static_cast<uint8_t>(aspectConfig))) + " aspects";
}

std::string InitText(int initAspect) { return initAspect == 0 ? "none" : std::to_string(initAspect - 1); }

std::string DccCountsText(int value) {
  return std::to_string(value & 7) + " B-DCC, " + std::to_string((value >> 3) & 1) + " X-DCC";
}

// The device head a tagged device byte of pin p points to, as the user numbers pins.
std::string HeadText(const ConfigModel& model, int p, int value) {
  return "head pin " + std::to_string(DisplayedPin(model, (p + (value & 31)) % kPinCount));
}

// A servo's flag byte may arrive with its range in the high half; the model keeps the
// range in bits 0..2 with bits 3 and 5 set.
void NormalizeReportedServoFlags(std::vector<uint8_t>& config) {
  if (config.size() >= 3 && config[0] == 1) config[2] = NormalisedServoFlags(config[2]);
}

// The first byte the controller reports differently; -1 when all compare.
int FirstOutputConfigDifference(const PinRecord& pin, const std::vector<uint8_t>& reported) {
  for (size_t i = 0; i < reported.size() && i < pin.OutputConfig.size(); ++i) {
    if (pin.OutputConfig[i] != reported[i]) return static_cast<int>(i);
  }
  return -1;
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
  if (const int i = FirstOutputConfigDifference(pin, reported); i >= 0) {
    ctx.Report.AppendDifference(PinLine(ctx.Model, p, "Pinconfig", std::to_string(pin.OutputConfig[i]),
                                        std::to_string(reported[i]), "byte " + std::to_string(i)));
    verdict = PinVerdict::Differs;
  }
  if (!ShortPwmLevelsCompare(pin, reported)) {
    ctx.Report.AppendDifference(PinLine(ctx.Model, p, "Pinconfig",
                                        std::to_string(pin.OutputConfig[4]) + ", " +
                                            std::to_string(pin.OutputConfig[5]),
                                        "0, 31", "the PWM levels"));
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
    ctx.Report.AppendDifference(PinLine(ctx.Model, p, "Aspectconfig", LayoutText(pin.AspectConfig), LayoutText(layout)));
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
      const StepRecord& step = pin.Aspects[a].Steps[s];
      if (EncodeStep(step) != reported) {
        ctx.Report.AppendDifference(PinLine(ctx.Model, p, "Aspect " + std::to_string(a), StepText(step),
                                            StepText(DecodeStep(reported)), "step " + std::to_string(s)));
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
  const int reported = DecodeInitAspect(initByte);
  const int configured = ctx.Model.PinTable[p].InitAspect;
  if (reported == configured) return PinVerdict::Compares;
  ctx.Report.AppendDifference(PinLine(ctx.Model, p, "Init", InitText(configured), InitText(reported)));
  return PinVerdict::Differs;
}

PinVerdict VerifyAddressConfig(TransferContext& ctx, int p) {
  std::array<int, 3> reported{};
  switch (RequestAddressBytes(ctx.Link, p, reported)) {
    case ReplyStatus::LinkFailed: return PinVerdict::Stop;
    case ReplyStatus::Invalid:
      ctx.Report.AppendDifference("Pin Address Configuration: Invalid Response, expected 5,118," +
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
      if (value != expected[0])
        finding = PinLine(ctx.Model, p, "DCC Address Configuration", DccCountsText(expected[0]), DccCountsText(value));
    } else if (value <= 31) {
      if ((value & 15) != (expected[1] & 15))
        finding = PinLine(ctx.Model, p, "Serial Address Configuration", std::to_string(expected[1] & 15),
                          std::to_string(value & 15));
    } else if (value <= 63) {
      finding = "Pin Address Configuration: Invalid Response " + std::to_string(value / 16);
    } else if ((value & 31) != (expected[2] & 31)) {
      finding = PinLine(ctx.Model, p, "Device Pointer", HeadText(ctx.Model, p, expected[2]),
                        HeadText(ctx.Model, p, value));
    }
    if (!finding.empty()) {
      ctx.Report.AppendDifference(finding);
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
    ctx.View.ShowProgress("Verifying pin " + std::to_string(DisplayedPin(ctx.Model, p)) + " of 32");
    PinVerdict verdict = VerifyOutputConfig(ctx, p);
    if (verdict != PinVerdict::Stop) verdict = Worse(verdict, VerifyAspects(ctx, p));
    if (verdict != PinVerdict::Stop) verdict = Worse(verdict, VerifyInitAspect(ctx, p));
    if (verdict != PinVerdict::Stop) verdict = Worse(verdict, VerifyAddressConfig(ctx, p));
    if (verdict == PinVerdict::Stop) {
      if (p > 0) ctx.Report.Partial = std::to_string(p) + " of 32 pins";
      return false;
    }
    if (verdict == PinVerdict::Differs) ok = false;
  }
  ctx.Report.Compared.push_back("32 pins");
  return ok;
}

}  // namespace brixo
