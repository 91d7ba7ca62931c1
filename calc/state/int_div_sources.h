// The two interest and dividend summaries as data: which federal forms feed
// each one, how a source copy is split, where its spouse box and payer name
// are, and which summary rows hold the column totals.
//
// The record listing (int_div_records.cc) and the summary form calculation
// (int_div_forms.cc) walk the same tables, so a source is listed and shown
// by one description. Fields of a summary copy are named by host field
// number: on state forms 16 and 17 member n - 1 of the catalog is host
// field n.
#ifndef CALC_STATE_INT_DIV_SOURCES_H_
#define CALC_STATE_INT_DIV_SOURCES_H_

#include "calc/state/state_tax_return_calc_engine.h"
#include "catalogs/catalog_ref.h"

namespace StateCalculationMgmt {

// A split routine of the engine: one federal copy into the summary's kinds.
typedef void (StateTaxReturnCalcEngine::*IntDivSplit)(FormId source, uint16_t copy,
                                                      IntDivSourceAmounts* amounts);

// One federal source form of a summary.
struct IntDivSource {
  const FormId* form;
  IntDivSplit split;
  FieldRef spouseBox;        // marked: the spouse's source
  FieldRef nameChoice;       // marked: the payer name is `secondName`
  FieldRef name;             // payer name
  FieldRef secondName;
  FieldRef restrictedStock;  // marked: a restricted-stock dividend (kNone: never)
};

const int kIntDivSourceCount = 3;
const int kIntDivColumnCount = 4;

// One summary form.
struct IntDivSummary {
  const FormId* form;
  CatalogId catalog;
  bool isDividend;
  IntDivSource sources[kIntDivSourceCount];  // in listing order
  int columnRows[kIntDivColumnCount];        // first field of the row of columns 1-4
  int allocationRows[6];                     // first fields of the allocated rows, ended by 0
  bool hasForm3Part;                         // rows 182 and 186 hold the federal form 3 part
};

extern const IntDivSummary kInterestSummary;  // state form 16
extern const IntDivSummary kDividendSummary;  // state form 17

// Host field `number` of the summary's form.
const Primitives::OVImmutableIdentifier& summaryField(const IntDivSummary& summary, int number);

// The source of `summary` for federal form `form`; null when it has none.
const IntDivSource* findIntDivSource(const IntDivSummary& summary, const FormId& form);

}  // namespace StateCalculationMgmt

#endif  // CALC_STATE_INT_DIV_SOURCES_H_
