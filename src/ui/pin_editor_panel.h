#pragma once
// The pin / aspect editor of the "Brixo Device Configuration" tab: pin chooser and
// description, device membership, aspect layout, aspect and initial aspect, "Show
// Details", "Test", "Write Single" and the nine step rows. It shows the core's
// PinEditorView and sends every edit to the PinEditor.
#include <QWidget>
#include <array>

#include "model/help_tools.h"
#include "model/pin_model.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace brixo {

class AppState;
class ClickableLabel;
class CommitLineEdit;
class ModifierButton;
class StepRowWidgets;
class UpDownField;

enum class EditDialogKind { Pin, Aspect, Step };

class PinEditorPanel : public QWidget {
  Q_OBJECT
 public:
  explicit PinEditorPanel(AppState& app, QWidget* parent = nullptr);

  // Copies the editor's view into the controls.
  void Show();

  QPushButton* WriteSingle() const;
  ModifierButton* TestButton() const { return test_; }

 signals:
  // Another pin became current: its addresses and output parameters must follow.
  void pinSelected();
  // "Show Details" changed.
  void detailsChanged();
  void editDialogRequested(EditDialogKind kind, int row);
  void helpToolRequested(int row, HelpBox box);

 private:
  QWidget* BuildPinRows();
  QWidget* BuildAspectRow();
  QWidget* BuildStepGrid();
  void ConnectStepRow(StepRowWidgets* row);
  void SelectPin(const QString& text);
  void StepPin(bool up);
  void TestPressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
  void WriteSingleAspect();
  // The column captions name the fields of the row being edited.
  void ShowCaptions();

  AppState& app_;
  ClickableLabel* labelPin_ = nullptr;
  UpDownField* pin_ = nullptr;
  QLineEdit* pinDescription_ = nullptr;
  CommitLineEdit* devicePin_ = nullptr;
  QLineEdit* deviceDescription_ = nullptr;
  QButtonGroup* layout_ = nullptr;
  QCheckBox* showDetails_ = nullptr;
  QWidget* aspectRow_ = nullptr;
  ClickableLabel* labelAspect_ = nullptr;
  UpDownField* aspect_ = nullptr;
  QLineEdit* aspectDescription_ = nullptr;
  QLabel* labelInit_ = nullptr;
  UpDownField* init_ = nullptr;
  ModifierButton* test_ = nullptr;
  QPushButton* writeSingle_ = nullptr;
  QLabel* headStep_ = nullptr;
  QLabel* headInstruction_ = nullptr;
  std::array<QLabel*, 5> captions_{};  // fade, offset, parameters 1..3
  std::array<StepRowWidgets*, kStepCount> rows_{};
};

}  // namespace brixo
