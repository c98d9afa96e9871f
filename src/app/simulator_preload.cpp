#include "app/simulator_preload.h"

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

}  // namespace

bool PreloadSimulator(SimSerialPort& line, Clock& clock, UserPrompt& prompt, const std::string& path) {
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
  link.ModuleAddress = static_cast<uint8_t>(line.Controller().ModuleAddress());
  const bool wasOpen = line.IsOpen();
  if (!wasOpen && !line.Open(kSimulatedPortName)) return false;
  link.AttachPort(&line);
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
  if (!wasOpen) line.Close();
  return !noticing.noticed;
}

}  // namespace brixo
