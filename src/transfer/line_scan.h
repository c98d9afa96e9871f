#pragma once
// Finding every controller on a line: the version request goes to each module address
// (0..15 direct, 0..31 through an interface unit), and to each extended address of a range
// when one is given, with a reply window fitted to the bit rate instead of the ordinary
// two seconds. The identification string is read from every controller that answered.
// The scan runs one probe per step, so that a window stays responsive and can stop it.
#include <optional>
#include <string>
#include <vector>

#include "link/brixo_link.h"

namespace brixo {

inline constexpr double kDefaultProbeMarginSeconds = 0.050;
inline constexpr int kDirectModuleCount = 16;
inline constexpr int kTunnelledModuleCount = 32;

struct ScanSettings {
  int BitRate = 19200;
  // Added to the wire time of request and reply; the controller's own thinking time.
  double MarginSeconds = kDefaultProbeMarginSeconds;
  // Probe each module at every extended address from First to Last (internal values).
  struct Range {
    int First = 0;
    int Last = 0;
  };
  std::optional<Range> ExtendedRange;
  // How long after the last unanswered probe a late answer is still waited for.
  double LateListenSeconds = 0.5;
};

// One address the scan probes.
struct ScanProbe {
  int Module = 0;
  std::optional<int> Extended;
  bool operator==(const ScanProbe&) const = default;
};

// Something answered at the address, but not as a controller should.
enum class ScanProblemKind {
  Refused,  // a frame that failed a check (alternation bit, extended address)
  Garbled,  // bytes that made no frame, twice: replies that collide
};
struct ScanProblem {
  ScanProbe Probe;
  ScanProblemKind Kind = ScanProblemKind::Refused;
  std::string Text;  // the message the exchange would have shown
};

// One line for the user, addresses as displayed: "something answered at module 2, but the
// reply was garbled — two controllers on one address?".
std::string ScanProblemText(const ScanProblem& problem, int numberingOffset);
// "module 2", "module 2, extended address 13", as displayed.
std::string ScanAddressText(const ScanProbe& probe, int numberingOffset);

struct FoundController {
  int Module = 0;
  std::optional<int> Extended;
  std::string Version;                  // "3.2.1.0"; empty when the answer was not a version
  std::optional<std::string> IdString;  // nothing when it could not be read
  bool Late = false;                    // answered only after its probe's window
};

// The reply window of one probe: the wire time of everything the probe writes (the
// resynchronisation included) and of the longest version reply, plus the margin. Through an
// interface unit the window covers an empty poll and the host frame that carries the reply.
double ProbeWindowSeconds(int bitRate, double marginSeconds, bool extended, bool tunnelled);

// "module-03-x12-Yard_West.dat": a file name for a controller's backup, numbers as
// displayed. Characters of the identification string other than letters and digits become
// "_"; an empty one becomes "unnamed".
std::string BackupFileName(int displayedModule, std::optional<int> displayedExtended, const std::string& idString);
// The displayed module and extended address of a backup file name; nothing for other names.
struct BackupFileAddress {
  int Module = 0;
  std::optional<int> Extended;
};
std::optional<BackupFileAddress> ParseBackupFileName(const std::string& name);

class LineScan {
 public:
  enum class Phase { Probing, Listening, ReadingLate, Done };

  // Takes over the link's addressing for the scan and puts it back at the end.
  LineScan(BrixoLink& link, const ScanSettings& settings);
  ~LineScan();
  LineScan(const LineScan&) = delete;
  LineScan& operator=(const LineScan&) = delete;

  // One probe (and the identification string of a controller that answered it); after the
  // last probe, a while of listening for late answers, then the identification strings of
  // the late ones. The step that ends the scan restores the link.
  void Step();
  // Every step up to the end.
  void Run();
  // Ends the scan at once; what was found so far stays.
  void Stop();

  Phase CurrentPhase() const { return phase_; }
  bool Finished() const { return phase_ == Phase::Done; }
  bool Stopped() const { return stopped_; }
  // The port or the interface unit failed (and said so); the scan ended there.
  bool LinkFailed() const { return linkFailed_; }

  const std::vector<ScanProbe>& Probes() const { return probes_; }
  int ProbesDone() const { return static_cast<int>(next_); }
  // The probe the next step sends, while probing.
  std::optional<ScanProbe> NextProbe() const;
  double ProbeWindow() const { return window_; }

  // In the order of their addresses.
  std::vector<FoundController> Found() const;
  // Addresses where something answered that was no controller reply fit to use; the line
  // needs a look.
  const std::vector<ScanProblem>& Problems() const { return problems_; }

 private:
  struct Unanswered {
    ScanProbe Probe;
    double SentAt = 0;
  };
  struct SavedLink {
    uint8_t ModuleAddress;
    uint8_t ExtendedAddress;
    bool CheckXaddress;
  };

  // `again`: the first probe heard only noise; a second one tells a reply that was cut
  // short from replies that collide every time.
  void Probe(const ScanProbe& probe, bool again = false);
  void Address(const ScanProbe& probe);
  std::optional<std::string> ReadIdString();
  void NoteOtherReply(const OtherReply& reply);
  ReplyWait QuietWait(double seconds);
  void Listen();
  void ReadLateIdString();
  void Finish();
  bool LinkUsable();

  BrixoLink& link_;
  ScanSettings settings_;
  SavedLink saved_;
  double window_ = 0;
  std::vector<ScanProbe> probes_;
  size_t next_ = 0;
  Phase phase_ = Phase::Probing;
  std::vector<Unanswered> unanswered_;
  std::vector<FoundController> found_;
  size_t nextLate_ = 0;  // index into found_ while reading the late ones' strings
  double listenUntil_ = 0;
  std::vector<ScanProblem> problems_;
  bool stopped_ = false;
  bool linkFailed_ = false;
};

}  // namespace brixo
