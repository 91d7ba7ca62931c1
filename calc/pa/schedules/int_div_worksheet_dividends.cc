// The dividend half of the PA interest and dividend worksheet: summary
// dividends, federal form 51 and 89 dividends with the user's overrides and
// adjustments, the part of the summary not taxed, the subtractions, other
// and form 57 dividends, the federal dividends split by the federal form
// 164 items, and the totals.
#include "calc/pa/box_marks.h"
#include "calc/pa/schedules/int_div_worksheet_calc.h"
#include "catalogs/catalogs.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {
namespace int_div {

namespace {

// Worksheet lines (PAInterestDividendWorksheetFieldIds members; host
// fields total, taxpayer, spouse in the comments).
const int kGroups34Count = 15;                        // 357
const Line kSummaryShown = {28, 29, 30};              // 296, 297, 298
const Line kSummary12 = {199, 200, 201};              // 156280-156282
const int kZeroedA = 50;                              // 151306
const int kZeroedB = 52;                              // 151308

const Line kForm51FirstRead = {8, 9, 10};             // 160, 303, 304
const Line kForm51First = {202, 203, 204};            // 257-259
const int kForm51FirstPresent = 23;                   // 315
const Line kForm51Second = {205, 206, 207};           // 156283-156285
const int kForm51SecondResident = 11;                 // 161
const int kForm51SecondPresent = 24;                  // 316
const int kFirstPairYes = 224;                        // 341
const int kFirstPairNo = 225;                         // 342
const int kSecondPairYes = 226;                       // 348
const int kSecondPairNo = 227;                        // 349
const int kFirstOverrideYes = 211;                    // 339
const int kFirstOverrideNo = 212;                     // 340
const Line kFirstAsUsed = {213, 214, 215};            // 281-283
const int kSecondOverrideYes = 216;                   // 346
const int kSecondOverrideNo = 217;                    // 347
const Line kSecondAsUsed = {218, 219, 220};           // 156289, 261, 262
const Line kForm51Both = {208, 209, 210};             // 156286-156288
const Line kForm51BothCopy = {230, 231, 232};         // 156293-156295
const Line kForm51AsUsed = {221, 222, 223};           // 156290-156292
const Line kForm51AsUsedCopy = {319, 320, 321};       // 156324-156326

const Line kPartYearGroup2 = {233, 234, 235};         // 156361-156363
const Line kPartYearGroups34 = {236, 237, 238};       // 156364-156366
const int kPartYearGroups34ReadTaxpayer = 55;         // 156355
const int kPartYearGroups34ReadSpouse = 56;           // 156356
const Line kPartYearEntered = {239, 240, 241};        // 156367-156369
const Line kPartYearNotTaxed = {242, 243, 244};       // 156370-156372
const Line kSummaryNotTaxed = {245, 246, 247};        // 156296-156298
const Line kPartYearSubtraction = {259, 260, 261};    // 156299-156301

const int kForm89PairYes = 251;                       // 335
const int kForm89PairNo = 252;                        // 336
const Line kForm89 = {248, 249, 250};                 // 239-241
const Line kForm89Adjustment = {253, 254, 255};       // 242-244
const Line kForm89Remainder = {256, 257, 258};        // 251-253
const Line kForm89RemainderCopy = {262, 263, 264};    // 266-268

const int kSubtractionPairYes = 265;                  // 337
const int kSubtractionPairNo = 266;                   // 338
const Line kOtherSubtractionOne = {267, 268, 269};    // 269-271
const Line kOtherSubtractionTwo = {270, 271, 272};    // 363-365
const Line kOtherSubtractionThree = {275, 276, 277};  // 156302-156304
const Line kSubtractions = {278, 279, 280};           // 156305-156307
const Line kSubtractionsCopy = {281, 282, 283};       // 156308-156310
const Line kNotTaxed = {284, 285, 286};               // 156311-156313
const Line kNet = {287, 288, 289};                    // 156314-156316, may be below 0

const int kOtherPairYes = 228;                        // 353
const int kOtherPairNo = 229;                         // 354
const Line kOther = {293, 294, 295};                  // 287-289
const Line kForm57Read = {38, 39, 40};                // 48353-48355
const Line kForm57 = {296, 297, 298};                 // 48356-48358
const Line kSummary34 = {290, 291, 292};              // 162955-162957
const Line kOtherAndForm57 = {299, 300, 301};         // 156317-156319
const Line kOtherAndForm57Copy = {302, 303, 304};     // 156320-156322
const int kEnteredPairYes = 305;                      // 210228
const int kEnteredPairNo = 306;                       // 210229
const Line kEnteredLines[] = {
    {307, 308, 309},  // 210230-210232
    {310, 311, 312},  // 210233-210235
    {313, 314, 315},  // 210236-210238
};

const Line kFederal = {316, 317, 318};                // 234, 238, 156323 (total, taxpayer, spouse share)
const int kSpouseShareEntered = 1;                    // 2
const Line kTotal = {322, 323, 324};                  // 156327-156329
const int kPartYearTaxpayer = 59;                     // 156359
const int kPartYearSpouse = 60;                       // 156360

// Federal sources (catalog members; host fields).
const int kFed51Dividends = 331;        // Fed51 18
const int kFed89Dividends = 103;        // Fed89 16
const int kFed57Dividends = 204;        // Fed57 82
const int kFed1099MiscTaxpayer = 92;    // Fed1099Misc 1
const int kFed1099MiscSpouse = 93;      // Fed1099Misc 2
const int kFed1099MiscAmount = 136;     // Fed1099Misc 37, hundredths
const int kFed5Dividends = 373;         // Fed5 160
const int kFed55Dividends = 175;        // Fed55 286
const int kFed164Taxpayer = 34;         // Fed164 2
const int kFed164Spouse = 35;           // Fed164 3
const int kFed164Joint = 36;            // Fed164 4
const int kFed164Amount = 46;           // Fed164 7, hundredths
const int kFed164ShareEntered = 67;     // Fed164 18
const int kFed164ShareAmount = 70;      // Fed164 32

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
  const double t = g.taxpayerFirstTwo();
  set(kSummaryShown.taxpayer, t);
  set(kSummary12.taxpayer, t);
  if (joint()) {
    set(kSummaryShown.spouse, g.spouseFirstTwo());
    set(kSummary12.spouse, g.spouseFirstTwo());
    sum(kSummary12.total, {kSummary12.taxpayer, kSummary12.spouse});
  } else {
    setNull(kSummaryShown.spouse);
    set(kSummaryShown.total, t);
    copyField(kSummary12.taxpayer, kSummary12.total);
  }
  ws.zero(field(kZeroedA));
  ws.zero(field(kZeroedB));
}

// Federal form 51 dividends by kind, each with the user's override.
void IntDivWorksheetCalc::form51Dividends() {
  const KindTotals kinds = form51ByKind(kFed51Dividends, false);
  markOrNo(ws, field(kForm51FirstPresent), kinds.present(0));
  markOrNo(ws, field(kForm51SecondPresent), kinds.present(1));
  defaultMark(kFirstPairNo, kFirstPairNo, kFirstPairYes);
  defaultMark(kSecondPairNo, kSecondPairNo, kSecondPairYes);

  set(kForm51FirstRead.total, kinds.amount[0][1] + kinds.amount[0][0]);
  set(kForm51FirstRead.taxpayer, kinds.amount[0][0]);
  set(kForm51FirstRead.spouse, kinds.amount[0][1]);
  splitFill(kForm51First, kinds.amount[0][0], kinds.amount[0][1]);
  choiceBox(kFirstOverrideYes, kFirstOverrideNo);
  overrideLine(kFirstOverrideYes, kFirstAsUsed, kForm51First);

  splitFill(kForm51Second, kinds.amount[1][0], kinds.amount[1][1]);
  if (fullYearResident()) {
    set(kForm51SecondResident, kinds.amount[1][0] + kinds.amount[1][1]);
  } else {
    setNull(kForm51SecondResident);
  }
  choiceBox(kSecondOverrideYes, kSecondOverrideNo);
  overrideLine(kSecondOverrideYes, kSecondAsUsed, kForm51Second);

  sumLines(kForm51Both, {kForm51First, kForm51Second});
  copyLine(kForm51Both, kForm51BothCopy);
  sumLines(kForm51AsUsed, {kFirstAsUsed, kSecondAsUsed});
  copyLine(kForm51AsUsed, kForm51AsUsedCopy);
}

// The summary dividends not taxed: a full-year resident's groups 2 and 3;
// a part-year resident's group 2 plus an entered part of groups 3 + 4. Then
// the part-year subtraction, which only a part-year resident may enter.
void IntDivWorksheetCalc::summaryDividendsNotTaxed(const SummaryGroups& g) {
  const double t34 = g.taxpayerLastTwo();
  const double s34 = g.spouseLastTwo();
  if (partYearResident()) {
    set(kPartYearGroup2.taxpayer, g.taxpayer[1]);
    if (joint()) {
      set(kPartYearGroup2.spouse, g.spouse[1]);
    } else {
      protectAndNull(kPartYearGroup2.spouse);
    }
    set(kPartYearGroups34.taxpayer, t34);
    if (joint()) {
      set(kPartYearGroups34.spouse, s34);
    } else {
      protectAndNull(kPartYearGroups34.spouse);
    }
    set(kPartYearGroups34ReadTaxpayer, t34);
    set(kPartYearGroups34ReadSpouse, s34);
    if (amount(kPartYearGroups34.taxpayer) > 0) {
      openAndLimit(kPartYearEntered.taxpayer, t34);
    } else {
      protectAndNull(kPartYearEntered.taxpayer);
    }
    sum(kPartYearNotTaxed.taxpayer, {kPartYearGroup2.taxpayer, kPartYearEntered.taxpayer});
    if (amount(kPartYearGroups34.spouse) > 0) {
      openAndLimit(kPartYearEntered.spouse, s34);
    } else {
      protectAndNull(kPartYearEntered.spouse);
    }
    sum(kPartYearNotTaxed.spouse, {kPartYearGroup2.spouse, kPartYearEntered.spouse});
    for (const Line& line : {kPartYearGroup2, kPartYearGroups34, kPartYearEntered, kPartYearNotTaxed}) {
      sum(line.total, {line.taxpayer, line.spouse});
    }
    copyLine(kPartYearNotTaxed, kSummaryNotTaxed);
  } else {
    clearRange(kPartYearGroup2.total, kPartYearNotTaxed.spouse);
    set(kSummaryNotTaxed.taxpayer, g.taxpayer[2] + g.taxpayer[1]);
    set(kSummaryNotTaxed.spouse, g.spouse[2] + g.spouse[1]);
    sum(kSummaryNotTaxed.total, {kSummaryNotTaxed.taxpayer, kSummaryNotTaxed.spouse});
  }

  const Line& partYear = kPartYearSubtraction;
  if (partYearResident()) {
    unprotect(partYear.taxpayer);
    if (joint()) {
      unprotect(partYear.spouse);
    } else {
      protectAndNull(partYear.spouse);
    }
    sum(partYear.total, {partYear.taxpayer, partYear.spouse});
  } else {
    // A full-year resident has no part-year subtraction (as on the
    // interest side); an entry left from a part-year calculation goes.
    protectAndNull(partYear.total);
    protectAndNull(partYear.taxpayer);
    protectAndNull(partYear.spouse);
  }
}

// Federal form 89 dividends with the user's adjustment.
void IntDivWorksheetCalc::form89Dividends() {
  defaultMark(kForm89PairNo, kForm89PairNo, kForm89PairYes);
  double dividends[2] = {};
  forEachCopy(federal, kFormID_Fed89, [&](uint16_t c) {
    const Owner owner = ownerOf(kFormID_Fed89, c, kFed89FieldIds[kFed89Taxpayer], kFed89FieldIds[kFed89Spouse]);
    if (owner != Owner::kTaxpayer && owner != Owner::kSpouse) return;
    dividends[owner == Owner::kTaxpayer ? 0 : 1] += federal.getIR(kFormID_Fed89, c, kFed89FieldIds[kFed89Dividends]);
  });
  const double taxpayer = dividends[0];
  const double spouse = dividends[1];

  protect(kForm89.taxpayer);
  protect(kForm89.spouse);
  defaultMark(kForm89PairNo, kForm89PairNo, kForm89PairYes);
  set(kForm89.total, taxpayer + spouse);
  set(kForm89.taxpayer, taxpayer);
  if (joint()) {
    set(kForm89.spouse, spouse);
  } else {
    setNull(kForm89.spouse);
  }

  const Line& adj = kForm89Adjustment;
  const Line& rem = kForm89Remainder;
  if (amount(kForm89.total) > 0) {
    if (joint()) {
      // The remainder of a person without form 89 dividends is recomputed
      // too, so none is left from an earlier calculation.
      if (taxpayer > 0) {
        openAndLimit(adj.taxpayer, taxpayer);
      } else {
        protectAndNull(adj.taxpayer);
      }
      remainder(rem.taxpayer, kForm89.taxpayer, adj.taxpayer);
      if (spouse > 0) {
        openAndLimit(adj.spouse, spouse);
      } else {
        protectAndNull(adj.spouse);
      }
      remainder(rem.spouse, kForm89.spouse, adj.spouse);
      plus(adj.total, adj.taxpayer, adj.spouse);
      plus(rem.total, rem.taxpayer, rem.spouse);
    } else {
      openAndLimit(adj.total, taxpayer + spouse);
      copyField(adj.total, adj.taxpayer);
      remainder(rem.total, kForm89.total, adj.total);
      copyField(rem.total, rem.taxpayer);
      protectAndNull(adj.spouse);
      protectAndNull(rem.spouse);
    }
  } else {
    clearRange(kForm89.total, kForm89Remainder.spouse);
  }
  copyLine(kForm89Remainder, kForm89RemainderCopy);
}

// The user's subtractions, the dividends not taxed and the net dividends.
void IntDivWorksheetCalc::dividendSubtractions() {
  defaultMark(kSubtractionPairNo, kSubtractionPairNo, kSubtractionPairYes);
  protect(kOtherSubtractionOne.total);
  enteredSplit(kOtherSubtractionOne);
  enteredSplit(kOtherSubtractionTwo);
  const Line& three = kOtherSubtractionThree;
  if (joint()) {
    unprotect(three.spouse);
  } else {
    protectAndNull(three.spouse);
  }
  sum(three.total, {three.taxpayer, three.spouse});

  sumLines(kSubtractions, {kPartYearSubtraction, kForm89RemainderCopy, kOtherSubtractionOne,
                           kOtherSubtractionTwo, kOtherSubtractionThree});
  copyLine(kSubtractions, kSubtractionsCopy);
  sumLines(kNotTaxed, {kForm51BothCopy, kSummaryNotTaxed, kSubtractionsCopy});

  // Net dividends are not cut at 0: a loss reduces the total.
  ws.minusII(field(kNet.taxpayer), field(kSummary12.taxpayer), field(kNotTaxed.taxpayer));
  ws.minusII(field(kNet.spouse), field(kSummary12.spouse), field(kNotTaxed.spouse));
  sum(kNet.total, {kNet.taxpayer, kNet.spouse});
}

// Other dividends, federal form 57 dividends split by the Form 1099-MISC
// copies, summary dividends 3 + 4 and the three entered lines.
void IntDivWorksheetCalc::otherDividends(const SummaryGroups& g) {
  defaultMark(kOtherPairNo, kOtherPairNo, kOtherPairYes);
  if (joint()) {
    unprotect(kOther.spouse);
  } else {
    protectAndNull(kOther.spouse);
  }
  sum(kOther.total, {kOther.taxpayer, kOther.spouse});

  const double form57 = federal.getIR(kFormID_Fed57, 1, kFed57FieldIds[kFed57Dividends]);
  set(kForm57Read.total, form57);
  if (form57 > 0) {
    double misc[2] = {};
    forEachCopy(federal, kFormID_Fed1099Misc, [&](uint16_t c) {
      const Owner owner = ownerOf(kFormID_Fed1099Misc, c, kFed1099MiscFieldIds[kFed1099MiscTaxpayer],
                                  kFed1099MiscFieldIds[kFed1099MiscSpouse]);
      if (owner != Owner::kTaxpayer && owner != Owner::kSpouse) return;
      misc[owner == Owner::kTaxpayer ? 0 : 1] +=
          federal.getIR(kFormID_Fed1099Misc, c, kFed1099MiscFieldIds[kFed1099MiscAmount]) / 100.0;
    });
    set(kForm57Read.taxpayer, misc[0]);
    set(kForm57Read.spouse, misc[1]);
    protect(kForm57.taxpayer);
    protect(kForm57.spouse);
    // The total is the federal amount itself, not the sum of the split.
    set(kForm57.total, form57);
    set(kForm57.taxpayer, misc[0]);
    if (joint()) {
      set(kForm57.spouse, misc[1]);
    } else {
      setNull(kForm57.spouse);
    }
  } else {
    protectAndNull(kForm57.taxpayer);
    protectAndNull(kForm57.spouse);
    protectAndNull(kForm57.total);
  }

  const double t34 = g.taxpayerLastTwo();
  set(kSummary34.taxpayer, t34);
  if (joint()) {
    set(kSummary34.spouse, g.spouseLastTwo());
    set(kSummary34.total, t34 + g.spouseLastTwo());
  } else {
    protectAndNull(kSummary34.spouse);
    set(kSummary34.total, t34);
  }

  sumLines(kOtherAndForm57, {kOther, kForm57});
  copyLine(kOtherAndForm57, kOtherAndForm57Copy);
  defaultMark(kEnteredPairNo, kEnteredPairNo, kEnteredPairYes);
  for (const Line& line : kEnteredLines) {
    if (joint()) {
      unprotect(line.spouse);
    } else {
      protectAndNull(line.spouse);
    }
  }
  for (const Line& line : kEnteredLines) sum(line.total, {line.taxpayer, line.spouse});
}

// The federal dividends of the federal return form in use, with the
// spouse's share taken from the federal form 164 items (or entered by the
// user when such an item says so).
void IntDivWorksheetCalc::federalDividends() {
  const DataMgmt::FormId federalForm = engine.getFederalReturnFormId();
  double dividends = 0.0;
  if (federalForm == kFormID_FedReturn) {
    dividends = static_cast<double>(federal.getAllCopies(kFormID_Fed5, kFed5FieldIds[kFed5Dividends]));
  } else if (federalForm == kFormID_Fed55) {
    dividends = federal.getIR(kFormID_Fed55, 1, kFed55FieldIds[kFed55Dividends]);
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
    federal.getII(kFormID_Fed55, kFed55FieldIds[kFed55Dividends], holder, field(kFederal.total));
  }

  if (amount(kFederal.total) == 0) {
    protectAndNull(kFederal.spouse);
    protectAndNull(kFederal.taxpayer);
  } else if (joint()) {
    double spouseItems = 0.0;
    double jointHalves = 0.0;
    double shareEntered = 0.0;
    const DataMgmt::FormId& f164 = kFormID_Fed164;
    forEachCopy(federal, f164, [&](uint16_t c) {
      if (federal.formYes(f164, c, kFed164FieldIds[kFed164Taxpayer])) return;
      const double amount = federal.getIR(f164, c, kFed164FieldIds[kFed164Amount]);
      if (federal.formYes(f164, c, kFed164FieldIds[kFed164Spouse])) {
        spouseItems += amount / 100.0;
      } else if (federal.formYes(f164, c, kFed164FieldIds[kFed164Joint])) {
        jointHalves += amount * 0.5 / 100.0;  // not rounded
      } else {
        return;
      }
      if (federal.formYes(f164, c, kFed164FieldIds[kFed164ShareEntered])) {
        shareEntered += federal.getIR(f164, c, kFed164FieldIds[kFed164ShareAmount]);
      }
    });
    if (shareEntered > 0) {
      ws.setX(field(kSpouseShareEntered));
      unprotect(kFederal.spouse);
      limitToField(kFederal.spouse, kFederal.total);
    } else {
      ws.setXNo(field(kSpouseShareEntered));
      protect(kFederal.spouse);
      set(kFederal.spouse, jointHalves + spouseItems);
    }
  } else {
    copyField(kFederal.total, kFederal.taxpayer);
    protectAndNull(kFederal.spouse);
  }
  remainder(kFederal.taxpayer, kFederal.total, kFederal.spouse);
}

// Total dividends, a part-year resident's dividends after the part-year
// subtraction, and the count of summary groups 3 + 4.
void IntDivWorksheetCalc::totalDividends(const SummaryGroups& g) {
  sumLines(kTotal, {kNet, kOtherAndForm57Copy, kEnteredLines[2], kFederal, kSummary34, kForm51AsUsedCopy});
  if (!joint()) setNull(kTotal.spouse);

  if (partYearResident()) {
    // The dividends before the part-year subtraction (the total has it
    // taken off), as the interest half shows the interest; recalculated on
    // every run so that they follow the dividends and the subtraction.
    plus(kPartYearTaxpayer, kPartYearSubtraction.taxpayer, kTotal.taxpayer);
    if (joint()) {
      plus(kPartYearSpouse, kPartYearSubtraction.spouse, kTotal.spouse);
    } else {
      protectAndNull(kPartYearSpouse);
    }
  } else {
    protectAndNull(kPartYearTaxpayer);
    protectAndNull(kPartYearSpouse);
  }

  const double count = g.lastTwoOfBoth();
  if (count > 0) {
    set(kGroups34Count, count);
  } else {
    setNull(kGroups34Count);
  }
}

}  // namespace int_div
}  // namespace PACalculationMgmt
