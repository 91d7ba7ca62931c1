// The two interest and dividend summaries as data: which federal forms feed
// each one, how a source copy is split, where its spouse box and payer name
// are, and which summary rows hold the column totals.
//
// The record listing (int_div_records.cc) and the summary form calculation
// (int_div_forms.cc) walk the same tables, so a source is listed and shown
// by one description.
#ifndef CALC_STATE_INT_DIV_SOURCES_H_
#define CALC_STATE_INT_DIV_SOURCES_H_

#include "calc/state/state_tax_return_calc_engine.h"
#include "catalogs/any_named_field.h"

namespace StateCalculationMgmt {

// A split routine of the engine: one federal copy into the summary's kinds.
typedef void (StateTaxReturnCalcEngine::*IntDivSplit)(FormId source, uint16_t copy,
                                                      IntDivSourceAmounts* amounts);

// One federal source form of a summary.
struct IntDivSource {
  const FormId* form;
  IntDivSplit split;
  AnyNamedField spouseBox;        // marked: the spouse's source
  AnyNamedField nameChoice;       // marked: the payer name is `secondName`
  AnyNamedField name;             // payer name
  AnyNamedField secondName;
  AnyNamedField restrictedStock;  // marked: a restricted-stock dividend (none: never)
};

const int kIntDivSourceCount = 3;
const int kIntDivColumnCount = 4;

// One summary row, four consecutive fields: the taxpayer's and the
// spouse's amount, then the taxpayer's and the spouse's allocated part.
enum SummaryRowField { kTaxpayerAmount, kSpouseAmount, kTaxpayerPart, kSpousePart, kSummaryRowFields };
struct SummaryRow {
  AnyNamedField field[kSummaryRowFields];
};

// One summary form.
struct IntDivSummary {
  const FormId* form;
  bool isDividend;
  IntDivSource sources[kIntDivSourceCount];  // in listing order
  // The record fields (2 to 25 hold a copy's records), the name heads and
  // the labels of the first and the last display line.
  AnyNamedField firstRecord, lastRecord;
  AnyNamedField taxpayerName, taxpayerNumber, spouseName, spouseNumber;
  AnyNamedField firstLabel, lastLabel;
  // The rows of columns 1 to 4.
  SummaryRow regular, usObligations, inState, outOfState;
  // Interest only: the U.S. obligations reported on federal form 3, and
  // the U.S. obligations less them.
  bool hasForm3Part;
  SummaryRow reported, netUSObligations;
};

extern const IntDivSummary kInterestSummary;  // state form 16
extern const IntDivSummary kDividendSummary;  // state form 17

// The row of summary column 1 to 4 (column - 1 from 0).
const SummaryRow& columnRow(const IntDivSummary& summary, int column);

// The rows whose parts are allocated, in form order; returns their count
// (at most kMaxAllocationRows).
const int kMaxAllocationRows = 5;
int allocationRows(const IntDivSummary& summary, const SummaryRow* (&rows)[kMaxAllocationRows]);

// The source of `summary` for federal form `form`; null when it has none.
const IntDivSource* findIntDivSource(const IntDivSummary& summary, const FormId& form);

}  // namespace StateCalculationMgmt

#endif  // CALC_STATE_INT_DIV_SOURCES_H_
