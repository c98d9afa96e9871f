#pragma once
// Which fields of the configuration differ from an earlier one, field by field as the field
// table names them. The window compares the editor with its baseline (what was last loaded,
// saved or read whole from the controller) to mark what the user changed since.
#include <array>
#include <vector>

#include "transfer/config_fields.h"

namespace brixo {

// Whether one field holds another value (or text) in the two configurations.
bool FieldDiffers(const FieldId& id, const ConfigurationRef& a, const ConfigurationRef& b);

// Every field of `now` that differs from `before`, in the field table's order. Pins that
// are equal as records are passed over unread, so that a check after each edit costs little.
std::vector<FieldId> ChangedFields(const ConfigurationRef& now, const ConfigurationRef& before);

// The pins whose own fields (layout, texts, device, output bytes, address counts, aspects
// and steps) are among `changed`.
std::array<bool, kPinCount> PinsWithChanges(const std::vector<FieldId>& changed);

}  // namespace brixo
