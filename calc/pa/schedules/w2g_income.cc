// computeW2GIncome: the PA schedule of gambling and lottery winnings (state
// form 9341), one copy; the driver creates copy 1.
//
// Winnings come from the federal W-2G copies (hundredths), the copies of
// federal form 51 (winnings and losses, whole dollars), federal form 57 and
// federal form 2. Each amount is split between the taxpayer (T) and the
// spouse (S). A part-year resident or nonresident enters the part that is
// PA income and a second amount that limits it; a full-year resident gets
// both as protected copies of the winnings. The per-person net winnings
// feed Schedule G-L, their sum the PA-40.
//
// Fields the user may enter (the PA parts of the winnings, their
// reductions, the spouse's share of the form 57 amount, the form 2 split
// and the PA losses) keep their entries, limited on every calculation; a
// null entry counts as 0.
#include <cstdint>
#include <cstring>

#include "calc/pa/federal_owner.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/part_of_return.h"
#include "catalogs/fields/fields.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::TaxFormPtr;

namespace {

const int kTextSize = 128;

// A line of the schedule in its three columns: both filers, the taxpayer,
// the spouse.
using W2GField = NamedField<PAW2GIncomeFieldIds>;
struct Line {
  const W2GField& both;
  const W2GField& taxpayer;
  const W2GField& spouse;
};
constexpr Line kW2GWinnings = {PAW2GIncome::kW2GWinnings, PAW2GIncome::kTaxpayerW2GWinnings,
                               PAW2GIncome::kSpouseW2GWinnings};
constexpr Line kPAW2GWinnings = {PAW2GIncome::kPAW2GWinnings, PAW2GIncome::kTaxpayerPAW2GWinnings,
                                 PAW2GIncome::kSpousePAW2GWinnings};
constexpr Line kW2GReduction = {PAW2GIncome::kW2GReduction, PAW2GIncome::kTaxpayerW2GReduction,
                                PAW2GIncome::kSpouseW2GReduction};
constexpr Line kW2GRemainder = {PAW2GIncome::kW2GRemainder, PAW2GIncome::kTaxpayerW2GRemainder,
                                PAW2GIncome::kSpouseW2GRemainder};
constexpr Line kPartnershipWinnings = {PAW2GIncome::kPartnershipWinnings,
                                       PAW2GIncome::kTaxpayerPartnershipWinnings,
                                       PAW2GIncome::kSpousePartnershipWinnings};
constexpr Line kFed57Winnings = {PAW2GIncome::kFed57Winnings, PAW2GIncome::kTaxpayerFed57Winnings,
                                 PAW2GIncome::kSpouseFed57Winnings};
constexpr Line kOtherWinnings = {PAW2GIncome::kOtherWinnings, PAW2GIncome::kTaxpayerOtherWinnings,
                                 PAW2GIncome::kSpouseOtherWinnings};
constexpr Line kPAOtherWinnings = {PAW2GIncome::kPAOtherWinnings, PAW2GIncome::kTaxpayerPAOtherWinnings,
                                   PAW2GIncome::kSpousePAOtherWinnings};
constexpr Line kOtherReduction = {PAW2GIncome::kOtherReduction, PAW2GIncome::kTaxpayerOtherReduction,
                                  PAW2GIncome::kSpouseOtherReduction};
constexpr Line kOtherRemainder = {PAW2GIncome::kOtherRemainder, PAW2GIncome::kTaxpayerOtherRemainder,
                                  PAW2GIncome::kSpouseOtherRemainder};
constexpr Line kPartnershipLosses = {PAW2GIncome::kPartnershipLosses, PAW2GIncome::kTaxpayerPartnershipLosses,
                                     PAW2GIncome::kSpousePartnershipLosses};
constexpr Line kFed2Amount = {PAW2GIncome::kFed2Amount, PAW2GIncome::kTaxpayerFed2Amount,
                              PAW2GIncome::kSpouseFed2Amount};
constexpr Line kLosses = {PAW2GIncome::kLosses, PAW2GIncome::kTaxpayerLosses, PAW2GIncome::kSpouseLosses};
constexpr Line kPALosses = {PAW2GIncome::kPALosses, PAW2GIncome::kTaxpayerPALosses,
                            PAW2GIncome::kSpousePALosses};
constexpr Line kLossesCarried = {PAW2GIncome::kLossesCarried, PAW2GIncome::kTaxpayerLossesCarried,
                                 PAW2GIncome::kSpouseLossesCarried};

// The entries the calculation leaves to the user but in some situations,
// besides the fields the table marks: the PA parts and PA losses, which it
// copies from the federal amounts for a full-year resident; and the form 2
// amount and the taxpayer's part of it, which it takes from the federal
// return when that has one.
const W2GField kPAPartEntries[] = {
    PAW2GIncome::kTaxpayerPAW2GWinnings,   PAW2GIncome::kSpousePAW2GWinnings, PAW2GIncome::kTaxpayerPAOtherWinnings,
    PAW2GIncome::kSpousePAOtherWinnings,   PAW2GIncome::kPALosses,            PAW2GIncome::kTaxpayerPALosses,
    PAW2GIncome::kSpousePALosses,
};
const W2GField kForm2Entries[] = {PAW2GIncome::kFed2Amount, PAW2GIncome::kTaxpayerFed2Amount};

bool holdsUserEntries(const DataMgmt::TaxForm& form, bool fullYear) {
  return holdsUserEntry(form, PAW2GIncome::kUserFields) || (!fullYear && holdsAnyOf(form, kPAPartEntries)) ||
         (form.xMarked(PAW2GIncome::kFed2AmountZeroBox) && holdsAnyOf(form, kForm2Entries));
}

// An amount of both filers.
struct Split {
  double taxpayer = 0;
  double spouse = 0;
};

// The owner of W-2G copy `c`: its marks, the taxpayer's when it has none.
FederalOwner w2gOwner(DataMgmt::TaxReturn& federal, uint16_t c, bool joint) {
  const OwnerMarks marks = readOwnerMarks(federal, kFormID_FedW2G, c, FedW2G::kTaxpayerBox, FedW2G::kSpouseBox);
  return federalCopyOwner(marks, joint, FederalOwner::kTaxpayer);
}

// The owner of form 51 copy `c`: its marks, on a joint return the
// spouse's when it has none.
FederalOwner form51Owner(DataMgmt::TaxReturn& federal, uint16_t c, bool joint) {
  const OwnerMarks marks = readOwnerMarks(federal, kFormID_Fed51, c, Fed51::kTaxpayerBox, Fed51::kSpouseBox);
  return federalCopyOwner(marks, joint, FederalOwner::kSpouse);
}

using OwnerRule = FederalOwner (*)(DataMgmt::TaxReturn&, uint16_t, bool);

// Sums `amount` / divisor over the existing copies of a federal form, each
// to the person `owner` names; a copy of nobody is left out. `count`, when
// given, receives the number of copies counted.
Split sumByOwner(DataMgmt::TaxReturn& federal, const DataMgmt::FormId& form, OwnerRule owner, bool joint,
                 const FieldId& amount, double divisor, int* count) {
  Split sum;
  int copies = 0;
  const unsigned last = federal.getMaxCopies(form);
  for (unsigned n = 1; n <= last; ++n) {
    const uint16_t c = static_cast<uint16_t>(n);
    TaxFormPtr copy = federal.getFormUVPtr(form, c, false);
    if (copy.isNull()) continue;
    const FederalOwner who = owner(federal, c, joint);
    if (who == FederalOwner::kNone) continue;
    const double value = static_cast<double>(federal.getIN(form, c, amount)) / divisor;
    (who == FederalOwner::kTaxpayer ? sum.taxpayer : sum.spouse) += value;
    ++copies;
  }
  if (count != nullptr) *count = copies;
  return sum;
}

// The copy in hand with the schedule's entry rules.
class Schedule {
 public:
  explicit Schedule(DataMgmt::TaxForm& form) : form_(form) {}

  double value(const FieldId& f) const { return form_.getIR(f); }
  void assign(const FieldId& f, double v) { form_.assignIR(f, v); }
  void copy(const FieldId& target, const FieldId& source) { form_.assignII(target, source); }
  void null(const FieldId& f) { form_.setNull(f); }
  void sum(const FieldId& target, const FieldId& a, const FieldId& b) { form_.plus2(target, a, b); }
  void differenceNotBelow0(const FieldId& target, const FieldId& a, const FieldId& b) {
    form_.minusIIge0(target, a, b);
  }
  void protect(const FieldId& f) { form_.makeProtected(f); }
  void unprotect(const FieldId& f) { form_.unProtect(f); }
  // Opens an entry of the user's. A value the calculation wrote while the
  // entry was closed (its copy of an amount that is no more, a status or
  // residency ago) is no entry of the user's: it goes as the entry opens.
  void open(const FieldId& f) { form_.unprotectAndMaybeSetNull(f); }
  void protectAndNull(const FieldId& f) { form_.makeProtectedAndSetNull(f); }
  void protectAndAssign(const FieldId& f, double v) {
    form_.makeProtected(f);
    assign(f, v);
  }
  void protectAndCopy(const FieldId& target, const FieldId& source) {
    form_.makeProtected(target);
    copy(target, source);
  }
  void protectAndCopy(const Line& target, const Line& source) {
    protectAndCopy(target.both, source.both);
    protectAndCopy(target.taxpayer, source.taxpayer);
    protectAndCopy(target.spouse, source.spouse);
  }
  // Opens the entry and keeps it at most `limit`.
  void limitTo(const FieldId& f, double limit) {
    open(f);
    form_.minIR(f, f, limit);
  }
  void limitTo(const FieldId& f, const FieldId& limit) {
    open(f);
    form_.minII(f, f, limit);
  }
  // Opens and limits the entry while `open`, else protects and nulls it.
  void limitOrClose(const FieldId& f, bool open, double limit) {
    open ? limitTo(f, limit) : protectAndNull(f);
  }
  void limitOrClose(const FieldId& f, bool open, const FieldId& limit) {
    open ? limitTo(f, limit) : protectAndNull(f);
  }
  void mark(const FieldId& f, bool marked) { marked ? form_.setX(f) : form_.setXNo(f); }

  // A line of both filers from their split: the sum on a joint return,
  // else the taxpayer's amount, whose spouse column is null.
  void assignSplit(const Line& line, const Split& split, bool joint) {
    assign(line.both, joint ? split.taxpayer + split.spouse : split.taxpayer);
    assign(line.taxpayer, split.taxpayer);
    if (joint) {
      assign(line.spouse, split.spouse);
    } else {
      null(line.spouse);
    }
  }
  // Each filer's reduction of a PA line (open while that filer's flag
  // says so, at most the PA amount) and what remains, never below 0.
  void reduce(const Line& pa, const Line& reduction, const Line& remainder, bool taxpayerOpen,
              bool spouseOpen) {
    limitOrClose(reduction.taxpayer, taxpayerOpen, pa.taxpayer);
    limitOrClose(reduction.spouse, spouseOpen, pa.spouse);
    sum(reduction.both, reduction.taxpayer, reduction.spouse);
    differenceNotBelow0(remainder.both, pa.both, reduction.both);
    differenceNotBelow0(remainder.taxpayer, pa.taxpayer, reduction.taxpayer);
    differenceNotBelow0(remainder.spouse, pa.spouse, reduction.spouse);
  }

 private:
  DataMgmt::TaxForm& form_;
};

// W-2G winnings (federal hundredths), the PA part of them, its reduction
// and what remains.
void fillW2GWinnings(Schedule& w, DataMgmt::TaxReturn& federal, bool joint, bool fullYear) {
  int count = 0;
  const Split w2g = sumByOwner(federal, kFormID_FedW2G, w2gOwner, joint, FedW2G::kWinnings, 100.0, &count);
  // The count of this run's copies: none leaves no count of an earlier run.
  if (count > 0) {
    w.assign(PAW2GIncome::kW2GCount, count);
  } else {
    w.null(PAW2GIncome::kW2GCount);
  }
  w.assignSplit(kW2GWinnings, w2g, joint);
  if (!fullYear) {
    w.limitOrClose(kPAW2GWinnings.taxpayer, w2g.taxpayer > 0, w2g.taxpayer);
    w.limitOrClose(kPAW2GWinnings.spouse, w2g.spouse > 0, w2g.spouse);
  } else {
    w.protectAndAssign(kPAW2GWinnings.taxpayer, w2g.taxpayer);
    w.protectAndAssign(kPAW2GWinnings.spouse, w2g.spouse);
  }
  w.sum(kPAW2GWinnings.both, kPAW2GWinnings.taxpayer, kPAW2GWinnings.spouse);
  w.reduce(kPAW2GWinnings, kW2GReduction, kW2GRemainder, w2g.taxpayer > 0, joint && w2g.spouse > 0);
  w.copy(PAW2GIncome::kTaxpayerW2GRemainderCarried, kW2GRemainder.taxpayer);
  w.copy(PAW2GIncome::kSpouseW2GRemainderCarried, kW2GRemainder.spouse);
}

// Other winnings: form 51 and form 57, the PA part of them, its
// reduction and what remains; then each filer's winnings before losses.
void fillOtherWinnings(Schedule& w, DataMgmt::TaxReturn& federal, bool joint, bool fullYear) {
  w.assignSplit(
      kPartnershipWinnings,
      sumByOwner(federal, kFormID_Fed51, form51Owner, joint, Fed51::kGamblingWinnings, 1.0, nullptr), joint);
  const long form57 = federal.getIN(kFormID_Fed57, 1, Fed57::kOtherGamblingWinnings);
  if (form57 > 0) {
    w.assign(PAW2GIncome::kFed57WinningsRead, form57);
    w.assign(kFed57Winnings.both, form57);
    if (joint) {
      w.limitTo(kFed57Winnings.spouse, kFed57Winnings.both);
      w.differenceNotBelow0(kFed57Winnings.taxpayer, kFed57Winnings.both, kFed57Winnings.spouse);
    } else {
      w.protectAndCopy(kFed57Winnings.taxpayer, kFed57Winnings.both);
      w.protectAndNull(kFed57Winnings.spouse);
    }
  } else {
    // No form 57 amount (any more): none of it stays in the other winnings.
    w.null(PAW2GIncome::kFed57WinningsRead);
    w.null(kFed57Winnings.both);
    w.protectAndNull(kFed57Winnings.taxpayer);
    w.protectAndNull(kFed57Winnings.spouse);
  }
  w.sum(kOtherWinnings.both, kPartnershipWinnings.both, kFed57Winnings.both);
  w.sum(kOtherWinnings.taxpayer, kPartnershipWinnings.taxpayer, kFed57Winnings.taxpayer);
  w.sum(kOtherWinnings.spouse, kPartnershipWinnings.spouse, kFed57Winnings.spouse);
  if (!fullYear) {
    w.limitOrClose(kPAOtherWinnings.taxpayer, w.value(kOtherWinnings.both) > 0, kOtherWinnings.taxpayer);
    w.limitOrClose(kPAOtherWinnings.spouse, w.value(kOtherWinnings.spouse) > 0, kOtherWinnings.spouse);
    w.sum(kPAOtherWinnings.both, kPAOtherWinnings.taxpayer, kPAOtherWinnings.spouse);
  } else {
    w.copy(kPAOtherWinnings.both, kOtherWinnings.both);
    w.protectAndCopy(kPAOtherWinnings.taxpayer, kOtherWinnings.taxpayer);
    w.protectAndCopy(kPAOtherWinnings.spouse, kOtherWinnings.spouse);
  }
  w.reduce(kPAOtherWinnings, kOtherReduction, kOtherRemainder, w.value(kPAOtherWinnings.taxpayer) > 0,
           joint && w.value(kPAOtherWinnings.spouse) > 0);
  w.copy(PAW2GIncome::kTaxpayerOtherRemainderCarried, kOtherRemainder.taxpayer);
  w.copy(PAW2GIncome::kSpouseOtherRemainderCarried, kOtherRemainder.spouse);
  w.sum(PAW2GIncome::kTaxpayerWinningsBeforeLosses, PAW2GIncome::kTaxpayerW2GRemainderCarried,
        PAW2GIncome::kTaxpayerOtherRemainderCarried);
  w.sum(PAW2GIncome::kSpouseWinningsBeforeLosses, PAW2GIncome::kSpouseW2GRemainderCarried,
        PAW2GIncome::kSpouseOtherRemainderCarried);
}

// Losses: form 51 (entered positive, taken as negatives) and the form 2
// amount, which the user enters and splits when the federal return has
// none. What the calculation fills from the federal amount it closes, so
// that it goes once the federal amount does (or the status changes) and
// the entries open.
void fillLosses(Schedule& w, TaxFormPtr form, DataMgmt::TaxReturn& federal, bool joint) {
  const Split losses =
      sumByOwner(federal, kFormID_Fed51, form51Owner, joint, Fed51::kGamblingLosses, 1.0, nullptr);
  if (joint) {
    w.assign(kPartnershipLosses.taxpayer, losses.taxpayer * -1.0);
    w.assign(kPartnershipLosses.spouse, losses.spouse * -1.0);
    w.sum(kPartnershipLosses.both, kPartnershipLosses.taxpayer, kPartnershipLosses.spouse);
  } else {
    w.assign(kPartnershipLosses.both, losses.taxpayer * -1.0);
    w.copy(kPartnershipLosses.taxpayer, kPartnershipLosses.both);
    w.null(kPartnershipLosses.spouse);
  }
  const long form2 = federal.getIN(kFormID_Fed2, 1, Fed2::kGamblingLosses);
  if (form2 != 0) {
    w.assign(PAW2GIncome::kFed2AmountRead, form2);
    if (joint) {
      w.limitTo(kFed2Amount.spouse, form2);
      w.protect(kFed2Amount.taxpayer);
      w.differenceNotBelow0(kFed2Amount.taxpayer, PAW2GIncome::kFed2AmountRead, kFed2Amount.spouse);
      w.protect(kFed2Amount.both);
      w.sum(kFed2Amount.both, kFed2Amount.taxpayer, kFed2Amount.spouse);
    } else {
      w.protectAndAssign(kFed2Amount.both, form2);
      w.protectAndCopy(kFed2Amount.taxpayer, kFed2Amount.both);
      w.protectAndNull(kFed2Amount.spouse);
    }
    w.mark(PAW2GIncome::kFed2AmountZeroBox, false);
    w.protectAndNull(PAW2GIncome::kTaxpayerSplitBox);
    w.protectAndNull(PAW2GIncome::kSpouseSplitBox);
  } else {
    // No form 2 amount (any more): none of it stays as read.
    w.null(PAW2GIncome::kFed2AmountRead);
    w.mark(PAW2GIncome::kFed2AmountZeroBox, true);
    w.unprotect(PAW2GIncome::kTaxpayerSplitBox);
    w.unprotect(PAW2GIncome::kSpouseSplitBox);
    Utils::setDefaultX(form, PAW2GIncome::kSpouseSplitBox, PAW2GIncome::kSpouseSplitBox,
                       PAW2GIncome::kTaxpayerSplitBox);
    if (joint) {
      w.protect(kFed2Amount.both);
      w.open(kFed2Amount.taxpayer);
      w.open(kFed2Amount.spouse);
      w.sum(kFed2Amount.both, kFed2Amount.taxpayer, kFed2Amount.spouse);
    } else {
      w.open(kFed2Amount.both);
      w.protectAndCopy(kFed2Amount.taxpayer, kFed2Amount.both);
      w.protectAndNull(kFed2Amount.spouse);
    }
  }
  w.sum(kLosses.both, kFed2Amount.both, kPartnershipLosses.both);
  w.sum(kLosses.taxpayer, kFed2Amount.taxpayer, kPartnershipLosses.taxpayer);
  if (joint) {
    w.sum(kLosses.spouse, kFed2Amount.spouse, kPartnershipLosses.spouse);
  } else {
    w.protectAndNull(kLosses.spouse);
  }
}

// The PA part of the losses (the joint tests accept 0), the losses used
// and each filer's net winnings with their sum. A full-year resident's PA
// losses are closed copies of the losses, which go once the entries open
// to a part-year resident or nonresident.
void fillNetWinnings(Schedule& w, bool joint, bool fullYear) {
  if (fullYear) {
    w.protectAndCopy(kPALosses, kLosses);
  } else if (w.value(kLosses.both) > 0 && joint) {
    w.limitOrClose(kPALosses.spouse, w.value(kLosses.spouse) >= 0, kLosses.spouse);
    w.limitOrClose(kPALosses.taxpayer, w.value(kLosses.taxpayer) >= 0, kLosses.taxpayer);
    w.protect(kPALosses.both);
    w.sum(kPALosses.both, kPALosses.taxpayer, kPALosses.spouse);
  } else if (w.value(kLosses.both) > 0) {
    w.limitTo(kPALosses.both, kLosses.both);
    w.protectAndCopy(kPALosses.taxpayer, kPALosses.both);
    w.protectAndNull(kPALosses.spouse);
  } else {
    w.protectAndNull(kPALosses.both);
    w.protectAndNull(kPALosses.taxpayer);
    w.protectAndNull(kPALosses.spouse);
  }
  w.copy(kLossesCarried.both, kPALosses.both);
  w.copy(kLossesCarried.taxpayer, kPALosses.taxpayer);
  if (joint) {
    w.copy(kLossesCarried.spouse, kPALosses.spouse);
  } else {
    w.null(kLossesCarried.spouse);
  }
  w.copy(PAW2GIncome::kTaxpayerLossesUsed, kLossesCarried.taxpayer);
  w.copy(PAW2GIncome::kSpouseLossesUsed, kLossesCarried.spouse);
  w.differenceNotBelow0(PAW2GIncome::kTaxpayerNetWinnings, PAW2GIncome::kTaxpayerWinningsBeforeLosses,
                        PAW2GIncome::kTaxpayerLossesUsed);
  w.differenceNotBelow0(PAW2GIncome::kSpouseNetWinnings, PAW2GIncome::kSpouseWinningsBeforeLosses,
                        PAW2GIncome::kSpouseLossesUsed);
  w.sum(PAW2GIncome::kNetWinnings, PAW2GIncome::kTaxpayerNetWinnings, PAW2GIncome::kSpouseNetWinnings);
}

// The winnings box and amount: marked when either filer has winnings or
// losses.
void markWinnings(Schedule& w, bool joint) {
  const double taxpayer = w.value(kOtherWinnings.taxpayer) + w.value(kW2GWinnings.taxpayer);
  const double spouse = w.value(kOtherWinnings.spouse) + w.value(kW2GWinnings.spouse);
  const double taxpayerLosses = w.value(kLosses.taxpayer);
  const double spouseLosses = w.value(kLosses.spouse);
  if (taxpayer > 0 || spouse > 0 || taxpayerLosses > 0 || spouseLosses > 0) {
    w.mark(PAW2GIncome::kWinningsBox, true);
    w.assign(PAW2GIncome::kWinnings,
             joint ? taxpayer + spouse + taxpayerLosses + spouseLosses : taxpayer + taxpayerLosses);
  } else {
    w.mark(PAW2GIncome::kWinningsBox, false);
    w.null(PAW2GIncome::kWinnings);
  }
}

// W-2G winnings won in PA (federal hundredths). A copy without a state
// text counts for a resident or part-year resident, not for a nonresident.
double winningsWonInPA(DataMgmt::TaxReturn& federal, bool joint, int residency) {
  double wonInPA = 0;
  const unsigned last = federal.getMaxCopies(kFormID_FedW2G);
  for (unsigned n = 1; n <= last; ++n) {
    const uint16_t c = static_cast<uint16_t>(n);
    TaxFormPtr w2g = federal.getFormUVPtr(kFormID_FedW2G, c, false);
    if (w2g.isNull()) continue;
    const long stateWinnings = federal.getIN(kFormID_FedW2G, c, FedW2G::kStateWinnings);
    if (stateWinnings == 0) continue;
    if (federal.formYes(kFormID_FedW2G, c, FedW2G::kSpouseBox) && !joint) continue;
    char state[kTextSize];
    federal.formString(state, sizeof state, kFormID_FedW2G, c, FedW2G::kState);
    const bool isPA = std::strcmp(state, "PA") == 0;
    const bool counts = residency == PADataMgmt::kNonresident
                            ? isPA
                            : isPA || !federal.hasSigValue(kFormID_FedW2G, c, FedW2G::kState);
    if (counts) wonInPA += static_cast<double>(stateWinnings) / 100.0;
  }
  return wonInPA;
}

}  // namespace

void PATaxReturnCalcEngine::computeW2GIncome(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr || federalReturn == nullptr) return;
  DataMgmt::TaxReturn& federal = *federalReturn;
  Schedule w(*form);
  const uint8_t filingStatus = paReturn->readFilingStatus(kFormID_PAReturnInfo);
  const bool joint = filingStatus == PADataMgmt::kFilingJoint;
  const int32_t residency = paReturn->readResidencyStatus(kFormID_PAReturnInfo);
  const bool fullYear = residency == PADataMgmt::kFullYearResident;
  const FieldId& none = Primitives::kNullFieldID;

  copyNameText(form, kFormID_PAReturnInfo, filingStatus, 0, PAW2GIncome::kFilerName, PAW2GIncome::kFilerSSN,
               none, none, none, none, none, none, none, 0);

  if (federal.getIN(kFormID_Fed57, 1, Fed57::kGamblingIncome) <= 0) {
    // No gambling income on the federal return. The net amounts after the
    // cleared range and the count of copies go too, so that the PA-40,
    // Schedule G-L and the data file keep nothing of an earlier calculation.
    clearFormFields(kFormID_PAW2GIncome, 1, kW2GWinnings.both, kLossesCarried.spouse);
    clearFormFields(kFormID_PAW2GIncome, 1, PAW2GIncome::kTaxpayerW2GRemainderCarried,
                    PAW2GIncome::kNetWinnings);
    w.null(PAW2GIncome::kW2GCount);
  } else {
    fillW2GWinnings(w, federal, joint, fullYear);
    fillOtherWinnings(w, federal, joint, fullYear);
    fillLosses(w, form, federal, joint);
    fillNetWinnings(w, joint, fullYear);
  }
  markWinnings(w, joint);
  w.assign(PAW2GIncome::kPAW2GWinningsWonInPA, winningsWonInPA(federal, joint, residency));

  const bool winnings = w.value(PAW2GIncome::kTaxpayerWinningsBeforeLosses) > 0 ||
                        w.value(PAW2GIncome::kSpouseWinningsBeforeLosses) > 0;
  markPartOfReturn(*paReturn, kFormID_PAW2GIncome, copy, *form, winnings,
                   [&] { return holdsUserEntries(*form, fullYear); });
}

}  // namespace PACalculationMgmt
