#pragma once
// Every difference between the editor's configuration and another one, a row per field as
// the editor shows it: where the field sits, its caption, both values in the editor's
// numbers and words. Built from a comparison with the controller ("Compare", Verify) or
// from two configurations side by side (the editor and a file, two files); the report, the
// CLI's lines and the window's table all read a difference from here, in one wording.
#include <string>
#include <vector>

#include "transfer/config_fields.h"
#include "transfer/verification_report.h"

namespace brixo {

struct DifferenceRow {
  FieldId Field;
  std::string Place;    // "pin 10 aspect 2 step 1", "DCC Settings"
  std::string Caption;  // "Level"; "P.O. / Delta" when the two sides caption it apart
  std::string Mine;     // the editor's (or the first file's) value as the editor shows it
  std::string Theirs;   // the other side's value, shown the same way
  bool Text = false;    // a text field: its values are texts as they stand
  // The other side has a value of the field's kind that the editor can take; false for a
  // reply that could not be read and for bytes no box of the editor can show.
  bool Takeable = true;
  FieldSetting TheirSetting;
  bool Ticked = true;
};

// What each side is called in the lines: "file" and "controller", "A" and "B".
struct SideNames {
  std::string Mine;
  std::string Theirs;
};
inline const SideNames kFileAndController{"file", "controller"};

// A comparison's differences, in its order. `mine` is the configuration it compared.
std::vector<DifferenceRow> DifferenceRows(const std::vector<Difference>& differences, const ConfigurationRef& mine);
// The fields in which `theirs` differs from `mine`, in the field table's order, each field
// that either configuration holds (in its file) once.
std::vector<DifferenceRow> DifferenceRows(const ConfigurationRef& mine, const ConfigurationRef& theirs);

// "pin 10 aspect 2 step 1 Level: file 40, controller 41"; texts between < and >.
std::string DifferenceLine(const DifferenceRow& row, const SideNames& sides = kFileAndController);
std::vector<std::string> DifferenceLines(const std::vector<DifferenceRow>& rows,
                                         const SideNames& sides = kFileAndController);

// The other side's values of the ticked rows that the editor can take.
std::vector<FieldSetting> TickedSettings(const std::vector<DifferenceRow>& rows);
std::vector<FieldId> TickedFields(const std::vector<DifferenceRow>& rows);

}  // namespace brixo
