// The main window's differences table: "Compare" and Write All's "Show what will change
// first?" against the controller, "Compare with File..." against a data file, what its
// buttons do, and how the editor shows the field of a row or of an undone edit.
#include <QAction>
#include <QFileInfo>
#include <QTabWidget>

#include "model/pin_editor.h"
#include "transfer/changed_writes.h"
#include "transfer/event_control.h"
#include "ui/brixo_config_window.h"
#include "ui/core_text.h"
#include "ui/device_config_tab.h"
#include "ui/difference_table_window.h"
#include "ui/field_widgets.h"
#include "ui/input_blocker.h"

namespace brixo {

namespace {

QString FileTitle(const std::string& path) {
  return "Compare with " + QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName();
}

QString Count(size_t n) { return QString::number(n) + (n == 1 ? " difference" : " differences"); }

// "&Undo pin 1 aspect 0 step 3 Level": an ampersand of a name is shown, not a shortcut.
QString MenuText(const char* verb, const EditStep& step) {
  return ToQt(EditMenuText(verb, step)).replace("&", "&&").prepend('&');
}

}  // namespace

DifferenceTableWindow& BrixoConfig::CompareTableWindow() {
  if (compareTable_ == nullptr) {
    compareTable_ = new DifferenceTableWindow(this);
    connect(compareTable_, &DifferenceTableWindow::writeCheckedRequested, this, &BrixoConfig::WriteCheckedRows);
    connect(compareTable_, &DifferenceTableWindow::takeValuesRequested, this, &BrixoConfig::TakeCheckedValues);
    connect(compareTable_, &DifferenceTableWindow::reportRequested, this, [this] { presentReport_(Report()); });
    connect(compareTable_, &DifferenceTableWindow::fieldOpened, this, &BrixoConfig::ShowField);
  }
  return *compareTable_;
}

void BrixoConfig::ShowCompareTable() {
  if (running_) InputBlocker::RepaintNow();
  comparedFile_.reset();
  const VerificationResult& result = app_.Report().Result;
  const ConfigurationRef editor{app_.Model(), app_.General(), app_.Events()};
  DifferenceTableWindow& table = CompareTableWindow();
  const std::string summary = VerificationVerdict(result, 3) + ": " + VerificationSummary(result);
  table.ShowRows(DifferenceRows(result.Differences, editor), ComparedWith::Controller, "Compare", ToQt(summary));
  table.show();
  table.raise();
  table.activateWindow();
}

void BrixoConfig::CompareWithFile() {
  if (running_) return;
  std::optional<ComparedFile> file = app_.ChooseFileToCompare();
  if (!file) return;
  comparedFile_ = std::move(file);
  const std::vector<DifferenceRow> rows =
      DifferenceRows({app_.Model(), app_.General(), app_.Events()}, comparedFile_->Config.Ref());
  DifferenceTableWindow& table = CompareTableWindow();
  const QString summary = rows.empty() ? "The editor and the file hold the same configuration" : Count(rows.size());
  table.ShowRows(rows, ComparedWith::File, FileTitle(comparedFile_->Path), summary);
  table.show();
  table.raise();
  table.activateWindow();
}

void BrixoConfig::WriteCheckedRows() {
  if (running_ || compareTable_ == nullptr || compareTable_->Other() != ComparedWith::Controller) return;
  const ChangedParts parts = ChangedPartsOf(TickedFields(compareTable_->Rows()));
  if (app_.Commands().PostWriteChecked(parts)) StartPostedCommand();
}

void BrixoConfig::TakeCheckedValues() {
  if (running_ || compareTable_ == nullptr) return;
  const std::vector<DifferenceRow> rows = compareTable_->Rows();
  app_.TakeValues(TickedSettings(rows));
  ShowAll();
  if (comparedFile_) {
    // Against a file the table can be made afresh: what was taken no longer differs.
    const std::vector<DifferenceRow> left =
        DifferenceRows({app_.Model(), app_.General(), app_.Events()}, comparedFile_->Config.Ref());
    const QString summary = left.empty() ? "The editor and the file hold the same configuration" : Count(left.size());
    compareTable_->ShowRows(left, ComparedWith::File, FileTitle(comparedFile_->Path), summary);
    return;
  }
  // The controller is not read again: the rows taken are the ones that now agree.
  std::vector<DifferenceRow> left;
  for (const DifferenceRow& row : rows) {
    if (!row.Ticked || !row.Takeable) left.push_back(row);
  }
  const size_t taken = rows.size() - left.size();
  for (DifferenceRow& row : left) row.Ticked = true;
  compareTable_->ShowRows(left, ComparedWith::Controller, "Compare",
                          "Took " + QString::number(taken) + " of the controller's values; " + Count(left.size()) +
                              " left");
}

void BrixoConfig::ShowField(const FieldId& field) {
  if (running_) return;
  const int tab = TabOfField(field);
  tabs_->setCurrentIndex(tab);
  // A tab that may not open now keeps the window where it was.
  if (tabs_->currentIndex() != tab) return;
  ConfigModel& model = app_.Model();
  if (tab == kEventControlTab) {
    CommitTextECpin(app_.Events(), model.NumberingOffset, std::to_string(field.Pin + model.NumberingOffset), app_.View());
    ShowEventPin();
  } else if (tab == kDeviceConfigurationTab) {
    deviceTab_->OpenPin(field.Pin);
    if (field.Aspect >= 0) {
      app_.Pins().Editor().AspectSpinnerMoved(field.Aspect);
      ShowPin();
    }
  }
  FollowEdits();
  const int outputType = model.PinTable[static_cast<size_t>(std::max<int>(field.Pin, 0)) % kPinCount].OutputConfig[0];
  QWidget* control = tabs_->widget(tab)->findChild<QWidget*>(WidgetOfField(field, outputType));
  if (control != nullptr && control->focusPolicy() == Qt::NoFocus) {
    // A frame: its first box that takes the focus.
    for (QWidget* child : control->findChildren<QWidget*>()) {
      if (child->isVisibleTo(this) && child->focusPolicy() != Qt::NoFocus) {
        control = child;
        break;
      }
    }
  }
  raise();
  activateWindow();
  if (control != nullptr) control->setFocus(Qt::OtherFocusReason);
}

void BrixoConfig::ShowUndoTexts() {
  if (undoAction_) {
    undoAction_->setEnabled(app_.CanUndo());
    undoAction_->setText(MenuText("Undo", app_.UndoStep()));
  }
  if (redoAction_) {
    redoAction_->setEnabled(app_.CanRedo());
    redoAction_->setText(MenuText("Redo", app_.RedoStep()));
  }
}

}  // namespace brixo
