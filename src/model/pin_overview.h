#pragma once
// The pin overview: one row per pin with its description, device, output type, aspect
// layout, initial aspect and the first address of each kind exactly as the pin editor's
// labels show them for that pin, with the counts beside them and a changed mark. The
// overview window and `brixo-cli addresses` show these rows; the window's filter and sort
// order live here too.
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "model/address_labels.h"
#include "model/pin_model.h"

namespace brixo {

struct PinOverviewRow {
  int Pin = 0;              // internal number
  std::string PinText;      // as displayed
  std::string Description;  // the texts as the core keeps them (Latin-1)
  std::string Device;       // "1 Signal A" (head pin and device name); empty: in no device
  std::string OutputType;   // in words: "servo", "PWM output, inverted"
  std::string Layout;       // "0", "4" or "12"
  std::string InitAspect;   // as the editor shows it: "-1" for none; "-" without aspects
  std::string DccFirst = "-";
  int DccCount = 0;
  std::string XDccFirst = "-";
  int XDccCount = 0;
  std::string SerialFirst = "-";
  int SerialCount = 0;
  std::string PinAddress = "-";
  bool Changed = false;  // differs from the baseline
  // Every address the pin answers to, as inclusive ranges, for the number filter.
  std::vector<std::pair<int, int>> AddressRanges;
};

// The columns of the overview, in the window's order.
enum class OverviewColumn {
  Pin,
  Description,
  Device,
  OutputType,
  Layout,
  InitAspect,
  DccFirst,
  DccCount,
  XDccFirst,
  XDccCount,
  SerialFirst,
  SerialCount,
  PinAddress,
  Changed,
};
inline constexpr int kOverviewColumnCount = 14;

// The window's column captions.
const char* OverviewColumnCaption(OverviewColumn column);

// The rows of all pins, in pin order. `in` gives the link and General settings the
// addresses depend on (its CurrentPin is not used); `changed` marks the pins that differ
// from the baseline.
std::vector<PinOverviewRow> BuildPinOverview(const ConfigModel& model, const AddressInputs& in,
                                             const std::array<bool, kPinCount>& changed = {});

// A filter as typed: empty matches every row; a whole number matches the pins that answer
// to it (any address of any kind); any other text matches descriptions and device names,
// letter case aside.
bool RowMatchesFilter(const PinOverviewRow& row, const std::string& filter);

// Sorts by a column (numbers as numbers, "-" after them, texts without regard to letter
// case); rows that compare equal stay in pin order.
void SortRows(std::vector<PinOverviewRow>& rows, OverviewColumn column, bool ascending);

// The window's state: what it shows after filtering and sorting.
class PinOverview {
 public:
  void Refresh(const ConfigModel& model, const AddressInputs& in, const std::array<bool, kPinCount>& changed);
  void SetFilter(const std::string& filter);
  // A click on a column's caption: sorts by it, or turns the order round when it already does.
  void SortBy(OverviewColumn column);

  const std::string& Filter() const { return filter_; }
  OverviewColumn SortColumn() const { return column_; }
  bool Ascending() const { return ascending_; }
  // The rows shown, filtered and sorted.
  const std::vector<PinOverviewRow>& Rows() const { return shown_; }

 private:
  void Arrange();

  std::vector<PinOverviewRow> all_;
  std::vector<PinOverviewRow> shown_;
  std::string filter_;
  OverviewColumn column_ = OverviewColumn::Pin;
  bool ascending_ = true;
};

// `brixo-cli addresses --csv`: a header line, then one line per row, fields quoted as
// RFC 4180 asks; texts in UTF-8.
inline constexpr const char* kAddressesCsvHeader =
    "pin,description,device,dcc_first,dcc_count,xdcc_first,xdcc_count,serial_first,serial_count,pin_address";
std::string AddressesCsv(const std::vector<PinOverviewRow>& rows);
// One CSV field: quoted when it holds a comma, a quote, CR or LF, its quotes doubled.
std::string CsvField(const std::string& text);

// `brixo-cli addresses`: the rows as a table in aligned columns, texts in UTF-8.
std::string AddressesTable(const std::vector<PinOverviewRow>& rows);

}  // namespace brixo
