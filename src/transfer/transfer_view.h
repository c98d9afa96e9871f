#pragma once
// What the transfers ask of whoever shows the configuration (the window, the CLI, tests).
// Every call has a do-nothing default so that a headless caller implements only what it needs.
#include <string>

namespace brixo {

class TransferView {
 public:
  virtual ~TransferView() = default;
  // BuildDccMap, ShowDccAddress, BuildSerialMap, ShowSerialAddress, BuildXDccMap, ShowXDccAddress.
  virtual void RebuildAddressMaps() {}
  virtual void ShowPin() {}
  virtual void ShowAddressCounts() {}
  virtual void ShowOutputConfig() {}
  virtual void ShowSerialAddress() {}
  virtual void ShowDccAddress() {}
  virtual void ShowXDccAddress() {}
  virtual void ShowEventPin() {}
  // The General tab's record changed (a read filled it): redisplay it.
  virtual void ShowGeneralSettings() {}
  // `LabelAction` ("  Working ... Please WAIT").
  virtual void SetBusy(bool visible) {}
  // Progress of a long operation, e.g. "pin 12 of 32".
  virtual void ShowProgress(const std::string& text) {}
  // Shows the verification report modally.
  virtual void ShowReport() {}
};

}  // namespace brixo
