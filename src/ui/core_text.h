#pragma once
// The one place where texts cross between the core and the window. The core's texts are
// UTF-8 (link/text_encoding.h); Qt works in Unicode.
#include <QList>
#include <QString>
#include <string>

namespace brixo {

inline QString ToQt(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A text the window hands back unchanged (a port list entry the user chose).
inline std::string CoreText(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

// What the user typed, for the configuration: a character beyond Latin-1 becomes "?", as
// neither the data files nor the controller have a byte for it.
inline std::string FromQt(const QString& text) {
  QList<uint> points = text.toUcs4();
  for (uint& c : points) {
    if (c > 0xFF) c = '?';
  }
  const QByteArray bytes =
      QString::fromUcs4(reinterpret_cast<const char32_t*>(points.constData()), points.size()).toUtf8();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace brixo
