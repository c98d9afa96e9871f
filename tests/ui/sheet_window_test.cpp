// File > "Export Sheet...", "Print Preview..." and "Print...": the sheet of the
// configuration the editor holds reaches the file, the preview and the printer.
#include <QAction>
#include <QApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/scratch_folder.h"
#include "window_test_fixture.h"

namespace brixo::window_test {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The text of a PDF file as pdftotext reads it.
std::string PdfText(const std::string& path, const std::string& scratch) {
  const std::string out = scratch + ".txt";
  const std::string command = "pdftotext '" + path + "' '" + out + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  return ReadAll(out);
}

class SheetWindowTest : public MainWindowTest {
 protected:
  SheetWindowTest() {
    chooser.Answers = {std::string(BRIXO_TEST_DATA_DIR) + "/demo.dat"};
    window.LoadFile();
  }
  void Trigger(const char* action) { Find<QAction>(action)->trigger(); }

  testing::ScratchFolder folder;
};

TEST_F(SheetWindowTest, ExportSheetWritesThePdfOrTheHtmlChosen) {
  chooser.Answers = {folder / "demo-sheet.pdf", folder / "demo-sheet.html"};
  Trigger("ActionExportSheet");
  Trigger("ActionExportSheet");
  EXPECT_EQ(chooser.Filters.back(), kSheetFileFilter);
  EXPECT_EQ(chooser.Presets.back(), "demo-sheet.pdf");
  EXPECT_EQ(app.LastResult(), "Saved demo-sheet.html");
  const std::string pdf = ReadAll(folder / "demo-sheet.pdf");
  EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
  const std::string html = ReadAll(folder / "demo-sheet.html");
  EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
  // Both tell the file's name, its identification string and its first pin.
  for (const std::string& text : {PdfText(folder / "demo-sheet.pdf", folder / "pdf"), html}) {
    for (const char* shown : {"demo.dat", "Demo Layout", "Entry signal A"})
      EXPECT_NE(text.find(shown), std::string::npos) << shown;
  }
}

TEST_F(SheetWindowTest, PrintPreviewShowsTheSheetsPagesAndPrintWritesThem) {
  int previewPages = 0;
  window.SetDialogRunner([&](QDialog& dialog) {
    if (auto* preview = qobject_cast<QPrintPreviewDialog*>(&dialog)) {
      preview->show();
      QApplication::processEvents();
      previewPages = preview->findChild<QPrintPreviewWidget*>()->pageCount();
      preview->close();
    } else if (auto* print = qobject_cast<QPrintDialog*>(&dialog)) {
      // The printer as the dialog leaves it: printing into a file.
      print->printer()->setOutputFormat(QPrinter::PdfFormat);
      print->printer()->setOutputFileName(QString::fromStdString(folder / "printed.pdf"));
      print->done(QDialog::Accepted);
    }
  });
  Trigger("ActionPrintPreview");
  EXPECT_GE(previewPages, 3);
  Trigger("ActionPrint");
  EXPECT_EQ(app.LastResult(), "Printed the configuration sheet");
  EXPECT_NE(PdfText(folder / "printed.pdf", folder / "printed").find("Pin Overview"), std::string::npos);

  // A print dialog cancelled prints nothing.
  std::filesystem::remove(folder / "printed.pdf");
  window.SetDialogRunner([](QDialog& dialog) { dialog.done(QDialog::Rejected); });
  Trigger("ActionPrint");
  EXPECT_FALSE(std::filesystem::exists(folder / "printed.pdf"));
}

}  // namespace
}  // namespace brixo::window_test
