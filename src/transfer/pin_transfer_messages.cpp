#include "transfer/pin_transfer_messages.h"

namespace brixo {

bool ExchangePinRequest(BrixoLink& link, const std::vector<int>& payload) {
  return link.SendBrixoMessage(true, payload) && link.ReplyValid;
}

bool ReplyMatches(const BrixoLink& link, int length, const std::vector<int>& echo) {
  if (link.ReplyLength() != length) return false;
  for (size_t i = 0; i < echo.size(); ++i) {
    if (link.R(static_cast<int>(i)) != echo[i]) return false;
  }
  return true;
}

ReplyStatus RequestLayout(BrixoLink& link, int p, uint8_t& aspectConfig) {
  if (!ExchangePinRequest(link, {kPinReadLayout, p})) return ReplyStatus::LinkFailed;
  if (!ReplyMatches(link, 3, {kPinReadLayout, p})) return ReplyStatus::Invalid;
  aspectConfig = static_cast<uint8_t>(link.R(2));
  return ReplyStatus::Ok;
}

ReplyStatus RequestStep(BrixoLink& link, int p, int a, int s, EncodedStep& step) {
  if (!ExchangePinRequest(link, {kPinReadStep, p, a, s})) return ReplyStatus::LinkFailed;
  if (!ReplyMatches(link, 9, {kPinReadStep, p, a, s})) return ReplyStatus::Invalid;
  step.Code = static_cast<uint8_t>(link.R(4));
  step.D0 = static_cast<uint8_t>(link.R(5));
  step.D1 = static_cast<uint8_t>(link.R(6));
  step.D2 = static_cast<uint8_t>(link.R(7));
  step.D3 = static_cast<uint8_t>(link.R(8));
  return ReplyStatus::Ok;
}

ReplyStatus RequestInitByte(BrixoLink& link, int p, int& initByte) {
  if (!ExchangePinRequest(link, {kPinReadInit, p})) return ReplyStatus::LinkFailed;
  if (link.ReplyLength() < 3 || link.R(0) != kPinReadInit || link.R(1) != p) return ReplyStatus::Invalid;
  initByte = link.R(2);
  return ReplyStatus::Ok;
}

ReplyStatus RequestAddressBytes(BrixoLink& link, int p, std::array<int, 3>& bytes) {
  if (!ExchangePinRequest(link, {kPinReadAddress, p})) return ReplyStatus::LinkFailed;
  if (!ReplyMatches(link, 5, {kPinReadAddress, p})) return ReplyStatus::Invalid;
  bytes = {link.R(2), link.R(3), link.R(4)};
  return ReplyStatus::Ok;
}

bool SortAddressBytes(const std::array<int, 3>& bytes, TaggedAddressBytes& tagged) {
  tagged = TaggedAddressBytes{};
  bool sound = true;
  for (int value : bytes) {
    int* slot = nullptr;
    if (value >= 0 && value <= 15) slot = &tagged.Dcc;
    else if (value >= 16 && value <= 31) slot = &tagged.Serial;
    else if (value >= 64 && value <= 127) slot = &tagged.Device;
    if (slot == nullptr || *slot >= 0) {
      sound = false;
      continue;
    }
    *slot = value;
  }
  return sound;
}

ReplyStatus RequestStoredOutputConfig(BrixoLink& link, int p, std::vector<uint8_t>& config) {
  if (!ExchangePinRequest(link, {kPinReadOutputConfig, p})) return ReplyStatus::LinkFailed;
  const int length = link.ReplyLength();
  if (length < 3) return ReplyStatus::Invalid;
  // The controller may answer the stored-configuration request in either form.
  if ((link.R(0) != kPinReadOutputConfig && link.R(0) != kPinGetOutputConfig) || link.R(1) != p) {
    return ReplyStatus::Invalid;
  }
  config.clear();
  for (int i = 2; i < length; ++i) config.push_back(static_cast<uint8_t>(link.R(i)));
  return ReplyStatus::Ok;
}

bool SendPinWrite(TransferContext& ctx, const std::vector<int>& payload) {
  if (!ctx.Link.SendBrixoMessage(false, payload)) return false;
  ctx.PaceWrite();
  return true;
}

int DisplayedPin(const ConfigModel& model, int p) { return p + model.NumberingOffset; }

std::string PinOfAll(const ConfigModel& model, int p) {
  return "pin " + std::to_string(DisplayedPin(model, p)) + " of " + std::to_string(kPinCount);
}

}  // namespace brixo
