#pragma once
// Message boxes for tests: every message is recorded, and the answers come from a script,
// then as a user who agrees would give them (Yes to a question, Discard to "Save changes
// to ...?", OK to anything else).
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "link/user_prompt.h"

namespace brixo::testing {

struct ShownMessage {
  std::string Text;
  MessageIcon Icon;
  MessageButtons Buttons;
};

class RecordingPrompt : public UserPrompt {
 public:
  MessageAnswer ShowMessage(const std::string& text, MessageIcon icon, MessageButtons buttons) override {
    Messages.push_back(text);
    Shown.push_back({text, icon, buttons});
    if (OnMessage) OnMessage(text);
    if (!Answers.empty()) {
      const MessageAnswer answer = Answers.front();
      Answers.pop_front();
      return answer;
    }
    if (buttons == MessageButtons::SaveDiscardCancel) return MessageAnswer::Discard;
    return buttons == MessageButtons::YesNo ? YesNoAnswer : MessageAnswer::Ok;
  }
  std::vector<MessageIcon> Icons() const {
    std::vector<MessageIcon> icons;
    for (const ShownMessage& m : Shown) icons.push_back(m.Icon);
    return icons;
  }
  void Clear() {
    Messages.clear();
    Shown.clear();
  }

  std::vector<std::string> Messages;  // the texts alone, for comparing whole lists
  std::vector<ShownMessage> Shown;
  std::deque<MessageAnswer> Answers;  // used up first, one per message
  // Called while the message is "on screen", to look at what the user sees behind it.
  std::function<void(const std::string&)> OnMessage;
  MessageAnswer YesNoAnswer = MessageAnswer::Yes;
};

}  // namespace brixo::testing
