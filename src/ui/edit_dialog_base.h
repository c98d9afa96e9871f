#pragma once
// What the three edit dialogs share: a caption, a column of buttons that each run one
// model operation and close, and "Cancel". The dialogs are hidden, not destroyed, when
// they close, so the window keeps them (and the clipboards) for the whole run.
#include <QDialog>
#include <functional>

class QPushButton;
class QVBoxLayout;

namespace brixo {

class EditDialogBase : public QDialog {
  Q_OBJECT
 public:
  EditDialogBase(const QString& caption, const char* name, QWidget* parent);
  // What the next run acts on, after the caption ("Edit Pin 5"); sized to show it whole.
  void SetSubject(const QString& subject);

 protected:
  // Wide enough for the whole title.
  void showEvent(QShowEvent* event) override;
  // A button whose action closes the dialog unless it returns false.
  QPushButton* AddAction(const QString& caption, const char* name, std::function<bool()> action);
  void AddCancel(const char* name);

 private:
  QString caption_;
  QVBoxLayout* buttons_;
};

}  // namespace brixo
