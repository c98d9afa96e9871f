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

namespace {

constexpr const char* kAcceptsInputWhileBusy = "acceptsInputWhileBusy";

}  // namespace

void InputBlocker::RepaintNow() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void InputBlocker::AcceptInputWhileBusy(QWidget* window) { window->setProperty(kAcceptsInputWhileBusy, true); }

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

// The top-level widget an event goes to, whether it is addressed to a widget or to the
// platform window behind it.
const QWidget* TopLevelOf(QObject* watched) {
  if (const auto* widget = qobject_cast<const QWidget*>(watched)) return widget->window();
  if (const auto* window = qobject_cast<const QWindow*>(watched)) {
    for (const QWidget* top : QApplication::topLevelWidgets()) {
      if (top->windowHandle() == window) return top;
    }
  }
  return nullptr;
}

// A message box or the report that the running operation opened must still be answerable;
// the monitor must still scroll.
bool StaysUsable(QObject* watched) {
  const QWidget* top = TopLevelOf(watched);
  if (top == nullptr) return false;
  return top == QApplication::activeModalWidget() || top->property(kAcceptsInputWhileBusy).toBool();
}

}  // namespace

bool InputBlocker::eventFilter(QObject* watched, QEvent* event) {
  if (!IsUserInput(event->type()) || StaysUsable(watched)) return false;
  // A close request is refused rather than swallowed, so the window manager knows.
  if (event->type() == QEvent::Close) event->ignore();
  return true;
}

}  // namespace brixo
