#include "ui/up_down_field.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QToolButton>
#include <QStatusTipEvent>
#include <QToolTip>
#include <QVBoxLayout>

#include "link/numeric_text.h"
#include "ui/core_text.h"

namespace brixo {

void ShowRefusedNumber(QWidget* box, const QString& typed, const QString& kept) {
  const QString note = ToQt(RefusedNumberNote(FromQt(typed), FromQt(kept)));
  QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())), note, box, QRect(), 5000);
  // Travels up to the main window, which shows it in its status bar.
  QStatusTipEvent tip(note);
  QCoreApplication::sendEvent(box, &tip);
}

CommitLineEdit::CommitLineEdit(QWidget* parent) : QLineEdit(parent) {
  connect(this, &QLineEdit::returnPressed, this, &CommitLineEdit::Commit);
}

void CommitLineEdit::Commit() {
  const bool typed = isModified();
  const QString text = this->text();
  setModified(false);
  emit commitRequested();
  // The owner's rules refused what was typed and put the old value back.
  if (typed && !IsNumericText(FromQt(text))) ShowRefusedNumber(this, text, this->text());
}

void CommitLineEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  Commit();
}

void CommitLineEdit::mouseReleaseEvent(QMouseEvent* event) {
  QLineEdit::mouseReleaseEvent(event);
  Commit();
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

  connect(edit_, &CommitLineEdit::stepRequested, this, &UpDownField::Step);
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
  connect(up_, &QToolButton::clicked, this, [this] { Step(true); });
  connect(down_, &QToolButton::clicked, this, [this] { Step(false); });
}

void UpDownField::Step(bool up) {
  // An arrow steps from the typed value, not from the one it replaced.
  if (edit_->isModified()) edit_->Commit();
  emit stepped(up);
}

QString UpDownField::Text() const { return edit_->text(); }

void UpDownField::SetText(const QString& text) {
  shown_ = text;
  if (edit_->text() != text) edit_->setText(text);
}

}  // namespace brixo
