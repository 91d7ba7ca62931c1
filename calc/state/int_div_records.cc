// Listing the federal interest and dividend sources as record groups on the
// summary forms.

#include "calc/state/int_div_records.h"

#include "calc/state/int_div_display.h"
#include "calc/state/int_div_sources.h"
#include "calc/state/state_tax_return_calc_engine.h"
#include "host/descriptors.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "host/tax_return.h"

namespace StateCalculationMgmt {

int intDivGroupSize(const IntDivSourceAmounts& a, bool restrictedStock) {
  if (restrictedStock) return 2;
  int size = Utils::countLines(a.regular, a.usObligations, a.inState, a.outOfState, a.exemptTotal);
  // countLines leaves out the regular record written for a source whose
  // kinds add up to 0.
  if (a.regular == 0 && a.regular + a.usObligations + a.exemptTotal == 0) ++size;
  return size;
}

namespace {

// Position of the end of a copy's records (exclusive) in the field list.
int recordsEnd(const DataMgmt::TaxFormDescPtr& desc, const FieldId& firstRecord) {
  DataMgmt::OVFieldIDIter first = desc->getFieldIDs();
  first = firstRecord;
  return first.position() + kIntDivRecordsPerCopy;
}

// Nulls the record fields of `copy` from `from` up to `end` (exclusive).
void nullRecords(DataMgmt::TaxForm& copy, DataMgmt::OVFieldIDIter from, int end) {
  for (; !from.atEOL() && from.position() < end; from.next()) copy.setNull(from.getID());
}

// Lists every source copy of one summary (steps shared by the interest and
// the dividend summary), then empties the records left over.
void listSources(StateTaxReturnCalcEngine& engine, const IntDivSummary& summary, const FormId& summaryForm,
                 const FieldId& firstRecord, bool recalcCopies) {
  StateDataMgmt::StateTaxReturn* state = engine.getStateReturn();
  DataMgmt::USTaxReturn* federal = engine.getFederalReturn();
  const DataMgmt::TaxFormDescPtr desc = state->getTaxFormDescriptor(summaryForm);
  if (!desc) return;
  DataMgmt::OVFieldIDIter position = desc->getFieldIDs();
  position = firstRecord;
  uint16_t summaryNumber = 1;
  TaxFormPtr summaryCopy;
  bool fetched = false;

  for (const IntDivSource& source : summary.sources) {
    const FormId& form = *source.form;
    for (int c = 1; c <= federal->getMaxCopies(form); ++c) {
      const uint16_t copy = static_cast<uint16_t>(c);
      if (!federal->formExists(form, copy)) continue;
      IntDivSourceAmounts amounts;
      (engine.*source.split)(form, copy, &amounts);
      const short lineCount = Utils::countLines(amounts.regular, amounts.usObligations, amounts.inState,
                                                amounts.outOfState, amounts.exemptTotal);
      if (lineCount <= 1 && !amounts.hasAmount) continue;
      const bool restricted = federal->formYes(form, copy, source.restrictedStock);

      engine.reserveRecordLines(summaryForm, summaryNumber, position, firstRecord,
                                static_cast<short>(intDivGroupSize(amounts, restricted)), recalcCopies);
      summaryCopy = state->getFormUVPtr(summaryForm, summaryNumber, true);
      if (!summaryCopy) continue;
      fetched = true;

      engine.setIntDivInfo(summaryCopy, position, "", form, copy, kSourceHeaderLine);
      if (restricted) {
        position.next();
        engine.setIntDivInfo(summaryCopy, position, "", form, copy, kRestrictedStockLine);
        position.next();
      } else {
        engine.writeSourceRecords(summaryCopy, position, "", form, copy, amounts.regular,
                                  amounts.usObligations, amounts.exemptTotal, amounts.inState,
                                  amounts.outOfState, summary.isDividend);
      }
    }
  }

  // With no source listed, every record of every copy is stale.
  if (!fetched) {
    summaryNumber = 1;
    position = firstRecord;
    summaryCopy = state->getFormUVPtr(summaryForm, 1, false);
  }
  engine.clearRemainingRecords(summaryCopy, summaryForm, summaryNumber, position, firstRecord, recalcCopies);
}

}  // namespace

void StateTaxReturnCalcEngine::computeIntDivSummary(int recalcCopies, FormId infoForm, FormId allocationForm,
                                                    FormId interestForm, FieldId interestFirstRecord,
                                                    FormId dividendForm, FieldId dividendFirstRecord) {
  if (stateReturn == nullptr || federalReturn == nullptr) return;
  TaxFormPtr info = stateReturn->getFormUVPtr(infoForm, 1, true);
  if (info) {
    calcStateForm(infoForm, 1, false, 0, 0, info);
    stateReturn->setDataEntered(infoForm, 1, true, false);
    info->setCalcMark(true);
  }
  listSources(*this, kInterestSummary, interestForm, interestFirstRecord, recalcCopies != 0);
  listSources(*this, kDividendSummary, dividendForm, dividendFirstRecord, recalcCopies != 0);
  TaxFormPtr allocation = stateReturn->getFormUVPtr(allocationForm, 1, true);
  if (allocation) calcStateForm(allocationForm, 1, false, 0, 0, allocation);
  stateReturn->setDataEntered(allocationForm, 1, true, false);
  if (allocation) allocation->setCalcMark(true);
}

void StateTaxReturnCalcEngine::writeSourceRecords(TaxFormPtr summaryCopy, DataMgmt::OVFieldIDIter& position,
                                                  const char* description, const FormId& source,
                                                  uint16_t copy, double regular, double usObligations,
                                                  double exemptTotal, double, double, bool isDividend) {
  auto record = [&](int lineType) {
    position.next();
    setIntDivInfo(summaryCopy, position, description, source, copy, lineType);
  };
  if (regular != 0 || regular + usObligations + exemptTotal == 0) {
    record(isDividend ? kRegularDividendsLine : kRegularInterestLine);
  }
  if (usObligations != 0) record(kUSObligationsLine);
  if (exemptTotal != 0) {
    record(isDividend ? kDividendsInStateLine : kInterestInStateLine);
    record(isDividend ? kDividendsOutOfStateLine : kInterestOutOfStateLine);
  }
  position.next();
}

void StateTaxReturnCalcEngine::reserveRecordLines(FormId summaryForm, uint16_t& copy,
                                                  DataMgmt::OVFieldIDIter& position, FieldId firstRecord,
                                                  short lineCount, bool recalcCopies) {
  const DataMgmt::TaxFormDescPtr desc = stateReturn->getTaxFormDescriptor(summaryForm);
  if (!desc) return;
  const int end = recordsEnd(desc, firstRecord);
  if (position.position() + lineCount <= end) return;
  TaxFormPtr current = stateReturn->getFormUVPtr(summaryForm, copy, false);
  if (current) {
    nullRecords(*current, position, end);
    if (recalcCopies) calcStateForm(summaryForm, copy, false, 1, 0, current);
  }
  // Move on even when the copy is missing: staying would write the group
  // past the copy's last record.
  position = firstRecord;
  ++copy;
}

void StateTaxReturnCalcEngine::clearRemainingRecords(TaxFormPtr currentCopy, FormId summaryForm, uint16_t copy,
                                                     FieldId position, FieldId firstRecord, bool recalcCopies) {
  const DataMgmt::TaxFormDescPtr desc = stateReturn->getTaxFormDescriptor(summaryForm);
  if (!desc) return;
  const int end = recordsEnd(desc, firstRecord);
  DataMgmt::OVFieldIDIter from = desc->getFieldIDs();
  from = position;
  // Through the last copy: a copy left over from a longer list would
  // otherwise keep its records and count its sources twice. Each copy is
  // calculated after its clearing, so that its summary rows (which the
  // allocation form adds over all copies) show only current records.
  for (int c = copy; c <= stateReturn->getMaxCopies(summaryForm); ++c) {
    const uint16_t number = static_cast<uint16_t>(c);
    TaxFormPtr stale = c == copy && currentCopy ? currentCopy
                                               : stateReturn->getFormUVPtr(summaryForm, number, false);
    if (stale) {
      nullRecords(*stale, from, end);
      if (recalcCopies) calcStateForm(summaryForm, number, false, 1, 0, stale);
    }
    from = firstRecord;
  }
}

}  // namespace StateCalculationMgmt
