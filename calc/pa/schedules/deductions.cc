// computeDeductions: the PA deductions schedule (state form 36090).
//
// Four kinds of deduction for the taxpayer and, on a joint return, the
// spouse: tuition-account contributions ("T", ten beneficiary rows), a
// second group of contributions ("A", three rows), and two federal
// amounts apportioned by residency ("M" and "H"). Contributions are capped
// in the rows themselves, each person's deduction is limited to that
// person's PA income, and the allowed total (36571) and the code letter
// (36878) are what the PA-40 reads. Amounts are whole dollars.
#include <algorithm>
#include <cstdint>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalog_ref.h"
#include "catalogs/catalogs.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::TaxFormPtr;

namespace {

// Deductions schedule fields: PADeductionsFieldIds members.
enum Field : int {
  kCodeLetter = 0,           // 36878
  kFilerName = 1,            // 36879
  kFilerNumber = 2,          // 36880
  kTuitionTotalTP = 43,      // 36557
  kTuitionTotalSP = 44,      // 36558
  kGroupATotalTP = 57,       // 199805
  kGroupATotalSP = 58,       // 199806
  kMFederal = 59,            // 36559
  kMShareTP = 60,            // 36883
  kMShareSP = 61,            // 36884
  kMPortion = 62,            // 36560
  kMPortionTP = 63,          // 36885
  kMPortionSP = 64,          // 36886
  kHFederal = 65,            // 36887
  kHShareTP = 66,            // 36888
  kHShareSP = 67,            // 36889
  kHPortion = 68,            // 36890
  kHPortionTP = 69,          // 36891
  kHPortionSP = 70,          // 36892
  kMDeductionTP = 71,        // 36561
  kMDeductionSP = 72,        // 36562
  kHDeductionTP = 73,        // 36563
  kHDeductionSP = 74,        // 36564
  kDeductionsTP = 75,        // 36565
  kDeductionsSP = 76,        // 36566
  kIncomeLimitTP = 77,       // 36567
  kIncomeLimitSP = 78,       // 36568
  kAllowedTP = 79,           // 36569
  kAllowedSP = 80,           // 36570
  kAllowedTotal = 81,        // 36571
};

const FieldId& id(int member) { return kPADeductionsFieldIds[member]; }

// One contribution row: the taxpayer's and the spouse's member.
struct ContributionRow {
  int taxpayer;
  int spouse;
};

// Tuition-account rows 1-10 (host fields in the comments).
const ContributionRow kTuitionRows[] = {
    {5, 6},    // 36547, 36548
    {9, 10},   // 36551, 36552
    {13, 14},  // 36555, 36556
    {17, 18},  // 46491, 46492
    {21, 22},  // 46495, 46496
    {25, 26},  // 46499, 46500
    {29, 30},  // 46503, 46504
    {33, 34},  // 46507, 46508
    {37, 38},  // 46511, 46512
    {41, 42},  // 46515, 46516
};

// Group-A rows 1-3.
const ContributionRow kGroupARows[] = {
    {47, 48},  // 199795, 199796
    {51, 52},  // 199799, 199800
    {55, 56},  // 199803, 199804
};

// Every contribution cap of the schedule.
const double kContributionCap = 15000.0;

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
  FieldRef taxpayer;
  FieldRef spouse;
  Copies copies;
  bool subtract;     // expenses
  bool floorAtZero;  // a loss of this class counts as 0
};

const CatalogId kPA40 = CatalogId::PA40FieldIds;
const IncomeSource kIncomeSources[] = {
    // Net compensation (36520, 36521) less expenses (36526, 36527).
    {&kFormID_PA40, {kPA40, 158}, {kPA40, 159}, Copies::kCopy1, false, false},
    {&kFormID_PA40, {kPA40, 169}, {kPA40, 170}, Copies::kCopy1, true, false},
    // Interest (155736) and dividends (155775) of copy 1 or 2.
    {&kFormID_PAScheduleA, {CatalogId::PAScheduleAFieldIds, 26}, {CatalogId::PAScheduleAFieldIds, 26},
     Copies::kCopyPerPerson, false, false},
    {&kFormID_PAScheduleB, {CatalogId::PAScheduleBFieldIds, 24}, {CatalogId::PAScheduleBFieldIds, 24},
     Copies::kCopyPerPerson, false, false},
    // Business income (292, 293), property gains (105 of copy 1 or 2),
    // rents (301, 302).
    {&kFormID_PA40, {kPA40, 183}, {kPA40, 184}, Copies::kCopy1, false, true},
    {&kFormID_PAScheduleD, {CatalogId::PAScheduleDFieldIds, 185}, {CatalogId::PAScheduleDFieldIds, 185},
     Copies::kCopyPerPerson, false, true},
    {&kFormID_PA40, {kPA40, 195}, {kPA40, 196}, Copies::kCopy1, false, true},
    // Estate and trust income (36894, 36895) of every copy, gambling
    // income (9677, 9678).
    {&kFormID_PAScheduleJ, {CatalogId::PAScheduleJFieldIds, 7}, {CatalogId::PAScheduleJFieldIds, 8},
     Copies::kAllCopies, false, false},
    {&kFormID_PAW2GIncome, {CatalogId::PAW2GIncomeFieldIds, 63}, {CatalogId::PAW2GIncomeFieldIds, 64},
     Copies::kCopy1, false, false},
};

// Sum of the income-limit addends of the taxpayer (spouse false) or spouse.
double incomeLimit(const DataMgmt::TaxReturn& pa, bool spouse) {
  double limit = 0.0;
  for (const IncomeSource& source : kIncomeSources) {
    const FieldId& field = fieldOf(spouse ? source.spouse : source.taxpayer);
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

// Caps each contribution of `rows` in place; the spouse's are open and
// capped on a joint return, closed and empty otherwise.
template <std::size_t N>
void capContributions(DataMgmt::TaxForm& d, const ContributionRow (&rows)[N], bool joint) {
  for (const ContributionRow& row : rows) d.minIR(id(row.taxpayer), id(row.taxpayer), kContributionCap);
  for (const ContributionRow& row : rows) {
    if (joint) {
      d.unProtect(id(row.spouse));
      d.minIR(id(row.spouse), id(row.spouse), kContributionCap);
    } else {
      d.makeProtectedAndSetNull(id(row.spouse));
    }
  }
}

// Writes the sum of the taxpayer's (spouse false) or spouse's column of
// `rows` into `total`.
template <std::size_t N>
void sumContributions(DataMgmt::TaxForm& d, const ContributionRow (&rows)[N], bool spouse, Field total) {
  double sum = 0.0;
  for (const ContributionRow& row : rows) sum += d.getIR(id(spouse ? row.spouse : row.taxpayer));
  d.assignIR(id(total), sum);
}

// The portion of one federal amount that each person has in PA, for a
// resident (the shares themselves) or a part-year resident (the portions
// the user enters, capped at the shares).
struct Apportionment {
  Field shareTP, shareSP, portion, portionTP, portionSP, deductionTP, deductionSP;
};
const Apportionment kM = {kMShareTP,   kMShareSP,     kMPortion,    kMPortionTP,
                          kMPortionSP, kMDeductionTP, kMDeductionSP};
const Apportionment kH = {kHShareTP,   kHShareSP,     kHPortion,    kHPortionTP,
                          kHPortionSP, kHDeductionTP, kHDeductionSP};

void apportion(DataMgmt::TaxForm& d, const Apportionment& a, int residency, bool joint) {
  if (residency == 0) {
    d.makeProtectedAndSetNull(id(a.portion));
    d.makeProtectedAndSetNull(id(a.portionTP));
    d.makeProtectedAndSetNull(id(a.portionSP));
    d.assignII(id(a.deductionTP), id(a.shareTP));
    d.assignII(id(a.deductionSP), id(a.shareSP));
    return;
  }
  d.unProtect(id(a.portionTP));
  d.minII(id(a.portionTP), id(a.portionTP), id(a.shareTP));
  if (joint) {
    d.unProtect(id(a.portionSP));
    d.minII(id(a.portionSP), id(a.portionSP), id(a.shareSP));
  } else {
    d.makeProtectedAndSetNull(id(a.portionSP));
  }
  d.plus2(id(a.portion), id(a.portionTP), id(a.portionSP));
  d.assignII(id(a.deductionTP), id(a.portionTP));
  d.assignII(id(a.deductionSP), id(a.portionSP));
}

// The one-letter code of the kinds present: the kind's letter when only
// one is, else "C" when there is any deduction, else "N".
const char* codeLetter(const DataMgmt::TaxForm& d) {
  const struct {
    Field taxpayer, spouse;
    const char* letter;
  } kKinds[] = {
      {kMDeductionTP, kMDeductionSP, "M"},
      {kHDeductionTP, kHDeductionSP, "H"},
      {kTuitionTotalTP, kTuitionTotalSP, "T"},
      {kGroupATotalTP, kGroupATotalSP, "A"},
  };
  int present = 0;
  const char* letter = "N";
  for (const auto& kind : kKinds) {
    if (d.getIR(id(kind.taxpayer)) > 0 || d.getIR(id(kind.spouse)) > 0) {
      ++present;
      letter = kind.letter;
    }
  }
  if (present == 1) return letter;
  return d.getIR(id(kDeductionsTP)) > 0 || d.getIR(id(kDeductionsSP)) > 0 ? "C" : "N";
}

}  // namespace

void PATaxReturnCalcEngine::computeDeductions(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  DataMgmt::TaxForm& d = *form;
  const FieldId& none = Primitives::kNullFieldID;
  const uint8_t status = paReturn->readFilingStatus(kFormID_PAReturnInfo);
  const bool joint = status == 2;
  const int residency = paReturn->readResidencyStatus(kFormID_PAReturnInfo);

  // Filer name and number.
  copyNameText(form, kFormID_PAReturnInfo, status, 0, id(kFilerName), id(kFilerNumber), none, none, none,
               none, none, none, none, 0);

  // Tuition contributions and their totals.
  capContributions(d, kTuitionRows, joint);
  sumContributions(d, kTuitionRows, false, kTuitionTotalTP);
  if (joint) {
    sumContributions(d, kTuitionRows, true, kTuitionTotalSP);
  } else {
    d.setNull(id(kTuitionTotalSP));
  }

  // Group-A contributions: the totals are capped as well.
  capContributions(d, kGroupARows, joint);
  sumContributions(d, kGroupARows, false, kGroupATotalTP);
  d.minIR(id(kGroupATotalTP), id(kGroupATotalTP), kContributionCap);
  if (joint) {
    sumContributions(d, kGroupARows, true, kGroupATotalSP);
    d.minIR(id(kGroupATotalSP), id(kGroupATotalSP), kContributionCap);
  } else {
    d.setNull(id(kGroupATotalSP));
  }

  // Federal amounts.
  const DataMgmt::FormId federalForm = getFederalReturnFormId();
  const double mFederal = static_cast<double>(paReturn->pullCommon(federalForm, 1, kPullMFederal));
  const double hFederal = static_cast<double>(paReturn->pullCommon(federalForm, 1, kPullHFederal));
  const double hShareTP = static_cast<double>(paReturn->pullCommon(federalForm, 1, kPullHShareTP));
  const double hShareSP = static_cast<double>(paReturn->pullCommon(federalForm, 1, kPullHShareSP));

  // Range clears work on the copy in hand (the schedule has one copy).
  const auto clearMembers = [&](int first, int last) {
    clearFormFields(kFormID_PADeductions, copy, id(first), id(last));
  };

  if (residency == 2) {
    // A nonresident has neither deduction.
    clearMembers(kMFederal, kHPortionSP);
    for (Field f : {kMDeductionTP, kMDeductionSP, kHDeductionTP, kHDeductionSP}) d.setNull(id(f));
  } else {
    // M: the spouse's share is the user's, the taxpayer has the rest.
    if (mFederal > 0) {
      d.assignIR(id(kMFederal), mFederal);
      d.assignIR(id(kMShareTP), mFederal);
      if (joint) {
        d.unProtect(id(kMShareSP));
        d.minIR(id(kMShareSP), id(kMShareSP), mFederal);
        d.minusIIge0(id(kMShareTP), id(kMFederal), id(kMShareSP));
      } else {
        d.makeProtectedAndSetNull(id(kMShareSP));
      }
      apportion(d, kM, residency, joint);
    } else {
      clearMembers(kMFederal, kMPortionSP);
      d.setNull(id(kMDeductionTP));
      d.setNull(id(kMDeductionSP));
    }

    // H: both shares come from the federal return.
    if (hFederal > 0) {
      d.assignIR(id(kHFederal), hFederal);
      d.assignIR(id(kHShareTP), hShareTP);
      if (joint) {
        d.assignIR(id(kHShareSP), hShareSP);
      } else {
        d.setNull(id(kHShareSP));
      }
      apportion(d, kH, residency, joint);
    } else {
      clearMembers(kHFederal, kHPortionSP);
      d.setNull(id(kHDeductionTP));
      d.setNull(id(kHDeductionSP));
    }
  }

  // Deductions per person.
  d.plus4(id(kDeductionsTP), id(kTuitionTotalTP), id(kGroupATotalTP), id(kMDeductionTP), id(kHDeductionTP));
  if (joint) {
    d.plus4(id(kDeductionsSP), id(kTuitionTotalSP), id(kGroupATotalSP), id(kMDeductionSP), id(kHDeductionSP));
  } else {
    d.setNull(id(kDeductionsSP));
  }

  // Code letter.
  d.assignText(id(kCodeLetter), codeLetter(d));

  // Income limits: each spouse's own PA income on a joint return, the
  // gross taxable income (PA-40 170) otherwise.
  if (joint) {
    d.assignIR(id(kIncomeLimitTP), incomeLimit(*paReturn, false));
    d.assignIR(id(kIncomeLimitSP), incomeLimit(*paReturn, true));
  } else {
    const long grossTaxableIncome = paReturn->getIN(kFormID_PA40, 1, kPA40FieldIds[201]);  // 170
    d.assignIR(id(kIncomeLimitTP), static_cast<double>(grossTaxableIncome));
    d.setNull(id(kIncomeLimitSP));
  }

  // Allowed amounts. A person whose income limit is below 0 has no
  // deduction; a negative allowed amount would eat into the other
  // spouse's deduction in the total.
  d.minII(id(kAllowedTP), id(kDeductionsTP), id(kIncomeLimitTP));
  d.maxIR(id(kAllowedTP), id(kAllowedTP), 0.0);
  if (joint) {
    d.minII(id(kAllowedSP), id(kDeductionsSP), id(kIncomeLimitSP));
    d.maxIR(id(kAllowedSP), id(kAllowedSP), 0.0);
  } else {
    d.setNull(id(kAllowedSP));
  }
  d.plus2(id(kAllowedTotal), id(kAllowedTP), id(kAllowedSP));

  // Marked only when something is allowed.
  if (d.getIR(id(kAllowedTotal)) > 0) {
    paReturn->setDataEntered(kFormID_PADeductions, copy, true, false);
    d.setCalcMark(true);
  }
}

}  // namespace PACalculationMgmt
