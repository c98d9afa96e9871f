#include "transfer/difference_table.h"

#include "transfer/field_changes.h"

namespace brixo {

namespace {

constexpr const char* kNoValidResponse = "no valid response";

bool IsText(const FieldId& id) { return InfoOf(id.Kind).IsText; }

// The controller's side of a difference as a value the editor can hold; nothing when the
// reply had none (unreadable) or bytes of no known form ("byte 16", "missing").
bool TheirSetting(const Difference& d, FieldSetting& setting) {
  if (d.NoValidReply || (!IsText(d.Field) && !d.ControllerText.empty())) return false;
  setting = {d.Field, d.ControllerValue, d.ControllerText};
  return true;
}

std::string CaptionOf(const FieldId& id, const ConfigurationRef& mine, const ConfigurationRef& theirs) {
  const std::string caption = FieldCaption(id, mine);
  const std::string other = FieldCaption(id, theirs);
  return other == caption ? caption : caption + " / " + other;
}

DifferenceRow RowOf(const FieldId& id, const ConfigurationRef& mine, const ConfigurationRef& theirs) {
  DifferenceRow row;
  row.Field = id;
  row.Place = FieldPlace(id, mine);
  row.Caption = CaptionOf(id, mine, theirs);
  row.Mine = ShownFieldValue(id, mine);
  row.Theirs = ShownFieldValue(id, theirs);
  row.Text = IsText(id);
  row.TheirSetting = {id, FieldValue(id, theirs), row.Text ? FieldText(id, theirs) : std::string{}};
  // Bytes that the editor's boxes show alike (a servo range beyond "XL", a marker bit)
  // still differ: the stored values tell them apart.
  if (row.Mine == row.Theirs && !row.Text) {
    row.Mine += " (stored " + std::to_string(FieldValue(id, mine)) + ")";
    row.Theirs += " (stored " + std::to_string(row.TheirSetting.Value) + ")";
  }
  return row;
}

}  // namespace

std::vector<DifferenceRow> DifferenceRows(const std::vector<Difference>& differences, const ConfigurationRef& mine) {
  // Both sides as the editor would hold them: the editor with the values the comparison
  // took for it (a write's form: an enforced extended address sends none of the boxes),
  // and with the controller's values, so that each is shown by its own instruction,
  // output type and flags.
  std::vector<FieldSetting> ours;
  std::vector<FieldSetting> theirs;
  std::vector<bool> takeable;
  takeable.reserve(differences.size());
  for (const Difference& d : differences) {
    if (!IsText(d.Field) && !d.NoValidReply && d.FileText.empty() && d.FileValue != FieldValue(d.Field, mine))
      ours.push_back({d.Field, d.FileValue, {}});
    FieldSetting setting;
    takeable.push_back(TheirSetting(d, setting));
    if (takeable.back()) theirs.push_back(setting);
  }
  Configuration mineSide = CopyOf(mine);
  SetFieldValues(ours, mineSide);
  Configuration theirSide = mineSide;
  SetFieldValues(theirs, theirSide);

  std::vector<DifferenceRow> rows;
  rows.reserve(differences.size());
  for (size_t i = 0; i < differences.size(); ++i) {
    const Difference& d = differences[i];
    DifferenceRow row = RowOf(d.Field, mineSide.Ref(), theirSide.Ref());
    row.Takeable = takeable[i];
    if (!row.Takeable) {
      row.Caption = FieldCaption(d.Field, mineSide.Ref());
      row.Mine = ShownFieldValue(d.Field, mineSide.Ref());
      row.Theirs = d.NoValidReply ? kNoValidResponse : d.ControllerText;
    } else {
      row.TheirSetting = {d.Field, d.ControllerValue, d.ControllerText};
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<DifferenceRow> DifferenceRows(const ConfigurationRef& mine, const ConfigurationRef& theirs) {
  std::vector<DifferenceRow> rows;
  // What one side does not hold (steps beyond its layout, bytes beyond its output type, an
  // enable map it does not know) is no difference: its layout, type or map is.
  for (const FieldId& id : ChangedFields(theirs, mine)) {
    if (FieldInFile(id, mine) && FieldInFile(id, theirs)) rows.push_back(RowOf(id, mine, theirs));
  }
  return rows;
}

std::string DifferenceLine(const DifferenceRow& row, const SideNames& sides) {
  const std::string label = row.Caption == row.Place ? row.Caption : row.Place + " " + row.Caption;
  const auto shown = [&row](const std::string& value, bool isValue) {
    return row.Text && isValue ? "<" + value + ">" : value;
  };
  return label + ": " + sides.Mine + " " + shown(row.Mine, true) + ", " + sides.Theirs + " " +
         shown(row.Theirs, row.Takeable);
}

std::vector<std::string> DifferenceLines(const std::vector<DifferenceRow>& rows, const SideNames& sides) {
  std::vector<std::string> lines;
  lines.reserve(rows.size());
  for (const DifferenceRow& row : rows) lines.push_back(DifferenceLine(row, sides));
  return lines;
}

std::vector<FieldSetting> TickedSettings(const std::vector<DifferenceRow>& rows) {
  std::vector<FieldSetting> settings;
  for (const DifferenceRow& row : rows) {
    if (row.Ticked && row.Takeable) settings.push_back(row.TheirSetting);
  }
  return settings;
}

std::vector<FieldId> TickedFields(const std::vector<DifferenceRow>& rows) {
  std::vector<FieldId> fields;
  for (const DifferenceRow& row : rows) {
    if (row.Ticked) fields.push_back(row.Field);
  }
  return fields;
}

}  // namespace brixo
