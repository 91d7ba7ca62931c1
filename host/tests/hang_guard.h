// A guard for tests of code that once waited for ever (on a FIFO, say):
// while it lives, a test still running after a minute is killed by
// SIGALRM, so a return of the old wait fails the test instead of hanging
// the suite. It measures nothing.
#ifndef HOST_TESTS_HANG_GUARD_H_
#define HOST_TESTS_HANG_GUARD_H_

#include <unistd.h>

class HangGuard {
 public:
  HangGuard() { ::alarm(60); }
  ~HangGuard() { ::alarm(0); }
  HangGuard(const HangGuard&) = delete;
  HangGuard& operator=(const HangGuard&) = delete;
};

#endif  // HOST_TESTS_HANG_GUARD_H_
