#include "transfer/field_changes.h"

namespace brixo {

namespace {

bool IsPinGroupField(const FieldId& id) { return id.Kind >= FieldKind::AspectConfig; }

}  // namespace

bool FieldDiffers(const FieldId& id, const ConfigurationRef& a, const ConfigurationRef& b) {
  return InfoOf(id.Kind).IsText ? FieldText(id, a) != FieldText(id, b) : FieldValue(id, a) != FieldValue(id, b);
}

std::vector<FieldId> ChangedFields(const ConfigurationRef& now, const ConfigurationRef& before) {
  std::array<bool, kPinCount> samePin{};
  for (int p = 0; p < kPinCount; ++p) samePin[p] = now.Model.PinTable[p] == before.Model.PinTable[p];
  std::vector<FieldId> changed;
  for (const FieldId& id : AllFields()) {
    if (IsPinGroupField(id) && samePin[id.Pin]) continue;
    if (FieldDiffers(id, now, before)) changed.push_back(id);
  }
  return changed;
}

std::array<bool, kPinCount> PinsWithChanges(const std::vector<FieldId>& changed) {
  std::array<bool, kPinCount> pins{};
  for (const FieldId& id : changed) {
    if (IsPinGroupField(id) && id.Pin >= 0 && id.Pin < kPinCount) pins[id.Pin] = true;
  }
  return pins;
}

}  // namespace brixo
