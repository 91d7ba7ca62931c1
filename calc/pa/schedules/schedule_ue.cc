// computeScheduleUE: one copy of PA Schedule UE (state form 178),
// unreimbursed employee business expenses of the taxpayer or the spouse.
//
// Each copy belongs to one person, by its owner boxes (only a joint return
// can have a spouse's copy). The sections (vehicle, dues and fees, office,
// moving, education, depreciation) open and close their entries by the
// user's answers; a closed section protects its inputs and the next
// calculation that opens it unprotects them again. The summary lines are
// totalled into the net expenses, which the PA-40 reads with the owner
// boxes and the two schedule flag amounts. Amounts are not rounded; the
// vehicle share and the office ratio are held at 6 and 4 decimal places
// and the products use the held values.
#include <cstdint>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/part_of_return.h"
#include "calc/pa/schedules/schedule_ue_ratios.h"
#include "catalogs/fields/fields.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "parameters/tax_parameters.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::TaxForm;
using DataMgmt::TaxFormPtr;

namespace {

namespace UE = PAScheduleUE;
using UEField = NamedField<PAScheduleUEFieldIds>;

using PAScheduleUERatios::kBusinessSharePlaces;
using PAScheduleUERatios::kOfficeRatioPlaces;

// The entries of the office or work area section, opened while all three
// of its questions are answered yes.
const UEField kOfficeEntries[] = {
    UE::kOfficeFurtherAmount,       UE::kOfficeFirstExpense,       UE::kOfficeSecondExpense,
    UE::kOfficeThirdExpense,        UE::kOfficeFourthExpense,      UE::kOfficeFifthExpense,
    UE::kOfficePropertyMaintenance, UE::kOfficeOtherApportionable, UE::kOfficeEighthExpense,
    UE::kOfficeRatioPart,           UE::kOfficeRatioBase};
// What a closed office section nulls: its entries and its results.
const UEField kOfficeNulled[] = {
    UE::kOfficeFurtherAmount, UE::kOfficeFirstExpense,    UE::kOfficeSecondExpense,       UE::kOfficeThirdExpense,
    UE::kOfficeFourthExpense, UE::kOfficeFifthExpense,    UE::kOfficePropertyMaintenance, UE::kOfficeOtherApportionable,
    UE::kOfficeEighthExpense, UE::kOfficeExpenseSubtotal, UE::kOfficeRatioPart,           UE::kOfficeRatioBase,
    UE::kOfficeRatio,         UE::kOfficeRatioCopy,       UE::kOfficeAllowedPart,         UE::kOfficeExpenses};
// The education entries and the questions that close with the section.
const UEField kEducationEntries[] = {
    UE::kFirstEducationQuestionYesBox, UE::kFirstEducationQuestionNoBox, UE::kSecondEducationQuestionYesBox,
    UE::kSecondEducationQuestionNoBox, UE::kEducationalInstitution,      UE::kCourseOfStudy,
    UE::kFirstEducationExpense,        UE::kSecondEducationExpense,      UE::kThirdEducationExpense};
const UEField kEducationQuestions[] = {UE::kFirstEducationQuestionYesBox, UE::kFirstEducationQuestionNoBox,
                                       UE::kSecondEducationQuestionYesBox, UE::kSecondEducationQuestionNoBox};
const UEField kEducationAmounts[] = {UE::kFirstEducationExpense, UE::kSecondEducationExpense,
                                     UE::kThirdEducationExpense, UE::kEducationExpenses};

// The vehicle entries open whatever the method; those of actual costs,
// closed under the mileage rate, and their results.
const UEField kVehicleEntries[] = {UE::kActualExpensesBox, UE::kMileageRateBox, UE::kSecondOtherVehicleExpense,
                                   UE::kThirdOtherVehicleExpense, UE::kFirstOtherVehicleExpense};
const UEField kActualCostEntries[] = {UE::kTotalVehicleMiles, UE::kTotalBusinessMiles, UE::kFirstVehicleCost,
                                      UE::kSecondVehicleCost};
const UEField kActualCostResults[] = {UE::kBusinessShare, UE::kVehicleCostTotal, UE::kBusinessVehicleCost};

// One depreciation row: the cost basis limits the first amount, and what
// is left of it the second.
struct DepreciationRow {
  UEField basis, first, second;
};
const DepreciationRow kDepreciationRows[] = {
    {UE::kFirstPropertyCostBasis, UE::kFirstPropertyPriorDepreciation, UE::kFirstPropertyDepreciation},
    {UE::kSecondPropertyCostBasis, UE::kSecondPropertyPriorDepreciation, UE::kSecondPropertyDepreciation},
    {UE::kThirdPropertyCostBasis, UE::kThirdPropertyPriorDepreciation, UE::kThirdPropertyDepreciation},
    {UE::kFourthPropertyCostBasis, UE::kFourthPropertyPriorDepreciation, UE::kFourthPropertyDepreciation},
};

// Each summary line and the section total it shows, in the order filled.
struct SummaryLine {
  UEField line, source;
};
const SummaryLine kSummaryLines[] = {
    {UE::kVehicleLine, UE::kVehicleExpenses},
    {UE::kDuesClothesToolsFeesLine, UE::kDuesClothesToolsFeesTotal},
    {UE::kOfficeLine, UE::kOfficeExpenses},
    {UE::kMovingLine, UE::kMovingExpenses},
    {UE::kEducationLine, UE::kEducationExpenses},
    {UE::kDepreciationLine, UE::kDepreciationExpenses},
    {UE::kMiscellaneousLine, UE::kMiscellaneousExpenses},
};

// The copy in hand: the form operations the sections use.
class UECopy {
 public:
  explicit UECopy(TaxFormPtr form) : holder_(form), form_(*form) {}

  TaxForm& form() { return form_; }
  double value(const FieldId& f) const { return form_.getIR(f); }
  long whole(const FieldId& f) const { return form_.getIN(f); }
  bool marked(const FieldId& f) const { return form_.xMarked(f); }
  void x(const FieldId& f) { form_.setX(f); }
  void no(const FieldId& f) { form_.setXNo(f); }
  void assign(const FieldId& f, double v) { form_.assignIR(f, v); }
  void null(const FieldId& f) { form_.setNull(f); }
  void protect(const FieldId& f) { form_.makeProtected(f); }
  void unprotect(const FieldId& f) { form_.unProtect(f); }
  void close(const FieldId& f) { form_.makeProtectedAndSetNull(f); }
  // Utils::setDefaultX on the copy: marks a when none of a, b, c is marked.
  void defaultX(const FieldId& a, const FieldId& b, const FieldId& c) { Utils::setDefaultX(holder_, a, b, c); }

 private:
  TaxFormPtr holder_;
  TaxForm& form_;
};

// The copy markers: the first copy carries them. On a joint return the
// user picks one of the three boxes; on any other the calculation marks
// the first and closes the three, so that its mark goes once the return is
// joint (a mark the user made there stays).
void markFirstCopy(UECopy& ue, uint16_t copy, bool joint) {
  const UEField* const boxes[] = {&UE::kFirstCopyFirstBox, &UE::kFirstCopySecondBox, &UE::kFirstCopyThirdBox};
  if (copy == 1) {
    ue.x(UE::kFirstCopyBox);
    if (joint) {
      for (const UEField* box : boxes) ue.form().unprotectAndMaybeSetNull(*box);
      ue.form().oneX(UE::kFirstCopyFirstBox, UE::kFirstCopySecondBox, UE::kFirstCopyThirdBox);
    } else {
      for (const UEField* box : boxes) ue.protect(*box);
      ue.x(UE::kFirstCopyFirstBox);
      ue.null(UE::kFirstCopySecondBox);
      ue.null(UE::kFirstCopyThirdBox);
    }
  } else {
    ue.no(UE::kFirstCopyBox);
    ue.null(UE::kFirstCopyFirstBox);
    ue.null(UE::kFirstCopySecondBox);
    ue.null(UE::kFirstCopyThirdBox);
  }
}

// Vehicle: the mileage rate, the business share of actual costs, or, with
// neither box marked, the section as the user left it.
void fillVehicle(PATaxReturnCalcEngine& engine, UECopy& ue, uint16_t copy) {
  for (const UEField& f : kVehicleEntries) ue.unprotect(f);
  ue.defaultX(UE::kMileageRateBox, UE::kMileageRateBox, UE::kActualExpensesBox);
  TaxForm& form = ue.form();
  if (ue.marked(UE::kMileageRateBox)) {
    for (const UEField& f : kActualCostEntries) ue.close(f);
    for (const UEField& f : kActualCostResults) ue.null(f);
    ue.unprotect(UE::kBusinessMilesAtRate);
    form.timesIR(UE::kMileageAmount, UE::kBusinessMilesAtRate, PATax2018::kMileageRate);
    form.plus4(UE::kVehicleExpenses, UE::kMileageAmount, UE::kThirdOtherVehicleExpense, UE::kFirstOtherVehicleExpense,
               UE::kSecondOtherVehicleExpense);
  } else if (ue.marked(UE::kActualExpensesBox)) {
    ue.close(UE::kBusinessMilesAtRate);
    ue.close(UE::kMileageAmount);
    for (const UEField& f : kActualCostEntries) ue.unprotect(f);
    form.minII(UE::kTotalBusinessMiles, UE::kTotalBusinessMiles, UE::kTotalVehicleMiles);
    double share = ue.whole(UE::kTotalVehicleMiles) > 0
                       ? ue.value(UE::kTotalBusinessMiles) / ue.value(UE::kTotalVehicleMiles)
                       : 0.0;
    engine.copyNumberField(kFormID_PAScheduleUE, copy, UE::kBusinessShare, share, kBusinessSharePlaces);
    form.plus2(UE::kVehicleCostTotal, UE::kFirstVehicleCost, UE::kSecondVehicleCost);
    form.timesIR(UE::kBusinessVehicleCost, UE::kVehicleCostTotal, share);
    form.plus4(UE::kVehicleExpenses, UE::kBusinessVehicleCost, UE::kThirdOtherVehicleExpense,
               UE::kFirstOtherVehicleExpense, UE::kSecondOtherVehicleExpense);
  }
}

// Office or work area: open only when all three questions are yes.
void fillOffice(PATaxReturnCalcEngine& engine, UECopy& ue, uint16_t copy) {
  TaxForm& form = ue.form();
  if (!(ue.marked(UE::kOfficeThirdYesBox) && ue.marked(UE::kOfficeSecondYesBox) && ue.marked(UE::kOfficeFirstYesBox))) {
    for (const UEField& f : kOfficeEntries) ue.protect(f);
    for (const UEField& f : kOfficeNulled) ue.null(f);
    return;
  }
  for (const UEField& f : kOfficeEntries) ue.unprotect(f);
  form.plus8(UE::kOfficeExpenseSubtotal, UE::kOfficeFirstExpense, UE::kOfficeSecondExpense, UE::kOfficeThirdExpense,
             UE::kOfficeFourthExpense, UE::kOfficeFifthExpense, UE::kOfficePropertyMaintenance,
             UE::kOfficeOtherApportionable, UE::kOfficeEighthExpense);
  double ratio = 0.0;
  if (ue.whole(UE::kOfficeRatioBase) > 0) {
    form.minII(UE::kOfficeRatioPart, UE::kOfficeRatioPart, UE::kOfficeRatioBase);
    ratio = static_cast<double>(ue.whole(UE::kOfficeRatioPart)) / static_cast<double>(ue.whole(UE::kOfficeRatioBase));
  }
  engine.copyNumberField(kFormID_PAScheduleUE, copy, UE::kOfficeRatio, ratio, kOfficeRatioPlaces);
  form.assignII(UE::kOfficeRatioCopy, UE::kOfficeRatio);
  form.timesIR(UE::kOfficeAllowedPart, UE::kOfficeExpenseSubtotal, ratio);
  form.plus2(UE::kOfficeExpenses, UE::kOfficeAllowedPart, UE::kOfficeFurtherAmount);
}

// Moving: open when the distance test passes, or when the military pair
// exempts the move from it. The pair is asked only while the test fails;
// once it passes, the No the calculation answered for the user goes (a Yes
// is only ever the user's and stays).
void fillMoving(UECopy& ue) {
  TaxForm& form = ue.form();
  form.minusIIge0(UE::kMovingDistance, UE::kNewWorkplaceMiles, UE::kOldWorkplaceMiles);
  bool open = ue.whole(UE::kMovingDistance) >= PATax2018::kMovingDistanceMiles;
  if (open && !ue.marked(UE::kMilitaryMoveYesBox)) {
    ue.null(UE::kMilitaryMoveYesBox);
    ue.null(UE::kMilitaryMoveNoBox);
  }
  if (!open) {
    ue.unprotect(UE::kMilitaryMoveYesBox);
    ue.unprotect(UE::kMilitaryMoveNoBox);
    ue.defaultX(UE::kMilitaryMoveNoBox, UE::kMilitaryMoveNoBox, UE::kMilitaryMoveYesBox);
    open = ue.marked(UE::kMilitaryMoveYesBox);
  }
  if (open) {
    ue.unprotect(UE::kFirstMovingExpense);
    ue.unprotect(UE::kSecondMovingExpense);
    form.plus2(UE::kMovingExpenses, UE::kFirstMovingExpense, UE::kSecondMovingExpense);
  } else {
    ue.null(UE::kFirstMovingExpense);
    ue.null(UE::kSecondMovingExpense);
    ue.null(UE::kMovingExpenses);
    ue.no(UE::kMilitaryMoveYesBox);
    ue.x(UE::kMilitaryMoveNoBox);
  }
}

// Education: open when asked and both questions are answered no.
void fillEducation(UECopy& ue) {
  ue.defaultX(UE::kEducationNoBox, UE::kEducationYesBox, UE::kEducationNoBox);
  const bool asked = ue.marked(UE::kEducationYesBox);
  bool open = false;
  if (asked) {
    ue.defaultX(UE::kFirstEducationQuestionYesBox, UE::kFirstEducationQuestionNoBox, UE::kFirstEducationQuestionNoBox);
    ue.defaultX(UE::kSecondEducationQuestionYesBox, UE::kSecondEducationQuestionNoBox,
                UE::kSecondEducationQuestionNoBox);
    open = ue.marked(UE::kSecondEducationQuestionNoBox) && ue.marked(UE::kFirstEducationQuestionNoBox);
    if (open) {
      ue.form().plus3(UE::kEducationExpenses, UE::kFirstEducationExpense, UE::kSecondEducationExpense,
                      UE::kThirdEducationExpense);
    }
  }
  for (const UEField& f : kEducationEntries) ue.unprotect(f);
  if (open) return;
  ue.null(UE::kEducationalInstitution);
  ue.null(UE::kCourseOfStudy);
  for (const UEField& f : {UE::kEducationalInstitution, UE::kCourseOfStudy}) ue.protect(f);
  for (const UEField& f : kEducationAmounts) {
    ue.protect(f);
    ue.null(f);
  }
  if (!asked) {
    for (const UEField& f : kEducationQuestions) {
      ue.protect(f);
      ue.no(f);
    }
  }
}

void fillDepreciation(UECopy& ue) {
  TaxForm& form = ue.form();
  for (const DepreciationRow& row : kDepreciationRows) {
    const double basis = ue.value(row.basis);
    const double first = ue.value(row.first);
    if (basis > 0) {
      form.minIR(row.first, row.first, basis);
      const double left = basis - first;
      if (left <= 0) {
        ue.assign(row.second, 0);
      } else {
        form.minIR(row.second, row.second, left);
      }
    } else {
      ue.null(row.second);
      ue.null(row.first);
    }
  }
  form.plus8(UE::kDepreciationExpenses, UE::kFirstPropertyPriorDepreciation, UE::kFirstPropertyDepreciation,
             UE::kSecondPropertyPriorDepreciation, UE::kSecondPropertyDepreciation, UE::kThirdPropertyPriorDepreciation,
             UE::kThirdPropertyDepreciation, UE::kFourthPropertyPriorDepreciation, UE::kFourthPropertyDepreciation);
}

}  // namespace

void PATaxReturnCalcEngine::computeScheduleUE(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  UECopy ue(form);
  const uint8_t filingStatus = paReturn->readFilingStatus(kFormID_PAReturnInfo);
  const bool joint = filingStatus == PADataMgmt::kFilingJoint;

  ue.defaultX(UE::kSecondQuestionNoBox, UE::kSecondQuestionNoBox, UE::kSecondQuestionYesBox);
  ue.defaultX(UE::kThirdQuestionNoBox, UE::kThirdQuestionNoBox, UE::kThirdQuestionYesBox);
  markFirstCopy(ue, copy, joint);

  if (joint) {
    ue.unprotect(UE::kTaxpayerBox);
    ue.unprotect(UE::kSpouseBox);
    ue.defaultX(UE::kTaxpayerBox, UE::kSpouseBox, UE::kSpouseBox);
  } else {
    ue.x(UE::kTaxpayerBox);
    ue.no(UE::kSpouseBox);
    ue.protect(UE::kTaxpayerBox);
    ue.protect(UE::kSpouseBox);
  }

  // The number text is the return's first number on either person's copy
  // (the form asks for the number shown first on the return).
  const FieldId& none = Primitives::kNullFieldID;
  if (ue.marked(UE::kTaxpayerBox)) {
    copyNameText(form, kFormID_PAReturnInfo, filingStatus, 0, UE::kFilerName, UE::kFilerSSN, none, none, none, none,
                 none, none, none, 0);
    ue.assign(UE::kTaxpayerScheduleFlag, 1);
    ue.assign(UE::kSpouseScheduleFlag, 0);
  } else {
    copyNameText(form, kFormID_PAReturnInfo, filingStatus, 0, none, none, none, UE::kFilerSSN, UE::kFilerName, none,
                 none, none, none, 0);
    ue.assign(UE::kTaxpayerScheduleFlag, 0);
    ue.assign(UE::kSpouseScheduleFlag, 1);
  }
  form->assignII(UE::kFilerNameCopy, UE::kFilerName);
  form->assignII(UE::kFilerSSNCopy, UE::kFilerSSN);

  ue.defaultX(UE::kFirstQuestionNoBox, UE::kFirstQuestionNoBox, UE::kFirstQuestionYesBox);
  fillVehicle(*this, ue, copy);

  form->plus4(UE::kDuesClothesToolsFeesTotal, UE::kUnionDues, UE::kWorkClothes, UE::kSmallTools, UE::kProfessionalFees);
  ue.defaultX(UE::kOfficeFirstNoBox, UE::kOfficeFirstYesBox, UE::kOfficeFirstNoBox);
  ue.defaultX(UE::kOfficeSecondNoBox, UE::kOfficeSecondYesBox, UE::kOfficeSecondNoBox);
  ue.defaultX(UE::kOfficeThirdNoBox, UE::kOfficeThirdYesBox, UE::kOfficeThirdNoBox);
  fillOffice(*this, ue, copy);
  fillMoving(ue);
  fillEducation(ue);
  fillDepreciation(ue);

  ue.unprotect(UE::kMiscellaneousExpenses);
  for (const SummaryLine& s : kSummaryLines) {
    ue.assign(s.line, static_cast<double>(paReturn->getIN(kFormID_PAScheduleUE, copy, s.source)));
  }
  form->plus7(UE::kSummaryTotal, UE::kDuesClothesToolsFeesLine, UE::kVehicleLine, UE::kMiscellaneousLine,
              UE::kOfficeLine, UE::kMovingLine, UE::kEducationLine, UE::kDepreciationLine);
  form->minusII(UE::kNetExpenses, UE::kSummaryTotal, UE::kReduction);

  markPartOfReturn(*paReturn, kFormID_PAScheduleUE, copy, *form,
                   paReturn->getIN(kFormID_PAScheduleUE, copy, UE::kNetExpenses) != 0,
                   [&] { return holdsUserEntry(*form, UE::kUserFields); });
}

}  // namespace PACalculationMgmt
