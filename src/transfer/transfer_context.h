#pragma once
// Everything a transfer operation works on, by reference. The application state object
// builds one; tests build their own.
#include <string>
#include <utility>

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
  // The running operation has been asked to stop: a sequence ends before its next exchange.
  bool Stopping() const { return Link.Cancellation().Stopping(); }
  // How far the running operation got, for whoever stopped it ("pin 12 of 32"). A piece
  // whose last exchange failed in a way that stops the operation does not count.
  void NoteDone(std::string piece) {
    if (!Stopping()) Link.Cancellation().NoteDone(std::move(piece));
  }
  // The owner of the operation tells the user how far it got when it ends early; a
  // sequence then does not say which pins it left out.
  bool OwnerTellsProgress() const { return Link.Cancellation().OwnerTellsProgress(); }
  // The 100 ms pause between writes while "Bidirectional Comm." is off.
  void PaceWrite() {
    if (!Link.CheckBrixoBD) Link.GetClock().SleepMs(100);
  }
};

}  // namespace brixo
