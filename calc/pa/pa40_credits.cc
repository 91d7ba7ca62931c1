// The PA-40 from the PA tax to the refund: amended-return additions, the
// payments of the information form, the tax forgiveness, resident and other
// credits, total payments and credits; then (after the use tax) the penalty,
// tax due, amount owed, overpayment, credit to the estimated account, the
// refund designations and the refund, the amended-return clearing and the
// payment voucher.
//
// Every field is recomputed on each run of the PA-40 from the return as it
// stands; entered amounts keep the user's value and are only limited,
// protected or nulled. Absent schedules read as 0.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

#include "calc/pa/box_marks.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "host/form_defaults.h"
#include "host/rounding.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "parameters/tax_parameters.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

using DataMgmt::TaxFormPtr;
using Primitives::OVImmutableIdentifier;

namespace {

// The refund designations in table order, with their code letters.
struct Designation {
  NamedField<PA40FieldIds> field;
  char letter;
};
constexpr Designation kDesignations[] = {
    {PA40::kRefundDonationA, 'A'}, {PA40::kRefundDonationB, 'B'}, {PA40::kRefundDonationC, 'C'},
    {PA40::kRefundDonationD, 'D'}, {PA40::kRefundDonationE, 'E'}, {PA40::kRefundDonationF, 'F'},
    {PA40::kRefundDonationG, 'G'}, {PA40::kRefundDonationI, 'I'},
};

// At most this many refund designations are taken off the refund, one for
// each designation row the PA-40 shows.
constexpr int kMaxDesignations = PA40::kDonationRowCode.rows();

// Opens a Yes/No pair, marking `defaultBox` when neither box is marked, or
// closes (protects and nulls) both.
void openChoice(TaxFormPtr form, const OVImmutableIdentifier& defaultBox,
                const OVImmutableIdentifier& otherBox, bool open) {
  if (open) {
    form->unProtect(defaultBox);
    form->unProtect(otherBox);
    Utils::setDefaultX(form, defaultBox, defaultBox, otherBox);
  } else {
    form->makeProtectedAndSetNull(defaultBox);
    form->makeProtectedAndSetNull(otherBox);
  }
}

// A Schedule SP number cut toward zero, kept within the range of int.
int truncatedInt(double value) {
  if (std::isnan(value)) return 0;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(value);
}

// Penalty method and "penalty figured" boxes: a penalty opens methods L, E
// and B (E by default); a penalty figured at 0 has method "X".
void fillPenaltyMethod(TaxFormPtr form, double penalty, bool figured) {
  DataMgmt::TaxForm& pa = *form;
  if (penalty > 0) {
    pa.unProtect(PA40::kPenaltyMethodLBox);
    pa.unProtect(PA40::kPenaltyMethodEBox);
    pa.unProtect(PA40::kPenaltyMethodBBox);
    Utils::setDefaultX(form, PA40::kPenaltyMethodEBox, PA40::kPenaltyMethodLBox, PA40::kPenaltyMethodBBox);
    pa.makeProtectedAndSetNull(PA40::kPenaltyMethodXBox);
  } else {
    pa.makeProtectedAndSetNull(PA40::kPenaltyMethodLBox);
    pa.makeProtectedAndSetNull(PA40::kPenaltyMethodEBox);
    pa.makeProtectedAndSetNull(PA40::kPenaltyMethodBBox);
    if (figured) {
      pa.setX(PA40::kPenaltyMethodXBox);
    } else {
      pa.makeProtectedAndSetNull(PA40::kPenaltyMethodXBox);
    }
  }
  const struct {
    const NamedField<PA40FieldIds>& box;
    const char* code;
  } kMethods[] = {{PA40::kPenaltyMethodLBox, "L"},
                  {PA40::kPenaltyMethodEBox, "E"},
                  {PA40::kPenaltyMethodBBox, "B"},
                  {PA40::kPenaltyMethodXBox, "X"}};
  const char* code = nullptr;
  for (const auto& method : kMethods) {
    if (code == nullptr && pa.xMarked(method.box)) code = method.code;
  }
  if (code != nullptr) {
    pa.assignText(PA40::kPenaltyMethodCode, code);
  } else {
    pa.setNull(PA40::kPenaltyMethodCode);
  }
  if (figured) {
    pa.setX(PA40::kPenaltyFiguredYesBox);
    pa.setXNo(PA40::kPenaltyFiguredNoBox);
  } else {
    pa.makeProtectedAndSetNull(PA40::kPenaltyFiguredYesBox);
    pa.makeProtectedAndSetNull(PA40::kPenaltyFiguredNoBox);
  }
  pa.assignText(PA40::kPenaltyFiguredText, pa.xMarked(PA40::kPenaltyFiguredYesBox) ? "Y" : "N");
}

// Refund designations, out of `available` (the overpayment less the
// credit): at most five, in table order, each between 0 and what is still
// left; once five are taken nothing is left for the others. Each
// designation above 0 fills the next designation row; answers what is
// left for the refund.
double takeDesignations(DataMgmt::TaxForm& pa, double available) {
  double remaining = available;
  if (remaining > 0) {
    int taken = 0;
    for (const Designation& d : kDesignations) {
      pa.unProtect(d.field);
      pa.minIR(d.field, d.field, taken < kMaxDesignations ? remaining : 0.0);
      pa.maxIR(d.field, d.field, 0.0);
      remaining -= pa.getIR(d.field);
      if (pa.getIR(d.field) > 0) ++taken;
    }
    if (taken >= kMaxDesignations) {
      for (const Designation& d : kDesignations) {
        if (pa.getIR(d.field) == 0) pa.makeProtectedAndSetNull(d.field);
      }
    }
  } else {
    for (const Designation& d : kDesignations) pa.makeProtectedAndSetNull(d.field);
  }

  int row = 0;
  for (const Designation& d : kDesignations) {
    if (row >= kMaxDesignations) break;
    if (pa.getIR(d.field) <= 0) continue;
    const char code[2] = {d.letter, '\0'};
    pa.assignII(PA40::kDonationRowAmount.at(row), d.field);
    pa.assignText(PA40::kDonationRowCode.at(row), code);
    ++row;
  }
  for (; row < kMaxDesignations; ++row) {
    pa.setNull(PA40::kDonationRowCode.at(row));
    pa.setNull(PA40::kDonationRowAmount.at(row));
  }
  pa.setValueToSumOf(
      PA40::kTotalRefundDonations,
      {PA40::kRefundDonationA, PA40::kRefundDonationB, PA40::kRefundDonationC, PA40::kRefundDonationD,
       PA40::kRefundDonationE, PA40::kRefundDonationF, PA40::kRefundDonationG, PA40::kRefundDonationI});
  return remaining;
}

// Tax forgiveness from Schedule SP, calculated afresh first: the code of
// the filer's class (01 unmarried or separated, 02 married, 03 otherwise),
// the dependent children, the eligibility income and the credit. A
// married filer with the spouse's income apart takes the two-column lines.
void fillForgivenessCredit(PATaxReturnCalcEngine& engine, TaxFormPtr form) {
  PADataMgmt::PATaxReturn& paReturn = *engine.getPAReturn();
  DataMgmt::TaxForm& pa = *form;
  const DataMgmt::FormId& kSP = kFormID_PAScheduleSP;
  TaxFormPtr schedule = paReturn.getFormUVPtr(kSP, 1, false);
  if (!schedule.isNull()) engine.calcStateForm(kSP, 1, false, 0, 0, schedule);
  if (paReturn.getIR(kSP, 1, PAScheduleSP::kTaxForgiveness) <= 0 &&
      paReturn.getIR(kSP, 1, PAScheduleSP::kTwoColumnTaxForgiveness) <= 0) {
    pa.setNull(PA40::kForgivenessDependentsText);
    pa.zero(PA40::kEligibilityIncome);
    pa.zero(PA40::kForgivenessCredit);
    pa.setNull(PA40::kForgivenessCode);
    return;
  }
  char number[16];
  std::snprintf(number, sizeof(number), "0%d",
                truncatedInt(paReturn.getIR(kSP, 1, PAScheduleSP::kDependentCount)));
  pa.assignText(PA40::kForgivenessDependentsText, number);
  auto spYes = [&](const OVImmutableIdentifier& box) { return paReturn.formYes(kSP, 1, box); };
  const char* code = "03";
  bool twoColumns = false;
  if (spYes(PAScheduleSP::kMarriedBox)) {
    code = "02";
    twoColumns = !spYes(PAScheduleSP::kMarriedJointBox);
  } else if (spYes(PAScheduleSP::kUnmarriedBox) || spYes(PAScheduleSP::kSeparatedBox)) {
    code = "01";
  }
  pa.assignText(PA40::kForgivenessCode, code);
  if (twoColumns) {
    pa.assignIR(PA40::kEligibilityIncome,
                paReturn.getIR(kSP, 1, PAScheduleSP::kSpouseEligibilityIncome) +
                    paReturn.getIR(kSP, 1, PAScheduleSP::kTaxpayerEligibilityIncome));
    paReturn.getII(kSP, PAScheduleSP::kTwoColumnTaxForgiveness, form, PA40::kForgivenessCredit);
  } else {
    paReturn.getII(kSP, PAScheduleSP::kEligibilityIncome, form, PA40::kEligibilityIncome);
    paReturn.getII(kSP, PAScheduleSP::kTaxForgiveness, form, PA40::kForgivenessCredit);
  }
}

// Resident credit from Schedule G-L (none for a nonresident), never above
// the PA tax; on a joint return the sum of both persons' credits, with the
// joint choice open.
void fillResidentCredit(PADataMgmt::PATaxReturn& paReturn, TaxFormPtr form, bool joint, int residency) {
  DataMgmt::TaxForm& pa = *form;
  const DataMgmt::FormId& kGL = kFormID_PAScheduleGL;
  if (residency == PADataMgmt::kNonresident) {
    pa.setNull(PA40::kResidentCreditFirstSum);
    pa.setNull(PA40::kResidentCreditSecondSum);
    pa.setNull(PA40::kResidentCredit);
  } else {
    paReturn.getAllCopiesII(kGL, PAScheduleGL::kTaxpayerCredit, form, PA40::kResidentCreditFirstSum);
    paReturn.getAllCopiesII(kGL, PAScheduleGL::kSpouseCredit, form, PA40::kResidentCreditSecondSum);
    if (joint) {
      pa.plus2(PA40::kResidentCredit, PA40::kResidentCreditFirstSum, PA40::kResidentCreditSecondSum);
    } else {
      paReturn.getAllCopiesII(kGL, PAScheduleGL::kCredit, form, PA40::kResidentCredit);
    }
  }
  pa.minII(PA40::kResidentCredit, PA40::kResidentCredit, PA40::kTaxLiability);
  markOrNo(pa, PA40::kResidentCreditBox, paReturn.getAllCopies(kGL, PAScheduleGL::kResidentCreditMark) > 0);
  openChoice(form, PA40::kJointResidentCreditYesBox, PA40::kJointResidentCreditNoBox, joint);
}

}  // namespace

void PATaxReturnCalcEngine::computePA40Credits(TaxFormPtr form, uint16_t /*copy*/) {
  if (paReturn == nullptr || form.isNull()) return;
  DataMgmt::TaxForm& pa = *form;
  const DataMgmt::FormId& kInfo = kFormID_PAReturnInfo;
  const bool joint = getFilingStatus() == PADataMgmt::kFilingJoint;
  const int residency = paReturn->readResidencyStatus(kInfo);

  // Amended return: the entered additions to the tax and to the payments.
  if (paReturn->formYes(kInfo, 1, PAReturnInfo::kAmendedReturnYesBox)) {
    pa.unProtect(PA40::kAmendedPaymentsAddition);
    pa.unProtect(PA40::kAmendedTaxAddition);
    if (pa.getIN(PA40::kAmendedTaxAddition) > 0) {
      pa.assignII(PA40::kTaxBeforeAmendedAddition, PA40::kTaxLiability);
      pa.plus2(PA40::kTaxLiability, PA40::kAmendedTaxAddition, PA40::kTaxBeforeAmendedAddition);
    } else {
      pa.setNull(PA40::kTaxBeforeAmendedAddition);
    }
  } else {
    pa.makeProtectedAndSetNull(PA40::kAmendedPaymentsAddition);
    pa.makeProtectedAndSetNull(PA40::kTaxBeforeAmendedAddition);
    pa.makeProtectedAndSetNull(PA40::kAmendedTaxAddition);
  }
  Utils::setDefaultX(form, PA40::kAmendedChoiceNoBox, PA40::kAmendedChoiceNoBox, PA40::kAmendedChoiceYesBox);

  // Payments. The tax withheld is the host's sum in cents, rounded once.
  pa.assignIR(PA40::kTaxWithheld,
              static_cast<double>(Utils::roundR(paReturn->getIR(kInfo, 1, PAReturnInfo::kTotalTaxWithheld))));
  paReturn->getII(kInfo, PAReturnInfo::kPriorYearCredit, form, PA40::kPriorYearCredit);
  paReturn->getII(kInfo, PAReturnInfo::kEstimatedPayments, form, PA40::kEstimatedPayments);
  openChoice(form, PA40::kREV459BNoBox, PA40::kREV459BYesBox, pa.getIN(PA40::kEstimatedPayments) > 0);
  pa.assignText(PA40::kREV459BText, pa.xMarked(PA40::kREV459BYesBox) ? "Y" : "N");
  if (pa.getIN(PA40::kAmendedPaymentsAddition) > 0) {
    pa.assignII(PA40::kEstimatedPaymentsBeforeAmended, PA40::kEstimatedPayments);
    pa.plus2(PA40::kEstimatedPayments, PA40::kAmendedPaymentsAddition, PA40::kEstimatedPaymentsBeforeAmended);
  } else {
    pa.setNull(PA40::kEstimatedPaymentsBeforeAmended);
  }
  paReturn->getII(kInfo, PAReturnInfo::kExtensionPayment, form, PA40::kExtensionPayment);
  if (residency != PADataMgmt::kFullYearResident) {
    // The 0 a full-year resident's calculation wrote is no entry of the
    // user's: it goes as the line opens.
    pa.unprotectAndMaybeSetNull(PA40::kNonresidentWithholding);
  } else {
    pa.makeProtected(PA40::kNonresidentWithholding);
    pa.zero(PA40::kNonresidentWithholding);
  }
  pa.plus4(PA40::kTotalEstimatedPayments, PA40::kPriorYearCredit, PA40::kEstimatedPayments,
           PA40::kExtensionPayment, PA40::kNonresidentWithholding);
  Utils::setDefaultX(form, PA40::kDeceasedClaimantNoBox, PA40::kDeceasedClaimantNoBox,
                     PA40::kDeceasedClaimantYesBox);

  // The resident credit first: Schedule SP forgives the tax less this
  // run's resident credit.
  fillResidentCredit(*paReturn, form, joint, residency);
  fillForgivenessCredit(*this, form);

  // Other credits: the Schedule OC credits are not refundable, so they take
  // off no more than the tax the forgiveness and resident credits leave
  // (never below 0). The schedule keeps its own total as entered.
  paReturn->getAllCopiesII(kFormID_PAScheduleOC, PAScheduleOC::kTotalCredits, form, PA40::kOtherCredits);
  const double taxLeft = pa.getIR(PA40::kTaxLiability) - pa.getIR(PA40::kForgivenessCredit) -
                         pa.getIR(PA40::kResidentCredit);
  pa.minIR(PA40::kOtherCredits, PA40::kOtherCredits, std::max(0.0, taxLeft));
  pa.plus3(PA40::kCreditsTotal, PA40::kResidentCredit, PA40::kOtherCredits, PA40::kForgivenessCredit);
  pa.setValueToSumOf(PA40::kTotalPaymentsCredits,
                     {PA40::kTaxWithheld, PA40::kTotalEstimatedPayments, PA40::kResidentCredit,
                      PA40::kForgivenessCredit, PA40::kOtherCredits});
}

void PATaxReturnCalcEngine::computePA40Balance(TaxFormPtr form, uint16_t /*copy*/) {
  if (paReturn == nullptr || form.isNull()) return;
  DataMgmt::TaxForm& pa = *form;
  auto amount = [&](const OVImmutableIdentifier& field) { return static_cast<double>(pa.getIN(field)); };

  // Penalty: open while its Yes box says it applies, which the tax left
  // after withholding and credits allows. The penalty counted is what is
  // left after that, so a second calculation counts the same.
  if (!pa.hasSigValue(PA40::kPenaltiesInterest)) pa.zero(PA40::kPenaltiesInterest);
  const double payments = amount(PA40::kTotalPaymentsCredits);
  const double tax = amount(PA40::kTaxLiability);
  const double useTax = amount(PA40::kUseTax);

  const double unpaidTax =
      tax - (amount(PA40::kNonresidentWithholding) + amount(PA40::kTaxWithheld) +
             amount(PA40::kForgivenessCredit) + amount(PA40::kResidentCredit) + amount(PA40::kOtherCredits));
  const bool penaltyMayApply = unpaidTax >= PATax2018::kPenaltyThreshold;
  markOrNo(pa, PA40::kPenaltyThresholdBox, penaltyMayApply);
  openChoice(form, PA40::kPenaltyNoBox, PA40::kPenaltyYesBox, penaltyMayApply);
  if (pa.xMarked(PA40::kPenaltyYesBox)) {
    pa.unProtect(PA40::kPenaltiesInterest);
  } else {
    pa.makeProtectedAndSetNull(PA40::kPenaltiesInterest);
  }
  const double penalty = amount(PA40::kPenaltiesInterest);
  const bool figured = penalty > 0 || pa.xMarked(PA40::kPenaltyYesBox);

  // Tax due and amount owed.
  const double owed = useTax + tax - payments;
  const double over = payments - (useTax + tax + penalty);
  if (owed >= 0) {
    pa.assignIR(PA40::kTaxDue, owed);
    pa.assignIR(PA40::kTotalPayment, penalty > 0 ? owed + penalty : owed);
  } else {
    pa.setNull(PA40::kTaxDue);
    pa.setNull(PA40::kTotalPayment);
  }
  fillPenaltyMethod(form, penalty, figured);

  // Overpayment. `over` already has the penalty taken off once. When the
  // payments cover the tax but not the penalty as well, the rest of the
  // penalty is the amount owed.
  if (over > 0) {
    pa.assignIR(PA40::kOverpayment, over);
  } else {
    pa.setNull(PA40::kOverpayment);
    if (owed < 0 && penalty > 0 && -over > 0) pa.assignIR(PA40::kTotalPayment, -over);
  }

  // Credit to the estimated account: entered, between 0 and the overpayment.
  const double overpayment = amount(PA40::kOverpayment);
  if (overpayment > 0) {
    pa.unProtect(PA40::kEstimatedAccountCredit);
    pa.minIR(PA40::kEstimatedAccountCredit, PA40::kEstimatedAccountCredit, overpayment);
    pa.maxIR(PA40::kEstimatedAccountCredit, PA40::kEstimatedAccountCredit, 0.0);
  } else {
    pa.makeProtectedAndSetNull(PA40::kEstimatedAccountCredit);
  }
  const double remaining = takeDesignations(pa, overpayment - amount(PA40::kEstimatedAccountCredit));
  pa.assignIR(PA40::kRefund, remaining);
  pa.minusII(PA40::kOverpaymentLessCredit, PA40::kOverpayment, PA40::kEstimatedAccountCredit);

  // Amended return: the balance lines are not carried.
  if (paReturn->formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kAmendedReturnYesBox)) {
    pa.makeProtectedAndSetNull(PA40::kTotalPayment);
    pa.makeProtectedAndSetNull(PA40::kOverpayment);
  }

  // An amount owed (tax due, or a penalty the payments leave): the
  // payment voucher is calculated afresh. Not in a provisional run, whose
  // amount owed rests on figures still to come: a voucher made there
  // would stay with a return that owes nothing.
  if (!provisionalPA40Run && (pa.getIN(PA40::kTaxDue) > 0 || pa.getIN(PA40::kTotalPayment) > 0)) {
    TaxFormPtr voucher = paReturn->getFormUVPtr(kFormID_PAEstimatedVouchers, 1, true);
    if (!voucher.isNull()) calcStateForm(kFormID_PAEstimatedVouchers, 1, false, 1, 0, voucher);
  }
}

}  // namespace PACalculationMgmt
