#include "pahost/deadline.h"

#include <algorithm>
#include <cmath>
#include <thread>

Deadline::Deadline(int seconds) : Deadline(Clock::duration(std::chrono::seconds(seconds))) {}

Deadline::Deadline(Clock::duration bound) : start_(Clock::now()), end_(start_ + bound) {}

Deadline::Clock::duration Deadline::left() const {
  return std::max(end_ - Clock::now(), Clock::duration::zero());
}

int Deadline::secondsLeft() const { return wholeSeconds(left()); }

int Deadline::waitedSeconds() const { return wholeSeconds(Clock::now() - start_); }

std::string Deadline::waited() const { return secondsText(waitedSeconds()); }

bool Deadline::pause(Clock::duration pause) const {
  const Clock::duration rest = left();
  if (rest == Clock::duration::zero()) return false;
  std::this_thread::sleep_for(std::min(pause, rest));
  return true;
}

int wholeSeconds(Deadline::Clock::duration elapsed) {
  return static_cast<int>(std::lround(std::chrono::duration<double>(elapsed).count()));
}

std::string secondsText(int seconds) { return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds"); }
