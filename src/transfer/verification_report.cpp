#include "transfer/verification_report.h"

#include "transfer/difference_table.h"

namespace brixo {

std::string VerificationVerdict(const VerificationResult& result, int parts) {
  // Only a comparison that reached the end of every part can find nothing different.
  const bool whole = static_cast<int>(result.Compared.size()) >= parts;
  if (result.Ok && whole) return "Verify OK";
  if (whole && !result.Differences.empty()) return "Differences Found";
  return "Verification Stopped";
}

namespace {

std::string Listed(const std::vector<std::string>& items) {
  std::string text;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += i + 1 == items.size() ? " and " : ", ";
    text += items[i];
  }
  return text;
}

}  // namespace

std::string VerificationSummary(const VerificationResult& result) {
  std::vector<std::string> parts = result.Compared;
  if (!result.Partial.empty()) parts.push_back(result.Partial);
  std::string text;
  if (parts.empty()) {
    text = "Nothing was compared to its end.";
  } else {
    const size_t n = result.Differences.size();
    text = "Compared " + Listed(parts) + ": " +
           (n == 0 ? "no differences" : std::to_string(n) + (n == 1 ? " difference" : " differences")) + ".";
  }
  std::vector<std::string> skipped;
  for (const VerificationResult::SkippedPart& s : result.Skipped) skipped.push_back(s.Part + " (" + s.Why + ")");
  if (!skipped.empty()) text += " Not compared: " + Listed(skipped) + ".";
  return text;
}

std::string SkippedPartText(const VerificationResult::SkippedPart& skipped) {
  return skipped.Part + ": not compared, " + skipped.Why;
}

bool AllPartsGoneThrough(const VerificationResult& result, int parts) {
  return static_cast<int>(result.Compared.size() + result.Skipped.size()) >= parts;
}

Difference NoValidResponse(const FieldId& field, int fileValue, const std::string& fileText) {
  return {field, fileValue, 0, fileText, {}, true};
}

void CloseVerificationReport(VerificationReport& report, int parts, const ConfigurationRef& compared) {
  for (const std::string& line : DifferenceLines(DifferenceRows(report.Result.Differences, compared)))
    report.AppendReportLine(line);
  const std::string verdict = VerificationVerdict(report.Result, parts);
  // The verdict alone says whether the controller compares.
  report.Result.Ok = verdict == "Verify OK";
  report.AppendReportLine(verdict);
  report.Append(VerificationSummary(report.Result));
}

}  // namespace brixo
