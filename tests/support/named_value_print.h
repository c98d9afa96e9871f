#pragma once
// How a test failure shows a named value: "{Range: M}".
#include <ostream>

#include "model/named_value.h"

namespace brixo {

inline void PrintTo(const NamedValue& value, std::ostream* out) {
  *out << "{" << value.Name << ": " << value.Value << "}";
}

}  // namespace brixo
