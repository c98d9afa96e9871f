#include "ui/close_on_escape.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace brixo {

void CloseOnEscape(QWidget& window) {
  auto* shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
  shortcut->setObjectName("EscapeCloses");
  QObject::connect(shortcut, &QShortcut::activated, &window, &QWidget::close);
}

}  // namespace brixo
