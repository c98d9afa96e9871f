#include "ui/qt_user_prompt.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QMessageBox>

#include "ui/core_text.h"

namespace brixo {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Error:
      return QMessageBox::Critical;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons BoxButtons(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::SaveDiscardCancel:
      return QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
    case MessageButtons::Ok:
      break;
  }
  return QMessageBox::Ok;
}

}  // namespace

MessageAnswer QtUserPrompt::ShowMessage(const std::string& text, MessageIcon icon, MessageButtons buttons) {
  QMessageBox box(BoxIcon(icon), title_, ToQt(text), BoxButtons(buttons), parent_);
  // The first button is the default, as the user expects from these dialogs.
  if (buttons == MessageButtons::OkCancel) box.setDefaultButton(QMessageBox::Ok);
  if (buttons == MessageButtons::YesNo) box.setDefaultButton(QMessageBox::Yes);
  if (buttons == MessageButtons::SaveDiscardCancel) box.setDefaultButton(QMessageBox::Save);
  // Escape would otherwise press Cancel, and in some questions Cancel is the answer that
  // goes ahead (the erase asks "Do you want to cancel this operation?"): a box closed
  // without a choice says so instead.
  QAbstractButton* dismiss = nullptr;
  if (buttons == MessageButtons::OkCancel) {
    dismiss = box.addButton(QMessageBox::Close);
    dismiss->hide();
    box.setEscapeButton(dismiss);
  }
  box.exec();
  if (dismiss != nullptr && box.clickedButton() == dismiss) return MessageAnswer::Dismissed;
  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
      return MessageAnswer::Ok;
    case QMessageBox::Cancel:
      return MessageAnswer::Cancel;
    case QMessageBox::Yes:
      return MessageAnswer::Yes;
    case QMessageBox::No:
      return MessageAnswer::No;
    case QMessageBox::Save:
      return MessageAnswer::Save;
    case QMessageBox::Discard:
      return MessageAnswer::Discard;
    default:
      // Closed without a choice: the cautious answer.
      break;
  }
  switch (buttons) {
    case MessageButtons::OkCancel:
      return MessageAnswer::Dismissed;
    case MessageButtons::YesNo:
      return MessageAnswer::No;
    case MessageButtons::SaveDiscardCancel:
      return MessageAnswer::Cancel;
    case MessageButtons::Ok:
      break;
  }
  return MessageAnswer::Ok;
}

}  // namespace brixo
