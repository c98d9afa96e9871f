#include "ui/clickable_label.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace brixo {

ClickableLabel::ClickableLabel(const QString& text, QWidget* parent, Acts acts) : QLabel(text, parent), acts_(acts) {
  setFocusPolicy(Qt::StrongFocus);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  QLabel::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) emit doubleClicked();
}

void ClickableLabel::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        ActFromKeyboard();
        return;
      }
      break;
    default: break;
  }
  QLabel::keyPressEvent(event);
}

// The context-menu key (and Shift+F10) asks for what the label offers; so does a right click.
void ClickableLabel::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  ActFromKeyboard();
}

void ClickableLabel::ActFromKeyboard() {
  if (acts_ == Acts::OnDoubleClick)
    emit doubleClicked();
  else
    emit clicked();
}

void ClickableLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!hasFocus()) return;
  // A label draws no focus of its own: without this the keyboard user cannot see where it is.
  QStylePainter painter(this);
  QStyleOptionFocusRect option;
  option.initFrom(this);
  option.rect = rect().adjusted(1, 1, -1, -1);
  option.backgroundColor = palette().color(backgroundRole());
  painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

}  // namespace brixo
