// Deadline: the bound of one run's waits for other runs of pahost in a
// folder (PAHOST_LOCK_WAIT), from the moment it is made. Every wait of the
// run draws on it: the wait for the folder's turn, for a name being
// removed, for a turn taken anew, for a removal or a read or write of the
// lock file refused a while; a pause never lasts past it, so no wait of
// the run can be made outside it. A copy is the same bound. (A file this
// run itself just closed, which a share lets go a moment later, is
// waited for within a bound of that moment's own: file_status.h.)
#ifndef PAHOST_DEADLINE_H_
#define PAHOST_DEADLINE_H_

#include <chrono>
#include <string>

class Deadline {
 public:
  using Clock = std::chrono::steady_clock;

  // The bound `seconds` from now.
  explicit Deadline(int seconds);
  // The bound `bound` from now.
  explicit Deadline(Clock::duration bound);

  bool over() const { return Clock::now() >= end_; }
  // The whole bound, from the moment it was made.
  Clock::duration bound() const { return end_ - start_; }
  // What is left of it (zero once it is over).
  Clock::duration left() const;
  // The whole seconds left, to the nearest (0 once it is over).
  int secondsLeft() const;
  // The whole seconds waited since it was made, and in words ("30 seconds").
  int waitedSeconds() const;
  std::string waited() const;
  // Sleeps `pause`, or only what is left of the bound when that is less;
  // false at once, without sleeping, once it is over.
  bool pause(Clock::duration pause) const;

 private:
  Clock::time_point start_;
  Clock::time_point end_;
};

// Whole seconds, to the nearest, of `elapsed`.
int wholeSeconds(Deadline::Clock::duration elapsed);
// `seconds` in words: "1 second", "30 seconds".
std::string secondsText(int seconds);

#endif  // PAHOST_DEADLINE_H_
