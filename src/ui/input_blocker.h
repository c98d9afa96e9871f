#pragma once
// While a deferred command runs the window keeps repainting but takes no input: clicks
// and keys that arrive meanwhile are dropped, not delivered after the command ends, and
// the window cannot be closed under the running operation.
#include <QObject>

namespace brixo {

class InputBlocker : public QObject {
  Q_OBJECT
 public:
  // Installs itself on the application for its lifetime.
  explicit InputBlocker(QObject* parent = nullptr);
  ~InputBlocker() override;

  // Lets paint and other non-input events through; input stays queued until Drain().
  static void RepaintNow();
  // Delivers what was queued during the run into this blocker, which drops the input.
  void Drain();

  static bool IsUserInput(int eventType);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace brixo
