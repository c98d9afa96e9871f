#include "app/app_views.h"

#include "app/app_state.h"
#include "model/address_maps.h"
#include "transfer/event_control.h"
#include "transfer/general_settings.h"

namespace brixo {

namespace {

// The output parameter page warns when a pin's kind does not suit its group's driver.
void ShowOutputConfigOf(AppState& app) {
  const GeneralSettings& g = app.General();
  app.Pins().Output().SetHardwareFlags(HardwareGroupFlags{g.ChkGenHWCSink, g.ChkGenHWCSource});
  app.Pins().Output().ShowOutputConfig();
}

}  // namespace

void AppTransferView::RebuildAddressMaps() {
  const PinArray& pins = app_.Model().PinTable;
  brixo::BuildDccMap(pins, app_.Maps());
  brixo::BuildSerialMap(pins, app_.Maps());
  brixo::BuildXDccMap(pins, app_.Maps());
  // The General tab's output ranges come from the same totals (a read or a load changes
  // them while that tab may be on screen), and the first DCC outputs feed the pin labels.
  GeneralSettings& g = app_.General();
  brixo::ShowXDccOutputRange(g, app_.Model().NumberingOffset, app_.Maps().XDccAddressTotal);
  brixo::ShowDccOutputRange(g, app_.Model().NumberingOffset, app_.Maps().DccAddressTotal);
  app_.UpdateAddressInputs();
  AddressPanel& panel = app_.Pins().Addresses();
  panel.ShowDccAddress();
  panel.ShowSerialAddress();
  panel.ShowXDccAddress();
  app_.Observer().RebuildAddressMaps();
  app_.Observer().ShowGeneralSettings();
}

void AppTransferView::ShowPin() {
  app_.Pins().ShowPin();
  app_.Observer().ShowPin();
}

void AppTransferView::ShowAddressCounts() {
  app_.Pins().ShowAddressCounts();
  app_.Observer().ShowAddressCounts();
}

void AppTransferView::ShowOutputConfig() {
  ShowOutputConfigOf(app_);
  app_.Observer().ShowOutputConfig();
}

void AppTransferView::ShowSerialAddress() {
  app_.UpdateAddressInputs();
  app_.Pins().Addresses().ShowSerialAddress();
  app_.Observer().ShowSerialAddress();
}

void AppTransferView::ShowDccAddress() {
  app_.UpdateAddressInputs();
  app_.Pins().Addresses().ShowDccAddress();
  app_.Observer().ShowDccAddress();
}

void AppTransferView::ShowXDccAddress() {
  app_.UpdateAddressInputs();
  app_.Pins().Addresses().ShowXDccAddress();
  app_.Observer().ShowXDccAddress();
}

void AppTransferView::ShowEventPin() { app_.Observer().ShowEventPin(); }
void AppTransferView::ShowGeneralSettings() { app_.Observer().ShowGeneralSettings(); }
void AppTransferView::SetBusy(bool visible) { app_.Observer().SetBusy(visible); }
void AppTransferView::ShowProgress(const std::string& text) { app_.Observer().ShowProgress(text); }
void AppTransferView::ShowReport() {
  app_.NoteReportShown();
  app_.Observer().ShowReport();
}

void AppDataFileView::ShowPin() { app_.View().ShowPin(); }
void AppDataFileView::ShowOutputConfig() { app_.View().ShowOutputConfig(); }

void AppDataFileView::ShowDetails() {
  app_.Pins().ShowDetails(app_.Pins().Editor().View().CheckPAspShowDetails);
  app_.Observer().ShowDetails();
}

void AppDataFileView::ShowEventPin() { brixo::ShowEventPin(app_.Events(), app_.View()); }

// The file's DCC record set the output ranges before its pins were read: now that the
// totals are those of the pins loaded, the ranges follow them.
void AppDataFileView::BuildDccMap() {
  brixo::BuildDccMap(app_.Model().PinTable, app_.Maps());
  ShowDccOutputRange();
}
void AppDataFileView::BuildSerialMap() { brixo::BuildSerialMap(app_.Model().PinTable, app_.Maps()); }
void AppDataFileView::BuildXDccMap() {
  brixo::BuildXDccMap(app_.Model().PinTable, app_.Maps());
  ShowXDccOutputRange();
}
void AppDataFileView::ShowDccAddress() { app_.View().ShowDccAddress(); }
void AppDataFileView::ShowSerialAddress() { app_.View().ShowSerialAddress(); }
void AppDataFileView::ShowXDccAddress() { app_.View().ShowXDccAddress(); }

void AppDataFileView::ShowDccOutputRange() {
  brixo::ShowDccOutputRange(app_.General(), app_.Model().NumberingOffset, app_.Maps().DccAddressTotal);
  app_.Observer().ShowGeneralSettings();
}

void AppDataFileView::ShowXDccOutputRange() {
  brixo::ShowXDccOutputRange(app_.General(), app_.Model().NumberingOffset, app_.Maps().XDccAddressTotal);
  app_.Observer().ShowGeneralSettings();
}

void AppDataFileView::ShowAddressingOptions() { app_.Observer().ShowAddressingOptions(); }

}  // namespace brixo
