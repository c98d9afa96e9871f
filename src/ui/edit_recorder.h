#pragma once
// Tells the window when a user action has ended, so that what it changed becomes one undo
// step: after a click, a wheel turn, a box losing the focus, or a key that ends an entry
// (Return, Tab, the arrows, Space outside a text box). Typing inside a box is no action of
// its own; the step is taken when the entry ends, so that an undo takes the entry whole. The notice comes from the event loop, after the action's
// own handlers have run. It also lets Ctrl+Z reach the window's Undo from a text box that
// has no typing of its own to undo.
#include <QObject>
#include <functional>

namespace brixo {

class EditRecorder : public QObject {
  Q_OBJECT
 public:
  // Installs itself on the application for its lifetime.
  EditRecorder(std::function<void()> actionEnded, QObject* parent);
  ~EditRecorder() override;

  static bool EndsAction(const QEvent& event);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void()> actionEnded_;
  bool scheduled_ = false;
};

}  // namespace brixo
