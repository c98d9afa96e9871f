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

 protected:
  // A button whose action closes the dialog unless it returns false.
  QPushButton* AddAction(const QString& caption, const char* name, std::function<bool()> action);
  void AddCancel(const char* name);

 private:
  QVBoxLayout* buttons_;
};

}  // namespace brixo
