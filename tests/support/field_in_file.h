#pragma once
// A data file's text with one field set to another value, the field found where the field
// table says it sits: for properties over every field of a configuration.
#include <optional>
#include <string>
#include <vector>

#include "files/general_records.h"
#include "model/output_config.h"
#include "transfer/config_fields.h"

namespace brixo::testing {

inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2) {
    lines.push_back(text.substr(start, at - start));
  }
  return lines;
}

inline std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// The record's fields (texts here hold no commas), blanks before the tag kept apart.
inline std::vector<std::string> SplitFields(const std::string& line, std::string& indent) {
  const size_t first = line.find_first_not_of(' ');
  indent = line.substr(0, first);
  std::vector<std::string> fields;
  size_t start = first;
  for (size_t at; (at = line.find(',', start)) != std::string::npos; start = at + 1) {
    fields.push_back(line.substr(start, at - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

inline bool LineStarts(const std::string& line, const std::string& start) {
  const size_t first = line.find_first_not_of(' ');
  return first != std::string::npos && line.compare(first, start.size(), start) == 0;
}

// The line that holds a field, by the field's record and its pin, aspect and step.
inline std::optional<size_t> RecordLine(const std::vector<std::string>& lines, const FieldId& id) {
  const std::string tag = InfoOf(id.Kind).FileTag;
  auto find = [&lines](const std::string& start, size_t from, size_t to) -> std::optional<size_t> {
    for (size_t i = from; i < to; ++i) {
      if (LineStarts(lines[i], start)) return i;
    }
    return std::nullopt;
  };
  if (id.Pin < 0) return find(tag + ",", 0, lines.size());
  if (tag == "Eon" || tag == "Eof") return find(tag + "," + std::to_string(id.Pin) + ",", 0, lines.size());
  const std::optional<size_t> pin = find("Pin," + std::to_string(id.Pin) + ",", 0, lines.size());
  if (!pin) return std::nullopt;
  const size_t groupEnd = find("Pin,", *pin + 1, lines.size()).value_or(lines.size() - 1);
  if (tag == "Pin") return pin;
  if (tag == "Dev" || tag == "Cfg" || tag == "PAM") return find(tag + ",", *pin, groupEnd);
  const std::optional<size_t> aspect = find("Asp," + std::to_string(id.Aspect) + ",", *pin, groupEnd);
  if (!aspect || tag == "Asp") return aspect;
  const size_t aspectEnd = find("Asp,", *aspect + 1, groupEnd).value_or(groupEnd);
  return find("Ins," + std::to_string(id.Step) + ",", *aspect, aspectEnd);
}

// The file with the field set to `value` (as the table counts it), or nothing when the file
// does not hold the field.
inline std::optional<std::string> WithField(const std::string& text, const FieldId& id, int value) {
  std::vector<std::string> lines = SplitLines(text);
  const std::optional<size_t> at = RecordLine(lines, id);
  if (!at) return std::nullopt;
  const FieldKindInfo& info = InfoOf(id.Kind);
  std::string indent;
  std::vector<std::string> fields = SplitFields(lines[*at], indent);
  const size_t place = info.FileField + (info.Count > 1 ? id.Index : 0);
  if (place >= fields.size()) return std::nullopt;
  if (id.Kind == FieldKind::BaudRate) {
    fields[place] = value >= 0 && value < 8 ? std::string("\"") + kBaudRateTexts[value] + "\"" : "\"12345\"";
  } else {
    fields[place] = std::to_string(value + info.FileBias);
  }
  // A record has as many fields as its output type takes: the bytes another type takes are
  // added as zeros or left out.
  if (id.Kind == FieldKind::OutputByte && id.Index == 0) fields.resize(1 + OutputConfigBytesOf(value), "0");
  std::string line = indent;
  for (size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + fields[i];
  lines[*at] = line;
  return JoinLines(lines);
}

}  // namespace brixo::testing
