#pragma once
// The "Brixo Device Configuration" tab: its pin editor, address counts, output parameters
// and device definitions, the pin transfer buttons, and the edit dialogs and calculators
// it opens. The tab is a view: every value lives in the application state, every edit goes
// to the core's presentation models, and the Show* methods copy them into the controls.
#include <QWidget>
#include <array>
#include <functional>

#include "model/edit_operations.h"
#include "model/help_tools.h"

class QBoxLayout;
class QDialog;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace brixo {

class AddressCountsPanel;
class AppState;
class AspectProgramPanel;
class CalcEventMapDialog;
class CalcPatternDialog;
class CalcTimeDialog;
class DeviceDefinitionsPanel;
class EditAspectDialog;
class EditPinDialog;
class EditStepDialog;
class OutputConfigPages;
class PinEditorPanel;
enum class EditDialogKind;

// Shows a modal dialog and returns when it has closed. The window runs exec(); tests
// click the dialog's buttons instead.
using DialogRunner = std::function<void(QDialog&)>;

class DeviceConfigTab : public QWidget {
  Q_OBJECT
 public:
  explicit DeviceConfigTab(QWidget* parent = nullptr);

  // Buttons shown only in expert mode.
  QPushButton* CommandVerifyAllPins() const { return commandVerifyAllPins_; }
  QPushButton* CommandReadPin() const { return commandReadPin_; }
  QPushButton* CommandWritePin() const { return commandWritePin_; }
  void SetExpertMode(bool expert);

  // Builds the contents over the application state and shows it. Call once.
  void Bind(AppState& app);
  void SetDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

  // A calculator chosen from the menu: it works on the step being edited (or the first
  // step whose instruction offers it), as a double-click on that step's box does.
  void OpenCalculator(HelpToolKind kind);

  // The refreshes of the application's observer.
  void ShowPin();            // pin editor and address counts
  void ShowAddresses();      // first-address labels and count boxes
  void ShowOutputConfig();   // output-parameter pages, test sliders included
  void ShowDetails();        // "Show Details" / ExpertMode dependent controls
  void ShowNumbering();      // "Start numbering at 1" changed
  void ShowExpertMode();     // ExpertMode changed
  void ShowDeviceList();     // the device list and lblDDVersion
  // The device list again, with `caption` beside "Definitions Loaded:".
  void SetDefinitionsVersion(const QString& caption);
  // Everything at once.
  void RefreshAll();
  // The aspect in words and its time line, after any edit.
  void ShowProgram();
  // Shows pin `pin` (internal number), as choosing it in the pin box does: pending edits of
  // the pin shown are kept first.
  void OpenPin(int pin);

  PinEditorPanel* Editor() const { return editor_; }
  AddressCountsPanel* AddressCounts() const { return addresses_; }
  OutputConfigPages* Outputs() const { return outputs_; }
  DeviceDefinitionsPanel* Definitions() const { return definitions_; }
  AspectProgramPanel* Program() const { return program_; }
  EditPinDialog* PinDialog() const { return pinDialog_; }
  EditAspectDialog* AspectDialog() const { return aspectDialog_; }
  EditStepDialog* StepDialog() const { return stepDialog_; }
  CalcPatternDialog* PatternDialog() const { return patternDialog_; }
  CalcEventMapDialog* EventMapDialog() const { return eventMapDialog_; }
  CalcTimeDialog* TimeDialog() const { return timeDialog_; }
  // Whether the editor and the output half stand side by side.
  bool SideBySide() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QWidget* BuildTransferButtons();
  // A button that posts `command`.
  QPushButton* TransferButton(QPushButton* button, const char* command);
  QPushButton* TransferButton(const QString& caption, const char* name, const char* command);
  void ShowOutputFrame();
  void ShowTransferButtons();
  void PinSelected();
  void OpenEditDialog(EditDialogKind kind, int row);
  void OpenHelpTool(int row, HelpBox box);
  void RunDialog(QDialog& dialog);
  // The two halves side by side when the tab is wide enough, else one above the other.
  void ArrangeColumns();

  AppState* app_ = nullptr;
  DialogRunner runDialog_;
  EditClipboards clipboards_;
  QWidget* placeholder_ = nullptr;
  QBoxLayout* columns_ = nullptr;
  QVBoxLayout* left_ = nullptr;
  QVBoxLayout* right_ = nullptr;
  QPushButton* commandVerifyAllPins_;
  QPushButton* commandReadPin_;
  QPushButton* commandWritePin_;
  QPushButton* commandPAspReadPin_ = nullptr;
  QPushButton* commandPAspWritePin_ = nullptr;
  PinEditorPanel* editor_ = nullptr;
  AddressCountsPanel* addresses_ = nullptr;
  OutputConfigPages* outputs_ = nullptr;
  QWidget* outputFrame_ = nullptr;
  DeviceDefinitionsPanel* definitions_ = nullptr;
  AspectProgramPanel* program_ = nullptr;
  EditPinDialog* pinDialog_ = nullptr;
  EditAspectDialog* aspectDialog_ = nullptr;
  EditStepDialog* stepDialog_ = nullptr;
  CalcPatternDialog* patternDialog_ = nullptr;
  CalcEventMapDialog* eventMapDialog_ = nullptr;
  CalcTimeDialog* timeDialog_ = nullptr;
};

// Renders the tab with a four-aspect signal from the device library on pin 1 and
// "Show Details" on, and each dialog, into PNG files in `dir`. False when a file could
// not be written.
bool RenderDeviceTabScreens(AppState& app, const QString& dir);
// Copies the library's first device whose name begins with `name` onto the pins from `pin`
// (internal number) on, as "Load Device" does; false when there is none or it failed.
bool LoadLibraryDevice(AppState& app, const std::string& name, int pin);

}  // namespace brixo
