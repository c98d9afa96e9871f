#pragma once
// The device definitions: the library of devices listed in `cboDevice`, loading a listed
// device onto the pins from the current pin on, and saving the current pin's device.
#include <string>
#include <string_view>
#include <vector>

#include "files/data_file_view.h"
#include "files/file_chooser.h"
#include "link/user_prompt.h"
#include "model/device_membership.h"
#include "model/pin_model.h"

namespace brixo {

inline constexpr const char* kDefinitionsKeyword = "BrixoDeviceDefinitions";
inline constexpr const char* kStandardDefinitionsName = "BrixoDevices.def";

struct DeviceLibrary {
  std::vector<std::string> cboDevice;  // the device names listed
  int SelectedIndex = -1;              // selected entry of cboDevice, -1 = none
  std::string cboDeviceText;           // the combo box's text: the name "Load Device" uses
  std::vector<std::string> DeviceSourceFiles;  // per entry, the file it was read from
  std::string DeviceFilePath;                  // the definitions file opened last
  std::string DefinitionsVersion = "Unknown";
  std::string lblDDVersion = "None";           // caption beside "Definitions Loaded:"
  // Set by start-up when it passed over a library that is there but cannot be used (a
  // folder, a FIFO, too large, damaged): which one it loaded instead, and why. Empty
  // otherwise.
  std::string StartUpNote;
};

struct DeviceContext {
  ConfigModel& Model;
  DeviceLibrary& Library;
  UserPrompt& Prompt;
  FileChooser& Chooser;
  DataFileView& View;
};

// Where start-up looks for the standard library, in order: the program's folder,
// <program folder>/../share/brixoconfig, the source tree's data folder.
std::vector<std::string> StandardDefinitionsCandidates(const std::string& programFolder);

// Start-up: lists the devices of the first standard library that can be used, asking for
// the file when there is none. A library that is there but cannot be used is passed over,
// with the reason in StartUpNote. False when no library could be read.
bool LoadStandardDefinitions(DeviceContext& context, const std::string& programFolder);
// The same with the places to look given.
bool LoadStartUpDefinitions(DeviceContext& context, const std::vector<std::string>& candidates);

// "Reload DD": asks for a definitions file and lists its devices; append keeps the entries
// listed so far ("Shift + Reload DD").
bool ReloadDefinitions(DeviceContext& context, bool append);
bool ReloadDefinitionsFrom(DeviceContext& context, const std::string& path, bool append);

// Selects entry `index` of cboDevice (its text becomes the combo's text); -1 clears.
void SelectDevice(DeviceLibrary& library, int index);

// "Load Device": copies the device named by cboDeviceText onto the pins from CurrentPin on.
bool LoadDevice(DeviceContext& context);
// The same with the definitions text given: loads the first device called `name`.
// `fileName` names the text's file in a refusal.
bool LoadDeviceText(DeviceContext& context, std::string_view text, const std::string& name,
                    const std::string& fileName = {});

// "Save Device": writes the device of CurrentPin to a file of its own.
bool SaveDevice(DeviceContext& context);
bool SaveDeviceTo(DeviceContext& context, const std::string& path);
// The text SaveDevice writes for the device headed by `head`.
std::string ComposeDeviceFile(PinArray& pins, int head, bool& quotesReplaced);


}  // namespace brixo
