// The PA W-2 wage list: rows from the federal W-2s, PA wages and tax by
// residency, flags, per-person totals and counts. Fields are named by host
// number, so the member mapping is checked as well.
#include <string>
#include <vector>

#include "calc/state/tests/state_engine_fixture.h"

namespace {

// One state row of a federal W-2: code, wages and tax in hundredths.
struct StateRow {
  const char* code;
  double wages;
  double tax;
};

class PAW2Test : public StateEngineTest {
 protected:
  static const FieldId& w2(int hostField) { return kFedW2FieldIds.byNumber(hostField); }
  static const FieldId& list(int hostField) { return kPAW2FieldIds.byNumber(hostField); }
  // Host field of row r (0-17), column c (0-6).
  static const FieldId& cell(int r, int c) {
    const int kColumns[] = {25, 26, 27, 28, 0, 29, 30};
    return list(c == 4 ? 36144 + r : kColumns[c] + 6 * r);
  }

  // A federal W-2 with owner 'T', 'S' or 0 (no mark) and amounts in hundredths.
  void addW2(uint16_t copy, char owner, double amount21, const std::vector<StateRow>& rows = {},
             const std::string& name = "Acme") {
    if (owner == 'T') mark(kFormID_FedW2, w2(1), copy);
    if (owner == 'S') mark(kFormID_FedW2, w2(2), copy);
    number(kFormID_FedW2, w2(21), amount21, copy);
    number(kFormID_FedW2, w2(78), 1234, copy);
    text(kFormID_FedW2, w2(4), name, copy);
    text(kFormID_FedW2, w2(7), "25-1234567", copy);
    const int kCode[] = {34, 99, 27781, 27788};
    const int kWages[] = {33, 98, 27783, 27790};
    const int kTax[] = {32, 97, 27784, 27791};
    for (size_t k = 0; k < rows.size(); ++k) {
      text(kFormID_FedW2, w2(kCode[k]), rows[k].code, copy);
      number(kFormID_FedW2, w2(kWages[k]), rows[k].wages, copy);
      number(kFormID_FedW2, w2(kTax[k]), rows[k].tax, copy);
    }
  }
  void setJoint() { mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds.byNumber(57)); }
  void setResidency(int residency) {  // 1 part-year, 2 nonresident
    mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds.byNumber(residency == 1 ? 48 : 47));
  }
  void markW2S(int hostField) { mark(kFormID_PAScheduleW2S, kPAScheduleW2SFieldIds.byNumber(hostField)); }

  void calculate(uint16_t copy = 1) { engine->computePAW2(holder(kFormID_PAW2, copy), copy, 0); }
  DataMgmt::TaxForm& sheet(uint16_t copy = 1) { return copyOf(kFormID_PAW2, copy); }
  double value(const FieldId& field, uint16_t copy = 1) { return sheet(copy).getIR(field); }
  std::string textAt(const FieldId& field, uint16_t copy = 1) { return textOf(kFormID_PAW2, field, copy); }
};

TEST_F(PAW2Test, RowsFillFromTheTopWhileListPositionsFollowFederalCopies) {
  addW2(1, 'T', 100000, {}, "  Acme");
  text(kFormID_FedW2, w2(146), "Corp", 1);
  addW2(2, 'T', 0);              // no deciding amount: no row
  text(kFormID_PAW2, list(2), "kept");
  addW2(4, 0, 250050, {}, "Beta");  // no owner mark: the taxpayer's
  calculate();

  EXPECT_EQ(textAt(list(1)), "Acme Corp");
  EXPECT_EQ(textAt(list(2)), "kept");
  EXPECT_EQ(textAt(list(4)), "Beta");
  EXPECT_EQ(textAt(cell(0, 1)), "Acme Corp");
  EXPECT_EQ(textAt(cell(1, 1)), "Beta");
  EXPECT_EQ(textAt(cell(1, 0)), "T");
  EXPECT_EQ(textAt(cell(1, 2)), "25-1234567");
  EXPECT_DOUBLE_EQ(value(cell(1, 3)), 2500.50);
  EXPECT_DOUBLE_EQ(value(cell(1, 4)), 12.34);
  EXPECT_TRUE(sheet().isNull(cell(2, 0)));
  EXPECT_DOUBLE_EQ(value(list(79818)), 3500.50);
  EXPECT_TRUE(sheet().isDataEntered());
  EXPECT_TRUE(sheet().getCalcMark());
}

TEST_F(PAW2Test, SecondCopyReadsFederalCopies19To36AndClearsEmptyRowsWhole) {
  for (uint16_t c = 1; c <= 18; ++c) addW2(c, 'T', 100000);
  for (int c = 0; c < 7; ++c) number(kFormID_PAW2, cell(5, c), 9, 2);
  mark(kFormID_PAW2, list(20), 2);
  calculate(2);
  for (int c = 0; c < 7; ++c) EXPECT_TRUE(sheet(2).isNull(cell(5, c))) << "column " << c;
  EXPECT_TRUE(sheet(2).isNo(list(20)));
  EXPECT_TRUE(sheet(2).isNo(list(139)));
  EXPECT_FALSE(sheet(2).isDataEntered());

  addW2(19, 'T', 70000, {}, "Nineteen");
  calculate(2);
  EXPECT_EQ(textAt(list(1), 2), "Nineteen");
  EXPECT_DOUBLE_EQ(value(cell(0, 3), 2), 700);
}

TEST_F(PAW2Test, SpouseW2TakesARowOnlyWhenFilingJointly) {
  addW2(1, 'S', 100000);
  calculate();
  EXPECT_TRUE(sheet().isNull(cell(0, 1)));
  setJoint();
  calculate();
  EXPECT_EQ(textAt(cell(0, 0)), "S");
  EXPECT_DOUBLE_EQ(value(list(79819)), 1000);
}

TEST_F(PAW2Test, FullYearResidentLeavesForeignTaxOutAndFlagsReciprocalState) {
  addW2(1, 'T', 600000, {{"PA", 500000, 15350}, {"NJ", 100000, 2000}});
  calculate();
  EXPECT_DOUBLE_EQ(value(cell(0, 5)), 6000);
  EXPECT_DOUBLE_EQ(value(cell(0, 6)), 153.50);
  EXPECT_TRUE(sheet().isProtected(cell(0, 5)));
  EXPECT_TRUE(sheet().xMarked(list(139)));
  EXPECT_TRUE(sheet().xMarked(list(20)));
  EXPECT_DOUBLE_EQ(value(list(50653)), 1);
}

TEST_F(PAW2Test, NonresidentTakesOnlyPAStateRows) {
  setResidency(2);
  addW2(1, 'T', 100000, {{"NY", 100000, 5000}});
  addW2(2, 'T', 100000, {{"NY", 60000, 100}, {"PA", 40000, 1228}});
  calculate();
  EXPECT_TRUE(sheet().isNull(cell(0, 5)));
  EXPECT_TRUE(sheet().isNull(cell(0, 6)));
  EXPECT_DOUBLE_EQ(value(cell(1, 5)), 400);
  EXPECT_DOUBLE_EQ(value(cell(1, 6)), 12.28);
  EXPECT_TRUE(sheet().isProtected(cell(1, 6)));
  EXPECT_FALSE(sheet().xMarked(list(139)));  // the reciprocal test is for full-year residents
}

TEST_F(PAW2Test, TypedAmountsSurviveWhereResidencyOrW2SMarksAllowThem) {
  setResidency(1);
  addW2(1, 'T', 100000, {{"PA", 100000, 3070}});
  number(kFormID_PAW2, cell(0, 5), 800);
  number(kFormID_PAW2, cell(0, 6), 20);
  calculate();
  EXPECT_DOUBLE_EQ(value(cell(0, 5)), 800);
  EXPECT_DOUBLE_EQ(value(cell(0, 6)), 20);

  // Full-year resident: 46174 keeps a typed wage; the tax is recalculated
  // unless 12 is marked too.
  pa->getFormUVPtr(kFormID_PAReturnInfo, 1, false)->setNull(kPAReturnInfoFieldIds.byNumber(48));
  markW2S(46174);
  calculate();
  EXPECT_DOUBLE_EQ(value(cell(0, 5)), 800);
  EXPECT_DOUBLE_EQ(value(cell(0, 6)), 30.70);
  EXPECT_TRUE(sheet().isProtected(cell(0, 6)));
  markW2S(12);
  number(kFormID_PAW2, cell(0, 6), 20);
  calculate();
  EXPECT_DOUBLE_EQ(value(cell(0, 6)), 20);
  EXPECT_FALSE(sheet().isProtected(cell(0, 6)));
}

TEST_F(PAW2Test, RowsAboveThePARateAreCountedPerPerson) {
  setJoint();
  struct Case {
    const char* owner;
    double wages, tax;
  } cases[] = {
      {"T", 1000, 31},     // not above the rounded 30.70
      {"T", 1000, 31.01},  // above
      {"T", 0, 50},        // no wages: never counts
      {"T", 1000, 0},      // no tax: never counts
      {"S", 1000, 40},     // the spouse's
      {"", 1000, 40},      // no owner mark: the taxpayer's, whatever the row held
  };
  for (int r = 0; r < 6; ++r) {
    addW2(r + 1, cases[r].owner[0], 100000);
    text(kFormID_PAW2, cell(r, 0), "S");  // letters of an earlier calculation are rewritten
    number(kFormID_PAW2, cell(r, 5), cases[r].wages);
    number(kFormID_PAW2, cell(r, 6), cases[r].tax);
  }
  setResidency(1);  // part-year: typed amounts stay
  calculate();
  EXPECT_EQ(textAt(cell(5, 0)), "T");
  EXPECT_DOUBLE_EQ(value(list(42786)), 2);
  EXPECT_DOUBLE_EQ(value(list(42787)), 1);
  EXPECT_DOUBLE_EQ(value(list(133)), 4000);
  EXPECT_DOUBLE_EQ(value(list(134)), 152.01);
  EXPECT_DOUBLE_EQ(value(list(135)), 1000);
}

TEST_F(PAW2Test, SpouseTotalsAreNullUnlessFilingJointly) {
  setJoint();
  addW2(1, 'S', 100000);
  calculate();
  EXPECT_DOUBLE_EQ(value(list(79819)), 1000);
  pa->getFormUVPtr(kFormID_PAReturnInfo, 1, false)->setNull(kPAReturnInfoFieldIds.byNumber(57));
  text(kFormID_PAW2, cell(0, 0), "S");
  calculate();
  for (int total : {79819, 135, 136}) EXPECT_TRUE(sheet().isNull(list(total))) << total;
}

TEST_F(PAW2Test, NameIsCutToTheColumnLength) {
  addW2(1, 'T', 100000, {}, std::string(120, 'n'));
  calculate();
  const size_t length = pa->getTaxFormDescriptor(kFormID_PAW2)->getFieldDesc(cell(0, 1))->getLength();
  EXPECT_EQ(textAt(cell(0, 1)), std::string(length, 'n'));
}

}  // namespace
