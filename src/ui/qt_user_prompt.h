#pragma once
// Message boxes of the window: the core's questions and notices as QMessageBox.
#include <QString>

#include "link/user_prompt.h"

class QWidget;

namespace brixo {

class QtUserPrompt final : public UserPrompt {
 public:
  explicit QtUserPrompt(QWidget* parent = nullptr, QString title = "Brixo Config")
      : parent_(parent), title_(std::move(title)) {}

  void SetParent(QWidget* parent) { parent_ = parent; }

  MessageAnswer ShowMessage(const std::string& text, MessageIcon icon = MessageIcon::None,
                            MessageButtons buttons = MessageButtons::Ok) override;

 private:
  QWidget* parent_;
  QString title_;
};

}  // namespace brixo
