#pragma once
// What the window remembers between runs: the port by what identifies its device, the
// link settings, the numbering, "Show Details" and the recent files. Only what was stored is put back;
// a value never stored leaves the program's own default.
#include <optional>
#include <string>
#include <vector>

#include "link/port_list.h"

namespace brixo {

class AppState;

struct RememberedSettings {
  PortIdentity Port;
  std::optional<int> BitRateOption;       // 0 "  9k6", 1 "19k2", 2 "38k4"
  std::optional<int> ModuleAddress;       // as held, counted from 0
  std::optional<int> ExtendedAddress;     // as held, counted from 0
  std::optional<bool> StartNumberingAtOne;
  std::optional<bool> Bidirectional;      // "Bidirectional Comm."
  // "Use eXtended Addr": its warning was answered when it was switched on, and is not
  // asked again when it comes back on.
  std::optional<bool> ExtendedAddressing;
  std::optional<bool> ShowDetails;        // "Show Details"
  std::vector<std::string> RecentFiles;   // newest first
  bool operator==(const RememberedSettings&) const = default;
};

// What to remember of the state now. With no port selected the port remembered before is
// kept, so that a run without the adapter plugged in does not forget it.
RememberedSettings RememberSettings(AppState& app, const RememberedSettings& before);

// Puts the remembered values back, all but the port (which is opened once the window shows).
void RestoreSettings(AppState& app, const RememberedSettings& settings);

}  // namespace brixo
