#pragma once
// The "Brixo Event Control" tab: the on / off actions of one pin's four event inputs, the
// initial enable map, and the transfers of both. The table lives in EventControlState;
// the controls only show it and hand every edit to its rules.
#include <QWidget>
#include <array>

class QCheckBox;
class QPushButton;

namespace brixo {

class AppState;
class UpDownField;

class EventControlTab : public QWidget {
  Q_OBJECT
 public:
  explicit EventControlTab(QWidget* parent = nullptr);

  // Builds the controls and wires them to the application state; call once.
  void Bind(AppState& app);

  // Buttons shown only in expert mode.
  QPushButton* CommandECVerify() const { return commandECVerify_; }
  void SetExpertMode(bool expert);

  // Refreshes forwarded by the main window's observer.
  // The shown pin's actions, their shading and the enable-map boxes.
  void ShowEventPin();
  // "Start numbering at 1" changed: the pin field follows.
  void ShowNumbering();
  void ShowExpertMode();

 signals:
  // A single read or write, or an enable-map transfer, is about to talk to the
  // controller, or has finished.
  void operationStarted();
  void operationFinished();
  // What an enable-map transfer came to, for the status bar.
  void resultReady(const QString& text);

 private:
  template <typename Operation>
  void RunOperation(Operation operation);
  void BuildContents();
  QWidget* BuildActionGrid();
  QWidget* BuildEnableMap();
  QPushButton* Button(const QString& caption, const char* name, void (EventControlTab::*handler)());
  void ShowActionField(UpDownField* field, const std::string& text);
  void ShowEnableMap();

  void CommitPin(const QString& text);
  void StepPin(bool up);
  void ReadSingle();
  void WriteSingle();
  void CopyToAll();
  void ReadAll();
  void WriteAll();
  void Verify();
  void ReadMap();
  void WriteMap();

  AppState* app_ = nullptr;
  QWidget* placeholder_ = nullptr;
  QPushButton* commandECVerify_;
  UpDownField* textECpin_ = nullptr;
  std::array<UpDownField*, 4> textECon_{};
  std::array<UpDownField*, 4> textECoff_{};
  std::array<QCheckBox*, 8> checkInitEE_{};
};

}  // namespace brixo
