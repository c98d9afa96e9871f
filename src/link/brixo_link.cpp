#include "link/brixo_link.h"

#include <algorithm>
#include <cmath>

#include "link/frame_codec.h"

namespace brixo {

namespace {

constexpr int kMaxDirectModule = 15;  // above this the alternation bit would reach bit 7
// How long a tunnelled wait goes on polling: until its window on the clock has passed.
// An interface unit may answer every poll at once (one on a pseudo-terminal does, tens of
// thousands of times in a window), so polls are not counted; only a clock that does not
// move at all between polls (a test's clock nobody advances) ends the wait after as many
// polls as a 38400 bit/s line could carry in a window.
class PollWindow {
 public:
  PollWindow(Clock& clock, double seconds) : clock_(clock), start_(clock.NowSeconds()), last_(start_), seconds_(seconds) {}
  bool Open() {
    const double now = clock_.NowSeconds();
    if (now < start_ || now > start_ + seconds_) return false;
    stillPolls_ = now == last_ ? stillPolls_ + 1 : 0;
    last_ = now;
    return stillPolls_ <= kMostPollsOnAStillClock;
  }

 private:
  static constexpr int kMostPollsOnAStillClock = 2000;
  Clock& clock_;
  const double start_;
  double last_;
  const double seconds_;
  int stillPolls_ = 0;
};

bool HasExtendedByte(uint8_t header) { return (header & kExtendedBit) != 0; }

enum class AskKind : uint32_t { Direct = 1, HostRequest = 2, HostPoll = 3, PlainPoll = 4 };
uint32_t HashKey(AskKind kind, bool family, const std::vector<int>& bytes, size_t leading) {
  uint32_t key = static_cast<uint32_t>(kind) * 2u + (family ? 1u : 0u);
  for (size_t i = 0; i < bytes.size() && i < leading; ++i) key = key * 131u + static_cast<uint32_t>(bytes[i]) + 1u;
  return key * 131u + static_cast<uint32_t>(bytes.size());
}
ReplySizeKey RequestKey(AskKind kind, const std::vector<int>& bytes, size_t leading) {
  return {HashKey(kind, false, bytes, leading), leading > 0 ? HashKey(kind, true, bytes, leading - 1) : 0};
}
constexpr size_t kDirectKeyBytes = 2;  // command and sub-command
constexpr size_t kHostKeyBytes = 5;    // 0, module, inner header, command, sub-command
constexpr int kMinDirectFrame = 3;     // address, header, check byte
constexpr int kMinHostFrame = 2;       // header, check byte

const ReplyWait& OrdinaryWait() {
  static const ReplyWait wait;
  return wait;
}

// The running exchange's way of waiting, for as long as it runs.
class WaitScope {
 public:
  WaitScope(const ReplyWait*& slot, const ReplyWait& wait) : slot_(slot) { slot_ = &wait; }
  ~WaitScope() { slot_ = &OrdinaryWait(); }
  WaitScope(const WaitScope&) = delete;
  WaitScope& operator=(const WaitScope&) = delete;

 private:
  const ReplyWait*& slot_;
};

}  // namespace

BrixoLink::BrixoLink(Clock& clock, UserPrompt& prompt, CommLog& log)
    : clock_(clock), prompt_(prompt), log_(log), wait_(&OrdinaryWait()) {}

void BrixoLink::AttachPort(SerialPort* port) { port_ = port; }

bool BrixoLink::PortOpen() const { return port_ != nullptr && port_->IsOpen(); }

bool BrixoLink::ReportPortFault() {
  if (port_ == nullptr) return false;
  std::string fault = port_->TakeFault();
  if (fault.empty()) return false;
  port_->Close();
  // Nothing more can be sent: the rest of the operation must not repeat "Select
  // communications port" for every exchange it has left.
  cancellation_.Trip(StopReason::PortLost);
  if (onPortLost) onPortLost();  // the port shows closed while the message is up
  prompt_.ShowMessage(fault, MessageIcon::Error);
  return true;
}

void BrixoLink::LinkFailed(const std::string& text, MessageIcon icon) {
  if (StopOnLinkFailure) cancellation_.Trip(StopReason::LinkFailure);
  prompt_.ShowMessage(text, icon);
}

std::string BrixoLink::WithAdvice(const std::string& text, SilentParty party) {
  if (!noAnswerAdvice) return text;
  if (cancellation_.Active()) {
    // Once an operation was answered, the address, bit rate and cable are sound: a reply
    // lost later is no reason to look at them.
    if (advisedOperation_ == cancellation_.Operation() || heardOperation_ == cancellation_.Operation()) return text;
    advisedOperation_ = cancellation_.Operation();
  }
  const std::string advice = noAnswerAdvice(party);
  return advice.empty() ? text : text + "\n" + advice;
}

void BrixoLink::NoteHeard() {
  if (cancellation_.Active()) heardOperation_ = cancellation_.Operation();
}

bool BrixoLink::StoppedFromOutside() const {
  return cancellation_.Stopping() && cancellation_.Reason() != StopReason::LinkFailure;
}

void BrixoLink::ShowPortClosed() {
  // A port that died under us explains itself better than the generic hint.
  if (!ReportPortFault()) prompt_.ShowMessage("Select communications port", MessageIcon::Warning);
}

void BrixoLink::WriteFrame(const std::vector<uint8_t>& frame) {
  if (!port_->Write(frame)) ReportPortFault();
}

// A tunnelled reply is polled for: over the network the poll that finds it not yet there
// and the one that fetches it each take a round trip.
double BrixoLink::PollRoundTrips() const { return port_ != nullptr ? 2 * port_->RoundTripSeconds() : 0.0; }

void BrixoLink::ReplyProblem(const std::string& text) {
  if (!wait_->Quiet) {
    LinkFailed(text);
  } else if (problem_.empty()) {
    problem_ = text;
  }
}

int BrixoLink::ExpectedReplyBytes() const {
  for (uint32_t key : {replyKey_.Exact, replyKey_.Family}) {
    if (key == 0) continue;
    if (const auto known = replySizes_.find(key); known != replySizes_.end()) return known->second;
  }
  return 0;
}

void BrixoLink::NoteReplyBytes(int bytes) {
  for (uint32_t key : {replyKey_.Exact, replyKey_.Family}) {
    if (key == 0) continue;
    auto [at, added] = replySizes_.try_emplace(key, bytes);
    if (!added) at->second = std::min(at->second, bytes);
  }
}

int BrixoLink::NextByte(double windowStart, double windowSeconds, int wanted) {
  // A serial server on the network adds its round trip to every reply.
  if (port_ != nullptr) windowSeconds += port_->RoundTripSeconds();
  for (;;) {
    const double now = clock_.NowSeconds();
    if (now < windowStart || now > windowStart + windowSeconds) return -1;
    if (!PortOpen()) {
      ReportPortFault();
      return -1;
    }
    if (const int c = port_->ReadByte(); c >= 0) return c;
    const double remaining = (windowStart + windowSeconds - now) * 1000.0;
    port_->WaitForCount(std::max(1, wanted), std::max(1, static_cast<int>(std::ceil(remaining))));
  }
}

bool BrixoLink::SendBrixoMessage(bool waitForReply, const std::vector<int>& payload, const ReplyWait& wait) {
  ReplyValid = false;
  outcome_ = ExchangeOutcome::NotSent;
  problem_.clear();
  unframedBytes_ = 0;
  if (payload.size() > static_cast<size_t>(kMaxPayload)) {
    prompt_.ShowMessage("SendBrixoMessage: Message Size Overrun, size = " + std::to_string(payload.size()));
    return false;
  }
  if (auto bad = FirstOutOfRange(payload)) {
    prompt_.ShowMessage(OutOfRangeMessage(*bad), MessageIcon::Error);
    return false;
  }
  if (onBetweenExchanges && cancellation_.Active()) onBetweenExchanges();
  if (cancellation_.Stopping()) return false;
  if (!PortOpen()) {
    ShowPortClosed();
    return false;
  }
  const WaitScope scope(wait_, wait);
  return CheckQuendal ? SendTunnelled(payload) : SendDirect(payload);
}

bool BrixoLink::SendDirect(const std::vector<int>& payload) {
  if (ModuleAddress > kMaxDirectModule) {
    prompt_.ShowMessage("Module address out of range 0..15: " + std::to_string(ModuleAddress), MessageIcon::Error);
    return false;
  }
  if (CheckXaddress && ExtendedAddress > 127) {
    prompt_.ShowMessage(OutOfRangeMessage(ExtendedAddress), MessageIcon::Error);
    return false;
  }
  const uint8_t a = static_cast<uint8_t>(ModuleAddress * 4 + 3);
  if (ToggleState == 128) {
    ClearStaleInput();
    SendResyncBurst();
    DirectFrameFields sync;
    sync.AddressByte = a;
    sync.Bidirectional = false;
    WriteFrame(BuildDirectFrame(sync));
    ToggleState = 64;
  }

  DirectFrameFields fields;
  fields.AddressByte = static_cast<uint8_t>(a + ToggleState);
  fields.Bidirectional = CheckBrixoBD;
  if (CheckXaddress) fields.ExtendedAddress = ExtendedAddress;
  fields.Payload = payload;
  const std::vector<uint8_t> frame = BuildDirectFrame(fields);
  WriteFrame(frame);

  std::string line = "> " + FormatLogByte(frame[0]);
  for (size_t i = 1; i + 1 < frame.size(); ++i) line += FormatLogByte(frame[i] - 128);
  log_.AppendLine(line);

  bool portLost = !PortOpen();
  if (portLost) ReportPortFault();  // a port that closed without failing the write
  outcome_ = portLost ? ExchangeOutcome::LinkFailed : ExchangeOutcome::Sent;
  if (CheckBrixoBD && !portLost) {
    replyKey_ = RequestKey(AskKind::Direct, payload, kDirectKeyBytes);
    const bool received = ReceiveOwnDirectReply(fields.AddressByte);
    if (received) NoteReplyBytes(kMinDirectFrame + (ReplyBuffer[1] & 15) + (HasExtendedByte(ReplyBuffer[1]) ? 1 : 0));
    replyKey_ = {};
    if (!received) {
      // A port that failed has been reported already; the controller is not to blame.
      portLost = !PortOpen();
      if (portLost) {
        outcome_ = ExchangeOutcome::LinkFailed;
      } else if (wait_->Quiet) {
        // Silence is an answer a quiet wait expects (a probe of an empty address): it
        // neither changes "Bidirectional Comm." nor stops the operation. Noise is not
        // silence: something is there that does not answer as one controller does.
        const bool garbled = unframedBytes_ > 0;
        outcome_ = garbled ? ExchangeOutcome::Garbled : ExchangeOutcome::NoReply;
        problem_ = garbled ? "Garbled reply received" : "No response received";
      } else {
        outcome_ = unframedBytes_ > 0 ? ExchangeOutcome::Garbled : ExchangeOutcome::NoReply;
        CheckBrixoBD = false;
        LinkFailed(WithAdvice("No response received, resetting bidirectional communication", SilentParty::Controller));
      }
    } else {
      NoteHeard();
      LogDirectReply();
      ReplyValid = ValidateDirectReply(fields.AddressByte);
      outcome_ = ReplyValid ? ExchangeOutcome::Answered : ExchangeOutcome::Refused;
    }
  }
  ToggleState = static_cast<uint8_t>((ToggleState + 64) % 128);
  return !portLost;
}

void BrixoLink::LogDirectReply() {
  const uint8_t header = ReplyBuffer[1];
  const int k = (header & 15) + (HasExtendedByte(header) ? 1 : 0);
  std::string reply = "< " + FormatLogByte(ReplyBuffer[0]) + FormatLogByte(header);
  for (int i = 0; i < k; ++i) reply += FormatLogByte(ReplyBuffer[2 + i]);
  log_.AppendLine(reply);
}

bool BrixoLink::ReceiveOwnDirectReply(uint8_t addressSent) {
  const double start = clock_.NowSeconds();
  while (ReceiveDirectFrame(start, wait_->Seconds)) {
    if (!PassOnDirectFrameOfOther(addressSent)) return true;
  }
  return false;
}

// A frame is another controller's when its module differs or, with extended addressing,
// its extended address does. A frame of the addressed module with the wrong alternation
// bit is not: that is the controller answering out of step, which the checks refuse.
bool BrixoLink::PassOnDirectFrameOfOther(std::optional<uint8_t> addressSent) {
  if (!wait_->OnOtherReply || ReplyBuffer[1] < 96) return false;
  const uint8_t header = ReplyBuffer[1];
  const int module = (ReplyBuffer[0] >> 2) & 15;
  std::optional<int> extended;
  if (HasExtendedByte(header)) extended = ReplyBuffer[2] & 127;
  const bool sameModule = addressSent && module == ((*addressSent >> 2) & 15);
  const bool sameExtended = !extended || !CheckXaddress || *extended == ExtendedAddress;
  if (sameModule && sameExtended) return false;
  LogDirectReply();
  OtherReply other;
  other.Module = module;
  other.Extended = extended;
  const int first = extended ? 3 : 2;
  for (int i = 0; i < (header & 15); ++i) other.Payload.push_back(ReplyBuffer[first + i]);
  wait_->OnOtherReply(other);
  return true;
}

bool BrixoLink::ValidateDirectReply(uint8_t addressSent) {
  const uint8_t header = ReplyBuffer[1];
  if (header < 96 || ReplyBuffer[0] != addressSent) {
    ReplyProblem("Invalid response received, \nReceived: Addr = " + std::to_string(ReplyBuffer[0]) +
                 " Header = " + std::to_string(header) + "\nExpected: Addr = " +
                 std::to_string(ModuleAddress * 4 + 3) + " Header > 95 ");
    return false;
  }
  const int extByte = ReplyBuffer[2] & 127;
  if (HasExtendedByte(header) && !CheckXaddress) {
    ReplyProblem("Unexpected eXtended Address Byte " + std::to_string(extByte));
    return false;
  }
  if (!HasExtendedByte(header) && CheckXaddress) {
    ReplyProblem("eXtended Address Byte expected");
    return false;
  }
  if (HasExtendedByte(header)) {
    if (extByte != ExtendedAddress) {
      ReplyProblem("Incorrect eXtended Address byte \nReceived " + std::to_string(extByte) +
                   " Expected " + std::to_string(ExtendedAddress));
      return false;
    }
    const int n = header & 15;
    std::copy(ReplyBuffer.begin() + 3, ReplyBuffer.begin() + 3 + n, ReplyBuffer.begin() + 2);
  }
  return true;
}

bool BrixoLink::ReceiveBrixoReply() { return ReceiveDirectFrame(clock_.NowSeconds(), wait_->Seconds); }

void BrixoLink::ListenForReplies(const ReplyWait& wait) {
  outcome_ = ExchangeOutcome::NoReply;
  if (!wait.OnOtherReply || !PortOpen()) return;
  const WaitScope scope(wait_, wait);
  const double start = clock_.NowSeconds();
  if (!CheckQuendal) {
    // No controller was addressed: every frame is another's.
    while (ReceiveDirectFrame(start, wait.Seconds)) PassOnDirectFrameOfOther(std::nullopt);
  } else {
    for (PollWindow window(clock_, wait.Seconds + PollRoundTrips()); window.Open();) {
      if (!SendQuendalMessage({})) {
        outcome_ = ExchangeOutcome::LinkFailed;
        break;
      }
      PassOnHostDataOfOther();
    }
  }
  if (!PortOpen()) outcome_ = ExchangeOutcome::LinkFailed;
}

bool BrixoLink::ReceiveDirectFrame(double windowStart, double windowSeconds) {
  DirectFrameState state;
  int taken = 0;
  for (int c; (c = NextByte(windowStart, windowSeconds, DirectBytesWanted(state))) >= 0;) {
    ++taken;
    if (PushDirectByte(state, c)) {
      // The frame: address byte, header, the bytes after it and the check byte.
      unframedBytes_ += taken - (state.Position + 1);
      return true;
    }
  }
  unframedBytes_ += taken;
  return false;
}

int BrixoLink::DirectBytesWanted(const DirectFrameState& state) const {
  if (state.Position >= 2) return state.Remaining + 1;  // the header told: the rest and the check byte
  const int minimum = kMinDirectFrame - state.Position;
  return std::max(minimum, ExpectedReplyBytes() - state.Position);
}

bool BrixoLink::PushDirectByte(DirectFrameState& state, int c) {
  if (c < 128) {  // an address byte starts a frame wherever we were
    ReplyBuffer[0] = static_cast<uint8_t>(c);
    state.Sum = c;
    state.Position = 1;
    return false;
  }
  if (state.Position == 0) return false;
  const int low = c & 127;
  state.Sum += low;
  if (state.Position == 1) {
    ReplyBuffer[1] = static_cast<uint8_t>(low);
    state.Remaining = (c & 15) + (HasExtendedByte(static_cast<uint8_t>(c)) ? 1 : 0);
    state.Position = 2;
  } else if (state.Remaining > 0) {
    ReplyBuffer[state.Position++] = static_cast<uint8_t>(low);
    --state.Remaining;
  } else if (state.Sum % 128 == 0) {
    return true;
  } else {
    state.Position = 0;  // bad check byte: drop the frame silently and wait for the next one
  }
  return false;
}

// Whatever waits before a resynchronisation belongs to earlier conversations and is no
// reply to what follows; whole replies among it go to whoever listens for other
// controllers' replies.
void BrixoLink::ClearStaleInput() {
  DirectFrameState state;
  for (int c; PortOpen() && (c = port_->ReadByte()) >= 0;) {
    if (PushDirectByte(state, c)) PassOnDirectFrameOfOther(std::nullopt);
  }
}

// The inner header always carries the bidirectional bit, so the controller answers every
// tunnelled message, a write as much as a read: its reply is the only sign that the message
// reached it. Every message therefore waits for its reply, polling the host as a read does,
// and fails as a read does when none comes.
bool BrixoLink::SendTunnelled(const std::vector<int>& payload) {
  std::vector<int> data{0, ModuleAddress + 96, CheckXaddress ? 112 : 96};
  if (CheckXaddress) data.push_back(ExtendedAddress);
  data.insert(data.end(), payload.begin(), payload.end());

  bool result = SendQuendalMessage(data);
  bool hostAnswered = result;
  pollKey_ = RequestKey(AskKind::HostPoll, data, kHostKeyBytes);
  bool extendedMismatch = false;
  if (result) {
    result = false;
    for (PollWindow window(clock_, wait_->Seconds + PollRoundTrips()); !result && hostAnswered && window.Open();) {
      if (!PassOnHostDataOfOther() && ReplyBuffer[0] > 3 && ReplyBuffer[1] == 0 &&
          ReplyBuffer[2] == ModuleAddress + 96) {
        result = TakeTunnelledReply(extendedMismatch);
        if (extendedMismatch) break;
      } else {
        hostAnswered = SendQuendalMessage({});
      }
    }
  }
  pollKey_ = {};
  if (!result && !extendedMismatch && PortOpen() && !StoppedFromOutside()) {
    // A host that answered has passed the message on: the controller is the one silent.
    const std::string text = "No valid response received";
    ReplyProblem(hostAnswered && !wait_->Quiet ? WithAdvice(text, SilentParty::Controller) : text);
  }
  if (!hostAnswered || !PortOpen()) {
    outcome_ = ExchangeOutcome::LinkFailed;
  } else if (result) {
    NoteHeard();
    outcome_ = ExchangeOutcome::Answered;
  } else {
    outcome_ = extendedMismatch ? ExchangeOutcome::Refused : ExchangeOutcome::NoReply;
  }
  ReplyValid = result;
  return result;
}

// The host's last answer carries a controller reply of another module, or of another
// extended address than the one addressed.
bool BrixoLink::PassOnHostDataOfOther() {
  const std::vector<uint8_t>& data = hostData_;
  if (!wait_->OnOtherReply || data.size() < 3 || data[0] != 0 || data[1] < 96) return false;
  const int module = data[1] & 31;
  const uint8_t header = data[2];
  size_t at = 3;
  std::optional<int> extended;
  if (HasExtendedByte(header)) {
    if (data.size() < 4) return false;
    extended = data[at++];
  }
  const bool sameExtended = !extended || !CheckXaddress || *extended == ExtendedAddress;
  if (module == ModuleAddress && sameExtended) return false;
  OtherReply other;
  other.Module = module;
  other.Extended = extended;
  other.Payload.assign(data.begin() + static_cast<long>(at), data.end());
  wait_->OnOtherReply(other);
  return true;
}

// Turns the host's data (0, module + 96, inner header, [ext], payload) into the layout of
// a direct reply.
bool BrixoLink::TakeTunnelledReply(bool& failed) {
  const uint8_t header = ReplyBuffer[3];
  ReplyBuffer[0] = static_cast<uint8_t>((ReplyBuffer[2] & 31) * 4 + 3);
  ReplyBuffer[1] = header;
  int from = 4;
  if (HasExtendedByte(header)) {
    const int extByte = ReplyBuffer[4] & 127;
    if (!CheckXaddress) {
      ReplyProblem("Unexpected eXtended Address Byte " + std::to_string(extByte));
      failed = true;
    } else if (extByte != ExtendedAddress) {
      ReplyProblem("Incorrect eXtended Address byte \nReceived " + std::to_string(extByte) +
                   " Expected " + std::to_string(ExtendedAddress));
      failed = true;
    }
    if (failed) return false;
    from = 5;
  }
  std::copy(ReplyBuffer.begin() + from, ReplyBuffer.begin() + from + 15, ReplyBuffer.begin() + 2);
  return true;
}

bool BrixoLink::SendQuendalMessage(const std::vector<int>& data) {
  if (data.size() > static_cast<size_t>(kMaxHostData)) {
    prompt_.ShowMessage("SendQuendalMessage: Message Size Overrun, size = " + std::to_string(data.size()));
    return false;
  }
  if (auto bad = FirstOutOfRange(data)) {
    prompt_.ShowMessage(OutOfRangeMessage(*bad), MessageIcon::Error);
    return false;
  }
  if (cancellation_.Stopping()) return false;
  if (!PortOpen()) {
    ShowPortClosed();
    return false;
  }
  while (port_->ReadByte() >= 0) {
  }

  const std::vector<uint8_t> frame = BuildHostFrame(HostToggle, data);
  WriteFrame(frame);
  if (!data.empty()) {
    std::string line = ">> " + FormatLogByte(frame[0]);
    for (int v : data) line += FormatLogByte(v);
    log_.AppendLine(line);
  }
  HostToggle = HostToggle ? 0 : 1;

  if (!data.empty()) replyKey_ = RequestKey(AskKind::HostRequest, data, kHostKeyBytes);
  else replyKey_ = pollKey_.Exact != 0 ? pollKey_ : RequestKey(AskKind::PlainPoll, data, 0);
  const bool answered = !ReceiveQuendalReply().empty();
  replyKey_ = {};
  if (!answered) {
    if (PortOpen()) LinkFailed(WithAdvice("No answer from Quendal", SilentParty::Interface), MessageIcon::Warning);
    return false;
  }
  return true;
}

std::string BrixoLink::ReceiveQuendalReply() {
  ReplyBuffer.fill(0);
  hostData_.clear();
  std::vector<uint8_t> frame;  // header, then data and check byte with bit 7 removed
  std::string text;
  int remaining = -1;           // -1: no header yet
  const double start = clock_.NowSeconds();
  auto wanted = [&] { return remaining > 0 ? remaining : std::max(kMinHostFrame, ExpectedReplyBytes()); };
  for (int c; remaining != 0 && (c = NextByte(start, kReplyWindowSeconds, wanted())) >= 0;) {
    if (c < 128) {  // a header restarts the frame
      frame.assign(1, static_cast<uint8_t>(c));
      text = "<< " + FormatLogByte(c);
      remaining = DecodeHostLength(static_cast<uint8_t>(c)) + 1;
      continue;
    }
    if (remaining < 0) continue;
    frame.push_back(static_cast<uint8_t>(c & 127));
    if (remaining > 1) text += FormatLogByte(c & 127);
    --remaining;
  }
  if (frame.empty()) return {};

  // A frame may announce more data than ReplyBuffer holds: keep all of it in hostData_ and
  // as much as fits in ReplyBuffer, so no byte lands outside the buffer.
  std::copy_n(frame.begin(), std::min(frame.size(), ReplyBuffer.size()), ReplyBuffer.begin());
  if (remaining != 0) {  // only part of a frame before the time-out
    // Logged when it left something in ReplyBuffer[0]; a header byte of 0 leaves it looking empty.
    if (frame[0] != 0) log_.AppendLine(text);
    return {};
  }
  const int m = static_cast<int>(frame.size()) - 2;
  // The whole frame, check byte included, whatever its length: a sum over a fixed stretch
  // of ReplyBuffer would leave out the check byte of the longest frames (19 data bytes, a
  // servo's parameters tunnelled with an extended address) and refuse every one of them.
  int sum = 0;
  for (uint8_t b : frame) sum += b;
  if (sum % 128 != 0) {
    LinkFailed("Checksum Error\nSize = " + std::to_string(m) + text);
    ReplyBuffer[0] = 0;
    return {};
  }
  ReplyBuffer[0] = static_cast<uint8_t>(m);
  hostData_.assign(frame.begin() + 1, frame.end() - 1);
  NoteReplyBytes(static_cast<int>(frame.size()));
  if (m > 0) log_.AppendLine(text);
  return text;
}

void BrixoLink::SendResyncBurst() {
  if (PortOpen()) WriteFrame({kResyncBurst.begin(), kResyncBurst.end()});
}

void BrixoLink::SendTamloMessage(int a, int b1, int b2, int b3) {
  const int values[] = {a, b1, b2, b3};
  if (auto bad = FirstOutOfRange(values)) {
    prompt_.ShowMessage(OutOfRangeMessage(*bad), MessageIcon::Error);
    return;
  }
  if (cancellation_.Stopping()) return;
  if (!PortOpen()) {
    ShowPortClosed();
    return;
  }
  if (CheckQuendal) {
    SendQuendalMessage({0, a / 4 + 96, b1, b2, b3});
    return;
  }
  if (ToggleState == 128) {
    SendResyncBurst();
    WriteFrame(BuildTamloFrame(a, 0, 0, 0));
    ToggleState = 64;
  }
  WriteFrame(BuildTamloFrame(a, b1, b2, b3));
}

}  // namespace brixo
