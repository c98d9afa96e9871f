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

std::string GeneralReplyString(const BrixoLink& link) {
  std::string text;
  for (int i = 2; i < link.ReplyLength(); ++i) text += static_cast<char>(link.R(i));
  return text;
}

std::array<int, 4> GeneralReplyQuad(const BrixoLink& link) {
  return {link.R(2), link.R(3), link.R(4), link.R(5)};
}

}  // namespace brixo
