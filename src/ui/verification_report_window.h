#pragma once
// "BrixoConfig - Verification Report": the findings of the last verification, which the
// user can save to a text file or copy.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

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
  // "Copy": the whole report to the clipboard.
  void CopyReport();

 signals:
  // "Save...": the owner asks for a file and writes the report to it.
  void saveRequested();

 private:
  const VerificationReport& report_;
  QPlainTextEdit* text_;
};

}  // namespace brixo
