// "sheet": the configuration sheet of random configurations as HTML and as PDF. Both tell
// every pin's and every shown aspect's description and every address of the pin overview;
// the HTML's overview is the Pin Overview's rows under the same link options; and no page
// of the PDF cuts a table row, whose header goes on with it.
#include <algorithm>

#include "app/app_state.h"
#include "app/pin_overview_source.h"
#include "cli_test_support.h"
#include "files/data_file.h"
#include "model/controller_encoding.h"
#include "model/pin_overview.h"
#include "support/random_configuration.h"
#include "support/recording_prompt.h"
#include "support/scripted_chooser.h"

namespace brixo::testing {
namespace {

// Blanks run together and trimmed: how wide a gap is, is the layout's business.
std::string Squeezed(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const bool blank = c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == '\f';
    if (!blank)
      out += c;
    else if (!out.empty() && out.back() != ' ')
      out += ' ';
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string Unescaped(std::string text) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}};
  for (const auto& [entity, character] : entities) {
    for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1))
      text.replace(at, std::string(entity).size(), character);
  }
  return text;
}

// What a browser shows: the text between the tags, a tag counting as a blank.
std::string HtmlText(const std::string& html) {
  std::string text;
  bool inTag = false;
  for (const char c : html) {
    if (c == '<') inTag = true;
    if (!inTag) text += c;
    if (c == '>' && inTag) {
      inTag = false;
      text += ' ';
    }
  }
  return Squeezed(Unescaped(text));
}

// Every table row of the page as its cells' texts.
std::vector<std::vector<std::string>> HtmlRows(const std::string& html) {
  std::vector<std::vector<std::string>> rows;
  for (size_t row = html.find("<tr>"); row != std::string::npos; row = html.find("<tr>", row + 1)) {
    const size_t end = html.find("</tr>", row);
    std::vector<std::string> cells;
    for (size_t cell = html.find("<t", row + 4); cell < end; cell = html.find("<t", cell + 1)) {
      const size_t open = html.find('>', cell) + 1;
      const size_t close = html.find("</t", open);
      cells.push_back(Unescaped(html.substr(open, close - open)));
      cell = close;
    }
    rows.push_back(cells);
  }
  return rows;
}

struct SheetCase {
  RandomConfiguration Config;
  std::vector<std::string> LinkArgs;
  bool ZeroBased = false;
  int Module = -1;  // as displayed; -1: not given
  int XAddress = -1;
};

// The text that opens and the one that closes pin p's description: a row of a table holds
// both or neither.
std::string OpenMark(int p) { return "{" + std::to_string(100 + p).substr(1); }
std::string CloseMark(int p) { return std::to_string(100 + p).substr(1) + "}"; }

// Braces are the marks' own.
std::string WithoutBraces(std::string text) {
  std::replace(text.begin(), text.end(), '{', '(');
  std::replace(text.begin(), text.end(), '}', ')');
  return text;
}

SheetCase RandomCase(unsigned seed) {
  ConfigurationDice dice(seed);
  SheetCase c;
  c.Config = dice.Configuration();
  for (int p = 0; p < kPinCount; ++p) {
    PinRecord& pin = c.Config.Model.PinTable[p];
    // Long enough to wrap in the overview's narrow column.
    pin.Description = OpenMark(p) + " " + WithoutBraces(dice.Text(24)) + " words to wrap " + CloseMark(p);
    pin.DeviceDescription = WithoutBraces(pin.DeviceDescription);
    for (AspectRecord& aspect : pin.Aspects) aspect.Description = WithoutBraces(aspect.Description);
  }
  c.ZeroBased = dice.Coin();
  const int first = c.ZeroBased ? 0 : 1;
  if (c.ZeroBased) c.LinkArgs.push_back("--zero-based");
  if (dice.Coin()) {
    c.Module = dice.Between(first, first + 15);
    c.LinkArgs.insert(c.LinkArgs.end(), {"--module", std::to_string(c.Module)});
  }
  if (dice.Coin()) {
    c.XAddress = dice.Between(first, first + 95);
    c.LinkArgs.insert(c.LinkArgs.end(), {"--xaddr", std::to_string(c.XAddress)});
  }
  return c;
}

// The Pin Overview of the window with the file loaded and the link set as the options say.
std::vector<PinOverviewRow> WindowOverview(const std::string& file, const SheetCase& c) {
  RecordingPrompt prompt;
  ScriptedChooser chooser;
  AppStateOptions options;
  options.LoadDeviceDefinitions = false;
  AppState app(prompt, chooser, options);
  app.SetStartNumberingAtOne(!c.ZeroBased);
  EXPECT_TRUE(LoadDataFileFrom(app.DataFiles(), file));
  const int offset = c.ZeroBased ? 0 : 1;
  if (c.Module >= 0) app.Addresses().CommitModuleAddressText(std::to_string(c.Module), offset);
  if (c.XAddress >= 0) {
    app.Addresses().SetExtendedAddressing(true);
    app.Addresses().CommitExtendedAddressText(std::to_string(c.XAddress), offset);
  }
  app.UpdateAddressInputs();
  PinOverview overview;
  RefreshPinOverview(app, overview);
  return overview.Rows();
}

// Every text the sheet must tell, in UTF-8: descriptions of the pins and of the aspects
// their layouts show, and the overview's addresses.
std::vector<std::string> TextsToTell(const ConfigModel& model, const std::vector<PinOverviewRow>& rows) {
  std::vector<std::string> texts;
  for (const PinRecord& pin : model.PinTable) {
    texts.push_back(pin.Description);
    for (int a = 0; a < AspectCountOf(pin.AspectConfig); ++a)
      texts.push_back(pin.Aspects[a].Description);
  }
  for (const PinOverviewRow& row : rows)
    texts.insert(texts.end(), {row.DccFirst, row.XDccFirst, row.SerialFirst, row.PinAddress});
  return texts;
}

size_t CountOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// The PDF's text page by page, as pdftotext lays it out (it ends each page with a form feed).
std::vector<std::string> PdfPages(const std::string& pdf) {
  const ProgramResult text = RunProgram("/usr/bin/pdftotext", {"-layout", pdf, "-"});
  EXPECT_EQ(text.Status, 0) << text.Err;
  std::vector<std::string> pages;
  std::stringstream stream(text.Out);
  for (std::string page; std::getline(stream, page, '\f');) pages.push_back(page);
  return pages;
}

TEST(CliSheet, HtmlAndPdfTellEveryDescriptionAndAddressAndNoPageCutsARow) {
  ScratchFolder folder;
  for (unsigned seed = 1; seed <= 8; ++seed) {
    SheetCase c = RandomCase(seed);
    const std::string file = folder / ("random" + std::to_string(seed) + ".dat");
    bool quotes = false;
    WriteText(file, ComposeDataFile(c.Config.Model, c.Config.General, c.Config.Events, false, quotes));
    const std::vector<PinOverviewRow> overview = WindowOverview(file, c);
    const std::vector<std::string> texts = TextsToTell(c.Config.Model, overview);

    std::vector<std::string> args{"sheet", file, "-o", folder / "sheet.html"};
    args.insert(args.end(), c.LinkArgs.begin(), c.LinkArgs.end());
    const ProgramResult html = RunCli(args);
    SCOPED_TRACE("seed " + std::to_string(seed) + ": " + html.Err);
    ASSERT_EQ(html.Status, 0);
    const std::string page = ReadText(folder / "sheet.html");
    const std::string shown = HtmlText(page);
    for (const std::string& text : texts) EXPECT_NE(shown.find(Squeezed(text)), std::string::npos) << text;
    const auto rows = HtmlRows(page);
    const auto header =
        std::find_if(rows.begin(), rows.end(), [](const auto& r) { return !r.empty() && r.back() == "Module.Pin"; });
    ASSERT_GE(rows.end() - header, kPinCount + 1);
    for (int p = 0; p < kPinCount; ++p) {
      const PinOverviewRow& o = overview[p];
      const std::vector<std::string> expected{o.PinText,
                                              o.Description,
                                              o.Device,
                                              o.OutputType,
                                              o.Layout,
                                              o.InitAspect,
                                              o.DccFirst,
                                              std::to_string(o.DccCount),
                                              o.XDccFirst,
                                              std::to_string(o.XDccCount),
                                              o.SerialFirst,
                                              std::to_string(o.SerialCount),
                                              o.PinAddress};
      EXPECT_EQ(header[p + 1], expected) << "pin " << o.PinText;
    }

    args[3] = folder / "sheet.pdf";
    if (seed % 2 == 0) args.insert(args.end(), {"--page", "letter"});
    const ProgramResult pdf = RunCli(args);
    ASSERT_EQ(pdf.Status, 0) << pdf.Err;
    const std::vector<std::string> pages = PdfPages(folder / "sheet.pdf");
    ASSERT_GE(pages.size(), 3u);
    std::string all;
    for (const std::string& text : pages) all += text + "\n";
    const std::string squeezed = Squeezed(all);
    for (const std::string& text : texts) EXPECT_NE(squeezed.find(Squeezed(text)), std::string::npos) << text;
    int overviewPages = 0;
    for (size_t k = 0; k < pages.size(); ++k) {
      // A time line shortens a long lane label with "…": such a line holds a mark alone.
      std::string whole;
      std::stringstream lines(pages[k]);
      for (std::string line; std::getline(lines, line);) {
        if (line.find("\u2026") == std::string::npos) whole += line + "\n";
        if (line.find("Description") != std::string::npos && line.find("Module.Pin") != std::string::npos)
          ++overviewPages;
      }
      for (int p = 0; p < kPinCount; ++p)
        EXPECT_EQ(CountOf(whole, OpenMark(p)), CountOf(whole, CloseMark(p))) << "page " << k + 1 << " pin " << p;
    }
    // The overview's rows are tall enough to go on over a page, which repeats its header.
    EXPECT_GE(overviewPages, 2);
  }
}

TEST(CliSheet, RefusesWhatItCannotWrite) {
  const struct {
    std::vector<std::string> Args;
    const char* Error;
  } refused[] = {
      {{"sheet", DataFile("demo.dat")}, "sheet needs -o OUT, a .html or .pdf file"},
      {{"sheet", DataFile("demo.dat"), "-o", "demo.txt"}, "OUT must end in .html or .pdf: demo.txt"},
      {{"sheet", DataFile("demo.dat"), "-o", "demo.html", "--page", "letter"}, "--page applies to a PDF only"},
      {{"sheet", "/nonexistent.dat", "-o", "x.html"}, "/nonexistent.dat"},
      {{"addresses", DataFile("demo.dat"), "-o", "x.html"}, "-o does not apply to addresses"},
  };
  for (const auto& c : refused) {
    const ProgramResult bad = RunCli(c.Args);
    EXPECT_EQ(bad.Status, 2) << c.Error;
    EXPECT_NE(bad.Err.find(c.Error), std::string::npos) << bad.Err;
  }
}

}  // namespace
}  // namespace brixo::testing
