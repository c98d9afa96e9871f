#include "ui/focus_slider.h"

namespace brixo {

FocusSlider::FocusSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) { setFocusPolicy(Qt::StrongFocus); }

void FocusSlider::focusInEvent(QFocusEvent* event) {
  QSlider::focusInEvent(event);
  emit focusChanged(true);
}

void FocusSlider::focusOutEvent(QFocusEvent* event) {
  QSlider::focusOutEvent(event);
  emit focusChanged(false);
}

}  // namespace brixo
