#include "files/data_file_parser.h"

#include <string>
#include <utility>

#include "files/data_file.h"
#include "files/pin_group_records.h"
#include "files/record_ranges.h"
#include "files/record_reader.h"
#include "link/numeric_text.h"
#include "transfer/general_settings_encoding.h"

namespace brixo {
namespace {

struct TagName {
  const char* Text;
  RecordTag Tag;
};

// In the order the reader compares them; "Evt" is an old name of "Eon". "Ena" (the initial
// event enable map) and "IDB" (the identification string's bytes, when "ID$" cannot carry
// them) follow the "Eof" records; readers that do not know them skip their lines.
constexpr TagName kDataTags[] = {
    {"End", RecordTag::End}, {"ID$", RecordTag::IdString}, {"DCC", RecordTag::Dcc}, {"XAD", RecordTag::Xad},
    {"HWC", RecordTag::Hwc}, {"LED", RecordTag::Led},      {"SPC", RecordTag::Spc}, {"Evt", RecordTag::Eon},
    {"Eon", RecordTag::Eon}, {"Eof", RecordTag::Eof},      {"Ena", RecordTag::Ena}, {"IDB", RecordTag::IdBytes},
    {"Pin", RecordTag::Pin}, {"Dev", RecordTag::Dev},      {"PAM", RecordTag::Pam}, {"Cfg", RecordTag::Cfg},
    {"Asp", RecordTag::Asp}, {"Ins", RecordTag::Ins},
};

constexpr long kInt16Min = RecordReader::kInt16Min;
constexpr long kInt16Max = RecordReader::kInt16Max;

// Bytes of "Cfg" after byte 0, by OutputType and file version.
int OutputConfigTail(int outputType, int version) {
  if ((outputType == 2 || outputType == 3) && version < 20) return 3;
  return OutputConfigBytesOf(outputType) - 1;
}

// The fields that say where a record belongs are the record's own; the rest are fields of
// the configuration, named as the field table names them.
std::string DataFieldName(std::string_view tag, int place, int version) {
  if (place == 1) {
    if (tag == "Pin") return "pin number";
    if (tag == "Asp") return "aspect number";
    if (tag == "Ins") return "step number";
    if (tag == "Eon" || tag == "Eof" || tag == "Evt") return "event pin";
    if (tag == "IDB") return "character count";
  }
  if (tag == "IDB") return "character " + std::to_string(place - 1);
  return RecordFieldName(tag == "Evt" ? "Eon" : tag, place, version);
}

bool ReadFields(RecordReader& in, FileRecord& record, int version, int& currentPin) {
  switch (record.Tag) {
    case RecordTag::IdString:
      return in.Text();
    case RecordTag::Dcc:
      return in.Text() && (version < 32 || in.Text()) && (version < 23 || in.Int16s(1));
    case RecordTag::Xad:
      return in.Bytes(1) && in.Int16s(1) && in.Bytes(1) && in.Int16s(4);
    case RecordTag::Hwc:
      return in.Int16s(4);
    case RecordTag::Led:
      return in.Int16s(2);
    case RecordTag::Spc:
      return in.Int16s(1) && in.Text() && in.Int16s(3);
    case RecordTag::Eon:
    case RecordTag::Eof:
      // The file holds each action plus one; the value minus one must still fit.
      return in.Numbers(1, 0, kPinCount - 1) && in.Numbers(4, kInt16Min + 1, kInt16Max);
    case RecordTag::Ena:
      return in.Bytes(2);
    case RecordTag::IdBytes:
      // The count, then one seven-bit character code each, as the controller holds them.
      return in.Numbers(1, 1, kIdStringLength) && in.Numbers(record.Numbers[0], 0, 127);
    case RecordTag::Pin:
      if (!in.Numbers(1, 0, kPinCount - 1)) return false;
      currentPin = record.Numbers[0];
      return in.Bytes(2) && in.Text();
    case RecordTag::Dev:
      // The head must be one of the pins, or every later look-up of it would miss the table.
      return in.Numbers(1, -currentPin, kPinCount - 1 - currentPin) && in.Text();
    case RecordTag::Pam:
      return in.Bytes(version >= 32 ? 3 : 2);
    case RecordTag::Cfg:
      return in.Bytes(1) && in.Bytes(OutputConfigTail(record.Numbers[0], version));
    case RecordTag::Asp:
      return in.AspectFields();
    case RecordTag::Ins:
      return in.StepFields();
    default:
      return true;
  }
}

// Which parts of the current pin the pin group records have set since its "Pin", so that a
// record landing on a part already set shows that a "Pin" between them was not read.
class PinGroupLandings {
 public:
  // True when the record lands where an earlier record of the pin landed, or before any "Pin".
  bool Lands(const FileRecord& record) {
    const std::vector<int>& n = record.Numbers;
    switch (record.Tag) {
      case RecordTag::Pin:
        *this = PinGroupLandings{};
        pinSeen_ = true;
        return false;
      case RecordTag::Dev: return Note(device_);
      case RecordTag::Cfg: return Note(output_);
      case RecordTag::Pam: return Note(counts_);
      case RecordTag::Asp: {
        aspect_ = n[0];
        const bool again = NoteBit(aspects_, n[0]);
        steps_ = 0;
        return again;
      }
      case RecordTag::Ins: return NoteBit(steps_, n[0]);
      default: return false;
    }
  }
  // The aspect the steps go to.
  int Aspect() const { return aspect_; }
  static bool InPinGroup(RecordTag tag) {
    return tag == RecordTag::Dev || tag == RecordTag::Cfg || tag == RecordTag::Pam || tag == RecordTag::Asp ||
           tag == RecordTag::Ins;
  }

 private:
  bool Note(bool& seen) { return std::exchange(seen, true) || !pinSeen_; }
  bool NoteBit(unsigned& bits, int index) {
    const unsigned bit = 1u << index;
    const bool again = (bits & bit) != 0;
    bits |= bit;
    return again || !pinSeen_;
  }

  bool pinSeen_ = false;
  bool device_ = false;
  bool output_ = false;
  bool counts_ = false;
  unsigned aspects_ = 0;
  unsigned steps_ = 0;
  int aspect_ = 0;
};

}  // namespace

bool IsDataFileHeader(std::string_view firstField) {
  const std::string_view keyword = kDataFileKeyword;
  return firstField.size() == keyword.size() + 5 && firstField.substr(0, keyword.size()) == keyword;
}

int DataFileVersionOf(std::string_view firstField) {
  const double value = NumericValue(firstField.substr(firstField.size() - 4));
  return static_cast<int>(value);
}

std::optional<FileProblem> ReadDataFileHeader(LineReader& reader, int& version) {
  FileLine line;
  if (!reader.Next(line)) {
    if (reader.Broken()) return FileProblem{{}, reader.BrokenLine(), {}, reader.Reason()};
    return FileProblem{{}, 0, {}, "the file is empty"};
  }
  if (!IsDataFileHeader(line.Fields[0].Text)) {
    return FileProblem{{}, line.Number, {}, "not a configuration file (it begins with no \"" +
                                                std::string(kDataFileKeyword) + " \" and a version)"};
  }
  if (line.Fields.size() > 1) return FileProblem{{}, line.Number, {}, "more than the header on its line"};
  version = DataFileVersionOf(line.Fields[0].Text);
  return std::nullopt;
}

std::optional<FileProblem> ReadDataRecords(LineReader& reader, int version, std::vector<FileRecord>& records) {
  return ReadDataRecords(reader, version, [&records](FileRecord&& record) { records.push_back(std::move(record)); });
}

std::optional<FileProblem> ReadDataRecords(LineReader& reader, int version,
                                           const std::function<void(FileRecord&&)>& take,
                                           std::vector<SkippedLineWarning>* warnings) {
  int currentPin = 0;
  PinGroupLandings landings;
  std::optional<SkippedLineWarning> skipped;  // the unknown line right before, if any
  FileLine line;
  while (reader.Next(line)) {
    const TagName* match = nullptr;
    for (const TagName& tag : kDataTags) {
      if (IsTag(line.Fields[0], tag.Text)) {
        match = &tag;
        break;
      }
    }
    if (!match) {  // a record this reader does not know
      if (!skipped) skipped = SkippedLineWarning{line.Number, line.Fields[0].Text, 0, 0};
      continue;
    }
    FileRecord record;
    record.Tag = match->Tag;
    FieldCursor fields(line, [tag = match->Text, version](int place) { return DataFieldName(tag, place, version); });
    RecordReader in(fields, record);
    if (!ReadFields(in, record, version, currentPin) || !fields.Finish())
      return FileProblem{{}, line.Number, match->Text, fields.Reason()};
    // A value the controller cannot hold would be masked or clamped on the way to it.
    std::string unheld = RecordValueProblem(match->Tag == RecordTag::Eon ? "Eon" : match->Text, record, version, currentPin);
    if (!unheld.empty()) return FileProblem{{}, line.Number, match->Text, std::move(unheld)};
    const bool lands = landings.Lands(record);
    if (skipped && lands && warnings != nullptr) {
      skipped->LandingLine = line.Number;
      skipped->Pin = currentPin;
      if (record.Tag == RecordTag::Ins) skipped->Aspect = landings.Aspect();
      warnings->push_back(*skipped);
    }
    // A skip counts only for the pin group records right behind it.
    if (lands || !PinGroupLandings::InPinGroup(record.Tag)) skipped.reset();
    const bool end = match->Tag == RecordTag::End;
    take(std::move(record));
    if (end) return std::nullopt;
  }
  if (reader.Broken()) return FileProblem{{}, reader.BrokenLine(), {}, reader.Reason()};
  return FileProblem{{}, 0, {}, "the file ends before \"End\""};
}

}  // namespace brixo
