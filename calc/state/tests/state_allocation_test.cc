// The state allocation form: its interest and dividend lines, its totals,
// and the PA calculation of a copy.
#include <utility>
#include <vector>

#include "calc/state/tests/state_engine_fixture.h"
#include "host/descriptors.h"

namespace {

class StateAllocationTest : public StateEngineTest {
 protected:
  const FieldId lines[8] = {State16To18::kResidentTaxpayerInterest,  State16To18::kResidentSpouseInterest,
                            State16To18::kPartYearTaxpayerInterest,  State16To18::kPartYearSpouseInterest,
                            State16To18::kResidentTaxpayerDividends, State16To18::kResidentSpouseDividends,
                            State16To18::kPartYearTaxpayerDividends, State16To18::kPartYearSpouseDividends};
  // The lines after a pull, a null line as -1.
  std::vector<double> pull(int choice, uint16_t filingStatus) {
    for (const FieldId& line : lines) number(kFormID_State18, line, 5);
    engine->pullInterestDividendAmounts(holder(kFormID_State18), choice, filingStatus);
    std::vector<double> result;
    for (const FieldId& line : lines)
      result.push_back(isNull(kFormID_State18, line) ? -1 : valueOf(kFormID_State18, line));
    return result;
  }
};

// Copy 2 of each summary holds twice copy 1, so the lines add three times
// copy 1: regular and U.S. obligations, less (interest only) the U.S.
// obligations reported on federal form 3; a part-year resident's lines the
// allocated parts of the same rows; other choices nothing.
TEST_F(StateAllocationTest, InterestAndDividendLinesByResidencyChoice) {
  for (uint16_t copy : {1, 2}) {
    const std::pair<FieldId, double> interest[] = {{State16::kTaxpayerRegular, 100},
                                                   {State16::kSpouseRegular, 200},
                                                   {State16::kTaxpayerUSObligations, 10},
                                                   {State16::kSpouseUSObligations, 20},
                                                   {State16::kTaxpayerReportedUSObligations, 1},
                                                   {State16::kSpouseReportedUSObligations, 2},
                                                   {State16::kTaxpayerRegularAllocated, 50},
                                                   {State16::kTaxpayerUSObligationsAllocated, 5},
                                                   {State16::kTaxpayerReportedUSObligationsAllocated, 3}};
    for (const auto& row : interest) number(kFormID_State16, row.first, row.second * copy, copy);
    const std::pair<FieldId, double> dividends[] = {{State17::kTaxpayerRegular, 300},
                                                    {State17::kTaxpayerUSObligations, 30},
                                                    {State17::kSpouseRegularAllocated, 40},
                                                    {State17::kSpouseUSObligationsAllocated, 4}};
    for (const auto& row : dividends) number(kFormID_State17, row.first, row.second * copy, copy);
  }
  using V = std::vector<double>;
  EXPECT_EQ(pull(kChoiceFullYearResident, 2), (V{3 * 109, 3 * 218, -1, -1, 3 * 330, 0, -1, -1}));
  EXPECT_EQ(pull(kChoicePartYearResident, 1), (V{-1, -1, 3 * 52, -1, -1, -1, 0, -1}));
  EXPECT_EQ(pull(kChoicePartYearResident, 8), (V{-1, -1, 3 * 52, 0, -1, -1, 0, 3 * 44}))
      << "the generic joint code";
  for (int choice : {kChoiceNonresident, kChoicePartYearAllocated}) {
    EXPECT_EQ(pull(choice, 2), V(8, -1)) << "choice " << choice;
  }
}

// With every field of copy 2 at 1, each total counts its sources; copy 1
// is marked as data-entered whichever copy was totalled, the calculated
// mark goes to the copy totalled.
TEST_F(StateAllocationTest, TotalsAddTheirColumnsAndMarkCopy1) {
  copyOf(kFormID_State18, 1);
  federal()->setCommonItem(80, 55);
  DataMgmt::TaxForm& copy = copyOf(kFormID_State18, 2);
  for (DataMgmt::OVFieldIDIter it = copy.getTaxFormDescriptor()->getFieldIDs(); !it.atEOL(); it.next()) {
    copy.store(it.getID(), FieldValue::of(1));
  }
  engine->totalStateAllocationForm(holder(kFormID_State18, 2));
  EXPECT_EQ(values(kFormID_State18,
                   {State16To18::kTotalWages, State16To18::kSpouseTotalWages, State16To18::kTotalAmounts,
                    State16To18::kTotalTaxpayer, State16To18::kTotalSpouse, State16To18::kOtherTotalAmounts,
                    State16To18::kOtherTotalTaxpayer, State16To18::kOtherTotalSpouse,
                    State16To18::kFederalTotalIncome},
                   2),
            (std::vector<double>{2, 2, 16, 14, 14, 14, 14, 14, 55}));
  EXPECT_TRUE(copyOf(kFormID_State18, 1).isDataEntered());
  EXPECT_FALSE(copy.isDataEntered());
  EXPECT_TRUE(copy.getCalcMark());
  EXPECT_FALSE(copyOf(kFormID_State18, 1).getCalcMark());
}

// The PA calculation of a copy records the residency choice on the
// information form (nothing without one, calculated as a full-year
// resident).
TEST_F(StateAllocationTest, ResidencyChoiceIsRecordedOnTheInformationForm) {
  engine->computeStateAllocationForm(holder(kFormID_State18), 1, 1);
  EXPECT_TRUE(isNull(kFormID_PAReturnInfo, PAReturnInfo::kResidencyChoice));
  EXPECT_EQ(valueOf(kFormID_State18, State16To18::kResidencyChoiceOfLastPull), kChoiceFullYearResident);
  EXPECT_TRUE(copyOf(kFormID_State18).getCalcMark());
  for (ResidencyChoice choice :
       {kChoiceFullYearResident, kChoicePartYearResident, kChoiceNonresident, kChoicePartYearAllocated}) {
    setResidency(choice);
    engine->computeStateAllocationForm(holder(kFormID_State18), 1, 1);
    EXPECT_EQ(pa->getIN(kFormID_PAReturnInfo, 1, PAReturnInfo::kResidencyChoice), choice);
    EXPECT_EQ(valueOf(kFormID_State18, State16To18::kResidencyChoiceOfLastPull), choice);
  }
}

}  // namespace
