#pragma once
// While a deferred command runs the window keeps repainting but takes no input: clicks
// and keys that arrive meanwhile are dropped, not delivered after the command ends, and
// the window cannot be closed under the running operation. Message boxes the operation
// opens, and windows marked to accept input while busy (the communication monitor), stay
// usable; so does the "Stop" button, and Escape asks the running operation to stop.
#include <QObject>
#include <functional>

class QWidget;

namespace brixo {

class InputBlocker : public QObject {
  Q_OBJECT
 public:
  // Installs itself on the application for its lifetime. `stop` is called for Escape
  // pressed in a window that takes no input meanwhile.
  explicit InputBlocker(std::function<void()> stop = {}, QObject* parent = nullptr);
  ~InputBlocker() override;

  // Handles what has arrived: paints, and the input of windows that accept it while
  // busy; the input of every other window is dropped.
  static void RepaintNow();
  // Handles what is still queued at the end of the run, dropping the input.
  void Drain();
  // The window `window` (a top-level widget) stays usable while a command runs.
  static void AcceptInputWhileBusy(QWidget* window);
  // The control `widget` (the "Stop" button) stays usable while a command runs.
  static void AcceptClicksWhileBusy(QWidget* widget);

  static bool IsUserInput(int eventType);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void()> stop_;
};

}  // namespace brixo
