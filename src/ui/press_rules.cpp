#include "ui/press_rules.h"

#include "app/live_commands.h"

namespace brixo {

std::optional<SaveMode> SaveModeFor(Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
  if (button != Qt::LeftButton) return std::nullopt;
  modifiers &= ~Qt::KeypadModifier;
  if (modifiers == Qt::NoModifier) return SaveMode::Normal;
  if (modifiers == Qt::ShiftModifier) return SaveMode::Compact;
  return std::nullopt;
}

std::optional<int> TestKeysFor(Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
  if (button != Qt::LeftButton) return std::nullopt;
  int bits = 0;
  if (modifiers & Qt::ShiftModifier) bits |= kShiftKey;
  if (modifiers & Qt::ControlModifier) bits |= kControlKey;
  if (modifiers & Qt::AltModifier) bits |= kAltKey;
  return bits;
}

std::optional<bool> ReloadAppendsFor(Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
  if (button != Qt::LeftButton) return std::nullopt;
  return (modifiers & Qt::ShiftModifier) != 0;
}

}  // namespace brixo
