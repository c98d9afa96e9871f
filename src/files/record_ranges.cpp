#include "files/record_ranges.h"

#include <optional>

#include "files/general_records.h"
#include "link/numeric_text.h"
#include "transfer/config_fields.h"

namespace brixo {

namespace {

// The number the record holds for a field, or nothing when this version of the file does
// not carry it; `valid` turns false for a field that is no number at all.
std::optional<int> ValueOf(const FileRecord& record, const FieldKindInfo& info, int index, int version,
                           bool& valid) {
  const std::vector<int>& n = record.Numbers;
  auto number = [&n](int i) -> std::optional<int> {
    if (i < 0 || i >= static_cast<int>(n.size())) return std::nullopt;
    return n[i];
  };
  auto wholeText = [&](int i) -> std::optional<int> {
    if (i >= static_cast<int>(record.Texts.size())) return std::nullopt;
    const std::optional<long> value = ParseWholeNumber(record.Texts[i]);
    if (!value || *value < -32768 || *value > 32767) {
      valid = false;
      return std::nullopt;
    }
    return static_cast<int>(*value);
  };
  switch (info.Kind) {
    // The DCC addresses are written as reals and read as texts; the options follow them.
    case FieldKind::DccAddress: return wholeText(0);
    case FieldKind::XDccAddress: return version >= 32 ? wholeText(1) : std::nullopt;
    case FieldKind::DccOptions: return version >= 23 ? number(0) : std::nullopt;
    case FieldKind::BaudRate:
      for (size_t i = 0; i < kBaudRateTexts.size(); ++i) {
        if (record.Texts[0] == kBaudRateTexts[i]) return static_cast<int>(i);
      }
      valid = false;
      return std::nullopt;
    // The bit rate is a text between the enable flag and the data bits.
    case FieldKind::DataBits:
    case FieldKind::Parity:
    case FieldKind::StopBits: return number(info.FileField - 2);
    case FieldKind::XDccCount: return version >= 32 ? number(0) : std::nullopt;
    case FieldKind::DccCount:
    case FieldKind::SerialCount: return number(info.FileField - (version >= 32 ? 1 : 2));
    default: return number(info.FileField - 1 + index);
  }
}

RangeContext ContextOf(std::string_view tag, const FileRecord& record, int version) {
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

}  // namespace

std::string RecordValueProblem(std::string_view tag, const FileRecord& record, int version, int pin) {
  const RangeContext context = ContextOf(tag, record, version);
  for (const FieldKindInfo& info : FieldKinds()) {
    if (info.IsText || tag != info.FileTag) continue;
    for (int i = 0; i < info.Count; ++i) {
      bool valid = true;
      const std::optional<int> value = ValueOf(record, info, i, version, valid);
      if (!valid) return std::string(info.Label) + " is not a value a controller holds";
      if (!value) continue;
      // Older files do not say whether native mode is on; the loader ignores the value.
      if (info.Kind == FieldKind::FlexValue && !context.FlexFlag && version < 3100) continue;
      const FieldId id{info.Kind, static_cast<int8_t>(pin), static_cast<int8_t>(info.Count > 1 ? i : -1)};
      if (!FieldRangeOf(id, context).Accepts(*value - info.FileBias)) {
        const std::string label = info.Count > 1 ? std::string(info.Label) + " " + std::to_string(i) : info.Label;
        return label + " " + std::to_string(*value) + " is not a value a controller holds";
      }
    }
  }
  return {};
}

}  // namespace brixo
