#include "app/found_controller_address.h"

namespace brixo {

bool AddressFoundController(AppState& app, int module, std::optional<int> extended) {
  AddressSettings& addresses = app.Addresses();
  BrixoLink& link = app.Link();
  const int offset = app.Model().NumberingOffset;
  addresses.SetModuleAddressFromSpinner(module + offset, offset);
  if (!extended) {
    if (link.CheckXaddress) addresses.SetExtendedAddressing(false);
    return true;
  }
  if (!link.CheckXaddress && !addresses.SetExtendedAddressing(true)) return false;
  addresses.SetExtendedAddressFromSpinner(*extended + offset, offset);
  return true;
}

}  // namespace brixo
