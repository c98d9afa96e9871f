#include "files/sheet_html.h"

#include "link/text_encoding.h"

namespace brixo {

namespace {

constexpr const char* kStyle = R"(
@page { margin: 16mm 15mm; }
body { font-family: "DejaVu Sans", Arial, Helvetica, sans-serif; font-size: 10pt; line-height: 1.35;
       color: #111; max-width: 52em; margin: 1.5em auto; padding: 0 1em; }
h1 { font-size: 18pt; margin: 0 0 .4em; }
h2 { font-size: 13pt; margin: 1.4em 0 .4em; padding-bottom: 2px; border-bottom: 1px solid #888; }
h3 { font-size: 10.5pt; margin: 1em 0 .3em; }
h1, h2, h3, .keep { break-after: avoid; page-break-after: avoid; }
p { margin: .3em 0 .6em; }
table { border-collapse: collapse; margin: .3em 0 .8em; }
table.grid { width: 100%; font-size: 8.5pt; }
table.grid th, table.grid td { border: 1px solid #bbb; padding: 2px 4px; text-align: left; vertical-align: top;
                               overflow-wrap: break-word; }
table.grid th { background: #eee; }
table.fields th { font-weight: normal; color: #444; text-align: left; vertical-align: top; padding: 1px 1.5em 1px 0;
                  width: 13em; }
table.fields td { padding: 1px 0; overflow-wrap: break-word; }
thead { display: table-header-group; }
tr, figure, .together { break-inside: avoid; page-break-inside: avoid; }
figure { margin: .3em 0 1.2em; }
figure svg { max-width: 100%; height: auto; }
footer { margin-top: 2em; color: #666; font-size: 8pt; }
@media print { body { max-width: none; margin: 0; padding: 0; } footer { display: none; } }
)";

// The picture as an element of the page: without its XML declaration, named for readers
// that cannot see it.
std::string InlineSvg(const SheetPicture& picture) {
  std::string svg = picture.Svg;
  if (svg.rfind("<?xml", 0) == 0) {
    const size_t end = svg.find("?>");
    svg.erase(0, end == std::string::npos ? svg.size() : end + 2);
    while (!svg.empty() && (svg.front() == '\n' || svg.front() == '\r')) svg.erase(0, 1);
  }
  const size_t root = svg.find("<svg");
  if (root != std::string::npos && !picture.Text.empty())
    svg.insert(root + 4, " role=\"img\" aria-label=\"" + MarkupEscaped(picture.Text) + "\"");
  return svg;
}

// The classes of a block's element: how it keeps with what follows and together.
std::string Classes(const char* kind, const SheetBlock& block) {
  std::string classes = kind;
  if (block.KeepWithNext) classes += " keep";
  if (block.KeepTogether) classes += " together";
  return "class=\"" + classes + "\"";
}

void AppendTable(std::string& html, const SheetBlock& block) {
  const SheetTable& table = block.Table;
  html += "<table " + Classes("grid", block) + ">\n";
  if (!table.Header.empty()) {
    html += "<thead><tr>";
    for (const std::string& cell : table.Header) html += "<th>" + MarkupEscaped(cell) + "</th>";
    html += "</tr></thead>\n";
  }
  html += "<tbody>\n";
  for (const auto& row : table.Rows) {
    html += "<tr>";
    for (const std::string& cell : row) html += "<td>" + MarkupEscaped(cell) + "</td>";
    html += "</tr>\n";
  }
  html += "</tbody></table>\n";
}

void AppendBlock(std::string& html, const SheetBlock& block) {
  switch (block.Kind) {
    case SheetBlockKind::Heading: {
      const std::string tag = "h" + std::to_string(block.Level < 1 ? 1 : block.Level > 3 ? 3 : block.Level);
      html += "<" + tag + ">" + MarkupEscaped(block.Text) + "</" + tag + ">\n";
      break;
    }
    case SheetBlockKind::Paragraph:
      html += std::string(block.KeepWithNext ? "<p class=\"keep\">" : "<p>") + MarkupEscaped(block.Text) + "</p>\n";
      break;
    case SheetBlockKind::Fields:
      html += "<table " + Classes("fields", block) + ">\n";
      for (const NamedValue& field : block.Fields)
        html += "<tr><th scope=\"row\">" + MarkupEscaped(field.Name) + "</th><td>" + MarkupEscaped(field.Value) +
                "</td></tr>\n";
      html += "</table>\n";
      break;
    case SheetBlockKind::Table: AppendTable(html, block); break;
    case SheetBlockKind::Picture: html += "<figure>\n" + InlineSvg(block.Picture) + "</figure>\n"; break;
  }
}

}  // namespace


std::string SheetHtml(const SheetDocument& sheet) {
  std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
  html += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
  html += "<title>" + MarkupEscaped(sheet.Title) + "</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n";
  for (const SheetBlock& block : sheet.Blocks) AppendBlock(html, block);
  if (!sheet.Footer.empty()) html += "<footer>" + MarkupEscaped(sheet.Footer) + "</footer>\n";
  html += "</body>\n</html>\n";
  return html;
}

}  // namespace brixo
