#pragma once
// The text of the "BrixoConfig - Verification Report" window.
#include <string>

namespace brixo {

struct VerificationReport {
  std::string Text;
  void AppendReportLine(const std::string& line) { Text += line + "\r\n"; }
  void Append(const std::string& text) { Text += text; }
  void Clear() { Text.clear(); }
};

}  // namespace brixo
