#include "app/simulator_preload.h"

#include <deque>

#include "app/app_port_factory.h"
#include "app/no_file_chooser.h"
#include "app/start_up_defaults.h"
#include "files/data_file.h"
#include "link/brixo_link.h"
#include "transfer/transfer_context.h"
#include "transfer/whole_sequences.h"

namespace brixo {

namespace {

// Passes every message on and remembers that there was one.
class NoticingPrompt final : public UserPrompt {
 public:
  explicit NoticingPrompt(UserPrompt& inner) : inner_(inner) {}
  MessageAnswer ShowMessage(const std::string& text, MessageIcon icon, MessageButtons buttons) override {
    noticed = true;
    return inner_.ShowMessage(text, icon, buttons);
  }
  bool noticed = false;

 private:
  UserPrompt& inner_;
};

// The preload is not part of the user's conversation with the controller.
class DiscardingLog final : public CommLog {
 public:
  void AppendLine(const std::string&) override {}
};

// A cable to one controller and nothing else: replies are there at once.
class BenchPort final : public SerialPort {
 public:
  BenchPort(SimController& controller, Clock& clock) : controller_(controller), clock_(clock) {}
  bool SetLineSettings(const std::string&) override { return true; }
  std::string LineSettings() const override { return "19200,o,8,1"; }
  bool Open(const std::string&) override { return open_ = true; }
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  bool Write(std::span<const uint8_t> bytes) override {
    for (uint8_t b : bytes) {
      const std::vector<uint8_t> reply = controller_.ReceiveLineByte(b);
      received_.insert(received_.end(), reply.begin(), reply.end());
    }
    return open_;
  }
  int BytesWaiting() override { return static_cast<int>(received_.size()); }
  int ReadByte() override {
    if (received_.empty()) return -1;
    const int c = received_.front();
    received_.pop_front();
    return c;
  }
  bool WaitForBytes(int timeoutMs) override {
    if (received_.empty()) clock_.SleepMs(timeoutMs);  // a silent controller: let the window pass
    return !received_.empty();
  }

 private:
  SimController& controller_;
  Clock& clock_;
  std::deque<uint8_t> received_;
  bool open_ = true;
};

}  // namespace

bool PreloadSimulator(SimSerialPort& line, Clock& clock, UserPrompt& prompt, const std::string& path) {
  return PreloadController(line.Controller(), clock, prompt, path);
}

bool PreloadController(SimController& controller, Clock& clock, UserPrompt& prompt, const std::string& path) {
  ConfigModel model;
  GeneralSettings general;
  EventControlState events;
  ApplyStartUpDefaults(model, general, events);

  NoFileChooser chooser;
  DataFileView fileView;
  DataFileContext files{model, general, events, prompt, chooser, fileView};
  if (!LoadDataFileFrom(files, path)) return false;

  NoticingPrompt noticing(prompt);
  DiscardingLog log;
  BrixoLink link(clock, noticing, log);
  BenchPort port(controller, clock);
  // Direct frames name modules 0..15; one reached through an interface unit at a higher
  // address is, on the bench, given the direct one for the time of the preload.
  const int module = controller.ModuleAddress();
  controller.SetModuleAddress(module & 15);
  link.ModuleAddress = static_cast<uint8_t>(module & 15);
  link.AttachPort(&port);
  link.ToggleState = 128;

  AddressMaps maps;
  BuildDccMap(model.PinTable, maps);
  BuildXDccMap(model.PinTable, maps);
  BuildSerialMap(model.PinTable, maps);
  VerificationReport report;
  TransferView view;
  TransferContext ctx{link, model, maps, general, events, report, view};
  WriteAllSequence(ctx);

  link.AttachPort(nullptr);
  controller.SetModuleAddress(module);
  return !noticing.noticed;
}

}  // namespace brixo
