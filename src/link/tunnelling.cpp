#include "link/tunnelling.h"

namespace brixo {

namespace {

const std::vector<int> kPoll{};
const std::vector<int> kProtocolQuery{1, 2};
const std::vector<int> kUnitQuery{1, 10};
const std::vector<int> kTransparentCommand{1, 5, 16};
constexpr const char* kUnsupported = "Your system does not support this function";

struct UnitKind {
  int Type;
  const char* Name;
  int LastRefusedVersion;  // firmware at or below this cannot switch; -1: any can
};
constexpr UnitKind kUnits[] = {{2, "Kesta", 1019}, {3, "Vulmo", -1}, {10, "Sarpa", 1029}};

}  // namespace

int UnpackVersion(int h, int l) { return (h / 8) * 1000 + (h % 8) * 100 + (l / 8) * 10 + l % 8; }

std::string ProtocolText(int version) {
  return "Protocol = " + std::to_string(version / 1000) + "." + std::to_string(version % 1000);
}

bool Tunnelling::IsQueryAnswer(int length, int query) const {
  const auto& reply = link_.ReplyBuffer;
  return reply[0] == length && reply[1] == 1 && reply[2] == query;
}

void Tunnelling::SwitchOff(int numberingOffset) {
  link_.CheckQuendal = false;
  addresses_.WideModuleRange = false;
  // Re-checking the field brings an address above 15 back into the direct range.
  addresses_.CommitModuleAddressText(addresses_.ModuleAddressText(numberingOffset), numberingOffset);
}

bool Tunnelling::SetTunnelling(bool checked, int numberingOffset) {
  if (!checked) {
    SwitchOff(numberingOffset);
    return false;
  }
  link_.CheckQuendal = true;
  if (!link_.PortOpen()) {
    link_.Prompt().ShowMessage("Select communications port", MessageIcon::Warning);
    SwitchOff(numberingOffset);
    return false;
  }
  link_.HostToggle = 1;
  if (!link_.SendQuendalMessage(kPoll)) {
    SwitchOff(numberingOffset);
    return false;
  }
  if (link_.SendQuendalMessage(kProtocolQuery)) {
    if (!IsQueryAnswer(4, 2)) {
      link_.Prompt().ShowMessage(kUnsupported, MessageIcon::Warning);
      SwitchOff(numberingOffset);
    } else {
      const int version = UnpackVersion(link_.ReplyBuffer[3], link_.ReplyBuffer[4]);
      if (version >= kTunnellingProtocol) {
        addresses_.WideModuleRange = true;
      } else {
        link_.Prompt().ShowMessage(std::string(kUnsupported) + "\n" + ProtocolText(version), MessageIcon::Warning);
        SwitchOff(numberingOffset);
      }
    }
  }
  link_.SendQuendalMessage(kPoll);
  return link_.CheckQuendal;
}

void Tunnelling::RefuseUnsupported(const std::string& text) {
  link_.SendQuendalMessage(kPoll);
  link_.Prompt().ShowMessage(text, MessageIcon::Warning);
}

void Tunnelling::ActivateTransparentMode() {
  if (!link_.PortOpen()) {
    link_.Prompt().ShowMessage("Select communications port", MessageIcon::Warning);
    return;
  }
  if (!link_.SendQuendalMessage(kPoll)) return;
  if (!link_.SendQuendalMessage(kProtocolQuery)) return;
  if (IsQueryAnswer(4, 2) && UnpackVersion(link_.ReplyBuffer[3], link_.ReplyBuffer[4]) >= kTunnellingProtocol) {
    link_.SendQuendalMessage(kPoll);
    const MessageAnswer answer = link_.Prompt().ShowMessage(
        "Your Quendal system supports Brixo Tunneling\n"
        "We recommend to use the Quendal Tunneling option instead\n"
        "Do you still want to activate Transparant Mode?",
        MessageIcon::Question, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) return;
  }
  if (!link_.SendQuendalMessage(kUnitQuery)) return;
  if (!IsQueryAnswer(5, 10)) {
    RefuseUnsupported(kUnsupported);
    return;
  }
  const int type = link_.ReplyBuffer[3];
  const int version = UnpackVersion(link_.ReplyBuffer[4], link_.ReplyBuffer[5]);
  const UnitKind* unit = nullptr;
  for (const UnitKind& kind : kUnits) {
    if (kind.Type == type) unit = &kind;
  }
  if (unit == nullptr) {
    RefuseUnsupported(kUnsupported);
    return;
  }
  const std::string name = unit->Name;
  if (version <= unit->LastRefusedVersion) {
    RefuseUnsupported("Your " + name + " does not support this function");
    return;
  }
  if (link_.SendQuendalMessage(kTransparentCommand)) {
    link_.Prompt().ShowMessage("Your " + name + " has been put in Transparent Mode", MessageIcon::Information);
  }
}

}  // namespace brixo
