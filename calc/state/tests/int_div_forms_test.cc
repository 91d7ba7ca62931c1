// The interest summary (state form 16) and the dividend summary (state form
// 17) calculated from their records.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "calc/state/tests/state_engine_fixture.h"

namespace {

class IntDivFormsTest : public StateEngineTest {
 protected:
  // A taxpayer's bank account: regular 300, U.S. 100, exempt 60 of which 20
  // from this state; and the spouse's form-51 interest of 50.
  void twoInterestSources() {
    source(kFormID_Fed166, 1,
           {{Fed166::kInterestIncome, 30000},
            {Fed166::kUsObligationInterest, 10000},
            {Fed166::kSecondExemptInterest, 6000},
            {Fed166::kInStateExemptInterest, 2000}},
           {}, "First Bank");
    source(kFormID_Fed51, 1, {{Fed51::kInterest, 50}}, {Fed51::kSpouseBox}, "Spouse Partnership");
  }
  void calculate(uint16_t filingStatus, int residencyChoice) {
    engine->filingStatus = filingStatus;
    engine->residencyChoice = residencyChoice;
    listSummaries();
  }
  double interest(const FieldId& field, uint16_t copy = 1) { return valueOf(kFormID_State16, field, copy); }
  bool interestNull(const FieldId& field, uint16_t copy = 1) { return isNull(kFormID_State16, field, copy); }
  std::string label(int line) { return textOf(kFormID_State16, lineField(line, 0)); }
  std::string labelOf17(int line) { return textOf(kFormID_State17, State17::kDisplayLineLabel.at(line - 1)); }
};

// Joint filers see every source and per-person totals; without joint
// filing a spouse's source has no line (the next record's line takes its
// place) and the spouse columns are null.
TEST_F(IntDivFormsTest, DisplayLinesAndTotalsByFilingStatus) {
  twoInterestSources();
  number(kFormID_Fed3, Fed3::kUsObligationInterest, 30);
  calculate(2, kChoiceFullYearResident);
  EXPECT_EQ(record(kFormID_State16, 1) + " " + record(kFormID_State16, 6),
            "First Bank||166||1||1 Spouse Partnership||51||1||1");
  const char* labels[] = {"First Bank",
                          "- Regular Interest",
                          "- U.S. Obligations",
                          "- Muni Bonds - In State",
                          "- Muni Bonds - Out of State",
                          "Spouse Partnership",
                          "- Regular Interest",
                          ""};
  for (int k = 1; k <= 8; ++k) EXPECT_EQ(label(k), labels[k - 1]) << k;
  EXPECT_EQ(textOf(kFormID_State16, lineField(1, -1)) + textOf(kFormID_State16, lineField(6, -1)), "TS");
  EXPECT_DOUBLE_EQ(interest(lineField(1, 1)), 460) << "the header shows the net";
  EXPECT_EQ(values(kFormID_State16,
                   {State16::kTaxpayerRegular, State16::kSpouseRegular, State16::kTaxpayerUSObligations,
                    State16::kTaxpayerExemptInState, State16::kTaxpayerExemptOutOfState,
                    State16::kTaxpayerReportedUSObligations, State16::kTaxpayerNetUSObligations}),
            (std::vector<double>{300, 50, 100, 20, 40, 30, 70}));
  EXPECT_TRUE(interestNull(State16::kTaxpayerRegularAllocated) &&
              interestNull(State16::kTaxpayerNetUSObligationsAllocated))
      << "a full-year resident allocates nothing";
  EXPECT_TRUE(pa->getForm(kFormID_State16, 1)->isDataEntered() &&
              pa->getForm(kFormID_State16, 1)->getCalcMark());

  source(kFormID_Fed89, 1, {{Fed89::kInterest, 70}}, {}, "Third Trust");
  calculate(1, kChoiceFullYearResident);
  EXPECT_EQ(label(6) + "/" + label(8), "Third Trust/");
  EXPECT_DOUBLE_EQ(interest(State16::kTaxpayerRegular), 370);
  EXPECT_EQ(nulls(kFormID_State16, {State16::kSpouseRegular, State16::kSpouseUSObligations,
                                    State16::kSpouseExemptOutOfState, State16::kSpouseExemptInState,
                                    State16::kSpouseReportedUSObligations, State16::kSpouseNetUSObligations}),
            std::vector<bool>(6, true));
}

// Only copy 1 carries the form-3 part, and only with federal form 1 or 55;
// an empty copy is not marked as entered.
TEST_F(IntDivFormsTest, TheForm3PartAndEmptyCopies) {
  engine->computeDividendSummaryForm(holder(kFormID_State17), 1, 1, kFormID_PAReturnInfo, 2, 0, 1);
  EXPECT_FALSE(pa->getForm(kFormID_State17, 1)->isDataEntered() ||
               pa->getForm(kFormID_State17, 1)->getCalcMark());
  twoInterestSources();
  number(kFormID_Fed3, Fed3::kUsObligationInterest, 30);
  engine->computeInterestSummaryForm(holder(kFormID_State16, 2), 2, 1, kFormID_PAReturnInfo, 2, 0, 1);
  EXPECT_TRUE(interestNull(State16::kTaxpayerReportedUSObligations, 2));
  EXPECT_TRUE(interestNull(State16::kSpouseReportedUSObligations, 2));
  mark(kFormID_PAReturnInfo, PAReturnInfo::kFederalThirdFormBox);
  calculate(2, kChoiceFullYearResident);
  EXPECT_DOUBLE_EQ(interest(State16::kTaxpayerReportedUSObligations), 0);
  EXPECT_DOUBLE_EQ(interest(State16::kTaxpayerNetUSObligations), 100);
}

// A nonresident enters the in-state part of exempt interest; it stays while
// the source is the same and is emptied when the source's name changes. A
// long name is cut to the label, and the record keeps the cut name, so that
// it does not count as a new source at every calculation.
TEST_F(IntDivFormsTest, ANonresidentsInStateAmountStaysUntilTheSourceChanges) {
  twoInterestSources();
  const std::string longName = "A Very Long Bank Name That Goes On And On Forever";
  text(kFormID_Fed166, Fed166::kPayerName, longName);
  calculate(2, kChoiceNonresident);
  EXPECT_EQ(label(1), longName.substr(0, 40));
  EXPECT_EQ(record(kFormID_State16, 1), longName.substr(0, 40) + "||166||1||1");
  number(kFormID_State16, lineField(4, 3), 15);
  calculate(2, kChoiceNonresident);
  EXPECT_EQ(values(kFormID_State16,
                   {lineField(4, 3), State16::kTaxpayerExemptInState, State16::kTaxpayerExemptOutOfState}),
            (std::vector<double>{15, 15, 460 - 300 - 100 - 15}));
  text(kFormID_Fed166, Fed166::kPayerName, "Renamed Bank");
  calculate(2, kChoiceNonresident);
  EXPECT_EQ(record(kFormID_State16, 4), "Renamed Bank||166||1||4");
  EXPECT_DOUBLE_EQ(interest(lineField(4, 3)), 0);
}

TEST_F(IntDivFormsTest, ThePartYearResidentsAllocatedPartsAreNetOfTheForm3Part) {
  twoInterestSources();
  number(kFormID_Fed3, Fed3::kUsObligationInterest, 30);
  calculate(2, kChoicePartYearResident);
  number(kFormID_State16, State16::kTaxpayerUSObligationsAllocated, 60);
  number(kFormID_State16, State16::kTaxpayerReportedUSObligationsAllocated, 10);
  engine->computeInterestSummaryForm(holder(kFormID_State16), 1, 1, kFormID_PAReturnInfo, 2, 0, 2);
  EXPECT_DOUBLE_EQ(interest(State16::kTaxpayerNetUSObligationsAllocated), 50);
  EXPECT_DOUBLE_EQ(interest(State16::kSpouseNetUSObligationsAllocated), 0);
}

TEST_F(IntDivFormsTest, TheDividendSummaryTotalsItsOwnColumns) {
  source(kFormID_Fed164, 1,
         {{Fed164::kOrdinaryDividends, 20000},
          {Fed164::kUsObligationPercentage, 2500},
          {Fed164::kExemptInterestDividends, 3000},
          {Fed164::kInStateExemptInterestDividends, 1000}},
         {}, "Growth Fund");
  source(kFormID_Fed164, 2, {{Fed164::kOrdinaryDividends, 4000}}, {Fed164::kRestrictedStockBox},
         "Stock Plan");
  calculate(1, kChoiceFullYearResident);
  EXPECT_EQ(labelOf17(2) + "/" + labelOf17(4) + "/" + labelOf17(6) + "/" + labelOf17(7),
            "- Regular Dividends/- Muni Bond Fund - In State/Stock Plan/- Restricted Stock");
  EXPECT_DOUBLE_EQ(valueOf(kFormID_State17, State17::kDisplayLineAmount.at(6)), 40);
  EXPECT_EQ(values(kFormID_State17, {State17::kTaxpayerRegular, State17::kTaxpayerUSObligations,
                                     State17::kTaxpayerOutOfState, State17::kTaxpayerInState}),
            (std::vector<double>{150, 50, 20, 10}));
  EXPECT_EQ(nulls(kFormID_State17, {State17::kSpouseRegular, State17::kSpouseUSObligations,
                                    State17::kSpouseOutOfState, State17::kSpouseInState}),
            std::vector<bool>(4, true));
}

}  // namespace
