#pragma once
// Stops a running operation between two exchanges, never in the middle of a frame. Every
// exchange of the link asks it first, so every sequence (whole controller, pin and event
// batches, device reads and writes, the feedback monitor) ends at the next exchange once it
// is tripped; the sequences note how far they got, so that whoever stopped them can say so.
//
// The link trips it itself when the port goes away, and on any other link failure when
// its owner asks for that (the command-line tool); a "Stop" button or a signal handler
// trips it from outside.
#include <atomic>
#include <string>

namespace brixo {

enum class StopReason {
  None,
  LinkFailure,  // an exchange failed (no reply, invalid reply, the host silent)
  PortLost,     // the port closed under the operation (device unplugged, read error)
  UserStop,     // the user asked for it
  Interrupted,  // a signal asked for it; stays set for every later operation
};

class CancellationToken {
 public:
  // A new operation begins: nothing stopped (unless a signal came, which stops the rest
  // of the run too), nothing done yet. The token now stops it.
  void Begin();
  // The operation ended; a stop and the progress stay readable until the next Begin().
  void End();
  bool Active() const { return active_.load(std::memory_order_relaxed); }
  // Counts the operations begun, so that something said once per operation can tell a
  // new one from the one it spoke in.
  unsigned Operation() const { return operation_; }

  // Asks the operation to stop. The first reason sticks. Safe from a signal handler or
  // another thread (it only stores a lock-free atomic).
  void Trip(StopReason reason);
  bool Tripped() const { return Reason() != StopReason::None; }
  StopReason Reason() const { return static_cast<StopReason>(reason_.load(std::memory_order_relaxed)); }
  // True while an operation runs and has been asked to stop: exchanges are refused.
  bool Stopping() const { return Active() && Tripped(); }

  // The last piece of work the operation finished, as the user counts it ("pin 12 of 32").
  void NoteDone(std::string piece) { done_ = std::move(piece); }
  const std::string& Done() const { return done_; }
  // Set by an owner that tells the user itself, from Done(), how far an operation got
  // whenever it ended early, stopped or not (the command-line tool). The sequences then
  // leave that to it instead of saying themselves which pins they left out, so that one
  // ending is told in one sentence.
  void SetOwnerTellsProgress(bool tells) { ownerTells_ = tells; }
  // The whole sentence that tells how the operation ended early, for an operation whose
  // phases leave different things behind (Write Changes: nothing written, a mix, all of
  // it); empty for one that the last piece done and its kind describe.
  // `leavesMix`: that phase left the controller holding part of what was to be written.
  void NoteEnding(std::string sentence, bool leavesMix = false) {
    ending_ = std::move(sentence);
    endingLeavesMix_ = leavesMix;
  }
  const std::string& Ending() const { return ending_; }
  bool EndingLeavesMix() const { return endingLeavesMix_; }
  bool OwnerTellsProgress() const { return ownerTells_; }

 private:
  std::atomic<int> reason_{static_cast<int>(StopReason::None)};
  std::atomic<bool> active_{false};
  std::string done_;
  std::string ending_;
  bool endingLeavesMix_ = false;
  unsigned operation_ = 0;
  bool ownerTells_ = false;
};

static_assert(std::atomic<int>::is_always_lock_free, "Trip() must be safe in a signal handler");

// Runs one operation under the token: Begin() now, End() when it goes out of scope.
class CancellationScope {
 public:
  explicit CancellationScope(CancellationToken& token) : token_(token) { token_.Begin(); }
  ~CancellationScope() { token_.End(); }
  CancellationScope(const CancellationScope&) = delete;
  CancellationScope& operator=(const CancellationScope&) = delete;

 private:
  CancellationToken& token_;
};

}  // namespace brixo
