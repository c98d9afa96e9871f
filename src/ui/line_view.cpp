#include "ui/line_view.h"

#include <QPlainTextEdit>

#include "ui/core_text.h"

namespace brixo {

namespace {

// The lines as a block text: no "\r", and no line break after the last line, which would
// leave an empty block behind it.
QString BlockText(const std::string& text) {
  QString lines = ToQt(text);
  lines.remove('\r');
  if (lines.endsWith('\n')) lines.chop(1);
  return lines;
}

}  // namespace

void ShowLines(QPlainTextEdit& view, const std::string& text) { view.setPlainText(BlockText(text)); }

void AppendLines(QPlainTextEdit& view, const std::string& text) {
  if (!text.empty()) view.appendPlainText(BlockText(text));
}

}  // namespace brixo
