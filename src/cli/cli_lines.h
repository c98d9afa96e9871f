#pragma once
// scan, backup and verify-dir on several lines at once (--port more than once, local and
// network ports mixed): each line is worked in its own thread by a session of its own, one
// line's failure leaves the others going, and the output comes grouped by line once every
// line is done, so that the whole takes as long as the slowest line.
#include <optional>
#include <string>

#include "cli/cli_commands.h"
#include "transfer/line_scan.h"

namespace brixo {

// Whether the command takes --port more than once.
bool WorksSeveralLines(const CliCommand& command);

// Runs the command on every line of options.Ports; the exit status is the worst of the
// lines' (130 once a signal stopped them).
int RunOnLines(const CliCommand& command, const CliOptions& options);

// The name a controller's backup file gets on this session's line: tagged with the line
// when several lines share the folder.
std::string LineBackupFileName(CliSession& s, const std::string& moduleFileName);

// The address of a backup file of this session's line, nothing for any other file: on one
// of several lines the files tagged with it; on a line alone the untagged files and those
// tagged with it.
std::optional<BackupFileAddress> LineBackupFile(CliSession& s, const std::string& name);

}  // namespace brixo
