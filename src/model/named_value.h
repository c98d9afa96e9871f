#pragma once
// A caption and the value shown beside it, in UTF-8: one line of a settings block in words
// ("Packet Retention", "125ms").
#include <string>

namespace brixo {

struct NamedValue {
  std::string Name;
  std::string Value;
  bool operator==(const NamedValue&) const = default;
};

}  // namespace brixo
