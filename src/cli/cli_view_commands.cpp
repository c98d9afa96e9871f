// Commands that show what a data file holds without a controller: every pin's addresses,
// an aspect's program in words and on a time line, and the configuration sheet.
#include <cstdio>
#include <filesystem>

#include "app/configuration_sheet.h"
#include "app/pin_overview_source.h"
#include "cli/cli_commands.h"
#include "files/file_io.h"
#include "files/qt_sheet_pages.h"
#include "files/sheet_html.h"
#include "model/controller_encoding.h"
#include "model/program_words.h"
#include "model/time_line.h"

namespace brixo {

int RunAddresses(CliSession& s) {
  if (int status = CheckAddressOptions(s)) return status;
  if (int status = LoadInput(s, s.Options.Arguments[0])) return status;
  ApplyAddressOptions(s);
  s.App.UpdateAddressInputs();
  PinOverview overview;
  RefreshPinOverview(s.App, overview);
  if (!s.Options.Csv) {
    PrintOut(AddressesTable(overview.Rows()));
    return kExitOk;
  }
  // The CSV keeps the CR LF line ends RFC 4180 gives it.
  const std::string csv = AddressesCsv(overview.Rows());
  std::fwrite(csv.data(), 1, csv.size(), stdout);
  std::fflush(stdout);
  return kExitOk;
}

int RunProgram(CliSession& s) {
  const std::vector<std::string>& args = s.Options.Arguments;
  if (int status = LoadInput(s, args[0])) return status;
  int pin = 0;
  if (int status = PinArgument(s, args[1], pin)) return status;
  const ConfigModel& model = s.App.Model();
  const int aspects = AspectCountOf(model.PinTable[pin].AspectConfig);
  if (aspects == 0) return UsageError(s, "pin " + args[1] + " has no aspects (layout 0)");
  int aspect = 0;
  if (int status = NumberArgument(s, "aspect", args[2], 0, aspects - 1, aspect)) return status;
  PrintOut(ProgramText(AspectInWords(model, pin, aspect)));
  if (s.Options.SvgPath.empty()) return kExitOk;
  const bool saved = SaveComposedFile(s.Prompt, s.Options.SvgPath, TimeLineSvg(LayOutTimeLine(model, pin, aspect)), false);
  return saved ? kExitOk : kExitUsage;
}

int RunSheet(CliSession& s) {
  const std::string& out = s.Options.OutputPath;
  if (out.empty()) return UsageError(s, "sheet needs -o OUT, a .html or .pdf file");
  const SheetFormat format = SheetFormatOf(out);
  if (format == SheetFormat::Unknown) return UsageError(s, "OUT must end in .html or .pdf: " + out);
  if ((s.Options.FlagsGiven & kFlagPage) && format != SheetFormat::Pdf)
    return UsageError(s, "--page applies to a PDF only");
  if (int status = CheckAddressOptions(s)) return status;
  const std::string& file = s.Options.Arguments[0];
  if (int status = LoadInput(s, file)) return status;
  ApplyAddressOptions(s);
  const SheetDocument sheet =
      BuildConfigurationSheet(s.App, {std::filesystem::path(file).filename().string(), TodayText()});
  std::string content;
  if (format == SheetFormat::Html) {
    content = SheetHtml(sheet);
  } else {
    std::optional<std::string> pdf = SheetPdf(sheet, s.Options.PageSize);
    if (!pdf) {
      std::fprintf(stderr, "brixo-cli: could not make the PDF\n");
      return kExitFailed;
    }
    content = std::move(*pdf);
  }
  return SaveComposedFile(s.Prompt, out, content, false) ? kExitOk : kExitUsage;
}

}  // namespace brixo
