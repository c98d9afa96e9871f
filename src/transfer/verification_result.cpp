#include "transfer/verification_report.h"

namespace brixo {

namespace {

std::string ValueText(int value, const std::string& text, bool isText) {
  if (isText) return "<" + text + ">";
  return text.empty() ? std::to_string(value) : text;
}

}  // namespace

std::string DifferenceText(const Difference& difference, int numberingOffset) {
  const bool isText = InfoOf(difference.Field.Kind).IsText;
  return FieldName(difference.Field, numberingOffset) + ": file " +
         ValueText(difference.FileValue, difference.FileText, isText) + ", controller " +
         ValueText(difference.ControllerValue, difference.ControllerText, isText);
}

void VerificationResult::Add(const VerificationResult& other) {
  Ok = Ok && other.Ok;
  Differences.insert(Differences.end(), other.Differences.begin(), other.Differences.end());
  NotCompared.insert(NotCompared.end(), other.NotCompared.begin(), other.NotCompared.end());
}

}  // namespace brixo
