#include "ui/input_blocker.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace brixo {

InputBlocker::InputBlocker(QObject* parent) : QObject(parent) {
  QCoreApplication::instance()->installEventFilter(this);
}

InputBlocker::~InputBlocker() { QCoreApplication::instance()->removeEventFilter(this); }

void InputBlocker::RepaintNow() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

void InputBlocker::Drain() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

bool InputBlocker::IsUserInput(int eventType) {
  switch (eventType) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::Close:
      return true;
    default:
      return false;
  }
}

namespace {

// A message box or the report that the running operation opened must still be answerable.
bool BelongsToModalDialog(QObject* watched) {
  const QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr) return false;
  if (const auto* widget = qobject_cast<const QWidget*>(watched)) return widget->window() == modal;
  if (const auto* window = qobject_cast<const QWindow*>(watched)) return window == modal->windowHandle();
  return false;
}

}  // namespace

bool InputBlocker::eventFilter(QObject* watched, QEvent* event) {
  if (!IsUserInput(event->type()) || BelongsToModalDialog(watched)) return false;
  // A close request is refused rather than swallowed, so the window manager knows.
  if (event->type() == QEvent::Close) event->ignore();
  return true;
}

}  // namespace brixo
