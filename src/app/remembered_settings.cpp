#include "app/remembered_settings.h"

#include <algorithm>

#include "app/app_state.h"
#include "app/recent_files.h"

namespace brixo {

RememberedSettings RememberSettings(AppState& app, const RememberedSettings& before) {
  RememberedSettings now;
  const PortEntry* selected = app.Ports().SelectedEntry();
  now.Port = selected ? IdentityOf(selected->Info) : before.Port;
  now.BitRateOption = app.Ports().OptionBitRate;
  now.ModuleAddress = app.Link().ModuleAddress;
  now.ExtendedAddress = app.Link().ExtendedAddress;
  now.StartNumberingAtOne = app.StartNumberingAtOne();
  now.Bidirectional = app.Link().CheckBrixoBD;
  now.ExtendedAddressing = app.Link().CheckXaddress;
  now.ShowDetails = app.Pins().Editor().View().CheckPAspShowDetails;
  now.RecentFiles = app.RecentFiles();
  return now;
}

void RestoreSettings(AppState& app, const RememberedSettings& settings) {
  // Numbering first: the addresses below are held counted from 0 either way.
  if (settings.StartNumberingAtOne) app.SetStartNumberingAtOne(*settings.StartNumberingAtOne);
  if (settings.BitRateOption && LineSettingsForOption(*settings.BitRateOption) != "")
    app.Ports().SelectBitRate(*settings.BitRateOption);
  AddressSettings& addresses = app.Addresses();
  if (settings.ModuleAddress) {
    const SpinnerLimits limits = addresses.UpDownAddressLimits(0);
    addresses.SetModuleAddressFromSpinner(std::clamp(*settings.ModuleAddress, limits.Min, limits.Max), 0);
  }
  if (settings.ExtendedAddress) {
    const SpinnerLimits limits = addresses.UpDownXaddrLimits(0);
    addresses.SetExtendedAddressFromSpinner(std::clamp(*settings.ExtendedAddress, limits.Min, limits.Max), 0);
  }
  if (settings.Bidirectional) app.Link().CheckBrixoBD = *settings.Bidirectional;
  if (settings.ExtendedAddressing) addresses.RestoreExtendedAddressing(*settings.ExtendedAddressing);
  if (settings.ShowDetails) app.Pins().ShowDetails(*settings.ShowDetails);
  app.SetRecentFiles(settings.RecentFiles);
}

}  // namespace brixo
