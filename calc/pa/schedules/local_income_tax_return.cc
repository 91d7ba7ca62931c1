// computeLocalIncomeTaxReturn: one copy of the Local Income Tax Return
// (state form 143868), the return of the local earned income tax.
//
// The copy has a taxpayer column and a spouse column. The spouse column is
// worked out only while its joint status box (J) is marked; otherwise its
// amounts are closed or nulled. The reference amounts come from copy 1 of
// the PA-40 (compensation, expenses, business income and rents); the rate
// is the user's entry in millionths. Amounts are not rounded.
#include <cstdint>
#include <cstring>

#include "calc/pa/box_marks.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::TaxForm;
using DataMgmt::TaxFormPtr;

namespace {

using LocalField = NamedField<PALocalIncomeTaxReturnFieldIds>;
using PA40Field = NamedField<PA40FieldIds>;

const int kTextSize = 128;
const double kDefaultTaxYear = 2018;
const double kRateDivisor = 1000000.0;  // the rate entry is in millionths
// A balance up to this much owed is neither an amount due nor an
// overpayment.
const double kBalanceThreshold = 1.0;

// The PA-40 header texts and the copy's fields that receive them.
const struct {
  const PA40Field& source;
  const LocalField& target;
} kHeaderTexts[] = {
    {PA40::kAddressLineTwo, PALocalIncomeTaxReturn::kAddressLineTwo},
    {PA40::kAddressLineOne, PALocalIncomeTaxReturn::kAddressLineOne},
    {PA40::kCity, PALocalIncomeTaxReturn::kCity},
    {PA40::kStateCode, PALocalIncomeTaxReturn::kStateCode},
    {PA40::kZipCode, PALocalIncomeTaxReturn::kZipCode},
    {PA40::kDaytimePhone, PALocalIncomeTaxReturn::kDaytimePhone},
};

// The PA-40 filing-status letters (exact, case-sensitive) and the status
// box each marks; the other three boxes are set to no.
const struct {
  const char* letter;
  const LocalField& box;
} kStatusLetters[] = {
    {"S", PALocalIncomeTaxReturn::kSingleBox},          {"J", PALocalIncomeTaxReturn::kJointBox},
    {"M", PALocalIncomeTaxReturn::kSeparateBox},        {"F", PALocalIncomeTaxReturn::kFinalOrDeceasedBox},
    {"D", PALocalIncomeTaxReturn::kFinalOrDeceasedBox},
};
constexpr const LocalField* kStatusBoxes[] = {
    &PALocalIncomeTaxReturn::kSingleBox, &PALocalIncomeTaxReturn::kJointBox,
    &PALocalIncomeTaxReturn::kSeparateBox, &PALocalIncomeTaxReturn::kFinalOrDeceasedBox};

// The fields of one column and the PA-40 amounts that feed it; the low-base
// entries stay open only while the column's tax base is not positive.
struct Column {
  const PA40Field &paGross, &paExpenses, &paNet, &paBusiness, &paRents;
  const LocalField &gross, &expenses, &netLessGross, &business, &loss;
  const LocalField &grossEntry, &expenseEntry, &netEntry, &subtotal;
  const LocalField &further, &reduction, &netFurther, &base;
  const NamedColumn<PALocalIncomeTaxReturnFieldIds>& lowBaseEntries;
  const LocalField& tax;
  const LocalField &payment1, &payment2, &payment3;
  const LocalField &totalPayments, &balance, &overpayment, &applied, &appliedBox, &due;
  const LocalField &addition1, &addition2;
  const LocalField& totalDue;
};
constexpr Column kTaxpayer = {
    PA40::kTaxpayerGrossCompensation,
    PA40::kTaxpayerExpenses,
    PA40::kTaxpayerCompensation,
    PA40::kTaxpayerBusinessIncome,
    PA40::kTaxpayerRentsTotal,
    PALocalIncomeTaxReturn::kTaxpayerGrossCompensation,
    PALocalIncomeTaxReturn::kTaxpayerExpenses,
    PALocalIncomeTaxReturn::kTaxpayerNetLessGross,
    PALocalIncomeTaxReturn::kTaxpayerBusinessRentIncome,
    PALocalIncomeTaxReturn::kTaxpayerBusinessRentLoss,
    PALocalIncomeTaxReturn::kTaxpayerCompensationEntry,
    PALocalIncomeTaxReturn::kTaxpayerExpenseEntry,
    PALocalIncomeTaxReturn::kTaxpayerNetEntry,
    PALocalIncomeTaxReturn::kTaxpayerSubtotal,
    PALocalIncomeTaxReturn::kTaxpayerFurtherAmount,
    PALocalIncomeTaxReturn::kTaxpayerFurtherReduction,
    PALocalIncomeTaxReturn::kTaxpayerNetFurther,
    PALocalIncomeTaxReturn::kTaxpayerTaxBase,
    PALocalIncomeTaxReturn::kTaxpayerLowBaseEntry,
    PALocalIncomeTaxReturn::kTaxpayerTax,
    PALocalIncomeTaxReturn::kTaxpayerFirstPayment,
    PALocalIncomeTaxReturn::kTaxpayerSecondPayment,
    PALocalIncomeTaxReturn::kTaxpayerOtherLocalityCredit,
    PALocalIncomeTaxReturn::kTaxpayerTotalPayments,
    PALocalIncomeTaxReturn::kTaxpayerBalance,
    PALocalIncomeTaxReturn::kTaxpayerOverpayment,
    PALocalIncomeTaxReturn::kTaxpayerOverpaymentApplied,
    PALocalIncomeTaxReturn::kTaxpayerOverpaymentAppliedBox,
    PALocalIncomeTaxReturn::kTaxpayerAmountDue,
    PALocalIncomeTaxReturn::kTaxpayerFirstAddition,
    PALocalIncomeTaxReturn::kTaxpayerSecondAddition,
    PALocalIncomeTaxReturn::kTaxpayerTotalDue,
};
constexpr Column kSpouse = {
    PA40::kSpouseGrossCompensation,
    PA40::kSpouseExpenses,
    PA40::kSpouseCompensation,
    PA40::kSpouseBusinessIncome,
    PA40::kSpouseRentsTotal,
    PALocalIncomeTaxReturn::kSpouseGrossCompensation,
    PALocalIncomeTaxReturn::kSpouseExpenses,
    PALocalIncomeTaxReturn::kSpouseNetLessGross,
    PALocalIncomeTaxReturn::kSpouseBusinessRentIncome,
    PALocalIncomeTaxReturn::kSpouseBusinessRentLoss,
    PALocalIncomeTaxReturn::kSpouseCompensationEntry,
    PALocalIncomeTaxReturn::kSpouseExpenseEntry,
    PALocalIncomeTaxReturn::kSpouseNetEntry,
    PALocalIncomeTaxReturn::kSpouseSubtotal,
    PALocalIncomeTaxReturn::kSpouseFurtherAmount,
    PALocalIncomeTaxReturn::kSpouseFurtherReduction,
    PALocalIncomeTaxReturn::kSpouseNetFurther,
    PALocalIncomeTaxReturn::kSpouseTaxBase,
    PALocalIncomeTaxReturn::kSpouseLowBaseEntry,
    PALocalIncomeTaxReturn::kSpouseTax,
    PALocalIncomeTaxReturn::kSpouseFirstPayment,
    PALocalIncomeTaxReturn::kSpouseSecondPayment,
    PALocalIncomeTaxReturn::kSpouseOtherLocalityCredit,
    PALocalIncomeTaxReturn::kSpouseTotalPayments,
    PALocalIncomeTaxReturn::kSpouseBalance,
    PALocalIncomeTaxReturn::kSpouseOverpayment,
    PALocalIncomeTaxReturn::kSpouseOverpaymentApplied,
    PALocalIncomeTaxReturn::kSpouseOverpaymentAppliedBox,
    PALocalIncomeTaxReturn::kSpouseAmountDue,
    PALocalIncomeTaxReturn::kSpouseFirstAddition,
    PALocalIncomeTaxReturn::kSpouseSecondAddition,
    PALocalIncomeTaxReturn::kSpouseTotalDue,
};

// The copy in hand and copy 1 of the PA-40.
class LocalReturnCopy {
 public:
  LocalReturnCopy(TaxForm& form, const DataMgmt::TaxReturn& pa) : form_(form), pa_(pa) {}

  TaxForm& form() { return form_; }
  double value(const FieldId& f) const { return form_.getIR(f); }
  bool marked(const FieldId& f) const { return form_.xMarked(f); }
  void assign(const FieldId& f, double v) { form_.assignIR(f, v); }
  void null(const FieldId& f) { form_.setNull(f); }
  void open(const FieldId& f) { form_.unProtect(f); }
  void close(const FieldId& f) { form_.makeProtectedAndSetNull(f); }
  // Opens `f` while `amount` is positive, closes it otherwise.
  void gate(const FieldId& f, double amount) { amount > 0 ? open(f) : close(f); }
  void openOrClose(const FieldId& f, bool openIt) { openIt ? open(f) : close(f); }
  void sum(const FieldId& t, const FieldId& a, const FieldId& b, const FieldId& c) {
    form_.setValueToSumOf(t, {a, b, c});
  }

  double pa40(const FieldId& f) const { return static_cast<double>(pa_.getIN(kFormID_PA40, 1, f)); }
  char* pa40Text(char* out, const FieldId& f) const {
    return pa_.formString(out, kTextSize, kFormID_PA40, 1, f);
  }

 private:
  TaxForm& form_;
  const DataMgmt::TaxReturn& pa_;
};

// The status boxes from the PA-40 letter; an unknown letter leaves them.
void markStatusBoxes(LocalReturnCopy& c) {
  char letter[kTextSize];
  c.pa40Text(letter, PA40::kFilingStatusCode);
  for (const auto& s : kStatusLetters) {
    if (std::strcmp(letter, s.letter) != 0) continue;
    for (const LocalField* box : kStatusBoxes) markOrNo(c.form(), *box, box == &s.box);
    return;
  }
}

// Compensation, expenses and net-less-gross compensation of one column,
// each opening or closing the entry it governs; then business and rents
// split into income and loss. A zero sum closes both fields when
// `closeOnZero`, else writes 0 to both.
void fillReferenceAmounts(LocalReturnCopy& c, const Column& col, bool closeOnZero) {
  const double gross = c.pa40(col.paGross);
  c.assign(col.gross, gross);
  c.gate(col.grossEntry, gross);
  const double expenses = c.pa40(col.paExpenses);
  c.assign(col.expenses, expenses);
  c.gate(col.expenseEntry, expenses);
  const double netLessGross = c.pa40(col.paNet) - gross;
  c.assign(col.netLessGross, netLessGross);
  c.gate(col.netEntry, netLessGross);

  const double s = c.pa40(col.paBusiness) + c.pa40(col.paRents);
  if (s == 0 && closeOnZero) {
    c.close(col.business);
    c.close(col.loss);
  } else if (s < 0) {
    c.assign(col.business, 0);
    c.assign(col.loss, -s);
  } else {
    c.assign(col.business, s);
    c.assign(col.loss, 0);
  }
}

void fillSubtotal(LocalReturnCopy& c, const Column& col) {
  c.assign(col.subtotal, c.value(col.grossEntry) + c.value(col.netEntry) - c.value(col.expenseEntry));
}

// Opens the low-base entries of a column when `open`, else closes them.
void gateLowBaseEntries(LocalReturnCopy& c, const Column& col, bool open) {
  for (int k = 0; k < col.lowBaseEntries.rows(); ++k) c.openOrClose(col.lowBaseEntries.at(k), open);
}

// Tax base, the entries open only for a base that is not positive, and the
// tax at `rate`.
void fillBaseAndTax(LocalReturnCopy& c, const Column& col, double rate) {
  c.form().plus2(col.base, col.subtotal, col.netFurther);
  gateLowBaseEntries(c, col, !(c.value(col.base) > 0));
  c.form().timesIR(col.tax, col.base, rate);
}

// Balance of one column: an amount due above the threshold, no balance
// from 0 (exclusive) up to the threshold, else an overpayment, part of
// which the user may apply (at most the overpayment).
void fillBalance(LocalReturnCopy& c, const Column& col) {
  const double d = c.value(col.tax) - c.value(col.totalPayments);
  c.assign(col.balance, d);
  if (d > kBalanceThreshold) {
    c.close(col.overpayment);
    c.close(col.applied);
    c.form().setXNo(col.appliedBox);
    c.assign(col.due, d);
  } else if (d > 0) {
    // A fraction of a dollar (or the threshold itself) owed: no balance.
    // Taken as an overpayment it would be negative.
    c.close(col.overpayment);
    c.close(col.applied);
    c.null(col.due);
  } else {
    c.assign(col.overpayment, -d);
    c.open(col.applied);
    c.form().minII(col.applied, col.applied, col.overpayment);
    c.null(col.due);
  }
  markOrNo(c.form(), col.appliedBox, c.value(col.applied) > 0);
}

// Amount due plus its additions, or all three closed.
void fillTotalDue(LocalReturnCopy& c, const Column& col) {
  if (c.value(col.due) > 0) {
    c.open(col.addition1);
    c.open(col.addition2);
    c.sum(col.totalDue, col.due, col.addition1, col.addition2);
  } else {
    c.close(col.totalDue);
    c.close(col.addition1);
    c.close(col.addition2);
  }
}

}  // namespace

void PATaxReturnCalcEngine::computeLocalIncomeTaxReturn(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  LocalReturnCopy c(*form, *paReturn);

  if (form->isNull(PALocalIncomeTaxReturn::kTaxYear))
    c.assign(PALocalIncomeTaxReturn::kTaxYear, kDefaultTaxYear);
  const uint8_t filingStatus = paReturn->readFilingStatus(kFormID_PAReturnInfo);
  const FieldId& none = Primitives::kNullFieldID;
  copyNameText(form, kFormID_PAReturnInfo, filingStatus, 0, PALocalIncomeTaxReturn::kTaxpayerName,
               PALocalIncomeTaxReturn::kTaxpayerNumberText, none, none, PALocalIncomeTaxReturn::kSpouseName,
               PALocalIncomeTaxReturn::kSpouseNumberText, none, none, none, 0);
  c.assign(PALocalIncomeTaxReturn::kCopyNumber, copy);
  for (const auto& h : kHeaderTexts) {
    char text[kTextSize];
    form->assignText(h.target, c.pa40Text(text, h.source));
  }
  markStatusBoxes(c);
  // The J box is the spouse column's switch from here on.
  const bool joint = c.marked(PALocalIncomeTaxReturn::kJointBox);

  fillReferenceAmounts(c, kTaxpayer, true);
  if (joint) {
    fillReferenceAmounts(c, kSpouse, false);
  } else {
    for (const LocalField* f :
         {&kSpouse.gross, &kSpouse.expenses, &kSpouse.netLessGross, &kSpouse.business, &kSpouse.loss}) {
      c.null(*f);
    }
  }

  // The spouse subtotal is worked out from its entries either way.
  fillSubtotal(c, kTaxpayer);
  fillSubtotal(c, kSpouse);

  form->minusIIge0(kTaxpayer.netFurther, kTaxpayer.further, kTaxpayer.reduction);
  if (joint) {
    c.open(kSpouse.further);
    c.open(kSpouse.reduction);
    form->minusIIge0(kSpouse.netFurther, kSpouse.further, kSpouse.reduction);
  } else {
    c.close(kSpouse.further);
    c.close(kSpouse.reduction);
    c.null(kSpouse.netFurther);
  }

  form->assignII(PALocalIncomeTaxReturn::kRateCopy, PALocalIncomeTaxReturn::kRateEntry);
  const double rate = c.value(PALocalIncomeTaxReturn::kRateCopy) / kRateDivisor;
  fillBaseAndTax(c, kTaxpayer, rate);
  if (joint) {
    fillBaseAndTax(c, kSpouse, rate);
  } else {
    c.close(kSpouse.base);
    gateLowBaseEntries(c, kSpouse, false);
    c.close(kSpouse.tax);
  }

  c.sum(kTaxpayer.totalPayments, kTaxpayer.payment1, kTaxpayer.payment2, kTaxpayer.payment3);
  for (const LocalField* f : {&kSpouse.payment1, &kSpouse.payment2, &kSpouse.payment3})
    c.openOrClose(*f, joint);
  if (joint) {
    c.sum(kSpouse.totalPayments, kSpouse.payment1, kSpouse.payment2, kSpouse.payment3);
  } else {
    c.null(kSpouse.totalPayments);
  }

  // Without the J box the spouse column has no balance: what a joint
  // calculation wrote there goes (the overpayment part applied with it).
  fillBalance(c, kTaxpayer);
  if (joint) {
    fillBalance(c, kSpouse);
  } else {
    c.null(kSpouse.balance);
    c.close(kSpouse.overpayment);
    c.close(kSpouse.applied);
    c.null(kSpouse.appliedBox);
  }

  fillTotalDue(c, kTaxpayer);
  if (joint) {
    fillTotalDue(c, kSpouse);
  } else {
    c.close(kSpouse.due);
    c.close(kSpouse.addition1);
    c.close(kSpouse.addition2);
    c.null(kSpouse.totalDue);
  }
  form->plus2(PALocalIncomeTaxReturn::kTotalDueBothColumns, kTaxpayer.totalDue, kSpouse.totalDue);

  char text[kTextSize];
  form->assignText(PALocalIncomeTaxReturn::kTextCopy,
                   paReturn->formString(text, kTextSize, kFormID_PALocalIncomeTaxReturn, copy,
                                        PALocalIncomeTaxReturn::kTextEntry));

  paReturn->setDataEntered(kFormID_PALocalIncomeTaxReturn, copy, true, false);
  if (paReturn->hasSigValue(kFormID_PALocalIncomeTaxReturn, copy, PALocalIncomeTaxReturn::kMarkerEntry)) {
    form->setCalcMark(true);
  }
}

}  // namespace PACalculationMgmt
