#include "transfer/general_settings_transfer.h"

#include <string>
#include <vector>

#include "transfer/general_settings.h"
#include "transfer/general_settings_encoding.h"
#include "transfer/general_settings_messages.h"

namespace brixo {

namespace {

const char* const kEraseFirstQuestion =
    "WARNING !!\n"
    "This operation will erase the Brixo Configuration Memory\n"
    "Continue?";
const char* const kEraseSecondQuestion =
    "WARNING !!\n"
    "This operation will erase the Brixo Configuration Memory\n"
    "The green LED on the Brixo will be ON during this process\n"
    "The erase process may take up to 45 seconds, please be patient\n"
    "\n"
    "Do you want to cancel this operation?";
const char* const kIdReplaced = "Characters that cannot be sent were replaced by ?";

void Tell(TransferContext& ctx, const std::string& text) { ctx.Prompt().ShowMessage(text); }

// A read value that a write would not send back as the same bytes: said when it is read,
// not found by the next verification.
std::string NotWritableBack(const std::string& field, int low, int high, int kept) {
  const int held = DecodeDccAddress(low, high);
  const std::string heldText = low < 64 ? std::to_string(held)
                                        : "the bytes " + std::to_string(low) + ", " + std::to_string(high);
  return field + ": the controller holds " + heldText + ", which cannot be written back as it is; a write sends " +
         std::to_string(kept);
}

std::vector<int> AsPayload(const std::array<int, 4>& values) { return {values.begin(), values.end()}; }

// Reads one LED function byte into its boxes; false only when the link failed.
bool ReadLedByte(TransferContext& ctx, int sub, std::array<uint8_t, 8>& boxes) {
  if (!RequestGeneral(ctx, sub)) return false;
  if (GeneralReplyIs(ctx.Link, sub, 3))
    DecodeLedByte(ctx.Link.R(2), boxes);
  else
    Tell(ctx, "No valid response");
  return true;
}

}  // namespace

bool ReadVersion(TransferContext& ctx) {
  GeneralSettings& g = ctx.General;
  ctx.Link.CheckBrixoBD = true;
  g.LabelGenVersionString = "Unknown";
  bool ok = false;
  if (RequestGeneral(ctx, kGenVersion)) {
    const BrixoLink& link = ctx.Link;
    if (link.ReplyLength() != 6) {
      Tell(ctx, "GetVersion: No valid response, size <> 6");
    } else if (!GeneralEchoMatches(link, kGenVersion)) {
      Tell(ctx, "GetVersion: No valid response");
    } else {
      g.LabelGenVersionString = FormatVersion(link.R(2), link.R(3), link.R(4), link.R(5));
      ok = true;
    }
  }
  ctx.View.ShowGeneralSettings();
  return ok;
}

bool ReadIdString(TransferContext& ctx) {
  ctx.Link.CheckBrixoBD = true;
  if (!RequestGeneral(ctx, kGenIdString)) return false;
  if (ctx.Link.ReplyLength() <= 1 || !GeneralEchoMatches(ctx.Link, kGenIdString)) {
    Tell(ctx, "No valid response");
    return false;
  }
  ctx.General.TextGenIDString = GeneralReplyString(ctx.Link);
  ctx.View.ShowGeneralSettings();
  return true;
}

bool WriteIdString(TransferContext& ctx) {
  const std::string& whole = ctx.General.TextGenIDString;
  // Said before anything is written: a later verify against the file then differs.
  if (whole.size() > static_cast<size_t>(kIdStringLength)) {
    ctx.Prompt().ShowMessage("The ID string \"" + whole + "\" is longer than the " + std::to_string(kIdStringLength) +
                                 " characters a controller holds: \"" + whole.substr(0, kIdStringLength) +
                                 "\" is written",
                             MessageIcon::Information, MessageButtons::Ok);
  }
  const IdStringBytes id = SendableIdString(whole);
  ctx.General.TextGenIDString = id.Text;
  ctx.View.ShowGeneralSettings();
  if (id.Replaced) Tell(ctx, kIdReplaced);
  std::vector<int> values;
  for (char c : id.Text) values.push_back(static_cast<unsigned char>(c));
  return WriteGeneral(ctx, kGenIdString, values);
}

bool ReadDccSettings(TransferContext& ctx) {
  ctx.Link.CheckBrixoBD = true;
  GeneralTab tab = GeneralTabOf(ctx);
  const BrixoLink& link = ctx.Link;

  if (!RequestGeneral(ctx, kGenDccOptions)) return false;
  if (link.ReplyLength() != 3)
    Tell(ctx, "Received Address, cannot read DCC options");
  else if (!GeneralEchoMatches(link, kGenDccOptions))
    Tell(ctx, "Received Address: No valid response");
  else
    DecodeDccOptions(link.R(2), ctx.General);

  if (!RequestGeneral(ctx, kGenDccAddress)) return false;
  if (link.ReplyLength() != 4)
    Tell(ctx, "Get DCC Address: No valid response, size <> 4");
  else if (!GeneralEchoMatches(link, kGenDccAddress))
    Tell(ctx, "Get DCC Address: No valid response");
  else if (!StoreReadDccAddress(tab, link.R(2), link.R(3)))
    Tell(ctx, NotWritableBack("DCC address", link.R(2), link.R(3), DccAddressValue(ctx.General)));

  if (!RequestGeneral(ctx, kGenXDccAddress)) return false;
  if (!GeneralReplyIs(link, kGenXDccAddress, 4))
    Tell(ctx, "No valid response");
  else if (!StoreReadXDccAddress(tab, link.R(2), link.R(3)))
    Tell(ctx, NotWritableBack("eXtended DCC address", link.R(2), link.R(3), XDccAddressValue(ctx.General)));

  ctx.View.ShowGeneralSettings();
  return true;
}

bool WriteDccSettings(TransferContext& ctx) {
  const GeneralSettings& g = ctx.General;
  if (!WriteGeneral(ctx, kGenDccOptions, {EncodeDccOptions(g)})) return false;
  const auto basic = EncodeDccAddress(DccAddressValue(g));
  if (!WriteGeneral(ctx, kGenDccAddress, {basic[0], basic[1]})) return false;
  const auto extended = EncodeDccAddress(XDccAddressValue(g));
  return WriteGeneral(ctx, kGenXDccAddress, {extended[0], extended[1]});
}

bool ReadAddressSettings(TransferContext& ctx) {
  GeneralSettings& g = ctx.General;
  const BrixoLink& link = ctx.Link;
  ctx.Link.CheckBrixoBD = true;
  // Filling the boxes from the controller is not the user switching flexible addressing on:
  // no warning, whichever command runs the read.
  const bool wasQuiet = g.QuietAddressUpdate;
  g.QuietAddressUpdate = true;
  bool ok = false;
  do {
    if (!RequestGeneral(ctx, kGenSerialAddress)) break;
    if (link.ReplyLength() != 4) {
      Tell(ctx, GeneralSizeText(link, 4));
    } else if (!GeneralEchoMatches(link, kGenSerialAddress)) {
      Tell(ctx, GeneralEchoText(link, kGenSerialAddress));
    } else {
      DecodeSerialAddress(link.R(2), link.R(3), g);
      g.TextGenTamloaddr = std::to_string(g.FlexAddress * 4 + ctx.Model.NumberingOffset);
      ctx.View.ShowAddressCounts();
      ctx.View.ShowSerialAddress();
    }

    if (!RequestGeneral(ctx, kGenModuleXAddress)) break;
    if (link.ReplyLength() != 3) {
      Tell(ctx, GeneralSizeText(link, 3));
    } else if (!GeneralEchoMatches(link, kGenModuleXAddress)) {
      Tell(ctx, GeneralEchoText(link, kGenModuleXAddress));
    } else {
      DecodeModuleXAddress(link.R(2), g);
      g.TextGenXaddr = std::to_string(g.ModuleXAddress + ctx.Model.NumberingOffset);
    }

    if (!RequestGeneral(ctx, kGenGroupMask)) break;
    if (link.ReplyLength() != 6)
      Tell(ctx, GeneralSizeText(link, 6));
    else if (!GeneralEchoMatches(link, kGenGroupMask))
      Tell(ctx, GeneralEchoText(link, kGenGroupMask));
    else
      DecodeGroupMasks(GeneralReplyQuad(link), g);
    ok = true;
  } while (false);
  g.QuietAddressUpdate = wasQuiet;
  ctx.View.ShowGeneralSettings();
  return ok;
}

bool WriteAddressSettings(TransferContext& ctx) {
  const GeneralSettings& g = ctx.General;
  const SerialAddressBytes serial = WrittenSerialAddress(g);
  const std::array<int, 4> masks = WrittenGroupMasks(g);
  if (!WriteGeneral(ctx, kGenSerialAddress, {serial.Flag, serial.Address})) return false;
  if (!WriteGeneral(ctx, kGenGroupMask, AsPayload(masks))) return false;
  return WriteGeneral(ctx, kGenModuleXAddress, {EncodeModuleXAddress(g)});
}

bool ReadHardwareConfig(TransferContext& ctx) {
  ctx.Link.CheckBrixoBD = true;
  const BrixoLink& link = ctx.Link;
  if (!RequestGeneral(ctx, kGenHardware)) return false;
  if (link.ReplyLength() != 6) {
    Tell(ctx, "No valid response size");
    return true;
  }
  if (!GeneralEchoMatches(link, kGenHardware)) {
    Tell(ctx, "No valid response type");
    return true;
  }
  bool ok = true;
  for (int group = 0; group < 4 && ok; ++group) {
    if (!DecodeHardwareGroup(link.R(2 + group), ctx.General, group)) {
      Tell(ctx, "No valid response byte");
      ok = false;
    }
  }
  ctx.View.ShowGeneralSettings();
  ctx.View.ShowOutputConfig();
  return ok;
}

bool WriteHardwareConfig(TransferContext& ctx) {
  std::vector<int> groups;
  for (int group = 0; group < 4; ++group) groups.push_back(EncodeHardwareGroup(ctx.General, group));
  return WriteGeneral(ctx, kGenHardware, groups);
}

bool ReadSerialPortConfig(TransferContext& ctx) {
  ctx.Link.CheckBrixoBD = true;
  const BrixoLink& link = ctx.Link;
  if (!RequestGeneral(ctx, kGenSerialPort)) return false;
  if (link.ReplyLength() != 4) {
    Tell(ctx, GeneralSizeText(link, 4));
  } else if (!GeneralEchoMatches(link, kGenSerialPort)) {
    Tell(ctx, GeneralEchoText(link, kGenSerialPort));
  } else {
    ctx.General.CheckGenSerialEnable = link.R(2) != 0;
    DecodeSerialPortFormat(link.R(3), ctx.General);
    ctx.View.ShowGeneralSettings();
  }
  return true;
}

bool WriteSerialPortConfig(TransferContext& ctx) {
  const GeneralSettings& g = ctx.General;
  return WriteGeneral(ctx, kGenSerialPort, {g.CheckGenSerialEnable ? 1 : 0, EncodeSerialPortFormat(g)});
}

bool ReadLedConfig(TransferContext& ctx) {
  ctx.Link.CheckBrixoBD = true;
  const bool ok = ReadLedByte(ctx, kGenGreenLed, ctx.General.CheckLCGreen) &&
                  ReadLedByte(ctx, kGenOrangeLed, ctx.General.CheckLCOrange);
  ctx.View.ShowGeneralSettings();
  return ok;
}

bool WriteLedConfig(TransferContext& ctx) {
  if (!WriteGeneral(ctx, kGenGreenLed, {EncodeLedByte(ctx.General.CheckLCGreen)})) return false;
  return WriteGeneral(ctx, kGenOrangeLed, {EncodeLedByte(ctx.General.CheckLCOrange)});
}

bool EraseFlash(TransferContext& ctx) {
  UserPrompt& prompt = ctx.Prompt();
  if (prompt.ShowMessage(kEraseFirstQuestion, MessageIcon::Warning, MessageButtons::OkCancel) != MessageAnswer::Ok)
    return false;
  // OK here answers "cancel this operation?": only Cancel goes on.
  if (prompt.ShowMessage(kEraseSecondQuestion, MessageIcon::Warning, MessageButtons::OkCancel) !=
      MessageAnswer::Cancel)
    return false;
  // The controller is busy erasing and sends no acknowledgement.
  const bool bidirectional = ctx.Link.CheckBrixoBD;
  ctx.Link.CheckBrixoBD = false;
  const bool sent = ctx.Link.SendBrixoMessage(false, {kGenWriteCommand, 0, 83, 61, 11, 29, 66, 9, 35, 14});
  ctx.Link.CheckBrixoBD = bidirectional;
  return sent;
}

}  // namespace brixo
