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
#include <climits>
#include <cmath>
#include <cstdio>
#include <vector>

#include "calc/pa/field_int_pair.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::TaxFormPtr;
using Primitives::OVImmutableIdentifier;

namespace {

// PA-40 members (host field numbers in the comments).
const OVImmutableIdentifier& pa40(int member) { return kPA40FieldIds[member]; }
const int kTax = 207;                  // 173, line 14
const int kTaxBeforeAmended = 208;     // 350
const int kAmendedPayments = 209;      // 351
const int kAmendedTax = 210;           // 352
const int kAmendedChoice1 = 220;       // 354
const int kAmendedChoice2 = 221;       // 355
const int kPayment1 = 211;             // 233, line 21
const int kPayment2 = 212;             // 234
const int kPayment3 = 215;             // 235
const int kPayment3Box1 = 213;         // 132859
const int kPayment3Box2 = 214;         // 132860
const int kPayment3Text = 216;         // 132861
const int kPayment3BeforeAmended = 217;  // 353
const int kPayment4 = 218;             // 236
const int kPayment5 = 219;             // 237, line 30
const int kPaymentsSubtotal = 222;     // 238
const int kPaymentsChoice1 = 223;      // 338
const int kPaymentsChoice2 = 224;      // 339
const int kForgivenessCode = 225;      // 277
const int kForgivenessNumber = 226;    // 296
const int kForgivenessAmount = 227;    // 243
const int kForgivenessCredit = 228;    // 244, line 19
const int kResidentFirstSum = 229;     // 43833
const int kResidentSecondSum = 230;    // 48741
const int kResidentCredit = 231;       // 245, line 18
const int kResidentCreditBox = 90;     // 36091
const int kJointChoice1 = 71;          // 162781
const int kJointChoice2 = 72;          // 162782
const int kOtherCredits = 232;         // 266
const int kCreditsTotal = 95;          // 38809
const int kTotalPayments = 236;        // 249, line 10
const int kUseTaxDue = 248;            // 131111
const int kPenalty = 250;              // 267
const int kThresholdBox = 73;          // 402
const int kPenaltyChoice1 = 251;       // 356
const int kPenaltyChoice2 = 252;       // 357
const int kTaxDue = 249;               // 250
const int kAmountOwed = 261;           // 268, line 17
const int kMethodL = 255;              // 46455
const int kMethodE = 256;              // 46456
const int kMethodB = 257;              // 46457
const int kMethodX = 258;              // 46458
const int kMethodText = 260;           // 46459
const int kFiguredYes = 253;           // 15211
const int kFiguredNo = 254;            // 15212
const int kFiguredText = 259;          // 15163
const int kOverpayment = 262;          // 251
const int kEstimatedCredit = 265;      // 253
const int kOverpaymentLessCredit = 263;  // 358
const int kRefund = 264;               // 252, line 16
const int kDesignationsTotal = 89;     // 407

// Information form members.
const OVImmutableIdentifier& info(int member) { return kPAReturnInfoFieldIds[member]; }
const int kInfoAmended = 155;   // 104
const int kInfoPayment1 = 176;  // 142114
const int kInfoPayment2 = 125;  // 63
const int kInfoPayment3 = 150;  // 88
const int kInfoPayment4 = 154;  // 90

// Schedule SP members.
const OVImmutableIdentifier& sp(int member) { return kPAScheduleSPFieldIds[member]; }
const int kSPCredit1 = 117;  // 9607
const int kSPCredit2 = 118;  // 9608
const int kSPNumber = 70;    // 53
const int kSPMark21 = 44;    // 21
const int kSPMark22 = 45;    // 22
const int kSPMark11 = 38;    // 11
const int kSPMark18 = 43;    // 18
const int kSPAmount76 = 107;  // 76
const int kSPAmount78 = 6;    // 78
const int kSPAmount77 = 5;    // 77

// Schedule G-L and Schedule OC members.
const OVImmutableIdentifier& gl(int member) { return kPAScheduleGLFieldIds[member]; }
const int kGLFirstSum = 15;    // 48744
const int kGLSecondSum = 16;   // 48745
const int kGLCredit = 64;      // 14
const int kGLBox = 10;         // 46172
const int kOCCredits = 71;     // 11

// Amount at which the PA tax left after payments opens the penalty.
const long kPenaltyThreshold = 246;

// At most this many refund designations are taken off the refund, and as
// many designation rows are shown.
const int kMaxDesignations = 5;

// The refund designations in table order: PA-40 member and code letter.
struct DesignationRow {
  int member;
  char letter;
};
const DesignationRow kDesignationRows[] = {
    {266, 'A'},  // 258
    {267, 'B'},  // 254
    {268, 'C'},  // 20693
    {269, 'D'},  // 256
    {270, 'E'},  // 20694
    {271, 'F'},  // 155698
    {272, 'G'},  // 155699
    {273, 'I'},  // 208814
};

// The designation rows of the PA-40: code text and amount members.
struct ShownRow {
  int code;
  int amount;
};
const ShownRow kShownRows[kMaxDesignations] = {
    {274, 275},  // 155700, 155701
    {276, 277},  // 155702, 155703
    {278, 279},  // 155704, 155705
    {280, 281},  // 155706, 155707
    {282, 283},  // 155708, 155709
};

// The designations as field and letter pairs, ended by an empty field.
std::vector<FieldIntPair> designationTable() {
  std::vector<FieldIntPair> table;
  for (const DesignationRow& row : kDesignationRows) {
    table.push_back(makeFieldIntPair(pa40(row.member), row.letter));
  }
  table.push_back(makeFieldIntPair(Primitives::kNullFieldID, 0));
  return table;
}

// A Schedule SP number cut toward zero, kept within the range of int.
int truncatedInt(double value) {
  if (std::isnan(value)) return 0;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(value);
}

}  // namespace

void PATaxReturnCalcEngine::computePA40Credits(TaxFormPtr form, uint16_t /*copy*/) {
  if (paReturn == nullptr || form.isNull()) return;
  DataMgmt::TaxForm& pa = *form;
  const DataMgmt::FormId& kInfo = kFormID_PAReturnInfo;
  const bool joint = getFilingStatus() == 2;
  const int residency = paReturn->readResidencyStatus(kInfo);

  // Amended return: the entered additions to the tax and to the payments.
  if (paReturn->formYes(kInfo, 1, info(kInfoAmended))) {
    pa.unProtect(pa40(kAmendedPayments));
    pa.unProtect(pa40(kAmendedTax));
    if (pa.getIN(pa40(kAmendedTax)) > 0) {
      pa.assignII(pa40(kTaxBeforeAmended), pa40(kTax));
      pa.plus2(pa40(kTax), pa40(kAmendedTax), pa40(kTaxBeforeAmended));
    } else {
      pa.setNull(pa40(kTaxBeforeAmended));
    }
  } else {
    pa.makeProtectedAndSetNull(pa40(kAmendedPayments));
    pa.makeProtectedAndSetNull(pa40(kTaxBeforeAmended));
    pa.makeProtectedAndSetNull(pa40(kAmendedTax));
  }
  Utils::setDefaultX(form, pa40(kAmendedChoice2), pa40(kAmendedChoice2), pa40(kAmendedChoice1));

  // Payments.
  pa.assignIR(pa40(kPayment1), paReturn->getIR(kInfo, 1, info(kInfoPayment1)));
  paReturn->getII(kInfo, info(kInfoPayment2), form, pa40(kPayment2));
  paReturn->getII(kInfo, info(kInfoPayment3), form, pa40(kPayment3));
  if (pa.getIN(pa40(kPayment3)) > 0) {
    Utils::setDefaultX(form, pa40(kPayment3Box2), pa40(kPayment3Box2), pa40(kPayment3Box1));
    pa.unProtect(pa40(kPayment3Box1));
    pa.unProtect(pa40(kPayment3Box2));
  } else {
    pa.makeProtectedAndSetNull(pa40(kPayment3Box1));
    pa.makeProtectedAndSetNull(pa40(kPayment3Box2));
  }
  pa.assignText(pa40(kPayment3Text), pa.xMarked(pa40(kPayment3Box1)) ? "Y" : "N");
  if (pa.getIN(pa40(kAmendedPayments)) > 0) {
    pa.assignII(pa40(kPayment3BeforeAmended), pa40(kPayment3));
    pa.plus2(pa40(kPayment3), pa40(kAmendedPayments), pa40(kPayment3BeforeAmended));
  } else {
    pa.setNull(pa40(kPayment3BeforeAmended));
  }
  paReturn->getII(kInfo, info(kInfoPayment4), form, pa40(kPayment4));
  if (residency != 0) {
    pa.unProtect(pa40(kPayment5));
  } else {
    pa.makeProtected(pa40(kPayment5));
    pa.zero(pa40(kPayment5));
  }
  pa.plus4(pa40(kPaymentsSubtotal), pa40(kPayment2), pa40(kPayment3), pa40(kPayment4), pa40(kPayment5));
  Utils::setDefaultX(form, pa40(kPaymentsChoice2), pa40(kPaymentsChoice2), pa40(kPaymentsChoice1));

  // Tax forgiveness from Schedule SP, calculated afresh first.
  TaxFormPtr schedule = paReturn->getFormUVPtr(kFormID_PAScheduleSP, 1, false);
  if (!schedule.isNull()) calcStateForm(kFormID_PAScheduleSP, 1, false, 0, 0, schedule);
  const DataMgmt::FormId& kSP = kFormID_PAScheduleSP;
  if (paReturn->getIR(kSP, 1, sp(kSPCredit1)) <= 0 && paReturn->getIR(kSP, 1, sp(kSPCredit2)) <= 0) {
    pa.setNull(pa40(kForgivenessNumber));
    pa.zero(pa40(kForgivenessAmount));
    pa.zero(pa40(kForgivenessCredit));
    pa.setNull(pa40(kForgivenessCode));
  } else {
    char number[16];
    std::snprintf(number, sizeof(number), "0%d", truncatedInt(paReturn->getIR(kSP, 1, sp(kSPNumber))));
    pa.assignText(pa40(kForgivenessNumber), number);
    auto spYes = [&](int member) { return paReturn->formYes(kSP, 1, sp(member)); };
    const char* code = "03";
    int credit = kSPCredit1;
    if (spYes(kSPMark21)) {
      code = "02";
      if (!spYes(kSPMark22)) credit = kSPCredit2;
    } else if (spYes(kSPMark11) || spYes(kSPMark18)) {
      code = "01";
    }
    pa.assignText(pa40(kForgivenessCode), code);
    if (credit == kSPCredit2) {
      pa.assignIR(pa40(kForgivenessAmount),
                  paReturn->getIR(kSP, 1, sp(kSPAmount78)) + paReturn->getIR(kSP, 1, sp(kSPAmount77)));
    } else {
      paReturn->getII(kSP, sp(kSPAmount76), form, pa40(kForgivenessAmount));
    }
    paReturn->getII(kSP, sp(credit), form, pa40(kForgivenessCredit));
  }

  // Resident credit from Schedule G-L, never above the PA tax.
  const DataMgmt::FormId& kGL = kFormID_PAScheduleGL;
  if (residency == 2) {
    pa.setNull(pa40(kResidentFirstSum));
    pa.setNull(pa40(kResidentSecondSum));
    pa.setNull(pa40(kResidentCredit));
  } else {
    paReturn->getAllCopiesII(kGL, gl(kGLFirstSum), form, pa40(kResidentFirstSum));
    paReturn->getAllCopiesII(kGL, gl(kGLSecondSum), form, pa40(kResidentSecondSum));
    if (joint) {
      pa.plus2(pa40(kResidentCredit), pa40(kResidentFirstSum), pa40(kResidentSecondSum));
    } else {
      paReturn->getAllCopiesII(kGL, gl(kGLCredit), form, pa40(kResidentCredit));
    }
  }
  pa.minII(pa40(kResidentCredit), pa40(kResidentCredit), pa40(kTax));
  if (paReturn->getAllCopies(kGL, gl(kGLBox)) > 0) {
    pa.setX(pa40(kResidentCreditBox));
  } else {
    pa.setXNo(pa40(kResidentCreditBox));
  }
  if (joint) {
    pa.unProtect(pa40(kJointChoice1));
    pa.unProtect(pa40(kJointChoice2));
    Utils::setDefaultX(form, pa40(kJointChoice1), pa40(kJointChoice1), pa40(kJointChoice2));
  } else {
    pa.makeProtectedAndSetNull(pa40(kJointChoice1));
    pa.makeProtectedAndSetNull(pa40(kJointChoice2));
  }

  // Other credits and the totals.
  paReturn->getAllCopiesII(kFormID_PAScheduleOC, kPAScheduleOCFieldIds[kOCCredits], form,
                           pa40(kOtherCredits));
  pa.plus3(pa40(kCreditsTotal), pa40(kResidentCredit), pa40(kOtherCredits), pa40(kForgivenessCredit));
  pa.setValueToSumOf(pa40(kTotalPayments), {pa40(kPayment1), pa40(kPaymentsSubtotal), pa40(kResidentCredit),
                                             pa40(kForgivenessCredit), pa40(kOtherCredits)});
}

void PATaxReturnCalcEngine::computePA40Balance(TaxFormPtr form, uint16_t /*copy*/) {
  if (paReturn == nullptr || form.isNull()) return;
  DataMgmt::TaxForm& pa = *form;
  auto amount = [&](int member) { return static_cast<double>(pa.getIN(pa40(member))); };

  // Penalty: open while box 356 says it applies, which the tax left after
  // withholding and credits allows. The penalty counted is what is left
  // after that, so a second calculation counts the same.
  if (!pa.hasSigValue(pa40(kPenalty))) pa.zero(pa40(kPenalty));
  const double payments = amount(kTotalPayments);
  const double tax = amount(kTax);
  const double useTax = amount(kUseTaxDue);

  const double unpaidTax = tax - (amount(kPayment5) + amount(kPayment1) + amount(kForgivenessCredit) +
                                  amount(kResidentCredit) + amount(kOtherCredits));
  if (unpaidTax >= kPenaltyThreshold) {
    pa.setX(pa40(kThresholdBox));
    pa.unProtect(pa40(kPenaltyChoice2));
    pa.unProtect(pa40(kPenaltyChoice1));
    Utils::setDefaultX(form, pa40(kPenaltyChoice2), pa40(kPenaltyChoice2), pa40(kPenaltyChoice1));
  } else {
    pa.setXNo(pa40(kThresholdBox));
    pa.makeProtectedAndSetNull(pa40(kPenaltyChoice2));
    pa.makeProtectedAndSetNull(pa40(kPenaltyChoice1));
  }
  if (pa.xMarked(pa40(kPenaltyChoice1))) {
    pa.unProtect(pa40(kPenalty));
  } else {
    pa.makeProtectedAndSetNull(pa40(kPenalty));
  }
  const double penalty = amount(kPenalty);
  const bool figured = penalty > 0 || pa.xMarked(pa40(kPenaltyChoice1));

  // Tax due and amount owed.
  const double owed = useTax + tax - payments;
  const double over = payments - (useTax + tax + penalty);
  if (owed >= 0) {
    pa.assignIR(pa40(kTaxDue), owed);
    pa.assignIR(pa40(kAmountOwed), penalty > 0 ? owed + penalty : owed);
  } else {
    pa.setNull(pa40(kTaxDue));
    pa.setNull(pa40(kAmountOwed));
  }

  // Penalty method and "penalty figured" boxes: a penalty figured at 0 has
  // method "X".
  if (penalty > 0) {
    pa.unProtect(pa40(kMethodL));
    pa.unProtect(pa40(kMethodE));
    pa.unProtect(pa40(kMethodB));
    Utils::setDefaultX(form, pa40(kMethodE), pa40(kMethodL), pa40(kMethodB));
    pa.makeProtectedAndSetNull(pa40(kMethodX));
  } else {
    pa.makeProtectedAndSetNull(pa40(kMethodL));
    pa.makeProtectedAndSetNull(pa40(kMethodE));
    pa.makeProtectedAndSetNull(pa40(kMethodB));
    if (figured) {
      pa.setX(pa40(kMethodX));
    } else {
      pa.makeProtectedAndSetNull(pa40(kMethodX));
    }
  }
  if (pa.xMarked(pa40(kMethodL))) {
    pa.assignText(pa40(kMethodText), "L");
  } else if (pa.xMarked(pa40(kMethodE))) {
    pa.assignText(pa40(kMethodText), "E");
  } else if (pa.xMarked(pa40(kMethodB))) {
    pa.assignText(pa40(kMethodText), "B");
  } else if (pa.xMarked(pa40(kMethodX))) {
    pa.assignText(pa40(kMethodText), "X");
  } else {
    pa.setNull(pa40(kMethodText));
  }
  if (figured) {
    pa.setX(pa40(kFiguredYes));
    pa.setXNo(pa40(kFiguredNo));
  } else {
    pa.makeProtectedAndSetNull(pa40(kFiguredYes));
    pa.makeProtectedAndSetNull(pa40(kFiguredNo));
  }
  pa.assignText(pa40(kFiguredText), pa.xMarked(pa40(kFiguredYes)) ? "Y" : "N");

  // Overpayment. `over` already has the penalty taken off once. When the
  // payments cover the tax but not the penalty as well, the rest of the
  // penalty is the amount owed.
  if (over > 0) {
    pa.assignIR(pa40(kOverpayment), over);
  } else {
    pa.setNull(pa40(kOverpayment));
    if (owed < 0 && penalty > 0 && -over > 0) pa.assignIR(pa40(kAmountOwed), -over);
  }

  // Credit to the estimated account: entered, between 0 and the overpayment.
  const double overpayment = amount(kOverpayment);
  if (overpayment > 0) {
    pa.unProtect(pa40(kEstimatedCredit));
    pa.minIR(pa40(kEstimatedCredit), pa40(kEstimatedCredit), overpayment);
    pa.maxIR(pa40(kEstimatedCredit), pa40(kEstimatedCredit), 0.0);
  } else {
    pa.makeProtectedAndSetNull(pa40(kEstimatedCredit));
  }
  const double credit = amount(kEstimatedCredit);

  // Refund designations: at most five, in table order, each between 0 and
  // what the overpayment less the credit still leaves; once five are taken
  // nothing is left for the others.
  const std::vector<FieldIntPair> designations = designationTable();
  double remaining = overpayment - credit;
  if (remaining > 0) {
    int taken = 0;
    for (const FieldIntPair& entry : designations) {
      if (!entry.field.isValid()) break;
      pa.unProtect(entry.field);
      pa.minIR(entry.field, entry.field, taken < kMaxDesignations ? remaining : 0.0);
      pa.maxIR(entry.field, entry.field, 0.0);
      remaining -= pa.getIR(entry.field);
      if (pa.getIR(entry.field) > 0) ++taken;
    }
    if (taken >= kMaxDesignations) {
      for (const FieldIntPair& entry : designations) {
        if (entry.field.isValid() && pa.getIR(entry.field) == 0) pa.makeProtectedAndSetNull(entry.field);
      }
    }
  } else {
    for (const FieldIntPair& entry : designations) {
      if (entry.field.isValid()) pa.makeProtectedAndSetNull(entry.field);
    }
  }

  // The designation rows: each designation above 0 in the next free row.
  int row = 0;
  for (const FieldIntPair& entry : designations) {
    if (!entry.field.isValid() || row >= kMaxDesignations) break;
    if (pa.getIR(entry.field) <= 0) continue;
    const char code[2] = {static_cast<char>(entry.value), '\0'};
    pa.assignII(pa40(kShownRows[row].amount), entry.field);
    pa.assignText(pa40(kShownRows[row].code), code);
    ++row;
  }
  for (; row < kMaxDesignations; ++row) {
    pa.setNull(pa40(kShownRows[row].code));
    pa.setNull(pa40(kShownRows[row].amount));
  }

  pa.setValueToSumOf(pa40(kDesignationsTotal),
                     {designations[0].field, designations[1].field, designations[2].field,
                      designations[3].field, designations[4].field, designations[5].field,
                      designations[6].field, designations[7].field});

  pa.assignIR(pa40(kRefund), remaining);
  pa.minusII(pa40(kOverpaymentLessCredit), pa40(kOverpayment), pa40(kEstimatedCredit));

  // Amended return: the balance lines are not carried.
  if (paReturn->formYes(kFormID_PAReturnInfo, 1, info(kInfoAmended))) {
    pa.makeProtectedAndSetNull(pa40(kAmountOwed));
    pa.makeProtectedAndSetNull(pa40(kOverpayment));
  }

  // An amount owed (tax due, or a penalty the payments leave): the
  // payment voucher is calculated afresh.
  if (pa.getIN(pa40(kTaxDue)) > 0 || pa.getIN(pa40(kAmountOwed)) > 0) {
    TaxFormPtr voucher = paReturn->getFormUVPtr(kFormID_PAEstimatedVouchers, 1, true);
    if (!voucher.isNull()) calcStateForm(kFormID_PAEstimatedVouchers, 1, false, 1, 0, voucher);
  }
}

}  // namespace PACalculationMgmt
