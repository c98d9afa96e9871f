#pragma once
// The configuration sheet: what a controller's configuration does, for a layout's folder
// or a club's web site. A title block, the general settings and the event control in
// words, the pin overview with every address, then each pin that holds any configuration
// with its aspects in words and on time lines. The window and `brixo-cli sheet` both build
// it here and write it as HTML or lay it out on pages.
#include <string>

#include "files/sheet_document.h"

namespace brixo {

class AppState;

struct SheetFacts {
  std::string FileName;  // the data file the configuration came from
  std::string Date;      // the day the sheet is made, "2026-12-08"
};

// The sheet of the application's configuration, addresses as its link and General
// settings give them now.
SheetDocument BuildConfigurationSheet(AppState& app, const SheetFacts& facts);

// Today's date in the machine's time zone, as the sheet shows it.
std::string TodayText();

// The kind of file a path asks for by its extension (letter case aside).
enum class SheetFormat { Unknown, Html, Pdf };
SheetFormat SheetFormatOf(const std::string& path);

}  // namespace brixo
