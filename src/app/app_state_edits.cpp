// The application state's undo, redo and unsaved-changes question.
#include "app/app_state.h"
#include "app/recent_files.h"
#include "app/result_text.h"
#include "files/data_file.h"
#include "transfer/general_settings.h"
#include "transfer/line_scan.h"

namespace brixo {

EditorContent AppState::Content() const { return EditorContent{model_.PinTable, general_, events_}; }

void AppState::Restore(const EditorContent& content) {
  // A pin that changes is shown, unless the pin shown changes itself: an undo is seen.
  const int shown = model_.CurrentPin % kPinCount;
  if (model_.PinTable[shown] == content.Pins[shown]) {
    for (int p = 0; p < kPinCount; ++p) {
      if (model_.PinTable[p] == content.Pins[p]) continue;
      model_.CurrentPin = static_cast<uint8_t>(p);
      break;
    }
  }
  model_.PinTable = content.Pins;
  // What the controller reported about itself and which event pin is shown are not edits.
  const std::string version = general_.LabelGenVersionString;
  general_ = content.General;
  general_.LabelGenVersionString = version;
  // The step holds the texts as they were shown then; the numbering may have changed since
  // (it is no edit), and a box committed as shown would store a value off by one.
  ApplyNumberingOffsetToGeneral(general_, model_.NumberingOffset, maps_);
  const uint8_t eventPin = events_.CurrentEventPin;
  const std::string eventPinText = events_.TextECpin;
  events_ = content.Events;
  events_.CurrentEventPin = eventPin;
  events_.TextECpin = eventPinText;
  RefreshAfterLoad(fileView_);
  fileView_.ShowDccOutputRange();
  fileView_.ShowXDccOutputRange();
  fileView_.ShowAddressingOptions();
  UpdateAddressInputs();
}

void AppState::NoteEdits() {
  if (history_.Record(Content())) Observer().ShowEditState();
}

bool AppState::Undo() { return MoveInHistory(&EditHistory::Undo); }

bool AppState::Redo() { return MoveInHistory(&EditHistory::Redo); }

bool AppState::MoveInHistory(const EditorContent* (EditHistory::*move)()) {
  // An edit still unrecorded becomes a step first, so undo never skips it.
  NoteEdits();
  const EditorContent* content = (history_.*move)();
  if (content == nullptr) return false;
  Restore(*content);
  Observer().ShowEditState();
  return true;
}

EditStep AppState::UndoStep() const {
  const EditorContent* target = history_.UndoTarget();
  return target == nullptr ? EditStep{} : EditStepBetween(*target, history_.Current(), model_.NumberingOffset);
}

EditStep AppState::RedoStep() const {
  const EditorContent* target = history_.RedoTarget();
  return target == nullptr ? EditStep{} : EditStepBetween(history_.Current(), *target, model_.NumberingOffset);
}

void AppState::TakeValues(const std::vector<FieldSetting>& settings) {
  // Edits made before are a step of their own.
  NoteEdits();
  Configuration taken = CopyOf({model_, general_, events_});
  SetFieldValues(settings, taken);
  EditorContent content = Content();
  content.Pins = taken.Model.PinTable;
  content.General = taken.General;
  content.Events = taken.Events;
  Restore(content);
  NoteEdits();
}

bool AppState::Modified() {
  NoteEdits();
  return history_.Modified();
}

void AppState::NoteSaved(const std::string& path) {
  NoteEdits();
  history_.MarkSaved();
  documentPath_ = path;
  Observer().ShowEditState();
}

bool AppState::MayReplaceEdits() {
  if (!Modified()) return true;
  switch (prompt_.ShowMessage(SaveChangesQuestion(documentPath_), MessageIcon::Question,
                              MessageButtons::SaveDiscardCancel)) {
    case MessageAnswer::Discard:
      return true;
    case MessageAnswer::Save:
      return Save();
    default:
      return false;
  }
}

bool AppState::Save() { return SaveDocument(documentPath_.empty(), documentCompact_); }
bool AppState::SaveAs() { return SaveDocument(true, false); }
bool AppState::SaveCompact() { return SaveDocument(true, true); }

std::string AppState::SuggestedFileName() const { return documentPath_.empty() ? suggestedName_ : documentPath_; }

bool AppState::SaveDocument(bool ask, bool compact) {
  std::string path = documentPath_;
  if (ask) {
    path = chooser_.ChooseSaveFile(kDataFileFilter, SuggestedFileName());
    // A cancelled dialog changes nothing and says nothing.
    if (path.empty()) return false;
  }
  const bool ok = SaveDataFileTo(dataFiles_, path, compact);
  ShowResult(SavedFileText(path, ok));
  if (ok) {
    NoteFileUsed(path);
    documentCompact_ = compact;
  }
  return ok;
}

void AppState::NoteReadAll() {
  NoteSaved("");
  const int offset = model_.NumberingOffset;
  const std::optional<int> extended =
      link_.CheckXaddress ? std::optional<int>(link_.ExtendedAddress + offset) : std::nullopt;
  suggestedName_ = BackupFileName(link_.ModuleAddress + offset, extended, general_.TextGenIDString);
}

void AppState::NoteFileUsed(const std::string& path) {
  NoteSaved(path);
  documentCompact_ = false;
  recentFiles_ = WithRecentFile(std::move(recentFiles_), path);
}

}  // namespace brixo
