#include "ui/modifier_button.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace brixo {

ModifierButton::ModifierButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

void ModifierButton::mousePressEvent(QMouseEvent* event) {
  QPushButton::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) emit pressedWith(event->modifiers());
}

void ModifierButton::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
    emit pressedWith(event->modifiers());
    return;
  }
  QPushButton::keyPressEvent(event);
}

}  // namespace brixo
