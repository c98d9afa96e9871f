#include "ui/modifier_button.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace brixo {

namespace {

// The keypad flag only says where a key sits; it is not a modifier the user holds.
Qt::KeyboardModifiers Held(Qt::KeyboardModifiers modifiers) { return modifiers & ~Qt::KeypadModifier; }

}  // namespace

ModifierButton::ModifierButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
  connect(this, &QPushButton::clicked, this, [this] {
    const std::optional<Press> press = press_;
    press_.reset();
    if (press) emit clickedWith(press->button, press->modifiers);
  });
}

void ModifierButton::Pressed(Press press) {
  // Only a left press can end in a click.
  press_.reset();
  if (press.button == Qt::LeftButton) press_ = press;
  emit pressedWith(press.button, press.modifiers);
}

void ModifierButton::mousePressEvent(QMouseEvent* event) {
  const Press press{event->button(), Held(event->modifiers())};
  QPushButton::mousePressEvent(event);
  Pressed(press);
}

void ModifierButton::keyPressEvent(QKeyEvent* event) {
  const bool space = event->key() == Qt::Key_Space && !event->isAutoRepeat();
  QPushButton::keyPressEvent(event);
  if (space) Pressed({Qt::LeftButton, Held(event->modifiers())});
}

}  // namespace brixo
