#pragma once
// The configuration data file: the General tab, the event-control table and the 32 pins
// in one tagged text file ("Brixo Config Data|*.dat").
#include <functional>
#include <string>
#include <string_view>

#include "files/data_file_view.h"
#include "files/file_chooser.h"
#include "link/user_prompt.h"
#include "model/pin_model.h"
#include "transfer/event_control_state.h"
#include "transfer/general_settings_state.h"

namespace brixo {

inline constexpr const char* kDataFileKeyword = "BrixoConfiguration";
inline constexpr const char* kDataFileVersion = "3100";

struct DataFileContext {
  ConfigModel& Model;
  GeneralSettings& General;
  EventControlState& Events;
  UserPrompt& Prompt;
  FileChooser& Chooser;
  DataFileView& View;
};

// Asks for a file and saves into it; compact leaves out undescribed pins and aspects and
// empty steps. False when cancelled or the file could not be written. `stop` is asked
// just before the saved file replaces the old one (see ReplaceFileText).
bool SaveDataFile(DataFileContext& context, bool compact);
bool SaveDataFileTo(DataFileContext& context, const std::string& path, bool compact,
                    const std::function<bool()>& stop = {});

// Asks for a file and loads it. A file that is not a sound configuration file changes
// nothing and shows "Invalid configuration file", with the file's name, the line and the
// reason on a second line. False when cancelled or refused.
bool LoadDataFile(DataFileContext& context);
bool LoadDataFileFrom(DataFileContext& context, const std::string& path);
// `fileName` names the text's file in a refusal; empty when it comes from no file.
bool LoadDataFileText(DataFileContext& context, std::string_view text, const std::string& fileName = {});

// After the whole configuration was replaced: the address maps are built again and every
// display of it shown again.
void RefreshAfterLoad(DataFileView& view);

// The text a save writes; `quotesReplaced` tells whether a double quote in a text had to
// be written as an apostrophe. Reduces servo flag bytes modulo 64 in the model.
std::string ComposeDataFile(ConfigModel& model, const GeneralSettings& general,
                            const EventControlState& events, bool compact, bool& quotesReplaced);

}  // namespace brixo
