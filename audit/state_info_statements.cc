#include "audit/state_info_statements.h"

#include "catalogs/fields/fields.h"
#include "identifiers/form_ids.h"

namespace StateAuditMgmt {
namespace StateInfoStatements {

namespace {

// Row r of the W-2's four state lines.
constexpr StatementLine w2Line(int r) {
  return {{FedW2::kStateCode, r},    {FedW2::kStateWages, r},     {FedW2::kStateIncomeTax, r},
          {FedW2::kLocalityName, r}, {FedW2::kLocalIncomeTax, r}, {FedW2::kEmployerStateId, r}};
}

// Line by line: state, amount, withholding, locality, local withholding,
// employer state ID.
const StatementForm kStatementForms[kStatementFormCount] = {
    {StatementKind::kW2,
     &kFormID_FedW2,
     "W-2",
     "state wage",
     4,
     {w2Line(0), w2Line(1), w2Line(2), w2Line(3)}},
    {StatementKind::kW2G,
     &kFormID_FedW2G,
     "W-2G",
     "winnings",
     1,
     {{FedW2G::kState,
       FedW2G::kWinnings,
       FedW2G::kStateIncomeTax,
       FedW2G::kLocalityName,
       FedW2G::kLocalIncomeTax,
       {}}}},
    {StatementKind::k1099G,
     &kFormID_Fed1099G,
     "1099-G",
     "unemployment",
     1,
     {{Fed1099G::kState,
       Fed1099G::kUnemploymentCompensation,
       Fed1099G::kStateTaxWithheld,
       {},
       {},
       {}}}},
    {StatementKind::k1099R,
     &kFormID_Fed1099R,
     "1099-R",
     "gross distribution",
     2,
     {{Fed1099R::kState,
       Fed1099R::kStateDistribution,
       Fed1099R::kStateTaxWithheld,
       Fed1099R::kLocalityName,
       Fed1099R::kLocalTaxWithheld,
       {}},
      {Fed1099R::kSecondState,
       Fed1099R::kSecondStateDistribution,
       Fed1099R::kSecondStateTaxWithheld,
       Fed1099R::kSecondLocalityName,
       Fed1099R::kSecondLocalTaxWithheld,
       {}}}},
};

}  // namespace

const StatementForm* statementForms() { return kStatementForms; }

}  // namespace StateInfoStatements
}  // namespace StateAuditMgmt
