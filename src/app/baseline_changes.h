#pragma once
// What the editor changed since its baseline (the configuration last loaded, saved or read
// whole), field by field: the changed marks of the pin overview come from here, and any
// view that marks changed fields takes them from the same list.
#include <array>
#include <vector>

#include "transfer/config_fields.h"

namespace brixo {

class AppState;

std::vector<FieldId> ChangedSinceBaseline(AppState& app);
// The pins with a changed field of their own.
std::array<bool, kPinCount> PinsChangedSinceBaseline(AppState& app);

}  // namespace brixo
