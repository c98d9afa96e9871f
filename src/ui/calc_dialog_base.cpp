#include "ui/calc_dialog_base.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace brixo {

CalcDialogBase::CalcDialogBase(const QString& caption, const char* name, QWidget* parent)
    : QDialog(parent), body_(new QVBoxLayout) {
  setObjectName(name);
  setWindowTitle(caption);
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
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, [this] {
    CancelInputs();
    reject();
  });
}

}  // namespace brixo
