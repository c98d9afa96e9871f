#pragma once
// The main window over an application state whose port list offers the in-process
// simulated controller (loaded with the demo configuration), with scripted message boxes
// and file dialogs and a verification report that is looked at instead of run modally.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "support/recording_prompt.h"
#include "support/scripted_chooser.h"
#include "support/simulated_app.h"
#include "ui/brixo_config_window.h"
#include "ui/up_down_field.h"
#include "ui/verification_report_window.h"

namespace brixo::window_test {

using ::brixo::testing::RecordingPrompt;
using ::brixo::testing::ScriptedChooser;

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : app(prompt, chooser, testing::SimulatedAppOptions(clock)), window(PreloadedApp()) {
    window.SetReportPresenter([this](VerificationReportWindow& report) {
      ++reportsShown;
      reportText = report.txtVerification()->toPlainText();
    });
    window.Timer1()->stop();  // the tests tick by hand
    // "Write All" with the port open first asks whether to show the changes: these tests
    // write at once. Every other dialog runs as it would.
    window.SetDialogRunner([](QDialog& dialog) {
      auto* box = qobject_cast<QMessageBox*>(&dialog);
      if (box != nullptr && dialog.objectName() == "ShowChangesQuestion") {
        box->button(QMessageBox::No)->click();
        return;
      }
      dialog.exec();
    });
  }

  AppState& PreloadedApp() {
    EXPECT_TRUE(app.PreloadSimulator(std::string(BRIXO_TEST_DATA_DIR) + "/demo.dat"));
    return app;
  }

  template <typename Widget = QWidget>
  Widget* Find(const QString& name) {
    Widget* widget = window.findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
  }
  QString Text(const QString& labelName) { return Find<QLabel>(labelName)->text(); }
  void Click(const QString& buttonName) {
    QPushButton* button = Find<QPushButton>(buttonName);
    ASSERT_NE(button, nullptr);
    button->click();
  }
  // Types into a committing field and leaves it with Return.
  void Type(const QString& fieldName, const QString& text) {
    UpDownField* field = Find<UpDownField>(fieldName);
    ASSERT_NE(field, nullptr);
    field->Edit()->setText(text);
    QTest::keyClick(field->Edit(), Qt::Key_Return);
  }
  QString FieldText(const QString& fieldName) { return Find<UpDownField>(fieldName)->Text(); }
  // A visible-to-the-user state, whether or not the window itself is on screen.
  bool Shown(const QString& name) {
    QWidget* widget = Find(name);
    return widget != nullptr && !widget->isHidden();
  }

  void SelectSimulatedPort() {
    auto* combo = Find<QComboBox>("ComboPort");
    ASSERT_NE(combo, nullptr);
    const int index = combo->findText(kSimulatedPortName, Qt::MatchContains);
    ASSERT_GE(index, 0);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    ASSERT_TRUE(app.Ports().PortOpen());
    app.Simulator()->Controller().ClearReceived();
  }

  // Posts a whole-controller command with its button and lets the next tick run it.
  void RunCommand(const QString& buttonName) {
    Click(buttonName);
    window.Timer1Tick();
  }

  std::vector<std::vector<int>> Received() { return app.Simulator()->Controller().ReceivedPayloads(); }
  int MessageCount(const std::string& message) const { return testing::CountOf(prompt.Messages, message); }

  ManualClock clock;
  RecordingPrompt prompt;
  ScriptedChooser chooser;
  AppState app;
  BrixoConfig window;
  int reportsShown = 0;
  QString reportText;
};

}  // namespace brixo::window_test
