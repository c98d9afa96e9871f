#pragma once
// Reads the typed fields of one record's line into a FileRecord, each checked against its
// width or range; shared by the data file and the definitions file. A failed read leaves
// its reason in the cursor.
#include <string>
#include <utility>

#include "files/field_reader.h"
#include "files/file_record.h"
#include "model/pin_model.h"

namespace brixo {

class RecordReader {
 public:
  static constexpr long kByteMax = 255;
  static constexpr long kInt16Min = -32768;
  static constexpr long kInt16Max = 32767;

  RecordReader(FieldCursor& reader, FileRecord& record) : reader_(reader), record_(record) {}

  bool Numbers(int count, long min, long max) {
    for (int i = 0; i < count; ++i) {
      int value;
      if (!reader_.ReadInteger(min, max, value)) return false;
      record_.Numbers.push_back(value);
    }
    return true;
  }
  bool Bytes(int count) { return Numbers(count, 0, kByteMax); }
  bool Int16s(int count) { return Numbers(count, kInt16Min, kInt16Max); }
  bool Text() {
    std::string text;
    if (!reader_.ReadText(text)) return false;
    record_.Texts.push_back(std::move(text));
    return true;
  }
  // Reads `count` bytes only when the line goes on; true when they were absent or all
  // fitted.
  bool OptionalBytes(int count) { return reader_.AtEnd() || Bytes(count); }
  // Reads what the line holds, at most `count` bytes; true when all that were read fitted.
  bool LeadingBytes(int count) {
    for (int i = 0; i < count && !reader_.AtEnd(); ++i) {
      if (!Bytes(1)) return false;
    }
    return true;
  }

  // "Asp" and "Ins" read alike in the data file and the definitions file.
  bool AspectFields() { return Numbers(1, 0, kAspectCount - 1) && Text(); }
  // Step codes are seven bits wide on the controller; anything above is no instruction.
  bool StepFields() { return Numbers(1, 0, kStepCount - 1) && Numbers(1, 0, 127) && Bytes(4); }

 private:
  FieldCursor& reader_;
  FileRecord& record_;
};

}  // namespace brixo
