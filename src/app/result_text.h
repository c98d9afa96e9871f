#pragma once
// What the window's status bar says about an operation that has just ended: "Read All:
// 32 pins in 14.8 s", "Saved demo.dat". The command-line tool may say the same.
#include <string>

#include "model/pin_model.h"
#include "transfer/verification_report.h"

namespace brixo {

// The caption of the button that posts a deferred command ("ReadAll" → "Read All").
std::string CommandCaption(const std::string& command);

// A deferred command ran for `seconds` and returned `ok`.
std::string CommandResultText(const std::string& command, bool ok, double seconds, const ConfigModel& model,
                              const VerificationReport& report);

// A group of the General tab or of the event-control tab was read or written.
enum class GroupTransfer { Read, Write };
std::string GroupResultText(GroupTransfer transfer, const std::string& group, bool ok);
// "Erase Flash": sent, or refused at one of its questions or by the line.
std::string EraseResultText(bool ok);

// A data file was saved or loaded (the file's name, not its folder, is shown).
std::string SavedFileText(const std::string& path, bool ok);
std::string LoadedFileText(const std::string& path, bool ok);
// The open port's device went away while nothing ran (the automatic refresh closed the port).
std::string PortGoneText(const std::string& device);

// The main window's title for the file last saved or loaded (empty: none) and whether the
// editor holds changes since: "demo.dat* — Brixo Config".
std::string WindowTitle(const std::string& path, bool modified);
// The question before unsaved changes would be lost: "Save changes to demo.dat?".
std::string SaveChangesQuestion(const std::string& path);

}  // namespace brixo
