#pragma once
// An application state offering the in-process simulated controller, without the device
// library, with a recording prompt, for the tests of the event-control and test tabs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/no_file_chooser.h"
#include "support/recording_prompt.h"
#include "support/simulated_app.h"
#include "ui/up_down_field.h"

namespace brixo {

class SimulatedAppTest : public ::testing::Test {
 protected:
  SimulatedAppTest() : app(prompt, chooser, Options()) {}

  AppStateOptions Options() {
    AppStateOptions options = testing::SimulatedAppOptions(clock);
    options.LoadDeviceDefinitions = false;
    return options;
  }

  void OpenSimulator() { ASSERT_TRUE(testing::SelectSimulatedPort(app)); }
  int MessageCount(const std::string& message) const { return testing::CountOf(prompt.Messages, message); }

  SimController& Sim() { return app.Simulator()->Controller(); }
  std::vector<std::vector<int>> Payloads() { return Sim().ReceivedPayloads(); }

  // Types into a committing field and presses Return.
  static void Type(UpDownField* field, const QString& text) {
    ASSERT_NE(field, nullptr);
    field->Edit()->setText(text);
    QTest::keyClick(field->Edit(), Qt::Key_Return);
  }

  ManualClock clock;
  testing::RecordingPrompt prompt;
  NoFileChooser chooser;
  AppState app;
};

}  // namespace brixo
