// The interest half of the PA interest and dividend worksheet: summary
// interest, federal form 51, 166 and 89 interest with the user's
// adjustments, the subtractions, the interest not taxed, the amounts of the
// miscellaneous compensation worksheet, federal form 57 and 10297 interest,
// and the totals.
#include <algorithm>

#include "calc/pa/box_marks.h"
#include "calc/pa/schedules/int_div_worksheet_calc.h"
#include "catalogs/fields/fields.h"
#include "host/rounding.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {
namespace int_div {

namespace {

namespace W = PAInterestDividendWorksheet;

const Line kSummaryShown = {W::kSummaryInterestShown, W::kTaxpayerSummaryInterestShown,
                            W::kSpouseSummaryInterestShown};
const Line kSummary12 = {W::kSummaryInterest, W::kTaxpayerSummaryInterest, W::kSpouseSummaryInterest};
const Line kSummary34 = {W::kSummaryExemptInterest, W::kTaxpayerSummaryExemptInterest,
                         W::kSpouseSummaryExemptInterest};
const Line kOtherInterest = {W::kOtherInterest, W::kTaxpayerOtherInterest, W::kSpouseOtherInterest};
const Line kGrossInterest = {W::kGrossInterest, W::kTaxpayerGrossInterest, W::kSpouseGrossInterest};

const PartnershipLines kPartnership = {
    {{W::kPartnershipFirstKindInterestBox, W::kPartnershipFirstKindInterestYesBox,
      W::kPartnershipFirstKindInterestNoBox,
      {W::kPartnershipFirstKindInterest, W::kTaxpayerPartnershipFirstKindInterest,
       W::kSpousePartnershipFirstKindInterest},
      W::kPartnershipFirstKindInterestOverrideYesBox, W::kPartnershipFirstKindInterestOverrideNoBox,
      {W::kPartnershipFirstKindInterestUsed, W::kTaxpayerPartnershipFirstKindInterestUsed,
       W::kSpousePartnershipFirstKindInterestUsed}},
     {W::kPartnershipSecondKindInterestBox, W::kPartnershipSecondKindInterestYesBox,
      W::kPartnershipSecondKindInterestNoBox,
      {W::kPartnershipSecondKindInterest, W::kTaxpayerPartnershipSecondKindInterest,
       W::kSpousePartnershipSecondKindInterest},
      W::kPartnershipSecondKindInterestOverrideYesBox, W::kPartnershipSecondKindInterestOverrideNoBox,
      {W::kPartnershipSecondKindInterestUsed, W::kTaxpayerPartnershipSecondKindInterestUsed,
       W::kSpousePartnershipSecondKindInterestUsed}}},
    {W::kPartnershipInterest, W::kTaxpayerPartnershipInterest, W::kSpousePartnershipInterest},
    {W::kPartnershipInterestCopy, W::kTaxpayerPartnershipInterestCopy, W::kSpousePartnershipInterestCopy},
    {W::kPartnershipInterestUsed, W::kTaxpayerPartnershipInterestUsed, W::kSpousePartnershipInterestUsed},
    {W::kPartnershipInterestUsedCopy, W::kTaxpayerPartnershipInterestUsedCopy,
     W::kSpousePartnershipInterestUsedCopy},
};

const Line kExempt = {W::kPAExemptInterest, W::kTaxpayerPAExemptInterest, W::kSpousePAExemptInterest};
const Line kUSObligation = {W::kUSObligationInterest, W::kTaxpayerUSObligationInterest,
                            W::kSpouseUSObligationInterest};

const Line kFederal = {W::kFederalInterest, W::kTaxpayerFederalInterest, W::kSpouseFederalInterest};
const Line kForfeited = {W::kForfeitedInterestPenalty, W::kTaxpayerForfeitedInterestPenalty,
                         W::kSpouseForfeitedInterestPenalty};
const Line kFederalRemainder = {W::kFederalInterestRemainder, W::kTaxpayerFederalInterestRemainder,
                                W::kSpouseFederalInterestRemainder};
const Line kForfeitedCopy = {W::kForfeitedInterestPenaltyCopy, W::kTaxpayerForfeitedInterestPenaltyCopy,
                             W::kSpouseForfeitedInterestPenaltyCopy};

const EstateTrustLines kEstateTrust = {
    W::kEstateTrustInterestYesBox,
    W::kEstateTrustInterestNoBox,
    {W::kEstateTrustInterest, W::kTaxpayerEstateTrustInterest, W::kSpouseEstateTrustInterest},
    {W::kEstateTrustInterestAdjustment, W::kTaxpayerEstateTrustInterestAdjustment,
     W::kSpouseEstateTrustInterestAdjustment},
    {W::kEstateTrustInterestRemainder, W::kTaxpayerEstateTrustInterestRemainder,
     W::kSpouseEstateTrustInterestRemainder},
    {W::kEstateTrustInterestRemainderCopy, W::kTaxpayerEstateTrustInterestRemainderCopy,
     W::kSpouseEstateTrustInterestRemainderCopy},
};

const Line kPartYearSubtraction = {W::kPartYearInterestSubtraction, W::kTaxpayerPartYearInterestSubtraction,
                                   W::kSpousePartYearInterestSubtraction};
const Line kSubtractionOne = {W::kFirstOtherInterestSubtraction, W::kTaxpayerFirstOtherInterestSubtraction,
                              W::kSpouseFirstOtherInterestSubtraction};
const Line kSubtractionTwo = {W::kPAObligationInterest, W::kTaxpayerPAObligationInterest,
                              W::kSpousePAObligationInterest};
const Line kSubtractionThree = {W::kThirdOtherInterestSubtraction, W::kTaxpayerThirdOtherInterestSubtraction,
                                W::kSpouseThirdOtherInterestSubtraction};
const Line kSubtractions = {W::kInterestSubtractions, W::kTaxpayerInterestSubtractions,
                            W::kSpouseInterestSubtractions};
const Line kSubtractionsCopy = {W::kInterestSubtractionsCopy, W::kTaxpayerInterestSubtractionsCopy,
                                W::kSpouseInterestSubtractionsCopy};
const Line kNotTaxed = {W::kInterestNotTaxed, W::kTaxpayerInterestNotTaxed, W::kSpouseInterestNotTaxed};
const Line kNet = {W::kNetInterest, W::kTaxpayerNetInterest, W::kSpouseNetInterest};

const Line kFed57PairRead = {W::kFed57PairInterestRead, W::kTaxpayerFed57PairInterestRead,
                             W::kSpouseFed57PairInterestRead};
const Line kFed57Pair = {W::kFed57PairInterest, W::kTaxpayerFed57PairInterest, W::kSpouseFed57PairInterest};
const Line kFed10297Read = {W::kFed10297InterestRead, W::kTaxpayerFed10297InterestRead,
                            W::kSpouseFed10297InterestRead};
const Line kFed10297 = {W::kFed10297Interest, W::kTaxpayerFed10297Interest, W::kSpouseFed10297Interest};
const Line kFed57Single = {W::kFed57SingleInterest, W::kTaxpayerFed57SingleInterest,
                           W::kSpouseFed57SingleInterest};
const Line kTogether = {W::kFed57AndFed10297Interest, W::kTaxpayerFed57AndFed10297Interest,
                        W::kSpouseFed57AndFed10297Interest};
const Line kTogetherCopy = {W::kFed57AndFed10297InterestCopy, W::kTaxpayerFed57AndFed10297InterestCopy,
                            W::kSpouseFed57AndFed10297InterestCopy};

const Line kTotal = {W::kTotalInterest, W::kTaxpayerTotalInterest, W::kSpouseTotalInterest};

// The two lines fed by the miscellaneous compensation worksheet (state
// form 187): the all-copies sums of its taxpayer and spouse fields, the
// worksheet field holding their sum, the entered line limited by them, and
// the check-box pair given a default (first, other, other).
struct MiscLine {
  NamedField<PAMiscCompWorksheetFieldIds> taxpayerSource;
  NamedField<PAMiscCompWorksheetFieldIds> spouseSource;
  Field readSum;
  Line entered;
  Field defaultFirst;
  Field defaultOther;
};
const MiscLine kMiscLines[] = {
    {PAMiscCompWorksheet::kTaxpayerCodeKAmount, PAMiscCompWorksheet::kSpouseCodeKAmount,
     W::kMiscCompCodeKAmountsRead,
     {W::kAnnuityInterest, W::kTaxpayerAnnuityInterest, W::kSpouseAnnuityInterest},
     W::kAnnuityInterestNoBox, W::kAnnuityInterestYesBox},
    {PAMiscCompWorksheet::kTaxpayerCodeLAmount, PAMiscCompWorksheet::kSpouseCodeLAmount,
     W::kMiscCompCodeLAmountsRead,
     {W::kMiscCompCodeLInterest, W::kTaxpayerMiscCompCodeLInterest, W::kSpouseMiscCompCodeLInterest},
     W::kMiscCompCodeLInterestNoBox, W::kMiscCompCodeLInterestYesBox},
};

// The federal interest of a return that is not joint, from the federal
// return form in use.
const Utils::PCTypes kPullFederalInterest = static_cast<Utils::PCTypes>(73);

double positivePart(double value) { return std::max(0.0, value); }

}  // namespace

void IntDivWorksheetCalc::computeInterest() {
  const SummaryGroups groups = interestGroups();
  summaryInterest(groups);
  form51Interest();
  summaryInterestNotTaxed(groups);
  federalInterest();
  form89Interest();
  interestSubtractions();
  netInterest();
  form187Amounts();
  form57AndForm10297Interest();
  totalInterest();
}

// Summary interest of groups 1 + 2 and 3 + 4, other interest, gross interest.
void IntDivWorksheetCalc::summaryInterest(const SummaryGroups& g) {
  setIfPositive(W::kSummaryExemptInterestOfBoth, g.lastTwoOfBoth());
  summaryFirstTwo(kSummaryShown, kSummary12, g, kSummaryShown.taxpayer);
  copyField(kSummary12.total, W::kSummaryInterestCopy);
  summaryLastTwo(kSummary34, g);
  openSpouse(kOtherInterest.spouse);
  if (joint()) {
    sum(kOtherInterest.total, {kOtherInterest.taxpayer, kOtherInterest.spouse});
  } else {
    copyField(kOtherInterest.taxpayer, kOtherInterest.total);
  }
  sumLines(kGrossInterest, {kSummary12, kSummary34, kOtherInterest});
}

// Federal form 51 interest by kind, each with the user's override.
void IntDivWorksheetCalc::form51Interest() {
  const KindTotals kinds = form51ByKind(Fed51::kInterest, true);
  const Line& first = kPartnership.kinds[0].computed;
  protect(first.total);
  protect(first.taxpayer);
  protect(first.spouse);
  partnershipLines(kPartnership, kinds);
  residentTotal(W::kResidentPartnershipFirstKindInterest, kinds, 0);
  residentTotal(W::kResidentPartnershipSecondKindInterest, kinds, 1);
}

// Group 3 of the summary (a part-year resident enters the part of 3 + 4
// that is not taxed) and group 2.
void IntDivWorksheetCalc::summaryInterestNotTaxed(const SummaryGroups& g) {
  auto groupThree = [this](const FieldId& field, bool shown, double lastTwo, double group3) {
    if (!shown) {
      protectAndNull(field);
    } else if (partYearResident()) {
      openAndLimit(field, lastTwo);
    } else {
      protect(field);
      set(field, group3);
    }
  };
  groupThree(kExempt.taxpayer, g.taxpayerLastTwo() > 0, g.taxpayerLastTwo(), g.taxpayer[2]);
  groupThree(kExempt.spouse, g.spouseLastTwo() > 0 && joint(), g.spouseLastTwo(), g.spouse[2]);
  sum(kExempt.total, {kExempt.taxpayer, kExempt.spouse});
  splitFill(kUSObligation, g.taxpayer[1], g.spouse[1]);
}

// The federal interest with the user's adjustment; a remainder on either
// side has the Schedule D worksheet recalculated at once.
void IntDivWorksheetCalc::federalInterest() {
  const long pulled = pa.pullCommon(engine.getFederalReturnFormId(), 1, kPullFederalInterest);
  PersonAmounts form166 = {};
  PersonAmounts line = {};
  jointFederalInterest(form166, line);
  if (pulled == 0) {
    clearRange(kFederal.total, kFederalRemainder.spouse);
  } else {
    if (joint()) {
      set(kFederal.total, form166[1] + form166[0] + line[0] + line[1]);
      set(kFederal.spouse, line[1] + form166[1]);
      set(kFederal.taxpayer, line[0] + form166[0]);
    } else {
      set(kFederal.total, static_cast<double>(pulled));
      copyField(kFederal.total, kFederal.taxpayer);
    }
    federalInterestAdjustment();
  }
  copyLine(kForfeited, kForfeitedCopy);
  if (amount(kFederalRemainder.taxpayer) > 0 || amount(kFederalRemainder.spouse) > 0) {
    // The Schedule D worksheet reads the two remainders.
    DataMgmt::TaxFormPtr salesWorksheet = pa.getFormUVPtr(kFormID_PAScheduleDWorksheet, 1, true);
    if (!salesWorksheet.isNull()) {
      engine.calcStateForm(kFormID_PAScheduleDWorksheet, 1, false, 1, 0, salesWorksheet);
    }
  }
}

// The sources of each person's federal interest on a joint return: the
// federal form 166 items (the joint ones split, the taxpayer's half
// rounded, the spouse the rest) and the federal interest lines of federal
// form 51.
void IntDivWorksheetCalc::jointFederalInterest(PersonAmounts& form166, PersonAmounts& federalLine) const {
  double joint166 = 0.0;
  forEachCopy(federal, kFormID_Fed166, [&](uint16_t c) {
    const double amount = federal.getIN(kFormID_Fed166, c, Fed166::kWorksheetFirstAmount) / 100.0 +
                          federal.getIN(kFormID_Fed166, c, Fed166::kWorksheetSecondAmount) / 100.0;
    switch (ownerOf(kFormID_Fed166, c, Fed166::kTaxpayerBox, Fed166::kSpouseBox, Fed166::kJointBox)) {
      case Owner::kTaxpayer: form166[0] += amount; break;
      case Owner::kSpouse: form166[1] += amount; break;
      case Owner::kJoint: joint166 += amount; break;
      case Owner::kNone: break;
    }
  });
  const double half = static_cast<double>(Utils::roundR(joint166 * 0.5));
  form166[0] += half;
  form166[1] += joint166 - half;

  forEachPersonCopy(kFormID_Fed51, Fed51::kTaxpayerBox, Fed51::kSpouseBox, [&](uint16_t c, int person) {
    federalLine[person] += static_cast<double>(federal.getIN(kFormID_Fed51, c, Fed51::kInterestFederalLine));
  });
}

// The user's adjustment of the federal interest, limited to it, and the
// remainders, never below 0.
void IntDivWorksheetCalc::federalInterestAdjustment() {
  const Line& adj = kForfeited;
  const Line& rem = kFederalRemainder;
  openEntry(adj.total);
  limitToField(adj.total, kFederal.total);
  remainder(rem.total, kFederal.total, adj.total);
  if (joint()) {
    unprotect(adj.spouse);
    limitToField(adj.spouse, kFederal.spouse);
    openEntry(adj.taxpayer);
    limitToField(adj.taxpayer, kFederal.taxpayer);
    protect(adj.total);
    plus(adj.total, adj.taxpayer, adj.spouse);
    limitToField(adj.total, kFederal.total);
    remainder(rem.total, kFederal.total, adj.total);
    remainder(rem.spouse, kFederal.spouse, adj.spouse);
    remainder(rem.taxpayer, kFederal.taxpayer, adj.taxpayer);
  } else {
    protectAndNull(kFederal.spouse);
    protectAndNull(adj.spouse);
    protectAndNull(rem.spouse);
    copyField(kFederal.total, kFederal.taxpayer);
    copyTotalToTaxpayer(adj);
    copyField(rem.total, rem.taxpayer);
  }
}

// Federal form 89 interest with the user's adjustment: per person the
// first amount and what the second leaves above the third, neither below 0.
void IntDivWorksheetCalc::form89Interest() {
  PersonAmounts a = {};
  PersonAmounts b = {};
  PersonAmounts c = {};
  forEachPersonCopy(kFormID_Fed89, Fed89::kTaxpayerBox, Fed89::kSpouseBox, [&](uint16_t n, int person) {
    a[person] += static_cast<double>(federal.getIN(kFormID_Fed89, n, Fed89::kInterest));
    b[person] += static_cast<double>(federal.getIN(kFormID_Fed89, n, Fed89::kExemptInterest));
    c[person] += static_cast<double>(federal.getIN(kFormID_Fed89, n, Fed89::kInStateExemptInterest));
  });
  const PersonAmounts interest = {positivePart(a[0]) + positivePart(b[0] - c[0]),
                                  positivePart(a[1]) + positivePart(b[1] - c[1])};
  estateTrustLines(kEstateTrust, interest, true);
}

// The user's subtractions and their totals.
void IntDivWorksheetCalc::interestSubtractions() {
  defaultMark(W::kInterestSubtractionNoBox, W::kInterestSubtractionNoBox, W::kInterestSubtractionYesBox);
  enteredSplit(kSubtractionOne);
  enteredSplit(kSubtractionTwo);

  const Line& partYear = kPartYearSubtraction;
  if (partYearResident()) {
    unprotect(partYear.taxpayer);
    if (joint()) unprotect(partYear.spouse);
    jointTotal(partYear);
  } else {
    closeLine(partYear);
  }

  if (joint()) unprotect(kSubtractionThree.spouse);
  jointTotal(kSubtractionThree);

  sumLines(kSubtractions, {kPartYearSubtraction, kForfeitedCopy, kEstateTrust.remainderCopy, kSubtractionOne,
                           kSubtractionTwo, kSubtractionThree});
  copyField(kSubtractions.taxpayer, kSubtractionsCopy.taxpayer);
  if (joint()) copyField(kSubtractions.spouse, kSubtractionsCopy.spouse);
  jointTotal(kSubtractionsCopy);
}

// Interest not taxed and net interest.
void IntDivWorksheetCalc::netInterest() {
  const Line& partnership = kPartnership.bothCopy;
  sum(kNotTaxed.taxpayer,
      {partnership.taxpayer, kExempt.taxpayer, kUSObligation.taxpayer, kSubtractionsCopy.taxpayer});
  if (joint()) {
    sum(kNotTaxed.spouse, {partnership.spouse, kExempt.spouse, kUSObligation.spouse, kSubtractionsCopy.spouse});
  }
  jointTotal(kNotTaxed);

  remainder(kNet.taxpayer, kGrossInterest.taxpayer, kNotTaxed.taxpayer);
  if (joint()) remainder(kNet.spouse, kGrossInterest.spouse, kNotTaxed.spouse);
  jointTotal(kNet);
}

// The two lines of the miscellaneous compensation worksheet: entered
// amounts limited by what that worksheet holds for each person.
void IntDivWorksheetCalc::form187Amounts() {
  for (const MiscLine& line : kMiscLines) {
    defaultMark(line.defaultFirst, line.defaultOther, line.defaultOther);
    const double taxpayer =
        static_cast<double>(pa.getAllCopies(kFormID_PAMiscCompWorksheet, line.taxpayerSource));
    const double spouse = static_cast<double>(pa.getAllCopies(kFormID_PAMiscCompWorksheet, line.spouseSource));
    openUpTo(line.entered.taxpayer, taxpayer > 0, taxpayer);
    openUpTo(line.entered.spouse, spouse > 0 && joint(), spouse);
    set(line.readSum, taxpayer + spouse);
    plus(line.entered.total, line.entered.taxpayer, line.entered.spouse);
  }
}

// Federal form 57 and form 10297 interest.
void IntDivWorksheetCalc::form57AndForm10297Interest() {
  const FormId& f57 = kFormID_Fed57;
  const double pairTaxpayer = federal.getIR(f57, 1, Fed57::kTaxpayerInterest);
  const double pairSpouse = federal.getIR(f57, 1, Fed57::kSpouseInterest);
  const double pair = joint() ? pairTaxpayer + pairSpouse : pairTaxpayer;
  setLine(kFed57PairRead, pair, pairTaxpayer, pairSpouse);
  defaultMark(W::kFed57PairInterestNoBox, W::kFed57PairInterestNoBox, W::kFed57PairInterestYesBox);
  gatedLine(kFed57Pair, pair > 0, pairTaxpayer, pairSpouse);

  const double gate10297 = federal.getIR(f57, 1, Fed57::kPersonInterestTotal);
  const double taxpayer10297 = federal.getIR(kFormID_Fed10297, 1, Fed10297::kPersonInterest);
  const double spouse10297 = federal.getIR(kFormID_Fed10297, 2, Fed10297::kPersonInterest);
  setLine(kFed10297Read, gate10297, taxpayer10297, spouse10297);
  if (gate10297 > 0) protect(kFed10297.taxpayer);
  gatedLine(kFed10297, gate10297 > 0, taxpayer10297, spouse10297);

  // A single amount of both spouses: the spouse's part is entered, the
  // taxpayer keeps the rest.
  const double single = federal.getIR(f57, 1, Fed57::kSharedInterest);
  set(W::kFed57SingleInterestRead, single);
  if (single > 0) {
    set(kFed57Single.total, single);
    if (joint()) {
      openAndLimit(kFed57Single.spouse, single);
    } else {
      protectAndNull(kFed57Single.spouse);
      copyField(kFed57Single.total, kFed57Single.taxpayer);
    }
    remainder(kFed57Single.taxpayer, kFed57Single.total, kFed57Single.spouse);
  } else {
    closeAmounts(kFed57Single);
  }

  if (single > 0 || gate10297 > 0) {
    sum(kTogether.taxpayer, {kFed10297.taxpayer, kFed57Single.taxpayer});
    if (joint()) sum(kTogether.spouse, {kFed10297.spouse, kFed57Single.spouse});
    jointTotal(kTogether);
    copyField(kTogether.taxpayer, kTogetherCopy.taxpayer);
    if (joint()) {
      copyField(kTogether.spouse, kTogetherCopy.spouse);
    } else {
      protectAndNull(kTogetherCopy.spouse);
    }
    copyField(kTogether.total, kTogetherCopy.total);
  } else {
    closeLine(kTogether);
    closeLine(kTogetherCopy);
  }
}

// Total interest, and a part-year resident's interest before the part-year
// subtraction.
void IntDivWorksheetCalc::totalInterest() {
  sumLines(kTotal, {kNet, kMiscLines[0].entered, kMiscLines[1].entered, kFed57Pair, kTogetherCopy,
                    kPartnership.asUsedCopy});
  if (!joint()) setNull(kTotal.spouse);
  partYearBeforeSubtraction(W::kTaxpayerPartYearInterest, W::kSpousePartYearInterest, kPartYearSubtraction,
                            kTotal);
}

}  // namespace int_div
}  // namespace PACalculationMgmt
