// libFuzzer target: loads arbitrary bytes as a configuration data file. Whatever loads
// must save, load back and save again to the same text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "files/data_file.h"

using namespace brixo;

namespace {

struct Configuration {
  ConfigModel Model;
  GeneralSettings General;
  EventControlState Events;
  fuzz::SilentPrompt Prompt;
  fuzz::NoFiles Chooser;
  DataFileView View;
  DataFileContext Context{Model, General, Events, Prompt, Chooser, View};

  std::string Save(bool compact) {
    bool quotes = false;
    return ComposeDataFile(Model, General, Events, compact, quotes);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Configuration first;
  if (!LoadDataFileText(first.Context, text)) return 0;
  for (bool compact : {false, true}) {
    const std::string saved = first.Save(compact);
    Configuration second;
    if (!LoadDataFileText(second.Context, saved)) std::abort();
    if (second.Save(compact) != saved) std::abort();
  }
  return 0;
}
