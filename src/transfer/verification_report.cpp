#include "transfer/verification_report.h"

namespace brixo {

std::string VerificationVerdict(const VerificationReport& report, bool ok, int parts) {
  if (ok) return "Verify OK";
  if (static_cast<int>(report.Compared.size()) >= parts && report.Differences > 0) return "Differences Found";
  return "Verification Stopped";
}

std::string VerificationSummary(const VerificationReport& report) {
  std::vector<std::string> parts = report.Compared;
  if (!report.Partial.empty()) parts.push_back(report.Partial);
  if (parts.empty()) return "Nothing was compared to its end.";
  std::string text = "Compared ";
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) text += i + 1 == parts.size() ? " and " : ", ";
    text += parts[i];
  }
  const int n = report.Differences;
  text += ": ";
  text += n == 0 ? "no differences" : std::to_string(n) + (n == 1 ? " difference" : " differences");
  return text + ".";
}

void CloseVerificationReport(VerificationReport& report, bool ok, int parts) {
  report.AppendReportLine(VerificationVerdict(report, ok, parts));
  report.Append(VerificationSummary(report));
}

}  // namespace brixo
