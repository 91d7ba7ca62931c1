// The allocated parts of the interest and dividend summary rows.

#include "calc/state/int_div_display.h"

#include "calc/state/state_tax_return_calc_engine.h"
#include "host/descriptors.h"
#include "host/orvane_exception.h"
#include "host/tax_form.h"

namespace StateCalculationMgmt {

namespace {

typedef Primitives::OVImmutableIdentifier FieldId;

// Keeps `part` between 0 and a positive `amount`, at or above a negative
// one, and at 0 when the amount is 0.
void keepPartWithinAmount(DataMgmt::TaxForm& copy, const FieldId& part, const FieldId& amount) {
  const double value = copy.getIR(amount);
  if (value > 0) {
    copy.minII(part, part, amount);
    copy.maxIR(part, part, 0);
  } else if (value < 0) {
    copy.maxII(part, part, amount);
  } else {
    copy.zero(part);
  }
}

}  // namespace

void intDivSummaryAllocation1(DataMgmt::TaxFormPtr summaryCopy, uint16_t filingStatus, int residencyChoice,
                              const FieldId* rows) {
  if (!summaryCopy || rows == nullptr || !summaryCopy->getTaxFormDescriptor()) return;
  DataMgmt::OVFieldIDIter fields = summaryCopy->getTaxFormDescriptor()->getFieldIDs();
  if (rows[0].isValid() && rows[1].isValid()) {
    const int first = fields.positionOf(rows[0]);
    if (first < 0 || fields.positionOf(rows[1]) != first + 4) {
      throw Exceptions::OrvaneException("Summary is not 4 cols wide", "StateTaxReturnCalcEngine",
                                        "intDivSummaryAllocation1");
    }
  }
  const bool allocates = filerEntersParts(residencyChoice);
  for (const FieldId* row = rows; row->isValid(); ++row) {
    fields = *row;
    if (fields.atEOL()) continue;
    const FieldId amount = fields.getID();
    const FieldId spouseAmount = (fields + 1).getID();
    const FieldId part = (fields + 2).getID();
    const FieldId spousePart = (fields + 3).getID();
    if (!allocates) {
      summaryCopy->setNull(part);
      summaryCopy->setNull(spousePart);
      summaryCopy->makeProtected(part);
      summaryCopy->makeProtected(spousePart);
      continue;
    }
    summaryCopy->unProtect(part);
    keepPartWithinAmount(*summaryCopy, part, amount);
    if (!StateTaxReturnCalcEngine::isJointOrNone(filingStatus)) {
      summaryCopy->makeProtected(spousePart);
      summaryCopy->setNull(spousePart);
    } else {
      summaryCopy->unProtect(spousePart);
      keepPartWithinAmount(*summaryCopy, spousePart, spouseAmount);
    }
  }
}

}  // namespace StateCalculationMgmt
