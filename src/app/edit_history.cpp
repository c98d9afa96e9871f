#include "app/edit_history.h"

#include <utility>
#include <vector>

#include "transfer/field_changes.h"

namespace brixo {

namespace {

// The fields of the General tab and of event control; the pins compare as records.
const std::vector<FieldId>& SettingFields() {
  static const std::vector<FieldId> fields = [] {
    std::vector<FieldId> found;
    for (const FieldId& id : AllFields()) {
      if (id.Kind < FieldKind::AspectConfig) found.push_back(id);
    }
    return found;
  }();
  return fields;
}

}  // namespace

bool SameConfiguration(const EditorContent& a, const EditorContent& b) {
  if (a.Pins != b.Pins || a.Events.EnableMapKnown != b.Events.EnableMapKnown) return false;
  // The pins compare whole above; the fields give the rest, which a numbering offset of 0
  // names alike on both sides.
  ConfigModel modelA;
  ConfigModel modelB;
  const ConfigurationRef refA{modelA, a.General, a.Events};
  const ConfigurationRef refB{modelB, b.General, b.Events};
  for (const FieldId& id : SettingFields()) {
    if (FieldDiffers(id, refA, refB)) return false;
  }
  return true;
}

EditHistory::EditHistory(EditorContent start) : current_(std::move(start)), saved_(current_) {}

void EditHistory::Reset(const EditorContent& start) {
  undo_.clear();
  redo_.clear();
  current_ = start;
  saved_ = start;
}

bool EditHistory::Record(const EditorContent& now) {
  if (SameConfiguration(now, current_)) return false;
  undo_.push_back(std::move(current_));
  if (undo_.size() > kDepth) undo_.pop_front();
  redo_.clear();
  current_ = now;
  return true;
}

const EditorContent* EditHistory::Undo() {
  if (undo_.empty()) return nullptr;
  redo_.push_back(std::move(current_));
  current_ = std::move(undo_.back());
  undo_.pop_back();
  return &current_;
}

const EditorContent* EditHistory::Redo() {
  if (redo_.empty()) return nullptr;
  undo_.push_back(std::move(current_));
  current_ = std::move(redo_.back());
  redo_.pop_back();
  return &current_;
}

}  // namespace brixo
