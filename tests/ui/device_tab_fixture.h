#pragma once
// The "Brixo Device Configuration" tab bound to an application state with the shipped
// device library, the simulated controller, a recording prompt, a scripted file chooser,
// and dialogs that are driven instead of run modally.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <functional>
#include <string>

#include "app/app_state.h"
#include "support/recording_prompt.h"
#include "support/scripted_chooser.h"
#include "support/simulated_app.h"
#include "ui/device_config_tab.h"
#include "ui/up_down_field.h"

namespace brixo {

class DeviceTabTest : public ::testing::Test {
 protected:
  DeviceTabTest() : app(prompt, chooser, testing::SimulatedAppOptions(clock)) {
    tab.SetDialogRunner([this](QDialog& dialog) {
      ++dialogsRun;
      lastDialog = dialog.objectName().toStdString();
      if (driveDialog) driveDialog(dialog);
    });
    tab.Bind(app);
  }

  void OpenSimulator() { ASSERT_TRUE(testing::SelectSimulatedPort(app)); }
  SimController& Sim() { return app.Simulator()->Controller(); }

  template <typename T = QWidget>
  T* Find(const QString& name) {
    T* widget = tab.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
  }
  QLineEdit* Edit(const QString& name) {
    if (auto* field = tab.findChild<UpDownField*>(name)) return field->Edit();
    return Find<QLineEdit>(name);
  }
  // Types into a box and leaves it with Return, as a commit.
  void Type(const QString& name, const QString& text) {
    QLineEdit* box = Edit(name);
    ASSERT_NE(box, nullptr);
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
  }
  QString Text(const QString& name) {
    if (auto* label = tab.findChild<QLabel*>(name)) return label->text();
    QLineEdit* box = Edit(name);
    return box ? box->text() : QString();
  }
  void Click(const QString& name) {
    auto* button = Find<QAbstractButton>(name);
    if (button) button->click();
  }
  void ChooseInstruction(int row, const QString& name) {
    auto* chooser = Find<QComboBox>(QString("ComboPAspInst_%1").arg(row));
    const int index = chooser->findText(name);
    ASSERT_GE(index, 0) << name.toStdString();
    chooser->setCurrentIndex(index);
    emit chooser->activated(index);
  }
  // A click on a named button of the dialog being run.
  static void Press(QDialog& dialog, const char* name) {
    auto* button = dialog.findChild<QAbstractButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    button->click();
  }
  // The model was changed behind the editor's back: the core's views and the tab follow.
  void Refresh() {
    app.View().ShowPin();
    app.View().ShowOutputConfig();
    tab.RefreshAll();
  }
  void SetLayout(int option) { Click(QString("OptionPAspConf_%1").arg(option)); }
  void ShowDetails() {
    if (!Find<QCheckBox>("CheckPAspShowDetails")->isChecked()) Click("CheckPAspShowDetails");
  }
  PinRecord& Pin(int p) { return app.Model().PinTable[p]; }
  StepRecord& Step(int p, int a, int s) { return Pin(p).Aspects[a].Steps[s]; }

  ManualClock clock;
  testing::RecordingPrompt prompt;
  testing::ScriptedChooser chooser;
  AppState app;
  DeviceConfigTab tab;
  std::function<void(QDialog&)> driveDialog;
  int dialogsRun = 0;
  std::string lastDialog;
};

}  // namespace brixo
