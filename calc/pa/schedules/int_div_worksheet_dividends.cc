// The dividend half of the PA interest and dividend worksheet: summary
// dividends, federal form 51 and 89 dividends with the user's overrides and
// adjustments, the part of the summary not taxed, the subtractions, other
// and form 57 dividends, the federal dividends split by the federal form
// 164 items, and the totals.
#include "calc/pa/box_marks.h"
#include "calc/pa/schedules/int_div_worksheet_calc.h"
#include "catalogs/fields/fields.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {
namespace int_div {

namespace {

namespace W = PAInterestDividendWorksheet;

const Line kSummaryShown = {W::kSummaryDividendsShown, W::kTaxpayerSummaryDividendsShown,
                            W::kSpouseSummaryDividendsShown};
const Line kSummary12 = {W::kSummaryDividends, W::kTaxpayerSummaryDividends, W::kSpouseSummaryDividends};

const Line kFirstKindRead = {W::kPartnershipFirstKindDividendsRead, W::kTaxpayerPartnershipFirstKindDividendsRead,
                             W::kSpousePartnershipFirstKindDividendsRead};
const PartnershipLines kPartnership = {
    {{W::kPartnershipFirstKindDividendsBox, W::kPartnershipFirstKindDividendsYesBox,
      W::kPartnershipFirstKindDividendsNoBox,
      {W::kPartnershipFirstKindDividends, W::kTaxpayerPartnershipFirstKindDividends,
       W::kSpousePartnershipFirstKindDividends},
      W::kPartnershipFirstKindDividendsOverrideYesBox, W::kPartnershipFirstKindDividendsOverrideNoBox,
      {W::kPartnershipFirstKindDividendsUsed, W::kTaxpayerPartnershipFirstKindDividendsUsed,
       W::kSpousePartnershipFirstKindDividendsUsed}},
     {W::kPartnershipSecondKindDividendsBox, W::kPartnershipSecondKindDividendsYesBox,
      W::kPartnershipSecondKindDividendsNoBox,
      {W::kPartnershipSecondKindDividends, W::kTaxpayerPartnershipSecondKindDividends,
       W::kSpousePartnershipSecondKindDividends},
      W::kPartnershipSecondKindDividendsOverrideYesBox, W::kPartnershipSecondKindDividendsOverrideNoBox,
      {W::kPartnershipSecondKindDividendsUsed, W::kTaxpayerPartnershipSecondKindDividendsUsed,
       W::kSpousePartnershipSecondKindDividendsUsed}}},
    {W::kPartnershipDividends, W::kTaxpayerPartnershipDividends, W::kSpousePartnershipDividends},
    {W::kPartnershipDividendsCopy, W::kTaxpayerPartnershipDividendsCopy, W::kSpousePartnershipDividendsCopy},
    {W::kPartnershipDividendsUsed, W::kTaxpayerPartnershipDividendsUsed, W::kSpousePartnershipDividendsUsed},
    {W::kPartnershipDividendsUsedCopy, W::kTaxpayerPartnershipDividendsUsedCopy,
     W::kSpousePartnershipDividendsUsedCopy},
};

// A part-year resident's summary dividends not taxed: group 2, groups
// 3 + 4, the part of 3 + 4 entered, and group 2 plus that part.
const Line kPartYearGroup2 = {W::kPartYearUSObligationDividends, W::kTaxpayerPartYearUSObligationDividends,
                              W::kSpousePartYearUSObligationDividends};
const Line kPartYearGroups34 = {W::kPartYearExemptDividends, W::kTaxpayerPartYearExemptDividends,
                                W::kSpousePartYearExemptDividends};
const Line kPartYearEntered = {W::kPartYearExemptDividendsEntered, W::kTaxpayerPartYearExemptDividendsEntered,
                               W::kSpousePartYearExemptDividendsEntered};
const Line kPartYearNotTaxed = {W::kPartYearDividendsNotTaxed, W::kTaxpayerPartYearDividendsNotTaxed,
                                W::kSpousePartYearDividendsNotTaxed};
const Line kSummaryNotTaxed = {W::kSummaryDividendsNotTaxed, W::kTaxpayerSummaryDividendsNotTaxed,
                               W::kSpouseSummaryDividendsNotTaxed};
const Line kPartYearSubtraction = {W::kPartYearDividendSubtraction, W::kTaxpayerPartYearDividendSubtraction,
                                   W::kSpousePartYearDividendSubtraction};

const EstateTrustLines kEstateTrust = {
    W::kEstateTrustDividendsYesBox,
    W::kEstateTrustDividendsNoBox,
    {W::kEstateTrustDividends, W::kTaxpayerEstateTrustDividends, W::kSpouseEstateTrustDividends},
    {W::kEstateTrustDividendsAdjustment, W::kTaxpayerEstateTrustDividendsAdjustment,
     W::kSpouseEstateTrustDividendsAdjustment},
    {W::kEstateTrustDividendsRemainder, W::kTaxpayerEstateTrustDividendsRemainder,
     W::kSpouseEstateTrustDividendsRemainder},
    {W::kEstateTrustDividendsRemainderCopy, W::kTaxpayerEstateTrustDividendsRemainderCopy,
     W::kSpouseEstateTrustDividendsRemainderCopy},
};

const Line kSubtractionOne = {W::kFirstOtherDividendSubtraction, W::kTaxpayerFirstOtherDividendSubtraction,
                              W::kSpouseFirstOtherDividendSubtraction};
const Line kSubtractionTwo = {W::kPAObligationDividends, W::kTaxpayerPAObligationDividends,
                              W::kSpousePAObligationDividends};
const Line kSubtractionThree = {W::kThirdOtherDividendSubtraction, W::kTaxpayerThirdOtherDividendSubtraction,
                                W::kSpouseThirdOtherDividendSubtraction};
const Line kSubtractions = {W::kDividendSubtractions, W::kTaxpayerDividendSubtractions,
                            W::kSpouseDividendSubtractions};
const Line kSubtractionsCopy = {W::kDividendSubtractionsCopy, W::kTaxpayerDividendSubtractionsCopy,
                                W::kSpouseDividendSubtractionsCopy};
const Line kNotTaxed = {W::kDividendsNotTaxed, W::kTaxpayerDividendsNotTaxed, W::kSpouseDividendsNotTaxed};
const Line kNet = {W::kNetDividends, W::kTaxpayerNetDividends, W::kSpouseNetDividends};  // may be below 0

const Line kOther = {W::kOtherDividends, W::kTaxpayerOtherDividends, W::kSpouseOtherDividends};
const Line kFed57Read = {W::kFed57DividendsRead, W::kTaxpayerFed57DividendsRead, W::kSpouseFed57DividendsRead};
const Line kFed57 = {W::kFed57Dividends, W::kTaxpayerFed57Dividends, W::kSpouseFed57Dividends};
const Line kSummary34 = {W::kSummaryExemptDividends, W::kTaxpayerSummaryExemptDividends,
                         W::kSpouseSummaryExemptDividends};
const Line kOtherAndFed57 = {W::kOtherAndFed57Dividends, W::kTaxpayerOtherAndFed57Dividends,
                             W::kSpouseOtherAndFed57Dividends};
const Line kOtherAndFed57Copy = {W::kOtherAndFed57DividendsCopy, W::kTaxpayerOtherAndFed57DividendsCopy,
                                 W::kSpouseOtherAndFed57DividendsCopy};
// The three lines the user enters (the last one counts in the total).
const Line kEnteredLines[] = {
    {W::kForeignDividendIncome, W::kTaxpayerForeignDividendIncome, W::kSpouseForeignDividendIncome},
    {W::kSecondEnteredDividendIncome, W::kTaxpayerSecondEnteredDividendIncome,
     W::kSpouseSecondEnteredDividendIncome},
    {W::kCurrentYearForeignDividendIncome, W::kTaxpayerCurrentYearForeignDividendIncome,
     W::kSpouseCurrentYearForeignDividendIncome},
};

// The federal dividends: total, the taxpayer's and the spouse's share.
const Line kFederal = {W::kFederalDividends, W::kTaxpayerFederalDividends, W::kSpouseFederalDividends};
const Line kTotal = {W::kTotalDividends, W::kTaxpayerTotalDividends, W::kSpouseTotalDividends};

}  // namespace

void IntDivWorksheetCalc::computeDividends() {
  const SummaryGroups groups = dividendGroups();
  summaryDividends(groups);
  form51Dividends();
  summaryDividendsNotTaxed(groups);
  form89Dividends();
  dividendSubtractions();
  otherDividends(groups);
  federalDividends();
  totalDividends(groups);
}

// Summary dividends of groups 1 + 2.
void IntDivWorksheetCalc::summaryDividends(const SummaryGroups& g) {
  summaryFirstTwo(kSummaryShown, kSummary12, g, kSummary12.taxpayer);
  ws.zero(W::kFirstZeroedAmount);
  ws.zero(W::kSecondZeroedAmount);
}

// Federal form 51 dividends by kind, each with the user's override.
void IntDivWorksheetCalc::form51Dividends() {
  const KindTotals kinds = form51ByKind(Fed51::kDividends, false);
  setLine(kFirstKindRead, kinds.amount[0][1] + kinds.amount[0][0], kinds.amount[0][0], kinds.amount[0][1]);
  partnershipLines(kPartnership, kinds);
  residentTotal(W::kResidentPartnershipSecondKindDividends, kinds, 1);
}

// The summary dividends not taxed: a full-year resident's groups 2 and 3;
// a part-year resident's group 2 plus an entered part of groups 3 + 4. Then
// the part-year subtraction, which only a part-year resident may enter.
void IntDivWorksheetCalc::summaryDividendsNotTaxed(const SummaryGroups& g) {
  const Line& partYear = kPartYearSubtraction;
  if (!partYearResident()) {
    clearRange(kPartYearGroup2.total, kPartYearNotTaxed.spouse);
    // The groups 3 and 4 a part-year calculation read go with the rest.
    setNull(W::kTaxpayerPartYearExemptDividendsRead);
    setNull(W::kSpousePartYearExemptDividendsRead);
    set(kSummaryNotTaxed.taxpayer, g.taxpayer[2] + g.taxpayer[1]);
    set(kSummaryNotTaxed.spouse, g.spouse[2] + g.spouse[1]);
    sum(kSummaryNotTaxed.total, {kSummaryNotTaxed.taxpayer, kSummaryNotTaxed.spouse});
    // A full-year resident has no part-year subtraction (as on the
    // interest side); an entry left from a part-year calculation goes.
    closeLine(partYear);
    return;
  }
  const double lastTwo[2] = {g.taxpayerLastTwo(), g.spouseLastTwo()};
  set(kPartYearGroup2.taxpayer, g.taxpayer[1]);
  setSpouse(kPartYearGroup2.spouse, g.spouse[1]);
  set(kPartYearGroups34.taxpayer, lastTwo[0]);
  setSpouse(kPartYearGroups34.spouse, lastTwo[1]);
  set(W::kTaxpayerPartYearExemptDividendsRead, lastTwo[0]);
  set(W::kSpousePartYearExemptDividendsRead, lastTwo[1]);
  for (int person = 0; person < 2; ++person) {
    const Field& entered = personField(kPartYearEntered, person);
    openUpTo(entered, amount(personField(kPartYearGroups34, person)) > 0, lastTwo[person]);
    sum(personField(kPartYearNotTaxed, person), {personField(kPartYearGroup2, person), entered});
  }
  for (const Line& line : {kPartYearGroup2, kPartYearGroups34, kPartYearEntered, kPartYearNotTaxed}) {
    sum(line.total, {line.taxpayer, line.spouse});
  }
  copyLine(kPartYearNotTaxed, kSummaryNotTaxed);

  unprotect(partYear.taxpayer);
  openSpouse(partYear.spouse);
  sum(partYear.total, {partYear.taxpayer, partYear.spouse});
}

// Federal form 89 dividends with the user's adjustment.
void IntDivWorksheetCalc::form89Dividends() {
  PersonAmounts dividends = {};
  forEachPersonCopy(kFormID_Fed89, Fed89::kTaxpayerBox, Fed89::kSpouseBox, [&](uint16_t c, int person) {
    dividends[person] += federal.getIR(kFormID_Fed89, c, Fed89::kDividends);
  });
  estateTrustLines(kEstateTrust, dividends, false);
}

// The user's subtractions, the dividends not taxed and the net dividends.
void IntDivWorksheetCalc::dividendSubtractions() {
  defaultMark(W::kDividendSubtractionNoBox, W::kDividendSubtractionNoBox, W::kDividendSubtractionYesBox);
  enteredSplit(kSubtractionOne);
  enteredSplit(kSubtractionTwo);
  openSpouse(kSubtractionThree.spouse);
  sum(kSubtractionThree.total, {kSubtractionThree.taxpayer, kSubtractionThree.spouse});

  sumLines(kSubtractions, {kPartYearSubtraction, kEstateTrust.remainderCopy, kSubtractionOne, kSubtractionTwo,
                           kSubtractionThree});
  copyLine(kSubtractions, kSubtractionsCopy);
  sumLines(kNotTaxed, {kPartnership.bothCopy, kSummaryNotTaxed, kSubtractionsCopy});

  // Net dividends are not cut at 0: a loss reduces the total.
  ws.minusII(kNet.taxpayer, kSummary12.taxpayer, kNotTaxed.taxpayer);
  ws.minusII(kNet.spouse, kSummary12.spouse, kNotTaxed.spouse);
  sum(kNet.total, {kNet.taxpayer, kNet.spouse});
}

// Other dividends, federal form 57 dividends split by the Form 1099-MISC
// copies, summary dividends 3 + 4 and the three entered lines.
void IntDivWorksheetCalc::otherDividends(const SummaryGroups& g) {
  defaultMark(W::kOtherDividendsNoBox, W::kOtherDividendsNoBox, W::kOtherDividendsYesBox);
  openSpouse(kOther.spouse);
  sum(kOther.total, {kOther.taxpayer, kOther.spouse});

  const double form57 = federal.getIR(kFormID_Fed57, 1, Fed57::kSubstitutePayments);
  set(kFed57Read.total, form57);
  if (form57 > 0) {
    PersonAmounts misc = {};
    forEachPersonCopy(kFormID_Fed1099Misc, Fed1099Misc::kTaxpayerBox, Fed1099Misc::kSpouseBox,
                      [&](uint16_t c, int person) {
                        misc[person] += federal.getIR(kFormID_Fed1099Misc, c, Fed1099Misc::kSubstitutePayments) / 100.0;
                      });
    set(kFed57Read.taxpayer, misc[0]);
    set(kFed57Read.spouse, misc[1]);
    protect(kFed57.taxpayer);
    protect(kFed57.spouse);
    // The total is the federal amount itself, not the sum of the split.
    set(kFed57.total, form57);
    setPair(kFed57, misc[0], misc[1]);
  } else {
    // Nothing of an earlier run's split is kept.
    setNull(kFed57Read.taxpayer);
    setNull(kFed57Read.spouse);
    closeLine(kFed57);
  }

  summaryLastTwo(kSummary34, g);
  sumLines(kOtherAndFed57, {kOther, kFed57});
  copyLine(kOtherAndFed57, kOtherAndFed57Copy);
  defaultMark(W::kEnteredDividendsNoBox, W::kEnteredDividendsNoBox, W::kEnteredDividendsYesBox);
  for (const Line& line : kEnteredLines) openSpouse(line.spouse);
  for (const Line& line : kEnteredLines) sum(line.total, {line.taxpayer, line.spouse});
}

// The federal dividends of the federal return form in use, with the
// spouse's share taken from the federal form 164 items (or entered by the
// user when such an item says so).
void IntDivWorksheetCalc::federalDividends() {
  const FormId federalForm = engine.getFederalReturnFormId();
  double dividends = 0.0;
  if (federalForm == kFormID_FedReturn) {
    dividends = static_cast<double>(federal.getAllCopies(kFormID_Fed5, Fed5::kTotalDividends));
  } else if (federalForm == kFormID_Fed55) {
    dividends = federal.getIR(kFormID_Fed55, 1, Fed55::kDividends);
  }
  set(kFederal.total, dividends);
  if (joint()) {
    unprotect(kFederal.spouse);
    remainder(kFederal.taxpayer, kFederal.total, kFederal.spouse);
  } else {
    protectAndNull(kFederal.spouse);
    copyField(kFederal.total, kFederal.taxpayer);
  }
  if (federalForm == kFormID_FedReturn) {
    set(kFederal.total, dividends);
  } else if (federalForm == kFormID_Fed55) {
    federal.getII(kFormID_Fed55, Fed55::kDividends, holder, kFederal.total);
  }

  const bool spouseShare = amount(kFederal.total) != 0 && joint();
  if (spouseShare) {
    spouseShareOfFederalDividends();
  } else if (amount(kFederal.total) == 0) {
    protectAndNull(kFederal.spouse);
    protectAndNull(kFederal.taxpayer);
  } else {
    copyField(kFederal.total, kFederal.taxpayer);
    protectAndNull(kFederal.spouse);
  }
  // Without a spouse share the box that told how it was had goes.
  if (!spouseShare) setNull(W::kSpouseDividendShareEnteredBox);
  remainder(kFederal.taxpayer, kFederal.total, kFederal.spouse);
}

// On a joint return: the spouse's share of the federal dividends, from the
// federal form 164 items of the spouse and the joint ones (half each, not
// rounded); the taxpayer's items are skipped. When such an item says the
// share is entered, the user enters it, limited to the federal dividends.
void IntDivWorksheetCalc::spouseShareOfFederalDividends() {
  double spouseItems = 0.0;
  double jointHalves = 0.0;
  double shareEntered = 0.0;
  const FormId& f164 = kFormID_Fed164;
  forEachCopy(federal, f164, [&](uint16_t c) {
    if (federal.formYes(f164, c, Fed164::kTaxpayerBox)) return;
    const double amount = federal.getIR(f164, c, Fed164::kCapitalGainDistributions);
    if (federal.formYes(f164, c, Fed164::kSpouseBox)) {
      spouseItems += amount / 100.0;
    } else if (federal.formYes(f164, c, Fed164::kJointBox)) {
      jointHalves += amount * 0.5 / 100.0;
    } else {
      return;
    }
    if (federal.formYes(f164, c, Fed164::kSharedAmountBox)) {
      shareEntered += federal.getIR(f164, c, Fed164::kSharedAmount);
    }
  });
  if (shareEntered > 0) {
    ws.setX(W::kSpouseDividendShareEnteredBox);
    unprotect(kFederal.spouse);
    limitToField(kFederal.spouse, kFederal.total);
  } else {
    ws.setXNo(W::kSpouseDividendShareEnteredBox);
    protect(kFederal.spouse);
    set(kFederal.spouse, jointHalves + spouseItems);
  }
}

// Total dividends, a part-year resident's dividends after the part-year
// subtraction, and the count of summary groups 3 + 4.
void IntDivWorksheetCalc::totalDividends(const SummaryGroups& g) {
  sumLines(kTotal, {kNet, kOtherAndFed57Copy, kEnteredLines[2], kFederal, kSummary34, kPartnership.asUsedCopy});
  if (!joint()) setNull(kTotal.spouse);
  // Recalculated on every run so that they follow the dividends and the
  // subtraction.
  partYearBeforeSubtraction(W::kTaxpayerPartYearDividends, W::kSpousePartYearDividends, kPartYearSubtraction,
                            kTotal);
  setIfPositive(W::kSummaryExemptDividendsOfBoth, g.lastTwoOfBoth());
}

}  // namespace int_div
}  // namespace PACalculationMgmt
