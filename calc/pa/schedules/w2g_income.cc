// computeW2GIncome: the PA schedule of gambling and lottery winnings (state
// form 9341), one copy; the driver creates copy 1.
//
// Winnings come from the federal W-2G copies (hundredths), the copies of
// federal form 51 (winnings and losses, whole dollars), federal form 57 and
// federal form 2. Each amount is split between the taxpayer (T) and the
// spouse (S). A part-year resident or nonresident enters the part that is
// PA income and a second amount that limits it; a full-year resident gets
// both as protected copies of the winnings. The per-person net winnings
// (9677, 9678) feed Schedule G-L, their sum (11774) the PA-40.
//
// Fields the user may enter (9620, 9621, 9623, 9624, 9633, 9639, 9640,
// 9642, 9643, 9651, 9652, 9660-9662) keep their entries, limited on every
// calculation; a null entry counts as 0.
#include <cstdint>
#include <cstring>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::TaxFormPtr;

namespace {

// Schedule fields: PAW2GIncomeFieldIds members, named by host field.
enum Field : int {
  w9609 = 0, w9610 = 1, w9611 = 2, w9612 = 3, w9613 = 4,
  w9616 = 5, w9617 = 6, w9618 = 7, w9619 = 8, w9620 = 9, w9621 = 10, w9622 = 11, w9623 = 12,
  w9624 = 13, w9625 = 14, w9626 = 15, w9627 = 16, w9628 = 17, w9629 = 18, w9630 = 19, w9631 = 20,
  w9632 = 21, w9633 = 22, w9634 = 23, w9635 = 24, w9636 = 25, w9637 = 26, w9638 = 27, w9639 = 28,
  w9640 = 29, w9641 = 30, w9642 = 31, w9643 = 32, w9644 = 33, w9645 = 34, w9646 = 35, w9647 = 36,
  w9648 = 37, w9649 = 38, w9650 = 39, w9651 = 40, w9652 = 41, w9653 = 42, w9654 = 43, w9655 = 44,
  w9656 = 45, w9657 = 46, w9658 = 47, w9659 = 48, w9660 = 49, w9661 = 50, w9662 = 51,
  w9666 = 52, w9667 = 53, w9668 = 54, w9669 = 55, w9670 = 56, w9671 = 57, w9672 = 58, w9673 = 59,
  w9674 = 60, w9675 = 61, w9676 = 62, w9677 = 63, w9678 = 64, w11774 = 65, w50651 = 66,
};

const FieldId& id(Field f) { return kPAW2GIncomeFieldIds[f]; }

// Federal fields read.
const FieldId& w2gTaxpayerMark() { return kFedW2GFieldIds[6]; }   // 1
const FieldId& w2gSpouseMark() { return kFedW2GFieldIds[7]; }     // 2
const FieldId& w2gWinnings() { return kFedW2GFieldIds[31]; }      // 12, hundredths
const FieldId& w2gStateWinnings() { return kFedW2GFieldIds[46]; } // 25, hundredths
const FieldId& w2gStateText() { return kFedW2GFieldIds[44]; }     // 28
const FieldId& form51TaxpayerMark() { return kFed51FieldIds[288]; }  // 366
const FieldId& form51Winnings() { return kFed51FieldIds[361]; }      // 173
const FieldId& form51Losses() { return kFed51FieldIds[363]; }        // 174, entered positive
const FieldId& form57Gate() { return kFed57FieldIds[200]; }          // 79
const FieldId& form57Amount() { return kFed57FieldIds[198]; }        // 164
const FieldId& form2Amount() { return kFed2FieldIds[283]; }          // 67

const int kTextSize = 128;

// An amount of both filers.
struct Split {
  double taxpayer = 0;
  double spouse = 0;
};

// Who a federal copy counts for.
enum class Owner { kTaxpayer, kSpouse, kNobody };

// The owner of W-2G copy `c`: marked for the taxpayer, else marked for the
// spouse (only a joint return has one), else unmarked, the taxpayer's.
Owner w2gOwner(DataMgmt::TaxReturn& federal, const DataMgmt::TaxForm& copy, uint16_t c, bool joint) {
  if (copy.xMarked(w2gTaxpayerMark())) return Owner::kTaxpayer;
  if (federal.formYes(kFormID_FedW2G, c, w2gSpouseMark())) return joint ? Owner::kSpouse : Owner::kNobody;
  return Owner::kTaxpayer;
}

// The owner of form 51 copy `c`: the taxpayer when marked, else the spouse.
Owner form51Owner(DataMgmt::TaxReturn&, const DataMgmt::TaxForm& copy, uint16_t, bool) {
  return copy.xMarked(form51TaxpayerMark()) ? Owner::kTaxpayer : Owner::kSpouse;
}

using OwnerRule = Owner (*)(DataMgmt::TaxReturn&, const DataMgmt::TaxForm&, uint16_t, bool);

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
    const Owner who = owner(federal, *copy, c, joint);
    if (who == Owner::kNobody) continue;
    const double value = static_cast<double>(federal.getIN(form, c, amount)) / divisor;
    (who == Owner::kTaxpayer ? sum.taxpayer : sum.spouse) += value;
    ++copies;
  }
  if (count != nullptr) *count = copies;
  return sum;
}

// The copy in hand with the schedule's entry rules.
class Schedule {
 public:
  explicit Schedule(DataMgmt::TaxForm& form) : form_(form) {}

  double value(Field f) const { return form_.getIR(id(f)); }
  void assign(Field f, double v) { form_.assignIR(id(f), v); }
  void copy(Field target, Field source) { form_.assignII(id(target), id(source)); }
  void null(Field f) { form_.setNull(id(f)); }
  void sum(Field target, Field a, Field b) { form_.plus2(id(target), id(a), id(b)); }
  void differenceNotBelow0(Field target, Field a, Field b) { form_.minusIIge0(id(target), id(a), id(b)); }
  void protect(Field f) { form_.makeProtected(id(f)); }
  void unprotect(Field f) { form_.unProtect(id(f)); }
  void protectAndNull(Field f) { form_.makeProtectedAndSetNull(id(f)); }
  void protectAndAssign(Field f, double v) {
    form_.makeProtected(id(f));
    assign(f, v);
  }
  void protectAndCopy(Field target, Field source) {
    form_.makeProtected(id(target));
    copy(target, source);
  }
  // Opens the entry and keeps it at most `limit`.
  void limitTo(Field f, double limit) {
    form_.unProtect(id(f));
    form_.minIR(id(f), id(f), limit);
  }
  void limitTo(Field f, Field limit) {
    form_.unProtect(id(f));
    form_.minII(id(f), id(f), id(limit));
  }
  // Opens and limits the entry while `open`, else protects and nulls it.
  void limitOrClose(Field f, bool open, double limit) { open ? limitTo(f, limit) : protectAndNull(f); }
  void limitOrClose(Field f, bool open, Field limit) { open ? limitTo(f, limit) : protectAndNull(f); }
  void mark(Field f, bool marked) { marked ? form_.setX(id(f)) : form_.setXNo(id(f)); }

 private:
  DataMgmt::TaxForm& form_;
};

}  // namespace

void PATaxReturnCalcEngine::computeW2GIncome(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr || federalReturn == nullptr) return;
  DataMgmt::TaxReturn& federal = *federalReturn;
  Schedule w(*form);
  const uint8_t filingStatus = paReturn->readFilingStatus(kFormID_PAReturnInfo);
  const bool joint = filingStatus == 2;
  const int32_t residency = paReturn->readResidencyStatus(kFormID_PAReturnInfo);
  const FieldId& none = Primitives::kNullFieldID;

  copyNameText(form, kFormID_PAReturnInfo, filingStatus, 0, id(w9612), id(w9613), none, none, none, none, none,
               none, none, 0);

  if (federal.getIN(kFormID_Fed57, 1, form57Gate()) <= 0) {
    // No gambling income on the federal return. The net amounts after the
    // cleared range go too, so that the PA-40 and Schedule G-L do not keep
    // winnings of an earlier calculation.
    clearFormFields(kFormID_PAW2GIncome, 1, id(w9616), id(w9668));
    clearFormFields(kFormID_PAW2GIncome, 1, id(w9669), id(w11774));
  } else {
    // W-2G winnings and the PA part of them.
    int count = 0;
    const Split w2g = sumByOwner(federal, kFormID_FedW2G, w2gOwner, joint, w2gWinnings(), 100.0, &count);
    if (count > 0) w.assign(w9609, count);
    w.assign(w9616, joint ? w2g.taxpayer + w2g.spouse : w2g.taxpayer);
    w.assign(w9617, w2g.taxpayer);
    if (joint) {
      w.assign(w9618, w2g.spouse);
    } else {
      w.null(w9618);
    }
    if (residency != 0) {
      w.limitOrClose(w9620, w2g.taxpayer > 0, w2g.taxpayer);
      w.limitOrClose(w9621, w2g.spouse > 0, w2g.spouse);
    } else {
      w.protectAndAssign(w9620, w2g.taxpayer);
      w.protectAndAssign(w9621, w2g.spouse);
    }
    w.sum(w9619, w9620, w9621);
    w.limitOrClose(w9623, w2g.taxpayer > 0, w9620);
    w.limitOrClose(w9624, joint && w2g.spouse > 0, w9621);
    w.sum(w9622, w9623, w9624);
    w.differenceNotBelow0(w9625, w9619, w9622);
    w.differenceNotBelow0(w9626, w9620, w9623);
    w.differenceNotBelow0(w9627, w9621, w9624);
    w.copy(w9669, w9626);
    w.copy(w9670, w9627);

    // Other winnings: form 51 and form 57.
    const Split f51 =
        sumByOwner(federal, kFormID_Fed51, form51Owner, joint, form51Winnings(), 1.0, nullptr);
    w.assign(w9628, joint ? f51.taxpayer + f51.spouse : f51.taxpayer);
    w.assign(w9629, f51.taxpayer);
    if (joint) {
      w.assign(w9630, f51.spouse);
    } else {
      w.null(w9630);
    }
    const long form57 = federal.getIN(kFormID_Fed57, 1, form57Amount());
    if (form57 > 0) {
      w.assign(w9634, form57);
      w.assign(w9631, form57);
      if (joint) {
        w.limitTo(w9633, w9631);
        w.differenceNotBelow0(w9632, w9631, w9633);
      } else {
        w.protectAndCopy(w9632, w9631);
        w.protectAndNull(w9633);
      }
    } else {
      // No form 57 amount (any more): none of it stays in the other winnings.
      w.null(w9634);
      w.null(w9631);
      w.protectAndNull(w9632);
      w.protectAndNull(w9633);
    }
    w.sum(w9635, w9628, w9631);
    w.sum(w9636, w9629, w9632);
    w.sum(w9637, w9630, w9633);
    if (residency != 0) {
      w.limitOrClose(w9639, w.value(w9635) > 0, w9636);
      w.limitOrClose(w9640, w.value(w9637) > 0, w9637);
      w.sum(w9638, w9639, w9640);
    } else {
      w.copy(w9638, w9635);
      w.protectAndCopy(w9639, w9636);
      w.protectAndCopy(w9640, w9637);
    }
    w.limitOrClose(w9642, w.value(w9639) > 0, w9639);
    w.limitOrClose(w9643, joint && w.value(w9640) > 0, w9640);
    w.sum(w9641, w9642, w9643);
    w.differenceNotBelow0(w9644, w9638, w9641);
    w.differenceNotBelow0(w9645, w9639, w9642);
    w.differenceNotBelow0(w9646, w9640, w9643);
    w.copy(w9671, w9645);
    w.copy(w9672, w9646);
    w.sum(w9673, w9669, w9671);
    w.sum(w9674, w9670, w9672);

    // Losses: form 51 (as negatives) and the form 2 amount.
    const Split losses =
        sumByOwner(federal, kFormID_Fed51, form51Owner, joint, form51Losses(), 1.0, nullptr);
    if (joint) {
      w.assign(w9648, losses.taxpayer * -1.0);
      w.assign(w9649, losses.spouse * -1.0);
      w.sum(w9647, w9648, w9649);
    } else {
      w.assign(w9647, losses.taxpayer * -1.0);
      w.copy(w9648, w9647);
      w.null(w9649);
    }
    const long form2 = federal.getIN(kFormID_Fed2, 1, form2Amount());
    if (form2 != 0) {
      w.assign(w9653, form2);
      if (joint) {
        w.limitTo(w9652, form2);
        w.differenceNotBelow0(w9651, w9653, w9652);
        w.sum(w9650, w9651, w9652);
      } else {
        w.assign(w9650, form2);
        w.copy(w9651, w9650);
        w.protectAndNull(w9652);
      }
      w.mark(w9656, false);
      w.protectAndNull(w9654);
      w.protectAndNull(w9655);
    } else {
      // No federal amount: the user enters it and chooses how it splits.
      w.mark(w9656, true);
      w.unprotect(w9654);
      w.unprotect(w9655);
      Utils::setDefaultX(form, id(w9655), id(w9655), id(w9654));
      if (joint) {
        w.protect(w9650);
        w.unprotect(w9651);
        w.unprotect(w9652);
        w.sum(w9650, w9651, w9652);
      } else {
        w.unprotect(w9650);
        w.protectAndCopy(w9651, w9650);
        w.protectAndNull(w9652);
      }
    }
    w.sum(w9657, w9650, w9647);
    w.sum(w9658, w9651, w9648);
    if (joint) {
      w.sum(w9659, w9652, w9649);
    } else {
      w.protectAndNull(w9659);
    }

    // The PA part of the losses. The joint tests accept 0.
    if (residency != 0) {
      if (w.value(w9657) > 0 && joint) {
        w.limitOrClose(w9662, w.value(w9659) >= 0, w9659);
        w.limitOrClose(w9661, w.value(w9658) >= 0, w9658);
        w.protect(w9660);
        w.sum(w9660, w9661, w9662);
      } else if (w.value(w9657) > 0) {
        w.limitTo(w9660, w9657);
        w.protectAndCopy(w9661, w9660);
        w.protectAndNull(w9662);
      } else {
        w.protectAndNull(w9660);
        w.protectAndNull(w9661);
        w.protectAndNull(w9662);
      }
    } else {
      w.copy(w9660, w9657);
      w.copy(w9661, w9658);
      w.copy(w9662, w9659);
    }
    w.copy(w9666, w9660);
    w.copy(w9667, w9661);
    if (joint) {
      w.copy(w9668, w9662);
    } else {
      w.null(w9668);
    }
    w.copy(w9675, w9667);
    w.copy(w9676, w9668);
    w.differenceNotBelow0(w9677, w9673, w9675);
    w.differenceNotBelow0(w9678, w9674, w9676);
    w.sum(w11774, w9677, w9678);
  }

  // Winnings present.
  const double taxpayer = w.value(w9636) + w.value(w9617);
  const double spouse = w.value(w9637) + w.value(w9618);
  const double taxpayerLosses = w.value(w9658);
  const double spouseLosses = w.value(w9659);
  if (taxpayer > 0 || spouse > 0 || taxpayerLosses > 0 || spouseLosses > 0) {
    w.mark(w9610, true);
    w.assign(w9611, joint ? taxpayer + spouse + taxpayerLosses + spouseLosses : taxpayer + taxpayerLosses);
  } else {
    w.mark(w9610, false);
    w.null(w9611);
  }

  // W-2G winnings won in PA. A copy without a state text counts for a
  // resident or part-year resident, not for a nonresident.
  double wonInPA = 0;
  const unsigned last = federal.getMaxCopies(kFormID_FedW2G);
  for (unsigned n = 1; n <= last; ++n) {
    const uint16_t c = static_cast<uint16_t>(n);
    TaxFormPtr w2g = federal.getFormUVPtr(kFormID_FedW2G, c, false);
    if (w2g.isNull()) continue;
    const long stateWinnings = federal.getIN(kFormID_FedW2G, c, w2gStateWinnings());
    if (stateWinnings == 0) continue;
    if (federal.formYes(kFormID_FedW2G, c, w2gSpouseMark()) && !joint) continue;
    char state[kTextSize];
    federal.formString(state, sizeof state, kFormID_FedW2G, c, w2gStateText());
    const bool isPA = std::strcmp(state, "PA") == 0;
    const bool counts =
        residency == 2 ? isPA : isPA || !federal.hasSigValue(kFormID_FedW2G, c, w2gStateText());
    if (counts) wonInPA += static_cast<double>(stateWinnings) / 100.0;
  }
  w.assign(w50651, wonInPA);

  if (w.value(w9673) > 0 || w.value(w9674) > 0) {
    paReturn->setDataEntered(kFormID_PAW2GIncome, copy, true, false);
    form->setCalcMark(true);
  }
}

}  // namespace PACalculationMgmt
