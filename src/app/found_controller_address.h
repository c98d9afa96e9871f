#pragma once
// Taking the address of a controller the scan found into the link settings, as the user
// would type it into "Module Address" and the extended address field.
#include <optional>

#include "app/app_state.h"

namespace brixo {

// The module address resynchronises the line; a controller behind an extended address turns
// extended addressing on (after its warning: declined, nothing changes and the result is
// false), one without turns it off. True when the link now addresses that controller.
bool AddressFoundController(AppState& app, int module, std::optional<int> extended);

}  // namespace brixo
