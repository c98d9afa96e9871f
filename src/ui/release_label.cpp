#include "ui/release_label.h"

#include <QMouseEvent>

namespace brixo {

void ReleaseLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    emit rightPressed();
    return;
  }
  QLabel::mousePressEvent(event);
}

void ReleaseLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    emit doubleClicked();
    return;
  }
  QLabel::mouseDoubleClickEvent(event);
}

}  // namespace brixo
