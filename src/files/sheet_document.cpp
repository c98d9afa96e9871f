#include "files/sheet_document.h"

namespace brixo {

void SheetDocument::AddHeading(int level, std::string text) {
  SheetBlock block;
  block.Kind = SheetBlockKind::Heading;
  block.Level = level;
  block.Text = std::move(text);
  block.KeepWithNext = true;
  Blocks.push_back(std::move(block));
}

void SheetDocument::AddParagraph(std::string text, bool keepWithNext) {
  SheetBlock block;
  block.Kind = SheetBlockKind::Paragraph;
  block.Text = std::move(text);
  block.KeepWithNext = keepWithNext;
  Blocks.push_back(std::move(block));
}

void SheetDocument::AddFields(std::vector<NamedValue> fields, bool keepWithNext) {
  SheetBlock block;
  block.Kind = SheetBlockKind::Fields;
  block.Fields = std::move(fields);
  block.KeepTogether = true;
  block.KeepWithNext = keepWithNext;
  Blocks.push_back(std::move(block));
}

void SheetDocument::AddTable(std::vector<std::string> header, std::vector<std::vector<std::string>> rows,
                             bool keepTogether, bool keepWithNext) {
  SheetBlock block;
  block.Kind = SheetBlockKind::Table;
  block.Table.Header = std::move(header);
  block.Table.Rows = std::move(rows);
  block.KeepTogether = keepTogether;
  block.KeepWithNext = keepWithNext;
  Blocks.push_back(std::move(block));
}

void SheetDocument::AddPicture(SheetPicture picture) {
  SheetBlock block;
  block.Kind = SheetBlockKind::Picture;
  block.Picture = std::move(picture);
  Blocks.push_back(std::move(block));
}

}  // namespace brixo
