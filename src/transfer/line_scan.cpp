#include "transfer/line_scan.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "link/frame_codec.h"
#include "transfer/general_settings_encoding.h"
#include "transfer/general_settings_messages.h"

namespace brixo {

namespace {

constexpr int kBitsPerByte = 11;  // start, 8 data, parity, stop
constexpr int kResyncBytes = static_cast<int>(kResyncBurst.size()) + 3;
// Address byte, header, the two request bytes, check byte.
constexpr int kVersionRequestBytes = 5;
// Address byte, header, 112, 0, four version bytes, check byte.
constexpr int kVersionReplyBytes = 9;
constexpr int kHostPollBytes = 2;
// Host header, 0, module tag, inner header, the reply payload, check byte.
constexpr int kHostVersionReplyBytes = 1 + 3 + 6 + 1;

bool SameAddress(const ScanProbe& probe, int module, std::optional<int> extended) {
  return probe.Module == module && probe.Extended == extended;
}

std::string SafeIdPart(const std::string& id) {
  std::string safe;
  for (char c : id) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (plain) {
      safe += c;
    } else if (!safe.empty() && safe.back() != '_') {
      safe += '_';
    }
  }
  while (!safe.empty() && safe.back() == '_') safe.pop_back();
  return safe.empty() ? "unnamed" : safe;
}

bool TwoDigits(const std::string& text, int& value) {
  if (text.size() != 2 || text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9') return false;
  value = (text[0] - '0') * 10 + (text[1] - '0');
  return true;
}

}  // namespace

std::string ScanAddressText(const ScanProbe& probe, int numberingOffset) {
  std::string text = "module " + std::to_string(probe.Module + numberingOffset);
  if (probe.Extended) text += ", extended address " + std::to_string(*probe.Extended + numberingOffset);
  return text;
}

std::string ScanProblemText(const ScanProblem& problem, int numberingOffset) {
  const std::string address = ScanAddressText(problem.Probe, numberingOffset);
  if (problem.Kind == ScanProblemKind::Garbled)
    return "something answered at " + address + ", but the reply was garbled \u2014 two controllers on one address?";
  const std::string text = problem.Text.substr(0, problem.Text.find('\n'));
  return address + ": an answer that is no controller reply (" + text + ")";
}

double ProbeWindowSeconds(int bitRate, double marginSeconds, bool extended, bool tunnelled) {
  const int extendedByte = extended ? 1 : 0;
  int bytes = 0;
  if (tunnelled) {
    // The host has answered the request itself before the window opens.
    bytes = kHostPollBytes + kHostVersionReplyBytes + extendedByte;
  } else {
    bytes = kResyncBytes + kVersionRequestBytes + kVersionReplyBytes + 2 * extendedByte;
  }
  return double(bytes) * kBitsPerByte / std::max(1, bitRate) + marginSeconds;
}

std::string BackupFileName(int displayedModule, std::optional<int> displayedExtended, const std::string& idString) {
  char numbers[32];
  if (displayedExtended) {
    std::snprintf(numbers, sizeof numbers, "module-%02d-x%02d-", displayedModule, *displayedExtended);
  } else {
    std::snprintf(numbers, sizeof numbers, "module-%02d-", displayedModule);
  }
  return numbers + SafeIdPart(idString) + ".dat";
}

std::optional<BackupFileAddress> ParseBackupFileName(const std::string& name) {
  const std::string prefix = "module-";
  const std::string suffix = ".dat";
  if (name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
    return std::nullopt;
  // The identification part never holds "-", so the parts are NN, [xXX,] id.
  std::vector<std::string> parts;
  const std::string middle = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  for (size_t start = 0;;) {
    const size_t dash = middle.find('-', start);
    parts.push_back(middle.substr(start, dash == std::string::npos ? std::string::npos : dash - start));
    if (dash == std::string::npos) break;
    start = dash + 1;
  }
  BackupFileAddress address;
  if (parts.size() < 2 || parts.size() > 3 || parts.back().empty() || !TwoDigits(parts[0], address.Module))
    return std::nullopt;
  if (parts.size() == 3) {
    int extended = 0;
    if (parts[1].size() != 3 || parts[1][0] != 'x' || !TwoDigits(parts[1].substr(1), extended)) return std::nullopt;
    address.Extended = extended;
  }
  return address;
}

LineScan::LineScan(BrixoLink& link, const ScanSettings& settings)
    : link_(link),
      settings_(settings),
      saved_{link.ModuleAddress, link.ExtendedAddress, link.CheckXaddress},
      window_(ProbeWindowSeconds(settings.BitRate, settings.MarginSeconds, settings.ExtendedRange.has_value(),
                                 link.CheckQuendal)) {
  const int modules = link.CheckQuendal ? kTunnelledModuleCount : kDirectModuleCount;
  for (int module = 0; module < modules; ++module) {
    if (!settings.ExtendedRange) {
      probes_.push_back({module, std::nullopt});
      continue;
    }
    for (int x = settings.ExtendedRange->First; x <= settings.ExtendedRange->Last; ++x) probes_.push_back({module, x});
  }
}

LineScan::~LineScan() {
  if (!Finished()) Finish();
}

std::optional<ScanProbe> LineScan::NextProbe() const {
  if (phase_ != Phase::Probing || next_ >= probes_.size()) return std::nullopt;
  return probes_[next_];
}

std::vector<FoundController> LineScan::Found() const {
  std::vector<FoundController> sorted = found_;
  std::sort(sorted.begin(), sorted.end(), [](const FoundController& a, const FoundController& b) {
    return std::make_tuple(a.Module, a.Extended.value_or(-1)) < std::make_tuple(b.Module, b.Extended.value_or(-1));
  });
  return sorted;
}

void LineScan::Run() {
  while (!Finished()) Step();
}

void LineScan::Stop() {
  if (Finished()) return;
  stopped_ = true;
  Finish();
}

void LineScan::Step() {
  switch (phase_) {
    case Phase::Probing:
      if (next_ < probes_.size()) {
        Probe(probes_[next_++]);
        if (Finished()) return;
      }
      if (next_ >= probes_.size()) {
        phase_ = Phase::Listening;
        listenUntil_ = 0;
        for (const Unanswered& u : unanswered_) listenUntil_ = std::max(listenUntil_, u.SentAt + settings_.LateListenSeconds);
      }
      return;
    case Phase::Listening:
      Listen();
      return;
    case Phase::ReadingLate:
      ReadLateIdString();
      return;
    case Phase::Done:
      return;
  }
}

ReplyWait LineScan::QuietWait(double seconds) {
  ReplyWait wait;
  wait.Seconds = seconds;
  wait.Quiet = true;
  wait.OnOtherReply = [this](const OtherReply& reply) { NoteOtherReply(reply); };
  return wait;
}

// The module changes with every probe, so the line is resynchronised before each, as the
// module address field does: every controller then sees the alternation it expects.
void LineScan::Address(const ScanProbe& probe) {
  link_.ModuleAddress = static_cast<uint8_t>(probe.Module);
  link_.CheckXaddress = probe.Extended.has_value();
  if (probe.Extended) link_.ExtendedAddress = static_cast<uint8_t>(*probe.Extended);
  link_.ToggleState = 128;
  link_.CheckBrixoBD = true;  // a probe needs its reply, as every read does
}

bool LineScan::LinkUsable() {
  const ExchangeOutcome outcome = link_.LastOutcome();
  if (outcome != ExchangeOutcome::LinkFailed && outcome != ExchangeOutcome::NotSent) return true;
  linkFailed_ = true;
  Finish();
  return false;
}

void LineScan::Probe(const ScanProbe& probe, bool again) {
  Address(probe);
  const double sentAt = link_.GetClock().NowSeconds();
  link_.SendBrixoMessage(true, {kGenReadCommand, kGenVersion}, QuietWait(window_));
  if (!LinkUsable()) return;
  switch (link_.LastOutcome()) {
    case ExchangeOutcome::Answered: {
      FoundController found;
      found.Module = probe.Module;
      found.Extended = probe.Extended;
      found.Version = VersionReplyText(GeneralReplyPayload(link_)).value_or("");
      found.IdString = ReadIdString();
      found_.push_back(found);
      LinkUsable();
      return;
    }
    case ExchangeOutcome::Refused:
      problems_.push_back({probe, ScanProblemKind::Refused, link_.LastProblem()});
      return;
    case ExchangeOutcome::Garbled:
      if (!again) {
        Probe(probe, true);
      } else {
        problems_.push_back({probe, ScanProblemKind::Garbled, link_.LastProblem()});
      }
      return;
    default:
      unanswered_.push_back({probe, sentAt});
      return;
  }
}

// The controller has just answered, so the string gets the ordinary window.
std::optional<std::string> LineScan::ReadIdString() {
  link_.SendBrixoMessage(true, {kGenReadCommand, kGenIdString}, QuietWait(kReplyWindowSeconds));
  if (link_.LastOutcome() != ExchangeOutcome::Answered) return std::nullopt;
  return IdStringReplyText(GeneralReplyPayload(link_));
}

// A version reply of a probe whose window had passed: that controller answered late.
void LineScan::NoteOtherReply(const OtherReply& reply) {
  const std::optional<std::string> version = VersionReplyText(reply.Payload);
  if (!version) return;
  auto late = std::find_if(unanswered_.begin(), unanswered_.end(),
                           [&](const Unanswered& u) { return SameAddress(u.Probe, reply.Module, reply.Extended); });
  if (late == unanswered_.end()) return;
  FoundController found;
  found.Module = reply.Module;
  found.Extended = reply.Extended;
  found.Version = *version;
  found.Late = true;
  found_.push_back(found);
  unanswered_.erase(late);
}

void LineScan::Listen() {
  const double now = link_.GetClock().NowSeconds();
  bool lateAwaited = !unanswered_.empty() && now < listenUntil_;
  if (lateAwaited) {
    // In slices of a probe window, so that each step stays as short as a probe.
    link_.ListenForReplies(QuietWait(std::min(window_, listenUntil_ - now)));
    if (!LinkUsable()) return;
    lateAwaited = !unanswered_.empty() && link_.GetClock().NowSeconds() < listenUntil_;
  }
  if (lateAwaited) return;
  phase_ = Phase::ReadingLate;
  nextLate_ = 0;
  ReadLateIdString();
}

void LineScan::ReadLateIdString() {
  while (nextLate_ < found_.size() && !found_[nextLate_].Late) ++nextLate_;
  if (nextLate_ >= found_.size()) {
    Finish();
    return;
  }
  FoundController& late = found_[nextLate_++];
  Address({late.Module, late.Extended});
  const std::optional<std::string> id = ReadIdString();
  if (!LinkUsable()) return;
  found_[nextLate_ - 1].IdString = id;
}

void LineScan::Finish() {
  link_.ModuleAddress = saved_.ModuleAddress;
  link_.ExtendedAddress = saved_.ExtendedAddress;
  link_.CheckXaddress = saved_.CheckXaddress;
  // The controllers' alternation has moved on under other addresses, and an answer later
  // still must not be taken for the reply of the next exchange: resynchronise first.
  link_.ToggleState = 128;
  phase_ = Phase::Done;
}

}  // namespace brixo
