#pragma once
// QSerialPort watches its device through Qt's event machinery, which needs the
// application object even though brixo-cli never runs an event loop. Painting pages (a
// PDF) needs fonts, which need the GUI application object: it then draws off screen, so
// that no display is needed.
#include <memory>

class QCoreApplication;

namespace brixo {

class QtRuntime {
 public:
  explicit QtRuntime(bool painting = false);
  ~QtRuntime();
  QtRuntime(const QtRuntime&) = delete;
  QtRuntime& operator=(const QtRuntime&) = delete;

 private:
  // QCoreApplication keeps references to these for its whole life.
  int argc_ = 1;
  char name_[10] = "brixo-cli";
  char platformOption_[10] = "-platform";
  char platform_[10] = "offscreen";
  char* argv_[4] = {name_, nullptr, nullptr, nullptr};
  std::unique_ptr<QCoreApplication> app_;  // null when one exists already
};

}  // namespace brixo
