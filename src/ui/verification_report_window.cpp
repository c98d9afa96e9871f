#include "ui/verification_report_window.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "transfer/verification_report.h"
#include "ui/latin1_text.h"

namespace brixo {

VerificationReportWindow::VerificationReportWindow(const VerificationReport& report, QWidget* parent)
    : QDialog(parent), report_(report), text_(new QPlainTextEdit(this)) {
  setObjectName("frmBrixoVerification");
  setWindowTitle("BrixoConfig - Verification Report");
  text_->setObjectName("txtVerification");
  text_->setReadOnly(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_, 1);
  layout->addWidget(buttons);
  resize(520, 380);
}

void VerificationReportWindow::Reload() {
  QString text = ToQt(report_.Text);
  text.remove('\r');
  text_->setPlainText(text);
}

void VerificationReportWindow::ShowModal() {
  Reload();
  exec();
}

}  // namespace brixo
