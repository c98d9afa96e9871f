#pragma once
// A label that acts on a click ("Pin", "Aspect", the step numbers) or a double-click (the
// step durations, "Initial Level"). It takes the keyboard focus too: Space, Enter or the
// context-menu key then does what the mouse does, so that no dialog is out of reach
// without a mouse.
#include <QLabel>

namespace brixo {

class ClickableLabel : public QLabel {
  Q_OBJECT
 public:
  // What the keys stand for: a click, or a double-click for a label that acts on those.
  enum class Acts { OnClick, OnDoubleClick };
  explicit ClickableLabel(const QString& text = {}, QWidget* parent = nullptr, Acts acts = Acts::OnClick);

 signals:
  void clicked();
  void doubleClicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void ActFromKeyboard();
  Acts acts_;
};

}  // namespace brixo
