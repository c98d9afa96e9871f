#include "cli/cli_terminal.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <utility>

namespace brixo {

namespace {

const char* ButtonsText(MessageButtons buttons) {
  return buttons == MessageButtons::YesNo ? "[Yes/No]" : "[OK/Cancel]";
}

const char* AnswerText(MessageAnswer answer) {
  switch (answer) {
    case MessageAnswer::Ok: return "OK";
    case MessageAnswer::Cancel: return "Cancel";
    case MessageAnswer::Yes: return "Yes";
    case MessageAnswer::No: return "No";
    case MessageAnswer::Save: return "Save";
    case MessageAnswer::Discard: return "Discard";
    case MessageAnswer::Dismissed: return "Dismissed";
  }
  return "";
}

std::string Lowered(std::string text) {
  text.erase(std::remove_if(text.begin(), text.end(), [](unsigned char c) { return std::isspace(c); }), text.end());
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// The answer typed for a question with the buttons given; false for anything else.
bool TypedAnswer(const std::string& line, MessageButtons buttons, MessageAnswer& answer) {
  const std::string word = Lowered(line);
  if (buttons == MessageButtons::YesNo) {
    if (word == "y" || word == "yes") answer = MessageAnswer::Yes;
    else if (word == "n" || word == "no") answer = MessageAnswer::No;
    else return false;
  } else {
    if (word == "o" || word == "ok") answer = MessageAnswer::Ok;
    else if (word == "c" || word == "cancel") answer = MessageAnswer::Cancel;
    else return false;
  }
  return true;
}

}  // namespace

void StatusLine::Show(const std::string& text) {
  if (!terminal_) return;
  std::fprintf(stderr, "\r%s\x1b[K", text.c_str());
  std::fflush(stderr);
  showing_ = true;
}

void StatusLine::Clear() {
  if (!showing_) return;
  std::fputs("\r\x1b[K", stderr);
  std::fflush(stderr);
  showing_ = false;
}

void StatusLine::Write(const std::string& text) {
  if (capture_ != nullptr) {
    capture_->Pieces.push_back({true, text});
    return;
  }
  Clear();
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

void StatusLine::Print(const std::string& text) {
  if (capture_ != nullptr) {
    capture_->Pieces.push_back({false, text});
    return;
  }
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

MessageAnswer GoOnAnswer(const std::string& question, MessageButtons buttons) {
  if (buttons == MessageButtons::YesNo) return MessageAnswer::Yes;
  // "Do you want to cancel this operation?": OK means yes, cancel.
  if (question.find("cancel this operation?") != std::string::npos) return MessageAnswer::Cancel;
  return MessageAnswer::Ok;
}

MessageAnswer TerminalPrompt::ShowMessage(const std::string& text, MessageIcon icon, MessageButtons buttons) {
  if (buttons == MessageButtons::Ok) {
    status_.Write(text + "\n");
    if (icon == MessageIcon::Information)
      ++informations_;
    else
      ++problems_;
    return MessageAnswer::Ok;
  }
  const MessageAnswer goOn = GoOnAnswer(text, buttons);
  const MessageAnswer stop = buttons == MessageButtons::YesNo ? MessageAnswer::No
                             : goOn == MessageAnswer::Ok      ? MessageAnswer::Cancel
                                                              : MessageAnswer::Ok;
  if (std::exchange(answerNext_, false)) return goOn;
  const MessageAnswer answer = Ask(text, buttons, goOn, stop);
  if (answer == stop) declined_ = true;
  return answer;
}

MessageAnswer TerminalPrompt::Ask(const std::string& text, MessageButtons buttons, MessageAnswer goOn,
                                  MessageAnswer stop) {
  status_.Write(text + "\n" + ButtonsText(buttons) + " ");
  if (assumeYes_) {
    status_.Write(std::string(AnswerText(goOn)) + " (--yes)\n");
    return goOn;
  }
  if (!stdinIsTerminal_) {
    status_.Write("\nNo terminal to answer on: use --yes to go ahead.\n");
    refused_ = true;
    return stop;
  }
  for (std::string line; std::getline(std::cin, line);) {
    MessageAnswer answer;
    if (TypedAnswer(line, buttons, answer)) return answer;
    status_.Write(std::string(ButtonsText(buttons)) + " ");
  }
  status_.Write("\n");
  return stop;
}

std::string UnixLines(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

}  // namespace brixo
