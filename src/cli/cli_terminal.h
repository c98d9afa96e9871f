#pragma once
// What brixo-cli shows on the terminal: the progress line, the message boxes as lines on
// standard error, questions answered by --yes or at the terminal, and the busy and
// progress calls of the transfers.
#include <cstdio>
#include <string>
#include <vector>

#include "app/app_views.h"
#include "link/user_prompt.h"

namespace brixo {

// What one of several lines worked at once says, kept until the line is done, so that its
// output stays together: pieces of standard output and standard error, in order.
struct CapturedOutput {
  struct Piece {
    bool Error = false;  // standard error; otherwise standard output
    std::string Text;
  };
  std::vector<Piece> Pieces;
};

// Standard error, with a progress line kept at its bottom while it is a terminal; or,
// for one of several lines, a capture of both streams.
class StatusLine {
 public:
  explicit StatusLine(bool terminal) : terminal_(terminal) {}
  explicit StatusLine(CapturedOutput& capture) : terminal_(false), capture_(&capture) {}
  ~StatusLine() { Clear(); }
  // Replaces the progress line; nothing when standard error is not a terminal.
  void Show(const std::string& text);
  void Clear();
  // Writes text to standard error below any progress line.
  void Write(const std::string& text);
  // Writes text to standard output.
  void Print(const std::string& text);

 private:
  bool terminal_;
  CapturedOutput* capture_ = nullptr;
  bool showing_ = false;
};

class TerminalPrompt final : public UserPrompt {
 public:
  TerminalPrompt(StatusLine& status, bool assumeYes, bool stdinIsTerminal)
      : status_(status), assumeYes_(assumeYes), stdinIsTerminal_(stdinIsTerminal) {}

  MessageAnswer ShowMessage(const std::string& text, MessageIcon icon, MessageButtons buttons) override;

  // The next question gets its go-on answer without being shown: the command line has
  // asked for what it confirms.
  void AnswerNextQuestion() { answerNext_ = true; }

  // Messages that told of a problem so far (neither information nor a question).
  int Problems() const { return problems_; }
  int Informations() const { return informations_; }
  // A question had to be answered and could not be: no --yes and no terminal.
  bool Refused() const { return refused_; }
  // A question was answered with the answer that stops the operation.
  bool Declined() const { return declined_; }

 private:
  MessageAnswer Ask(const std::string& text, MessageButtons buttons, MessageAnswer goOn, MessageAnswer stop);

  StatusLine& status_;
  bool assumeYes_;
  bool stdinIsTerminal_;
  bool answerNext_ = false;
  int problems_ = 0;
  int informations_ = 0;
  bool refused_ = false;
  bool declined_ = false;
};

// The answer to a question that lets the operation go on: Yes or OK, except where the
// question asks whether to cancel, where Cancel goes on.
MessageAnswer GoOnAnswer(const std::string& question, MessageButtons buttons);

// Progress and busy label on the status line; the report is printed by the command.
class CliObserver final : public AppObserver {
 public:
  explicit CliObserver(StatusLine& status) : status_(status) {}
  void ShowProgress(const std::string& text) override { status_.Show(text); }
  void SetBusy(bool visible) override {
    if (!visible) status_.Clear();
  }

 private:
  StatusLine& status_;
};

// "\r\n" line ends (report, log) as the terminal's "\n".
std::string UnixLines(const std::string& text);

}  // namespace brixo
