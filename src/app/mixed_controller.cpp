#include "app/mixed_controller.h"

namespace brixo {

std::optional<MixedController> FollowMixedController(const std::optional<MixedController>& warning,
                                                     ControllerAfter after, const ScanProbe& address,
                                                     const std::string& ending) {
  switch (after) {
    case ControllerAfter::Mixed: return MixedController{address, ending};
    case ControllerAfter::MatchesEditor: {
      return warning && warning->Address == address ? std::nullopt : warning;
    }
    case ControllerAfter::Unknown: break;
  }
  return warning;
}

std::string MixedControllerText(const MixedController& warning, int numberingOffset) {
  std::string address = ScanAddressText(warning.Address, numberingOffset);
  if (!address.empty()) address[0] = 'M';
  return address + ": " + warning.Ending;
}

}  // namespace brixo
