#include "cli/qt_runtime.h"

#include <QCoreApplication>

namespace brixo {

QtRuntime::QtRuntime() {
  if (QCoreApplication::instance() == nullptr) app_ = std::make_unique<QCoreApplication>(argc_, argv_);
}

QtRuntime::~QtRuntime() = default;

}  // namespace brixo
