#pragma once
// The editor's undo and redo: whole copies of the configuration the editor holds (the pins,
// the General tab's settings and the event-control tables, everything Load File replaces),
// one for each user action that changed it. The configuration is a few tens of kilobytes,
// so a copy per step keeps every kind of edit undoable without each edit knowing about it.
// Nothing here talks to the controller.
#include <cstddef>
#include <deque>

#include "model/pin_model.h"
#include "transfer/event_control_state.h"
#include "transfer/general_settings_state.h"

namespace brixo {

struct EditorContent {
  PinArray Pins{};
  GeneralSettings General;
  EventControlState Events;
};

// Whether two contents hold the same configuration: every pin as it is, and every field of
// the General tab and of event control that a data file holds. Which pin or event pin is
// shown and the labels derived from the values do not count.
bool SameConfiguration(const EditorContent& a, const EditorContent& b);

class EditHistory {
 public:
  // Steps kept; the oldest goes when a new one would exceed it.
  static constexpr size_t kDepth = 200;

  explicit EditHistory(EditorContent start = {});

  // Starts afresh from `start`: no steps, and `start` is what was last saved.
  void Reset(const EditorContent& start);
  // After a user action: records a step when `now` holds another configuration than the
  // last record. A new step drops what could have been redone. True when recorded.
  bool Record(const EditorContent& now);

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  size_t UndoCount() const { return undo_.size(); }
  // The configuration one step back (or forward), which becomes the current one; null when
  // there is none. Record what the editor holds first, so that no edit is skipped.
  const EditorContent* Undo();
  const EditorContent* Redo();
  // What Undo and Redo would return, without moving; null when there is none.
  const EditorContent* UndoTarget() const { return undo_.empty() ? nullptr : &undo_.back(); }
  const EditorContent* RedoTarget() const { return redo_.empty() ? nullptr : &redo_.back(); }

  // What the editor holds was saved or loaded: it becomes what "modified" compares with.
  void MarkSaved() { saved_ = current_; }
  // Whether the configuration last recorded differs from the one last saved or loaded.
  bool Modified() const { return !SameConfiguration(current_, saved_); }
  const EditorContent& Current() const { return current_; }
  // What "modified" compares with: the configuration last saved, loaded or read whole.
  const EditorContent& Saved() const { return saved_; }

 private:
  std::deque<EditorContent> undo_;
  std::deque<EditorContent> redo_;
  EditorContent current_;
  EditorContent saved_;
};

}  // namespace brixo
