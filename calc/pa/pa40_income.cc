// The PA-40's other income classes and the tax: net business income (line
// 2), net gain from sales (line 5), rents and royalties (line 9), estate
// and trust income (11), gambling winnings (12), gross taxable income (8),
// other deductions (15), net taxable income (13) and the PA tax (14).
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/box_marks.h"
#include "catalogs/catalogs.h"
#include "host/form_defaults.h"
#include "host/rounding.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::TaxForm;
using DataMgmt::TaxFormPtr;
using Primitives::OVImmutableIdentifier;

namespace {

const double kPATaxRate = 0.0307;

// Pull codes of the federal return form in use.
const Utils::PCTypes kPullBusinessTaxpayer = static_cast<Utils::PCTypes>(50);
const Utils::PCTypes kPullBusinessSpouse = static_cast<Utils::PCTypes>(51);
const Utils::PCTypes kPullBusinessOther = static_cast<Utils::PCTypes>(61);

// One income class from the taxpayer's and the spouse's amounts. A joint
// return adds them when they share a sign; when one is a gain and the
// other a loss, the class is the gain alone and the loss is kept apart
// (the box is marked). Any other return takes the taxpayer's amount.
void netJointClass(TaxForm& pa40, bool joint, double taxpayer, double spouse,
                   const OVImmutableIdentifier& classField, const OVImmutableIdentifier& lossKeptApart) {
  const bool mixedSigns = (taxpayer > 0 && spouse < 0) || (taxpayer < 0 && spouse > 0);
  if (!joint) {
    pa40.assignIR(classField, taxpayer);
  } else if (!mixedSigns) {
    pa40.assignIR(classField, taxpayer + spouse);
  } else {
    pa40.assignIR(classField, taxpayer > 0 ? taxpayer : spouse);
  }
  markOrNo(pa40, lossKeptApart, joint && mixedSigns);
}

// "Y" when the class is a loss, else "N".
void writeLossText(TaxForm& pa40, const OVImmutableIdentifier& classField, const OVImmutableIdentifier& text) {
  pa40.assignText(text, pa40.getIR(classField) < 0 ? "Y" : "N");
}

// Opens an entered amount when `open`, else protects and nulls it.
void openOrClose(TaxForm& pa40, const OVImmutableIdentifier& entered, bool open) {
  if (open) {
    pa40.unProtect(entered);
  } else {
    pa40.makeProtectedAndSetNull(entered);
  }
}

}  // namespace

void PATaxReturnCalcEngine::computePA40BusinessIncome(TaxFormPtr form) {
  TaxForm& pa40 = *form;
  const bool joint = getFilingStatus() == 2;
  const auto& f = kPA40FieldIds;
  const auto& c = kPAScheduleCFieldIds;

  // Schedule C copies marked for inclusion, by owner.
  double tpScheduleC = 0, spScheduleC = 0;
  const uint16_t lastC = paReturn->getMaxCopies(kFormID_PAScheduleC);
  for (int n = 1; n <= lastC; ++n) {
    if (!paReturn->formExists(kFormID_PAScheduleC, n)) continue;
    if (!paReturn->formYes(kFormID_PAScheduleC, n, c[55])) continue;  // 56183
    const double net = paReturn->getIN(kFormID_PAScheduleC, n, c[191]);  // 56306
    if (paReturn->formYes(kFormID_PAScheduleC, n, c[53])) {              // 56181
      tpScheduleC += net;
    } else if (paReturn->formYes(kFormID_PAScheduleC, n, c[54])) {       // 56182
      spScheduleC += net;
    }
  }
  pa40.assignIR(f[175], tpScheduleC);
  if (joint) {
    pa40.assignIR(f[176], spScheduleC);
  } else {
    pa40.setNull(f[176]);
  }
  markOrNo(pa40, f[78], paReturn->getAllCopies(kFormID_PAScheduleC, c[1]) > 0);  // 56133

  // Second amounts: open beside the federal amounts pulled for each person.
  const DataMgmt::FormId federalForm = getFederalReturnFormId();
  const long pulled50 = paReturn->pullCommon(federalForm, 1, kPullBusinessTaxpayer);
  const long pulled51 = paReturn->pullCommon(federalForm, 1, kPullBusinessSpouse);
  pa40.assignIR(f[105], pulled50);
  pa40.assignIR(f[106], pulled51);
  openOrClose(pa40, f[177], pulled50 != 0);
  if (joint) openOrClose(pa40, f[178], pulled51 != 0);

  // Third amounts: open beside federal forms 51 and 89. A copy goes to the
  // first count when its owner box (366, 145) is marked, else to the
  // second; a return that is not joint skips copies marked 367 or 146.
  uint16_t n1 = 0, n2 = 0, n3 = 0, n4 = 0;
  for (int n = 1; n <= federalReturn->getMaxCopies(kFormID_Fed51); ++n) {
    if (!federalReturn->formExists(kFormID_Fed51, n)) continue;
    if (!joint && federalReturn->formYes(kFormID_Fed51, n, kFed51FieldIds[289])) continue;  // 367
    if (federalReturn->formYes(kFormID_Fed51, n, kFed51FieldIds[288])) {                    // 366
      ++n1;
    } else {
      ++n2;
    }
  }
  pa40.assignIR(f[35], n1 + n2);
  for (int n = 1; n <= federalReturn->getMaxCopies(kFormID_Fed89); ++n) {
    if (!federalReturn->formExists(kFormID_Fed89, n)) continue;
    if (!joint && federalReturn->formYes(kFormID_Fed89, n, kFed89FieldIds[94])) continue;  // 146
    if (federalReturn->formYes(kFormID_Fed89, n, kFed89FieldIds[93])) {                    // 145
      ++n3;
    } else {
      ++n4;
    }
  }
  pa40.assignIR(f[36], n4 + n3);
  openOrClose(pa40, f[179], n1 > 0 || n3 > 0);
  openOrClose(pa40, f[180], n2 > 0 || n3 > 0);

  // Fourth amounts: open beside pull code 61 or the allocation form's
  // field 101; left as they are when both are 0.
  const long pulled61 = paReturn->pullCommon(federalForm, 1, kPullBusinessOther);
  const long allocation = paReturn->getIN(kFormID_State18, 1, kState16To18FieldIds[112]);  // 101
  if (pulled61 != 0 || allocation != 0) {
    pa40.unProtect(f[181]);
    openOrClose(pa40, f[182], joint);
  }
  markOrNo(pa40, f[37], n1 != 0 || n2 != 0 || n3 != 0 || n4 != 0 || pulled61 != 0 || allocation != 0);

  pa40.setValueToSumOf(f[183], {f[175], f[177], f[179], f[181]});
  pa40.setValueToSumOf(f[184], {f[176], f[178], f[180], f[182]});
  netJointClass(pa40, joint, pa40.getIR(f[183]), pa40.getIR(f[184]), f[186], f[86]);
  writeLossText(pa40, f[186], f[185]);

  if (joint) {
    pa40.setValueToSumOf(f[75], {f[176], f[175], f[179], f[180]});
    pa40.setValueToSumOf(f[76], {f[181], f[182]});
  } else {
    pa40.plus2(f[75], f[179], f[175]);
    pa40.assignIR(f[76], pa40.getIR(f[181]));
  }
}

void PATaxReturnCalcEngine::computePA40SalesGain(TaxFormPtr form) {
  TaxForm& pa40 = *form;
  const auto& f = kPA40FieldIds;
  const auto& gain = kPAScheduleDFieldIds[185];  // 105
  const double taxpayer = paReturn->getIN(kFormID_PAScheduleD, 1, gain);
  const double spouse = paReturn->getIN(kFormID_PAScheduleD, 2, gain);
  netJointClass(pa40, getFilingStatus() == 2, taxpayer, spouse, f[188], f[87]);
  writeLossText(pa40, f[188], f[187]);
}

void PATaxReturnCalcEngine::computePA40Rents(TaxFormPtr form) {
  TaxForm& pa40 = *form;
  const bool joint = getFilingStatus() == 2;
  const auto& f = kPA40FieldIds;
  const auto& e = kPAScheduleEFieldIds;

  // With federal form 1 in use, a full-year resident (information field
  // 46) takes every Schedule E copy, a part-year resident or nonresident
  // (47, 48) only the copies selected for PA (21669).
  enum { kNone, kAll, kSelected } which = kNone;
  if (getFederalReturnFormId() == kFormID_FedReturn) {
    if (paReturn->formYes(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[101])) {
      which = kAll;
    } else if (paReturn->formYes(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[102]) ||
               paReturn->formYes(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[103])) {
      which = kSelected;
    }
  }
  // Every existing copy counts, also beyond a gap in the copy numbers.
  double tpSum = 0, spSum = 0, jointSum = 0;
  const int lastE = which == kNone ? 0 : paReturn->getMaxCopies(kFormID_PAScheduleE);
  for (int n = 1; n <= lastE; ++n) {
    if (!paReturn->formExists(kFormID_PAScheduleE, n)) continue;
    if (which == kSelected && !paReturn->formYes(kFormID_PAScheduleE, n, e[25])) continue;  // 21669
    const double net = paReturn->getIN(kFormID_PAScheduleE, n, e[154]);                     // 129
    if (paReturn->formYes(kFormID_PAScheduleE, n, e[54])) {                                 // 18
      tpSum += net;
    } else if (paReturn->formYes(kFormID_PAScheduleE, n, e[55])) {                          // 19
      spSum += net;
    } else if (paReturn->formYes(kFormID_PAScheduleE, n, e[60])) {                          // 26
      jointSum += net;
    }
  }
  const double tpHalf = Utils::roundR(jointSum * 0.5);
  const double spHalf = jointSum - tpHalf;

  auto copy1 = [this](const OVImmutableIdentifier& field) {
    return static_cast<double>(paReturn->getIN(kFormID_PAScheduleE, 1, field));
  };
  if (joint) {
    pa40.assignIR(f[189], copy1(e[161]) + copy1(e[159]) + tpSum + tpHalf);  // 221, 219
    pa40.assignIR(f[190], copy1(e[162]) + copy1(e[160]) + spSum + spHalf);  // 222, 220
  } else {
    pa40.assignIR(f[189], copy1(e[161]) + copy1(e[159]) + tpSum);
    pa40.setNull(f[190]);
  }
  pa40.makeProtectedAndSetNull(f[191]);
  pa40.makeProtectedAndSetNull(f[192]);

  // Third amounts: open beside federal Schedule C copies marked 51517,
  // counted over the PA Schedule C copy numbers.
  uint16_t marked = 0;
  const uint16_t lastC = paReturn->getMaxCopies(kFormID_PAScheduleC);
  for (int n = 1; n <= lastC; ++n) {
    if (federalReturn->formExists(kFormID_FedScheduleC, n) &&
        federalReturn->formYes(kFormID_FedScheduleC, n, kFedScheduleCFieldIds[412])) {
      ++marked;
    }
  }
  pa40.assignIR(f[103], marked);
  openOrClose(pa40, f[193], marked > 0);
  openOrClose(pa40, f[194], marked > 0 && joint);

  pa40.plus3(f[195], f[189], f[191], f[193]);
  pa40.plus3(f[196], f[190], f[192], f[194]);
  netJointClass(pa40, joint, pa40.getIR(f[195]), pa40.getIR(f[196]), f[198], f[88]);
  writeLossText(pa40, f[198], f[197]);
}

void PATaxReturnCalcEngine::computePA40TaxableIncome(TaxFormPtr form, uint16_t copy) {
  TaxForm& pa40 = *form;
  const auto& f = kPA40FieldIds;

  pa40.assignIR(f[199], paReturn->getAllCopies(kFormID_PAScheduleJ, kPAScheduleJFieldIds[64]));  // 42
  markOrNo(pa40, f[80], federalReturn->formExists(kFormID_Fed89, copy));
  pa40.setXNo(f[79]);
  pa40.assignIR(f[200], paReturn->getIN(kFormID_PAW2GIncome, 1, kPAW2GIncomeFieldIds[65]));  // 11774

  // The eight classes never offset each other: a class below 0 stays on its
  // own line and adds nothing.
  double gross = 0;
  for (const auto* line : {&f[172], &f[173], &f[174], &f[199], &f[200], &f[186], &f[188], &f[198]}) {
    if (pa40.getIR(*line) > 0) gross += static_cast<double>(pa40.getIN(*line));
  }
  pa40.assignIR(f[201], gross);

  // Uses the other deductions of the previous run, before they are updated.
  pa40.assignIR(f[77], static_cast<double>(pa40.getIN(f[199]) + pa40.getIN(f[200]) - pa40.getIN(f[203])));

  // The deductions schedule limits each person's deduction to the income
  // this run has just settled; calculated before that income exists (its
  // own step comes right after the first run), it would cut a deduction to
  // the wages alone.
  TaxFormPtr deductions = paReturn->getFormUVPtr(kFormID_PADeductions, 1, false);
  if (!deductions.isNull()) calcStateForm(kFormID_PADeductions, 1, false, 1, 0, deductions);
  const long deduction = paReturn->getIN(kFormID_PADeductions, 1, kPADeductionsFieldIds[81]);  // 36571
  if (deduction > 0) {
    pa40.assignIR(f[203], deduction);
    char code[128];
    paReturn->formString(code, sizeof code, kFormID_PADeductions, 1, kPADeductionsFieldIds[0]);  // 36878
    pa40.assignText(f[202], code);
  } else {
    pa40.setNull(f[203]);
    pa40.assignText(f[202], "N");
  }
  Utils::setDefaultX(form, f[92], f[91], f[91]);
  Utils::setDefaultX(form, f[94], f[93], f[93]);

  pa40.minusIIge0(f[204], f[201], f[203]);
  pa40.assignIR(f[207], Utils::roundR(pa40.getIR(f[204]) * kPATaxRate));
}

}  // namespace PACalculationMgmt
