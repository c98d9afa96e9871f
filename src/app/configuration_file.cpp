#include "app/configuration_file.h"

#include "app/no_file_chooser.h"
#include "app/start_up_defaults.h"
#include "files/data_file.h"
#include "model/address_maps.h"
#include "transfer/event_control.h"
#include "transfer/general_settings.h"

namespace brixo {

std::optional<Configuration> ReadConfigurationFile(const std::string& path, UserPrompt& prompt, int numberingOffset) {
  Configuration config;
  ApplyStartUpDefaults(config.Model, config.General, config.Events);
  config.Model.NumberingOffset = static_cast<uint8_t>(numberingOffset);
  ApplyNumberingOffsetToGeneral(config.General, numberingOffset, AddressMaps{});
  ApplyNumberingOffsetToEvents(config.Events, numberingOffset);
  NoFileChooser chooser;
  DataFileView view;
  DataFileContext context{config.Model, config.General, config.Events, prompt, chooser, view};
  if (!LoadDataFileFrom(context, path)) return std::nullopt;
  return config;
}

}  // namespace brixo
