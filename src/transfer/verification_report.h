#pragma once
// The text of the "BrixoConfig - Verification Report" window, and what a verification
// found besides its report lines: the verdict, every difference field by field, and the
// parts of the configuration it compared to their end.
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
  // The controller's reply could not be read: it has no value to show.
  bool NoValidReply = false;
};

struct VerificationResult {
  bool Ok = true;
  std::vector<Difference> Differences;
  // Fields the configuration does not describe, so they were left out (a file without an
  // enable map).
  std::vector<FieldId> NotCompared;
  // The parts compared to their end ("general settings", "event control", "32 pins"), and
  // the part a stop cut short ("12 of 32 pins").
  std::vector<std::string> Compared;
  std::string Partial;
  // Parts gone past without being compared, and why: event control on a controller that
  // has none.
  struct SkippedPart {
    std::string Part;
    std::string Why;
  };
  std::vector<SkippedPart> Skipped;

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

// The closing words of a verification: "Verify OK" when everything compared, "Differences
// Found" when every part was compared to its end and something differed, "Verification
// Stopped" otherwise. `parts` is how many parts the verification compares.
std::string VerificationVerdict(const VerificationResult& result, int parts);

// One line naming exactly what was compared and how many differences were found, and
// what was gone past without being compared.
std::string VerificationSummary(const VerificationResult& result);

// "event control: not compared, the controller does not support it".
std::string SkippedPartText(const VerificationResult::SkippedPart& skipped);

// Whether every one of the verification's parts was gone through: compared to its end, or
// passed over for a reason of the controller's.
bool AllPartsGoneThrough(const VerificationResult& result, int parts);

// A reply to a request of the verification that it could not read: an entry in the list of
// differences, on the first field the reply should have carried, so that the list names
// every place where the controller was not found to agree.
Difference NoValidResponse(const FieldId& field, int fileValue, const std::string& fileText = {});

// Ends the report with one line per difference of its result, worded as everywhere
// ("pin 10 aspect 2 step 1 Level: file 40, controller 41", values as the editor shows
// them in `compared`, the configuration the controller was compared with), the verdict
// and the summary line; the result is OK exactly when the verdict is "Verify OK".
void CloseVerificationReport(VerificationReport& report, int parts, const ConfigurationRef& compared);

}  // namespace brixo
