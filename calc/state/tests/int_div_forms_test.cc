// The interest summary (state form 16) and the dividend summary (state form
// 17) calculated from their records.
#include <gtest/gtest.h>

#include <string>

#include "calc/state/tests/int_div_fixture.h"

namespace {

class IntDivFormsTest : public IntDivTest {
 protected:
  // A taxpayer's bank account: regular 300, U.S. 100, exempt 60 of which 20
  // from this state; and the spouse's form-51 interest of 50.
  void twoInterestSources() {
    source(kFormID_Fed166, 1, {{10, 30000}, {12, 10000}, {197490, 6000}, {83, 2000}}, {}, "First Bank");
    source(kFormID_Fed51, 1, {{17, 50}}, {367}, "Spouse Partnership");
  }
  void calculate(uint16_t filingStatus, int residencyChoice) {
    intDiv().filingStatus = filingStatus;
    intDiv().residencyChoice = residencyChoice;
    listSummaries();
  }
  double at(const FormId& form, int field, uint16_t copy = 1) { return pa->getIR(form, copy, summaryField(field)); }
  bool isNull(const FormId& form, int field, uint16_t copy = 1) { return pa->isNull(form, copy, summaryField(field)); }
  std::string label(const FormId& form, int line) { return textOf(form, lineField(line, 0)); }
};

TEST_F(IntDivFormsTest, JointFilersSeeEverySourceAndPerPersonTotals) {
  twoInterestSources();
  number(kFormID_Fed3, kFed3FieldIds[70], 30);  // host field 68: U.S. interest on federal form 3
  calculate(2, 1);

  EXPECT_EQ(record(kFormID_State16, 1), "First Bank||166||1||1");
  EXPECT_EQ(record(kFormID_State16, 5), "First Bank||166||1||5");
  EXPECT_EQ(record(kFormID_State16, 6), "Spouse Partnership||51||1||1");
  EXPECT_EQ(label(kFormID_State16, 1), "First Bank");
  EXPECT_EQ(textOf(kFormID_State16, lineField(1, -1)), "T");
  EXPECT_DOUBLE_EQ(at(kFormID_State16, 32), 460) << "the header shows the net";
  EXPECT_EQ(label(kFormID_State16, 2), "- Regular Interest");
  EXPECT_EQ(label(kFormID_State16, 5), "- Muni Bonds - Out of State");
  EXPECT_EQ(label(kFormID_State16, 6), "Spouse Partnership");
  EXPECT_EQ(textOf(kFormID_State16, lineField(6, -1)), "S");
  EXPECT_EQ(label(kFormID_State16, 8), "");

  struct Expect {
    int field;
    double value;
  };
  const Expect totals[] = {{174, 300}, {175, 50}, {178, 100}, {179, 0},  {194, 20},  {195, 0},
                           {190, 40},  {191, 0},  {182, 30},  {183, 0},  {186, 70},  {187, 0}};
  for (const Expect& e : totals) EXPECT_DOUBLE_EQ(at(kFormID_State16, e.field), e.value) << "field " << e.field;
  EXPECT_TRUE(isNull(kFormID_State16, 188)) << "a full-year resident allocates nothing";
  EXPECT_TRUE(isNull(kFormID_State16, 176));
  EXPECT_TRUE(pa->getForm(kFormID_State16, 1)->isDataEntered());
  EXPECT_TRUE(pa->getForm(kFormID_State16, 1)->getCalcMark());
}

TEST_F(IntDivFormsTest, ASpousesSourceHasNoLineUnlessFilingJointly) {
  twoInterestSources();
  source(kFormID_Fed89, 1, {{15, 70}}, {}, "Third Trust");
  calculate(1, 1);
  EXPECT_EQ(label(kFormID_State16, 6), "Third Trust") << "the next record's line takes the place";
  EXPECT_EQ(label(kFormID_State16, 7), "- Regular Interest");
  EXPECT_EQ(label(kFormID_State16, 8), "");
  EXPECT_DOUBLE_EQ(at(kFormID_State16, 174), 370);
  for (int field : {175, 179, 191, 195, 183, 187}) EXPECT_TRUE(isNull(kFormID_State16, field)) << field;
}

TEST_F(IntDivFormsTest, OnlyCopy1CarriesTheFederalForm3Part) {
  twoInterestSources();
  number(kFormID_Fed3, kFed3FieldIds[70], 30);
  intDiv().route = false;
  listSummaries();
  engine->computeInterestSummaryForm(holder(kFormID_State16, 2), 2, 1, kFormID_PAReturnInfo, 2, 0, 1);
  EXPECT_TRUE(isNull(kFormID_State16, 182, 2));
  EXPECT_TRUE(isNull(kFormID_State16, 183, 2));
}

TEST_F(IntDivFormsTest, WithFederalForm87TheForm3PartIs0) {
  twoInterestSources();
  number(kFormID_Fed3, kFed3FieldIds[70], 30);
  mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[114]);  // host field 54: federal form 87 in use
  calculate(2, 1);
  EXPECT_DOUBLE_EQ(at(kFormID_State16, 182), 0);
  EXPECT_DOUBLE_EQ(at(kFormID_State16, 186), 100);
}

TEST_F(IntDivFormsTest, AnEmptyCopyIsNotMarkedAsEntered) {
  engine->computeInterestSummaryForm(holder(kFormID_State16), 1, 1, kFormID_PAReturnInfo, 2, 0, 1);
  engine->computeDividendSummaryForm(holder(kFormID_State17), 1, 1, kFormID_PAReturnInfo, 2, 0, 1);
  EXPECT_FALSE(pa->getForm(kFormID_State16, 1)->isDataEntered());
  EXPECT_FALSE(pa->getForm(kFormID_State16, 1)->getCalcMark());
  EXPECT_FALSE(pa->getForm(kFormID_State17, 1)->isDataEntered());
  EXPECT_DOUBLE_EQ(at(kFormID_State16, 174), 0);
}

// A nonresident enters the in-state part of exempt interest; it stays while
// the source is the same and is emptied when the source's name changes.
TEST_F(IntDivFormsTest, ANonresidentsInStateAmountStaysUntilTheSourceChanges) {
  twoInterestSources();
  calculate(2, 3);
  number(kFormID_State16, lineField(4, 3), 15);
  calculate(2, 3);
  EXPECT_DOUBLE_EQ(at(kFormID_State16, 34 + 6 * 3), 15);
  EXPECT_DOUBLE_EQ(at(kFormID_State16, 194), 15);
  EXPECT_DOUBLE_EQ(at(kFormID_State16, 190), 460 - 300 - 100 - 15) << "the rest of the amount";

  text(kFormID_Fed166, 9, "Renamed Bank");
  calculate(2, 3);
  EXPECT_EQ(label(kFormID_State16, 1), "Renamed Bank");
  EXPECT_EQ(record(kFormID_State16, 4), "Renamed Bank||166||1||4");
  EXPECT_DOUBLE_EQ(at(kFormID_State16, 34 + 6 * 3), 0);
}

// The cut name is what the record keeps, so a long name does not count as
// a new source at every calculation (which would empty the user's amounts).
TEST_F(IntDivFormsTest, ANameIsCutToTheLabelLengthAndStaysTheSameSource) {
  const std::string longName = "A Very Long Bank Name That Goes On And On Forever";
  source(kFormID_Fed166, 1, {{10, 30000}, {197490, 6000}}, {}, longName);
  calculate(2, 3);
  const std::string shown = label(kFormID_State16, 1);
  EXPECT_EQ(shown, longName.substr(0, 40));
  EXPECT_EQ(record(kFormID_State16, 1), shown + "||166||1||1");
  EXPECT_EQ(label(kFormID_State16, 3), "- Muni Bonds - In State");
  number(kFormID_State16, lineField(3, 3), 15);
  calculate(2, 3);
  EXPECT_DOUBLE_EQ(pa->getIR(kFormID_State16, 1, lineField(3, 3)), 15);
}

TEST_F(IntDivFormsTest, ThePartYearResidentsAllocatedPartsAreNetOfTheForm3Part) {
  twoInterestSources();
  number(kFormID_Fed3, kFed3FieldIds[70], 30);
  calculate(2, 2);
  number(kFormID_State16, summaryField(180), 60);  // the taxpayer's U.S. part while resident
  number(kFormID_State16, summaryField(184), 10);  // of which on form 3
  engine->computeInterestSummaryForm(holder(kFormID_State16), 1, 1, kFormID_PAReturnInfo, 2, 0, 2);
  EXPECT_DOUBLE_EQ(at(kFormID_State16, 188), 50);
  EXPECT_DOUBLE_EQ(at(kFormID_State16, 189), 0);
}

TEST_F(IntDivFormsTest, TheDividendSummaryTotalsItsOwnColumns) {
  source(kFormID_Fed164, 1, {{6, 20000}, {40, 2500}, {41, 3000}, {52, 1000}}, {}, "Growth Fund");
  source(kFormID_Fed164, 2, {{6, 4000}}, {19}, "Stock Plan");
  calculate(1, 1);
  EXPECT_EQ(label(kFormID_State17, 1), "Growth Fund");
  EXPECT_EQ(label(kFormID_State17, 2), "- Regular Dividends");
  EXPECT_EQ(label(kFormID_State17, 4), "- Muni Bond Fund - In State");
  EXPECT_EQ(label(kFormID_State17, 6), "Stock Plan");
  EXPECT_EQ(label(kFormID_State17, 7), "- Restricted Stock");
  EXPECT_DOUBLE_EQ(at(kFormID_State17, 34 + 6 * 6), 40);
  const int fields[] = {174, 178, 182, 186};
  const double values[] = {150, 50, 20, 10};
  for (int i = 0; i < 4; ++i) {
    EXPECT_DOUBLE_EQ(at(kFormID_State17, fields[i]), values[i]) << fields[i];
    EXPECT_TRUE(isNull(kFormID_State17, fields[i] + 1)) << fields[i] + 1;
  }
  EXPECT_TRUE(pa->getForm(kFormID_State17, 1)->isDataEntered());
}

}  // namespace
