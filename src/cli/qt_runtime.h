#pragma once
// QSerialPort watches its device through Qt's event machinery, which needs the
// application object even though brixo-cli never runs an event loop.
#include <memory>

class QCoreApplication;

namespace brixo {

class QtRuntime {
 public:
  QtRuntime();
  ~QtRuntime();
  QtRuntime(const QtRuntime&) = delete;
  QtRuntime& operator=(const QtRuntime&) = delete;

 private:
  // QCoreApplication keeps references to these for its whole life.
  int argc_ = 1;
  char name_[10] = "brixo-cli";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QCoreApplication> app_;  // null when one exists already
};

}  // namespace brixo
