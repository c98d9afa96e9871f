#include "link/communication_log.h"

namespace brixo {

void CommunicationLog::AppendLine(const std::string& line) {
  const std::string piece = line + "\r\n";
  text_.Append(piece);
  if (onAppend) onAppend(piece);
}

void CommunicationLog::Clear() {
  text_.Clear();
  if (onClear) onClear();
}

}  // namespace brixo
