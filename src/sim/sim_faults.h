#pragma once
// Misbehaviours the simulated controller can be told to show, so that the tool's error
// paths can be exercised on demand.
#include <cstdint>

namespace brixo {

struct SimFaults {
  bool NoReply = false;                // frames are carried out but never answered
  bool WrongCheckByte = false;         // the reply's check byte is off by one
  bool WrongAlternationBit = false;    // the reply's address byte has bit 6 flipped
  int StrayBytes = 0;                  // bytes with bit 7 set sent ahead of the reply
  bool WrongExtendedByte = false;      // the reply carries another extended address
  bool MissingExtendedByte = false;    // an extended request is answered without it
  bool UnexpectedExtendedByte = false; // a plain request is answered with one
  double ReplyDelaySeconds = 0.0;      // replies become readable only after this delay
  bool NoEventControl = false;         // firmware without event inputs
  bool ShortPwmConfig = false;         // old firmware: PWM outputs report five bytes
  // One-shot: once this many frames have been accepted, the next one is lost on the
  // line (neither carried out nor answered) and the counter disarms itself (-1).
  int FailAfterFrames = -1;
  // Once this many more frames have been accepted, every later one is lost (-1: never).
  int SilentAfterFrames = -1;
  // Once this many more frames have been accepted, the device goes away with the next
  // one, as if unplugged (-1: never); the port serving the line then closes.
  int GoneAfterFrames = -1;
};

}  // namespace brixo
