#pragma once
// Test doubles and a fixture holding everything the file operations work on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "files/data_file.h"
#include "files/device_library.h"
#include "support/recording_prompt.h"
#include "support/scripted_chooser.h"

namespace brixo::testing {

class RecordingView : public DataFileView {
 public:
  void ShowPin() override { Calls.push_back("ShowPin"); }
  void ShowOutputConfig() override { Calls.push_back("ShowOutputConfig"); }
  void ShowDetails() override { Calls.push_back("ShowDetails"); }
  void ShowEventPin() override { Calls.push_back("ShowEventPin"); }
  void BuildDccMap() override { Calls.push_back("BuildDccMap"); }
  void ShowDccAddress() override { Calls.push_back("ShowDccAddress"); }
  void BuildSerialMap() override { Calls.push_back("BuildSerialMap"); }
  void ShowSerialAddress() override { Calls.push_back("ShowSerialAddress"); }
  void BuildXDccMap() override { Calls.push_back("BuildXDccMap"); }
  void ShowXDccAddress() override { Calls.push_back("ShowXDccAddress"); }
  void ShowDccOutputRange() override { Calls.push_back("ShowDccOutputRange"); }
  void ShowXDccOutputRange() override { Calls.push_back("ShowXDccOutputRange"); }
  void ShowAddressingOptions() override { Calls.push_back("ShowAddressingOptions"); }
  std::vector<std::string> Calls;
};

inline std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteAll(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

class FilesTest : public ::testing::Test {
 protected:
  FilesTest() {
    std::random_device seed;
    dir_ = std::filesystem::temp_directory_path() / ("brixo_files_" + std::to_string(seed()));
    std::filesystem::create_directories(dir_);
  }
  ~FilesTest() override {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  std::string Messages() const {
    std::string all;
    for (const auto& shown : prompt.Shown) all += shown.Text + "|";
    return all;
  }

  ConfigModel model;
  GeneralSettings general;
  EventControlState events;
  RecordingPrompt prompt;
  ScriptedChooser chooser;
  RecordingView view;
  DeviceLibrary library;
  DataFileContext data{model, general, events, prompt, chooser, view};
  DeviceContext devices{model, library, prompt, chooser, view};
  std::filesystem::path dir_;
};

}  // namespace brixo::testing
