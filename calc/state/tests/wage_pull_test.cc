// The federal wage pull onto the state allocation form: wages, federal
// amounts and the taxpayer / spouse parts of every income kind, for
// full-year residents, part-year residents and nonresidents.
#include <vector>

#include "calc/state/tests/allocation_fixture.h"

namespace {

// Rows (from 1) whose parts a joint full-year resident takes from the
// per-person pull codes, with the taxpayer's and the spouse's code.
struct Override {
  int row, taxpayerCode, spouseCode;
};
const Override kOverrides[] = {{1, 23, 24},    {3, 27, 28},    {6, 35, 36},    {7, 40, 41},
                               {9, 50, 51},    {10, 53, 54},   {11, 59, 60},   {13, 173, 174},
                               {14, 175, 176}, {15, 177, 178}, {16, 179, 180}, {20, 181, 182}};

class WagePullTest : public AllocationTest {
 protected:
  void SetUp() override {
    AllocationTest::SetUp();
    addW2(1, 50000, false);
    addW2(2, 30000, true);
    federal->setAllStateWages(48000, 29000);
    federal->setStateWages(1000, 2000);
    federal->setCommonItem(14, 700);
    federal->setCommonItem(15, 300);
    federal->setCommonItem(18, 11);
    federal->setCommonItem(20, 12);
    federal->setCommonItem(71, 13);
    federal->setCommonItem(72, 14);
    for (const Override& o : kOverrides) {
      federal->setCommonItem(o.taxpayerCode, 1000 + o.taxpayerCode);
      federal->setCommonItem(o.spouseCode, 1000 + o.spouseCode);
    }
    federalNumber(kFormID_FedReturn, kFedReturnFieldIds.byNumber(110), 21);
    federalNumber(kFormID_FedReturn, kFedReturnFieldIds.byNumber(111), 22);
    // Each income kind's federal amount is 100 times its row.
    for (int row = 1; row <= kIncomeKindCount; ++row) {
      federalNumber(kFormID_FedReturn, kFedReturnFieldIds.byNumber(kind(row).federal), 100.0 * row);
    }
    // Federal form 18: copy 1 gives 5 + 6, copy 2 gives 7 + 8.
    federalNumber(kFormID_Fed18, kFed18FieldIds.byNumber(145), 5, 1);
    federalNumber(kFormID_Fed18, kFed18FieldIds.byNumber(146), 6, 1);
    federalNumber(kFormID_Fed18, kFed18FieldIds.byNumber(145), 7, 2);
    federalNumber(kFormID_Fed18, kFed18FieldIds.byNumber(146), 8, 2);
  }

  static const IncomeKindExpectation& kind(int row) { return kIncomeKindExpectations[row - 1]; }
  static const Override* overrideOf(int row) {
    for (const Override& o : kOverrides) {
      if (o.row == row) return &o;
    }
    return nullptr;
  }

  // Sets the information form and pulls onto copy 1 as the allocation
  // form's calculation does.
  void pull(Residency residency, bool joint) {
    setResidency(residency);
    setJoint(joint);
    engine->pullFederalWages(allocPtr(), kFormID_PAReturnInfo, joint ? 2 : 1, residency, 0);
  }
};

TEST_F(WagePullTest, FullYearSingleTakesTheFederalAmountsWhole) {
  enter(34, 50);  // a spouse part entered before: not kept
  pull(kFullYear, false);

  EXPECT_EQ(value(18), 50000);  // the taxpayer's W-2 only
  EXPECT_EQ(value(19), 48000);
  EXPECT_TRUE(isNull(20));
  EXPECT_EQ(value(21), 700);  // code 14 without 15
  EXPECT_EQ(value(22), 700);
  EXPECT_TRUE(isNull(23));
  EXPECT_TRUE(isProtected(19) && isProtected(20) && isProtected(22) && isProtected(23));
  EXPECT_EQ(value(27), 11);
  EXPECT_EQ(value(28), 12);
  EXPECT_EQ(value(68), 21);
  EXPECT_EQ(value(71), 0);
  EXPECT_EQ(value(89), 13);
  EXPECT_EQ(value(92), 0);
  for (int row = 1; row <= kIncomeKindCount; ++row) {
    const IncomeKindExpectation& k = kind(row);
    SCOPED_TRACE(::testing::Message() << "row " << row);
    EXPECT_EQ(value(k.amount), 100.0 * row);
    EXPECT_EQ(value(k.taxpayer), 100.0 * row);
    EXPECT_TRUE(isNull(k.spouse));
    EXPECT_TRUE(isProtected(k.taxpayer));
    EXPECT_TRUE(isProtected(k.spouse));
  }
  EXPECT_EQ(value(5), 1);
}

TEST_F(WagePullTest, FullYearJointSplitsByRuleAndPerPersonItems) {
  enter(34, 50);     // row 2 (capped): spouse part within F = 200
  enter(88, 5000);   // row 19 (capped): spouse part above F = 1900
  enter(40, 150);    // row 4 (uncapped): taxpayer gets F - S
  enter(37, 99999);  // row 3: per-person items win over the entry
  pull(kFullYear, true);

  EXPECT_EQ(value(18), 80000);  // both W-2s
  EXPECT_EQ(value(19), 48000);
  EXPECT_EQ(value(20), 29000);
  EXPECT_EQ(value(21), 1000);  // codes 14 + 15
  EXPECT_EQ(value(22), 700);
  EXPECT_EQ(value(23), 300);

  EXPECT_EQ(value(34), 50);
  EXPECT_EQ(value(33), 150);
  EXPECT_FALSE(isProtected(34));
  EXPECT_EQ(value(88), 1900);
  EXPECT_EQ(value(87), 0);
  EXPECT_EQ(value(39), 250);
  EXPECT_EQ(value(40), 150);

  for (const Override& o : kOverrides) {
    SCOPED_TRACE(::testing::Message() << "row " << o.row);
    EXPECT_EQ(value(kind(o.row).taxpayer), 1000 + o.taxpayerCode);
    EXPECT_EQ(value(kind(o.row).spouse), 1000 + o.spouseCode);
    EXPECT_TRUE(isProtected(kind(o.row).taxpayer) && isProtected(kind(o.row).spouse));
  }
  // Row 18: federal form 18, copy 1 for the taxpayer, copy 2 for the spouse.
  EXPECT_EQ(value(84), 11);
  EXPECT_EQ(value(85), 15);
  EXPECT_TRUE(isProtected(84) && isProtected(85));

  // The fixed triples: taxpayer only (68, 89) and spouse only (71, 92).
  EXPECT_EQ(value(68), 21);
  EXPECT_EQ(value(69), 21);
  EXPECT_TRUE(isNull(70));
  EXPECT_EQ(value(71), 22);
  EXPECT_TRUE(isNull(72));
  EXPECT_EQ(value(73), 22);
  EXPECT_EQ(value(89), 13);
  EXPECT_EQ(value(90), 13);
  EXPECT_TRUE(isNull(91));
  EXPECT_EQ(value(92), 14);
  EXPECT_TRUE(isNull(93));
  EXPECT_EQ(value(94), 14);
  for (int f : {69, 70, 72, 73, 90, 91, 93, 94}) EXPECT_TRUE(isProtected(f)) << f;
}

TEST_F(WagePullTest, PartYearAfterFullYearStartsFromZeroThenKeepsCappedEntries) {
  pull(kFullYear, true);
  pull(kPartYear, true);  // the residency changed: every part starts at 0

  EXPECT_EQ(value(5), 2);
  EXPECT_EQ(value(19), 0);
  EXPECT_EQ(value(20), 0);
  EXPECT_FALSE(isProtected(19) || isProtected(20) || isProtected(22) || isProtected(23));
  for (int row = 1; row <= kIncomeKindCount; ++row) {
    SCOPED_TRACE(::testing::Message() << "row " << row);
    EXPECT_EQ(value(kind(row).amount), 100.0 * row);
    EXPECT_FALSE(isNull(kind(row).taxpayer));
    EXPECT_EQ(value(kind(row).taxpayer), 0);
    EXPECT_FALSE(isNull(kind(row).spouse));
    EXPECT_EQ(value(kind(row).spouse), 0);
    EXPECT_FALSE(isProtected(kind(row).taxpayer) || isProtected(kind(row).spouse));
  }
  EXPECT_EQ(value(69), 0);
  EXPECT_TRUE(isNull(70));  // taxpayer only: no spouse part
  EXPECT_TRUE(isNull(72));  // spouse only: no taxpayer part
  EXPECT_EQ(value(73), 0);

  // The user's entries stay on the next pull and are only capped.
  enter(19, 60000);
  enter(20, 1500);
  enter(33, 150);   // row 2 (capped), F = 200
  enter(34, 100);
  enter(87, 5000);  // row 19 (capped), F = 1900
  enter(39, 9999);  // row 4 (uncapped): not capped
  enter(40, 10);
  enter(84, 100);   // row 18: capped at the federal form 18 sums
  enter(85, 100);
  enter(73, 500);   // spouse only, F = 22
  pull(kPartYear, true);
  EXPECT_EQ(value(19), 48000);
  EXPECT_EQ(value(20), 1500);
  EXPECT_EQ(value(33), 150);
  EXPECT_EQ(value(34), 50);
  EXPECT_EQ(value(87), 1900);
  EXPECT_EQ(value(39), 9999);
  EXPECT_EQ(value(40), 10);
  EXPECT_EQ(value(84), 11);
  EXPECT_EQ(value(85), 15);
  EXPECT_EQ(value(73), 22);
  EXPECT_TRUE(isNull(72));
}

TEST_F(WagePullTest, PartYearSingleHasNoSpouseParts) {
  pull(kPartYear, false);
  EXPECT_TRUE(isNull(20) && isProtected(20));
  EXPECT_TRUE(isNull(23) && isProtected(23));
  EXPECT_FALSE(isProtected(22));
  for (int row = 1; row <= kIncomeKindCount; ++row) {
    if (row == 18) continue;  // capped at the form 18 sums whether joint or not
    EXPECT_TRUE(isNull(kind(row).spouse)) << "row " << row;
    EXPECT_TRUE(isProtected(kind(row).spouse)) << "row " << row;
  }
  EXPECT_EQ(value(18), 50000);
  EXPECT_EQ(value(21), 700);
}

TEST_F(WagePullTest, NonresidentTakesStateWagesAndCapsEnteredParts) {
  pull(kNonresident, true);
  EXPECT_EQ(value(19), 1000);
  EXPECT_EQ(value(20), 2000);
  EXPECT_TRUE(isProtected(19) && isProtected(20));
  EXPECT_FALSE(isProtected(22) || isProtected(23));

  enter(33, 150);  // row 2 (capped), F = 200: the spouse part is capped at F - T
  enter(34, 100);
  enter(22, 400);  // code 14's parts are the user's
  pull(kNonresident, true);
  EXPECT_EQ(value(33), 150);
  EXPECT_EQ(value(34), 50);
  EXPECT_EQ(value(22), 400);
  EXPECT_EQ(value(5), 3);
}

TEST_F(WagePullTest, Field17ChoiceCapsStateWagesLikeAPartYearResident) {
  pull(kField17, false);
  enter(19, 90000);
  pull(kField17, false);
  EXPECT_EQ(value(19), 48000);
  EXPECT_FALSE(isProtected(19));
  EXPECT_EQ(value(5), 4);
}

TEST_F(WagePullTest, Form55InUsePullsItsOwnKindsOnly) {
  useFederalForm(55);
  federalNumber(kFormID_Fed55, kFed55FieldIds.byNumber(286), 444);  // row 4
  federalNumber(kFormID_Fed55, kFed55FieldIds.byNumber(332), 1313);  // row 13
  federalNumber(kFormID_Fed55, kFed55FieldIds.byNumber(77), 31);
  enter(29, 777);  // row 1 has no form-55 line: left as it was
  enter(62, 1);
  enter(63, 2);
  enter(64, 3);
  pull(kFullYear, false);

  EXPECT_EQ(value(29), 777);
  EXPECT_EQ(value(38), 444);
  EXPECT_EQ(value(39), 444);
  EXPECT_EQ(value(108), 1313);
  EXPECT_EQ(value(109), 1313);
  EXPECT_TRUE(isNull(62) && isNull(63) && isNull(64));
  EXPECT_EQ(value(68), 31);
}

TEST_F(WagePullTest, Form55JointTakesPerPersonItemsForItsKinds) {
  useFederalForm(55);
  federalNumber(kFormID_Fed55, kFed55FieldIds.byNumber(125), 600);  // row 6
  federalNumber(kFormID_Fed55, kFed55FieldIds.byNumber(78), 32);
  pull(kFullYear, true);
  EXPECT_EQ(value(44), 600);
  EXPECT_EQ(value(45), 1035);
  EXPECT_EQ(value(46), 1036);
  EXPECT_EQ(value(71), 32);
}

TEST_F(WagePullTest, Form87InUsePullsRow10Only) {
  useFederalForm(87);
  federalNumber(kFormID_Fed87, kFed87FieldIds.byNumber(91), 1010);
  enter(29, 777);
  pull(kFullYear, false);
  EXPECT_EQ(value(56), 1010);
  EXPECT_EQ(value(57), 1010);
  EXPECT_EQ(value(29), 777);
  EXPECT_EQ(value(68), 0);  // form 87 has no such line
  EXPECT_TRUE(isNull(62));
}

TEST_F(WagePullTest, CollectFederalAmountsFollowsFilingStatus) {
  double a[7];
  engine->collectFederalAmounts(1, a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
  EXPECT_EQ(std::vector<double>(a, a + 7), (std::vector<double>{11, 12, 13, 0, 700, 21, 0}));
  for (uint16_t joint : {0, 2, 8}) {
    engine->collectFederalAmounts(joint, a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
    EXPECT_EQ(std::vector<double>(a, a + 7), (std::vector<double>{11, 12, 13, 14, 1000, 21, 22}))
        << "filing status " << joint;
  }
}

}  // namespace
