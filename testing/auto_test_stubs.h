// The automated-test hooks are placeholders for now: they run nothing and
// only note each call, so the driver's gating and arguments can be checked.
//
// The log is process-wide, keeps the latest kMaxHookCalls calls and is
// cleared by its user.
#ifndef TESTING_AUTO_TEST_STUBS_H_
#define TESTING_AUTO_TEST_STUBS_H_

#include <cstddef>
#include <string>
#include <vector>

#include "host/tax_return.h"

namespace AutoTestStubs {

// One hook call. The state-layer hooks fill every member; runAutoTest only
// `hook` ("runAutoTest"), its arguments being the engine's own.
struct HookCall {
  std::string hook;
  std::string prefix;
  const DataMgmt::TaxReturn* taxReturn = nullptr;
  int form = 0;
  int doneBox = 0;
  int inProgressBox = 0;
};

const std::size_t kMaxHookCalls = 64;
std::vector<HookCall>& hookCalls();

}  // namespace AutoTestStubs

#endif  // TESTING_AUTO_TEST_STUBS_H_
