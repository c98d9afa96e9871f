#include "model/controller_encoding.h"
#include "model/instruction_table.h"
#include "transfer/verification_report.h"

namespace brixo {

namespace {

// A step's code with the name the user chooses it by: "9 (On)", "25 (On with fade)"; the
// empty step and codes without a name stay numbers.
std::string StepCodeText(int code) {
  StepRecord step;
  SplitStepCode(code, step);
  const std::string& name = StandardInstructionTable().Info(step.Instruction).Name;
  if (step.Instruction == 0 || name.empty()) return std::to_string(code);
  return std::to_string(code) + " (" + name + (step.Fade != 0 ? " with fade" : "") + ")";
}

std::string ValueText(const FieldId& field, int value, const std::string& text) {
  if (InfoOf(field.Kind).IsText) return "<" + text + ">";
  if (!text.empty()) return text;
  return field.Kind == FieldKind::StepCode ? StepCodeText(value) : std::to_string(value);
}

}  // namespace

std::string DifferenceText(const Difference& difference, int numberingOffset) {
  const FieldId& field = difference.Field;
  const std::string controller = difference.NoValidReply
                                     ? "no valid response"
                                     : ValueText(field, difference.ControllerValue, difference.ControllerText);
  return FieldName(field, numberingOffset) + ": file " + ValueText(field, difference.FileValue, difference.FileText) +
         ", controller " + controller;
}

void VerificationResult::Add(const VerificationResult& other) {
  Ok = Ok && other.Ok;
  Differences.insert(Differences.end(), other.Differences.begin(), other.Differences.end());
  NotCompared.insert(NotCompared.end(), other.NotCompared.begin(), other.NotCompared.end());
  Compared.insert(Compared.end(), other.Compared.begin(), other.Compared.end());
  Skipped.insert(Skipped.end(), other.Skipped.begin(), other.Skipped.end());
  if (!other.Partial.empty()) Partial = other.Partial;
}

}  // namespace brixo
