// messageCopies: which copy of its form each audit message is about, as
// far as the host can tell from the calls it saw.
//
// A state auditor reports a restriction on electronic filing for copy 1
// whatever copy it audits, so a message about a form of several copies
// that names copy 1 may be about another copy. The host knows the copy in
// three cases:
//   - while the auditor checks a copy of a form (the host's own check of
//     that copy, overrideCheckOneForm, comes first in an e-file audit of a
//     return filed electronically), a message about that form is about
//     that copy, whatever copy it names if it names copy 1;
//   - a message naming another copy than 1 is about that copy;
//   - a form with one copy (or none) in its return has only copy 1.
// Otherwise the copy is not known. A message about the whole return (form
// number 0) has no copy.
#ifndef PAHOST_MESSAGE_COPIES_H_
#define PAHOST_MESSAGE_COPIES_H_

#include <functional>
#include <vector>

#include "host/auditor.h"

// What kCopyNotKnown means: no copy can be named (the whole return, or a
// copy the host cannot tell).
const unsigned short kCopyNotKnown = 0;

// For each call of `calls` (in order), the copy its message is about, or
// kCopyNotKnown; calls that are no message get kCopyNotKnown too.
// `copiesOf(form)` answers how many copies the form has in its return.
std::vector<unsigned short> messageCopies(const std::vector<AuditMgmt::TaxFormAuditor::MessageCall>& calls,
                                          const std::function<int(const DataMgmt::FormId&)>& copiesOf);

#endif  // PAHOST_MESSAGE_COPIES_H_
