// computeLocalIncomeTaxReturn: one copy of the Local Income Tax Return
// (state form 143868), the return of the local earned income tax.
//
// The copy has a taxpayer column and a spouse column. The spouse column is
// worked out only while status box J (143955) is marked; otherwise its
// amounts are closed or nulled. The reference amounts come from copy 1 of
// the PA-40 (compensation, expenses, business income and rents); the rate
// is the user's entry in millionths. Amounts are not rounded.
#include <cstdint>
#include <cstring>

#include "calc/pa/box_marks.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::TaxForm;
using DataMgmt::TaxFormPtr;

namespace {

// Local Income Tax Return fields: PALocalIncomeTaxReturnFieldIds members,
// named by host field.
enum LocalField : int {
  f144160 = 1, f144161 = 2, f144162 = 3, f144163 = 4, f144164 = 5, f144165 = 6, f144166 = 7,
  f144167 = 8, f144168 = 9, f144169 = 10, f144170 = 11, f144171 = 12, f147627 = 13, f147628 = 14,
  f144172 = 15, f144173 = 16, f144174 = 17, f143869 = 18, f143942 = 31, f144175 = 32, f143943 = 33,
  f144176 = 34, f143945 = 36, f143948 = 39, f143949 = 40, f143950 = 41, f143951 = 42, f143952 = 43,
  f143953 = 44, f143954 = 45, f143955 = 46, f143956 = 47, f143957 = 48, f144177 = 49, f144184 = 56,
  f143958 = 63, f143959 = 64, f143960 = 65, f143961 = 66, f143962 = 67, f143963 = 68, f143964 = 69,
  f143965 = 70, f143966 = 71, f143967 = 72, f143969 = 74, f143970 = 75, f143971 = 76, f143972 = 77,
  f143973 = 78, f143974 = 79, f144191 = 80, f143975 = 81, f143976 = 82, f143977 = 83, f143978 = 84,
  f143979 = 85, f143980 = 86, f143981 = 87, f143982 = 88, f143983 = 89, f143984 = 90, f143985 = 91,
  f143986 = 92, f143987 = 93, f143988 = 94, f143989 = 95, f143990 = 96, f143991 = 97, f143992 = 98,
  f143993 = 99, f143994 = 100, f143995 = 102, f143996 = 103, f143997 = 105, f143998 = 106,
};

// PA-40 fields read: PA40FieldIds members, named by host field.
enum PA40Field : int {
  pa107 = 128, pa105 = 130, pa110 = 135, pa111 = 136, pa112 = 137, pa116 = 139, pa272 = 127,
  pa36514 = 146, pa36515 = 147, pa36526 = 169, pa36527 = 170, pa36520 = 158, pa36521 = 159,
  pa292 = 183, pa293 = 184, pa301 = 195, pa302 = 196,
};

const FieldId& id(LocalField f) { return kPALocalIncomeTaxReturnFieldIds[f]; }
const FieldId& id(PA40Field f) { return kPA40FieldIds[f]; }

const int kTextSize = 128;
const double kDefaultTaxYear = 2018;
const double kRateDivisor = 1000000.0;  // the rate entry is in millionths
// A balance up to this much owed is neither an amount due nor an
// overpayment.
const double kBalanceThreshold = 1.0;
// The entries that stay open only while a column's tax base is not
// positive: seven consecutive members from the first.
const int kLowBaseEntryCount = 7;

// The PA-40 header texts and the copy's fields that receive them.
struct HeaderText {
  PA40Field source;
  LocalField target;
};
const HeaderText kHeaderTexts[] = {
    {pa107, f143945}, {pa105, f143948}, {pa110, f143949},
    {pa111, f143950}, {pa112, f143951}, {pa116, f143952},
};

// The PA-40 filing-status letters (exact, case-sensitive) and the status
// box each marks; the other three boxes are set to no.
struct StatusLetter {
  const char* letter;
  LocalField box;
};
const StatusLetter kStatusLetters[] = {
    {"S", f143954}, {"J", f143955}, {"M", f143956}, {"F", f143957}, {"D", f143957},
};
const LocalField kStatusBoxes[] = {f143954, f143955, f143956, f143957};

// The fields of one column and the PA-40 amounts that feed it.
struct Column {
  PA40Field paGross, paExpenses, paNet, paBusiness, paRents;
  LocalField gross, expenses, netLessGross, business, loss;
  LocalField grossEntry, expenseEntry, netEntry, subtotal;
  LocalField further, reduction, netFurther, base, firstLowBaseEntry, tax;
  LocalField payments[3];
  LocalField totalPayments, balance, overpayment, applied, appliedBox, due;
  LocalField additions[2];
  LocalField totalDue;
};
const Column kTaxpayer = {
    pa36514, pa36526, pa36520, pa292, pa301,
    f144162, f144164, f144166, f144168, f144170,
    f143958, f143960, f143962, f143964,
    f143966, f143969, f143971, f143973, f144177, f143975,
    {f143977, f143979, f143981},
    f143983, f147627, f143985, f143987, f143989, f143991,
    {f143993, f143995},
    f143997,
};
const Column kSpouse = {
    pa36515, pa36527, pa36521, pa293, pa302,
    f144163, f144165, f144167, f144169, f144171,
    f143959, f143961, f143963, f143965,
    f143967, f143970, f143972, f143974, f144184, f143976,
    {f143978, f143980, f143982},
    f143984, f147628, f143986, f143988, f143990, f143992,
    {f143994, f143996},
    f143998,
};

// The copy in hand and copy 1 of the PA-40, fields named as above.
class LocalReturnCopy {
 public:
  LocalReturnCopy(TaxForm& form, const DataMgmt::TaxReturn& pa) : form_(form), pa_(pa) {}

  TaxForm& form() { return form_; }
  double value(LocalField f) const { return form_.getIR(id(f)); }
  bool marked(LocalField f) const { return form_.xMarked(id(f)); }
  void assign(LocalField f, double v) { form_.assignIR(id(f), v); }
  void null(LocalField f) { form_.setNull(id(f)); }
  void open(LocalField f) { form_.unProtect(id(f)); }
  void close(LocalField f) { form_.makeProtectedAndSetNull(id(f)); }
  // Opens `f` while `amount` is positive, closes it otherwise.
  void gate(LocalField f, double amount) { amount > 0 ? open(f) : close(f); }
  void sum(LocalField t, LocalField a, LocalField b, LocalField c) {
    form_.setValueToSumOf(id(t), {id(a), id(b), id(c)});
  }
  void member(int k, bool openIt) {
    openIt ? form_.unProtect(kPALocalIncomeTaxReturnFieldIds[k])
           : form_.makeProtectedAndSetNull(kPALocalIncomeTaxReturnFieldIds[k]);
  }

  double pa40(PA40Field f) const { return static_cast<double>(pa_.getIN(kFormID_PA40, 1, id(f))); }
  char* pa40Text(char* out, PA40Field f) const { return pa_.formString(out, kTextSize, kFormID_PA40, 1, id(f)); }

 private:
  TaxForm& form_;
  const DataMgmt::TaxReturn& pa_;
};

// The status boxes from the PA-40 letter; an unknown letter leaves them.
void markStatusBoxes(LocalReturnCopy& c) {
  char letter[kTextSize];
  c.pa40Text(letter, pa272);
  for (const StatusLetter& s : kStatusLetters) {
    if (std::strcmp(letter, s.letter) != 0) continue;
    for (LocalField box : kStatusBoxes) markOrNo(c.form(), id(box), box == s.box);
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

// Tax base, the entries open only for a base that is not positive, and the
// tax at `rate`.
void fillBaseAndTax(LocalReturnCopy& c, const Column& col, double rate) {
  c.form().plus2(id(col.base), id(col.subtotal), id(col.netFurther));
  const bool positiveBase = c.value(col.base) > 0;
  for (int k = 0; k < kLowBaseEntryCount; ++k) c.member(col.firstLowBaseEntry + k, !positiveBase);
  c.form().timesIR(id(col.tax), id(col.base), rate);
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
    c.form().setXNo(id(col.appliedBox));
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
    c.form().minII(id(col.applied), id(col.applied), id(col.overpayment));
    c.null(col.due);
  }
  markOrNo(c.form(), id(col.appliedBox), c.value(col.applied) > 0);
}

// Amount due plus its additions, or all three closed.
void fillTotalDue(LocalReturnCopy& c, const Column& col) {
  if (c.value(col.due) > 0) {
    c.open(col.additions[0]);
    c.open(col.additions[1]);
    c.sum(col.totalDue, col.due, col.additions[0], col.additions[1]);
  } else {
    c.close(col.totalDue);
    c.close(col.additions[0]);
    c.close(col.additions[1]);
  }
}

}  // namespace

void PATaxReturnCalcEngine::computeLocalIncomeTaxReturn(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  LocalReturnCopy c(*form, *paReturn);

  if (form->isNull(id(f143869))) c.assign(f143869, kDefaultTaxYear);
  const uint8_t filingStatus = paReturn->readFilingStatus(kFormID_PAReturnInfo);
  const FieldId& none = Primitives::kNullFieldID;
  copyNameText(form, kFormID_PAReturnInfo, filingStatus, 0, id(f143942), id(f144175), none, none,
               id(f143943), id(f144176), none, none, none, 0);
  c.assign(f144161, copy);
  for (const HeaderText& h : kHeaderTexts) {
    char text[kTextSize];
    form->assignText(id(h.target), c.pa40Text(text, h.source));
  }
  markStatusBoxes(c);
  // The J box is the spouse column's switch from here on.
  const bool joint = c.marked(f143955);

  fillReferenceAmounts(c, kTaxpayer, true);
  if (joint) {
    fillReferenceAmounts(c, kSpouse, false);
  } else {
    for (LocalField f : {f144163, f144165, f144167, f144169, f144171}) c.null(f);
  }

  // The spouse subtotal is worked out from its entries either way.
  fillSubtotal(c, kTaxpayer);
  fillSubtotal(c, kSpouse);

  form->minusIIge0(id(f143971), id(f143966), id(f143969));
  if (joint) {
    c.open(f143967);
    c.open(f143970);
    form->minusIIge0(id(f143972), id(f143967), id(f143970));
  } else {
    c.close(f143967);
    c.close(f143970);
    c.null(f143972);
  }

  form->assignII(id(f144191), id(f144174));
  const double rate = c.value(f144191) / kRateDivisor;
  fillBaseAndTax(c, kTaxpayer, rate);
  if (joint) {
    fillBaseAndTax(c, kSpouse, rate);
  } else {
    c.close(f143974);
    for (int k = 0; k < kLowBaseEntryCount; ++k) c.member(f144184 + k, false);
    c.close(f143976);
  }

  c.sum(f143983, f143977, f143979, f143981);
  if (joint) {
    for (LocalField f : kSpouse.payments) c.open(f);
    c.sum(f143984, f143978, f143980, f143982);
  } else {
    for (LocalField f : kSpouse.payments) c.close(f);
    c.null(f143984);
  }

  // Without the J box the spouse balance fields keep what they hold.
  fillBalance(c, kTaxpayer);
  if (joint) fillBalance(c, kSpouse);

  fillTotalDue(c, kTaxpayer);
  if (joint) {
    fillTotalDue(c, kSpouse);
  } else {
    c.close(f143992);
    c.close(f143994);
    c.close(f143996);
    c.null(f143998);
  }
  form->plus2(id(f144160), id(f143997), id(f143998));

  char text[kTextSize];
  form->assignText(id(f143953),
                   paReturn->formString(text, kTextSize, kFormID_PALocalIncomeTaxReturn, copy, id(f144173)));

  paReturn->setDataEntered(kFormID_PALocalIncomeTaxReturn, copy, true, false);
  if (paReturn->hasSigValue(kFormID_PALocalIncomeTaxReturn, copy, id(f144172))) form->setCalcMark(true);
}

}  // namespace PACalculationMgmt
