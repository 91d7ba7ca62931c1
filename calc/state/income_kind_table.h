// IncomeKindRow: one income kind of the federal main return that the
// federal wage pull carries to the state allocation form (state form 18).
//
// A row names the kind's field on each federal return form (form 1, 55 and
// 87; the identifier of field number 0 where that form has none), the
// kind's two identifiers of the income-kind catalog, and the allocation
// form's field F that receives the federal amount and field T that holds
// the taxpayer's part. The spouse's part S is the field after T in the
// form's field order. `splitRule` says how the amount is divided between
// taxpayer and spouse.
//
// The table itself is StateTaxReturnCalcEngine::incomeKindTable: one array
// of kIncomeKindTableSize rows shared by every engine, built by the first
// engine constructed and never changed afterwards. The rows in use come
// first; the first row whose `federalField` is field number 0 ends it.
#ifndef CALC_STATE_INCOME_KIND_TABLE_H_
#define CALC_STATE_INCOME_KIND_TABLE_H_

#include <cstdint>

#include "host/identifier.h"

namespace StateCalculationMgmt {

// How an income kind's amount is divided between taxpayer and spouse.
enum SplitRule : uint8_t {
  kSplitCapped = 1,    // the spouse's part is capped, the taxpayer takes the rest
  kSplitUncapped = 2,  // the taxpayer takes the amount less the spouse's part
  kSpouseOnly = 3,     // all of it is the spouse's
  kTaxpayerOnly = 4,   // all of it is the taxpayer's
};

struct IncomeKindRow {
  // Seven identifiers of field number 0 and no split rule.
  IncomeKindRow() : splitRule(0) {}
  IncomeKindRow(const Primitives::OVImmutableIdentifier& federalField,
                const Primitives::OVImmutableIdentifier& federal55Field,
                const Primitives::OVImmutableIdentifier& federal87Field,
                const Primitives::OVImmutableIdentifier& kindField1,
                const Primitives::OVImmutableIdentifier& kindField2,
                const Primitives::OVImmutableIdentifier& amountField,
                const Primitives::OVImmutableIdentifier& taxpayerField, uint8_t splitRule)
      : federalField(federalField),
        federal55Field(federal55Field),
        federal87Field(federal87Field),
        kindField1(kindField1),
        kindField2(kindField2),
        amountField(amountField),
        taxpayerField(taxpayerField),
        splitRule(splitRule) {}

  Primitives::OVImmutableIdentifier federalField;    // on kFormID_FedReturn
  Primitives::OVImmutableIdentifier federal55Field;  // on kFormID_Fed55, or empty
  Primitives::OVImmutableIdentifier federal87Field;  // on kFormID_Fed87, or empty
  Primitives::OVImmutableIdentifier kindField1;      // income-kind catalog identifiers
  Primitives::OVImmutableIdentifier kindField2;
  Primitives::OVImmutableIdentifier amountField;     // F on state form 18
  Primitives::OVImmutableIdentifier taxpayerField;   // T on state form 18; S follows it
  uint8_t splitRule;                                 // a SplitRule, 0 in an unused row
};

// Rows of the shared table; the rows past the last income kind keep the
// default row.
const int kIncomeKindTableSize = 30;

}  // namespace StateCalculationMgmt

#endif  // CALC_STATE_INCOME_KIND_TABLE_H_
