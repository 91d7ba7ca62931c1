// The PA interest and dividend worksheet (state form 186): the routine's
// frame (nonresident exit, name items, the closing print decision) and the
// line patterns and shapes both halves use.
#include <cstddef>

#include "calc/pa/box_marks.h"
#include "calc/pa/part_of_return.h"
#include "calc/pa/schedules/int_div_worksheet_calc.h"
#include "catalogs/fields/fields.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::FormId;
using DataMgmt::TaxFormPtr;

namespace {

namespace W = PAInterestDividendWorksheet;

// State summary groups 1-4: the taxpayer's and the spouse's field.
template <class Catalog>
struct GroupFields {
  NamedField<Catalog> taxpayer;
  NamedField<Catalog> spouse;
};
const GroupFields<State16FieldIds> kInterestGroups[4] = {
    {State16::kTaxpayerRegular, State16::kSpouseRegular},
    {State16::kTaxpayerUSObligations, State16::kSpouseUSObligations},
    {State16::kTaxpayerExemptInState, State16::kSpouseExemptInState},
    {State16::kTaxpayerExemptOutOfState, State16::kSpouseExemptOutOfState},
};
const GroupFields<State17FieldIds> kDividendGroups[4] = {
    {State17::kTaxpayerRegular, State17::kSpouseRegular},
    {State17::kTaxpayerUSObligations, State17::kSpouseUSObligations},
    {State17::kTaxpayerInState, State17::kSpouseInState},
    {State17::kTaxpayerOutOfState, State17::kSpouseOutOfState},
};

template <class Catalog>
int_div::SummaryGroups readGroups(const PADataMgmt::PATaxReturn& pa, const FormId& form,
                                  const GroupFields<Catalog> (&fields)[4]) {
  int_div::SummaryGroups groups;
  for (int k = 0; k < 4; ++k) {
    groups.taxpayer[k] = static_cast<double>(pa.getAllCopies(form, fields[k].taxpayer));
    groups.spouse[k] = static_cast<double>(pa.getAllCopies(form, fields[k].spouse));
  }
  return groups;
}

// No adjustment changed anything: the summary amounts run through to the
// totals unchanged, so the worksheet need not be printed.
bool worksheetAddsNothing(const DataMgmt::TaxForm& ws) {
  const double interest = ws.getIR(W::kSummaryInterest);
  const double totalInterest = ws.getIR(W::kTotalInterest);
  const double netInterest = ws.getIR(W::kNetInterest);
  const double dividends = ws.getIR(W::kSummaryDividends);
  const double totalDividends = ws.getIR(W::kTotalDividends);
  const double netDividends = ws.getIR(W::kNetDividends);
  return interest == totalInterest && interest == ws.getIR(W::kGrossInterest) && interest == netInterest &&
         netInterest == totalInterest && dividends == totalDividends && dividends == netDividends &&
         netDividends == totalDividends;
}

}  // namespace

void PATaxReturnCalcEngine::computeInterestDividendWorksheet(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr || getFederalReturn() == nullptr) return;
  const FormId& self = kFormID_PAInterestDividendWorksheet;

  if (paReturn->readResidencyStatus(kFormID_PAReturnInfo) == PADataMgmt::kNonresident) {
    // Nothing of a nonresident's interest or dividends is kept here.
    clearForm(self, 1);
  } else {
    const FieldId& none = Primitives::kNullFieldID;
    copyNameText(form, kFormID_PAReturnInfo, paReturn->readFilingStatus(kFormID_PAReturnInfo), 0, W::kFilerName,
                 W::kFilerSSN, none, none, none, none, none, none, none, 0);
    int_div::IntDivWorksheetCalc calc(*this, *paReturn, *getFederalReturn(), form, copy);
    calc.computeInterest();
    calc.computeDividends();
  }

  // Part of the return, and so printed, while it adjusts anything or holds
  // an entry of the user's.
  markPartOfReturn(*paReturn, self, copy, *form, !worksheetAddsNothing(*form),
                   [&] { return holdsUserEntry(*form, W::kUserFields); });
}

namespace int_div {

IntDivWorksheetCalc::IntDivWorksheetCalc(PATaxReturnCalcEngine& engine, PADataMgmt::PATaxReturn& pa,
                                         DataMgmt::USTaxReturn& federal, TaxFormPtr form, uint16_t copy)
    : engine(engine), pa(pa), federal(federal), holder(form), ws(*form), copy(copy) {}

SummaryGroups IntDivWorksheetCalc::interestGroups() const {
  return readGroups(pa, kFormID_State16, kInterestGroups);
}

SummaryGroups IntDivWorksheetCalc::dividendGroups() const {
  return readGroups(pa, kFormID_State17, kDividendGroups);
}

bool IntDivWorksheetCalc::joint() const {
  return pa.readFilingStatus(kFormID_PAReturnInfo) == PADataMgmt::kFilingJoint;
}

bool IntDivWorksheetCalc::partYearResident() const {
  return pa.readResidencyStatus(kFormID_PAReturnInfo) == PADataMgmt::kPartYearResident;
}

bool IntDivWorksheetCalc::fullYearResident() const {
  return pa.readResidencyStatus(kFormID_PAReturnInfo) == PADataMgmt::kFullYearResident;
}

Owner IntDivWorksheetCalc::ownerOf(const FormId& form, uint16_t copy, const FieldId& taxpayerMark,
                                   const FieldId& spouseMark, const FieldId& jointMark) const {
  return federalCopyOwner(readOwnerMarks(federal, form, copy, taxpayerMark, spouseMark, jointMark), joint(),
                          Owner::kNone);
}

KindTotals IntDivWorksheetCalc::form51ByKind(const FieldId& amountField, bool wholeAmounts) const {
  KindTotals totals;
  forEachPersonCopy(kFormID_Fed51, Fed51::kTaxpayerBox, Fed51::kSpouseBox, [&](uint16_t c, int person) {
    int kind = 0;
    if (!federal.formYes(kFormID_Fed51, c, Fed51::kFirstKindBox)) {
      if (!federal.formYes(kFormID_Fed51, c, Fed51::kSecondKindBox)) return;
      kind = 1;
    }
    totals.amount[kind][person] += wholeAmounts ? static_cast<double>(federal.getIN(kFormID_Fed51, c, amountField))
                                                : federal.getIR(kFormID_Fed51, c, amountField);
    ++totals.count[kind][person];
  });
  return totals;
}

void IntDivWorksheetCalc::summaryFirstTwo(const Line& shown, const Line& summary, const SummaryGroups& g,
                                          const FieldId& singleTotalFrom) {
  const double t = g.taxpayerFirstTwo();
  set(shown.taxpayer, t);
  set(summary.taxpayer, t);
  if (joint()) {
    // The shown line has a total only on a return that is not joint.
    setNull(shown.total);
    set(shown.spouse, g.spouseFirstTwo());
    set(summary.spouse, g.spouseFirstTwo());
    sum(summary.total, {summary.taxpayer, summary.spouse});
  } else {
    // No spouse: nothing of a joint run's spouse column stays for the
    // spouse's Schedule A or B copy to read.
    setNull(shown.spouse);
    setNull(summary.spouse);
    set(shown.total, t);
    copyField(singleTotalFrom, summary.total);
  }
}

void IntDivWorksheetCalc::summaryLastTwo(const Line& line, const SummaryGroups& g) {
  const double t = g.taxpayerLastTwo();
  const double s = g.spouseLastTwo();
  set(line.taxpayer, t);
  setSpouse(line.spouse, s);
  set(line.total, joint() ? t + s : t);
}

void IntDivWorksheetCalc::partnershipLines(const PartnershipLines& lines, const KindTotals& kinds) {
  for (int k = 0; k < 2; ++k) {
    const PartnershipKind& kind = lines.kinds[k];
    markOrNo(ws, kind.presentBox, kinds.present(k));
    defaultMark(kind.pairNo, kind.pairNo, kind.pairYes);
  }
  for (int k = 0; k < 2; ++k) {
    const PartnershipKind& kind = lines.kinds[k];
    splitFill(kind.computed, kinds.amount[k][0], kinds.amount[k][1]);
    choiceBox(kind.overrideYes, kind.overrideNo);
    overrideLine(kind.overrideYes, kind.asUsed, kind.computed);
  }
  sumLines(lines.both, {lines.kinds[0].computed, lines.kinds[1].computed});
  copyLine(lines.both, lines.bothCopy);
  sumLines(lines.asUsed, {lines.kinds[0].asUsed, lines.kinds[1].asUsed});
  copyLine(lines.asUsed, lines.asUsedCopy);
}

void IntDivWorksheetCalc::residentTotal(const FieldId& field, const KindTotals& kinds, int kind) {
  if (fullYearResident()) {
    set(field, kinds.amount[kind][0] + kinds.amount[kind][1]);
  } else {
    setNull(field);
  }
}

void IntDivWorksheetCalc::estateTrustLines(const EstateTrustLines& lines, const PersonAmounts& amounts,
                                           bool limitToLine) {
  const Line& income = lines.income;
  const Line& adj = lines.adjustment;
  const Line& rem = lines.remainder;
  protect(income.taxpayer);
  protect(income.spouse);
  defaultMark(lines.noBox, lines.noBox, lines.yesBox);
  set(income.total, amounts[0] + amounts[1]);
  setPair(income, amounts[0], amounts[1]);

  if (!(amount(income.total) > 0)) {
    clearRange(income.total, rem.spouse);
  } else if (joint()) {
    // A person without amounts has nothing to adjust; the remainder is
    // recomputed either way so none is left from an earlier calculation.
    for (int person = 0; person < 2; ++person) {
      const Field& line = personField(income, person);
      openUpTo(personField(adj, person), amounts[person] > 0, limitToLine ? amount(line) : amounts[person]);
      remainder(personField(rem, person), line, personField(adj, person));
    }
    protect(adj.total);
    plus(adj.total, adj.taxpayer, adj.spouse);
    plus(rem.total, rem.taxpayer, rem.spouse);
  } else {
    openAndLimit(adj.total, amounts[0] + amounts[1]);
    copyTotalToTaxpayer(adj);
    remainder(rem.total, income.total, adj.total);
    copyField(rem.total, rem.taxpayer);
    protectAndNull(adj.spouse);
    protectAndNull(rem.spouse);
  }
  copyLine(lines.remainder, lines.remainderCopy);
}

void IntDivWorksheetCalc::partYearBeforeSubtraction(const Field& taxpayer, const Field& spouse,
                                                    const Line& subtraction, const Line& total) {
  if (!partYearResident()) {
    protectAndNull(taxpayer);
    protectAndNull(spouse);
    return;
  }
  plus(taxpayer, subtraction.taxpayer, total.taxpayer);
  if (joint()) {
    plus(spouse, subtraction.spouse, total.spouse);
  } else {
    protectAndNull(spouse);  // no stale spouse amount after a joint return
  }
}

void IntDivWorksheetCalc::setPair(const Line& line, double t, double s) {
  set(line.taxpayer, t);
  if (joint()) {
    set(line.spouse, s);
  } else {
    setNull(line.spouse);
  }
}

void IntDivWorksheetCalc::splitFill(const Line& line, double t, double s) {
  setPair(line, t, s);
  plus(line.total, line.taxpayer, line.spouse);
}

void IntDivWorksheetCalc::setSpouse(const FieldId& spouse, double value) {
  if (joint()) {
    set(spouse, value);
  } else {
    protectAndNull(spouse);
  }
}

void IntDivWorksheetCalc::openSpouse(const FieldId& spouse) {
  if (joint()) {
    unprotect(spouse);
  } else {
    protectAndNull(spouse);
  }
}

void IntDivWorksheetCalc::choiceBox(const FieldId& yesBox, const FieldId& noBox) {
  unprotect(yesBox);
  unprotect(noBox);
  defaultMark(noBox, noBox, yesBox);
}

void IntDivWorksheetCalc::overrideLine(const FieldId& yesBox, const Line& asUsed, const Line& computed) {
  if (!ws.xMarked(yesBox)) {
    copyLine(computed, asUsed);
  } else {
    enteredSplit(asUsed);
  }
}

void IntDivWorksheetCalc::sum(const FieldId& target, std::initializer_list<FieldId> sources) {
  ws.setValueToSumOf(target, sources);
}

void IntDivWorksheetCalc::sumLines(const Line& target, std::initializer_list<Line> sources) {
  for (Field Line::*column : {&Line::total, &Line::taxpayer, &Line::spouse}) {
    FieldId ids[kMaxSummands];  // empty ids read as 0
    std::size_t n = 0;
    for (const Line& line : sources) {
      if (n < kMaxSummands) ids[n++] = line.*column;
    }
    ws.setValueToSumOf(target.*column, {ids[0], ids[1], ids[2], ids[3], ids[4], ids[5]});
  }
}

void IntDivWorksheetCalc::jointTotal(const Line& line) {
  if (joint()) {
    plus(line.total, line.taxpayer, line.spouse);
  } else {
    protectAndNull(line.spouse);
    copyField(line.taxpayer, line.total);
  }
}

void IntDivWorksheetCalc::setLine(const Line& line, double total, double t, double s) {
  set(line.total, total);
  set(line.taxpayer, t);
  set(line.spouse, s);
}

void IntDivWorksheetCalc::gatedLine(const Line& line, bool shown, double t, double s) {
  if (shown) {
    protect(line.total);
    protect(line.spouse);
    splitFill(line, t, s);
  } else {
    closeAmounts(line);
  }
}

void IntDivWorksheetCalc::copyLine(const Line& from, const Line& to) {
  copyField(from.total, to.total);
  copyField(from.taxpayer, to.taxpayer);
  copyField(from.spouse, to.spouse);
}

void IntDivWorksheetCalc::copyField(const FieldId& from, const FieldId& to) { ws.assignII(to, from); }

void IntDivWorksheetCalc::openAndLimit(const FieldId& field, double limit) {
  openEntry(field);
  ws.minIR(field, field, limit);
}

void IntDivWorksheetCalc::openUpTo(const FieldId& field, bool open, double limit) {
  if (open) {
    openAndLimit(field, limit);
  } else {
    protectAndNull(field);
  }
}

void IntDivWorksheetCalc::limitToField(const FieldId& field, const FieldId& limit) {
  ws.minII(field, field, limit);
}

void IntDivWorksheetCalc::remainder(const FieldId& target, const FieldId& from, const FieldId& less) {
  ws.minusIIge0(target, from, less);
}

void IntDivWorksheetCalc::plus(const FieldId& target, const FieldId& a, const FieldId& b) { ws.plus2(target, a, b); }

void IntDivWorksheetCalc::enteredSplit(const Line& line) {
  if (joint()) {
    openEntry(line.taxpayer);
    unprotect(line.spouse);
    protect(line.total);
    plus(line.total, line.taxpayer, line.spouse);
  } else {
    openEntry(line.total);
    copyTotalToTaxpayer(line);
    protectAndNull(line.spouse);
  }
}

void IntDivWorksheetCalc::openEntry(const FieldId& field) { ws.unprotectAndMaybeSetNull(field); }

void IntDivWorksheetCalc::copyTotalToTaxpayer(const Line& line) {
  protect(line.taxpayer);
  copyField(line.total, line.taxpayer);
}

void IntDivWorksheetCalc::setIfPositive(const FieldId& field, double value) {
  if (value > 0) {
    set(field, value);
  } else {
    setNull(field);
  }
}

void IntDivWorksheetCalc::set(const FieldId& field, double value) { ws.assignIR(field, value); }
void IntDivWorksheetCalc::setNull(const FieldId& field) { ws.setNull(field); }
void IntDivWorksheetCalc::protect(const FieldId& field) { ws.makeProtected(field); }
void IntDivWorksheetCalc::unprotect(const FieldId& field) { ws.unProtect(field); }
void IntDivWorksheetCalc::protectAndNull(const FieldId& field) { ws.makeProtectedAndSetNull(field); }
double IntDivWorksheetCalc::amount(const FieldId& field) const { return ws.getIR(field); }

void IntDivWorksheetCalc::closeLine(const Line& line) {
  protectAndNull(line.total);
  protectAndNull(line.taxpayer);
  protectAndNull(line.spouse);
}

void IntDivWorksheetCalc::closeAmounts(const Line& line) {
  protectAndNull(line.taxpayer);
  protectAndNull(line.spouse);
  setNull(line.total);
}

void IntDivWorksheetCalc::defaultMark(const FieldId& a, const FieldId& b, const FieldId& c) {
  Utils::setDefaultX(holder, a, b, c);
}

void IntDivWorksheetCalc::clearRange(const FieldId& first, const FieldId& last) {
  engine.clearFormFields(kFormID_PAInterestDividendWorksheet, copy, first, last);
}

}  // namespace int_div
}  // namespace PACalculationMgmt
