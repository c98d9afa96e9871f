#include "ui/up_down_field.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace brixo {

CommitLineEdit::CommitLineEdit(QWidget* parent) : QLineEdit(parent) {
  connect(this, &QLineEdit::returnPressed, this, &CommitLineEdit::commitRequested);
}

void CommitLineEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  emit commitRequested();
}

void CommitLineEdit::mouseReleaseEvent(QMouseEvent* event) {
  QLineEdit::mouseReleaseEvent(event);
  emit commitRequested();
}

void CommitLineEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
    emit stepRequested(event->key() == Qt::Key_Up);
    return;
  }
  QLineEdit::keyPressEvent(event);
}

UpDownField::UpDownField(QWidget* parent, bool withSpinner) : QWidget(parent), edit_(new CommitLineEdit(this)) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(1);
  row->addWidget(edit_, 1);
  connect(edit_, &CommitLineEdit::commitRequested, this, [this] { emit committed(edit_->text()); });
  if (!withSpinner) return;

  connect(edit_, &CommitLineEdit::stepRequested, this, &UpDownField::stepped);
  auto* arrows = new QVBoxLayout;
  arrows->setContentsMargins(0, 0, 0, 0);
  arrows->setSpacing(0);
  up_ = new QToolButton(this);
  down_ = new QToolButton(this);
  for (QToolButton* button : {up_, down_}) {
    button->setArrowType(button == up_ ? Qt::UpArrow : Qt::DownArrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    button->setFixedWidth(edit_->sizeHint().height() * 3 / 4);
    arrows->addWidget(button);
  }
  row->addLayout(arrows);
  connect(up_, &QToolButton::clicked, this, [this] { emit stepped(true); });
  connect(down_, &QToolButton::clicked, this, [this] { emit stepped(false); });
}

QString UpDownField::Text() const { return edit_->text(); }

void UpDownField::SetText(const QString& text) {
  if (edit_->text() != text) edit_->setText(text);
}

}  // namespace brixo
