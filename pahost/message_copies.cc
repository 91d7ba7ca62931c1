#include "pahost/message_copies.h"

#include <string>

namespace {

// The host's own check of one copy: the auditor is on that copy until the
// next one.
const char kCopyCheckCall[] = "overrideCheckOneForm";
// The copy the state layer gives every restriction on electronic filing.
const unsigned short kRestrictionCopy = 1;

}  // namespace

std::vector<unsigned short> messageCopies(const std::vector<AuditMgmt::TaxFormAuditor::MessageCall>& calls,
                                          const std::function<int(const DataMgmt::FormId&)>& copiesOf) {
  std::vector<unsigned short> copies;
  copies.reserve(calls.size());
  const AuditMgmt::TaxFormAuditor::MessageCall* checked = nullptr;  // the copy being checked
  for (const AuditMgmt::TaxFormAuditor::MessageCall& call : calls) {
    if (call.call == kCopyCheckCall) checked = &call;
    unsigned short copy = kCopyNotKnown;
    if (call.call == kCopyCheckCall || call.form.getNumber() == 0) {
      copy = kCopyNotKnown;
    } else if (checked != nullptr && checked->form == call.form) {
      copy = call.copy == kRestrictionCopy ? checked->copy : call.copy;
    } else if (call.copy != kRestrictionCopy && call.copy != 0) {
      copy = call.copy;
    } else if (copiesOf(call.form) <= 1) {
      copy = kRestrictionCopy;
    }
    copies.push_back(copy);
  }
  return copies;
}
