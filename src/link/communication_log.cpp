#include "link/communication_log.h"

namespace brixo {

void CommunicationLog::AppendLine(const std::string& line) {
  const std::string piece = line + "\r\n";
  text_ += piece;
  if (onAppend) onAppend(piece);
}

void CommunicationLog::Clear() {
  text_.clear();
  if (onClear) onClear();
}

}  // namespace brixo
