#include "files/device_file_parser.h"

#include "files/device_library.h"
#include "files/record_ranges.h"
#include "files/record_reader.h"
#include "model/pin_model.h"

namespace brixo {
namespace {

struct TagName {
  const char* Text;
  RecordTag Tag;
};

// The data file version whose pin group records the definitions' records match.
constexpr int kDefinitionsVersion = 3100;

// "Dev" starts a device and carries only its name here.
constexpr TagName kDefinitionTags[] = {{"Dev", RecordTag::Dev}, {"End", RecordTag::End}, {"Pin", RecordTag::Pin},
                                       {"Pab", RecordTag::Pab}, {"PAM", RecordTag::Pam}, {"Cfg", RecordTag::Cfg},
                                       {"Asp", RecordTag::Asp}, {"Ins", RecordTag::Ins}};

bool ReadOutputConfig(RecordReader& in, FileRecord& record) {
  if (!in.Bytes(1)) return false;
  switch (record.Numbers[0]) {
    case 1:
      return in.Bytes(11);
    case 2:
      // Older definitions stop after byte 3; bytes 4 and 5 then keep their values.
      return in.Bytes(3) && in.OptionalBytes(2);
    case 3:
      // Hand-written definitions may give only the type; whatever bytes follow it are
      // taken, and the rest keep their values.
      return in.LeadingBytes(5);
    case 4:
    case 5:
      return in.LeadingBytes(4);
    default:
      return true;
  }
}

// A definitions record holds the fields of a data file's pin group in today's form; "Pin"
// places its pin from the device's first pin, "Pab" from pin 0.
std::string DefinitionFieldName(std::string_view tag, int place) {
  if (tag == "Dev") return place == 1 ? "device name" : std::string();
  if (place == 1) {
    if (tag == "Pin") return "pin offset from the device's first pin";
    if (tag == "Pab") return "pin number";
    if (tag == "Asp") return "aspect number";
    if (tag == "Ins") return "step number";
  }
  return RecordFieldName(tag == "Pab" ? "Pin" : tag, place, kDefinitionsVersion);
}

bool ReadFields(RecordReader& in, FileRecord& record) {
  switch (record.Tag) {
    case RecordTag::Dev:
      return in.Text();
    case RecordTag::Pin:
      return in.Int16s(1) && in.Bytes(2) && in.Text();
    case RecordTag::Pab:
      return in.Bytes(3) && in.Text();
    case RecordTag::Pam:
      return in.Bytes(3);
    case RecordTag::Cfg:
      return ReadOutputConfig(in, record);
    case RecordTag::Asp:
      return in.AspectFields();
    case RecordTag::Ins:
      return in.StepFields();
    default:
      return true;
  }
}

// What the next known record is, read and checked; false at the end of the text or at a
// problem (`problem` then holds it; its Reason stays empty at the mere end).
bool NextRecord(LineReader& reader, FileRecord& record, FileProblem& problem) {
  FileLine line;
  while (reader.Next(line)) {
    const TagName* match = nullptr;
    for (const TagName& tag : kDefinitionTags) {
      if (IsTag(line.Fields[0], tag.Text)) {
        match = &tag;
        break;
      }
    }
    if (!match) continue;  // a record this reader does not know
    record = FileRecord{};
    record.Tag = match->Tag;
    FieldCursor fields(line, [tag = match->Text](int place) { return DefinitionFieldName(tag, place); });
    RecordReader in(fields, record);
    if (!ReadFields(in, record) || !fields.Finish()) {
      problem = {{}, line.Number, match->Text, fields.Reason()};
      return false;
    }
    if (record.Tag != RecordTag::Dev && record.Tag != RecordTag::End) {
      // The pin records hold the fields of a data file's pin group, in today's form.
      const char* dataTag = record.Tag == RecordTag::Pab ? "Pin" : match->Text;
      std::string unheld = RecordValueProblem(dataTag, record, kDefinitionsVersion, 0);
      if (!unheld.empty()) {
        problem = {{}, line.Number, match->Text, std::move(unheld)};
        return false;
      }
    }
    return true;
  }
  if (reader.Broken()) problem = {{}, reader.BrokenLine(), {}, reader.Reason()};
  return false;
}

FileProblem EndMissing() { return {{}, 0, {}, "the file ends before \"End\""}; }

}  // namespace

std::optional<FileProblem> ReadDefinitionsHeader(LineReader& reader, bool& hasVersion, std::string& version) {
  FileLine first;
  if (!reader.Next(first)) {
    if (reader.Broken()) return FileProblem{{}, reader.BrokenLine(), {}, reader.Reason()};
    return FileProblem{{}, 0, {}, "the file is empty"};
  }
  const std::string_view keyword = kDefinitionsKeyword;
  const std::string& text = first.Fields[0].Text;
  if (std::string_view(text).substr(0, keyword.size()) != keyword) {
    return FileProblem{{}, first.Number, {}, "not a definitions file (it begins with no \"" + std::string(keyword) + "\")"};
  }
  if (first.Fields.size() > 1) return FileProblem{{}, first.Number, {}, "more than the header on its line"};
  hasVersion = text.size() >= keyword.size() + 2;
  version = hasVersion ? text.substr(keyword.size() + 1) : std::string();
  return std::nullopt;
}

std::optional<FileProblem> ReadDeviceNames(LineReader& reader, std::vector<std::string>& names) {
  FileRecord record;
  FileProblem problem;
  while (NextRecord(reader, record, problem)) {
    if (record.Tag == RecordTag::End) return std::nullopt;
    if (record.Tag == RecordTag::Dev) names.push_back(std::move(record.Texts[0]));
  }
  return problem.Reason.empty() ? EndMissing() : problem;
}

DeviceSearch FindDevice(LineReader& reader, const std::string& name, FileProblem& problem) {
  FileRecord record;
  while (NextRecord(reader, record, problem)) {
    if (record.Tag == RecordTag::End) return DeviceSearch::NotFound;
    if (record.Tag == RecordTag::Dev && record.Texts[0] == name) return DeviceSearch::Found;
  }
  if (problem.Reason.empty()) problem = EndMissing();
  return DeviceSearch::Broken;
}

std::optional<FileProblem> ReadDeviceRecords(LineReader& reader, std::vector<FileRecord>& records) {
  FileRecord record;
  FileProblem problem;
  while (NextRecord(reader, record, problem)) {
    if (record.Tag == RecordTag::Dev || record.Tag == RecordTag::End) return std::nullopt;
    records.push_back(std::move(record));
  }
  return problem.Reason.empty() ? EndMissing() : problem;
}

}  // namespace brixo
