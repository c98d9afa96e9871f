#pragma once
#include <string>
#include <vector>

#include "link/user_prompt.h"

namespace brixo {

// Remembers every message and answers OK.
class RecordingPrompt : public UserPrompt {
 public:
  MessageAnswer ShowMessage(const std::string& text, MessageIcon, MessageButtons) override {
    Messages.push_back(text);
    return MessageAnswer::Ok;
  }
  std::vector<std::string> Messages;
};

}  // namespace brixo
