#pragma once
// Where the main window goes: all of it, frame and title bar included, on the screen's
// available area (the screen without its panels), so that the status bar with the
// progress, "Stop" and the last result never lies below the screen's edge.
#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace brixo {

// A window manager's frame before the window is shown and its own frame known: a title bar
// and thin borders, on the generous side.
inline constexpr QMargins kAssumedFrame{6, 36, 6, 6};

// The client geometry of a window that wants `client` with a frame of `frame` on
// `available`: as large as wanted but no larger than fits with its frame (not shrunk below
// `minimum`), moved as little as needed to lie wholly on the area.
QRect FittedGeometry(const QRect& client, const QMargins& frame, const QRect& available, const QSize& minimum);

// The first window: `preferred` or less, centred on its screen.
void PlaceFirstWindow(QWidget& window, QSize preferred);

// A window whose geometry was restored (from another screen, or a larger one) fits now
// with the frame assumed; either way it fits again, once, when the window manager has
// framed it and the real frame is known. A maximised window is left alone.
void KeepOnScreen(QWidget& window);

}  // namespace brixo
