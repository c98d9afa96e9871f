#pragma once
// What the calculators share: modal, "OK" and "Cancel" at the bottom, hidden rather than
// destroyed when closed. Cancel restores what the caller passed in before closing, so the
// caller reads the result the same way after either button; Escape and the title bar's
// close button are Cancel too.
#include <QDialog>
#include <string>

class QFormLayout;
class QLineEdit;
class QVBoxLayout;

namespace brixo {

class CalcDialogBase : public QDialog {
  Q_OBJECT
 public:
  CalcDialogBase(const QString& caption, const char* name, QWidget* parent);

  // Every way of leaving without OK: "Cancel", Escape, the window's close button.
  void reject() override;

 protected:
  // Wide enough for the whole title.
  void showEvent(QShowEvent* event) override;
  QVBoxLayout* Body() const { return body_; }
  virtual void CancelInputs() = 0;

 private:
  QVBoxLayout* body_;
};

// The result rows of the pattern calculators: "Parameter" (txtParameter), what the caller
// takes back, and "Original" (txtOriginal), what it passed in.
struct ResultRows {
  explicit ResultRows(const char* captionName);
  void Show(const std::string& parameter, const std::string& original) const;

  QFormLayout* Form;
  QLineEdit* Parameter;
  QLineEdit* Original;
};

}  // namespace brixo
