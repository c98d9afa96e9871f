#include "transfer/verification_report.h"

namespace brixo {

void VerificationResult::Add(const VerificationResult& other) {
  Ok = Ok && other.Ok;
  Differences.insert(Differences.end(), other.Differences.begin(), other.Differences.end());
  NotCompared.insert(NotCompared.end(), other.NotCompared.begin(), other.NotCompared.end());
  Compared.insert(Compared.end(), other.Compared.begin(), other.Compared.end());
  Skipped.insert(Skipped.end(), other.Skipped.begin(), other.Skipped.end());
  if (!other.Partial.empty()) Partial = other.Partial;
}

}  // namespace brixo
