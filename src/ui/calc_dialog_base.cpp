#include "ui/calc_dialog_base.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/core_text.h"
#include "ui/dialog_title.h"

namespace brixo {

namespace {

QLineEdit* ReadOnlyBox(const char* name) {
  auto* box = new QLineEdit;
  box->setObjectName(name);
  box->setReadOnly(true);
  box->setMaximumWidth(80);
  return box;
}

}  // namespace

CalcDialogBase::CalcDialogBase(const QString& caption, const char* name, QWidget* parent)
    : QDialog(parent), body_(new QVBoxLayout) {
  setObjectName(name);
  setModal(true);
  auto* column = new QVBoxLayout(this);
  column->addLayout(body_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OKButton");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("CancelButton");
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  column->addLayout(buttons);
  setWindowTitle(caption);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CalcDialogBase::reject() {
  CancelInputs();
  QDialog::reject();
}

ResultRows::ResultRows(const char* captionName)
    : Form(new QFormLayout), Parameter(ReadOnlyBox("txtParameter")), Original(ReadOnlyBox("txtOriginal")) {
  auto* caption = new QLabel("Parameter");
  caption->setObjectName(captionName);
  Form->addRow(caption, Parameter);
  Form->addRow("Original", Original);
}

void ResultRows::Show(const std::string& parameter, const std::string& original) const {
  Parameter->setText(ToQt(parameter));
  Original->setText(ToQt(original));
}

void CalcDialogBase::showEvent(QShowEvent* event) {
  FitTitle(*this);
  QDialog::showEvent(event);
}

}  // namespace brixo
