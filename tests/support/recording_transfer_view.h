#pragma once
// A transfer view for tests: records every call in order, SetBusy as "SetBusy(1)" /
// "SetBusy(0)", and the progress texts apart.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "transfer/transfer_view.h"

namespace brixo::testing {

class RecordingTransferView : public TransferView {
 public:
  void RebuildAddressMaps() override { Record("RebuildAddressMaps"); }
  void ShowPin() override { Record("ShowPin"); }
  void ShowAddressCounts() override { Record("ShowAddressCounts"); }
  void ShowOutputConfig() override { Record("ShowOutputConfig"); }
  void ShowSerialAddress() override { Record("ShowSerialAddress"); }
  void ShowDccAddress() override { Record("ShowDccAddress"); }
  void ShowXDccAddress() override { Record("ShowXDccAddress"); }
  void ShowEventPin() override { Record("ShowEventPin"); }
  void ShowGeneralSettings() override { Record("ShowGeneralSettings"); }
  void SetBusy(bool visible) override { Record(visible ? "SetBusy(1)" : "SetBusy(0)"); }
  void ShowProgress(const std::string& text) override {
    Progress.push_back(text);
    if (OnProgress) OnProgress(text);
  }
  void ShowReport() override { Record("ShowReport"); }

  bool Saw(const std::string& call) const { return std::find(Calls.begin(), Calls.end(), call) != Calls.end(); }

  std::vector<std::string> Calls;
  std::vector<std::string> Progress;
  std::function<void(const std::string&)> OnCall;
  std::function<void(const std::string&)> OnProgress;

 private:
  void Record(const std::string& call) {
    Calls.push_back(call);
    if (OnCall) OnCall(call);
  }
};

}  // namespace brixo::testing
