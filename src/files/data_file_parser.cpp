#include "files/data_file_parser.h"

#include <string>

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
                                           const std::function<void(FileRecord&&)>& take) {
  int currentPin = 0;
  FileLine line;
  while (reader.Next(line)) {
    const TagName* match = nullptr;
    for (const TagName& tag : kDataTags) {
      if (IsTag(line.Fields[0], tag.Text)) {
        match = &tag;
        break;
      }
    }
    if (!match) continue;  // a record this reader does not know
    FileRecord record;
    record.Tag = match->Tag;
    FieldCursor fields(line);
    RecordReader in(fields, record);
    if (!ReadFields(in, record, version, currentPin) || !fields.Finish())
      return FileProblem{{}, line.Number, match->Text, fields.Reason()};
    // A value the controller cannot hold would be masked or clamped on the way to it.
    std::string unheld = RecordValueProblem(match->Tag == RecordTag::Eon ? "Eon" : match->Text, record, version, currentPin);
    if (!unheld.empty()) return FileProblem{{}, line.Number, match->Text, std::move(unheld)};
    const bool end = match->Tag == RecordTag::End;
    take(std::move(record));
    if (end) return std::nullopt;
  }
  if (reader.Broken()) return FileProblem{{}, reader.BrokenLine(), {}, reader.Reason()};
  return FileProblem{{}, 0, {}, "the file ends before \"End\""};
}

}  // namespace brixo
