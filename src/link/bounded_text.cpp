#include "link/bounded_text.h"

#include <algorithm>

namespace brixo {

void BoundedText::Append(std::string_view piece) {
  text_.append(piece);
  appended_ += piece.size();
  lines_ += static_cast<size_t>(std::count(piece.begin(), piece.end(), '\n'));
  if (lines_ > maxLines_ + std::max<size_t>(1, maxLines_ / 10)) DropOldest();
}

void BoundedText::DropOldest() {
  size_t cut = 0;
  for (size_t excess = lines_ - maxLines_; excess > 0; --excess) {
    cut = text_.find('\n', cut);
    if (cut == std::string::npos) {  // fewer line feeds than counted: keep what there is
      cut = 0;
      break;
    }
    ++cut;
  }
  text_.erase(0, cut);
  lines_ = maxLines_;
  // The string keeps its capacity; it never needs more than the longest history it held.
}

void BoundedText::Clear() {
  text_.clear();
  lines_ = 0;
  appended_ = 0;
}

}  // namespace brixo
