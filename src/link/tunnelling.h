#pragma once
// Reaching the controller through the Quendal host system: the "Use Quendal Tunneling"
// switch with its handshake, and the older interface units' transparent mode.
#include <string>

#include "link/address_settings.h"
#include "link/brixo_link.h"

namespace brixo {

// The host's oldest protocol that carries controller messages (and module addresses to 31).
inline constexpr int kTunnellingProtocol = 3200;

// A version packed in two bytes: (H div 8) × 1000 + (H mod 8) × 100 + (L div 8) × 10 + L mod 8.
int UnpackVersion(int h, int l);
// "Protocol = " + version div 1000 + "." + version mod 1000 (3100 → "3.100", 3015 → "3.15").
std::string ProtocolText(int version);

class Tunnelling {
 public:
  Tunnelling(BrixoLink& link, AddressSettings& addresses) : link_(link), addresses_(addresses) {}

  // CheckQuendal click with the box's new state. Returns the box's state afterwards.
  bool SetTunnelling(bool checked, int numberingOffset);
  // cmdSetTM click.
  void ActivateTransparentMode();

  // "Activate Transparent Mode" is offered while tunnelling is off.
  bool cmdSetTMVisible() const { return !link_.CheckQuendal; }

 private:
  void SwitchOff(int numberingOffset);
  // True when ReplyBuffer holds a host answer of the given length starting with 1, query.
  bool IsQueryAnswer(int length, int query) const;
  void RefuseUnsupported(const std::string& text);

  BrixoLink& link_;
  AddressSettings& addresses_;
};

}  // namespace brixo
