#include "files/device_file_parser.h"

#include "files/device_library.h"
#include "files/record_ranges.h"
#include "files/record_reader.h"
#include "model/pin_model.h"

namespace brixo {
namespace {

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

bool ReadFields(RecordReader& in, FileRecord& record) {
  switch (record.Tag) {
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

}  // namespace

bool ReadDefinitionsHeader(FieldReader& reader, bool& hasVersion, std::string& version) {
  Field first;
  reader.Next(first);
  const std::string_view keyword = kDefinitionsKeyword;
  if (std::string_view(first.Text).substr(0, keyword.size()) != keyword) return false;
  hasVersion = first.Text.size() >= keyword.size() + 2;
  version = hasVersion ? first.Text.substr(keyword.size() + 1) : std::string();
  return true;
}

bool ReadDeviceNames(FieldReader& reader, std::vector<std::string>& names) {
  Field field;
  while (reader.Next(field)) {
    if (IsTag(field, "End")) return true;
    if (IsTag(field, "Dev")) {
      std::string name;
      if (!reader.ReadText(name)) return false;
      names.push_back(std::move(name));
    }
  }
  return false;
}

DeviceSearch FindDevice(FieldReader& reader, const std::string& name) {
  Field field;
  while (reader.Next(field)) {
    if (IsTag(field, "End")) return DeviceSearch::NotFound;
    if (IsTag(field, "Dev")) {
      std::string found;
      if (!reader.ReadText(found)) return DeviceSearch::Broken;
      if (found == name) return DeviceSearch::Found;
    }
  }
  return DeviceSearch::Broken;
}

bool ReadDeviceRecords(FieldReader& reader, std::vector<FileRecord>& records) {
  static constexpr struct {
    const char* Text;
    RecordTag Tag;
  } kTags[] = {{"Pin", RecordTag::Pin}, {"Pab", RecordTag::Pab}, {"PAM", RecordTag::Pam},
               {"Cfg", RecordTag::Cfg}, {"Asp", RecordTag::Asp}, {"Ins", RecordTag::Ins}};
  Field field;
  while (reader.Next(field)) {
    if (IsTag(field, "Dev") || IsTag(field, "End")) return true;
    for (const auto& tag : kTags) {
      if (!IsTag(field, tag.Text)) continue;
      FileRecord record;
      record.Tag = tag.Tag;
      RecordReader in(reader, record);
      if (!ReadFields(in, record)) return false;
      // The pin records hold the fields of a data file's pin group, in today's form.
      const char* dataTag = tag.Tag == RecordTag::Pab ? "Pin" : tag.Text;
      if (!RecordValuesFit(dataTag, record, 3100, 0)) return false;
      records.push_back(std::move(record));
      break;
    }
  }
  return false;
}

}  // namespace brixo
