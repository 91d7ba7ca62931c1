// The PA W-2 wage list: rows from the federal W-2s, PA compensation and tax
// by residency, flags, per-person totals and counts.
#include <string>
#include <vector>

#include "calc/state/tests/state_engine_fixture.h"
#include "catalogs/fields/fields.h"

namespace {

// One state row of a federal W-2: code, wages and tax in hundredths.
struct StateRow {
  const char* code;
  double wages;
  double tax;
};

class PAW2Test : public StateEngineTest {
 protected:
  // A federal W-2 with owner 'T', 'S' or 0 (no mark) and wages in hundredths.
  void addW2(uint16_t copy, char owner, double wages, const std::vector<StateRow>& rows = {},
             const std::string& name = "Acme") {
    if (owner == 'T') mark(kFormID_FedW2, FedW2::kTaxpayerBox, copy);
    if (owner == 'S') mark(kFormID_FedW2, FedW2::kSpouseBox, copy);
    number(kFormID_FedW2, FedW2::kWages, wages, copy);
    text(kFormID_FedW2, FedW2::kEmployerName, name, copy);
    for (size_t k = 0; k < rows.size(); ++k) {
      text(kFormID_FedW2, FedW2::kStateCode.at(k), rows[k].code, copy);
      number(kFormID_FedW2, FedW2::kStateWages.at(k), rows[k].wages, copy);
      number(kFormID_FedW2, FedW2::kStateIncomeTax.at(k), rows[k].tax, copy);
    }
  }
  void calculate(uint16_t copy = 1) { engine->computePAW2(holder(kFormID_PAW2, copy), copy, 0); }
  DataMgmt::TaxForm& list(uint16_t copy = 1) { return copyOf(kFormID_PAW2, copy); }
  double value(const FieldId& field) { return list().getIR(field); }
  std::string textAt(const FieldId& field, uint16_t copy = 1) { return textOf(kFormID_PAW2, field, copy); }
};

// A W-2 without wages takes no row, nor does a spouse's off a joint return;
// rows fill from the top while the listed names follow the federal copies;
// the owner is the W-2's on every calculation (unmarked: the taxpayer's).
TEST_F(PAW2Test, RowsFromTheFederalW2s) {
  addW2(1, 'T', 100000, {}, std::string(120, 'n'));
  addW2(2, 'T', 0);
  addW2(3, 'S', 100000);
  addW2(4, 0, 250050, {}, "Beta");
  text(kFormID_PAW2, PAW2::kRowOwner.at(1), "S");
  calculate();
  const size_t length =
      pa->getTaxFormDescriptor(kFormID_PAW2)->getFieldDesc(PAW2::kRowEmployerName.at(0))->getLength();
  EXPECT_EQ(textAt(PAW2::kRowEmployerName.at(0)), std::string(length, 'n'));
  EXPECT_EQ(textAt(PAW2::kListedEmployerName.at(3)), "Beta");
  EXPECT_EQ(textAt(PAW2::kRowEmployerName.at(1)), "Beta");
  EXPECT_EQ(textAt(PAW2::kRowOwner.at(1)), "T");
  EXPECT_DOUBLE_EQ(value(PAW2::kRowFederalWages.at(1)), 2500.50);
  EXPECT_TRUE(list().isNull(PAW2::kRowOwner.at(2)));
  EXPECT_DOUBLE_EQ(value(PAW2::kTaxpayerFederalWages), 3501);  // the rows in whole dollars
  EXPECT_TRUE(list().isNull(PAW2::kSpouseFederalWages));
  EXPECT_TRUE(list().isDataEntered());

  mark(kFormID_PAReturnInfo, PAReturnInfo::kJointBox);
  calculate();
  EXPECT_EQ(textAt(PAW2::kRowOwner.at(1)), "S");
  EXPECT_DOUBLE_EQ(value(PAW2::kSpouseFederalWages), 1000);
}

// A nonresident's PA columns take the PA state row alone (the golden
// returns hold a reciprocal state, a W-2 without a PA row and typed
// amounts).
TEST_F(PAW2Test, ANonresidentsPAColumnsTakeThePARowAlone) {
  mark(kFormID_PAReturnInfo, PAReturnInfo::kNonresidentBox);
  addW2(1, 'T', 100000, {{"NY", 60000, 100}, {"PA", 40000, 1228}});
  calculate();
  EXPECT_DOUBLE_EQ(value(PAW2::kRowPACompensation.at(0)), 400);
  EXPECT_DOUBLE_EQ(value(PAW2::kRowPATaxWithheld.at(0)), 12.28);
  EXPECT_FALSE(list().xMarked(PAW2::kReciprocalStateBox));
}

// A row counts when its PA tax exceeds the rounded PA tax on its
// compensation, never when either is 0; per person, by the owner letter.
TEST_F(PAW2Test, RowsAboveThePARateAreCountedPerPerson) {
  mark(kFormID_PAReturnInfo, PAReturnInfo::kJointBox);
  mark(kFormID_PAReturnInfo, PAReturnInfo::kPartYearResidentBox);  // typed amounts stay
  const struct {
    char owner;
    double wages, tax;
  } kRows[] = {{'T', 1000, 31}, {'T', 1000, 31.01}, {'T', 0, 50}, {'T', 1000, 0},
               {'S', 1000, 40}, {0, 1000, 40},      {'T', 52000, 1596.40}};  // the last exactly at the rate
  for (int r = 0; r < 7; ++r) {
    addW2(r + 1, kRows[r].owner, 100000);
    number(kFormID_PAW2, PAW2::kRowPACompensation.at(r), kRows[r].wages);
    number(kFormID_PAW2, PAW2::kRowPATaxWithheld.at(r), kRows[r].tax);
  }
  calculate();
  EXPECT_DOUBLE_EQ(value(PAW2::kTaxpayerWithholdingAboveRateCount), 2);
  EXPECT_DOUBLE_EQ(value(PAW2::kSpouseWithholdingAboveRateCount), 1);
  EXPECT_DOUBLE_EQ(value(PAW2::kTaxpayerPACompensation), 56000);
  EXPECT_DOUBLE_EQ(value(PAW2::kTaxpayerPATaxWithheld), 1748);  // 31 + 31 + 50 + 40 + 1,596, as the rows read
}

// The withholding of the return's rows is rounded once: the rows show
// whole dollars, and the largest row the calculation writes on every run
// (of copy 1) carries the difference, so that the rows and their totals
// add up to the sum in cents rounded. The carried row is not above the
// rate for the carry.
TEST_F(PAW2Test, RowsAddUpToTheWithholdingInCentsRoundedOnce) {
  const struct {
    const char* what;
    std::vector<double> taxes;  // in hundredths, one W-2 each, wages 2,000
    char spouseFrom;            // owner of the W-2s from the second on
    double worksheetRow;        // a worksheet row's withholding
    std::vector<double> rows;   // PA tax of the rows
    double taxpayer, spouse;
    int aboveRate;  // the taxpayer's rows above 61.40
  } kCases[] = {
      {"three of 61.40", {6140, 6140, 6140}, 'T', 0, {62, 61.40, 61.40}, 184, 0, 0},
      {"largest row carries", {6140, 9000, 6140}, 'T', 0, {61.40, 91, 61.40}, 213, 0, 1},
      {"a difference below 0", {6160, 6160, 6160}, 'T', 0, {61, 61.60, 61.60}, 185, 0, 3},
      {"both persons", {50, 50}, 'S', 0, {0, 0.50}, 0, 1, 0},
      {"with the worksheet's", {18420}, 'T', 10.40, {185}, 185, 0, 1},
      {"nothing to carry", {6140, 6160}, 'T', 0, {61.40, 61.60}, 123, 0, 1},
  };
  for (const auto& c : kCases) {
    restart();
    mark(kFormID_PAReturnInfo, PAReturnInfo::kJointBox);
    for (size_t k = 0; k < c.taxes.size(); ++k) {
      addW2(static_cast<uint16_t>(k + 1), k == 0 ? 'T' : c.spouseFrom, 200000, {{"PA", 200000, c.taxes[k]}});
    }
    number(kFormID_PAMiscCompWorksheet, PAMiscCompWorksheet::kRowPAWithholding.at(0), c.worksheetRow);
    calculate();
    SCOPED_TRACE(c.what);
    for (size_t r = 0; r < c.rows.size(); ++r) {
      EXPECT_DOUBLE_EQ(value(PAW2::kRowPATaxWithheld.at(static_cast<int>(r))), c.rows[r]) << r;
    }
    EXPECT_DOUBLE_EQ(value(PAW2::kTaxpayerPATaxWithheld), c.taxpayer);
    EXPECT_DOUBLE_EQ(value(PAW2::kSpousePATaxWithheld), c.spouse);
    EXPECT_DOUBLE_EQ(value(PAW2::kTaxpayerWithholdingAboveRateCount), c.aboveRate);
    calculate();  // a second run finds the same
    EXPECT_DOUBLE_EQ(value(PAW2::kTaxpayerPATaxWithheld), c.taxpayer);
  }
}

// Twenty W-2s of 61.40 fill two copies: copy 2 keeps its rows, and copy 1
// carries the return's difference, 1,228 - 20 x 61 = 8.
TEST_F(PAW2Test, CopyOneCarriesTheDifferenceOfEveryCopy) {
  for (uint16_t copy = 1; copy <= 20; ++copy) addW2(copy, 'T', 200000, {{"PA", 200000, 6140}});
  calculate(2);
  calculate(1);
  EXPECT_DOUBLE_EQ(list(2).getIR(PAW2::kTaxpayerPATaxWithheld), 122);
  EXPECT_DOUBLE_EQ(list(2).getIR(PAW2::kRowPATaxWithheld.at(1)), 61.40);
  EXPECT_DOUBLE_EQ(value(PAW2::kRowPATaxWithheld.at(0)), 69);
  EXPECT_DOUBLE_EQ(value(PAW2::kTaxpayerPATaxWithheld), 69 + 17 * 61);
}

// Copy 1 is calculated again for each PA-40 copy: what the other copies
// add up to is kept while only copy 1 changes, and read again once another
// copy or a worksheet changes.
TEST_F(PAW2Test, CopyOneSeesEveryChangeOfTheOtherCopies) {
  for (uint16_t copy = 1; copy <= 20; ++copy) addW2(copy, 'T', 200000, {{"PA", 200000, 6140}});
  calculate(2);
  calculate(1);
  calculate(1);
  EXPECT_DOUBLE_EQ(value(PAW2::kRowPATaxWithheld.at(0)), 69);
  // Copy 2's rows at 61.00 each: 1,227.20 in all, 1,220 as the rows show.
  list(2).assignIR(PAW2::kRowPATaxWithheld.at(0), 61);
  list(2).assignIR(PAW2::kRowPATaxWithheld.at(1), 61);
  calculate(1);
  EXPECT_DOUBLE_EQ(value(PAW2::kRowPATaxWithheld.at(0)), 68);
  // A worksheet row of 10.40: 1,237.60 in all, 1,230 as shown.
  number(kFormID_PAMiscCompWorksheet, PAMiscCompWorksheet::kRowPAWithholding.at(0), 10.40);
  calculate(1);
  EXPECT_DOUBLE_EQ(value(PAW2::kRowPATaxWithheld.at(0)), 69);
}

// Each W-2 is read once a calculation and again after any change of the
// W-2s: a copy calculated again without a whole-return calculation
// between (as the host calculates a single form) lists the W-2 as it now
// stands, and a W-2 added since.
TEST_F(PAW2Test, ACopyCalculatedAgainListsTheW2sAsTheyNowStand) {
  addW2(1, 'T', 100000);
  calculate();
  number(kFormID_FedW2, FedW2::kWages, 250000);
  text(kFormID_FedW2, FedW2::kEmployerName, "Beta");
  calculate();
  EXPECT_DOUBLE_EQ(value(PAW2::kRowFederalWages.at(0)), 2500);
  EXPECT_EQ(textAt(PAW2::kRowEmployerName.at(0)), "Beta");
  addW2(2, 'T', 50000);
  calculate();
  EXPECT_DOUBLE_EQ(value(PAW2::kRowFederalWages.at(1)), 500);
}

// Rows the preparer may type over (a part-year resident's) are never
// changed: their totals add them as they show.
TEST_F(PAW2Test, RowsThePreparerMayTypeOverCarryNothing) {
  mark(kFormID_PAReturnInfo, PAReturnInfo::kPartYearResidentBox);
  for (uint16_t copy = 1; copy <= 3; ++copy) addW2(copy, 'T', 200000, {{"PA", 200000, 6140}});
  calculate();
  EXPECT_DOUBLE_EQ(value(PAW2::kRowPATaxWithheld.at(0)), 61.40);
  EXPECT_DOUBLE_EQ(value(PAW2::kTaxpayerPATaxWithheld), 183);
}

// A full-year resident's rows that the preparer may type over (a W-2
// marked incorrect on Schedule W2-S, and so the schedule's situation box)
// are filled while empty as the calculation fills its own, the rounding
// included, and kept after.
TEST_F(PAW2Test, EmptyRowsThePreparerMayTypeOverAreFilledWithTheRounding) {
  mark(kFormID_PAScheduleW2S, PAScheduleW2S::kIncorrectW2Box);
  mark(kFormID_PAScheduleW2S, PAScheduleW2S::kAnySituationBox);
  for (uint16_t copy = 1; copy <= 3; ++copy) addW2(copy, 'T', 200000, {{"PA", 200000, 6140}});
  calculate();
  calculate();
  EXPECT_DOUBLE_EQ(value(PAW2::kRowPATaxWithheld.at(0)), 62);
  EXPECT_DOUBLE_EQ(value(PAW2::kTaxpayerPATaxWithheld), 184);
}

// The compensation worksheet's rows are written after PA W-2 copy 1 first
// runs in a calculation: an empty row the preparer may type over, filled
// on that run, takes on the copy's later runs the carry those rows bring,
// as a calculated row does. 184.20 on the W-2 and 10.40 on the worksheet:
// 194.60 in all, 194 as the rows show them.
TEST_F(PAW2Test, AFilledRowTakesTheCarryOfRowsWrittenAfterItsFirstRun) {
  mark(kFormID_PAScheduleW2S, PAScheduleW2S::kIncorrectW2Box);
  mark(kFormID_PAScheduleW2S, PAScheduleW2S::kAnySituationBox);
  addW2(1, 'T', 600000, {{"PA", 600000, 18420}});
  engine->startPAW2RowRecord();  // the two runs are one calculation's
  calculate();
  number(kFormID_PAMiscCompWorksheet, PAMiscCompWorksheet::kRowPAWithholding.at(0), 10.40);
  calculate();
  EXPECT_DOUBLE_EQ(value(PAW2::kRowPATaxWithheld.at(0)), 185);
}

// A row's PA columns open to the preparer belong to the federal W-2 the
// row stands for, whatever the W-2s say: two W-2s of one employer look
// alike. A row that comes to stand for another W-2 (one above it deleted,
// or one above it that took no row taking one) is filled afresh from it;
// one that still stands for its W-2 keeps what it holds, a W-2 edited
// (even its employer's name) or one above it that takes no row included.
TEST_F(PAW2Test, APartYearRowBelongsToItsOwnW2) {
  mark(kFormID_PAReturnInfo, PAReturnInfo::kPartYearResidentBox);
  addW2(1, 'T', 1200000, {{"PA", 1200000, 36840}}, "Delaware Valley Analytics");
  addW2(2, 'T', 1400000, {{"PA", 1400000, 40000}}, "Delaware Valley Analytics");
  addW2(3, 'T', 500000, {{"PA", 500000, 15350}}, "Penn Freight");
  calculate();
  number(kFormID_PAW2, PAW2::kRowPACompensation.at(2), 4500);  // typed for W-2 3
  text(kFormID_FedW2, FedW2::kEmployerName, "Penn Freight Lines", 3);
  calculate();
  EXPECT_DOUBLE_EQ(value(PAW2::kRowPACompensation.at(2)), 4500);

  federal()->deleteForm(kFormID_FedW2, 1);
  calculate();
  EXPECT_DOUBLE_EQ(value(PAW2::kRowPACompensation.at(0)), 14000);
  EXPECT_DOUBLE_EQ(value(PAW2::kRowPATaxWithheld.at(0)), 400);
  EXPECT_DOUBLE_EQ(value(PAW2::kRowPACompensation.at(1)), 5000);
  EXPECT_DOUBLE_EQ(value(PAW2::kRowPATaxWithheld.at(1)), 153.50);
  EXPECT_TRUE(list().isNull(PAW2::kRowPACompensation.at(2)));
  EXPECT_DOUBLE_EQ(value(PAW2::kTaxpayerPACompensation), 19000);

  addW2(1, 'T', 0, {}, "Keystone Temps");  // no wages: no row, ahead of the rows
  number(kFormID_PAW2, PAW2::kRowPACompensation.at(0), 13500);  // typed for W-2 2
  calculate();
  EXPECT_DOUBLE_EQ(value(PAW2::kRowPACompensation.at(0)), 13500);
  addW2(1, 'T', 300000, {{"PA", 300000, 9210}}, "Keystone Temps");
  calculate();
  EXPECT_DOUBLE_EQ(value(PAW2::kRowPACompensation.at(0)), 3000);  // W-2 1's, not what W-2 2's row held
  EXPECT_DOUBLE_EQ(value(PAW2::kRowPACompensation.at(1)), 14000);
  EXPECT_DOUBLE_EQ(value(PAW2::kRowPACompensation.at(2)), 5000);
}

// A W-2 of negative wages (a repayment) takes a row like any other, with
// its employer's name and EIN.
TEST_F(PAW2Test, AW2OfNegativeWagesTakesARowWithItsEmployer) {
  addW2(1, 'T', -50000, {}, "Refund Corp");
  text(kFormID_FedW2, FedW2::kEmployerId, "23-1112223");
  calculate();
  EXPECT_EQ(textAt(PAW2::kRowEmployerName.at(0)), "Refund Corp");
  EXPECT_EQ(textAt(PAW2::kRowEmployerEIN.at(0)), "23-1112223");
  EXPECT_DOUBLE_EQ(value(PAW2::kRowFederalWages.at(0)), -500);
}

// A column the calculation held for itself and then opens to the preparer
// (the residency switched, or a Schedule W2-S situation marked) loses the
// figure it held: the figure of the rule left behind is stale, and the
// column is filled afresh under the rule that now holds. First a full-year
// resident without a situation, W-2 rows: New York 1,000 (tax 30), PA
// 3,000 (tax 92.10) and one without a state code (tax 10): PA compensation
// 4,000 and PA tax 102.10, held by the calculation.
TEST_F(PAW2Test, AColumnOpenedToThePreparerIsFilledAfreshUnderTheNewRule) {
  struct Case {
    const char* name;
    FieldId residency;        // marked in place of the full-year box
    FieldId situation;        // a Schedule W2-S box marked (or none)
    double paWages, paTax;    // the PA row's wages and tax after the edit
    double compensation, tax;
    bool situationFirst = false;  // the situation marked from the start
  };
  const FieldId none = Primitives::kNullFieldID;
  const Case cases[] = {
      {"nonresident", PAReturnInfo::kNonresidentBox, none, 300000, 9210, 3000, 92.10},
      {"nonresident, incorrect W-2", PAReturnInfo::kNonresidentBox, PAScheduleW2S::kIncorrectW2Box, 300000, 9210,
       3000, 92.10},
      {"part-year, PA wages raised", PAReturnInfo::kPartYearResidentBox, none, 500000, 9210, 6000, 102.10},
      {"full-year, a situation marked, PA wages raised", PAReturnInfo::kFullYearResidentBox,
       PAScheduleW2S::kAnySituationBox, 500000, 9210, 6000, 102.10},
      // The compensation was the preparer's already; the tax was not.
      {"part-year after a situation, PA tax raised", PAReturnInfo::kPartYearResidentBox,
       PAScheduleW2S::kAnySituationBox, 300000, 10000, 4000, 110, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    restart();
    mark(kFormID_PAReturnInfo, PAReturnInfo::kFullYearResidentBox);
    if (c.situationFirst) mark(kFormID_PAScheduleW2S, c.situation);
    addW2(1, 'T', 400000, {{"NY", 100000, 3000}, {"PA", 300000, 9210}, {"", 0, 1000}});
    calculate();
    ASSERT_DOUBLE_EQ(value(PAW2::kRowPACompensation.at(0)), 4000);
    ASSERT_DOUBLE_EQ(value(PAW2::kRowPATaxWithheld.at(0)), 102.10);

    copyOf(kFormID_PAReturnInfo).setNull(PAReturnInfo::kFullYearResidentBox);
    mark(kFormID_PAReturnInfo, c.residency);
    if (c.situation.isValid()) mark(kFormID_PAScheduleW2S, c.situation);
    number(kFormID_FedW2, FedW2::kStateWages.at(1), c.paWages);
    number(kFormID_FedW2, FedW2::kStateIncomeTax.at(1), c.paTax);
    calculate();
    EXPECT_DOUBLE_EQ(value(PAW2::kRowPACompensation.at(0)), c.compensation);
    EXPECT_DOUBLE_EQ(value(PAW2::kRowPATaxWithheld.at(0)), c.tax);
  }
}

// A part-year resident's row filled while empty is hers: a raised W-2
// does not reach it; emptied, it is filled again from the W-2 as it stands.
TEST_F(PAW2Test, APartYearRowFilledOnceIsThePreparersUntilEmptied) {
  mark(kFormID_PAReturnInfo, PAReturnInfo::kPartYearResidentBox);
  addW2(1, 'T', 1200000, {{"PA", 1200000, 36840}});
  calculate();
  number(kFormID_FedW2, FedW2::kStateWages.at(0), 1500000);
  calculate();
  EXPECT_DOUBLE_EQ(value(PAW2::kRowPACompensation.at(0)), 12000);
  list().setNull(PAW2::kRowPACompensation.at(0));
  calculate();
  EXPECT_DOUBLE_EQ(value(PAW2::kRowPACompensation.at(0)), 15000);
}

}  // namespace
