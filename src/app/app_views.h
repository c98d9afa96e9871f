#pragma once
// The refresh calls of the transfers and of the file loaders, as the application answers
// them: first the core's own presentation models (address maps and labels, pin editor,
// output parameters, General tab labels) are brought up to date, then the owner's observer
// is told so that the window can copy them into its controls.
#include "files/data_file_view.h"
#include "transfer/transfer_view.h"

namespace brixo {

class AppState;

// What the owner of the application state shows. Beyond the transfers' refreshes, a few
// displays of the window's own.
class AppObserver : public TransferView {
 public:
  // The details display for the current state of "Show Details".
  virtual void ShowDetails() {}
  // Which flexible-addressing boxes of the General tab are visible.
  virtual void ShowAddressingOptions() {}
  // "Start numbering at 1" changed: every number shown depends on it.
  virtual void ShowNumbering() {}
  // ExpertMode changed: the expert buttons and the "Test" tab follow it.
  virtual void ShowExpertMode() {}
  // What the operation that has just ended came to ("Read All: 32 pins in 14.8 s").
  virtual void ShowResult(const std::string& text) {}
  // The undo steps, the file name or the modified mark changed.
  virtual void ShowEditState() {}
  // The port closed under an operation (the device went away): show it closed.
  virtual void ShowPortState() {}
  // A controller holds a mix of old and new settings, or no longer does.
  virtual void ShowMixedController() {}
};

class AppTransferView final : public TransferView {
 public:
  explicit AppTransferView(AppState& app) : app_(app) {}

  void RebuildAddressMaps() override;
  void ShowPin() override;
  void ShowAddressCounts() override;
  void ShowOutputConfig() override;
  void ShowSerialAddress() override;
  void ShowDccAddress() override;
  void ShowXDccAddress() override;
  void ShowEventPin() override;
  void ShowGeneralSettings() override;
  void SetBusy(bool visible) override;
  void ShowProgress(const std::string& text) override;
  void ShowReport() override;

 private:
  AppState& app_;
};

class AppDataFileView final : public DataFileView {
 public:
  explicit AppDataFileView(AppState& app) : app_(app) {}

  void ShowPin() override;
  void ShowOutputConfig() override;
  void ShowDetails() override;
  void ShowEventPin() override;
  void BuildDccMap() override;
  void ShowDccAddress() override;
  void BuildSerialMap() override;
  void ShowSerialAddress() override;
  void BuildXDccMap() override;
  void ShowXDccAddress() override;
  void ShowDccOutputRange() override;
  void ShowXDccOutputRange() override;
  void ShowAddressingOptions() override;

 private:
  AppState& app_;
};

}  // namespace brixo
