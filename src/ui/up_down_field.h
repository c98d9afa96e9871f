#pragma once
// A typed number field with the commit rules of the window: the text is committed when the
// field is clicked, when it loses focus and on Return; the up/down arrows beside it (and
// the arrow keys inside it) step the stored value. The owner decides what a commit or a
// step means and writes the resulting text back with SetText.
#include <QLineEdit>
#include <QWidget>

#include <algorithm>

class QToolButton;

namespace brixo {

// The value an arrow of a spinner moves to: one up or down, held within the spinner's range.
inline int SpinnerStep(int value, bool up, int min, int max) { return std::clamp(value + (up ? 1 : -1), min, max); }

class CommitLineEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit CommitLineEdit(QWidget* parent = nullptr);

 signals:
  void commitRequested();
  void stepRequested(bool up);

 protected:
  void focusOutEvent(QFocusEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

class UpDownField : public QWidget {
  Q_OBJECT
 public:
  // withSpinner false gives a plain committing field.
  explicit UpDownField(QWidget* parent = nullptr, bool withSpinner = true);

  QString Text() const;
  // Sets the shown text without committing it.
  void SetText(const QString& text);
  CommitLineEdit* Edit() const { return edit_; }
  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }

 signals:
  void committed(const QString& text);
  void stepped(bool up);

 private:
  CommitLineEdit* edit_;
  QToolButton* up_ = nullptr;
  QToolButton* down_ = nullptr;
};

}  // namespace brixo
