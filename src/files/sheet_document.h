#pragma once
// A printable document as plain data: headings, paragraphs, blocks of named values,
// tables with a header row, and pictures as SVG text. The configuration sheet is built as
// one; the HTML writer and the page painter both lay it out, so that the sheet a browser
// shows and the one printed or written as PDF say the same. Texts are UTF-8.
#include <string>
#include <vector>

#include "model/named_value.h"

namespace brixo {

// The paper a sheet is laid out for when the printer does not say.
enum class SheetPageSize { A4, Letter };

enum class SheetBlockKind { Heading, Paragraph, Fields, Table, Picture };

struct SheetTable {
  std::vector<std::string> Header;
  std::vector<std::vector<std::string>> Rows;
};

struct SheetPicture {
  std::string Svg;  // self-contained, with its width, height and viewBox
  double Width = 0;
  double Height = 0;
  std::string Text;  // what the picture shows, for readers that cannot see it
};

struct SheetBlock {
  SheetBlockKind Kind = SheetBlockKind::Paragraph;
  int Level = 0;     // a heading's: 1 the title, 2 a section, 3 a part of one
  std::string Text;  // a heading's or paragraph's
  std::vector<NamedValue> Fields;
  SheetTable Table;
  SheetPicture Picture;
  // The block's end stays on the page of the next block's start (a heading always does).
  bool KeepWithNext = false;
  // The whole block stays on one page when a page can hold it (named values always do).
  bool KeepTogether = false;
};

struct SheetDocument {
  std::string Title;   // the HTML page's and the PDF's title
  std::string Footer;  // beside the page numbers
  std::vector<SheetBlock> Blocks;

  void AddHeading(int level, std::string text);
  // An introduction keeps with what it introduces.
  void AddParagraph(std::string text, bool keepWithNext = false);
  void AddFields(std::vector<NamedValue> fields, bool keepWithNext = false);
  // A short table may be kept together, and kept with what follows it.
  void AddTable(std::vector<std::string> header, std::vector<std::vector<std::string>> rows, bool keepTogether = false,
                bool keepWithNext = false);
  void AddPicture(SheetPicture picture);
};

}  // namespace brixo
