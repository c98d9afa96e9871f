#pragma once
// A button whose press tells which mouse button went down and which modifier keys were held
// ("Test", "Reload DD", "Save File"). Space on the focused button counts as a left press
// with the keys held then.
#include <QPushButton>
#include <optional>

namespace brixo {

class ModifierButton : public QPushButton {
  Q_OBJECT
 public:
  explicit ModifierButton(const QString& text, QWidget* parent = nullptr);

 signals:
  // As the button goes down.
  void pressedWith(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
  // When that press completes a click, with what the press saw. Work that opens a dialog
  // waits for this, so the button is not left looking pressed behind the dialog.
  void clickedWith(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct Press {
    Qt::MouseButton button;
    Qt::KeyboardModifiers modifiers;
  };
  void Pressed(Press press);

  std::optional<Press> press_;
};

}  // namespace brixo
