#include "cli/qt_runtime.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace brixo {

QtRuntime::QtRuntime(bool painting) {
  if (QCoreApplication::instance() != nullptr) return;
  if (!painting) {
    app_ = std::make_unique<QCoreApplication>(argc_, argv_);
    return;
  }
  // The command line's platform wins over QT_QPA_PLATFORM: a desktop's setting must not
  // make a PDF need a display.
  argv_[1] = platformOption_;
  argv_[2] = platform_;
  argc_ = 3;
  app_ = std::make_unique<QGuiApplication>(argc_, argv_);
}

QtRuntime::~QtRuntime() = default;

}  // namespace brixo
