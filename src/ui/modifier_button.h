#pragma once
// A button that acts when the left mouse button goes down and tells which modifier keys
// were held ("Test" with Shift / Control / Alt, "Reload DD" with Shift). Space on a
// focused button counts as a press with the keys held then.
#include <QPushButton>

namespace brixo {

class ModifierButton : public QPushButton {
  Q_OBJECT
 public:
  explicit ModifierButton(const QString& text, QWidget* parent = nullptr);

 signals:
  void pressedWith(Qt::KeyboardModifiers modifiers);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace brixo
