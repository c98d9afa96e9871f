#pragma once
// A typed number field with the commit rules of the window: the text is committed when the
// field is clicked, when it loses focus and on Return; the up/down arrows beside it (and
// the arrow keys inside it) step the stored value, after committing what was typed. The
// owner decides what a commit or a step means and writes the resulting text back with
// SetText. A committed text that is no number is refused by the owner's rules (the field
// shows its old value again); the field then shows a short note why.
#include <QLineEdit>
#include <QWidget>

#include <algorithm>

class QToolButton;

namespace brixo {

// The value an arrow of a spinner moves to: one up or down, held within the spinner's range.
inline int SpinnerStep(int value, bool up, int min, int max) { return std::clamp(value + (up ? 1 : -1), min, max); }

// Tells the user, beside `box` and in the main window's status bar, that `typed` was not a
// number and the box went back to `kept`.
void ShowRefusedNumber(QWidget* box, const QString& typed, const QString& kept);

class CommitLineEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit CommitLineEdit(QWidget* parent = nullptr);

  // Commits the text as a click, a loss of focus or Return does.
  void Commit();

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
  // Commits what was typed, as a click, a loss of focus or Return does.
  void Commit() { edit_->Commit(); }
  // The text the owner set last: the field's value before anything was typed.
  QString ShownText() const { return shown_; }
  CommitLineEdit* Edit() const { return edit_; }
  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }

 signals:
  void committed(const QString& text);
  void stepped(bool up);

 private:
  void Step(bool up);

  CommitLineEdit* edit_;
  QString shown_;
  QToolButton* up_ = nullptr;
  QToolButton* down_ = nullptr;
};

}  // namespace brixo
