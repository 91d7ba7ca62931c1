// computeScheduleOC: PA Schedule OC, other credits (state form 488), one
// copy; the driver creates copy 1.
//
// The user enters the amount of each of the twenty credit lines; a line's
// companion fields are open while its amount is positive. The credits are
// totalled into the total credits, which the PA-40 reads. On a joint return only
// lines 8 and 9 count; the entries of the other lines are kept (they count
// again should the return stop being joint). Nothing is rounded: the total
// is the host's sum of the amount fields.
#include <cstddef>
#include <cstdint>
#include <utility>

#include "calc/pa/box_marks.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/part_of_return.h"
#include "catalogs/fields/fields.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::TaxFormPtr;

namespace {

using OCField = NamedField<PAScheduleOCFieldIds>;

// The twenty credit lines: the amount the user enters and its two
// companions (description code and awardee tax ID), open while the amount
// is positive. Line 20 has a third companion, the restricted credit's
// type; line 4 leaves its companions as they are at 0 or less.
constexpr int kLineCount = PAScheduleOC::kCreditAmount.rows();
constexpr int kLineKeepingCompanions = 3;

// The two credits of a joint return (lines 8 and 9).
constexpr const OCField* kJointCredits[] = {&PAScheduleOC::kFirstJointReturnCredit,
                                            &PAScheduleOC::kSecondJointReturnCredit};

template <std::size_t... I>
void sumAllLines(DataMgmt::TaxForm& form, std::index_sequence<I...>) {
  form.setValueToSumOf(PAScheduleOC::kTotalCredits, {PAScheduleOC::kCreditAmount.at(I)...});
}

// Opens line `line`'s companions while its amount is positive, else closes
// them (except on line 4).
void gateCompanions(DataMgmt::TaxForm& schedule, int line) {
  const bool open = schedule.getIR(PAScheduleOC::kCreditAmount.at(line)) > 0;
  if (!open && line == kLineKeepingCompanions) return;
  const FieldId* companions[] = {&PAScheduleOC::kCreditDescriptionCode.at(line),
                                 &PAScheduleOC::kCreditAwardeeTaxID.at(line), nullptr};
  if (line == kLineCount - 1) companions[2] = &PAScheduleOC::kRestrictedCreditType.id();
  for (const FieldId* companion : companions) {
    if (companion == nullptr) continue;
    if (open) {
      schedule.unProtect(*companion);
    } else {
      schedule.makeProtectedAndSetNull(*companion);
    }
  }
}

}  // namespace

void PATaxReturnCalcEngine::computeScheduleOC(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  DataMgmt::TaxForm& schedule = *form;
  const uint8_t filingStatus = paReturn->readFilingStatus(kFormID_PAReturnInfo);
  const FieldId& none = Primitives::kNullFieldID;

  copyNameText(form, kFormID_PAReturnInfo, filingStatus, 0, PAScheduleOC::kFilerName, PAScheduleOC::kFilerSSN,
               none, none, none, none, none, none, none, 0);

  // The business income answer is the calculation's off a joint return
  // (closed); a joint return is not asked, and the answer of a return not
  // joint before goes (a mark the user made there stays).
  const OCField* const businessBoxes[] = {&PAScheduleOC::kBusinessIncomeYesBox, &PAScheduleOC::kBusinessIncomeNoBox};
  if (filingStatus == PADataMgmt::kFilingJoint) {
    for (const OCField* credit : kJointCredits) schedule.unProtect(*credit);
    for (const OCField* box : businessBoxes) schedule.unprotectAndMaybeSetNull(*box);
    schedule.setValueToSumOf(PAScheduleOC::kTotalCredits, {*kJointCredits[0], *kJointCredits[1]});
  } else {
    // Business income: a Schedule C of the taxpayer (each holds its owner
    // mark 1), the PA-40's federal farm income or its RK-1 business entry.
    const bool businessIncome =
        paReturn->getAllCopies(kFormID_PAScheduleC, PAScheduleC::kTaxpayerOwnerMark) > 0 ||
        paReturn->getAllCopies(kFormID_PA40, PA40::kTaxpayerFederalFarmIncome) != 0 ||
        paReturn->hasSigValue(kFormID_PA40, 1, PA40::kTaxpayerRK1BusinessIncome);
    for (const OCField* box : businessBoxes) schedule.makeProtected(*box);
    markOrNo(schedule, PAScheduleOC::kBusinessIncomeYesBox, businessIncome);
    markOrNo(schedule, PAScheduleOC::kBusinessIncomeNoBox, !businessIncome);
    sumAllLines(schedule, std::make_index_sequence<kLineCount>());
  }

  for (int line = 0; line < kLineCount; ++line) gateCompanions(schedule, line);

  markPartOfReturn(*paReturn, kFormID_PAScheduleOC, copy, schedule,
                   schedule.getIR(PAScheduleOC::kTotalCredits) > 0,
                   [&] { return holdsUserEntry(schedule, PAScheduleOC::kUserFields); });
}

}  // namespace PACalculationMgmt
