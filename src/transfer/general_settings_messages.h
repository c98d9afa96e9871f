#pragma once
// The request/reply conventions of the general-settings messages: read 112, s awaiting a
// reply whose payload echoes 112, s; write 96, s, values without awaiting one. Shared by the
// read, write and verify paths so that each reply shape is checked in one place.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "transfer/transfer_context.h"

namespace brixo {

// Sends read request 112, s; true when a reply came and passed the link's own checks.
bool RequestGeneral(TransferContext& ctx, int sub);
// The reply echoes 112, s.
bool GeneralEchoMatches(const BrixoLink& link, int sub);
// The reply echoes 112, s and has the payload length given.
bool GeneralReplyIs(const BrixoLink& link, int sub, int length);
// Sends 96, s, values without awaiting a reply; the send's success.
bool WriteGeneral(TransferContext& ctx, int sub, const std::vector<int>& values);

// "No valid response, size = <L> expected = <n>"
std::string GeneralSizeText(const BrixoLink& link, int expected);
// "No valid response, msg = <R0>,<R1> expected = 112,<s>"
std::string GeneralEchoText(const BrixoLink& link, int sub);

// R2 .. R(L-1) as characters.
std::string GeneralReplyString(const BrixoLink& link);
// R0 .. R(L-1).
std::vector<int> GeneralReplyPayload(const BrixoLink& link);
// For replies taken apart from the link (a late answer): "R2.R3.R4.R5" of a whole version
// reply, and the characters of an identification-string reply; nothing for anything else.
std::optional<std::string> VersionReplyText(const std::vector<int>& payload);
std::optional<std::string> IdStringReplyText(const std::vector<int>& payload);
// R2 .. R5.
std::array<int, 4> GeneralReplyQuad(const BrixoLink& link);

}  // namespace brixo
