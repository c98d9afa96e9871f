#pragma once
// The text of the "BrixoConfig - Verification Report" window, and what a verification
// found besides its report lines: the verdict and every difference, field by field.
#include <string>
#include <vector>

#include "transfer/config_fields.h"

namespace brixo {

// One field whose controller value is not what a write of the configuration would leave.
struct Difference {
  FieldId Field;
  int FileValue = 0;
  int ControllerValue = 0;
  // Set for text fields, and where the controller's bytes have no value of the field's
  // kind (a missing address byte, an initial-aspect byte of no known form).
  std::string FileText;
  std::string ControllerText;
};

// "pin 10 aspect 2 step 1 Par2: file 40, controller 41"
std::string DifferenceText(const Difference& difference, int numberingOffset);

struct VerificationResult {
  bool Ok = true;
  std::vector<Difference> Differences;
  // Fields the configuration does not describe, so they were left out (a file without an
  // enable map).
  std::vector<FieldId> NotCompared;

  explicit operator bool() const { return Ok; }
  void Add(const VerificationResult& other);
};

struct VerificationReport {
  std::string Text;
  // What the last verification run found; its verdict decides "Verify OK".
  VerificationResult Result;
  void AppendReportLine(const std::string& line) { Text += line + "\r\n"; }
  void Append(const std::string& text) { Text += text; }
  void Clear() {
    Text.clear();
    Result = VerificationResult{};
  }
};

}  // namespace brixo
