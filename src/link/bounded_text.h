#pragma once
// A text that keeps only its newest lines. The communication log and the feedback monitor
// grow by twenty lines a second while a monitor runs; over hours a text that kept every
// line would take all the memory there is.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace brixo {

// Lines kept of the communication log and the feedback monitor.
inline constexpr size_t kHistoryLines = 100000;
// Lines their views show: a line in a text view costs about a kilobyte, so a view of the
// whole history would take a hundred megabytes and keep growing for the first hours of
// monitoring; this many fill within minutes and then stay.
inline constexpr size_t kViewHistoryLines = 10000;
// Lines kept by a program that passes every line on as it comes and shows no history
// (brixo-cli): at twenty log lines a second the full history would keep growing for the
// first hours of a monitor, this much is reached within a minute and then stays.
inline constexpr size_t kStreamedHistoryLines = 1000;

class BoundedText {
 public:
  explicit BoundedText(size_t maxLines = kHistoryLines) : maxLines_(maxLines) {}

  // Appends whole lines (the piece ends with a line feed). The oldest lines go once the text
  // holds a tenth more than the limit, so trimming costs little per line.
  void Append(std::string_view piece);
  void Clear();

  const std::string& Text() const { return text_; }
  size_t LineCount() const { return lines_; }
  size_t MaxLines() const { return maxLines_; }
  // Characters appended since the last Clear(), dropped ones included: a view that showed
  // the text up to an earlier count finds what is new behind it.
  uint64_t Appended() const { return appended_; }

 private:
  void DropOldest();

  size_t maxLines_;
  std::string text_;
  size_t lines_ = 0;
  uint64_t appended_ = 0;
};

}  // namespace brixo
