#pragma once
// What a press on one of the modifier buttons asks for. Each rule answers nothing for a
// press that the button ignores (any mouse button but the left one, and for "Save File"
// any modifier combination but none or Shift alone).
#include <Qt>
#include <optional>

namespace brixo {

enum class SaveMode { Normal, Compact };

// "Save File": plain left saves normally, Shift + left saves compact.
std::optional<SaveMode> SaveModeFor(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

// "Test": the modifier bit set of the live test (Shift 1, Control 2, Alt 4).
std::optional<int> TestKeysFor(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

// "Reload DD": true when the new file is appended to the list (Shift held).
std::optional<bool> ReloadAppendsFor(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

}  // namespace brixo
