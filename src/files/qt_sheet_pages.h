#pragma once
// A sheet laid out on pages and painted with QPainter, for a PDF file (QPdfWriter) and
// for the printer (QPrinter, which the print preview draws from too). Pages get their
// numbers; a heading is never left alone at the foot of a page, no table row is split
// (a table that goes on over a page repeats its header row) and pictures stay vectors.
#include <optional>
#include <string>
#include <vector>

#include "files/sheet_document.h"

class QPagedPaintDevice;

namespace brixo {

// Paints the sheet on the device's pages, with the page size and margins the device has.
// False when the device cannot be painted on.
bool PaintSheet(const SheetDocument& sheet, QPagedPaintDevice& device);

// How many pages the sheet takes on the device.
int SheetPageCount(const SheetDocument& sheet, QPagedPaintDevice& device);

// The sheet as the content of a PDF file, with margins of 15 mm; none when it could not be
// made. Needs a QGuiApplication (fonts).
std::optional<std::string> SheetPdf(const SheetDocument& sheet, SheetPageSize size);

}  // namespace brixo
