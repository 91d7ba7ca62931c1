// computeDeductions: the PA deductions schedule (state form 36090).
//
// Four kinds of deduction for the taxpayer and, on a joint return, the
// spouse: tuition-account contributions ("T", ten beneficiary rows), ABLE
// account contributions ("A", three rows), and two federal amounts
// apportioned by residency, medical savings ("M") and health savings
// ("H"). Contributions are capped in the rows themselves, each person's
// deduction is limited to that person's PA income, and the allowed total
// and the code letter are what the PA-40 reads. Amounts are whole dollars.
#include <algorithm>
#include <cstdint>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/part_of_return.h"
#include "catalogs/any_named_field.h"
#include "catalogs/fields/fields.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "parameters/tax_parameters.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::TaxFormPtr;

namespace {

using DeductionField = NamedField<PADeductionsFieldIds>;
using DeductionColumn = NamedColumn<PADeductionsFieldIds>;

// Federal amounts by pull code.
const Utils::PCTypes kPullMFederal = static_cast<Utils::PCTypes>(64);
const Utils::PCTypes kPullHFederal = static_cast<Utils::PCTypes>(167);
const Utils::PCTypes kPullHShareTP = static_cast<Utils::PCTypes>(177);
const Utils::PCTypes kPullHShareSP = static_cast<Utils::PCTypes>(178);

// One addend of a person's income limit: its form, the taxpayer's and the
// spouse's field, which copies hold them, and how it counts.
enum class Copies { kCopy1, kCopyPerPerson, kAllCopies };
struct IncomeSource {
  const DataMgmt::FormId* form;
  AnyNamedField taxpayer;
  AnyNamedField spouse;
  Copies copies;
  bool subtract;     // expenses
  bool floorAtZero;  // a loss of this class counts as 0
};

const IncomeSource kIncomeSources[] = {
    // Compensation less expenses.
    {&kFormID_PA40, PA40::kTaxpayerCompensation, PA40::kSpouseCompensation, Copies::kCopy1, false, false},
    {&kFormID_PA40, PA40::kTaxpayerExpenses, PA40::kSpouseExpenses, Copies::kCopy1, true, false},
    // Interest and dividends of copy 1 or 2.
    {&kFormID_PAScheduleA, PAScheduleA::kTotalInterest, PAScheduleA::kTotalInterest, Copies::kCopyPerPerson,
     false, false},
    {&kFormID_PAScheduleB, PAScheduleB::kTotalDividends, PAScheduleB::kTotalDividends, Copies::kCopyPerPerson,
     false, false},
    // Business income, property gains (copy 1 or 2), rents.
    {&kFormID_PA40, PA40::kTaxpayerBusinessIncome, PA40::kSpouseBusinessIncome, Copies::kCopy1, false, true},
    {&kFormID_PAScheduleD, PAScheduleD::kTotalGain, PAScheduleD::kTotalGain, Copies::kCopyPerPerson, false,
     true},
    {&kFormID_PA40, PA40::kTaxpayerRentsTotal, PA40::kSpouseRentsTotal, Copies::kCopy1, false, true},
    // Estate and trust income of every copy, gambling income: neither class
    // passes a loss on (PA-40 lines 7 and 8 are never below 0), so neither
    // lowers the limit.
    {&kFormID_PAScheduleJ, PAScheduleJ::kTaxpayerTotal, PAScheduleJ::kSpouseTotal, Copies::kAllCopies, false,
     true},
    {&kFormID_PAW2GIncome, PAW2GIncome::kTaxpayerNetWinnings, PAW2GIncome::kSpouseNetWinnings, Copies::kCopy1,
     false, true},
};

// Sum of the income-limit addends of the taxpayer (spouse false) or spouse.
double incomeLimit(const DataMgmt::TaxReturn& pa, bool spouse) {
  double limit = 0.0;
  for (const IncomeSource& source : kIncomeSources) {
    const FieldId& field = (spouse ? source.spouse : source.taxpayer).id();
    long amount = 0;
    switch (source.copies) {
      case Copies::kCopy1:
        amount = pa.getIN(*source.form, 1, field);
        break;
      case Copies::kCopyPerPerson:
        amount = pa.getIN(*source.form, spouse ? 2 : 1, field);
        break;
      case Copies::kAllCopies:
        amount = pa.getAllCopies(*source.form, field);
        break;
    }
    if (source.floorAtZero) amount = std::max(0L, amount);
    limit += static_cast<double>(source.subtract ? -amount : amount);
  }
  return limit;
}

// One kind of contribution: each beneficiary row's taxpayer and spouse
// contribution, the two persons' totals, and whether a person's total is
// capped as well as each row.
struct Contributions {
  const DeductionColumn& taxpayer;
  const DeductionColumn& spouse;
  const DeductionField& taxpayerTotal;
  const DeductionField& spouseTotal;
  bool capPerContributor;
};
// Tuition accounts: the cap is per beneficiary, so a person's total is not
// capped.
constexpr Contributions kTuition = {PADeductions::kTaxpayerTuitionContribution,
                                    PADeductions::kSpouseTuitionContribution,
                                    PADeductions::kTaxpayerTuitionTotal, PADeductions::kSpouseTuitionTotal, false};
// ABLE accounts: the cap is per contributor as well, so each person's total
// over all beneficiaries is capped (three rows of 10,000 deduct 15,000).
constexpr Contributions kAble = {PADeductions::kTaxpayerAbleContribution,
                                 PADeductions::kSpouseAbleContribution, PADeductions::kTaxpayerAbleTotal,
                                 PADeductions::kSpouseAbleTotal, true};

// Caps each contribution in place and totals each person's column, the
// total capped too for a kind capped per contributor; the spouse's are open
// and capped on a joint return, closed and empty otherwise (with no total).
void fillContributions(DataMgmt::TaxForm& d, const Contributions& kind, bool joint) {
  const int rows = kind.taxpayer.rows();
  for (int r = 0; r < rows; ++r)
    d.minIR(kind.taxpayer.at(r), kind.taxpayer.at(r), PATax2018::kContributionCap);
  for (int r = 0; r < rows; ++r) {
    if (joint) {
      d.unProtect(kind.spouse.at(r));
      d.minIR(kind.spouse.at(r), kind.spouse.at(r), PATax2018::kContributionCap);
    } else {
      d.makeProtectedAndSetNull(kind.spouse.at(r));
    }
  }
  const auto total = [&](const DeductionColumn& column, const DeductionField& target) {
    double sum = 0.0;
    for (int r = 0; r < rows; ++r) sum += d.getIR(column.at(r));
    d.assignIR(target, sum);
    if (kind.capPerContributor) d.minIR(target, target, PATax2018::kContributionCap);
  };
  total(kind.taxpayer, kind.taxpayerTotal);
  if (joint) {
    total(kind.spouse, kind.spouseTotal);
  } else {
    d.setNull(kind.spouseTotal);
  }
}

// The portion of one federal amount that each person has in PA, for a
// resident (the shares themselves) or a part-year resident (the portions
// the user enters, capped at the shares).
struct Apportionment {
  const DeductionField& shareTP;
  const DeductionField& shareSP;
  const DeductionField& portion;
  const DeductionField& portionTP;
  const DeductionField& portionSP;
  const DeductionField& deductionTP;
  const DeductionField& deductionSP;
};
constexpr Apportionment kMedicalSavings = {
    PADeductions::kTaxpayerMedicalSavingsShare,   PADeductions::kSpouseMedicalSavingsShare,
    PADeductions::kMedicalSavingsPAPortion,       PADeductions::kTaxpayerMedicalSavingsPAPortion,
    PADeductions::kSpouseMedicalSavingsPAPortion, PADeductions::kTaxpayerMedicalSavingsDeduction,
    PADeductions::kSpouseMedicalSavingsDeduction};
constexpr Apportionment kHealthSavings = {
    PADeductions::kTaxpayerHealthSavingsShare,   PADeductions::kSpouseHealthSavingsShare,
    PADeductions::kHealthSavingsPAPortion,       PADeductions::kTaxpayerHealthSavingsPAPortion,
    PADeductions::kSpouseHealthSavingsPAPortion, PADeductions::kTaxpayerHealthSavingsDeduction,
    PADeductions::kSpouseHealthSavingsDeduction};

void apportion(DataMgmt::TaxForm& d, const Apportionment& a, int residency, bool joint) {
  if (residency == PADataMgmt::kFullYearResident) {
    d.makeProtectedAndSetNull(a.portion);
    d.makeProtectedAndSetNull(a.portionTP);
    d.makeProtectedAndSetNull(a.portionSP);
    d.assignII(a.deductionTP, a.shareTP);
    d.assignII(a.deductionSP, a.shareSP);
    return;
  }
  d.unProtect(a.portionTP);
  d.minII(a.portionTP, a.portionTP, a.shareTP);
  if (joint) {
    d.unProtect(a.portionSP);
    d.minII(a.portionSP, a.portionSP, a.shareSP);
  } else {
    d.makeProtectedAndSetNull(a.portionSP);
  }
  d.plus2(a.portion, a.portionTP, a.portionSP);
  d.assignII(a.deductionTP, a.portionTP);
  d.assignII(a.deductionSP, a.portionSP);
}

// The one-letter code of the kinds present: the kind's letter when only
// one is, else "C" when there is any deduction, else "N".
const char* codeLetter(const DataMgmt::TaxForm& d) {
  const struct {
    const DeductionField& taxpayer;
    const DeductionField& spouse;
    const char* letter;
  } kKinds[] = {
      {kMedicalSavings.deductionTP, kMedicalSavings.deductionSP, "M"},
      {kHealthSavings.deductionTP, kHealthSavings.deductionSP, "H"},
      {kTuition.taxpayerTotal, kTuition.spouseTotal, "T"},
      {kAble.taxpayerTotal, kAble.spouseTotal, "A"},
  };
  int present = 0;
  const char* letter = "N";
  for (const auto& kind : kKinds) {
    if (d.getIR(kind.taxpayer) > 0 || d.getIR(kind.spouse) > 0) {
      ++present;
      letter = kind.letter;
    }
  }
  if (present == 1) return letter;
  return d.getIR(PADeductions::kTaxpayerDeductions) > 0 || d.getIR(PADeductions::kSpouseDeductions) > 0 ? "C"
                                                                                                        : "N";
}

}  // namespace

void PATaxReturnCalcEngine::computeDeductions(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  DataMgmt::TaxForm& d = *form;
  const FieldId& none = Primitives::kNullFieldID;
  const uint8_t status = paReturn->readFilingStatus(kFormID_PAReturnInfo);
  const bool joint = status == PADataMgmt::kFilingJoint;
  const int residency = paReturn->readResidencyStatus(kFormID_PAReturnInfo);

  // Filer name and number.
  copyNameText(form, kFormID_PAReturnInfo, status, 0, PADeductions::kFilerName, PADeductions::kFilerSSN, none,
               none, none, none, none, none, none, 0);

  // Contributions and their totals.
  fillContributions(d, kTuition, joint);
  fillContributions(d, kAble, joint);

  // Federal amounts.
  const DataMgmt::FormId federalForm = getFederalReturnFormId();
  const double mFederal = static_cast<double>(paReturn->pullCommon(federalForm, 1, kPullMFederal));
  const double hFederal = static_cast<double>(paReturn->pullCommon(federalForm, 1, kPullHFederal));
  const double hShareTP = static_cast<double>(paReturn->pullCommon(federalForm, 1, kPullHShareTP));
  const double hShareSP = static_cast<double>(paReturn->pullCommon(federalForm, 1, kPullHShareSP));

  // Range clears work on the copy in hand (the schedule has one copy).
  const auto clearFields = [&](const FieldId& first, const FieldId& last) {
    clearFormFields(kFormID_PADeductions, copy, first, last);
  };
  const auto nullDeductions = [&](const Apportionment& a) {
    d.setNull(a.deductionTP);
    d.setNull(a.deductionSP);
  };

  if (residency == PADataMgmt::kNonresident) {
    // A nonresident has neither deduction.
    clearFields(PADeductions::kMedicalSavingsFederal, kHealthSavings.portionSP);
    nullDeductions(kMedicalSavings);
    nullDeductions(kHealthSavings);
  } else {
    // Medical savings: the spouse's share is the user's, the taxpayer has
    // the rest.
    if (mFederal > 0) {
      d.assignIR(PADeductions::kMedicalSavingsFederal, mFederal);
      d.assignIR(kMedicalSavings.shareTP, mFederal);
      if (joint) {
        d.unProtect(kMedicalSavings.shareSP);
        d.minIR(kMedicalSavings.shareSP, kMedicalSavings.shareSP, mFederal);
        d.minusIIge0(kMedicalSavings.shareTP, PADeductions::kMedicalSavingsFederal, kMedicalSavings.shareSP);
      } else {
        d.makeProtectedAndSetNull(kMedicalSavings.shareSP);
      }
      apportion(d, kMedicalSavings, residency, joint);
    } else {
      clearFields(PADeductions::kMedicalSavingsFederal, kMedicalSavings.portionSP);
      nullDeductions(kMedicalSavings);
    }

    // Health savings: both shares come from the federal return.
    if (hFederal > 0) {
      d.assignIR(PADeductions::kHealthSavingsFederal, hFederal);
      d.assignIR(kHealthSavings.shareTP, hShareTP);
      if (joint) {
        d.assignIR(kHealthSavings.shareSP, hShareSP);
      } else {
        d.setNull(kHealthSavings.shareSP);
      }
      apportion(d, kHealthSavings, residency, joint);
    } else {
      clearFields(PADeductions::kHealthSavingsFederal, kHealthSavings.portionSP);
      nullDeductions(kHealthSavings);
    }
  }

  // Deductions per person.
  d.plus4(PADeductions::kTaxpayerDeductions, kTuition.taxpayerTotal, kAble.taxpayerTotal,
          kMedicalSavings.deductionTP, kHealthSavings.deductionTP);
  if (joint) {
    d.plus4(PADeductions::kSpouseDeductions, kTuition.spouseTotal, kAble.spouseTotal,
            kMedicalSavings.deductionSP, kHealthSavings.deductionSP);
  } else {
    d.setNull(PADeductions::kSpouseDeductions);
  }

  d.assignText(PADeductions::kCodeLetter, codeLetter(d));

  // Income limits: each spouse's own PA income on a joint return, the
  // gross taxable income otherwise.
  if (joint) {
    d.assignIR(PADeductions::kTaxpayerIncomeLimit, incomeLimit(*paReturn, false));
    d.assignIR(PADeductions::kSpouseIncomeLimit, incomeLimit(*paReturn, true));
  } else {
    const long grossTaxableIncome = paReturn->getIN(kFormID_PA40, 1, PA40::kTotalTaxableIncome);
    d.assignIR(PADeductions::kTaxpayerIncomeLimit, static_cast<double>(grossTaxableIncome));
    d.setNull(PADeductions::kSpouseIncomeLimit);
  }

  // Allowed amounts. A person whose income limit is below 0 has no
  // deduction; a negative allowed amount would eat into the other
  // spouse's deduction in the total.
  d.minII(PADeductions::kTaxpayerAllowedDeductions, PADeductions::kTaxpayerDeductions,
          PADeductions::kTaxpayerIncomeLimit);
  d.maxIR(PADeductions::kTaxpayerAllowedDeductions, PADeductions::kTaxpayerAllowedDeductions, 0.0);
  if (joint) {
    d.minII(PADeductions::kSpouseAllowedDeductions, PADeductions::kSpouseDeductions,
            PADeductions::kSpouseIncomeLimit);
    d.maxIR(PADeductions::kSpouseAllowedDeductions, PADeductions::kSpouseAllowedDeductions, 0.0);
  } else {
    d.setNull(PADeductions::kSpouseAllowedDeductions);
  }
  d.plus2(PADeductions::kTotalAllowedDeductions, PADeductions::kTaxpayerAllowedDeductions,
          PADeductions::kSpouseAllowedDeductions);

  // Part of the return while something is allowed or an entry of the
  // user's is on it.
  markPartOfReturn(*paReturn, kFormID_PADeductions, copy, d,
                   d.getIR(PADeductions::kTotalAllowedDeductions) > 0,
                   [&] { return holdsUserEntry(d, PADeductions::kUserFields); });
}

}  // namespace PACalculationMgmt
