#pragma once
// A pin's output parameters in words, under the captions of the output pages: "Range" "L",
// "Midpoint" "-3", "Drive Mode" "Linear". The output type itself is told by
// OutputTypeInWords.
#include <array>
#include <vector>

#include "model/named_value.h"
#include "model/pin_model.h"

namespace brixo {

// The servo page's "Range" options, by option index.
inline constexpr std::array<const char*, 5> kServoRangeCaptions = {"Off", "S", "M", "L", "XL"};
// The PWM page's "Drive Mode" and "Acceleration Mode" options, by option index.
inline constexpr std::array<const char*, 2> kPwmModeCaptions = {"Logaritmic", "Linear"};

// The parameters of the pin's output type, in the order its page shows them; none for a
// pin that is not configured or has a type the tool does not know.
std::vector<NamedValue> OutputParametersInWords(const PinRecord& pin);

}  // namespace brixo
