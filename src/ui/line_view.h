#pragma once
// A text view of log lines that keeps only its newest lines (maximumBlockCount). Lines go
// in as whole blocks, as QPlainTextEdit::appendPlainText adds them: inserted any other
// way, the dropped lines' memory is never given back and the view grows for as long as
// the log runs.
#include <string>

class QPlainTextEdit;

namespace brixo {

// Replaces the view's text by the lines of text (each ending in "\n", a "\r" before it
// dropped).
void ShowLines(QPlainTextEdit& view, const std::string& text);
// Adds the lines of text behind the view's last line.
void AppendLines(QPlainTextEdit& view, const std::string& text);

}  // namespace brixo
