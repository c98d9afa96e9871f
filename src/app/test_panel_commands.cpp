#include "app/test_panel_commands.h"

#include "link/numeric_text.h"
#include "transfer/general_field_text.h"

namespace brixo {

std::string CommitLegacyField(const std::string& typed, const std::string& kept) {
  if (!IsNumericText(typed)) return kept;
  return std::to_string(ClampedFieldValue(typed, {0, kLegacyFieldMax}));
}

std::array<std::string, 3> SendTamloFields(BrixoLink& link, const std::array<std::string, 3>& fields) {
  std::array<std::string, 3> committed;
  std::array<int, 3> values{};
  for (size_t i = 0; i < fields.size(); ++i) {
    committed[i] = CommitLegacyField(fields[i]);
    values[i] = ClampedFieldValue(committed[i], {0, kLegacyFieldMax});
  }
  SendTamlo(link, values[0], values[1], values[2]);
  return committed;
}

std::string SendBrixoSetAspect(LiveContext& live, int index, const std::string& outputField) {
  const std::string committed = CommitLegacyField(outputField);
  BrixoSetAspect(live, index, committed);
  return committed;
}

}  // namespace brixo
