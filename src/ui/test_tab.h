#pragma once
// The "Test" tab: live set-aspect commands, the legacy messages of the older Tamlo output
// module, the matrix test panel and the feedback monitor. Nothing here touches the stored
// configuration; every button goes straight to the running controller.
#include <QWidget>
#include <array>

class QGroupBox;
class QPushButton;

namespace brixo {

class AppState;
class FeedbackMonitorPanel;
class MatrixPanel;
class UpDownField;

class TestTab : public QWidget {
  Q_OBJECT
 public:
  explicit TestTab(QWidget* parent = nullptr);

  // Builds the controls and wires them to the application state; call once.
  void Bind(AppState& app);

  FeedbackMonitorPanel* Monitor() const { return monitor_; }

 private:
  QGroupBox* BuildSetAspectGroup();
  QGroupBox* BuildLegacyGroup();
  QPushButton* Button(const QString& caption, const QString& name);

  AppState* app_ = nullptr;
  QWidget* placeholder_ = nullptr;
  UpDownField* textOutput_ = nullptr;  // TextBrixoSendAspectOutput
  std::array<UpDownField*, 3> textTamloParameter_{};
  MatrixPanel* matrix_ = nullptr;
  FeedbackMonitorPanel* monitor_ = nullptr;
};

}  // namespace brixo
