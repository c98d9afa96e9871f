#include "app/found_controller_address.h"

namespace brixo {

bool AddressFoundController(AppState& app, int module, std::optional<int> extended) {
  AddressSettings& addresses = app.Addresses();
  BrixoLink& link = app.Link();
  const int offset = app.Model().NumberingOffset;
  // The warning comes first: declined, nothing changes.
  if (extended && !link.CheckXaddress && !addresses.SetExtendedAddressing(true)) return false;
  addresses.SetModuleAddressFromSpinner(module + offset, offset);
  if (extended) {
    addresses.SetExtendedAddressFromSpinner(*extended + offset, offset);
  } else if (link.CheckXaddress) {
    addresses.SetExtendedAddressing(false);
  }
  return true;
}

}  // namespace brixo
