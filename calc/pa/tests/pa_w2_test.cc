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

}  // namespace
