#include <algorithm>

#include "sim/sim_controller.h"

namespace brixo {

namespace {
// Writes and commands without data of their own are acknowledged with the first two
// payload bytes, so that a waiting tool sees that the frame arrived.
std::vector<int> Acknowledge(const std::vector<int>& payload) {
  return std::vector<int>(payload.begin(), payload.begin() + std::min<size_t>(2, payload.size()));
}
}  // namespace

SimController::SimController() : memory_(FactoryMemory()) {}

std::vector<uint8_t> SimController::ReceiveLineByte(uint8_t byte) {
  std::optional<LineEvent> event = reader_.Push(byte);
  if (!event) return {};
  switch (event->What) {
    case LineEvent::Kind::Burst:
      afterBurst_ = true;
      return {};
    case LineEvent::Kind::Legacy: {
      const bool sync = afterBurst_ && event->Legacy[1] == 0 && event->Legacy[2] == 0 &&
                        event->Legacy[3] == 0;
      afterBurst_ = false;
      if (!sync) AcceptLegacy(event->Legacy);
      return {};
    }
    case LineEvent::Kind::Frame:
      break;
  }
  const ControllerFrame& frame = event->Frame;
  const bool sync = afterBurst_ && frame.Payload.empty() && !frame.Bidirectional();
  afterBurst_ = false;
  if (sync) {
    if (frame.Module() == (module_ & 15)) lastFrame_.reset();
    return {};
  }
  ControllerRequest request;
  request.Module = frame.Module();
  request.Bidirectional = frame.Bidirectional();
  request.Extended = frame.Extended;
  request.Payload = frame.Payload;
  if (!AddressedToMe(request) || LoseThisFrame()) return {};
  if (lastFrame_ && lastFrame_->AddressByte == frame.AddressByte && lastFrame_->Header == frame.Header &&
      lastFrame_->Extended == frame.Extended && lastFrame_->Payload == frame.Payload) {
    return request.Bidirectional ? lastReply_ : std::vector<uint8_t>{};
  }
  lastFrame_ = frame;
  std::optional<ControllerAnswer> answer = CarryOut(request);
  lastReply_ = answer ? DirectReply(frame, *answer) : std::vector<uint8_t>{};
  return lastReply_;
}

bool SimController::AddressedToMe(const ControllerRequest& request) const {
  if (request.Module != module_) return false;
  // An extended address narrows the choice further: only the controller holding that
  // module extended address answers.
  return !request.Extended || *request.Extended == memory_.ModuleXAddress;
}

bool SimController::LoseThisFrame() {
  if (gone_) return true;
  if (faults_.GoneAfterFrames == 0) {
    gone_ = true;
    return true;
  }
  if (faults_.GoneAfterFrames > 0) --faults_.GoneAfterFrames;
  if (faults_.SilentAfterFrames == 0) return true;
  if (faults_.SilentAfterFrames > 0) --faults_.SilentAfterFrames;
  if (faults_.FailAfterFrames == 0) {
    faults_.FailAfterFrames = -1;
    return true;
  }
  if (faults_.FailAfterFrames > 0) --faults_.FailAfterFrames;
  return false;
}

std::optional<ControllerAnswer> SimController::Accept(const ControllerRequest& request) {
  if (!AddressedToMe(request) || LoseThisFrame()) return std::nullopt;
  return CarryOut(request);
}

std::optional<ControllerAnswer> SimController::CarryOut(const ControllerRequest& request) {
  received_.push_back(request.Payload);
  std::vector<int> reply = Execute(request.Payload);
  if (!request.Bidirectional || faults_.NoReply) return std::nullopt;

  ControllerAnswer answer;
  answer.Payload = std::move(reply);
  answer.DelaySeconds = faults_.ReplyDelaySeconds;
  if (request.Extended) {
    if (!faults_.MissingExtendedByte) {
      answer.Extended = faults_.WrongExtendedByte ? (*request.Extended + 1) % 96 : *request.Extended;
    }
  } else if (faults_.UnexpectedExtendedByte) {
    answer.Extended = memory_.ModuleXAddress & 127;
  }
  return answer;
}

std::vector<uint8_t> SimController::DirectReply(const ControllerFrame& frame,
                                                const ControllerAnswer& answer) const {
  uint8_t address = static_cast<uint8_t>((frame.AddressByte | 3) & 0x7F);
  if (faults_.WrongAlternationBit) address ^= 0x40;
  std::vector<uint8_t> out(static_cast<size_t>(std::max(0, faults_.StrayBytes)), 0xFF);
  std::vector<uint8_t> reply = EncodeControllerReply(address, answer.Extended, answer.Payload);
  if (faults_.WrongCheckByte) reply.back() = static_cast<uint8_t>(0x80 | ((reply.back() + 1) & 127));
  out.insert(out.end(), reply.begin(), reply.end());
  return out;
}

std::vector<int> SimController::Execute(const std::vector<int>& payload) {
  if (payload.empty()) return {feedback_[0], feedback_[1], feedback_[2], feedback_[3]};
  switch (payload[0]) {
    case 0:
      return LiveCommand(payload);
    case 112:
      return payload.size() == 2 ? ReadGeneral(payload[1]) : Acknowledge(payload);
    case 96:
      return WriteGeneral(payload);
    case 81:
    case 113:
    case 114:
    case 115:
    case 116:
    case 117:
    case 118:
      return ReadPin(payload);
    case 65:
    case 97:
      return WriteOutputConfig(payload);
    case 98:
    case 99:
    case 100:
    case 101:
    case 102:
      return WritePin(payload);
    default:
      return Acknowledge(payload);
  }
}

void SimController::AcceptLegacy(const std::array<int, 4>& frame) {
  legacy_.push_back(frame);
  if (((frame[0] >> 2) & 31) != module_) return;
  const int output = frame[2];
  const bool validOutput = output >= 0 && output < kSimPinCount;
  switch (frame[1]) {
    case 0:
      if (validOutput) outputs_.Aspect[output] = frame[3];
      break;
    case 2:
      outputs_.Aspect.fill(-1);
      outputs_.LampTest.fill(false);
      ++outputs_.ResetCount;
      break;
    case 8:
      if (validOutput) {
        outputs_.Aspect[output] = -1;
        outputs_.LampTest[output] = false;
      }
      break;
    case 10:
      if (validOutput) outputs_.LampTest[output] = true;
      break;
    default:
      break;
  }
}

}  // namespace brixo
