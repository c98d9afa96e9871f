#pragma once
// While a deferred command runs the window keeps repainting but takes no input: clicks
// and keys that arrive meanwhile are dropped, not delivered after the command ends, and
// the window cannot be closed under the running operation. Message boxes the operation
// opens, and windows marked to accept input while busy (the communication monitor), stay
// usable.
#include <QObject>

class QWidget;

namespace brixo {

class InputBlocker : public QObject {
  Q_OBJECT
 public:
  // Installs itself on the application for its lifetime.
  explicit InputBlocker(QObject* parent = nullptr);
  ~InputBlocker() override;

  // Handles what has arrived: paints, and the input of windows that accept it while
  // busy; the input of every other window is dropped.
  static void RepaintNow();
  // Handles what is still queued at the end of the run, dropping the input.
  void Drain();
  // The window `window` (a top-level widget) stays usable while a command runs.
  static void AcceptInputWhileBusy(QWidget* window);

  static bool IsUserInput(int eventType);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace brixo
