// The federal wage and income statements whose state lines the state
// information check walks: W-2, W-2G, 1099-G and 1099-R, in that order,
// with up to four state lines each. Constant data.
#ifndef AUDIT_STATE_INFO_STATEMENTS_H_
#define AUDIT_STATE_INFO_STATEMENTS_H_

#include <cstddef>

#include "catalogs/any_named_field.h"
#include "host/form_identifier.h"

namespace StateAuditMgmt {
namespace StateInfoStatements {

enum class StatementKind : int { kW2, kW2G, k1099G, k1099R };

// One state line: fields of the statement's form; an empty field is one
// the line does not have.
struct StatementLine {
  AnyNamedField state;
  AnyNamedField amount;
  AnyNamedField withholding;
  AnyNamedField locality;
  AnyNamedField localWithholding;
  AnyNamedField employerId;  // W-2 only
};

struct StatementForm {
  StatementKind kind;
  const Primitives::OVImmutableFormIdentifier* form;
  const char* shortName;    // in message texts
  const char* amountLabel;  // what the line's amount is
  int lineCount;
  StatementLine lines[4];
};

const std::size_t kStatementFormCount = 4;
// The four statement forms in walking order; index 0 is the W-2.
const StatementForm* statementForms();

}  // namespace StateInfoStatements
}  // namespace StateAuditMgmt

#endif  // AUDIT_STATE_INFO_STATEMENTS_H_
