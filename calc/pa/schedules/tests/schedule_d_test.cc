// PA Schedule D on fixture returns: the worksheet summary, the residence
// line and its split, the amounts entered for both spouses on copy 1, the
// total and its loss boxes. Fields are named by host field number.
#include <string>

#include "calc/pa/tests/pa40_fixture.h"
#include "host/rounding.h"

namespace {

class ScheduleDTest : public PA40Test {
 protected:
  void SetUp() override {
    PA40Test::SetUp();
    useInformationFormLines();
  }

  static const FieldId& sd(int hostField) { return kPAScheduleDFieldIds.byNumber(hostField); }
  static const FieldId& ws(int hostField) { return kPAScheduleDWorksheetFieldIds.byNumber(hostField); }

  // One worksheet copy holding entries, with the owners' totals.
  void worksheetCopy(uint16_t copy, double taxpayer, double spouse) {
    number(kFormID_PAScheduleDWorksheet, ws(72334), 1.0, copy);
    number(kFormID_PAScheduleDWorksheet, ws(268), taxpayer, copy);
    number(kFormID_PAScheduleDWorksheet, ws(271), spouse, copy);
  }
  // The residence on worksheet copy 1; owner 275 taxpayer, 276 spouse, 277 joint, 0 none.
  void residence(int ownerBox, double price, double cost, double gain) {
    if (ownerBox != 0) mark(kFormID_PAScheduleDWorksheet, ws(ownerBox));
    text(kFormID_PAScheduleDWorksheet, ws(278), "12 MAIN ST");
    text(kFormID_PAScheduleDWorksheet, ws(279), "01/02/10");
    text(kFormID_PAScheduleDWorksheet, ws(280), "05/06/18");
    number(kFormID_PAScheduleDWorksheet, ws(281), price);
    number(kFormID_PAScheduleDWorksheet, ws(282), cost);
    number(kFormID_PAScheduleDWorksheet, ws(283), gain);
  }
  // Copy 2 first, as the driver runs them.
  void runBoth() {
    run(2);
    run(1);
  }
  void run(uint16_t copy) { engine->computeScheduleD(holder(kFormID_PAScheduleD, copy), copy, 1); }

  double value(int hostField, uint16_t copy = 1) {
    return pa->getIR(kFormID_PAScheduleD, copy, sd(hostField));
  }
  bool isNull(int hostField, uint16_t copy = 1) {
    return pa->isNull(kFormID_PAScheduleD, copy, sd(hostField));
  }
  bool yes(int hostField, uint16_t copy = 1) { return pa->formYes(kFormID_PAScheduleD, copy, sd(hostField)); }
  bool no(int hostField, uint16_t copy = 1) { return pa->formNo(kFormID_PAScheduleD, copy, sd(hostField)); }
  bool isProtected(int hostField, uint16_t copy = 1) {
    return copyOf(kFormID_PAScheduleD, copy).isProtected(sd(hostField));
  }
  std::string words(int hostField, uint16_t copy = 1) {
    return pa->getFieldAsString(kFormID_PAScheduleD, copy, sd(hostField));
  }
  bool entered(uint16_t copy) {
    const DataMgmt::TaxForm* f = pa->getForm(kFormID_PAScheduleD, copy);
    return f != nullptr && f->isDataEntered() && f->getCalcMark();
  }
};

// The gains of sale rows 1 and 3 to 9 (row 2 is the summary).
const int kOtherSaleGains[] = {16, 30, 37, 44, 51, 58, 65, 72};

TEST_F(ScheduleDTest, NoWorksheetEntriesLeaveTheLinesEmpty) {
  run(1);
  EXPECT_TRUE(isNull(10));
  EXPECT_TRUE(isNull(17));
  EXPECT_EQ(value(23), 0);
  EXPECT_EQ(value(88), 0);
  EXPECT_EQ(value(105), 0);
  EXPECT_TRUE(no(104));
  EXPECT_FALSE(entered(1));
  EXPECT_EQ(words(2), "PA40D Copy 1 - Taxpayer");

  number(kFormID_PAScheduleD, sd(89), 40);  // D-1 amount entered
  run(1);
  EXPECT_EQ(value(105), 40);
  EXPECT_TRUE(entered(1));
}

TEST_F(ScheduleDTest, SalesShowOnlyAsTheReferenceAndTheSummaryLine) {
  worksheetCopy(1, 700, 0);
  worksheetCopy(2, 300, 0);
  for (int field : kOtherSaleGains) number(kFormID_PAScheduleD, sd(field), 5);
  run(1);
  EXPECT_EQ(words(10), "See Attached Sch D Wksht");
  EXPECT_EQ(words(17), "Taxpayer Items");
  EXPECT_EQ(value(23), 1000);
  for (int field : kOtherSaleGains) EXPECT_TRUE(isNull(field)) << field;
  EXPECT_EQ(value(88), 1000);
  EXPECT_EQ(value(105), 1000);
  EXPECT_TRUE(entered(1));
}

TEST_F(ScheduleDTest, AWorksheetLossMarksTheLossBoxes) {
  worksheetCopy(1, -1200, 0);
  number(kFormID_PAScheduleD, sd(94), -10);   // D-71 amount
  number(kFormID_PAScheduleD, sd(96), 200);   // RK-1 amount 1
  number(kFormID_PAScheduleD, sd(178), 300);  // RK-1 amount 2
  run(1);
  EXPECT_EQ(value(23), -1200);
  EXPECT_TRUE(yes(22));
  EXPECT_TRUE(yes(87));
  EXPECT_TRUE(yes(93));
  EXPECT_TRUE(no(95));
  EXPECT_EQ(value(105), -1200 - 10 + 200 + 300);
  EXPECT_TRUE(yes(104));
}

TEST_F(ScheduleDTest, JointResidenceSplitsIntoHalvesThatAddUp) {
  setFilingStatus(2);
  residence(277, 40001, 14999, 25001);
  runBoth();
  const long half = Utils::roundR(12500.5);
  EXPECT_EQ(value(103, 1), half);
  EXPECT_EQ(value(103, 2), 25001 - half);
  EXPECT_EQ(value(103, 1) + value(103, 2), 25001);
  EXPECT_EQ(value(100, 1) + value(100, 2), 40001);
  EXPECT_EQ(value(101, 1) + value(101, 2), 14999);
  EXPECT_EQ(words(97, 1), "12 MAIN ST");
  EXPECT_EQ(words(99, 2), "05/06/18");
  EXPECT_EQ(value(105, 1) + value(105, 2), 25001);
}

TEST_F(ScheduleDTest, JointResidenceGoesWhollyToItsOwner) {
  setFilingStatus(2);
  residence(276, 900, 400, 500);
  runBoth();
  EXPECT_TRUE(isNull(97, 1));
  EXPECT_TRUE(isNull(103, 1));
  EXPECT_EQ(words(97, 2), "12 MAIN ST");
  EXPECT_EQ(value(103, 2), 500);
  EXPECT_EQ(value(100, 2), 900);
}

TEST_F(ScheduleDTest, AResidenceLossIsNeverCarried) {
  // Single return: copy 1 takes the residence.
  residence(0, 100, 400, -300);
  run(1);
  EXPECT_EQ(value(103), 0.0);
  EXPECT_FALSE(isNull(103));
  EXPECT_EQ(value(105), 0);

  // Joint return, the spouse's residence: copy 1 has no share, but its
  // residence gain line still reads 0.
  restart();
  useInformationFormLines();
  setFilingStatus(2);
  residence(276, 100, 400, -300);
  runBoth();
  EXPECT_TRUE(isNull(100, 1));
  EXPECT_EQ(value(103, 1), 0.0);
  EXPECT_FALSE(isNull(103, 1));
  EXPECT_EQ(value(103, 2), 0.0);
}

TEST_F(ScheduleDTest, SingleReturnTakesTheResidenceWhateverItsOwner) {
  setFilingStatus(1);
  residence(276, 900, 400, 500);
  run(1);
  EXPECT_EQ(words(97), "12 MAIN ST");
  EXPECT_EQ(words(98), "01/02/10");
  EXPECT_EQ(value(103), 500);
  EXPECT_EQ(value(105), 500);
  EXPECT_FALSE(isProtected(89));
}

TEST_F(ScheduleDTest, SpouseCopyOfAJointReturnShowsTheWorksheetEvenWithNothingOfItsOwn) {
  setFilingStatus(2);
  worksheetCopy(1, 800, 0);
  runBoth();
  EXPECT_EQ(words(10, 2), "See Attached Sch D Wksht");
  EXPECT_EQ(words(17, 2), "Spouse Items");
  EXPECT_EQ(value(23, 2), 0);
  EXPECT_EQ(words(2, 2), "PA40D Copy 2 - Spouse");
  EXPECT_TRUE(entered(2));
  EXPECT_EQ(value(23, 1), 800);
}

// Target, taxpayer's entry, spouse's entry (host fields).
struct Pair {
  int target;
  int taxpayer;
  int spouse;
};

const Pair kPairs[] = {
    {89, 193, 194}, {94, 195, 196}, {96, 197, 198}, {178, 201, 202}, {179, 203, 204}, {9355, 9353, 9354},
};

TEST_F(ScheduleDTest, JointEntriesOnCopyOneGoToEachSpousesCopy) {
  setFilingStatus(2);
  int amount = 100;
  for (const Pair& p : kPairs) {
    number(kFormID_PAScheduleD, sd(p.taxpayer), amount + 200);
    number(kFormID_PAScheduleD, sd(p.spouse), amount);
    amount += 1;
  }
  runBoth();
  amount = 100;
  double taxpayerSum = 0, spouseSum = 0;
  for (const Pair& p : kPairs) {
    EXPECT_EQ(value(p.target, 1), amount + 200) << p.target;
    EXPECT_EQ(value(p.target, 2), amount) << p.target;
    EXPECT_TRUE(isProtected(p.target, 1)) << p.target;
    EXPECT_TRUE(isProtected(p.target, 2)) << p.target;
    EXPECT_FALSE(isProtected(p.taxpayer, 1)) << p.taxpayer;
    taxpayerSum += amount + 200;
    spouseSum += amount;
    amount += 1;
  }
  EXPECT_EQ(value(105, 1), taxpayerSum);
  EXPECT_EQ(value(105, 2), spouseSum);
}

TEST_F(ScheduleDTest, SpouseCopyOfASingleReturnIsEmptied) {
  setFilingStatus(1);
  worksheetCopy(1, 500, 0);
  text(kFormID_PAScheduleD, sd(2), "OLD", 2);
  text(kFormID_PAScheduleD, sd(10), "OLD", 2);
  number(kFormID_PAScheduleD, sd(89), 70, 2);
  number(kFormID_PAScheduleD, sd(103), 70, 2);
  run(2);
  EXPECT_TRUE(isNull(2, 2));
  EXPECT_TRUE(isNull(10, 2));
  EXPECT_TRUE(isNull(89, 2));
  EXPECT_TRUE(isNull(103, 2));
  EXPECT_TRUE(isNull(8, 2));
  EXPECT_EQ(value(105, 2), 0);
  EXPECT_FALSE(entered(2));
}

TEST_F(ScheduleDTest, ClearedAmountsStayProtectedAndEmpty) {
  for (int field : {90, 91, 92}) number(kFormID_PAScheduleD, sd(field), 11);
  run(1);
  for (int field : {90, 91, 92}) {
    EXPECT_TRUE(isNull(field)) << field;
    EXPECT_TRUE(isProtected(field)) << field;
  }
  EXPECT_EQ(value(105), 0);
}

}  // namespace
