#pragma once
// The name a parameterised test shows for a case with a readable Name ("lost frame" shows
// as "lost_frame"): gtest takes letters, digits and "_" only.
#include <cctype>
#include <string>

namespace brixo::testing {

struct CaseName {
  template <typename Info>
  std::string operator()(const Info& info) const {
    std::string name = info.param.Name;
    for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
  }
};

}  // namespace brixo::testing
