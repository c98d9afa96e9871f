#include "link/communication_log.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace brixo {

CommunicationLog::CommunicationLog(size_t maxLines, Clock* clock)
    : text_(maxLines), clock_(clock), start_(clock ? clock->NowSeconds() : 0.0) {}

void CommunicationLog::AppendLine(const std::string& line) {
  const std::string piece = line + "\r\n";
  text_.Append(piece);
  double ms = clock_ ? (clock_->NowSeconds() - start_) * 1000.0 : 0.0;
  ms = std::clamp(ms, 0.0, 4294967295.0);
  const LogLineMark mark{static_cast<uint32_t>(std::llround(ms)), polling_};
  // A line with a line break of its own counts as several lines of the text.
  const size_t lines = static_cast<size_t>(std::count(piece.begin(), piece.end(), '\n'));
  marks_.insert(marks_.end(), lines, mark);
  while (marks_.size() > text_.LineCount()) marks_.pop_front();
  if (onAppend) onAppend(piece);
}

void CommunicationLog::Clear() {
  text_.Clear();
  marks_.clear();
  if (onClear) onClear();
}

const char* MonitorFilterCaption(MonitorFilter filter) {
  switch (filter) {
    case MonitorFilter::All: return "All lines";
    case MonitorFilter::ToController: return "To controller";
    case MonitorFilter::FromController: return "From controller";
    case MonitorFilter::HidePolls: return "Feedback polls hidden";
  }
  return "";
}

std::string MonitorLine(const std::string& line, const LogLineMark& mark, const MonitorView& view) {
  const bool sent = line.rfind(">", 0) == 0;
  const bool received = line.rfind("<", 0) == 0;
  switch (view.Filter) {
    case MonitorFilter::All: break;
    case MonitorFilter::ToController: if (!sent) return {}; break;
    case MonitorFilter::FromController: if (!received) return {}; break;
    case MonitorFilter::HidePolls: if (mark.Polling) return {}; break;
  }
  if (!view.TimeStamps) return line;
  char stamp[24];
  std::snprintf(stamp, sizeof stamp, "%8u ms ", static_cast<unsigned>(mark.Ms));
  return stamp + line;
}

std::string MonitorText(const std::string& text, const std::deque<LogLineMark>& marks, const MonitorView& view) {
  std::string shown;
  size_t begin = 0;
  for (size_t index = 0; begin < text.size(); ++index) {
    size_t end = text.find('\n', begin);
    end = end == std::string::npos ? text.size() : end + 1;
    std::string_view piece(text.data() + begin, end - begin);
    begin = end;
    if (piece.ends_with('\n')) piece.remove_suffix(1);
    if (piece.ends_with('\r')) piece.remove_suffix(1);
    const LogLineMark mark = index < marks.size() ? marks[index] : LogLineMark{};
    const std::string line = MonitorLine(std::string(piece), mark, view);
    if (!line.empty()) shown += line + "\r\n";
  }
  return shown;
}

std::string MonitorText(const CommunicationLog& log, const MonitorView& view) {
  return MonitorText(log.Text(), log.Marks(), view);
}

}  // namespace brixo
