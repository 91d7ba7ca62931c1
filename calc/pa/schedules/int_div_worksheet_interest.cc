// The interest half of the PA interest and dividend worksheet: summary
// interest, federal form 51, 166 and 89 interest with the user's
// adjustments, the subtractions, the interest not taxed, the amounts of the
// miscellaneous compensation worksheet, federal form 57 and 10297 interest,
// and the totals.
#include <algorithm>

#include "calc/pa/box_marks.h"
#include "calc/pa/schedules/int_div_worksheet_calc.h"
#include "catalogs/catalogs.h"
#include "host/rounding.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {
namespace int_div {

namespace {

// Worksheet lines (PAInterestDividendWorksheetFieldIds members; host
// fields total, taxpayer, spouse in the comments).
const int kGroups34Count = 14;                        // 307
const Line kSummaryShown = {25, 26, 27};              // 231, 232, 233
const Line kSummary12 = {63, 64, 65};                 // 155737-155739
const int kSummary12Copy = 49;                        // 151305
const Line kSummary34 = {66, 67, 68};                 // 155740-155742
const Line kOtherInterest = {69, 70, 71};             // 155743-155745
const Line kGrossInterest = {72, 73, 74};             // 155746-155748

const Line kForm51First = {75, 76, 77};               // 198-200
const int kForm51FirstResident = 2;                   // 158
const int kForm51FirstPresent = 21;                   // 313
const Line kForm51Second = {78, 79, 80};              // 201-203
const int kForm51SecondResident = 5;                  // 159
const int kForm51SecondPresent = 22;                  // 314
const Line kForm51Both = {81, 82, 83};                // 155749-155751
const Line kForm51BothCopy = {103, 104, 105};         // 156250-156252
const int kFirstOverrideYes = 84;                     // 324
const int kFirstOverrideNo = 85;                      // 325
const Line kFirstAsUsed = {86, 87, 88};               // 222-224
const int kSecondOverrideYes = 89;                    // 331
const int kSecondOverrideNo = 90;                     // 332
const Line kSecondAsUsed = {91, 92, 93};              // 225-227
const Line kForm51AsUsed = {94, 95, 96};              // 156247-156249
const Line kForm51AsUsedCopy = {193, 194, 195};       // 156277-156279
const int kFirstPairYes = 97;                         // 326
const int kFirstPairNo = 98;                          // 327
const int kSecondPairYes = 101;                       // 333
const int kSecondPairNo = 102;                        // 334

const Line kGroup3 = {106, 107, 108};                 // 155752-155754
const Line kGroup2 = {109, 110, 111};                 // 156253-156255

const Line kFederal = {112, 113, 114};                // 162-164
const Line kFederalAdjustment = {115, 116, 117};      // 165-167
const Line kFederalRemainder = {118, 119, 120};       // 174-176
const Line kFederalAdjustmentCopy = {135, 136, 137};  // 207-209

const Line kForm89 = {121, 122, 123};                 // 180-182
const int kForm89PairYes = 124;                       // 317
const int kForm89PairNo = 125;                        // 318
const Line kForm89Adjustment = {126, 127, 128};       // 183-185
const Line kForm89Remainder = {129, 130, 131};        // 192-194
const Line kForm89RemainderCopy = {138, 139, 140};    // 210-212

const Line kPartYearSubtraction = {132, 133, 134};    // 156256-156258
const int kSubtractionPairYes = 141;                  // 319
const int kSubtractionPairNo = 142;                   // 320
const Line kOtherSubtractionOne = {143, 144, 145};    // 213-215
const Line kOtherSubtractionTwo = {146, 147, 148};    // 358-360
const Line kOtherSubtractionThree = {151, 152, 153};  // 156259-156261
const Line kSubtractions = {154, 155, 156};           // 216-218
const Line kSubtractionsCopy = {157, 158, 159};       // 156262-156264
const Line kNotTaxed = {160, 161, 162};               // 156265-156267
const Line kNet = {163, 164, 165};                    // 156268-156270

const Line kForm57PairRead = {35, 36, 37};            // 48305-48307
const int kForm57PairYes = 179;                       // 36543
const int kForm57PairNo = 180;                        // 36544
const Line kForm57Pair = {176, 177, 178};             // 36540-36542
const Line kForm10297Read = {31, 32, 33};             // 23885-23887
const Line kForm10297 = {181, 182, 183};              // 23893-23895
const int kForm57SingleRead = 34;                     // 38664
const Line kForm57Single = {184, 185, 186};           // 36537-36539
const Line kTogether = {187, 188, 189};               // 156271-156273
const Line kTogetherCopy = {190, 191, 192};           // 156274-156276

const Line kTotal = {196, 197, 198};                  // 219-221
const int kPartYearTaxpayer = 57;                     // 156357
const int kPartYearSpouse = 58;                       // 156358

// The two lines fed by the miscellaneous compensation worksheet (state
// form 187, PAMiscCompWorksheetFieldIds): the all-copies sums of its
// taxpayer and spouse fields, the worksheet field holding their sum, the
// entered line limited by them, and the check-box pair given a default
// (first, other, other).
struct MiscLine {
  int taxpayerSource;
  int spouseSource;
  int readSum;
  Line entered;
  int defaultFirst;
  int defaultOther;
};
const MiscLine kMiscLines[] = {
    {26, 27, 47, {166, 167, 168}, 170, 169},  // 46475, 46476 -> 79804; 23888-23890; 23892, 23891
    {28, 29, 48, {171, 172, 173}, 175, 174},  // 46477, 46478 -> 79805; 46481-46483; 79807, 79806
};

// Federal sources (catalog members; host fields).
const int kFed51Interest = 329;       // Fed51 17
const int kFed51FederalLine = 404;    // Fed51 188
const int kFed166Taxpayer = 55;       // Fed166 2
const int kFed166Spouse = 56;         // Fed166 3
const int kFed166Joint = 57;          // Fed166 4
const int kFed166AmountA = 66;        // Fed166 11, hundredths
const int kFed166AmountB = 90;        // Fed166 19, hundredths
const int kFed89AmountA = 101;        // Fed89 15
const int kFed89AmountB = 55;         // Fed89 130
const int kFed89AmountC = 174;        // Fed89 153
const int kFed57PairTaxpayer = 230;   // Fed57 329
const int kFed57PairSpouse = 231;     // Fed57 330
const int kFed57Form10297Gate = 238;  // Fed57 17316
const int kFed57Single = 226;         // Fed57 228
const int kFed10297Amount = 143;      // Fed10297 10468

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
  const double count = g.lastTwoOfBoth();
  if (count > 0) {
    set(kGroups34Count, count);
  } else {
    setNull(kGroups34Count);
  }

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
    set(kSummary12.total, t);
    copyField(kSummaryShown.taxpayer, kSummary12.total);
  }
  copyField(kSummary12.total, kSummary12Copy);

  const double t34 = g.taxpayerLastTwo();
  set(kSummary34.taxpayer, t34);
  if (joint()) {
    set(kSummary34.spouse, g.spouseLastTwo());
    set(kSummary34.total, t34 + g.spouseLastTwo());
  } else {
    protectAndNull(kSummary34.spouse);
    set(kSummary34.total, t34);
  }
  if (joint()) {
    sum(kOtherInterest.total, {kOtherInterest.taxpayer, kOtherInterest.spouse});
  } else {
    copyField(kOtherInterest.taxpayer, kOtherInterest.total);
  }
  sumLines(kGrossInterest, {kSummary12, kSummary34, kOtherInterest});
}

// Federal form 51 interest by kind, each with the user's override.
void IntDivWorksheetCalc::form51Interest() {
  const KindTotals kinds = form51ByKind(kFed51Interest, true);
  markOrNo(ws, field(kForm51FirstPresent), kinds.present(0));
  markOrNo(ws, field(kForm51SecondPresent), kinds.present(1));

  defaultMark(kFirstPairNo, kFirstPairNo, kFirstPairYes);
  defaultMark(kSecondPairNo, kSecondPairNo, kSecondPairYes);
  protect(kForm51First.total);
  protect(kForm51First.taxpayer);
  protect(kForm51First.spouse);
  splitFill(kForm51First, kinds.amount[0][0], kinds.amount[0][1]);
  if (fullYearResident()) {
    set(kForm51FirstResident, kinds.amount[0][0] + kinds.amount[0][1]);
  } else {
    setNull(kForm51FirstResident);
  }
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

// Group 3 of the summary (a part-year resident enters the part of 3 + 4
// that is not taxed) and group 2.
void IntDivWorksheetCalc::summaryInterestNotTaxed(const SummaryGroups& g) {
  const double t34 = g.taxpayerLastTwo();
  if (t34 > 0) {
    if (partYearResident()) {
      openAndLimit(kGroup3.taxpayer, t34);
    } else {
      set(kGroup3.taxpayer, g.taxpayer[2]);
    }
  } else {
    protectAndNull(kGroup3.taxpayer);
  }
  const double s34 = g.spouseLastTwo();
  if (s34 > 0 && joint()) {
    if (partYearResident()) {
      openAndLimit(kGroup3.spouse, s34);
    } else {
      set(kGroup3.spouse, g.spouse[2]);
    }
  } else {
    protectAndNull(kGroup3.spouse);
  }
  sum(kGroup3.total, {kGroup3.taxpayer, kGroup3.spouse});
  splitFill(kGroup2, g.taxpayer[1], g.spouse[1]);
}

// The federal interest with the user's adjustment; a remainder on either
// side has the Schedule D worksheet recalculated at once.
void IntDivWorksheetCalc::federalInterest() {
  const long pulled = pa.pullCommon(engine.getFederalReturnFormId(), 1, kPullFederalInterest);

  double taxpayer166 = 0.0;
  double spouse166 = 0.0;
  double joint166 = 0.0;
  forEachCopy(federal, kFormID_Fed166, [&](uint16_t c) {
    const double amount = federal.getIN(kFormID_Fed166, c, kFed166FieldIds[kFed166AmountA]) / 100.0 +
                          federal.getIN(kFormID_Fed166, c, kFed166FieldIds[kFed166AmountB]) / 100.0;
    switch (ownerOf(kFormID_Fed166, c, kFed166FieldIds[kFed166Taxpayer], kFed166FieldIds[kFed166Spouse],
                    kFed166FieldIds[kFed166Joint])) {
      case Owner::kTaxpayer: taxpayer166 += amount; break;
      case Owner::kSpouse: spouse166 += amount; break;
      case Owner::kJoint: joint166 += amount; break;
      case Owner::kNone: break;
    }
  });
  // Joint items: the taxpayer's half rounded, the spouse the rest.
  const double half = static_cast<double>(Utils::roundR(joint166 * 0.5));
  taxpayer166 += half;
  spouse166 += joint166 - half;

  double lineTaxpayer = 0.0;
  double lineSpouse = 0.0;
  forEachCopy(federal, kFormID_Fed51, [&](uint16_t c) {
    const double amount = static_cast<double>(federal.getIN(kFormID_Fed51, c, kFed51FieldIds[kFed51FederalLine]));
    const Owner owner = ownerOf(kFormID_Fed51, c, kFed51FieldIds[kFed51Taxpayer], kFed51FieldIds[kFed51Spouse]);
    if (owner == Owner::kTaxpayer) lineTaxpayer += amount;
    if (owner == Owner::kSpouse) lineSpouse += amount;
  });

  const Line& adj = kFederalAdjustment;
  const Line& rem = kFederalRemainder;
  if (pulled == 0) {
    clearRange(kFederal.total, kFederalRemainder.spouse);
  } else {
    if (joint()) {
      set(kFederal.total, spouse166 + taxpayer166 + lineTaxpayer + lineSpouse);
      set(kFederal.spouse, lineSpouse + spouse166);
      set(kFederal.taxpayer, lineTaxpayer + taxpayer166);
    } else {
      set(kFederal.total, static_cast<double>(pulled));
      copyField(kFederal.total, kFederal.taxpayer);
    }
    unprotect(adj.total);
    limitToField(adj.total, kFederal.total);
    remainder(rem.total, kFederal.total, adj.total);
    if (joint()) {
      unprotect(adj.spouse);
      limitToField(adj.spouse, kFederal.spouse);
      unprotect(adj.taxpayer);
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
      copyField(adj.total, adj.taxpayer);
      copyField(rem.total, rem.taxpayer);
    }
  }

  copyLine(kFederalAdjustment, kFederalAdjustmentCopy);
  if (amount(rem.taxpayer) > 0 || amount(rem.spouse) > 0) {
    // The Schedule D worksheet reads the two remainders.
    DataMgmt::TaxFormPtr salesWorksheet = pa.getFormUVPtr(kFormID_PAScheduleDWorksheet, 1, true);
    if (!salesWorksheet.isNull()) {
      engine.calcStateForm(kFormID_PAScheduleDWorksheet, 1, false, 1, 0, salesWorksheet);
    }
  }
}

// Federal form 89 interest with the user's adjustment.
void IntDivWorksheetCalc::form89Interest() {
  double a[2] = {};
  double b[2] = {};
  double c[2] = {};
  forEachCopy(federal, kFormID_Fed89, [&](uint16_t n) {
    const Owner owner = ownerOf(kFormID_Fed89, n, kFed89FieldIds[kFed89Taxpayer], kFed89FieldIds[kFed89Spouse]);
    if (owner != Owner::kTaxpayer && owner != Owner::kSpouse) return;
    const int person = owner == Owner::kTaxpayer ? 0 : 1;
    a[person] += static_cast<double>(federal.getIN(kFormID_Fed89, n, kFed89FieldIds[kFed89AmountA]));
    b[person] += static_cast<double>(federal.getIN(kFormID_Fed89, n, kFed89FieldIds[kFed89AmountB]));
    c[person] += static_cast<double>(federal.getIN(kFormID_Fed89, n, kFed89FieldIds[kFed89AmountC]));
  });
  const double taxpayer89 = positivePart(a[0]) + positivePart(b[0] - c[0]);
  const double spouse89 = positivePart(a[1]) + positivePart(b[1] - c[1]);

  protect(kForm89.taxpayer);
  protect(kForm89.spouse);
  defaultMark(kForm89PairNo, kForm89PairNo, kForm89PairYes);
  set(kForm89.total, taxpayer89 + spouse89);
  set(kForm89.taxpayer, taxpayer89);
  if (joint()) {
    set(kForm89.spouse, spouse89);
  } else {
    setNull(kForm89.spouse);
  }

  const Line& adj = kForm89Adjustment;
  const Line& rem = kForm89Remainder;
  if (amount(kForm89.total) > 0) {
    if (joint()) {
      // A person without form 89 interest has nothing to adjust; the
      // remainder is recomputed either way so none is left from an earlier
      // calculation.
      if (taxpayer89 > 0) {
        unprotect(adj.taxpayer);
        limitToField(adj.taxpayer, kForm89.taxpayer);
      } else {
        protectAndNull(adj.taxpayer);
      }
      remainder(rem.taxpayer, kForm89.taxpayer, adj.taxpayer);
      if (spouse89 > 0) {
        unprotect(adj.spouse);
        limitToField(adj.spouse, kForm89.spouse);
      } else {
        protectAndNull(adj.spouse);
      }
      remainder(rem.spouse, kForm89.spouse, adj.spouse);
      plus(adj.total, adj.taxpayer, adj.spouse);
      plus(rem.total, rem.taxpayer, rem.spouse);
    } else {
      openAndLimit(adj.total, taxpayer89 + spouse89);
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

// The user's subtractions and their totals.
void IntDivWorksheetCalc::interestSubtractions() {
  defaultMark(kSubtractionPairNo, kSubtractionPairNo, kSubtractionPairYes);
  enteredSplit(kOtherSubtractionOne);
  enteredSplit(kOtherSubtractionTwo);

  const Line& partYear = kPartYearSubtraction;
  if (!partYearResident()) {
    protectAndNull(partYear.total);
    protectAndNull(partYear.taxpayer);
    protectAndNull(partYear.spouse);
  } else if (joint()) {
    unprotect(partYear.taxpayer);
    unprotect(partYear.spouse);
    plus(partYear.total, partYear.taxpayer, partYear.spouse);
  } else {
    unprotect(partYear.taxpayer);
    copyField(partYear.taxpayer, partYear.total);
    protectAndNull(partYear.spouse);
  }

  const Line& three = kOtherSubtractionThree;
  if (joint()) {
    unprotect(three.spouse);
    plus(three.total, three.taxpayer, three.spouse);
  } else {
    protectAndNull(three.spouse);
    copyField(three.taxpayer, three.total);
  }

  sumLines(kSubtractions, {kPartYearSubtraction, kFederalAdjustmentCopy, kForm89RemainderCopy,
                           kOtherSubtractionOne, kOtherSubtractionTwo, kOtherSubtractionThree});
  copyField(kSubtractions.taxpayer, kSubtractionsCopy.taxpayer);
  if (joint()) {
    copyField(kSubtractions.spouse, kSubtractionsCopy.spouse);
    sum(kSubtractionsCopy.total, {kSubtractionsCopy.taxpayer, kSubtractionsCopy.spouse});
  } else {
    protectAndNull(kSubtractionsCopy.spouse);
    copyField(kSubtractionsCopy.taxpayer, kSubtractionsCopy.total);
  }
}

// Interest not taxed and net interest.
void IntDivWorksheetCalc::netInterest() {
  sum(kNotTaxed.taxpayer,
      {kForm51Both.taxpayer, kGroup3.taxpayer, kGroup2.taxpayer, kSubtractionsCopy.taxpayer});
  if (joint()) {
    sum(kNotTaxed.spouse, {kForm51Both.spouse, kGroup3.spouse, kGroup2.spouse, kSubtractionsCopy.spouse});
    plus(kNotTaxed.total, kNotTaxed.taxpayer, kNotTaxed.spouse);
  } else {
    protectAndNull(kNotTaxed.spouse);
    copyField(kNotTaxed.taxpayer, kNotTaxed.total);
  }

  remainder(kNet.taxpayer, kGrossInterest.taxpayer, kNotTaxed.taxpayer);
  if (joint()) {
    remainder(kNet.spouse, kGrossInterest.spouse, kNotTaxed.spouse);
    plus(kNet.total, kNet.taxpayer, kNet.spouse);
  } else {
    protectAndNull(kNet.spouse);
    copyField(kNet.taxpayer, kNet.total);
  }
}

// The two lines of the miscellaneous compensation worksheet: entered
// amounts limited by what that worksheet holds for each person.
void IntDivWorksheetCalc::form187Amounts() {
  for (const MiscLine& line : kMiscLines) {
    defaultMark(line.defaultFirst, line.defaultOther, line.defaultOther);
    const double taxpayer = static_cast<double>(
        pa.getAllCopies(kFormID_PAMiscCompWorksheet, kPAMiscCompWorksheetFieldIds[line.taxpayerSource]));
    const double spouse = static_cast<double>(
        pa.getAllCopies(kFormID_PAMiscCompWorksheet, kPAMiscCompWorksheetFieldIds[line.spouseSource]));
    if (taxpayer > 0) {
      openAndLimit(line.entered.taxpayer, taxpayer);
    } else {
      protectAndNull(line.entered.taxpayer);
    }
    if (spouse > 0 && joint()) {
      openAndLimit(line.entered.spouse, spouse);
    } else {
      protectAndNull(line.entered.spouse);
    }
    set(line.readSum, taxpayer + spouse);
    plus(line.entered.total, line.entered.taxpayer, line.entered.spouse);
  }
}

// Federal form 57 and form 10297 interest.
void IntDivWorksheetCalc::form57AndForm10297Interest() {
  const DataMgmt::FormId& f57 = kFormID_Fed57;
  const double pairTaxpayer = federal.getIR(f57, 1, kFed57FieldIds[kFed57PairTaxpayer]);
  const double pairSpouse = federal.getIR(f57, 1, kFed57FieldIds[kFed57PairSpouse]);
  const double pair = joint() ? pairTaxpayer + pairSpouse : pairTaxpayer;
  set(kForm57PairRead.total, pair);
  set(kForm57PairRead.taxpayer, pairTaxpayer);
  set(kForm57PairRead.spouse, pairSpouse);
  defaultMark(kForm57PairNo, kForm57PairNo, kForm57PairYes);
  if (pair > 0) {
    protect(kForm57Pair.total);
    protect(kForm57Pair.spouse);
    set(kForm57Pair.taxpayer, pairTaxpayer);
    if (joint()) {
      set(kForm57Pair.spouse, pairSpouse);
    } else {
      setNull(kForm57Pair.spouse);
    }
    plus(kForm57Pair.total, kForm57Pair.taxpayer, kForm57Pair.spouse);
  } else {
    protectAndNull(kForm57Pair.taxpayer);
    protectAndNull(kForm57Pair.spouse);
    setNull(kForm57Pair.total);
  }

  const double gate10297 = federal.getIR(f57, 1, kFed57FieldIds[kFed57Form10297Gate]);
  const double taxpayer10297 = federal.getIR(kFormID_Fed10297, 1, kFed10297FieldIds[kFed10297Amount]);
  const double spouse10297 = federal.getIR(kFormID_Fed10297, 2, kFed10297FieldIds[kFed10297Amount]);
  set(kForm10297Read.total, gate10297);
  set(kForm10297Read.taxpayer, taxpayer10297);
  set(kForm10297Read.spouse, spouse10297);
  if (gate10297 > 0) {
    protect(kForm10297.total);
    protect(kForm10297.taxpayer);
    protect(kForm10297.spouse);
    set(kForm10297.taxpayer, taxpayer10297);
    if (joint()) {
      set(kForm10297.spouse, spouse10297);
    } else {
      setNull(kForm10297.spouse);
    }
    plus(kForm10297.total, kForm10297.taxpayer, kForm10297.spouse);
  } else {
    protectAndNull(kForm10297.taxpayer);
    protectAndNull(kForm10297.spouse);
    setNull(kForm10297.total);
  }

  // A single amount of both spouses: the spouse's part is entered, the
  // taxpayer keeps the rest.
  const double single = federal.getIR(f57, 1, kFed57FieldIds[kFed57Single]);
  set(kForm57SingleRead, single);
  if (single > 0) {
    set(kForm57Single.total, single);
    if (joint()) {
      openAndLimit(kForm57Single.spouse, single);
    } else {
      protectAndNull(kForm57Single.spouse);
      copyField(kForm57Single.total, kForm57Single.taxpayer);
    }
    remainder(kForm57Single.taxpayer, kForm57Single.total, kForm57Single.spouse);
  } else {
    protectAndNull(kForm57Single.taxpayer);
    protectAndNull(kForm57Single.spouse);
    setNull(kForm57Single.total);
  }

  if (single > 0 || gate10297 > 0) {
    sum(kTogether.taxpayer, {kForm10297.taxpayer, kForm57Single.taxpayer});
    if (joint()) {
      sum(kTogether.spouse, {kForm10297.spouse, kForm57Single.spouse});
      sum(kTogether.total, {kTogether.taxpayer, kTogether.spouse});
    } else {
      protectAndNull(kTogether.spouse);
      copyField(kTogether.taxpayer, kTogether.total);
    }
    copyField(kTogether.taxpayer, kTogetherCopy.taxpayer);
    if (joint()) {
      copyField(kTogether.spouse, kTogetherCopy.spouse);
    } else {
      protectAndNull(kTogetherCopy.spouse);
    }
    copyField(kTogether.total, kTogetherCopy.total);
  } else {
    for (const Line& line : {kTogether, kTogetherCopy}) {
      protectAndNull(line.total);
      protectAndNull(line.taxpayer);
      protectAndNull(line.spouse);
    }
  }
}

// Total interest, and a part-year resident's interest before the part-year
// subtraction.
void IntDivWorksheetCalc::totalInterest() {
  sumLines(kTotal, {kNet, kMiscLines[0].entered, kMiscLines[1].entered, kForm57Pair, kTogetherCopy,
                    kForm51AsUsedCopy});
  if (!joint()) setNull(kTotal.spouse);

  if (partYearResident()) {
    plus(kPartYearTaxpayer, kPartYearSubtraction.taxpayer, kTotal.taxpayer);
    if (joint()) {
      plus(kPartYearSpouse, kPartYearSubtraction.spouse, kTotal.spouse);
    } else {
      protectAndNull(kPartYearSpouse);  // no stale spouse amount after a joint return
    }
  } else {
    protectAndNull(kPartYearTaxpayer);
    protectAndNull(kPartYearSpouse);
  }
}

}  // namespace int_div
}  // namespace PACalculationMgmt
