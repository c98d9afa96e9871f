// libFuzzer target: reads arbitrary bytes as a device definitions file and loads every
// device it names onto the pins. A loaded device must save and load back to the same text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "files/device_file_parser.h"
#include "files/device_library.h"
#include "files/field_reader.h"

using namespace brixo;

namespace {

struct Pins {
  ConfigModel Model;
  DeviceLibrary Library;
  fuzz::SilentPrompt Prompt;
  fuzz::NoFiles Chooser;
  DataFileView View;
  DeviceContext Context{Model, Library, Prompt, Chooser, View};
};

std::vector<std::string> NamesIn(std::string_view text) {
  LineReader reader(text);
  bool hasVersion = false;
  std::string version;
  std::vector<std::string> names;
  if (ReadDefinitionsHeader(reader, hasVersion, version) || ReadDeviceNames(reader, names)) names.clear();
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int head = data[0] % kPinCount;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  Pins pins;
  pins.Model.CurrentPin = static_cast<uint8_t>(head);
  const std::vector<std::string> names = NamesIn(text);
  for (size_t i = 0; i < names.size() && i < 8; ++i) {
    if (!LoadDeviceText(pins.Context, text, names[i])) continue;
    bool quotes = false;
    const std::string saved = ComposeDeviceFile(pins.Model.PinTable, head, quotes);
    const std::vector<std::string> savedNames = NamesIn(saved);
    if (savedNames.size() != 1) std::abort();
    Pins again;
    again.Model.CurrentPin = static_cast<uint8_t>(head);
    if (!LoadDeviceText(again.Context, saved, savedNames[0])) std::abort();
    if (ComposeDeviceFile(again.Model.PinTable, head, quotes) != saved) std::abort();
  }
  return 0;
}
