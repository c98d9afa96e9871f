#include "app/feedback_monitor.h"

namespace brixo {

namespace {
constexpr int kFeedbackValues = 4;
}

std::string FeedbackLine(const BrixoLink& link) {
  if (!link.ReplyValid || link.ReplyLength() != kFeedbackValues) return {};
  std::string line;
  for (int i = 0; i < kFeedbackValues; ++i) line += "<" + std::to_string(link.R(i)) + "> ";
  return line;
}

void FeedbackMonitor::Append(const std::string& line) {
  const std::string piece = line + "\n";
  text_ += piece;
  if (onAppend) onAppend(piece);
}

bool FeedbackMonitor::Monitor() {
  if (!link_.PortOpen()) {
    link_.Prompt().ShowMessage("Select Comm-port");
    return false;
  }
  if (!running_) Append("Start Monitoring");
  running_ = true;
  return true;
}

void FeedbackMonitor::Stop() {
  running_ = false;
  Append("Monitoring Stopped");
}

bool FeedbackMonitor::Tick() {
  if (!running_) return false;
  link_.SendBrixoMessage(false, {});
  const std::string line = FeedbackLine(link_);
  if (line.empty()) return false;
  Append(line);
  return true;
}

}  // namespace brixo
