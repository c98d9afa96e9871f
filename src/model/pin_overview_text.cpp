// The overview's rows as text for other programs: CSV and an aligned table.
#include <algorithm>
#include <array>

#include "model/numeric_text.h"
#include "model/pin_overview.h"

namespace brixo {

namespace {

constexpr int kTableColumns = 13;

// Characters a terminal shows for a UTF-8 text: every byte but the continuation bytes.
size_t ShownWidth(const std::string& text) {
  return static_cast<size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::array<std::string, kTableColumns> TableCells(const PinOverviewRow& row) {
  return {row.PinText,
          row.Description,
          row.Device,
          row.OutputType,
          row.Layout,
          row.InitAspect,
          row.DccFirst,
          NumberText(row.DccCount),
          row.XDccFirst,
          NumberText(row.XDccCount),
          row.SerialFirst,
          NumberText(row.SerialCount),
          row.PinAddress};
}

}  // namespace

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

std::string AddressesCsv(const std::vector<PinOverviewRow>& rows) {
  // RFC 4180 ends every record with CR LF.
  std::string text = std::string(kAddressesCsvHeader) + "\r\n";
  for (const PinOverviewRow& row : rows) {
    const std::string fields[] = {row.PinText,
                                  CsvField(row.Description),
                                  CsvField(row.Device),
                                  row.DccFirst,
                                  NumberText(row.DccCount),
                                  row.XDccFirst,
                                  NumberText(row.XDccCount),
                                  row.SerialFirst,
                                  NumberText(row.SerialCount),
                                  row.PinAddress};
    std::string line;
    for (const std::string& field : fields) line += (line.empty() ? "" : ",") + field;
    text += line + "\r\n";
  }
  return text;
}

std::string AddressesTable(const std::vector<PinOverviewRow>& rows) {
  std::array<std::string, kTableColumns> header;
  for (int c = 0; c < kTableColumns; ++c) header[c] = OverviewColumnCaption(static_cast<OverviewColumn>(c));
  std::vector<std::array<std::string, kTableColumns>> cells{header};
  for (const PinOverviewRow& row : rows) cells.push_back(TableCells(row));
  std::array<size_t, kTableColumns> widths{};
  for (const auto& line : cells) {
    for (int c = 0; c < kTableColumns; ++c) widths[c] = std::max(widths[c], ShownWidth(line[c]));
  }
  std::string text;
  for (const auto& line : cells) {
    std::string out;
    for (int c = 0; c < kTableColumns; ++c) {
      out += line[c];
      if (c + 1 < kTableColumns) out += std::string(widths[c] - ShownWidth(line[c]) + 2, ' ');
    }
    out.erase(out.find_last_not_of(' ') + 1);
    text += out + "\n";
  }
  return text;
}

}  // namespace brixo
