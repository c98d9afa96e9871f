#pragma once
// A sheet as one self-contained HTML file: styles and pictures (inline SVG) inside, so that
// it can be mailed or put on a club's web site as it is. Its print styles keep table rows
// and pictures whole on a page, repeat a table's header row and keep headings with what
// follows them.
#include <string>

#include "files/sheet_document.h"

namespace brixo {

std::string SheetHtml(const SheetDocument& sheet);

}  // namespace brixo
