// The PA-40 (state form 169): the routine's frame and its first income
// sections, compensation (line 1) and interest and dividends (lines 3, 4).
//
// The PA-40 is calculated five times in one whole-return calculation, each
// time from the return as it then stands; every field written here is
// recomputed on each run. Amounts the user enters (reductions, added
// expenses) keep the user's value and are only limited, opened or closed,
// and a provisional run (one ahead of the figures the limits rest on)
// leaves them as typed.
#include <cstddef>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/box_marks.h"
#include "catalogs/catalogs.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

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

// PA-40 members of the entries the user types whose limits rest on figures
// that are final only in the last run of a whole-return calculation: the
// reductions and added expenses (compensation, Schedule UE), the Schedule UE
// choice, the payment-three choice, the use tax credit (gross taxable
// income), the penalty with its boxes and method (tax and payments), the
// credit to the estimated account and the refund designations (overpayment).
const int kLimitedEntries[] = {152, 153, 156, 157, 165, 166, 167, 168, 213, 214, 246, 250, 251,
                               252, 255, 256, 257, 265, 266, 267, 268, 269, 270, 271, 272, 273};

// What the limited entries of a PA-40 copy hold, taken before a provisional
// run and put back after it, so that such a run never erases or lowers
// what the user typed.
class TypedEntries {
 public:
  TypedEntries(const DataMgmt::TaxReturn& pa, const TaxForm& pa40, uint16_t copy) {
    for (size_t i = 0; i < kCount; ++i) {
      const OVImmutableIdentifier& field = kPA40FieldIds[kLimitedEntries[i]];
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
      const OVImmutableIdentifier& field = kPA40FieldIds[kLimitedEntries[i]];
      switch (entries_[i].kind) {
        case Entry::kMarked: pa40.setX(field); break;
        case Entry::kNo: pa40.setXNo(field); break;
        case Entry::kNull: pa40.setNull(field); break;
        case Entry::kNumber: pa40.assignIR(field, entries_[i].number); break;
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
  // every run keeps it in step.
  TaxFormPtr info = paReturn->getFormUVPtr(kFormID_PAReturnInfo, 1, false);
  if (!info.isNull()) {
    info->assignIR(kPAReturnInfoFieldIds[57] /* 127 */,
                   paReturn->getStateLineValue(getStateReturnFormId(), 1, 17));
  }

  paReturn->setDataEntered(kFormID_PA40, copy, true, false);
  form->setCalcMark(true);
  if (TaxForm* printed = paReturn->getForm(kFormID_PA40, copy)) printed->setPrintingEnabled(true);
}

// Line 1: W-2 compensation, unreimbursed employee expenses (Schedule UE),
// miscellaneous compensation and the reductions, per person, then the net.
void PATaxReturnCalcEngine::computePA40Compensation(TaxFormPtr form) {
  TaxForm& pa40 = *form;
  const bool joint = getFilingStatus() == 2;
  const auto& f = kPA40FieldIds;

  // Schedule W2-S settles the PA W-2 copies it reads; it runs twice so its
  // second pass sees what its first pass wrote.
  TaxFormPtr w2s = paReturn->getFormUVPtr(kFormID_PAScheduleW2S, 1, false);
  if (!w2s.isNull()) {
    calcStateForm(kFormID_PAScheduleW2S, 1, false, 1, 0, w2s);
    calcStateForm(kFormID_PAScheduleW2S, 1, false, 1, 0, w2s);
  }

  pa40.assignIR(f[142], paReturn->getAllCopies(kFormID_PAW2, kPAW2FieldIds[156]));  // 36510 <- 133
  if (joint) {
    pa40.assignIR(f[143], paReturn->getAllCopies(kFormID_PAW2, kPAW2FieldIds[159]));  // 36511 <- 135
  } else {
    pa40.setNull(f[143]);
  }

  // Schedule UE: a positive net amount is an expense, a negative one an
  // excess of reimbursements that adds to compensation.
  double tpExpenses = 0, tpExcess = 0, spExpenses = 0, spExcess = 0;
  for (int c = 1; c <= paReturn->getMaxCopies(kFormID_PAScheduleUE); ++c) {
    if (!paReturn->formExists(kFormID_PAScheduleUE, c)) continue;
    double* expenses = nullptr;
    double* excess = nullptr;
    if (paReturn->formYes(kFormID_PAScheduleUE, c, kPAScheduleUEFieldIds[15])) {  // field 12
      expenses = &tpExpenses;
      excess = &tpExcess;
    } else if (paReturn->formYes(kFormID_PAScheduleUE, c, kPAScheduleUEFieldIds[16])) {  // 13
      expenses = &spExpenses;
      excess = &spExcess;
    } else {
      continue;
    }
    const long net = paReturn->getIN(kFormID_PAScheduleUE, c, kPAScheduleUEFieldIds[72]);  // 130
    if (net > 0) {
      *expenses += net;
    } else {
      *excess -= net;
    }
  }
  pa40.assignIR(f[144], tpExcess);
  pa40.assignIR(f[163], tpExpenses);
  if (joint) {
    pa40.assignIR(f[145], spExcess);
    pa40.assignIR(f[164], spExpenses);
  } else {
    pa40.makeProtectedAndSetNull(f[145]);
    pa40.makeProtectedAndSetNull(f[164]);
  }

  pa40.assignIR(f[146], pa40.getIR(f[142]) + pa40.getIR(f[144]));  // TP gross compensation
  pa40.assignIR(f[147], pa40.getIR(f[143]) + pa40.getIR(f[145]));  // SP gross compensation

  pa40.assignIR(f[148], paReturn->getAllCopies(kFormID_PAMiscCompWorksheet,
                                               kPAMiscCompWorksheetFieldIds[213]));  // 9585
  const long spMisc =
      paReturn->getAllCopies(kFormID_PAMiscCompWorksheet, kPAMiscCompWorksheetFieldIds[216]);  // 9587

  limitEnteredAmount(pa40, f[152], pa40.getIR(f[146]));  // first reductions
  limitEnteredAmount(pa40, f[153], pa40.getIR(f[147]));
  Utils::setDefaultX(form, f[155], f[155], f[154]);

  // The second reductions apply to a joint return of a part-year resident or
  // nonresident (information fields 47, 48).
  const bool notFullYear = paReturn->formYes(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[102]) ||
                           paReturn->formYes(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[103]);
  if (joint && notFullYear) {
    limitEnteredAmount(pa40, f[156], pa40.getIR(f[146]));
    limitEnteredAmount(pa40, f[157], pa40.getIR(f[147]));
  } else {
    pa40.makeProtectedAndSetNull(f[156]);
    pa40.makeProtectedAndSetNull(f[157]);
  }

  auto back = [this](const OVImmutableIdentifier& field) {
    return static_cast<double>(paReturn->getIN(kFormID_PA40, 1, field));
  };
  pa40.assignIR(f[158], back(f[146]) + back(f[148]) - back(f[156]) - back(f[152]));
  if (joint) {
    pa40.assignIR(f[149], spMisc);
    pa40.assignIR(f[159], back(f[147]) + back(f[149]) - back(f[157]) - back(f[153]));
  } else {
    pa40.setNull(f[149]);
    pa40.setNull(f[159]);
  }
  pa40.plus2(f[160], f[159], f[158]);  // total compensation

  // Federal sources that decide the other-sources box: form 181 (fields
  // 46 - 38 - 40 and 47 - 39 - 41), the pulled amounts, form 57.
  const DataMgmt::FormId& f181 = kFormID_Fed181;
  const auto& g = kFed181FieldIds;
  const double fed181 =
      static_cast<double>(federalReturn->getIN(f181, 1, g[79]) - federalReturn->getIN(f181, 1, g[69]) -
                          federalReturn->getIN(f181, 1, g[71])) +
      static_cast<double>(federalReturn->getIN(f181, 1, g[80]) - federalReturn->getIN(f181, 1, g[70]) -
                          federalReturn->getIN(f181, 1, g[72]));
  pa40.assignIR(f[81], fed181);

  const DataMgmt::FormId federalForm = getFederalReturnFormId();
  const double pulled = static_cast<double>(paReturn->pullCommon(federalForm, 1, kPullOtherCompensationA)) +
                        static_cast<double>(paReturn->pullCommon(federalForm, 1, kPullOtherCompensationB));
  pa40.assignIR(f[83], pulled);
  markOrNo(pa40, f[42], pulled > 0);

  const auto& h = kFed57FieldIds;
  const double fed57 = static_cast<double>(federalReturn->getIN(kFormID_Fed57, 1, h[203]) +   // 81
                                           federalReturn->getIN(kFormID_Fed57, 1, h[213]) +   // 90
                                           federalReturn->getIN(kFormID_Fed57, 1, h[202]) +   // 80
                                           federalReturn->getIN(kFormID_Fed57, 1, h[214]));  // 91
  pa40.assignIR(f[82], fed57);
  const long fedReturnLines = federalReturn->getIN(kFormID_FedReturn, 1, kFedReturnFieldIds[437]) +  // 87
                              federalReturn->getIN(kFormID_FedReturn, 1, kFedReturnFieldIds[439]);   // 89
  const long fed39 = federalReturn->getAllCopies(kFormID_Fed39, kFed39FieldIds[38]) +  // 119
                     federalReturn->getAllCopies(kFormID_Fed39, kFed39FieldIds[33]);   // 14
  markOrNo(pa40, f[43], fed181 > 0 || fedReturnLines > 0 || fed39 > 0 || fed57 > 0);

  Utils::setDefaultX(form, f[151], f[151], f[150]);
  pa40.setNull(f[30]);

  markOrNo(pa40, f[31],
           pa40.getIR(f[152]) > 0 ||
               paReturn->formYes(kFormID_PAScheduleW2S, 1, kPAScheduleW2SFieldIds[28]) ||  // 42775
               paReturn->getAllCopies(kFormID_PAW2, kPAW2FieldIds[21]) != 0);             // 42786
  markOrNo(pa40, f[32],
           pa40.getIR(f[153]) > 0 ||
               paReturn->formYes(kFormID_PAScheduleW2S, 1, kPAScheduleW2SFieldIds[29]) ||  // 42776
               paReturn->getAllCopies(kFormID_PAW2, kPAW2FieldIds[22]) != 0);             // 42787
  Utils::setDefaultX(form, f[162], f[162], f[161]);

  // Added expenses may be entered only beside a Schedule UE total.
  const long ueFirstTotal = paReturn->getAllCopies(kFormID_PAScheduleUE, kPAScheduleUEFieldIds[9]);    // 150
  const long ueSecondTotal = paReturn->getAllCopies(kFormID_PAScheduleUE, kPAScheduleUEFieldIds[10]);  // 151
  markOrNo(pa40, f[44], ueFirstTotal > 0 && ueSecondTotal > 0);
  if (ueFirstTotal <= 0 && ueSecondTotal <= 0) {
    pa40.makeProtected(f[168]);
    pa40.makeProtected(f[167]);
    pa40.setXNo(f[168]);
    pa40.setXNo(f[167]);
    pa40.makeProtectedAndSetNull(f[165]);
    pa40.makeProtectedAndSetNull(f[166]);
  } else {
    pa40.unProtect(f[168]);
    pa40.unProtect(f[167]);
    Utils::setDefaultX(form, f[168], f[168], f[167]);
    // Each person's added expenses stand only beside that person's total.
    const auto openBeside = [&pa40](const OVImmutableIdentifier& added, long total) {
      if (total > 0) {
        pa40.unProtect(added);
      } else {
        pa40.makeProtectedAndSetNull(added);
      }
    };
    openBeside(f[165], ueFirstTotal);
    openBeside(f[166], ueSecondTotal);
  }

  // Expenses, cut to gross compensation.
  pa40.plus2(f[169], f[163], f[165]);
  pa40.plus2(f[170], f[164], f[166]);
  const bool tpLimited = pa40.getIR(f[169]) > pa40.getIR(f[146]);
  if (tpLimited) pa40.minII(f[169], f[169], f[146]);
  markOrNo(pa40, f[96], tpLimited);
  const bool spLimited = pa40.getIR(f[170]) > pa40.getIR(f[147]);
  if (spLimited) pa40.minII(f[170], f[170], f[147]);
  markOrNo(pa40, f[97], spLimited);

  pa40.plus2(f[171], f[170], f[169]);
  pa40.minusIIge0(f[172], f[160], f[171]);  // line 1
}

// Lines 3 and 4 from Schedules A and B, and the summary forms' total.
void PATaxReturnCalcEngine::computePA40InterestDividends(TaxFormPtr form) {
  TaxForm& pa40 = *form;
  const auto& f = kPA40FieldIds;

  long summaryTotal = paReturn->getAllCopies(kFormID_State16, kState16FieldIds[185]) +  // 186
                      paReturn->getAllCopies(kFormID_State17, kState17FieldIds[177]);   // 178
  if (getFilingStatus() == 2) {
    summaryTotal += paReturn->getAllCopies(kFormID_State16, kState16FieldIds[186]) +  // 187
                    paReturn->getAllCopies(kFormID_State17, kState17FieldIds[178]);   // 179
  }
  pa40.assignIR(f[85], summaryTotal);
  pa40.setNull(f[29]);

  if (paReturn->readResidencyStatus(kFormID_PAReturnInfo) == 2) {
    // A nonresident reports no interest or dividends.
    pa40.zero(f[173]);
    pa40.zero(f[174]);
  } else {
    const auto& interest = kPAScheduleAFieldIds[26];   // 155736
    const auto& dividends = kPAScheduleBFieldIds[24];  // 155775
    pa40.assignIR(f[98], paReturn->getIN(kFormID_PAScheduleA, 1, interest));
    pa40.assignIR(f[99], paReturn->getIN(kFormID_PAScheduleA, 2, interest));
    pa40.assignIR(f[173], paReturn->getAllCopies(kFormID_PAScheduleA, interest));
    pa40.assignIR(f[100], paReturn->getIN(kFormID_PAScheduleB, 1, dividends));
    pa40.assignIR(f[101], paReturn->getIN(kFormID_PAScheduleB, 2, dividends));
    pa40.assignIR(f[174], paReturn->getAllCopies(kFormID_PAScheduleB, dividends));
  }
  pa40.plus2(f[74], f[174], f[173]);

  Utils::setDefaultX(form, f[46], f[46], f[45]);
  Utils::setDefaultX(form, f[48], f[48], f[47]);
}

}  // namespace PACalculationMgmt
