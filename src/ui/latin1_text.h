#pragma once
// The core keeps texts as one byte per character (Latin-1); Qt works in Unicode.
#include <QString>
#include <string>

namespace brixo {

inline QString ToQt(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Characters outside Latin-1 become "?": they have no byte in the controller's code page.
inline std::string FromQt(const QString& text) {
  const QByteArray bytes = text.toLatin1();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace brixo
