// PA Schedule C expenses: the expense lines from the federal copy with
// the PA limits and adjustments, the other-expense rows, the dated rows
// of the depreciation line, the total expenses and the net profit or
// loss.
#include <cstdio>
#include <cstring>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/schedules/schedule_c_copy.h"
#include "host/dates.h"
#include "host/form_defaults.h"
#include "host/string_utils.h"
#include "parameters/tax_parameters.h"

namespace PACalculationMgmt {

namespace {

using Primitives::OVImmutableIdentifier;
typedef NamedColumn<PAScheduleCFieldIds> PAScheduleCColumn;

const std::size_t kTextSize = 128;

// Expense amounts taken from the federal copy as they stand.
const FederalAmountCopy kExpenseAmounts[] = {
    {PAScheduleC::kAdvertising, FedScheduleC::kAdvertising},
    {PAScheduleC::kContractLabor, FedScheduleC::kContractLabor},
    {PAScheduleC::kCommissions, FedScheduleC::kCommissionsAndFees},
    {PAScheduleC::kFederalDepletion, FedScheduleC::kDepletion},
    {PAScheduleC::kFederalDepreciation, FedScheduleC::kDepreciation},
    {PAScheduleC::kFederalEmployeeBenefits, FedScheduleC::kEmployeeBenefitPrograms},
    {PAScheduleC::kInsurance, FedScheduleC::kInsurance},
    {PAScheduleC::kFederalLegalProfessional, FedScheduleC::kLegalAndProfessionalServices},
    {PAScheduleC::kOfficeExpense, FedScheduleC::kOfficeExpense},
    {PAScheduleC::kFederalPension, FedScheduleC::kPensionAndProfitSharingPlans},
    {PAScheduleC::kRepairs, FedScheduleC::kRepairsAndMaintenance},
    {PAScheduleC::kFederalExpenseItem, FedScheduleC::kExpenseItem},
    {PAScheduleC::kSupplies, FedScheduleC::kSupplies},
    {PAScheduleC::kFederalTaxesLicenses, FedScheduleC::kTaxesAndLicenses},
    {PAScheduleC::kUtilities, FedScheduleC::kUtilities},
    {PAScheduleC::kFederalWages, FedScheduleC::kWages},
    {PAScheduleC::kFederalStartUpCosts, FedScheduleC::kLimitedExpense},
};

// The federal other-expense rows copied into the PA rows after the home
// office row; the last PA row holds the other PA adjustments.
const int kCopiedOtherExpenseRows = 8;

// The dated rows of the depreciation line, four at the top and twelve
// below: the date, the basis, the prior depreciation and the
// depreciation of each row.
struct DatedRows {
  const PAScheduleCColumn& date;
  const PAScheduleCColumn& basis;
  const PAScheduleCColumn& priorDepreciation;
  const PAScheduleCColumn& depreciation;
};
const DatedRows kDatedRows[] = {
    {PAScheduleC::kTopAssetDate, PAScheduleC::kTopAssetBasis, PAScheduleC::kTopAssetPriorDepreciation,
     PAScheduleC::kTopAssetDepreciation},
    {PAScheduleC::kAssetDate, PAScheduleC::kAssetBasis, PAScheduleC::kAssetPriorDepreciation,
     PAScheduleC::kAssetDepreciation},
};

// The other PA adjustments, and the lines summed into the total expenses.
const PAScheduleCField kAdjustments[] = {
    PAScheduleC::kFirstOtherPAAdjustment,    PAScheduleC::kSecondOtherPAAdjustment,
    PAScheduleC::kThirdOtherPAAdjustment,    PAScheduleC::kFourthOtherPAAdjustment,
    PAScheduleC::kFederalReturnPAAdjustment, PAScheduleC::kSixthOtherPAAdjustment,
    PAScheduleC::kSeventhOtherPAAdjustment,  PAScheduleC::kStartUpPAAdjustment,
};
const PAScheduleCField kExpenseLines[] = {
    PAScheduleC::kAdvertising,           PAScheduleC::kEnteredExpense,
    PAScheduleC::kFirstClearedExpense,   PAScheduleC::kSecondClearedExpense,
    PAScheduleC::kContractLabor,         PAScheduleC::kCommissions,
    PAScheduleC::kPADepletion,           PAScheduleC::kPADepreciation,
    PAScheduleC::kDepreciationAdjustment, PAScheduleC::kClearedDepreciationLine,
    PAScheduleC::kEmployeeBenefits,      PAScheduleC::kClearedEmployeeBenefitsLine,
    PAScheduleC::kInsurance,             PAScheduleC::kInterest,
    PAScheduleC::kOtherInterestExpense,  PAScheduleC::kLegalProfessional,
    PAScheduleC::kClearedLegalProfessionalLine, PAScheduleC::kOfficeExpense,
    PAScheduleC::kPension,               PAScheduleC::kClearedPensionLine,
    PAScheduleC::kRentOrLease,           PAScheduleC::kRepairs,
    PAScheduleC::kFederalExpenseItem,    PAScheduleC::kSupplies,
    PAScheduleC::kTaxesLicenses,         PAScheduleC::kClearedTaxesLicensesLine,
    PAScheduleC::kTravelMeals,           PAScheduleC::kUtilities,
    PAScheduleC::kWages,                 PAScheduleC::kThirdShareExpense,
    PAScheduleC::kTenthShareExpense,     PAScheduleC::kStartUpExpense,
    PAScheduleC::kTotalOtherExpenses,
};

bool isStartUpText(const char* upperText) {
  return std::strcmp(upperText, "START UP COSTS") == 0 || std::strcmp(upperText, "START UP EXPENSES") == 0;
}

template <std::size_t N>
void sumFields(DataMgmt::TaxForm& form, const PAScheduleCField& target, const PAScheduleCField (&fields)[N]) {
  double sum = 0.0;
  for (const PAScheduleCField& field : fields) sum += form.getIR(field);
  form.assignIR(target, sum);
}

// An amount taken in PA, at most its line: an empty `entered` takes the
// whole line.
void limitToLine(DataMgmt::TaxForm& form, const PAScheduleCField& line, const PAScheduleCField& entered) {
  if (!form.hasSigValue(entered)) form.assignII(entered, line);
  form.minII(entered, entered, line);
}

// One dated row: a date rewritten as mm/dd/yyyy (a text that is no date
// stays as written), the prior depreciation at most the basis, the
// depreciation at most what is left of it.
void limitDatedRow(PATaxReturnCalcEngine& engine, ScheduleCCopy& c, const OVImmutableIdentifier& date,
                   const OVImmutableIdentifier& basis, const OVImmutableIdentifier& prior,
                   const OVImmutableIdentifier& depreciation) {
  DataMgmt::TaxForm& form = c.form;
  char text[kTextSize];
  engine.getPAReturn()->formString(text, sizeof text, kFormID_PAScheduleC, c.copy, date);
  const long day = Utils::strDateToNumber(text);
  if (text[0] != '\0' && day != 0) {
    std::snprintf(text, sizeof text, "%02ld/%02ld/%ld", static_cast<long>(Utils::month(day)),
                  static_cast<long>(Utils::day(day)), static_cast<long>(Utils::year(day)));
    form.assignText(date, text);
  }
  if (form.hasSigValue(basis)) {
    form.minII(prior, prior, basis);
    form.minIR(depreciation, depreciation, form.getIR(basis) - form.getIR(prior));
    form.maxIR(depreciation, depreciation, 0);
  }
}

// The depreciation line split by date: both "no" boxes marked take the
// PA depreciation entered (up to the line); otherwise the sixteen rows
// are limited and summed into the asset totals.
void computeDatedRows(PATaxReturnCalcEngine& engine, ScheduleCCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  if (!form.gtZero(PAScheduleC::kFederalDepreciation)) {
    // No question is asked: nothing of an answer given before stays.
    form.makeProtectedAndSetNull(PAScheduleC::kDepreciationFirstYesBox);
    form.makeProtectedAndSetNull(PAScheduleC::kDepreciationFirstNoBox);
    form.makeProtectedAndSetNull(PAScheduleC::kDepreciationSecondYesBox);
    form.makeProtectedAndSetNull(PAScheduleC::kDepreciationSecondNoBox);
    form.setNull(PAScheduleC::kPADepreciation);
    form.setNull(PAScheduleC::kDepreciationAdjustment);
    return;
  }
  for (const PAScheduleCField& box :
       {PAScheduleC::kDepreciationFirstYesBox, PAScheduleC::kDepreciationFirstNoBox,
        PAScheduleC::kDepreciationSecondYesBox, PAScheduleC::kDepreciationSecondNoBox}) {
    form.unProtect(box);
  }
  Utils::setDefaultX(c.holder, PAScheduleC::kDepreciationFirstNoBox, PAScheduleC::kDepreciationFirstNoBox,
                     PAScheduleC::kDepreciationFirstYesBox);
  Utils::setDefaultX(c.holder, PAScheduleC::kDepreciationSecondNoBox, PAScheduleC::kDepreciationSecondNoBox,
                     PAScheduleC::kDepreciationSecondYesBox);
  if (form.xMarked(PAScheduleC::kDepreciationFirstNoBox) &&
      form.xMarked(PAScheduleC::kDepreciationSecondNoBox)) {
    form.unProtect(PAScheduleC::kPADepreciation);
    form.minII(PAScheduleC::kPADepreciation, PAScheduleC::kPADepreciation, PAScheduleC::kFederalDepreciation);
    form.minusIIge0(PAScheduleC::kDepreciationAdjustment, PAScheduleC::kFederalDepreciation,
                    PAScheduleC::kPADepreciation);
    engine.clearFormFields(kFormID_PAScheduleC, c.copy, PAScheduleC::kDepreciationOtherAmount,
                           PAScheduleC::kNetAssetDepreciation);
    return;
  }

  form.makeProtected(PAScheduleC::kPADepreciation);
  form.minusIIge0(PAScheduleC::kDepreciationOtherNet, PAScheduleC::kDepreciationOtherAmount,
                  PAScheduleC::kDepreciationOtherReduction);
  form.assignII(PAScheduleC::kDepreciationAdjustment, PAScheduleC::kDepreciationOtherNet);
  double basisTotal = 0.0;
  double depreciationTotal = 0.0;
  for (const DatedRows& rows : kDatedRows) {
    for (int r = 0; r < rows.date.rows(); ++r) {
      const OVImmutableIdentifier& basis = rows.basis.at(r);
      const OVImmutableIdentifier& depreciation = rows.depreciation.at(r);
      limitDatedRow(engine, c, rows.date.at(r), basis, rows.priorDepreciation.at(r), depreciation);
      basisTotal += form.getIR(basis);
      depreciationTotal += form.getIR(depreciation);
    }
  }
  form.assignIR(PAScheduleC::kTotalAssetBasis, basisTotal);
  form.assignIR(PAScheduleC::kTotalAssetDepreciation, depreciationTotal);
  form.minusIIge0(PAScheduleC::kNetAssetDepreciation, PAScheduleC::kTotalAssetDepreciation,
                  PAScheduleC::kAssetDepreciationReduction);
  form.assignII(PAScheduleC::kPADepreciation, PAScheduleC::kNetAssetDepreciation);
}

// Home office: the federal business use of the home, or the PA amount
// entered when a federal form 103 copy answers both of its
// simplified-method boxes yes.
void computeHomeOffice(ScheduleCCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  const long federalAmount = c.fedAmount(FedScheduleC::kBusinessUseOfHome);
  bool simplified = false;
  if (federalAmount > 0) {
    const int last = c.federal.getMaxCopies(kFormID_Fed103);
    for (int k = 1; k <= last && !simplified; ++k) {
      const uint16_t copy = static_cast<uint16_t>(k);
      simplified = c.federal.formYes(kFormID_Fed103, copy, Fed103::kSimplifiedMethodBox) &&
                   c.federal.formYes(kFormID_Fed103, copy, Fed103::kSimplifiedMethodElectionBox);
    }
  }
  form.assignIR(PAScheduleC::kHomeOfficeSplitMark, simplified ? 1 : 0);
  if (form.gtZero(PAScheduleC::kHomeOfficeSplitMark)) {
    form.assignIR(PAScheduleC::kFederalHomeOffice, federalAmount);
    form.unProtect(PAScheduleC::kPAHomeOffice);
    form.assignII(PAScheduleC::kHomeOfficeExpense, PAScheduleC::kPAHomeOffice);
  } else {
    form.assignIR(PAScheduleC::kHomeOfficeExpense, federalAmount);
    form.makeProtectedAndSetNull(PAScheduleC::kFederalHomeOffice);
    form.makeProtectedAndSetNull(PAScheduleC::kPAHomeOffice);
  }
  if (form.getIN(PAScheduleC::kHomeOfficeExpense) > 0) {
    form.assignText(PAScheduleC::kHomeOfficeText, "Home office exp");
  } else {
    form.setNull(PAScheduleC::kHomeOfficeText);
  }
}

// A line with a part not allowed in PA: the federal amount less the
// reduction the user enters, into the balance and the line.
void subtractReduction(DataMgmt::TaxForm& form, const PAScheduleCField& federal,
                       const PAScheduleCField& reduction, const PAScheduleCField& balance,
                       const PAScheduleCField& line) {
  if (form.gtZero(federal)) {
    form.unProtect(reduction);
    form.minusIIge0(balance, federal, reduction);
    form.assignII(line, balance);
  } else {
    form.makeProtectedAndSetNull(reduction);
    form.setNull(balance);
    form.setNull(line);
  }
}

// The shared amount taken a third (its box marked) or a tenth, and the
// start-up costs and organizational costs, capped together.
void computeSharedAndStartUp(ScheduleCCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  Utils::setDefaultX(c.holder, PAScheduleC::kStartUpNoBox, PAScheduleC::kStartUpNoBox,
                     PAScheduleC::kStartUpYesBox);
  Utils::setDefaultX(c.holder, PAScheduleC::kThirdShareBox, PAScheduleC::kThirdShareBox,
                     PAScheduleC::kTenthShareBox);
  if (form.xMarked(PAScheduleC::kThirdShareBox)) {
    form.timesIR(PAScheduleC::kThirdOfSharedAmount, PAScheduleC::kSharedAmount, 0.33333);
  } else {
    form.setNull(PAScheduleC::kThirdOfSharedAmount);
    form.assignIR(PAScheduleC::kTenthOfSharedAmount, form.getIR(PAScheduleC::kSharedAmount) / 10);
  }
  form.assignII(PAScheduleC::kThirdShareExpense, PAScheduleC::kThirdOfSharedAmount);
  form.assignII(PAScheduleC::kTenthShareExpense, PAScheduleC::kTenthOfSharedAmount);

  if (form.gtZero(PAScheduleC::kFederalStartUpCosts)) {
    form.unProtect(PAScheduleC::kStartUpCostsYesBox);
    form.unProtect(PAScheduleC::kStartUpCostsNoBox);
    Utils::setDefaultX(c.holder, PAScheduleC::kStartUpCostsNoBox, PAScheduleC::kStartUpCostsNoBox,
                       PAScheduleC::kStartUpCostsYesBox);
    if (form.xMarked(PAScheduleC::kStartUpCostsYesBox)) {
      form.unProtect(PAScheduleC::kStartUpCosts);
      form.unProtect(PAScheduleC::kOrganizationalCosts);
    } else {
      form.makeProtectedAndSetNull(PAScheduleC::kStartUpCosts);
      form.makeProtectedAndSetNull(PAScheduleC::kOrganizationalCosts);
    }
  } else if (!form.xMarked(PAScheduleC::kStartUpCostsYesBox)) {
    // Not asked: the default answer given while it was goes (the user's Yes
    // stays, with the costs it opened).
    form.setNull(PAScheduleC::kStartUpCostsYesBox);
    form.setNull(PAScheduleC::kStartUpCostsNoBox);
  }
  form.plus2(PAScheduleC::kStartUpDeduction, PAScheduleC::kStartUpCosts, PAScheduleC::kOrganizationalCosts);
  form.minIR(PAScheduleC::kStartUpDeduction, PAScheduleC::kStartUpDeduction, PATax2018::kStartUpCostsCap);
  form.assignII(PAScheduleC::kStartUpExpense, PAScheduleC::kStartUpDeduction);
}

// The other PA adjustments (start-up costs are none), and the federal
// other-expense rows, a start-up row left blank.
void computeOtherExpenses(ScheduleCCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  char text[kTextSize];
  const long businessAdjustment = c.federal.getIN(kFormID_FedReturn, 1, FedReturn::kBusinessAdjustment);
  if (businessAdjustment > 0) {
    form.assignIR(PAScheduleC::kFederalReturnAmount, businessAdjustment);
    form.unProtect(PAScheduleC::kFederalReturnPAAdjustment);
  } else {
    form.setNull(PAScheduleC::kFederalReturnAmount);
    form.makeProtectedAndSetNull(PAScheduleC::kFederalReturnPAAdjustment);
  }

  const auto& fedDescription = FedScheduleC::kOtherExpenseDescription;
  const auto& fedAmount = FedScheduleC::kOtherExpenseAmount;
  c.fedText(text, kTextSize, fedDescription.at(kCopiedOtherExpenseRows));
  Utils::OVStringUtils::toUpperCase(text);
  form.assignIR(PAScheduleC::kStartUpPAAdjustment,
                isStartUpText(text) ? 0 : c.fedAmount(fedAmount.at(kCopiedOtherExpenseRows)));
  sumFields(form, PAScheduleC::kOtherPAAdjustmentsSum, kAdjustments);
  form.assignII(PAScheduleC::kOtherPAAdjustments, PAScheduleC::kOtherPAAdjustmentsSum);
  if (form.nonZero(PAScheduleC::kOtherPAAdjustments)) {
    form.assignText(PAScheduleC::kOtherPAAdjustmentsText, "Other PA Adj.");
  } else {
    form.setNull(PAScheduleC::kOtherPAAdjustmentsText);
  }

  for (int r = 0; r < kCopiedOtherExpenseRows; ++r) {
    const OVImmutableIdentifier& description = PAScheduleC::kOtherExpenseDescription.at(r + 1);
    const OVImmutableIdentifier& amount = PAScheduleC::kOtherExpenseAmount.at(r + 1);
    c.fedText(text, kTextSize, fedDescription.at(r));
    Utils::OVStringUtils::toUpperCase(text);
    if (isStartUpText(text)) {
      form.assignText(description, " ");
      form.setNull(amount);
    } else {
      form.assignText(description, text);
      form.assignIR(amount, c.fedAmount(fedAmount.at(r)));
    }
  }
  double total = 0.0;
  for (int r = 0; r < PAScheduleC::kOtherExpenseAmount.rows(); ++r) {
    total += form.getIR(PAScheduleC::kOtherExpenseAmount.at(r));
  }
  form.assignIR(PAScheduleC::kTotalOtherExpenses, total);
}

}  // namespace

void computeScheduleCExpenses(PATaxReturnCalcEngine& engine, ScheduleCCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  for (const FederalAmountCopy& row : kExpenseAmounts) form.assignIR(row.pa, c.fedAmount(row.federal));
  form.setNull(PAScheduleC::kFirstClearedExpense);
  form.setNull(PAScheduleC::kSecondClearedExpense);
  if (form.gtZero(PAScheduleC::kFederalDepletion)) {
    form.unProtect(PAScheduleC::kPADepletion);
    if (!form.hasSigValue(PAScheduleC::kPADepletion)) {
      form.assignII(PAScheduleC::kPADepletion, PAScheduleC::kFederalDepletion);
    }
  }
  computeDatedRows(engine, c);
  form.setNull(PAScheduleC::kClearedDepreciationLine);

  subtractReduction(form, PAScheduleC::kFederalEmployeeBenefits, PAScheduleC::kEmployeeBenefitsReduction,
                    PAScheduleC::kEmployeeBenefitsBalance, PAScheduleC::kEmployeeBenefits);
  form.setNull(PAScheduleC::kClearedEmployeeBenefitsLine);

  form.assignIR(PAScheduleC::kFederalInterest,
                c.fedAmount(FedScheduleC::kMortgageInterest) + c.fedAmount(FedScheduleC::kOtherInterest));
  limitToLine(form, PAScheduleC::kFederalInterest, PAScheduleC::kInterest);
  form.setNull(PAScheduleC::kClearedDepreciationLine);
  limitToLine(form, PAScheduleC::kFederalLegalProfessional, PAScheduleC::kLegalProfessional);
  form.setNull(PAScheduleC::kClearedLegalProfessionalLine);

  form.makeProtected(PAScheduleC::kPension);
  subtractReduction(form, PAScheduleC::kFederalPension, PAScheduleC::kPensionReduction,
                    PAScheduleC::kPensionBalance, PAScheduleC::kPension);
  form.setNull(PAScheduleC::kClearedPensionLine);

  form.assignIR(PAScheduleC::kRentOrLease, c.fedAmount(FedScheduleC::kRentVehiclesMachineryEquipment) +
                                               c.fedAmount(FedScheduleC::kRentOtherBusinessProperty));
  if (form.gtZero(PAScheduleC::kFederalTaxesLicenses)) form.unProtect(PAScheduleC::kTaxesLicensesReduction);
  form.assignIR(PAScheduleC::kTaxesLicensesBalance, form.getIR(PAScheduleC::kFederalTaxesLicenses) -
                                                        form.getIR(PAScheduleC::kTaxesLicensesReduction) +
                                                        form.getIR(PAScheduleC::kTaxesLicensesAddition));
  form.assignII(PAScheduleC::kTaxesLicenses, PAScheduleC::kTaxesLicensesBalance);
  form.setNull(PAScheduleC::kClearedTaxesLicensesLine);
  form.assignIR(PAScheduleC::kTravelMeals,
                c.fedAmount(FedScheduleC::kTravel) + c.fedAmount(FedScheduleC::kDeductibleMeals));
  if (form.gtZero(PAScheduleC::kFederalWages)) form.unProtect(PAScheduleC::kWagesAddition);
  form.minII(PAScheduleC::kWagesAddition, PAScheduleC::kWagesAddition, PAScheduleC::kFederalWages);
  form.plus2(PAScheduleC::kWagesBalance, PAScheduleC::kFederalWages, PAScheduleC::kWagesAddition);
  form.assignII(PAScheduleC::kWages, PAScheduleC::kWagesBalance);

  computeSharedAndStartUp(c);
  computeHomeOffice(c);
  computeOtherExpenses(c);

  sumFields(form, PAScheduleC::kTotalExpenses, kExpenseLines);
  form.minusII(PAScheduleC::kNetProfit, PAScheduleC::kGrossIncome, PAScheduleC::kTotalExpenses);
}

}  // namespace PACalculationMgmt
