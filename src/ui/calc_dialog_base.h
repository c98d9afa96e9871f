#pragma once
// What the calculators share: modal, "OK" and "Cancel" at the bottom, hidden rather than
// destroyed when closed. Cancel restores what the caller passed in before closing, so the
// caller reads the result the same way after either button.
#include <QDialog>

class QVBoxLayout;

namespace brixo {

class CalcDialogBase : public QDialog {
  Q_OBJECT
 public:
  CalcDialogBase(const QString& caption, const char* name, QWidget* parent);

 protected:
  QVBoxLayout* Body() const { return body_; }
  virtual void CancelInputs() = 0;

 private:
  QVBoxLayout* body_;
};

}  // namespace brixo
