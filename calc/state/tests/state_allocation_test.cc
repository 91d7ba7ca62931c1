// The state allocation form: its interest and dividend lines, its totals,
// and the PA calculation of a copy.
#include <initializer_list>
#include <utility>
#include <vector>

#include "calc/state/tests/allocation_fixture.h"

namespace {

class StateAllocationTest : public AllocationTest {
 protected:
  // Summary rows on copies 1 and 2 of the interest (form 16) and dividend
  // (form 17) summaries: copy 1 holds the field's number, copy 2 twice it,
  // so the sum over all copies of field f is 3f.
  void fillSummaries() {
    for (uint16_t copy : {1, 2}) {
      DataMgmt::TaxForm& interest = *pa->getFormOrCreate(kFormID_State16, copy);
      for (int f = 174; f <= 185; ++f) {
        interest.store(kState16FieldIds.byNumber(f), FieldValue::of(f * copy));
      }
      DataMgmt::TaxForm& dividends = *pa->getFormOrCreate(kFormID_State17, copy);
      for (int f = 174; f <= 181; ++f) {
        dividends.store(kState17FieldIds.byNumber(f), FieldValue::of(f * copy));
      }
    }
  }
  void fillLines(double amount) {
    for (int f = 6; f <= 13; ++f) enter(f, amount);
  }
  std::vector<bool> nullLines() {
    std::vector<bool> result;
    for (int f = 6; f <= 13; ++f) result.push_back(isNull(f));
    return result;
  }
  // The sum of the allocation fields listed by host number.
  double sumOf(std::initializer_list<int> hostFields) {
    double sum = 0;
    for (int f : hostFields) sum += value(f);
    return sum;
  }
};

TEST_F(StateAllocationTest, FullYearJointLinesTakeTheAmountsLessTheForm3Part) {
  fillSummaries();
  engine->pullInterestDividendAmounts(allocPtr(), 1, 2);
  EXPECT_EQ(value(6), 3 * (174 + 178 - 182));
  EXPECT_EQ(value(7), 3 * (175 + 179 - 183));
  EXPECT_EQ(value(10), 3 * (174 + 178));
  EXPECT_EQ(value(11), 3 * (175 + 179));
  EXPECT_EQ(nullLines(), (std::vector<bool>{false, false, true, true, false, false, true, true}));
}

TEST_F(StateAllocationTest, PartYearSingleLinesTakeTheTaxpayersAllocatedParts) {
  fillSummaries();
  fillLines(5);
  engine->pullInterestDividendAmounts(allocPtr(), 2, 1);
  EXPECT_EQ(value(8), 3 * (176 + 180 - 184));
  EXPECT_EQ(value(12), 3 * (176 + 180));
  EXPECT_EQ(nullLines(), (std::vector<bool>{true, true, false, true, true, true, false, true}));

  engine->pullInterestDividendAmounts(allocPtr(), 2, 8);  // 8 counts as joint
  EXPECT_EQ(value(9), 3 * (177 + 181 - 185));
  EXPECT_EQ(value(13), 3 * (177 + 181));
}

TEST_F(StateAllocationTest, NonresidentAndField17ChoicesLeaveEveryLineNull) {
  fillSummaries();
  for (int choice : {3, 4}) {
    fillLines(5);
    engine->pullInterestDividendAmounts(allocPtr(), choice, 2);
    EXPECT_EQ(nullLines(), std::vector<bool>(8, true)) << "choice " << choice;
  }
}

TEST_F(StateAllocationTest, TotalsAddTheirColumnsAndMarkCopy1) {
  pa->getFormOrCreate(kFormID_State18, 1);
  federal->setCommonItem(80, 55);
  // Every field the totals read holds its own host number.
  const int sources[] = {18,  19,  20,  21,  22,  23,  27,  28,  68,    69,    70,    71,  72,
                         73,  74,  75,  76,  77,  78,  79,  80,  81,    82,    83,    84,  85,
                         86,  87,  88,  89,  90,  91,  92,  93,  94,    95,    96,    97,  98,
                         99,  100, 101, 102, 103, 108, 109, 110, 10498, 10499, 10500};
  for (int f : sources) enter(f, f, 2);
  for (int f = 29; f <= 64; ++f) enter(f, f, 2);
  engine->totalStateAllocationForm(allocPtr(2));

  EXPECT_EQ(value(24, 2), 18 + 21);
  EXPECT_EQ(value(25, 2), 19 + 22);
  EXPECT_EQ(value(26, 2), 20 + 23);
  double amounts = 18 + 21 + 27 + 28;
  double taxpayer = 19 + 22;
  double spouse = 20 + 23;
  for (int f = 29; f <= 62; f += 3) {
    amounts += f;
    taxpayer += f + 1;
    spouse += f + 2;
  }
  EXPECT_EQ(value(65, 2), amounts);
  EXPECT_EQ(value(66, 2), taxpayer);
  EXPECT_EQ(value(67, 2), spouse);
  EXPECT_EQ(value(104, 2), 68 + 71 + 108 + 10498 + 74 + 80 + 83 + 86 + 89 + 92 + 95 + 98 + 77 + 101);
  EXPECT_EQ(value(105, 2), 69 + 72 + 75 + 78 + 81 + 84 + 87 + 90 + 93 + 109 + 10499 + 96 + 99 + 102);
  EXPECT_EQ(value(106, 2), 70 + 73 + 76 + 79 + 82 + 85 + 88 + 91 + 94 + 110 + 10500 + 97 + 100 + 103);
  EXPECT_EQ(value(107, 2), 55);

  // Copy 1 is marked as data-entered whichever copy was totalled; the
  // calculated mark goes to the copy totalled.
  EXPECT_TRUE(allocForm(1).isDataEntered());
  EXPECT_FALSE(allocForm(2).isDataEntered());
  EXPECT_TRUE(allocForm(2).getCalcMark());
  EXPECT_FALSE(allocForm(1).getCalcMark());
}

TEST_F(StateAllocationTest, WithoutInformationFormTheCopyIsCalculatedAsFullYear) {
  enter(31, 40);
  engine->computeStateAllocationForm(allocPtr(), 1, 1);
  EXPECT_TRUE(pa->isNull(kFormID_PAReturnInfo, 1, info(3)));
  EXPECT_EQ(value(5), 1);
  EXPECT_TRUE(isNull(31));  // single full-year: no spouse part
  EXPECT_TRUE(isProtected(30));
  EXPECT_TRUE(allocForm().getCalcMark());
}

TEST_F(StateAllocationTest, ResidencyChoiceIsRecordedOnTheInformationForm) {
  const std::pair<Residency, int> cases[] = {
      {kFullYear, 1}, {kPartYear, 2}, {kNonresident, 3}, {kField17, 4}};
  for (const auto& c : cases) {
    setResidency(c.first);
    engine->computeStateAllocationForm(allocPtr(), 1, 1);
    EXPECT_EQ(pa->getIN(kFormID_PAReturnInfo, 1, info(3)), c.second);
    EXPECT_EQ(value(5), c.second);
  }
}

// A married couple, full-year residents filing jointly: two W-2s, interest
// and dividends on the summaries, two income kinds.
TEST_F(StateAllocationTest, CalculatesAJointFullYearReturn) {
  setResidency(kFullYear);
  setJoint(true);
  addW2(1, 50000, false);
  addW2(2, 30000, true);
  federal->setAllStateWages(48000, 29000);
  federal->setCommonItem(80, 55);
  federalNumber(kFormID_FedReturn, kFedReturnFieldIds.byNumber(80), 1200);  // kind 1
  federal->setCommonItem(23, 700);
  federal->setCommonItem(24, 500);
  federalNumber(kFormID_FedReturn, kFedReturnFieldIds.byNumber(81), 400);  // kind 2
  enter(34, 100);
  DataMgmt::TaxForm& interest = *pa->getFormOrCreate(kFormID_State16, 1);
  interest.store(kState16FieldIds.byNumber(174), FieldValue::of(800));
  interest.store(kState16FieldIds.byNumber(175), FieldValue::of(200));
  DataMgmt::TaxForm& dividends = *pa->getFormOrCreate(kFormID_State17, 1);
  dividends.store(kState17FieldIds.byNumber(174), FieldValue::of(300));
  dividends.store(kState17FieldIds.byNumber(175), FieldValue::of(100));

  engine->computeStateAllocationForm(allocPtr(), 1, 1);

  EXPECT_EQ(pa->getIN(kFormID_PAReturnInfo, 1, info(3)), 1);
  EXPECT_EQ(value(5), 1);
  EXPECT_EQ(value(6), 800);
  EXPECT_EQ(value(7), 200);
  EXPECT_EQ(value(10), 300);
  EXPECT_EQ(value(11), 100);
  EXPECT_EQ(value(18), 80000);
  EXPECT_EQ(value(24), 80000);
  EXPECT_EQ(value(25), 48000);
  EXPECT_EQ(value(26), 29000);
  EXPECT_EQ(sumOf({29, 30, 31}), 1200 + 700 + 500);
  EXPECT_EQ(sumOf({32, 33, 34}), 400 + 300 + 100);
  EXPECT_EQ(value(65), 80000 + 1200 + 400);
  EXPECT_EQ(value(66), 48000 + 700 + 300);
  EXPECT_EQ(value(67), 29000 + 500 + 100);
  EXPECT_EQ(value(104), 0);
  EXPECT_EQ(value(107), 55);
  EXPECT_TRUE(allocForm().isDataEntered());
  EXPECT_TRUE(allocForm().getCalcMark());
}

}  // namespace
