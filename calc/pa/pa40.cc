// The PA-40 (state form 169): the routine's frame and its first income
// sections, compensation (line 1) and interest and dividends (lines 2, 3).
//
// The PA-40 is calculated five times in one whole-return calculation, each
// time from the return as it then stands; every field written here is
// recomputed on each run. Amounts the user enters (reductions, added
// expenses) keep the user's value and are only limited, opened or closed,
// and a provisional run (one ahead of the figures the limits rest on)
// leaves them as typed.
#include <algorithm>
#include <cstddef>

#include "calc/pa/box_marks.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/any_named_field.h"
#include "catalogs/fields/fields.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

using DataMgmt::TaxForm;
using DataMgmt::TaxFormPtr;
using Primitives::OVImmutableIdentifier;

namespace {

// Pull codes of the federal return form in use.
const Utils::PCTypes kPullOtherCompensationA = static_cast<Utils::PCTypes>(32);
const Utils::PCTypes kPullOtherCompensationB = static_cast<Utils::PCTypes>(37);

// Opens an entered amount while the amount that limits it is positive and
// cuts it to that amount; closes (protects and nulls) it otherwise.
void limitEnteredAmount(TaxForm& pa40, const OVImmutableIdentifier& entered, double limit) {
  if (limit > 0) {
    pa40.unProtect(entered);
    pa40.minIR(entered, entered, limit);
  } else {
    pa40.makeProtectedAndSetNull(entered);
  }
}

// Marks the other-sources box from the federal sources of other
// compensation: form 181 (each person's amount less its two reductions),
// the pulled amounts, form 57, the federal return's pension lines and
// form 39; writes the amounts it rests on and the pulled-amount box.
void markOtherCompensationSources(TaxForm& pa40, const StateDataMgmt::StateTaxReturn& pa,
                                  const DataMgmt::TaxReturn& federal, const DataMgmt::FormId& federalForm) {
  auto fed181 = [&](const OVImmutableIdentifier& field) { return federal.getIN(kFormID_Fed181, 1, field); };
  const double form181 =
      static_cast<double>(fed181(Fed181::kTaxpayerAmount) - fed181(Fed181::kTaxpayerFirstReduction) -
                          fed181(Fed181::kTaxpayerSecondReduction)) +
      static_cast<double>(fed181(Fed181::kSpouseAmount) - fed181(Fed181::kSpouseFirstReduction) -
                          fed181(Fed181::kSpouseSecondReduction));
  pa40.assignIR(PA40::kFed181OtherCompensation, form181);

  const double pulled = static_cast<double>(pa.pullCommon(federalForm, 1, kPullOtherCompensationA)) +
                        static_cast<double>(pa.pullCommon(federalForm, 1, kPullOtherCompensationB));
  pa40.assignIR(PA40::kPulledOtherCompensation, pulled);
  markOrNo(pa40, PA40::kPulledOtherCompensationBox, pulled > 0);

  const double form57 = static_cast<double>(federal.getIN(kFormID_Fed57, 1, Fed57::kOtherIncomeSecondAmount) +
                                            federal.getIN(kFormID_Fed57, 1, Fed57::kJuryDutyPay) +
                                            federal.getIN(kFormID_Fed57, 1, Fed57::kOtherIncomeFirstAmount) +
                                            federal.getIN(kFormID_Fed57, 1, Fed57::kFiduciaryFees));
  pa40.assignIR(PA40::kFed57OtherCompensation, form57);
  const long pensions = federal.getIN(kFormID_FedReturn, 1, FedReturn::kTaxableIraDistributions) +
                        federal.getIN(kFormID_FedReturn, 1, FedReturn::kTaxablePensions);
  const long form39 = federal.getAllCopies(kFormID_Fed39, Fed39::kSecondSourceAmount) +
                      federal.getAllCopies(kFormID_Fed39, Fed39::kFirstSourceAmount);
  markOrNo(pa40, PA40::kOtherCompensationSourcesBox, form181 > 0 || pensions > 0 || form39 > 0 || form57 > 0);
}

// The statement boxes of each person: a reduction entered, a wage
// difference on Schedule W2-S or a PA W-2 withheld above the rate.
void markCompensationStatements(TaxForm& pa40, const DataMgmt::TaxReturn& pa) {
  pa40.setNull(PA40::kStatementBox);
  markOrNo(pa40, PA40::kTaxpayerStatementBox,
           pa40.getIR(PA40::kTaxpayerMilitaryPay) > 0 ||
               pa.formYes(kFormID_PAScheduleW2S, 1, PAScheduleW2S::kTaxpayerWagesDifferenceBox) ||
               pa.getAllCopies(kFormID_PAW2, PAW2::kTaxpayerWithholdingAboveRateCount) != 0);
  markOrNo(pa40, PA40::kSpouseStatementBox,
           pa40.getIR(PA40::kSpouseMilitaryPay) > 0 ||
               pa.formYes(kFormID_PAScheduleW2S, 1, PAScheduleW2S::kSpouseWagesDifferenceBox) ||
               pa.getAllCopies(kFormID_PAW2, PAW2::kSpouseWithholdingAboveRateCount) != 0);
}

// Added expenses may be entered only beside a Schedule UE copy, each
// person's beside one of that person's copies (counted by the copies'
// person flags).
void openAddedExpenses(TaxFormPtr form, const DataMgmt::TaxReturn& pa) {
  TaxForm& pa40 = *form;
  const long taxpayerCopies = pa.getAllCopies(kFormID_PAScheduleUE, PAScheduleUE::kTaxpayerScheduleFlag);
  const long spouseCopies = pa.getAllCopies(kFormID_PAScheduleUE, PAScheduleUE::kSpouseScheduleFlag);
  markOrNo(pa40, PA40::kBothUETotalsBox, taxpayerCopies > 0 && spouseCopies > 0);
  if (taxpayerCopies <= 0 && spouseCopies <= 0) {
    pa40.makeProtected(PA40::kAddedExpensesNoBox);
    pa40.makeProtected(PA40::kAddedExpensesYesBox);
    pa40.setXNo(PA40::kAddedExpensesNoBox);
    pa40.setXNo(PA40::kAddedExpensesYesBox);
    pa40.makeProtectedAndSetNull(PA40::kTaxpayerAddedExpenses);
    pa40.makeProtectedAndSetNull(PA40::kSpouseAddedExpenses);
    return;
  }
  pa40.unProtect(PA40::kAddedExpensesNoBox);
  pa40.unProtect(PA40::kAddedExpensesYesBox);
  Utils::setDefaultX(form, PA40::kAddedExpensesNoBox, PA40::kAddedExpensesNoBox, PA40::kAddedExpensesYesBox);
  const auto openBeside = [&pa40](const OVImmutableIdentifier& added, long copies) {
    if (copies > 0) {
      pa40.unProtect(added);
    } else {
      pa40.makeProtectedAndSetNull(added);
    }
  };
  openBeside(PA40::kTaxpayerAddedExpenses, taxpayerCopies);
  openBeside(PA40::kSpouseAddedExpenses, spouseCopies);
}

// Cuts one person's expenses to that person's gross compensation and
// marks whether it did. Expenses are never below 0: a gross below 0 (a
// W-2 entered with negative wages) cuts them to 0, not to that gross, and
// added expenses entered below 0 take them to 0 at most.
void cutToGross(TaxForm& pa40, const OVImmutableIdentifier& expenses, const OVImmutableIdentifier& gross,
                const OVImmutableIdentifier& limitedBox) {
  const double cap = std::max(0.0, pa40.getIR(gross));
  const bool limited = pa40.getIR(expenses) > cap;
  if (limited) pa40.minIR(expenses, expenses, cap);
  if (pa40.getIR(expenses) < 0) pa40.assignIR(expenses, 0);
  markOrNo(pa40, limitedBox, limited);
}

// Lines 2 and 3: each person's amount (the schedule's copy 1 and copy 2)
// and the line (every copy) from Schedule A (interest) and B (dividends).
struct InterestDividendLine {
  const DataMgmt::FormId* schedule;
  AnyNamedField total;
  AnyNamedField taxpayer;
  AnyNamedField spouse;
  AnyNamedField line;
};
const InterestDividendLine kInterestDividendLines[] = {
    {&kFormID_PAScheduleA, PAScheduleA::kTotalInterest, PA40::kTaxpayerInterest, PA40::kSpouseInterest,
     PA40::kInterestIncome},
    {&kFormID_PAScheduleB, PAScheduleB::kTotalDividends, PA40::kTaxpayerDividends, PA40::kSpouseDividends,
     PA40::kDividendIncome},
};

// The entries the user types whose limits rest on figures that are final
// only in the last run of a whole-return calculation: the reductions and
// added expenses (compensation, Schedule UE), the Schedule UE choice, the
// payment-three choice, the use tax credit (gross taxable income), the
// penalty with its boxes and method (tax and payments), the credit to the
// estimated account and the refund designations (overpayment).
constexpr NamedField<PA40FieldIds> kLimitedEntries[] = {
    PA40::kTaxpayerMilitaryPay,   PA40::kSpouseMilitaryPay,     PA40::kTaxpayerSecondReduction,
    PA40::kSpouseSecondReduction, PA40::kTaxpayerAddedExpenses, PA40::kSpouseAddedExpenses,
    PA40::kAddedExpensesYesBox,   PA40::kAddedExpensesNoBox,    PA40::kREV459BYesBox,
    PA40::kREV459BNoBox,          PA40::kUseTaxCredit,          PA40::kPenaltiesInterest,
    PA40::kPenaltyYesBox,         PA40::kPenaltyNoBox,          PA40::kPenaltyMethodLBox,
    PA40::kPenaltyMethodEBox,     PA40::kPenaltyMethodBBox,     PA40::kEstimatedAccountCredit,
    PA40::kRefundDonationA,       PA40::kRefundDonationB,       PA40::kRefundDonationC,
    PA40::kRefundDonationD,       PA40::kRefundDonationE,       PA40::kRefundDonationF,
    PA40::kRefundDonationG,       PA40::kRefundDonationI,
};

// What the limited entries of a PA-40 copy hold, taken before a provisional
// run and put back after it, so that such a run never erases or lowers
// what the user typed.
class TypedEntries {
 public:
  TypedEntries(const DataMgmt::TaxReturn& pa, const TaxForm& pa40, uint16_t copy) {
    for (size_t i = 0; i < kCount; ++i) {
      const OVImmutableIdentifier& field = kLimitedEntries[i];
      Entry& entry = entries_[i];
      entry.number = 0;
      if (pa40.xMarked(field)) {
        entry.kind = Entry::kMarked;
      } else if (pa.formNo(kFormID_PA40, copy, field)) {
        entry.kind = Entry::kNo;
      } else if (pa40.isNull(field)) {
        entry.kind = Entry::kNull;
      } else {
        entry.kind = Entry::kNumber;
        entry.number = pa40.getIR(field);
      }
    }
  }

  void putBack(TaxForm& pa40) const {
    for (size_t i = 0; i < kCount; ++i) {
      const OVImmutableIdentifier& field = kLimitedEntries[i];
      switch (entries_[i].kind) {
        case Entry::kMarked:
          pa40.setX(field);
          break;
        case Entry::kNo:
          pa40.setXNo(field);
          break;
        case Entry::kNull:
          pa40.setNull(field);
          break;
        case Entry::kNumber:
          pa40.assignIR(field, entries_[i].number);
          break;
      }
    }
  }

 private:
  static const size_t kCount = sizeof kLimitedEntries / sizeof kLimitedEntries[0];
  struct Entry {
    enum Kind { kNull, kNumber, kMarked, kNo } kind;
    double number;
  };
  Entry entries_[kCount];
};

}  // namespace

void PATaxReturnCalcEngine::computePA40(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr || federalReturn == nullptr) return;
  const bool provisional = provisionalPA40Run;
  const TypedEntries typed(*paReturn, *form, copy);

  computePA40Header(form, copy);
  computePA40Compensation(form);
  computePA40InterestDividends(form);
  computePA40BusinessIncome(form);
  computePA40SalesGain(form);
  computePA40Rents(form);
  computePA40TaxableIncome(form, copy);
  computePA40Credits(form, copy);
  computePA40UseTax(form);
  computePA40Balance(form, copy);
  computePA40NoEntryItems(form, copy);
  if (provisional) typed.putBack(*form);

  // The information form shows line 17 but is calculated before the PA-40:
  // every run keeps copy 1 in step, and the final run of copy 1 the further
  // copies, so that none keeps a figure of an earlier calculation.
  const double owed = paReturn->getStateLineValue(getStateReturnFormId(), 1, 17);
  TaxFormPtr info = paReturn->getFormUVPtr(kFormID_PAReturnInfo, 1, false);
  if (!info.isNull()) info->assignIR(PAReturnInfo::kDebitAmount, owed);
  if (copy == 1 && !provisional) {
    for (DataMgmt::TaxFormIter it = paReturn->getForms(kFormID_PAReturnInfo); !it.atEOL(); it.next()) {
      const TaxFormPtr further = it.getTaxForm();
      if (!further.isNull() && further->getCopyNumber() != 1) further->assignIR(PAReturnInfo::kDebitAmount, owed);
    }
  }

  paReturn->setDataEntered(kFormID_PA40, copy, true, false);
  form->setCalcMark(true);
  if (TaxForm* printed = paReturn->getForm(kFormID_PA40, copy)) printed->setPrintingEnabled(true);
}

// Line 1: W-2 compensation, unreimbursed employee expenses (Schedule UE),
// miscellaneous compensation and the reductions, per person, then the net.
void PATaxReturnCalcEngine::computePA40Compensation(TaxFormPtr form) {
  TaxForm& pa40 = *form;
  const bool joint = getFilingStatus() == PADataMgmt::kFilingJoint;

  // Schedule W2-S settles the PA W-2 copies it reads; it runs twice so its
  // second pass sees what its first pass wrote.
  TaxFormPtr w2s = paReturn->getFormUVPtr(kFormID_PAScheduleW2S, 1, false);
  if (!w2s.isNull()) {
    calcStateFormTwice(kFormID_PAScheduleW2S, 1, 1, w2s);
  }

  pa40.assignIR(PA40::kTaxpayerW2Compensation,
                paReturn->getAllCopies(kFormID_PAW2, PAW2::kTaxpayerPACompensation));
  if (joint) {
    pa40.assignIR(PA40::kSpouseW2Compensation,
                  paReturn->getAllCopies(kFormID_PAW2, PAW2::kSpousePACompensation));
  } else {
    pa40.setNull(PA40::kSpouseW2Compensation);
  }

  // Schedule UE: a positive net amount is an expense, a negative one an
  // excess of reimbursements that adds to compensation.
  const ScanTotals ue = copyScans.get(scanKey(CopyScan::kScheduleUE), {{paReturn, kFormID_PAScheduleUE}}, [this] {
    ScanTotals sums{};  // taxpayer expenses and excess, spouse expenses and excess
    for (int c = 1; c <= paReturn->getMaxCopies(kFormID_PAScheduleUE); ++c) {
      if (!paReturn->formExists(kFormID_PAScheduleUE, c)) continue;
      std::size_t owner = 0;
      if (paReturn->formYes(kFormID_PAScheduleUE, c, PAScheduleUE::kTaxpayerBox)) {
        owner = 0;
      } else if (paReturn->formYes(kFormID_PAScheduleUE, c, PAScheduleUE::kSpouseBox)) {
        owner = 2;
      } else {
        continue;
      }
      const long net = paReturn->getIN(kFormID_PAScheduleUE, c, PAScheduleUE::kNetExpenses);
      if (net > 0) {
        sums[owner] += net;
      } else {
        sums[owner + 1] -= net;
      }
    }
    return sums;
  });
  const double tpExpenses = ue[0], tpExcess = ue[1], spExpenses = ue[2], spExcess = ue[3];
  pa40.assignIR(PA40::kTaxpayerUEExcess, tpExcess);
  pa40.assignIR(PA40::kTaxpayerUEExpenses, tpExpenses);
  if (joint) {
    pa40.assignIR(PA40::kSpouseUEExcess, spExcess);
    pa40.assignIR(PA40::kSpouseUEExpenses, spExpenses);
  } else {
    pa40.makeProtectedAndSetNull(PA40::kSpouseUEExcess);
    pa40.makeProtectedAndSetNull(PA40::kSpouseUEExpenses);
  }

  pa40.assignIR(PA40::kTaxpayerGrossCompensation,
                pa40.getIR(PA40::kTaxpayerW2Compensation) + pa40.getIR(PA40::kTaxpayerUEExcess));
  pa40.assignIR(PA40::kSpouseGrossCompensation,
                pa40.getIR(PA40::kSpouseW2Compensation) + pa40.getIR(PA40::kSpouseUEExcess));

  pa40.assignIR(
      PA40::kTaxpayerMiscCompensation,
      paReturn->getAllCopies(kFormID_PAMiscCompWorksheet, PAMiscCompWorksheet::kTaxpayerPACompensation));
  const long spMisc =
      paReturn->getAllCopies(kFormID_PAMiscCompWorksheet, PAMiscCompWorksheet::kSpousePACompensation);

  // The first reduction: active-duty military pay earned outside PA.
  limitEnteredAmount(pa40, PA40::kTaxpayerMilitaryPay, pa40.getIR(PA40::kTaxpayerGrossCompensation));
  limitEnteredAmount(pa40, PA40::kSpouseMilitaryPay, pa40.getIR(PA40::kSpouseGrossCompensation));
  Utils::setDefaultX(form, PA40::kMilitaryPayNoBox, PA40::kMilitaryPayNoBox, PA40::kMilitaryPayYesBox);

  // The second reductions apply to a joint return of a part-year resident or
  // nonresident.
  const bool notFullYear = paReturn->formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kNonresidentBox) ||
                           paReturn->formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kPartYearResidentBox);
  if (joint && notFullYear) {
    limitEnteredAmount(pa40, PA40::kTaxpayerSecondReduction, pa40.getIR(PA40::kTaxpayerGrossCompensation));
    limitEnteredAmount(pa40, PA40::kSpouseSecondReduction, pa40.getIR(PA40::kSpouseGrossCompensation));
  } else {
    pa40.makeProtectedAndSetNull(PA40::kTaxpayerSecondReduction);
    pa40.makeProtectedAndSetNull(PA40::kSpouseSecondReduction);
  }

  // Compensation of one person: gross plus miscellaneous, less both
  // reductions, as copy 1 of the return holds them.
  auto back = [this](const OVImmutableIdentifier& field) {
    return static_cast<double>(paReturn->getIN(kFormID_PA40, 1, field));
  };
  pa40.assignIR(PA40::kTaxpayerCompensation,
                back(PA40::kTaxpayerGrossCompensation) + back(PA40::kTaxpayerMiscCompensation) -
                    back(PA40::kTaxpayerSecondReduction) - back(PA40::kTaxpayerMilitaryPay));
  if (joint) {
    pa40.assignIR(PA40::kSpouseMiscCompensation, spMisc);
    pa40.assignIR(PA40::kSpouseCompensation,
                  back(PA40::kSpouseGrossCompensation) + back(PA40::kSpouseMiscCompensation) -
                      back(PA40::kSpouseSecondReduction) - back(PA40::kSpouseMilitaryPay));
  } else {
    pa40.setNull(PA40::kSpouseMiscCompensation);
    pa40.setNull(PA40::kSpouseCompensation);
  }
  pa40.plus2(PA40::kGrossCompensation, PA40::kSpouseCompensation, PA40::kTaxpayerCompensation);

  markOtherCompensationSources(pa40, *paReturn, *federalReturn, getFederalReturnFormId());
  Utils::setDefaultX(form, PA40::kOtherCompensationNoBox, PA40::kOtherCompensationNoBox,
                     PA40::kOtherCompensationYesBox);
  markCompensationStatements(pa40, *paReturn);
  Utils::setDefaultX(form, PA40::kCompensationStatementNoBox, PA40::kCompensationStatementNoBox,
                     PA40::kCompensationStatementYesBox);
  openAddedExpenses(form, *paReturn);

  // Expenses, cut to gross compensation.
  pa40.plus2(PA40::kTaxpayerExpenses, PA40::kTaxpayerUEExpenses, PA40::kTaxpayerAddedExpenses);
  pa40.plus2(PA40::kSpouseExpenses, PA40::kSpouseUEExpenses, PA40::kSpouseAddedExpenses);
  cutToGross(pa40, PA40::kTaxpayerExpenses, PA40::kTaxpayerGrossCompensation,
             PA40::kTaxpayerExpensesLimitedBox);
  cutToGross(pa40, PA40::kSpouseExpenses, PA40::kSpouseGrossCompensation, PA40::kSpouseExpensesLimitedBox);

  pa40.plus2(PA40::kUnreimbursedExpenses, PA40::kSpouseExpenses, PA40::kTaxpayerExpenses);
  pa40.minusIIge0(PA40::kNetCompensation, PA40::kGrossCompensation, PA40::kUnreimbursedExpenses);
}

// Lines 2 and 3 from Schedules A and B, and the summary forms' total.
void PATaxReturnCalcEngine::computePA40InterestDividends(TaxFormPtr form) {
  TaxForm& pa40 = *form;

  long summaryTotal = paReturn->getAllCopies(kFormID_State16, State16::kTaxpayerNetUSObligations) +
                      paReturn->getAllCopies(kFormID_State17, State17::kTaxpayerUSObligations);
  if (getFilingStatus() == PADataMgmt::kFilingJoint) {
    summaryTotal += paReturn->getAllCopies(kFormID_State16, State16::kSpouseNetUSObligations) +
                    paReturn->getAllCopies(kFormID_State17, State17::kSpouseUSObligations);
  }
  pa40.assignIR(PA40::kInterestDividendSummaryTotal, summaryTotal);
  pa40.setNull(PA40::kScheduleDRecordsTrigger);

  // Written on every run: a nonresident reports none of them. The lines
  // have no loss oval, so a schedule total below 0 shows as 0. Each
  // person's amount follows the same floor: a person's loss is taken off
  // the other person's amount, as it is off the line, and never goes below 0.
  const bool nonresident = paReturn->readResidencyStatus(kFormID_PAReturnInfo) == PADataMgmt::kNonresident;
  const auto read = [&](long amount) { return nonresident ? 0.0 : static_cast<double>(std::max(0L, amount)); };
  for (const InterestDividendLine& s : kInterestDividendLines) {
    const long taxpayer = paReturn->getIN(*s.schedule, 1, s.total);
    const long spouse = paReturn->getIN(*s.schedule, 2, s.total);
    pa40.assignIR(s.taxpayer, read(taxpayer + std::min(0L, spouse)));
    pa40.assignIR(s.spouse, read(spouse + std::min(0L, taxpayer)));
    pa40.assignIR(s.line, read(paReturn->getAllCopies(*s.schedule, s.total)));
  }
  pa40.plus2(PA40::kInterestPlusDividends, PA40::kDividendIncome, PA40::kInterestIncome);

  Utils::setDefaultX(form, PA40::kInterestChoiceNoBox, PA40::kInterestChoiceNoBox,
                     PA40::kInterestChoiceYesBox);
  Utils::setDefaultX(form, PA40::kDividendChoiceNoBox, PA40::kDividendChoiceNoBox,
                     PA40::kDividendChoiceYesBox);
}

}  // namespace PACalculationMgmt
