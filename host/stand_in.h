// StandIn: controls of the stand-in host that tests use.
//
// `resetAll` restores every singleton of the stand-in (configuration,
// e-file status, managers, recorders, "today", ...) to its defaults and
// clears the diagnostics; call it between tests. The stand-in's records of
// calls are bounded (recordCall). A part of the stand-in
// that keeps process-wide state registers its reset with a ResetHook.
#ifndef HOST_STAND_IN_H_
#define HOST_STAND_IN_H_

#include <cstddef>
#include <functional>
#include <utility>

#include "host/host_api.h"

namespace StandIn {

// Counts of writes the stand-in accepted but that a careful module avoids.
struct Diagnostics {
  int unknownFieldWrites = 0;  // writes to fields not in the form's descriptor
  int nonFiniteWrites = 0;     // writes of NaN or infinity (stored as null)
  int textIntoOtherFields = 0; // texts written into fields that are not text fields
  long unrecordedCalls = 0;    // calls a full call record did not keep
};

HOST_API Diagnostics& diagnostics();

// The most entries a record of the calls the module makes (the federal
// pull log, the mapping and debug calls, the data manager's calls) keeps:
// far more than one calculation makes, so that a long session's records
// stay bounded. Later calls are counted in Diagnostics::unrecordedCalls.
constexpr std::size_t kMaxRecordedCalls = 10000;

// Whether a call record takes another entry; a full one counts the call
// as unrecorded. For a caller that need not build an entry nobody keeps.
template <class Record>
bool roomFor(const Record& record) {
  if (record.size() < kMaxRecordedCalls) return true;
  ++diagnostics().unrecordedCalls;
  return false;
}

// Appends an entry to a call record unless it is full.
template <class Record, class... Entry>
void recordCall(Record& record, Entry&&... entry) {
  if (roomFor(record)) record.emplace_back(std::forward<Entry>(entry)...);
}
HOST_API void resetAll();

// Registers `reset` to run on every resetAll; keep the object alive (a
// namespace-scope constant of the registering file).
class HOST_API ResetHook {
 public:
  explicit ResetHook(std::function<void()> reset);
};

}  // namespace StandIn

#endif  // HOST_STAND_IN_H_
