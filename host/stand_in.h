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
#include <set>
#include <tuple>
#include <utility>

#include "host/host_api.h"
#include "host/identifier.h"

namespace DataMgmt {
class TaxFormDesc;
}

namespace StandIn {

// A field of a form that the module used as a text though its kind is not
// text: read through formString (textString too) or through a field
// handle's value (what getText turns into text), or written a text.
struct TextUse {
  bool stateSide;
  int form;
  int field;
  bool write;
  auto key() const { return std::tie(stateSide, form, field, write); }
  bool operator<(const TextUse& other) const { return key() < other.key(); }
  bool operator==(const TextUse& other) const { return key() == other.key(); }
};

// Counts of writes the stand-in accepted but that a careful module avoids.
struct Diagnostics {
  int unknownFieldWrites = 0;  // writes to fields not in the form's descriptor
  int nonFiniteWrites = 0;     // writes of NaN or infinity (stored as null)
  int textIntoOtherFields = 0; // texts written into fields that are not text fields
  long unrecordedCalls = 0;    // calls a full call record did not keep
  // Every field used as a text that is not a text field, once each (at
  // most one entry per field of a form: bounded by the descriptions).
  std::set<TextUse> textUsesOfOtherFields;
};

HOST_API Diagnostics& diagnostics();

// Notes in the diagnostics a text read from (`write` false) or written
// into field `field` of `form` when the form has that field and its kind
// is not text; a field the form lacks is left to the other counts.
HOST_API void noteTextUse(const DataMgmt::TaxFormDesc& form, const Primitives::OVImmutableIdentifier& field,
                          bool write);

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
