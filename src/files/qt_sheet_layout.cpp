#include "files/qt_sheet_layout.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextLayout>
#include <algorithm>
#include <memory>
#include <numeric>

#include "files/svg_texts.h"

namespace brixo {

namespace {

// Sizes in points.
constexpr double kBodySize = 9.5;
constexpr double kTableSize = 8;
constexpr double kHeadingSizes[] = {17, 13, 10.5};
constexpr double kHeadingSpaceBefore[] = {0, 16, 9};
constexpr double kCellPadX = 3;
constexpr double kCellPadY = 1.6;
constexpr double kBlockSpace = 6;
constexpr double kPictureSpace = 12;
constexpr double kFieldGap = 12;

const QColor kInk(0x11, 0x11, 0x11);
const QColor kMuted(0x44, 0x44, 0x44);
const QColor kRule(0x88, 0x88, 0x88);
const QColor kGrid(0xbb, 0xbb, 0xbb);
const QColor kHeaderFill(0xe8, 0xe8, 0xe8);
const QColor kStripe(0xf5, 0xf5, 0xf5);

// A text wrapped to a width: at blanks, and anywhere within a word too long for the line.
class TextBox {
 public:
  TextBox(const std::string& text, const QFont& font, const SheetMeasure& m, double width)
      : layout_(std::make_shared<QTextLayout>(QString::fromStdString(text), font, m.Device)) {
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout_->setTextOption(option);
    layout_->beginLayout();
    for (QTextLine line = layout_->createLine(); line.isValid(); line = layout_->createLine()) {
      line.setLineWidth(std::max(1.0, width));
      line.setPosition(QPointF(0, height_));
      height_ += line.height();
    }
    layout_->endLayout();
  }
  double Height() const { return height_; }
  void Draw(QPainter& painter, double x, double y, const QColor& colour) const {
    painter.setPen(colour);
    layout_->draw(&painter, QPointF(x, y));
  }

 private:
  std::shared_ptr<QTextLayout> layout_;
  double height_ = 0;
};

struct TextWidths {
  double Natural = 0;  // on one line
  double Longest = 0;  // of its longest word
};

TextWidths WidthsOf(const std::string& text, const QFontMetricsF& metrics) {
  const QString s = QString::fromStdString(text);
  TextWidths widths{metrics.horizontalAdvance(s), 0};
  for (const QString& word : s.split(' ', Qt::SkipEmptyParts))
    widths.Longest = std::max(widths.Longest, metrics.horizontalAdvance(word));
  return widths;
}

// The widest a column may be when even the longest words do not fit: short words keep
// their room, only the columns with the longest ones give up theirs and break them.
double WidestColumn(std::vector<double> least, double room) {
  std::sort(least.begin(), least.end());
  for (size_t i = 0; i < least.size(); ++i) {
    const double share = room / static_cast<double>(least.size() - i);
    if (least[i] >= share) return share;
    room -= least[i];
  }
  return room;
}

// Column widths much as a browser gives an automatic table the page's width: each column its
// text on one line when all fit, the room left over going to the columns of words (a
// column of numbers gains nothing by it); else the room beyond the longest words shared
// out by how much more each column would take; else the longest words broken where they
// are longest.
std::vector<double> ColumnWidths(const SheetTable& table, const QFont& font, const QFont& bold, const SheetMeasure& m) {
  const size_t columns = table.Header.size();
  std::vector<double> most(columns, 0);
  std::vector<double> least(columns, 0);
  std::vector<bool> words(columns, false);
  const QFontMetricsF metrics(font, m.Device);
  const QFontMetricsF boldMetrics(bold, m.Device);
  const double pad = 2 * kCellPadX * m.Point;
  const auto take = [&](size_t c, const std::string& text, const QFontMetricsF& with) {
    const TextWidths w = WidthsOf(text, with);
    most[c] = std::max(most[c], w.Natural + pad);
    least[c] = std::max(least[c], w.Longest + pad);
  };
  for (size_t c = 0; c < columns; ++c) take(c, table.Header[c], boldMetrics);
  for (const auto& row : table.Rows) {
    for (size_t c = 0; c < columns && c < row.size(); ++c) {
      take(c, row[c], metrics);
      if (row[c].find(' ') != std::string::npos) words[c] = true;
    }
  }
  if (std::find(words.begin(), words.end(), true) == words.end()) words.assign(columns, true);
  double sumWords = 0;
  for (size_t c = 0; c < columns; ++c) sumWords += words[c] ? most[c] : 0;
  const double sumMost = std::accumulate(most.begin(), most.end(), 0.0);
  const double sumLeast = std::accumulate(least.begin(), least.end(), 0.0);
  std::vector<double> widths(columns, 0);
  const double widest = sumLeast < m.Width ? 0 : WidestColumn(least, m.Width);
  for (size_t c = 0; c < columns; ++c) {
    if (sumMost <= m.Width)
      widths[c] = most[c] + (words[c] ? (m.Width - sumMost) * most[c] / sumWords : 0);
    else if (sumLeast < m.Width)
      widths[c] = least[c] + (m.Width - sumLeast) * (most[c] - least[c]) / (sumMost - sumLeast);
    else
      widths[c] = std::min(least[c], widest);
  }
  return widths;
}

// One row of a table: its cells wrapped to their columns, with the grid around them.
SheetPiece TableRowPiece(const std::vector<std::string>& cells, const std::vector<double>& widths, const QFont& font,
                         const SheetMeasure& m, bool header, bool striped) {
  std::vector<TextBox> boxes;
  double tallest = 0;
  const double padX = kCellPadX * m.Point;
  const double padY = kCellPadY * m.Point;
  for (size_t c = 0; c < widths.size(); ++c) {
    boxes.emplace_back(c < cells.size() ? cells[c] : std::string(), font, m, widths[c] - 2 * padX);
    tallest = std::max(tallest, boxes.back().Height());
  }
  SheetPiece piece;
  piece.Height = tallest + 2 * padY;
  const double height = piece.Height;
  piece.Paint = [boxes, widths, height, padX, padY, header, striped, point = m.Point](QPainter& painter, double top) {
    const double total = std::accumulate(widths.begin(), widths.end(), 0.0);
    if (header || striped) painter.fillRect(QRectF(0, top, total, height), header ? kHeaderFill : kStripe);
    painter.setPen(QPen(kGrid, 0.6 * point));
    painter.drawRect(QRectF(0, top, total, height));
    double x = 0;
    for (size_t c = 0; c < boxes.size(); ++c) {
      if (c > 0) painter.drawLine(QPointF(x, top), QPointF(x, top + height));
      boxes[c].Draw(painter, x + padX, top + padY, kInk);
      x += widths[c];
    }
  };
  return piece;
}

void AddTable(std::vector<SheetPiece>& pieces, const SheetBlock& block, const SheetMeasure& m) {
  const QFont font = SheetFont(kTableSize, false);
  const QFont bold = SheetFont(kTableSize, true);
  const std::vector<double> widths = ColumnWidths(block.Table, font, bold, m);
  const int header = static_cast<int>(pieces.size());
  SheetPiece head = TableRowPiece(block.Table.Header, widths, bold, m, true, false);
  head.KeepWithNext = true;
  pieces.push_back(std::move(head));
  for (size_t r = 0; r < block.Table.Rows.size(); ++r) {
    SheetPiece row = TableRowPiece(block.Table.Rows[r], widths, font, m, false, r % 2 == 1);
    row.Header = header;
    pieces.push_back(std::move(row));
  }
  pieces.back().KeepWithNext = block.KeepWithNext;
  pieces.back().SpaceAfter = kBlockSpace * 1.5 * m.Point;
}

void AddHeading(std::vector<SheetPiece>& pieces, const SheetBlock& block, const SheetMeasure& m) {
  const int level = std::clamp(block.Level, 1, 3);
  const TextBox box(block.Text, SheetFont(kHeadingSizes[level - 1], true), m, m.Width);
  const bool ruled = level == 2;
  SheetPiece piece;
  piece.SpaceBefore = kHeadingSpaceBefore[level - 1] * m.Point;
  piece.Height = box.Height() + (ruled ? 3 * m.Point : 0);
  piece.SpaceAfter = (level == 1 ? 6 : 3) * m.Point;
  piece.KeepWithNext = true;
  const double width = m.Width;
  const double point = m.Point;
  piece.Paint = [box, ruled, width, point](QPainter& painter, double top) {
    box.Draw(painter, 0, top, kInk);
    if (!ruled) return;
    painter.setPen(QPen(kRule, 0.8 * point));
    const double y = top + box.Height() + 1.5 * point;
    painter.drawLine(QPointF(0, y), QPointF(width, y));
  };
  pieces.push_back(std::move(piece));
}

void AddParagraph(std::vector<SheetPiece>& pieces, const SheetBlock& block, const SheetMeasure& m) {
  const TextBox box(block.Text, SheetFont(kBodySize, false), m, m.Width);
  SheetPiece piece;
  piece.Height = box.Height();
  piece.SpaceAfter = kBlockSpace * m.Point;
  piece.KeepWithNext = block.KeepWithNext;
  piece.Paint = [box](QPainter& painter, double top) { box.Draw(painter, 0, top, kInk); };
  pieces.push_back(std::move(piece));
}

// The column of the names of named values: one for the whole sheet, so that its values
// line up from block to block.
double NameColumn(const SheetDocument& sheet, const SheetMeasure& m) {
  const QFontMetricsF metrics(SheetFont(kBodySize, false), m.Device);
  double names = 0;
  for (const SheetBlock& block : sheet.Blocks) {
    for (const NamedValue& field : block.Fields)
      names = std::max(names, metrics.horizontalAdvance(QString::fromStdString(field.Name)));
  }
  return std::min(names + kFieldGap * m.Point, 0.4 * m.Width);
}

void AddFields(std::vector<SheetPiece>& pieces, const SheetBlock& block, double names, const SheetMeasure& m) {
  const QFont font = SheetFont(kBodySize, false);
  const double gap = kFieldGap * m.Point;
  for (const NamedValue& field : block.Fields) {
    const TextBox name(field.Name, font, m, names - gap);
    const TextBox value(field.Value, font, m, m.Width - names);
    SheetPiece piece;
    piece.Height = std::max(name.Height(), value.Height());
    piece.SpaceAfter = 1.2 * m.Point;
    piece.Paint = [name, value, names](QPainter& painter, double top) {
      name.Draw(painter, 0, top, kMuted);
      value.Draw(painter, names, top, kInk);
    };
    pieces.push_back(std::move(piece));
  }
  if (block.Fields.empty()) return;
  pieces.back().SpaceAfter = kBlockSpace * m.Point;
  pieces.back().KeepWithNext = block.KeepWithNext;
}

// A text of a picture placed on the device: its font at the picture's scale, its start.
struct PlacedText {
  QFont Font;
  QPointF At;  // from the picture's top left corner
  QColor Colour;
  QString Text;
};

std::vector<PlacedText> PlaceTexts(const std::vector<SvgText>& texts, QPointF origin, double scale,
                                   const SheetMeasure& m) {
  std::vector<PlacedText> placed;
  for (const SvgText& text : texts) {
    PlacedText p{SheetFont(text.Size * scale / m.Point, text.Bold),
                 {},
                 QColor(QString::fromStdString(text.Fill)),
                 QString::fromStdString(text.Text)};
    const double width = QFontMetricsF(p.Font, m.Device).horizontalAdvance(p.Text);
    const double shift = text.Anchor == SvgAnchor::Middle ? width / 2 : text.Anchor == SvgAnchor::End ? width : 0;
    p.At = QPointF((text.X - origin.x()) * scale - shift, (text.Y - origin.y()) * scale);
    placed.push_back(std::move(p));
  }
  return placed;
}

void AddPicture(std::vector<SheetPiece>& pieces, const SheetBlock& block, const SheetMeasure& m) {
  SvgParts parts = SplitSvgTexts(block.Picture.Svg);
  auto renderer = std::make_shared<QSvgRenderer>(QByteArray::fromStdString(parts.Shapes));
  if (!renderer->isValid()) return;
  const QRectF box = renderer->viewBoxF();
  if (box.width() <= 0 || box.height() <= 0) return;
  // A picture's unit is a point, made smaller only where the page has not the room.
  const double scale = std::min({m.Point, m.Width / box.width(), 0.9 * m.PageHeight / box.height()});
  const QSizeF size = box.size() * scale;
  const std::vector<PlacedText> texts = PlaceTexts(parts.Texts, box.topLeft(), scale, m);
  SheetPiece piece;
  piece.Height = size.height();
  piece.SpaceBefore = 2 * m.Point;
  piece.SpaceAfter = kPictureSpace * m.Point;
  piece.KeepWithNext = block.KeepWithNext;
  piece.Paint = [renderer, size, texts](QPainter& painter, double top) {
    renderer->render(&painter, QRectF(QPointF(0, top), size));
    for (const PlacedText& text : texts) {
      painter.setFont(text.Font);
      painter.setPen(text.Colour);
      painter.drawText(text.At + QPointF(0, top), text.Text);
    }
  };
  pieces.push_back(std::move(piece));
}

}  // namespace

QFont SheetFont(double points, bool bold) {
  QFont font;
  font.setFamilies({"DejaVu Sans", "Liberation Sans", "Arial", "Helvetica"});
  // Without shaping, "fi" stays two letters: a ligature would reach the PDF's text as one
  // character that searching and copying do not find.
  font.setStyleHint(QFont::SansSerif, QFont::PreferNoShaping);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

std::vector<SheetPiece> CutIntoPieces(const SheetDocument& sheet, const SheetMeasure& measure) {
  std::vector<SheetPiece> pieces;
  const double names = NameColumn(sheet, measure);
  for (const SheetBlock& block : sheet.Blocks) {
    const size_t first = pieces.size();
    switch (block.Kind) {
      case SheetBlockKind::Heading: AddHeading(pieces, block, measure); break;
      case SheetBlockKind::Paragraph: AddParagraph(pieces, block, measure); break;
      case SheetBlockKind::Fields: AddFields(pieces, block, names, measure); break;
      case SheetBlockKind::Table:
        if (!block.Table.Header.empty()) AddTable(pieces, block, measure);
        break;
      case SheetBlockKind::Picture: AddPicture(pieces, block, measure); break;
    }
    if (block.KeepTogether && pieces.size() > first) {
      for (size_t i = first; i + 1 < pieces.size(); ++i) pieces[i].KeepWithNext = true;
    }
  }
  return pieces;
}

}  // namespace brixo
