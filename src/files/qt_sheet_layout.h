#pragma once
// The blocks of a sheet cut into pieces that are never split over two pages (a heading, a
// paragraph, a named value, a table row, a picture), each measured for the device it will
// be painted on and able to paint itself there.
#include <QFont>
#include <functional>
#include <vector>

#include "files/sheet_document.h"

class QPainter;
class QPaintDevice;

namespace brixo {

struct SheetPiece {
  double SpaceBefore = 0;  // left out at the top of a page
  double Height = 0;
  double SpaceAfter = 0;
  bool KeepWithNext = false;  // stays on the page of the piece after it
  int Header = -1;            // a table row: its table's header piece, painted again atop a new page
  std::function<void(QPainter&, double top)> Paint;
};

struct SheetMeasure {
  const QPaintDevice* Device = nullptr;
  double Point = 1;       // device pixels per point
  double Width = 0;       // of the text area, in device pixels
  double PageHeight = 0;  // the height a page offers the pieces
};

std::vector<SheetPiece> CutIntoPieces(const SheetDocument& sheet, const SheetMeasure& measure);

// The sheet's typeface at a size in points.
QFont SheetFont(double points, bool bold);

}  // namespace brixo
