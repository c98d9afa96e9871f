#include "ui/input_blocker.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace brixo {

InputBlocker::InputBlocker(std::function<void()> stop, QObject* parent) : QObject(parent), stop_(std::move(stop)) {
  QCoreApplication::instance()->installEventFilter(this);
}

InputBlocker::~InputBlocker() { QCoreApplication::instance()->removeEventFilter(this); }

namespace {

constexpr const char* kAcceptsInputWhileBusy = "acceptsInputWhileBusy";
constexpr const char* kAcceptsClicksWhileBusy = "acceptsClicksWhileBusy";

}  // namespace

void InputBlocker::RepaintNow() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void InputBlocker::AcceptInputWhileBusy(QWidget* window) { window->setProperty(kAcceptsInputWhileBusy, true); }

void InputBlocker::AcceptClicksWhileBusy(QWidget* widget) { widget->setProperty(kAcceptsClicksWhileBusy, true); }

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

bool TakesClicks(const QWidget* widget) {
  for (; widget != nullptr; widget = widget->parentWidget()) {
    if (widget->property(kAcceptsClicksWhileBusy).toBool()) return widget->isEnabled() && widget->isVisibleTo(widget->window());
  }
  return false;
}

bool IsMouseEvent(int type) {
  return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
         type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove;
}

// A click on a control that takes clicks while busy, whether addressed to the control or
// to the platform window it lies in.
bool ClickOnUsableControl(QObject* watched, QEvent* event) {
  if (!IsMouseEvent(event->type())) return false;
  if (const auto* widget = qobject_cast<const QWidget*>(watched)) return TakesClicks(widget);
  const QWidget* top = TopLevelOf(watched);
  if (top == nullptr) return false;
  const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
  return TakesClicks(top->childAt(at));
}

bool IsEscape(QEvent* event) {
  return event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
}

}  // namespace

bool InputBlocker::eventFilter(QObject* watched, QEvent* event) {
  if (!IsUserInput(event->type()) || StaysUsable(watched) || ClickOnUsableControl(watched, event)) return false;
  // Escape asks the running operation to stop; like every other key, it goes no further.
  if (stop_ && IsEscape(event) && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) stop_();
  // A close request is refused rather than swallowed, so the window manager knows.
  if (event->type() == QEvent::Close) event->ignore();
  return true;
}

}  // namespace brixo
