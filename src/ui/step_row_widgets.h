#pragma once
// One step row of the aspect editor: step number, instruction chooser, fade box, the four
// parameter boxes and the duration. The row only shows a StepRowView and reports what the
// user did; the pin editor decides what it means.
#include <QObject>
#include <array>

#include "model/instruction_table.h"
#include "model/step_row_view.h"

class QCheckBox;
class QComboBox;
class QGridLayout;

namespace brixo {

class ClickableLabel;
class CommitLineEdit;

class StepRowWidgets : public QObject {
  Q_OBJECT
 public:
  // Puts the row's widgets into `grid` at `gridRow`, columns 0..7.
  StepRowWidgets(int row, const InstructionTable& table, QGridLayout* grid, int gridRow, QWidget* parent);

  void Show(const StepRowView& view);

  ClickableLabel* StepLabel() const { return stepLabel_; }
  QComboBox* Chooser() const { return chooser_; }
  QCheckBox* Fade() const { return fade_; }
  CommitLineEdit* Par(int par) const { return pars_[par]; }
  ClickableLabel* Duration() const { return duration_; }

 signals:
  void instructionChosen(int row, int chooserIndex);
  void fadeToggled(int row, bool checked);
  void parEdited(int row, int par, const QString& text);
  void parCommitted(int row, int par, const QString& text);
  void parDoubleClicked(int row, int par);
  void durationDoubleClicked(int row);
  void stepLabelClicked(int row);
  // A box of the row got the focus: the row is being edited.
  void rowFocused(int row);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int row_;
  ClickableLabel* stepLabel_;
  QComboBox* chooser_;
  QCheckBox* fade_;
  std::array<CommitLineEdit*, kParCount> pars_{};
  ClickableLabel* duration_;
};

}  // namespace brixo
