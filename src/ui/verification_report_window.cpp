#include "ui/verification_report_window.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "transfer/verification_report.h"
#include "ui/core_text.h"

namespace brixo {

VerificationReportWindow::VerificationReportWindow(const VerificationReport& report, QWidget* parent)
    : QDialog(parent), report_(report), text_(new QPlainTextEdit(this)) {
  setObjectName("frmBrixoVerification");
  setWindowTitle("BrixoConfig - Verification Report");
  text_->setObjectName("txtVerification");
  text_->setReadOnly(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* save = buttons->addButton("Save...", QDialogButtonBox::ActionRole);
  save->setObjectName("cmdSaveReport");
  QPushButton* copy = buttons->addButton("Copy", QDialogButtonBox::ActionRole);
  copy->setObjectName("cmdCopyReport");
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(save, &QPushButton::clicked, this, &VerificationReportWindow::saveRequested);
  connect(copy, &QPushButton::clicked, this, &VerificationReportWindow::CopyReport);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_, 1);
  layout->addWidget(buttons);
  resize(620, 400);
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

void VerificationReportWindow::CopyReport() { QApplication::clipboard()->setText(text_->toPlainText()); }

}  // namespace brixo
