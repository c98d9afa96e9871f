#pragma once
// Everything a transfer operation works on, by reference. The application state object
// builds one; tests build their own.
#include "link/brixo_link.h"
#include "model/address_maps.h"
#include "model/pin_model.h"
#include "transfer/event_control_state.h"
#include "transfer/general_settings_state.h"
#include "transfer/transfer_view.h"
#include "transfer/verification_report.h"

namespace brixo {

struct TransferContext {
  BrixoLink& Link;
  ConfigModel& Model;
  AddressMaps& Maps;
  GeneralSettings& General;
  EventControlState& Events;
  VerificationReport& Report;
  TransferView& View;

  UserPrompt& Prompt() { return Link.Prompt(); }
  // The 100 ms pause between writes while "Bidirectional Comm." is off.
  void PaceWrite() {
    if (!Link.CheckBrixoBD) Link.GetClock().SleepMs(100);
  }
};

}  // namespace brixo
