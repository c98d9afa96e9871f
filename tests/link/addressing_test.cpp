// Address fields, extended addressing, the tunnelling handshake and transparent mode.
#include <gtest/gtest.h>

#include "link/address_settings.h"
#include "link/communication_log.h"
#include "link/tunnelling.h"
#include "link_test_support.h"

namespace brixo::test {
namespace {

struct AddressRig : LinkRig {
  AddressSettings Addresses{Link};
  Tunnelling Tunnel{Link, Addresses};
  int Changes = 0;
  AddressRig() { Addresses.onAddressChanged = [this] { ++Changes; }; }
};

TEST(AddressFields, ModuleAddressIsClampedToTheTransportRange) {
  struct Case {
    const char* text;
    int offset;
    bool tunnelling;
    const char* shown;
    int stored;
    bool taken;  // false: refused as no number, nothing changes
  };
  const Case cases[] = {
      {"20", 0, false, "15", 15, true}, {"31", 0, true, "31", 31, true}, {"40", 1, true, "32", 31, true},
      {"0", 1, false, "1", 0, true},    {"3.6", 0, false, "4", 4, true}, {"-5", 1, false, "1", 0, true},
      {"16", 1, false, "16", 15, true}, {"abc", 1, false, "4", 3, false}, {"", 0, false, "3", 3, false},
      {"7x", 0, true, "3", 3, false},
  };
  for (const Case& c : cases) {
    AddressRig rig;
    rig.Link.CheckQuendal = c.tunnelling;
    rig.Link.ModuleAddress = 3;
    EXPECT_EQ(rig.Addresses.CommitModuleAddressText(c.text, c.offset), c.shown) << c.text;
    EXPECT_EQ(rig.Link.ModuleAddress, c.stored) << c.text;
    EXPECT_EQ(rig.Link.ToggleState == 128, c.taken) << "a module address change resynchronises";
    EXPECT_EQ(rig.Changes, c.taken ? 1 : 0);
  }
}

TEST(AddressFields, ExtendedAddressIsClampedWithoutResync) {
  const std::tuple<const char*, int, const char*, int> cases[] = {
      {"200", 0, "95", 95}, {"200", 1, "96", 95}, {"-1", 1, "1", 0}, {"40", 1, "40", 39}};
  for (const auto& [text, offset, shown, stored] : cases) {
    AddressRig rig;
    EXPECT_EQ(rig.Addresses.CommitExtendedAddressText(text, offset), shown) << text;
    EXPECT_EQ(rig.Link.ExtendedAddress, stored) << text;
    EXPECT_EQ(rig.Link.ToggleState, 0);
    EXPECT_EQ(rig.Changes, 1);
  }
}

TEST(AddressFields, ExtendedAddressingNeedsConfirmation) {
  for (MessageAnswer answer : {MessageAnswer::Ok, MessageAnswer::Cancel}) {
    AddressRig rig;
    rig.Prompt.Answers = {answer};
    const bool on = rig.Addresses.SetExtendedAddressing(true);
    EXPECT_EQ(on, answer == MessageAnswer::Ok);
    EXPECT_EQ(rig.Link.CheckXaddress, on);
    EXPECT_EQ(rig.Prompt.Messages.at(0), "eXtended Addressing is intended for\nexperienced users only!");
    EXPECT_EQ(rig.Prompt.Shown.at(0).Buttons, MessageButtons::OkCancel);
    EXPECT_EQ(rig.Addresses.LabelAddressCaption(), on ? "Channel Number" : "Module Address");
    EXPECT_EQ(rig.Addresses.ExtendedAddressVisible(), on);
    EXPECT_EQ(rig.Changes, 1);
  }
  AddressRig rig;
  rig.Link.CheckXaddress = true;
  EXPECT_FALSE(rig.Addresses.SetExtendedAddressing(false));
  EXPECT_TRUE(rig.Prompt.Messages.empty()) << "switching off asks nothing";
}

Bytes HostAnswer(std::vector<int> data) {
  Bytes frame{static_cast<uint8_t>(data.size() <= 7 ? 0x28 + data.size() : data.size() - 8)};
  for (int v : data) frame.push_back(static_cast<uint8_t>(0x80 | v));
  return WithCheck(frame);
}
const Bytes kEmpty = HostAnswer({});

TEST(TunnellingSwitch, ProtocolVersionDecidesAndWidensTheAddressRange) {
  struct Case {
    int h, l;
    bool accepted;
    std::string message;
  };
  const Case cases[] = {
      {26, 0, true, ""},
      {25, 80, true, ""},  // 3100 + 100: the packing reaches 3200 this way too
      {25, 79, false, "Your system does not support this function\nProtocol = 3.197"},
      {24, 15, false, "Your system does not support this function\nProtocol = 3.17"},
  };
  for (const Case& c : cases) {
    AddressRig rig;
    rig.Port.QueueReply(kEmpty);
    rig.Port.QueueReply(HostAnswer({1, 2, c.h, c.l}));
    rig.Port.QueueReply(kEmpty);
    EXPECT_EQ(rig.Tunnel.SetTunnelling(true, 1), c.accepted) << c.h << "," << c.l;
    EXPECT_EQ(rig.Link.CheckQuendal, c.accepted);
    EXPECT_EQ(rig.Tunnel.cmdSetTMVisible(), !c.accepted);
    EXPECT_EQ(rig.Addresses.UpDownAddressLimits(1).Max, c.accepted ? 32 : 16);
    EXPECT_EQ(rig.Prompt.Messages, c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    EXPECT_EQ(rig.Port.Writes.size(), 3u) << "poll, version query, poll";
    EXPECT_EQ(rig.Port.Writes[0], (Bytes{0x68, 0x98})) << "the handshake starts with host toggle 1";
  }
  EXPECT_EQ(ProtocolText(3199), "Protocol = 3.199");
  EXPECT_EQ(UnpackVersion(26, 0), 3200);
}

TEST(TunnellingSwitch, HandshakeFailures) {
  struct Case {
    const char* name;
    bool portOpen;
    std::vector<Bytes> answers;
    bool staysOn;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"PortClosed", false, {}, false, {"Select communications port"}},
      {"NoHost", true, {{}}, false, {"No answer from Quendal"}},
      {"VersionQueryUnanswered", true, {kEmpty, {}, kEmpty}, true, {"No answer from Quendal"}},
      {"WrongAnswer", true, {kEmpty, HostAnswer({1, 2, 26}), kEmpty}, false,
       {"Your system does not support this function"}},
  };
  for (const Case& c : cases) {
    AddressRig rig;
    if (!c.portOpen) rig.Port.Close();
    for (const Bytes& a : c.answers) rig.Port.QueueReply(a);
    EXPECT_EQ(rig.Tunnel.SetTunnelling(true, 0), c.staysOn) << c.name;
    EXPECT_EQ(rig.Prompt.Messages, c.messages) << c.name;
    EXPECT_EQ(rig.Addresses.UpDownAddressLimits(0).Max, 15) << c.name;
  }
}

TEST(TunnellingSwitch, SwitchingOffBringsAddressBackIntoDirectRange) {
  AddressRig rig;
  rig.Link.CheckQuendal = true;
  rig.Addresses.WideModuleRange = true;
  rig.Addresses.CommitModuleAddressText("32", 1);
  ASSERT_EQ(rig.Link.ModuleAddress, 31);
  EXPECT_FALSE(rig.Tunnel.SetTunnelling(false, 1));
  EXPECT_EQ(rig.Link.ModuleAddress, 15);
  EXPECT_EQ(rig.Addresses.ModuleAddressText(1), "16");
  EXPECT_EQ(rig.Addresses.UpDownAddressLimits(1).Max, 16);
  EXPECT_TRUE(rig.Tunnel.cmdSetTMVisible());
}

TEST(TransparentMode, UnitTypeAndFirmwareDecide) {
  struct Case {
    int type, h, l;  // firmware version packed like the protocol version
    std::string message;
    bool commandSent;
  };
  const Case cases[] = {
      {2, 8, 15, "Your Kesta does not support this function", false},   // 1017
      {2, 8, 16, "Your Kesta has been put in Transparent Mode", true},   // 1020
      {10, 8, 23, "Your Sarpa does not support this function", false},  // 1027
      {10, 8, 24, "Your Sarpa has been put in Transparent Mode", true},  // 1030
      {3, 0, 0, "Your Vulmo has been put in Transparent Mode", true},
      {7, 8, 24, "Your system does not support this function", false},
  };
  for (const Case& c : cases) {
    AddressRig rig;
    for (const Bytes& a : {kEmpty, HostAnswer({1, 2, 24, 0}), HostAnswer({1, 10, c.type, c.h, c.l}), kEmpty})
      rig.Port.QueueReply(a);
    rig.Tunnel.ActivateTransparentMode();
    EXPECT_EQ(rig.Prompt.Messages, std::vector<std::string>{c.message}) << c.message;
    EXPECT_EQ(rig.Prompt.Shown.back().Icon, c.commandSent ? MessageIcon::Information : MessageIcon::Warning);
    ASSERT_EQ(rig.Port.Writes.size(), 4u);
    const bool command = rig.Port.Writes[3].size() == 5 && rig.Port.Writes[3][1] == 0x81 &&
                         rig.Port.Writes[3][2] == 0x85 && rig.Port.Writes[3][3] == 0x90;
    EXPECT_EQ(command, c.commandSent) << c.message;
    EXPECT_FALSE(rig.Link.CheckQuendal);
  }
}

TEST(TransparentMode, TunnellingHostAsksFirst) {
  for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
    AddressRig rig;
    rig.Prompt.Answers = {answer};
    for (const Bytes& a : {kEmpty, HostAnswer({1, 2, 26, 0}), kEmpty, HostAnswer({1, 10, 3, 8, 24}), kEmpty})
      rig.Port.QueueReply(a);
    rig.Tunnel.ActivateTransparentMode();
    EXPECT_EQ(rig.Prompt.Messages.at(0),
              "Your Quendal system supports Brixo Tunneling\nWe recommend to use the Quendal Tunneling option "
              "instead\nDo you still want to activate Transparant Mode?");
    EXPECT_EQ(rig.Prompt.Shown[0].Buttons, MessageButtons::YesNo);
    EXPECT_EQ(rig.Port.Writes.size(), answer == MessageAnswer::Yes ? 5u : 3u);
  }
}

TEST(CommunicationLog, KeepsLinesAcrossClear) {
  CommunicationLog log;
  std::string seen;
  log.onAppend = [&](const std::string& piece) { seen += piece; };
  log.AppendLine(">  [03] [60]");
  log.AppendLine("<  [03] [60]");
  EXPECT_EQ(log.Text(), ">  [03] [60]\r\n<  [03] [60]\r\n");
  EXPECT_EQ(seen, log.Text());
  log.Clear();
  log.AppendLine(">>  [2A] [01] [02]");
  EXPECT_EQ(log.Text(), ">>  [2A] [01] [02]\r\n");
}

}  // namespace
}  // namespace brixo::test
