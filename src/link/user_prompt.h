#pragma once
// Message boxes and questions. The window answers with QMessageBox, the CLI on the
// terminal, the tests with scripted answers.
#include <string>

namespace brixo {

enum class MessageIcon { None, Information, Warning, Error, Question };
// SaveDiscardCancel: the question before unsaved edits would be lost.
enum class MessageButtons { Ok, OkCancel, YesNo, SaveDiscardCancel };
// Dismissed: closed without choosing (Escape, the title bar). Callers go ahead only on the
// answer they name, so a dismissed question never starts anything.
enum class MessageAnswer { Ok, Cancel, Yes, No, Save, Discard, Dismissed };

class UserPrompt {
 public:
  virtual ~UserPrompt() = default;
  // Shows text (line breaks as "\n") and returns the button pressed.
  virtual MessageAnswer ShowMessage(const std::string& text, MessageIcon icon = MessageIcon::None,
                                    MessageButtons buttons = MessageButtons::Ok) = 0;
};

}  // namespace brixo
