#include "files/qt_sheet_pages.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "files/qt_sheet_layout.h"

namespace brixo {

namespace {

constexpr double kFooterSize = 7.5;
constexpr double kFooterGap = 8;

struct Placed {
  size_t Piece = 0;
  double Top = 0;
};
using Page = std::vector<Placed>;

// The room a piece takes after what is already on the page; atop a page, a table row
// brings its table's header row along.
double NeedOf(const std::vector<SheetPiece>& pieces, size_t i, bool top) {
  const SheetPiece& piece = pieces[i];
  double need = piece.Height + (top ? 0 : piece.SpaceBefore);
  if (top && piece.Header >= 0) need += pieces[piece.Header].Height;
  return need;
}

// The pieces after i that must stay on i's page, and their room.
double KeptRoom(const std::vector<SheetPiece>& pieces, size_t i, size_t last) {
  double room = 0;
  for (size_t j = i; j < last; ++j) room += pieces[j].SpaceAfter + pieces[j + 1].SpaceBefore + pieces[j + 1].Height;
  return room;
}

std::vector<Page> Paginate(const std::vector<SheetPiece>& pieces, double pageHeight) {
  std::vector<Page> pages(1);
  double y = 0;
  for (size_t i = 0; i < pieces.size(); ++i) {
    bool top = pages.back().empty();
    size_t last = i;
    while (pieces[last].KeepWithNext && last + 1 < pieces.size()) ++last;
    double need = NeedOf(pieces, i, top) + KeptRoom(pieces, i, last);
    // A run of kept pieces taller than a page keeps only its first two together: a
    // heading still starts on the page of what it heads.
    if (need > pageHeight) need = NeedOf(pieces, i, top) + KeptRoom(pieces, i, std::min(last, i + 1));
    if (!top && y + need > pageHeight) {
      pages.emplace_back();
      y = 0;
      top = true;
    }
    if (top && pieces[i].Header >= 0) {
      pages.back().push_back({static_cast<size_t>(pieces[i].Header), 0});
      y = pieces[pieces[i].Header].Height;
      top = false;
    } else if (!top) {
      y += pieces[i].SpaceBefore;
    }
    pages.back().push_back({i, y});
    y += pieces[i].Height + pieces[i].SpaceAfter;
  }
  return pages;
}

struct Frame {
  SheetMeasure Measure;
  double FooterHeight = 0;
  QFont FooterFont;
};

Frame FrameOf(QPagedPaintDevice& device) {
  Frame frame;
  const int dpi = device.logicalDpiY();
  const QRect page = device.pageLayout().paintRectPixels(dpi);
  frame.FooterFont = SheetFont(kFooterSize, false);
  frame.Measure.Device = &device;
  frame.Measure.Point = dpi / 72.0;
  frame.Measure.Width = page.width();
  frame.FooterHeight = QFontMetricsF(frame.FooterFont, &device).height() + kFooterGap * frame.Measure.Point;
  frame.Measure.PageHeight = page.height() - frame.FooterHeight;
  return frame;
}

void PaintFooter(QPainter& painter, const Frame& frame, const std::string& text, size_t page, size_t pages) {
  const double bottom = frame.Measure.PageHeight + frame.FooterHeight;
  const QRectF area(0, bottom - QFontMetricsF(frame.FooterFont, frame.Measure.Device).height(), frame.Measure.Width,
                    frame.FooterHeight);
  painter.setFont(frame.FooterFont);
  painter.setPen(QColor(0x66, 0x66, 0x66));
  painter.drawText(area, Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(text));
  painter.drawText(area, Qt::AlignRight | Qt::AlignTop, QString("Page %1 of %2").arg(page + 1).arg(pages));
}

}  // namespace

int SheetPageCount(const SheetDocument& sheet, QPagedPaintDevice& device) {
  const Frame frame = FrameOf(device);
  return static_cast<int>(Paginate(CutIntoPieces(sheet, frame.Measure), frame.Measure.PageHeight).size());
}

bool PaintSheet(const SheetDocument& sheet, QPagedPaintDevice& device) {
  const Frame frame = FrameOf(device);
  const std::vector<SheetPiece> pieces = CutIntoPieces(sheet, frame.Measure);
  const std::vector<Page> pages = Paginate(pieces, frame.Measure.PageHeight);
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  for (size_t p = 0; p < pages.size(); ++p) {
    if (p > 0 && !device.newPage()) return false;
    for (const Placed& placed : pages[p]) {
      painter.save();
      pieces[placed.Piece].Paint(painter, placed.Top);
      painter.restore();
    }
    PaintFooter(painter, frame, sheet.Footer, p, pages.size());
  }
  return painter.end();
}

std::optional<std::string> SheetPdf(const SheetDocument& sheet, SheetPageSize size) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly)) return std::nullopt;
  {
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(size == SheetPageSize::Letter ? QPageSize::Letter : QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter);
    writer.setTitle(QString::fromStdString(sheet.Title));
    writer.setCreator("BrixoConfig");
    if (!PaintSheet(sheet, writer)) return std::nullopt;
  }
  return bytes.toStdString();
}

}  // namespace brixo
