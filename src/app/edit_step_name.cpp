#include "app/edit_step_name.h"

#include "transfer/field_changes.h"

namespace brixo {

namespace {

ConfigModel ModelOf(const EditorContent& content, int numberingOffset) {
  ConfigModel model;
  model.PinTable = content.Pins;
  model.NumberingOffset = static_cast<uint8_t>(numberingOffset);
  return model;
}

bool IsGeneral(const FieldId& id) { return id.Kind < FieldKind::OnAction; }

}  // namespace

EditStep EditStepBetween(const EditorContent& before, const EditorContent& after, int numberingOffset) {
  const ConfigModel beforeModel = ModelOf(before, numberingOffset);
  const ConfigModel afterModel = ModelOf(after, numberingOffset);
  const ConfigurationRef then{beforeModel, before.General, before.Events};
  const ConfigurationRef now{afterModel, after.General, after.Events};
  const std::vector<FieldId> changed = ChangedFields(now, then);
  EditStep step;
  if (changed.empty()) {
    // A change no field shows (the order of the event tables' hidden bytes): still a step.
    step.Name = "edit";
    return step;
  }
  step.Field = changed.front();
  if (changed.size() > 1) {
    step.Name = std::to_string(changed.size()) + " changes";
  } else {
    const FieldId& id = changed.front();
    step.Name = IsGeneral(id) ? FieldName(id, numberingOffset) : FieldLabel(id, now);
  }
  return step;
}

std::string EditMenuText(const std::string& verb, const EditStep& step) {
  return step.Name.empty() ? verb : verb + " " + step.Name;
}

}  // namespace brixo
