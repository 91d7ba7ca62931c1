#include "audit/state_info_statements.h"

#include "catalogs/catalogs.h"
#include "identifiers/form_ids.h"

namespace StateAuditMgmt {
namespace StateInfoStatements {

namespace {

const Primitives::OVImmutableIdentifier& w2(int member) { return kFedW2FieldIds[member]; }
const Primitives::OVImmutableIdentifier& w2g(int member) { return kFedW2GFieldIds[member]; }
const Primitives::OVImmutableIdentifier& g1099(int member) { return kFed1099GFieldIds[member]; }
const Primitives::OVImmutableIdentifier& r1099(int member) { return kFed1099RFieldIds[member]; }

// Members by host field number, line by line: state, amount, withholding,
// locality, local withholding, employer state ID.
// clang-format off
const StatementForm kStatementForms[kStatementFormCount] = {
    {StatementKind::kW2, &kFormID_FedW2, "W-2", "state wage", w2, 4,
     {{272, 274, 275, 278, 277, 273},     // 34, 33, 32, 37, 35, 8
      {279, 281, 282, 285, 284, 280},     // 99, 98, 97, 102, 100, 107
      {286, 288, 289, 292, 291, 287},     // 27781, 27783, 27784, 27787, 27786, 27782
      {293, 295, 296, 299, 298, 294}}},   // 27788, 27790, 27791, 27794, 27793, 27789
    {StatementKind::kW2G, &kFormID_FedW2G, "W-2G", "winnings", w2g, 1,
     {{44, 31, 46, 49, 48, kNone}}},      // 28, 12, 25, 144140, 144139
    {StatementKind::k1099G, &kFormID_Fed1099G, "1099-G", "unemployment", g1099, 1,
     {{66, 44, 64, kNone, kNone, kNone}}},  // 17, 11, 16
    {StatementKind::k1099R, &kFormID_Fed1099R, "1099-R", "gross distribution", r1099, 2,
     {{479, 469, 478, 18, 473, kNone},    // 33, 134, 30, 65, 64
      {486, 471, 485, 433, 487, kNone}}},  // 169, 171, 168, 173, 172
};
// clang-format on

}  // namespace

const StatementForm* statementForms() { return kStatementForms; }

}  // namespace StateInfoStatements
}  // namespace StateAuditMgmt
