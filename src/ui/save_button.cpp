#include "ui/save_button.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace brixo {

std::optional<SaveMode> SaveModeFor(Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
  if (button != Qt::LeftButton) return std::nullopt;
  // The keypad flag only says where a key sits; it is not a modifier the user holds.
  modifiers &= ~Qt::KeypadModifier;
  if (modifiers == Qt::NoModifier) return SaveMode::Normal;
  if (modifiers == Qt::ShiftModifier) return SaveMode::Compact;
  return std::nullopt;
}

SaveButton::SaveButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
  connect(this, &QPushButton::clicked, this, [this] {
    const std::optional<SaveMode> mode = pressed_;
    pressed_.reset();
    if (mode) emit saveRequested(*mode);
  });
}

void SaveButton::mousePressEvent(QMouseEvent* event) {
  pressed_ = SaveModeFor(event->button(), event->modifiers());
  QPushButton::mousePressEvent(event);
}

void SaveButton::keyPressEvent(QKeyEvent* event) {
  // Space on the focused button behaves as a left click with the modifiers held.
  if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
    pressed_ = SaveModeFor(Qt::LeftButton, event->modifiers());
  QPushButton::keyPressEvent(event);
}

}  // namespace brixo
