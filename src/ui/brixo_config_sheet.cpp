// The configuration sheet from the File menu: written as PDF or HTML, shown in a print
// preview, or printed. The sheet and its pages are those of `brixo-cli sheet`.
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <algorithm>

#include "app/configuration_sheet.h"
#include "files/qt_sheet_pages.h"
#include "files/sheet_html.h"
#include "ui/brixo_config_window.h"

namespace brixo {

namespace {

// The paper where the printer does not say: Letter where the locale measures in inches.
SheetPageSize LocalPageSize() {
  return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? SheetPageSize::Letter : SheetPageSize::A4;
}

void PreparePrinter(QPrinter& printer, const SheetDocument& sheet) {
  printer.setDocName(QString::fromStdString(sheet.Title));
  printer.setPageMargins(QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter);
}

}  // namespace

SheetDocument BrixoConfig::Sheet() {
  const std::string& path = app_.DocumentPath();
  const std::string name =
      path.empty() ? "not saved" : QFileInfo(QFile::decodeName(path.c_str())).fileName().toStdString();
  return BuildConfigurationSheet(app_, {name, TodayText()});
}

void BrixoConfig::ExportSheet() {
  const SheetDocument sheet = Sheet();
  const std::string& path = app_.DocumentPath();
  const std::string preset =
      (path.empty() ? std::string("configuration")
                    : QFileInfo(QFile::decodeName(path.c_str())).completeBaseName().toStdString()) +
      "-sheet.pdf";
  app_.SaveFileAs(kSheetFileFilter, preset, [&sheet](const std::string& chosen) -> std::optional<std::string> {
    if (SheetFormatOf(chosen) == SheetFormat::Html) return SheetHtml(sheet);
    return SheetPdf(sheet, LocalPageSize());
  });
}

void BrixoConfig::PrintPreview() {
  const SheetDocument sheet = Sheet();
  QPrinter printer(QPrinter::HighResolution);
  PreparePrinter(printer, sheet);
  QPrintPreviewDialog preview(&printer, this);
  preview.setObjectName("SheetPrintPreview");
  preview.setWindowTitle("Print Preview");
  // Big enough to read a page at once.
  preview.resize(std::max(width() * 4 / 5, 640), std::max(height() * 9 / 10, 600));
  connect(&preview, &QPrintPreviewDialog::paintRequested, this,
          [&sheet](QPrinter* target) { PaintSheet(sheet, *target); });
  RunDialog(preview);
}

void BrixoConfig::PrintSheet() {
  const SheetDocument sheet = Sheet();
  QPrinter printer(QPrinter::HighResolution);
  PreparePrinter(printer, sheet);
  QPrintDialog dialog(&printer, this);
  dialog.setObjectName("SheetPrintDialog");
  RunDialog(dialog);
  if (dialog.result() != QDialog::Accepted) return;
  if (PaintSheet(sheet, printer)) {
    app_.ShowResult("Printed the configuration sheet");
  } else {
    app_.Prompt().ShowMessage("Could not print the configuration sheet", MessageIcon::Warning);
  }
}

}  // namespace brixo
