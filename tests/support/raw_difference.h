#pragma once
// What a verification found, as the field table names the field and with the values as
// the controller holds them ("pin 10 aspect 2 step 1 Par2: file 40, controller 41"): the
// verifications' own tests look at the raw values, the user reads them as the editor shows
// them (DifferenceLine).
#include <string>

#include "model/controller_encoding.h"
#include "model/instruction_table.h"
#include "transfer/verification_report.h"

namespace brixo::testing {

// A step's code with the name the user chooses it by: "9 (On)", "25 (On with fade)".
inline std::string RawStepCodeText(int code) {
  StepRecord step;
  SplitStepCode(code, step);
  const std::string& name = StandardInstructionTable().Info(step.Instruction).Name;
  if (step.Instruction == 0 || name.empty()) return std::to_string(code);
  return std::to_string(code) + " (" + name + (step.Fade != 0 ? " with fade" : "") + ")";
}

inline std::string RawValueText(const FieldId& field, int value, const std::string& text) {
  if (InfoOf(field.Kind).IsText) return "<" + text + ">";
  if (!text.empty()) return text;
  return field.Kind == FieldKind::StepCode ? RawStepCodeText(value) : std::to_string(value);
}

inline std::string DifferenceText(const Difference& d, int numberingOffset) {
  const std::string controller = d.NoValidReply ? "no valid response" : RawValueText(d.Field, d.ControllerValue, d.ControllerText);
  return FieldName(d.Field, numberingOffset) + ": file " + RawValueText(d.Field, d.FileValue, d.FileText) +
         ", controller " + controller;
}

}  // namespace brixo::testing
