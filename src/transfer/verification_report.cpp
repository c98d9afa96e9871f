#include "transfer/verification_report.h"

namespace brixo {

std::string VerificationVerdict(const VerificationResult& result, int parts) {
  if (result.Ok) return "Verify OK";
  if (static_cast<int>(result.Compared.size()) >= parts && !result.Differences.empty()) return "Differences Found";
  return "Verification Stopped";
}

std::string VerificationSummary(const VerificationResult& result) {
  std::vector<std::string> parts = result.Compared;
  if (!result.Partial.empty()) parts.push_back(result.Partial);
  if (parts.empty()) return "Nothing was compared to its end.";
  std::string text = "Compared ";
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) text += i + 1 == parts.size() ? " and " : ", ";
    text += parts[i];
  }
  const size_t n = result.Differences.size();
  text += ": ";
  text += n == 0 ? "no differences" : std::to_string(n) + (n == 1 ? " difference" : " differences");
  return text + ".";
}

void CloseVerificationReport(VerificationReport& report, int parts, int numberingOffset) {
  for (const Difference& difference : report.Result.Differences)
    report.AppendReportLine(DifferenceText(difference, numberingOffset));
  report.AppendReportLine(VerificationVerdict(report.Result, parts));
  report.Append(VerificationSummary(report.Result));
}

}  // namespace brixo
