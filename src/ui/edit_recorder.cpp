#include "ui/edit_recorder.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace brixo {

EditRecorder::EditRecorder(std::function<void()> actionEnded, QObject* parent)
    : QObject(parent), actionEnded_(std::move(actionEnded)) {
  QCoreApplication::instance()->installEventFilter(this);
}

EditRecorder::~EditRecorder() { QCoreApplication::instance()->removeEventFilter(this); }

bool EditRecorder::EndsAction(const QEvent& event) {
  switch (event.type()) {
    case QEvent::MouseButtonRelease:
    case QEvent::Wheel:
    case QEvent::FocusOut:
      return true;
    case QEvent::KeyRelease:
      switch (static_cast<const QKeyEvent&>(event).key()) {
        case Qt::Key_Space: {
          // Presses a check box or a button; in a text box it is typing, and an entry of
          // several words is one step ("North Yard", not "North " and then the rest).
          const auto* box = qobject_cast<const QLineEdit*>(QApplication::focusWidget());
          return box == nullptr || box->isReadOnly();
        }
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Escape:
          return true;
        default:
          return false;
      }
    default:
      return false;
  }
}

bool EditRecorder::eventFilter(QObject* watched, QEvent* event) {
  // A text box claims Ctrl+Z and Ctrl+Shift+Z for its own typing; with none of its own to
  // undo or redo, the keys go on to the window's Undo and Redo.
  if (event->type() == QEvent::ShortcutOverride) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (box != nullptr && ((key->matches(QKeySequence::Undo) && !box->isUndoAvailable()) ||
                           (key->matches(QKeySequence::Redo) && !box->isRedoAvailable()))) {
      event->ignore();
      return true;
    }
  }
  // One notice for all the events of an action (a release reaches every widget under the
  // pointer that passes it on).
  if (!scheduled_ && EndsAction(*event)) {
    scheduled_ = true;
    QTimer::singleShot(0, this, [this] {
      scheduled_ = false;
      actionEnded_();
    });
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace brixo
