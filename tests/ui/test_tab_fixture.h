#pragma once
// An application state with the in-process simulated controller selected, a prompt that
// records its messages and an observer that forwards the tab refreshes, for the tests of
// the event-control and test tabs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/no_file_chooser.h"
#include "ui/up_down_field.h"

namespace brixo {

class RecordedPrompt : public UserPrompt {
 public:
  MessageAnswer ShowMessage(const std::string& text, MessageIcon, MessageButtons) override {
    Messages.push_back(text);
    return MessageAnswer::Ok;
  }
  int Count(const std::string& text) const {
    return static_cast<int>(std::count(Messages.begin(), Messages.end(), text));
  }
  std::vector<std::string> Messages;
};

class SimulatedAppTest : public ::testing::Test {
 protected:
  SimulatedAppTest() : app(prompt, chooser, Options()) {}

  AppStateOptions Options() {
    AppStateOptions options;
    options.LoadDeviceDefinitions = false;
    options.OfferSimulator = true;
    options.Scanner = [] { return std::vector<std::string>{}; };
    options.TimeSource = &clock;
    return options;
  }

  void OpenSimulator() {
    for (const std::string& item : app.Ports().ComboPortItems()) {
      if (item.find(kSimulatedPortName) != std::string::npos) {
        ASSERT_TRUE(app.Ports().SelectPort(item));
        app.Simulator()->Controller().ClearReceived();
        return;
      }
    }
    FAIL() << "no simulated port offered";
  }

  SimController& Sim() { return app.Simulator()->Controller(); }
  std::vector<std::vector<int>> Payloads() { return Sim().ReceivedPayloads(); }

  // Types into a committing field and presses Return.
  static void Type(UpDownField* field, const QString& text) {
    ASSERT_NE(field, nullptr);
    field->Edit()->setText(text);
    QTest::keyClick(field->Edit(), Qt::Key_Return);
  }

  ManualClock clock;
  RecordedPrompt prompt;
  NoFileChooser chooser;
  AppState app;
};

}  // namespace brixo
