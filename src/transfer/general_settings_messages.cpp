#include "transfer/general_settings_messages.h"

#include "transfer/general_settings_encoding.h"

namespace brixo {

bool RequestGeneral(TransferContext& ctx, int sub) {
  ctx.Link.SendBrixoMessage(true, {kGenReadCommand, sub});
  return ctx.Link.ReplyValid;
}

bool GeneralEchoMatches(const BrixoLink& link, int sub) {
  return link.R(0) == kGenReadCommand && link.R(1) == sub;
}

bool GeneralReplyIs(const BrixoLink& link, int sub, int length) {
  return link.ReplyLength() == length && GeneralEchoMatches(link, sub);
}

bool WriteGeneral(TransferContext& ctx, int sub, const std::vector<int>& values) {
  std::vector<int> payload{kGenWriteCommand, sub};
  payload.insert(payload.end(), values.begin(), values.end());
  return ctx.Link.SendBrixoMessage(false, payload);
}

std::string GeneralSizeText(const BrixoLink& link, int expected) {
  return "No valid response, size = " + std::to_string(link.ReplyLength()) + " expected = " +
         std::to_string(expected);
}

std::string GeneralEchoText(const BrixoLink& link, int sub) {
  return "No valid response, msg = " + std::to_string(link.R(0)) + "," + std::to_string(link.R(1)) +
         " expected = 112," + std::to_string(sub);
}

namespace {
bool EchoesRead(const std::vector<int>& payload, int sub) {
  return payload.size() >= 2 && payload[0] == kGenReadCommand && payload[1] == sub;
}

std::string ValueCharacters(const std::vector<int>& payload) {
  std::string text;
  for (size_t i = 2; i < payload.size(); ++i) text += static_cast<char>(payload[i]);
  return text;
}
}  // namespace

std::string GeneralReplyString(const BrixoLink& link) { return ValueCharacters(GeneralReplyPayload(link)); }

std::vector<int> GeneralReplyPayload(const BrixoLink& link) {
  std::vector<int> payload;
  for (int i = 0; i < link.ReplyLength(); ++i) payload.push_back(link.R(i));
  return payload;
}

std::optional<std::string> VersionReplyText(const std::vector<int>& payload) {
  if (payload.size() != 6 || !EchoesRead(payload, kGenVersion)) return std::nullopt;
  return FormatVersion(payload[2], payload[3], payload[4], payload[5]);
}

std::optional<std::string> IdStringReplyText(const std::vector<int>& payload) {
  if (payload.size() <= 1 || !EchoesRead(payload, kGenIdString)) return std::nullopt;
  return ValueCharacters(payload);
}

std::array<int, 4> GeneralReplyQuad(const BrixoLink& link) {
  return {link.R(2), link.R(3), link.R(4), link.R(5)};
}

}  // namespace brixo
