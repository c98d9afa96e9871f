#pragma once
// "Save File": a plain left click saves normally, Shift + left click saves compact, and any
// other button or modifier combination does nothing.
#include <QPushButton>
#include <optional>

namespace brixo {

enum class SaveMode { Normal, Compact };

// What a press with this button and these modifiers asks for; nothing for other presses.
std::optional<SaveMode> SaveModeFor(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

class SaveButton : public QPushButton {
  Q_OBJECT
 public:
  explicit SaveButton(const QString& caption, QWidget* parent = nullptr);

 signals:
  void saveRequested(brixo::SaveMode mode);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The press decides; the save runs on release so the button is not left looking pressed
  // behind the file dialog.
  std::optional<SaveMode> pressed_;
};

}  // namespace brixo
