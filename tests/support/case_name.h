#pragma once
// The name a parameterised test shows for a case with a readable Name ("lost frame" shows
// as "lost_frame"): gtest takes letters, digits and "_" only.
#include <cctype>
#include <string>

namespace brixo::testing {

// Any readable text as a case name: "Write All stopped after pin 12" → "Write_All_stopped_after_pin_12".
inline std::string CaseNameOf(std::string text) {
  for (char& c : text) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return text;
}

struct CaseName {
  template <typename Info>
  std::string operator()(const Info& info) const {
    return CaseNameOf(info.param.Name);
  }
};

}  // namespace brixo::testing
