#pragma once
// File dialogs for tests: answers with scripted paths (cancel once they run out) and
// records the filter and preset name of every dialog shown.
#include <deque>
#include <string>
#include <vector>

#include "files/file_chooser.h"

namespace brixo::testing {

class ScriptedChooser : public FileChooser {
 public:
  std::string ChooseOpenFile(const std::string& filter, const std::string& preset) override {
    return Answer(filter, preset);
  }
  std::string ChooseSaveFile(const std::string& filter, const std::string& preset) override {
    return Answer(filter, preset);
  }
  std::deque<std::string> Answers;
  std::vector<std::string> Filters, Presets;

 private:
  std::string Answer(const std::string& filter, const std::string& preset) {
    Filters.push_back(filter);
    Presets.push_back(preset);
    if (Answers.empty()) return "";
    std::string answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
};

}  // namespace brixo::testing
