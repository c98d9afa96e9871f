#pragma once
// "BrixoConfig - Verification Report": the findings of the last verification.
#include <QDialog>

class QPlainTextEdit;

namespace brixo {

struct VerificationReport;

class VerificationReportWindow : public QDialog {
  Q_OBJECT
 public:
  VerificationReportWindow(const VerificationReport& report, QWidget* parent = nullptr);

  QPlainTextEdit* txtVerification() const { return text_; }

  // Takes the report's current text.
  void Reload();
  // Reloads and shows the window modally, owned by its parent.
  void ShowModal();

 private:
  const VerificationReport& report_;
  QPlainTextEdit* text_;
};

}  // namespace brixo
