// The PA interest and dividend worksheet (state form 186): the routine's
// frame (nonresident exit, name items, the closing print decision) and the
// line patterns both halves use.
#include <cstddef>

#include "calc/pa/schedules/int_div_worksheet_calc.h"
#include "catalogs/catalogs.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::FormId;
using DataMgmt::TaxFormPtr;

namespace {

const int kFilingJoint = 2;
const int kResidencyFullYear = 0;
const int kResidencyPartYear = 1;
const int kResidencyNonresident = 2;

// Name items (members; host fields 3 and 4).
const int kNameFirst = 61;
const int kNameSecond = 62;

// The lines the closing step compares (members; host fields).
const int kSummaryInterest = 63;   // 155737
const int kGrossInterest = 72;     // 155746
const int kNetInterest = 163;      // 156268
const int kTotalInterest = 196;    // 219
const int kSummaryDividends = 199; // 156280
const int kNetDividends = 287;     // 156314
const int kTotalDividends = 322;   // 156327

// State summary groups 1-4: taxpayer and spouse members.
struct GroupMembers {
  int taxpayer;
  int spouse;
};
// State16FieldIds: fields 174/175, 178/179, 194/195, 190/191.
const GroupMembers kInterestGroupMembers[4] = {{173, 174}, {177, 178}, {193, 194}, {189, 190}};
// State17FieldIds: fields 174/175, 178/179, 186/187, 182/183.
const GroupMembers kDividendGroupMembers[4] = {{173, 174}, {177, 178}, {185, 186}, {181, 182}};

template <class Catalog>
int_div::SummaryGroups readGroups(const PADataMgmt::PATaxReturn& pa, const FormId& form,
                                  const Catalog& catalog, const GroupMembers (&members)[4]) {
  int_div::SummaryGroups groups;
  for (int k = 0; k < 4; ++k) {
    groups.taxpayer[k] = static_cast<double>(pa.getAllCopies(form, catalog[members[k].taxpayer]));
    groups.spouse[k] = static_cast<double>(pa.getAllCopies(form, catalog[members[k].spouse]));
  }
  return groups;
}

// No adjustment changed anything: the summary amounts run through to the
// totals unchanged, so the worksheet need not be printed.
bool worksheetAddsNothing(const DataMgmt::TaxForm& ws) {
  auto at = [&ws](int member) { return ws.getIR(kPAInterestDividendWorksheetFieldIds[member]); };
  const double interest = at(kSummaryInterest);
  const double totalInterest = at(kTotalInterest);
  const double dividends = at(kSummaryDividends);
  const double totalDividends = at(kTotalDividends);
  return interest == totalInterest && interest == at(kGrossInterest) && interest == at(kNetInterest) &&
         at(kNetInterest) == totalInterest && dividends == totalDividends &&
         dividends == at(kNetDividends) && at(kNetDividends) == totalDividends;
}

}  // namespace

void PATaxReturnCalcEngine::computeInterestDividendWorksheet(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr || getFederalReturn() == nullptr) return;
  const FormId& self = kFormID_PAInterestDividendWorksheet;

  if (paReturn->readResidencyStatus(kFormID_PAReturnInfo) == kResidencyNonresident) {
    // Nothing of a nonresident's interest or dividends is kept here.
    clearForm(self, 1);
  } else {
    copyNameText(form, kFormID_PAReturnInfo, paReturn->readFilingStatus(kFormID_PAReturnInfo), 0,
                 kPAInterestDividendWorksheetFieldIds[kNameFirst],
                 kPAInterestDividendWorksheetFieldIds[kNameSecond], Primitives::kNullFieldID,
                 Primitives::kNullFieldID, Primitives::kNullFieldID, Primitives::kNullFieldID,
                 Primitives::kNullFieldID, Primitives::kNullFieldID, Primitives::kNullFieldID, 0);
    int_div::IntDivWorksheetCalc calc(*this, *paReturn, *getFederalReturn(), form, copy);
    calc.computeInterest();
    calc.computeDividends();
  }

  if (worksheetAddsNothing(*form)) return;
  paReturn->setDataEntered(self, copy, true, false);
  form->setCalcMark(true);
  form->setPrintingEnabled(true);
}

namespace int_div {

IntDivWorksheetCalc::IntDivWorksheetCalc(PATaxReturnCalcEngine& engine, PADataMgmt::PATaxReturn& pa,
                                         DataMgmt::USTaxReturn& federal, TaxFormPtr form, uint16_t copy)
    : engine(engine), pa(pa), federal(federal), holder(form), ws(*form), copy(copy) {}

SummaryGroups IntDivWorksheetCalc::interestGroups() const {
  return readGroups(pa, kFormID_State16, kState16FieldIds, kInterestGroupMembers);
}

SummaryGroups IntDivWorksheetCalc::dividendGroups() const {
  return readGroups(pa, kFormID_State17, kState17FieldIds, kDividendGroupMembers);
}

bool IntDivWorksheetCalc::joint() const {
  return pa.readFilingStatus(kFormID_PAReturnInfo) == kFilingJoint;
}

bool IntDivWorksheetCalc::partYearResident() const {
  return pa.readResidencyStatus(kFormID_PAReturnInfo) == kResidencyPartYear;
}

bool IntDivWorksheetCalc::fullYearResident() const {
  return pa.readResidencyStatus(kFormID_PAReturnInfo) == kResidencyFullYear;
}

Owner IntDivWorksheetCalc::ownerOf(const FormId& form, uint16_t copy, const FieldId& taxpayerMark,
                                   const FieldId& spouseMark, const FieldId& jointMark) const {
  const bool spouse = federal.formYes(form, copy, spouseMark);
  if (spouse && !joint()) return Owner::kNone;
  if (federal.formYes(form, copy, taxpayerMark)) return Owner::kTaxpayer;
  if (spouse) return Owner::kSpouse;
  if (jointMark.isValid() && federal.formYes(form, copy, jointMark)) return Owner::kJoint;
  return Owner::kNone;
}

KindTotals IntDivWorksheetCalc::form51ByKind(int amountMember, bool wholeAmounts) const {
  KindTotals totals;
  forEachCopy(federal, kFormID_Fed51, [&](uint16_t c) {
    const Owner owner = ownerOf(kFormID_Fed51, c, kFed51FieldIds[kFed51Taxpayer], kFed51FieldIds[kFed51Spouse]);
    if (owner != Owner::kTaxpayer && owner != Owner::kSpouse) return;
    int kind = 0;
    if (!federal.formYes(kFormID_Fed51, c, kFed51FieldIds[kFed51FirstKind])) {
      if (!federal.formYes(kFormID_Fed51, c, kFed51FieldIds[kFed51SecondKind])) return;
      kind = 1;
    }
    const int person = owner == Owner::kTaxpayer ? 0 : 1;
    const DataMgmt::FieldId& amountField = kFed51FieldIds[amountMember];
    totals.amount[kind][person] += wholeAmounts ? static_cast<double>(federal.getIN(kFormID_Fed51, c, amountField))
                                                : federal.getIR(kFormID_Fed51, c, amountField);
    ++totals.count[kind][person];
  });
  return totals;
}

const FieldId& IntDivWorksheetCalc::field(int member) { return kPAInterestDividendWorksheetFieldIds[member]; }

void IntDivWorksheetCalc::splitFill(const Line& line, double t, double s) {
  set(line.taxpayer, t);
  if (joint()) {
    set(line.spouse, s);
  } else {
    setNull(line.spouse);
  }
  ws.plus2(field(line.total), field(line.taxpayer), field(line.spouse));
}

void IntDivWorksheetCalc::choiceBox(int yesBox, int noBox) {
  unprotect(yesBox);
  unprotect(noBox);
  defaultMark(noBox, noBox, yesBox);
}

void IntDivWorksheetCalc::overrideLine(int yesBox, const Line& asUsed, const Line& computed) {
  if (!ws.xMarked(field(yesBox))) {
    copyLine(computed, asUsed);
    return;
  }
  if (joint()) {
    unprotect(asUsed.taxpayer);
    unprotect(asUsed.spouse);
    ws.plus2(field(asUsed.total), field(asUsed.taxpayer), field(asUsed.spouse));
  } else {
    protectAndNull(asUsed.spouse);
    unprotect(asUsed.total);
    copyField(asUsed.total, asUsed.taxpayer);
    protect(asUsed.taxpayer);
  }
}

void IntDivWorksheetCalc::sum(int target, std::initializer_list<int> sources) {
  FieldId ids[kMaxSummands];  // empty ids read as 0
  std::size_t n = 0;
  for (int member : sources) {
    if (n < kMaxSummands) ids[n++] = field(member);
  }
  ws.setValueToSumOf(field(target), {ids[0], ids[1], ids[2], ids[3], ids[4], ids[5]});
}

void IntDivWorksheetCalc::sumLines(const Line& target, std::initializer_list<Line> sources) {
  int totals[kMaxSummands] = {};
  int taxpayers[kMaxSummands] = {};
  int spouses[kMaxSummands] = {};
  std::size_t n = 0;
  for (const Line& line : sources) {
    if (n == kMaxSummands) break;
    totals[n] = line.total;
    taxpayers[n] = line.taxpayer;
    spouses[n] = line.spouse;
    ++n;
  }
  auto column = [this, n](int sumMember, const int (&members)[kMaxSummands]) {
    FieldId ids[kMaxSummands];  // empty ids read as 0
    for (std::size_t k = 0; k < n; ++k) ids[k] = field(members[k]);
    ws.setValueToSumOf(field(sumMember), {ids[0], ids[1], ids[2], ids[3], ids[4], ids[5]});
  };
  column(target.total, totals);
  column(target.taxpayer, taxpayers);
  column(target.spouse, spouses);
}

void IntDivWorksheetCalc::copyLine(const Line& from, const Line& to) {
  copyField(from.total, to.total);
  copyField(from.taxpayer, to.taxpayer);
  copyField(from.spouse, to.spouse);
}

void IntDivWorksheetCalc::copyField(int from, int to) { ws.assignII(field(to), field(from)); }

void IntDivWorksheetCalc::openAndLimit(int member, double limit) {
  unprotect(member);
  ws.minIR(field(member), field(member), limit);
}

void IntDivWorksheetCalc::limitToField(int member, int limitMember) {
  ws.minII(field(member), field(member), field(limitMember));
}

void IntDivWorksheetCalc::remainder(int target, int from, int less) {
  ws.minusIIge0(field(target), field(from), field(less));
}

void IntDivWorksheetCalc::plus(int target, int a, int b) { ws.plus2(field(target), field(a), field(b)); }

void IntDivWorksheetCalc::enteredSplit(const Line& line) {
  if (joint()) {
    unprotect(line.taxpayer);
    unprotect(line.spouse);
    ws.plus2(field(line.total), field(line.taxpayer), field(line.spouse));
  } else {
    unprotect(line.total);
    copyField(line.total, line.taxpayer);
    protectAndNull(line.spouse);
  }
}

void IntDivWorksheetCalc::set(int member, double value) { ws.assignIR(field(member), value); }
void IntDivWorksheetCalc::setNull(int member) { ws.setNull(field(member)); }
void IntDivWorksheetCalc::protect(int member) { ws.makeProtected(field(member)); }
void IntDivWorksheetCalc::unprotect(int member) { ws.unProtect(field(member)); }
void IntDivWorksheetCalc::protectAndNull(int member) { ws.makeProtectedAndSetNull(field(member)); }
double IntDivWorksheetCalc::amount(int member) const { return ws.getIR(field(member)); }

void IntDivWorksheetCalc::defaultMark(int a, int b, int c) {
  Utils::setDefaultX(holder, field(a), field(b), field(c));
}

void IntDivWorksheetCalc::clearRange(int first, int last) {
  engine.clearFormFields(kFormID_PAInterestDividendWorksheet, copy, field(first), field(last));
}

}  // namespace int_div
}  // namespace PACalculationMgmt
