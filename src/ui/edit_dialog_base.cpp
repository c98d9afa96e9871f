#include "ui/edit_dialog_base.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace brixo {

EditDialogBase::EditDialogBase(const QString& caption, const char* name, QWidget* parent)
    : QDialog(parent), buttons_(new QVBoxLayout(this)) {
  setObjectName(name);
  setWindowTitle(caption);
  setModal(true);
  buttons_->setSpacing(6);
}

QPushButton* EditDialogBase::AddAction(const QString& caption, const char* name, std::function<bool()> action) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(name);
  button->setAutoDefault(false);
  buttons_->addWidget(button);
  connect(button, &QPushButton::clicked, this, [this, action = std::move(action)] {
    if (action()) accept();
  });
  return button;
}

void EditDialogBase::AddCancel(const char* name) {
  buttons_->addSpacing(8);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName(name);
  cancel->setAutoDefault(false);
  buttons_->addWidget(cancel);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

}  // namespace brixo
