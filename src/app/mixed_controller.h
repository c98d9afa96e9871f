#pragma once
// A controller that a stopped or failed whole write left holding part of the old and part
// of the new settings. The warning stays until that controller was written whole or
// compared without a difference, whatever else happened meanwhile.
#include <optional>
#include <string>

#include "transfer/deferred_commands.h"
#include "transfer/line_scan.h"

namespace brixo {

struct MixedController {
  ScanProbe Address;   // as held, counted from 0
  std::string Ending;  // how the write ended and what that left behind
  bool operator==(const MixedController&) const = default;
};

// The warning after a command that ran at `address`: a new one after a whole write that
// ended early, none once the controller it names matches the editor, else as it was.
std::optional<MixedController> FollowMixedController(const std::optional<MixedController>& warning,
                                                     ControllerAfter after, const ScanProbe& address,
                                                     const std::string& ending);

// "Module 2: Write All stopped after pin 12 of 32: the controller now holds a mix of old
// and new settings — write again to finish", numbers as displayed.
std::string MixedControllerText(const MixedController& warning, int numberingOffset);

}  // namespace brixo
