#pragma once
// The text of the "BrixoConfig - Verification Report" window, with the count of the
// differences it lists and the parts of the configuration that were compared to their end.
#include <string>
#include <vector>

namespace brixo {

struct VerificationReport {
  std::string Text;
  int Differences = 0;
  std::vector<std::string> Compared;  // e.g. "general settings", "32 pins"
  std::string Partial;                // the part a stop cut short, e.g. "12 of 32 pins"

  void AppendReportLine(const std::string& line) { Text += line + "\r\n"; }
  void Append(const std::string& text) { Text += text; }
  // A line that names something the controller holds differently.
  void AppendDifference(const std::string& line) {
    AppendReportLine(line);
    ++Differences;
  }
  void Clear() {
    Text.clear();
    Differences = 0;
    Compared.clear();
    Partial.clear();
  }
};

// The closing words of a verification: "Verify OK" when everything compared, "Differences
// Found" when every part was compared to its end and something differed, "Verification
// Stopped" when it ended before its last part. `parts` is how many parts it verifies.
std::string VerificationVerdict(const VerificationReport& report, bool ok, int parts);

// One line naming what was compared and how many differences were found.
std::string VerificationSummary(const VerificationReport& report);

// Ends the report with the verdict and the summary line.
void CloseVerificationReport(VerificationReport& report, bool ok, int parts);

}  // namespace brixo
