#pragma once
// What a comparison found different, as the writes that make the controller agree with
// the editor: a general-settings group, the event tables, the enable map, a pin. Writing
// only these spares the controller's flash the writes that would change nothing.
#include <array>
#include <vector>

#include "transfer/transfer_context.h"

namespace brixo {

struct ChangedParts {
  bool IdString = false;
  bool DccSettings = false;
  bool LedConfig = false;
  bool HardwareConfig = false;
  bool SerialPortConfig = false;
  bool AddressSettings = false;
  bool EventActions = false;
  bool EnableMap = false;
  std::array<bool, kPinCount> Pins{};

  bool Any() const;
  int PinCount() const;
  bool operator==(const ChangedParts&) const = default;
};

// The parts that hold the differing fields.
ChangedParts ChangedPartsOf(const std::vector<Difference>& differences);
ChangedParts ChangedPartsOf(const std::vector<FieldId>& fields);

// Writes the changed parts in the order of Write All, the serial addressing options last;
// stops at the first write that fails. True when every write was sent. `pinsWritten`
// counts the pins written whole.
bool WriteChangedParts(TransferContext& ctx, const ChangedParts& parts, int& pinsWritten);

}  // namespace brixo
