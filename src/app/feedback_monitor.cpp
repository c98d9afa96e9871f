#include "app/feedback_monitor.h"

namespace brixo {

namespace {
constexpr int kFeedbackValues = 4;
constexpr const char* kStoppedLine = "Monitoring Stopped";
}

std::string FeedbackLine(const BrixoLink& link) {
  if (!link.ReplyValid || link.ReplyLength() != kFeedbackValues) return {};
  std::string line;
  for (int i = 0; i < kFeedbackValues; ++i) line += "<" + std::to_string(link.R(i)) + "> ";
  return line;
}

void FeedbackMonitor::Append(const std::string& line) {
  const std::string piece = line + "\n";
  text_.Append(piece);
  if (onAppend) onAppend(piece);
}

bool FeedbackMonitor::Monitor() {
  if (!link_.PortOpen()) {
    link_.Prompt().ShowMessage("Select Comm-port");
    return false;
  }
  if (!running_) Append("Start Monitoring");
  running_ = true;
  halted_ = false;
  return true;
}

void FeedbackMonitor::Stop() {
  const bool closed = halted_ && !running_;
  running_ = false;
  halted_ = false;
  if (!closed) Append(kStoppedLine);
}

void FeedbackMonitor::Halt() {
  // The fault's message box takes the focus from "Monitor", which may have stopped the
  // monitor already, closing line and all.
  if (!running_) return;
  running_ = false;
  halted_ = true;
  Append(kStoppedLine);
}

bool FeedbackMonitor::Tick() {
  if (!running_) return false;
  if (!link_.PortOpen()) {
    // Closed since the last tick: a device that went away says so once; a port the user
    // closed needs no message.
    link_.ReportPortFault();
    Halt();
    return false;
  }
  // Through an interface unit the controller's answer comes with a later poll, so the
  // poll waits for it; on a direct line the exchange waits as "Bidirectional Comm." says.
  bool answered = false;
  {
    const PollingScope poll(link_.Log());
    answered = link_.SendBrixoMessage(true, {});
  }
  if (!answered || link_.Cancellation().Stopping()) {
    Halt();
    return false;
  }
  const std::string line = FeedbackLine(link_);
  if (line.empty()) return false;
  Append(line);
  return true;
}

}  // namespace brixo
