#include "files/record_ranges.h"

#include <optional>
#include <vector>

#include "files/field_reader.h"
#include "files/general_records.h"
#include "link/numeric_text.h"
#include "transfer/config_fields.h"

namespace brixo {

namespace {

// Where a field sits among the record's fields (1-based, after the tag), or nothing when
// this version of the file does not carry it.
std::optional<int> FilePlaceOf(const FieldKindInfo& info, int index, int version) {
  switch (info.Kind) {
    case FieldKind::XDccAddress: return version >= 32 ? std::optional<int>(2) : std::nullopt;
    case FieldKind::DccOptions:
      if (version < 23) return std::nullopt;
      return version >= 32 ? 3 : 2;
    // Before version 32 "PAM" has no extended count: the other two move up.
    case FieldKind::XDccCount: return version >= 32 ? std::optional<int>(1) : std::nullopt;
    case FieldKind::DccCount:
    case FieldKind::SerialCount: return info.FileField - (version >= 32 ? 0 : 1);
    default: return info.FileField + index;
  }
}

// How many of the record's fields before `place` are texts: numbers and texts are kept apart.
int TextsBefore(std::string_view tag, int place) {
  if (tag == "DCC") return place - 1 < 2 ? place - 1 : 2;  // the addresses are written as reals, read as texts
  if (tag == "SPC") return place > 2 ? 1 : 0;            // the bit rate, between enable and data bits
  return 0;
}

// The number the record holds for a field, or nothing when this version of the file does
// not carry it; `text` is set instead for a field the record keeps as a text that is not
// a number the field can take.
std::optional<int> ValueOf(std::string_view tag, const FileRecord& record, const FieldKindInfo& info, int index,
                           int version, std::optional<std::string>& text) {
  const std::optional<int> place = FilePlaceOf(info, index, version);
  if (!place) return std::nullopt;
  switch (info.Kind) {
    case FieldKind::DccAddress:
    case FieldKind::XDccAddress: {
      const std::string& written = record.Texts[static_cast<size_t>(*place - 1)];
      const std::optional<long> value = ParseWholeNumber(written);
      if (!value || *value < -32768 || *value > 32767) {
        text = written;
        return std::nullopt;
      }
      return static_cast<int>(*value);
    }
    case FieldKind::BaudRate:
      for (size_t i = 0; i < kBaudRateTexts.size(); ++i) {
        if (record.Texts[0] == kBaudRateTexts[i]) return static_cast<int>(i);
      }
      text = record.Texts[0];
      return std::nullopt;
    default: {
      const int at = *place - 1 - TextsBefore(tag, *place);
      if (at < 0 || at >= static_cast<int>(record.Numbers.size())) return std::nullopt;
      return record.Numbers[static_cast<size_t>(at)];
    }
  }
}

RangeContext ContextOf(std::string_view tag, const FileRecord& record) {
  const std::vector<int>& n = record.Numbers;
  RangeContext context;
  if (tag == "XAD") context.FlexFlag = n[1] == 1;
  if (tag == "Cfg") context.OutputType = n[0];
  if (tag == "Ins") {
    // As the loader splits it: codes 19..63 carry the fade flag in bit 4.
    const int code = n[1];
    context.Instruction = code >= 19 && code <= 63 ? code & ~16 : code;
  }
  return context;
}

// "0 to 95 and 127": the values a controller holds, as the file writes them.
std::string HeldText(const FieldRange& range, int bias) {
  std::string text;
  for (size_t i = 0; i < range.Held.size(); ++i) {
    const ValueSpan& span = range.Held[i];
    if (i > 0) text += i + 1 == range.Held.size() ? " and " : ", ";
    text += std::to_string(span.Min + bias);
    if (span.Max > span.Min) text += " to " + std::to_string(span.Max + bias);
  }
  return text;
}

// Why the file's number for the field is refused, the bounds as the file writes them.
std::string OutsideText(const std::string& name, int number, const FieldRange& range, int bias) {
  const std::string value = std::to_string(number);
  if (number - bias > range.Highest()) return RefusedValueText(name, value, "above " + std::to_string(range.Highest() + bias));
  if (number - bias < range.Lowest()) return RefusedValueText(name, value, "below " + std::to_string(range.Lowest() + bias));
  return RefusedValueText(name, value, "not a value a controller holds (it holds " + HeldText(range, bias) + ")");
}

}  // namespace

std::string RecordFieldName(std::string_view tag, int place, int version) {
  for (const FieldKindInfo& info : FieldKinds()) {
    if (tag != info.FileTag) continue;
    for (int i = 0; i < info.Count; ++i) {
      if (FilePlaceOf(info, i, version) != place) continue;
      return FieldLabel({info.Kind, -1, static_cast<int8_t>(info.Count > 1 ? i : -1)});
    }
  }
  return {};
}

std::string RecordValueProblem(std::string_view tag, const FileRecord& record, int version, int pin) {
  const RangeContext context = ContextOf(tag, record);
  for (const FieldKindInfo& info : FieldKinds()) {
    if (info.IsText || tag != info.FileTag) continue;
    for (int i = 0; i < info.Count; ++i) {
      const FieldId id{info.Kind, static_cast<int8_t>(pin), static_cast<int8_t>(info.Count > 1 ? i : -1)};
      std::optional<std::string> text;
      const std::optional<int> value = ValueOf(tag, record, info, i, version, text);
      if (text) return RefusedValueText(FieldLabel(id), *text, "not a value a controller holds");
      if (!value) continue;
      // Older files do not say whether native mode is on; the loader ignores the value.
      if (info.Kind == FieldKind::FlexValue && !context.FlexFlag && version < 3100) continue;
      const FieldRange range = FieldRangeOf(id, context);
      if (!range.Accepts(*value - info.FileBias)) return OutsideText(FieldLabel(id), *value, range, info.FileBias);
    }
  }
  return {};
}

}  // namespace brixo
