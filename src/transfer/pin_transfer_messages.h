#pragma once
// The pin messages the controller understands and the request/reply exchanges that the
// read and verify paths share, so each reply shape is checked in one place.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/controller_encoding.h"
#include "model/device_membership.h"
#include "transfer/transfer_context.h"

namespace brixo {

enum PinMessage : int {
  kPinWriteLayout = 98,
  kPinWriteStep = 99,
  kPinWriteInit = 100,
  kPinWriteAddress = 102,
  kPinGetOutputConfig = 81,
  kPinReadOutputConfig = 113,
  kPinReadLayout = 114,
  kPinReadStep = 115,
  kPinReadInit = 116,
  kPinReadAddress = 118,
};

// LinkFailed: the exchange itself failed and has told the user already.
// Invalid: a reply came but has the wrong length or echo.
enum class ReplyStatus { LinkFailed, Invalid, Ok };

// Sends a request awaiting a reply; true when a valid reply is in the link's buffer.
bool ExchangePinRequest(BrixoLink& link, const std::vector<int>& payload);
// True when the last reply has the given payload length and starts with the given bytes.
bool ReplyMatches(const BrixoLink& link, int length, const std::vector<int>& echo);

ReplyStatus RequestLayout(BrixoLink& link, int p, uint8_t& aspectConfig);
ReplyStatus RequestStep(BrixoLink& link, int p, int a, int s, EncodedStep& step);
// The initial-aspect byte from any reply that echoes 116, p and carries it: the seven-byte
// form of a controller with event control and the three-byte form of one without.
ReplyStatus RequestInitByte(BrixoLink& link, int p, int& initByte);
ReplyStatus RequestAddressBytes(BrixoLink& link, int p, std::array<int, 3>& bytes);

// The three address bytes sorted by their tags: DCC (0x00..0x0F), serial (0x10..0x1F),
// device (0x40..0x7F); -1 where no byte carries a tag, and false when a byte carries a tag
// twice or none at all.
struct TaggedAddressBytes {
  int Dcc = -1;
  int Serial = -1;
  int Device = -1;
};
bool SortAddressBytes(const std::array<int, 3>& bytes, TaggedAddressBytes& tagged);
// The stored output configuration bytes c0.. as reported (at least one byte when Ok).
ReplyStatus RequestStoredOutputConfig(BrixoLink& link, int p, std::vector<uint8_t>& config);

// Sends a pin write without awaiting a reply, then paces while replies are off.
bool SendPinWrite(TransferContext& ctx, const std::vector<int>& payload);

// The pin number the user sees.
int DisplayedPin(const ConfigModel& model, int p);
// "pin 12 of 32", as the user counts the pins.
std::string PinOfAll(const ConfigModel& model, int p);

}  // namespace brixo
