#include "ui/window_placement.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace brixo {

namespace {

QRect AvailableArea(const QWidget& window) {
  const QScreen* screen = window.screen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

QMargins FrameOf(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QRect client = window.geometry();
  return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
          frame.bottom() - client.bottom()};
}

void Fit(QWidget& window, const QMargins& frame) {
  const QRect available = AvailableArea(window);
  if (available.isEmpty() || window.isMaximized() || window.isFullScreen()) return;
  const QRect fitted = FittedGeometry(window.geometry(), frame, available, window.minimumSizeHint());
  if (fitted != window.geometry()) window.setGeometry(fitted);
}

// Fits the window once the window manager has put its frame around it.
class FitWhenFramed : public QObject {
 public:
  explicit FitWhenFramed(QWidget& window) : QObject(&window), window_(window) {
    setObjectName(kName);
    window.installEventFilter(this);
  }
  static constexpr const char* kName = "FitWhenFramed";
  static void Watch(QWidget& window) {
    if (window.findChild<QObject*>(kName, Qt::FindDirectChildrenOnly) == nullptr) new FitWhenFramed(window);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (watched == &window_ && (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show)) {
      const QMargins frame = FrameOf(window_);
      if (!frame.isNull() && window_.isVisible()) {
        window_.removeEventFilter(this);
        setObjectName(QString());
        deleteLater();
        Fit(window_, frame);
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget& window_;
};

}  // namespace

QRect FittedGeometry(const QRect& client, const QMargins& frame, const QRect& available, const QSize& minimum) {
  const QSize room = available.size().shrunkBy(frame);
  const QSize size = client.size().boundedTo(room).expandedTo(minimum.boundedTo(client.size()));
  const QSize outer = size.grownBy(frame);
  QPoint corner = client.topLeft() - QPoint(frame.left(), frame.top());
  corner.setX(std::clamp(corner.x(), available.left(), std::max(available.left(), available.right() + 1 - outer.width())));
  corner.setY(std::clamp(corner.y(), available.top(), std::max(available.top(), available.bottom() + 1 - outer.height())));
  return {corner + QPoint(frame.left(), frame.top()), size};
}

void PlaceFirstWindow(QWidget& window, QSize preferred) {
  const QRect available = AvailableArea(window);
  QRect wanted(QPoint(), preferred);
  if (!available.isEmpty()) {
    wanted.moveCenter(available.center());
    wanted = FittedGeometry(wanted, kAssumedFrame, available, window.minimumSizeHint());
  }
  window.setGeometry(wanted);
  FitWhenFramed::Watch(window);
}

void KeepOnScreen(QWidget& window) {
  Fit(window, kAssumedFrame);
  FitWhenFramed::Watch(window);
}

}  // namespace brixo
