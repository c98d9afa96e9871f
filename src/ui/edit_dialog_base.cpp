#include "ui/edit_dialog_base.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialog_title.h"

namespace brixo {

EditDialogBase::EditDialogBase(const QString& caption, const char* name, QWidget* parent)
    : QDialog(parent), caption_(caption), buttons_(new QVBoxLayout(this)) {
  setObjectName(name);
  setModal(true);
  buttons_->setSpacing(6);
  setWindowTitle(caption);
}

void EditDialogBase::SetSubject(const QString& subject) { setWindowTitle(caption_ + " " + subject); }

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

void EditDialogBase::showEvent(QShowEvent* event) {
  FitTitle(*this);
  QDialog::showEvent(event);
}

}  // namespace brixo
