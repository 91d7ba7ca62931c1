// The federal wage and income statements whose state lines the state
// information check walks: W-2, W-2G, 1099-G and 1099-R, in that order,
// with up to four state lines each. Constant data, built at load.
#ifndef AUDIT_STATE_INFO_STATEMENTS_H_
#define AUDIT_STATE_INFO_STATEMENTS_H_

#include <cstddef>

#include "host/form_identifier.h"
#include "host/identifier.h"

namespace StateAuditMgmt {
namespace StateInfoStatements {

// A catalog member that a line does not have.
const int kNone = -1;

enum class StatementKind : int { kW2, kW2G, k1099G, k1099R };

// One state line: members of the form's catalog, kNone when absent.
struct StatementLine {
  int state;
  int amount;
  int withholding;
  int locality;
  int localWithholding;
  int employerId;  // W-2 only
};

struct StatementForm {
  StatementKind kind;
  const Primitives::OVImmutableFormIdentifier* form;
  const char* shortName;    // in message texts
  const char* amountLabel;  // what the line's amount is
  // The field of catalog member `member` of this form (kNullFieldID for
  // kNone).
  const Primitives::OVImmutableIdentifier& (*catalogField)(int member);
  int lineCount;
  StatementLine lines[4];

  const Primitives::OVImmutableIdentifier& field(int member) const {
    return member == kNone ? Primitives::kNullFieldID : catalogField(member);
  }
};

const std::size_t kStatementFormCount = 4;
// The four statement forms in walking order; index 0 is the W-2.
const StatementForm* statementForms();

}  // namespace StateInfoStatements
}  // namespace StateAuditMgmt

#endif  // AUDIT_STATE_INFO_STATEMENTS_H_
