#pragma once
// What one undo or redo step changes, for the Edit menu ("Undo pin 1 aspect 0 step 3
// Level", "Undo ID string") and for showing the field it changes once it is undone.
#include <optional>
#include <string>

#include "app/edit_history.h"
#include "transfer/config_fields.h"

namespace brixo {

struct EditStep {
  // Empty when there is no step.
  std::string Name;
  // The first field the step changes; none when it changes no field of the table.
  std::optional<FieldId> Field;
};

// The step from `before` to `after`: one field by its name (a pin's field with its place,
// captioned as the editor shows it in `after`; a general setting by the field table's
// name), several by their count ("5 changes"). Numbers follow `numberingOffset`.
EditStep EditStepBetween(const EditorContent& before, const EditorContent& after, int numberingOffset);

// "Undo pin 1 aspect 0 step 3 Level", "Redo ID string", or the bare verb for no step.
std::string EditMenuText(const std::string& verb, const EditStep& step);

}  // namespace brixo
