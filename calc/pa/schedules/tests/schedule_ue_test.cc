// computeScheduleUE: owner and header, vehicle, office, moving, education,
// depreciation and the net amount.
#include <gtest/gtest.h>

#include <string>

#include "calc/pa/tests/pa40_fixture.h"

namespace {

class ScheduleUETest : public PA40Test {
 protected:
  static const FieldId& ue(int hostField) { return kPAScheduleUEFieldIds.byNumber(hostField); }

  void run(uint16_t copy = 1) { engine->computeScheduleUE(holder(kFormID_PAScheduleUE, copy), copy, 1); }
  void enterUE(int f, double value, uint16_t copy = 1) { number(kFormID_PAScheduleUE, ue(f), value, copy); }
  void markUE(int f, uint16_t copy = 1) { mark(kFormID_PAScheduleUE, ue(f), copy); }
  double value(int f, uint16_t copy = 1) { return pa->getIR(kFormID_PAScheduleUE, copy, ue(f)); }
  long whole(int f) { return pa->getIN(kFormID_PAScheduleUE, 1, ue(f)); }
  std::string text(int f, uint16_t copy = 1) { return pa->getFieldAsString(kFormID_PAScheduleUE, copy, ue(f)); }
  bool null(int f, uint16_t copy = 1) { return pa->isNull(kFormID_PAScheduleUE, copy, ue(f)); }
  bool isProtected(int f, uint16_t copy = 1) { return copyOf(kFormID_PAScheduleUE, copy).isProtected(ue(f)); }
  bool marked(int f, uint16_t copy = 1) { return pa->formYes(kFormID_PAScheduleUE, copy, ue(f)); }
  bool markedNo(int f, uint16_t copy = 1) { return pa->formNo(kFormID_PAScheduleUE, copy, ue(f)); }
  bool closed(int f) { return null(f) && isProtected(f); }

  // Answers yes to the three office questions.
  void officeOpen() {
    for (int f : {47, 49, 51}) markUE(f);
  }
};

TEST_F(ScheduleUETest, OnAReturnThatIsNotJointEveryCopyIsTheTaxpayers) {
  setFilingStatus(1);
  markUE(13, 2);
  run(2);
  EXPECT_TRUE(marked(12, 2));
  EXPECT_TRUE(isProtected(12, 2));
  EXPECT_TRUE(markedNo(13, 2));
  EXPECT_TRUE(isProtected(13, 2));
  EXPECT_EQ(value(150, 2), 1);
  EXPECT_EQ(value(151, 2), 0);
  // Only the first copy carries the copy markers.
  EXPECT_TRUE(markedNo(163, 2));
  for (int f : {164, 165, 166}) EXPECT_TRUE(null(f, 2)) << f;

  run(1);
  EXPECT_TRUE(marked(163));
  EXPECT_TRUE(marked(164));
  EXPECT_TRUE(null(165));
}

TEST_F(ScheduleUETest, ASpouseScheduleShowsTheSpouseNameBesideTheFirstNumber) {
  useInformationFormLines();
  const char* parts[10] = {"ann", "", "lee", "", "111-22-3333", "bob", "", "lee", "", "444-55-6666"};
  for (short code = 1; code <= 10; ++code) PA40Test::text(kFormID_PAReturnInfo, line(code), parts[code - 1]);
  setFilingStatus(2);
  markUE(13, 2);
  run(2);
  EXPECT_FALSE(isProtected(13, 2));
  EXPECT_EQ(text(14, 2), "bob lee");
  EXPECT_EQ(text(15, 2), "111-22-3333");
  EXPECT_EQ(text(72, 2), "bob lee");
  EXPECT_EQ(text(73, 2), "111-22-3333");
  EXPECT_EQ(value(150, 2), 0);
  EXPECT_EQ(value(151, 2), 1);

  run(1);  // no owner box: the taxpayer's by default
  EXPECT_TRUE(marked(12));
  EXPECT_EQ(text(14), "ann lee");
  EXPECT_EQ(value(150), 1);
}

TEST_F(ScheduleUETest, ThousandMilesAtTheMileageRate) {
  enterUE(26, 1000);
  enterUE(34, 10);
  enterUE(35, 20);
  enterUE(36, 30);
  enterUE(207097, 5);
  run();
  EXPECT_TRUE(marked(24));  // the default method
  EXPECT_DOUBLE_EQ(value(28), 545);
  EXPECT_DOUBLE_EQ(value(37), 605);
  EXPECT_TRUE(closed(207097));
  EXPECT_TRUE(null(207099));
  EXPECT_DOUBLE_EQ(value(132), 605);
}

TEST_F(ScheduleUETest, ActualCostsUseTheHeldBusinessShare) {
  struct Case {
    double business, total, cost;
    double heldShare;  // field 207099: share x 1,000,000
    double keptBusiness;
    double businessCost;
  };
  const Case cases[] = {
      {500, 1000, 3000, 500000, 500, 1500},
      {1500, 1000, 3000, 1000000, 1000, 3000},  // business miles cut to the total
      {100, 0, 3000, 0, 0, 0},                  // no total miles: no share
      {1, 3, 3000, 333333, 1, 999.999},         // one third held at six places
  };
  for (const Case& c : cases) {
    restart();
    markUE(25);
    enterUE(26, 1000);
    enterUE(207098, c.business);
    enterUE(207097, c.total);
    enterUE(207100, c.cost - 1000);
    enterUE(31, 1000);
    run();
    EXPECT_EQ(whole(207099), c.heldShare) << c.business << "/" << c.total;
    EXPECT_EQ(value(207098), c.keptBusiness) << c.business << "/" << c.total;
    EXPECT_EQ(value(207101), c.cost);
    EXPECT_NEAR(value(33), c.businessCost, 1e-9) << c.business << "/" << c.total;
    EXPECT_NEAR(value(37), c.businessCost, 1e-9);
    EXPECT_TRUE(closed(26));
    EXPECT_TRUE(closed(28));
  }
}

TEST_F(ScheduleUETest, OfficeRatioIsHeldAtFourPlaces) {
  officeOpen();
  enterUE(53, 600);
  enterUE(62, 300);
  enterUE(64, 3);
  enterUE(65, 1);
  enterUE(69, 5);
  run();
  EXPECT_EQ(value(63), 900);
  EXPECT_EQ(whole(66), 3333);
  EXPECT_EQ(whole(67), 3333);
  EXPECT_DOUBLE_EQ(value(68), 900 * 0.3333);
  EXPECT_DOUBLE_EQ(value(71), 900 * 0.3333 + 5);
  EXPECT_DOUBLE_EQ(value(134), 305);  // the office total as a whole amount

  enterUE(65, 7);  // more than the base: cut to it
  run();
  EXPECT_EQ(value(65), 3);
  EXPECT_EQ(value(66), 10000);
}

TEST_F(ScheduleUETest, OfficeWithoutABaseHasNoRatioAndKeepsItsPart) {
  officeOpen();
  enterUE(53, 600);
  enterUE(65, 7);
  run();
  EXPECT_EQ(value(65), 7);
  EXPECT_EQ(value(66), 0);
  EXPECT_EQ(value(68), 0);
}

TEST_F(ScheduleUETest, OfficeClosesUnlessAllThreeQuestionsAreYes) {
  for (int f : {47, 49}) markUE(f);
  enterUE(53, 600);
  enterUE(69, 5);
  run();
  EXPECT_TRUE(marked(52));  // the question without an answer defaults to no
  for (int f : {69, 53, 54, 55, 56, 57, 58, 60, 62, 65, 64}) EXPECT_TRUE(closed(f)) << f;
  for (int f : {63, 66, 67, 68, 71}) EXPECT_TRUE(null(f)) << f;
}

TEST_F(ScheduleUETest, MovingDistanceTest) {
  struct Case {
    double difference;
    bool exempt;  // the military box marked
    bool open;
    bool pairAsked;
  };
  const Case cases[] = {
      {35, false, true, false},
      {34, false, false, true},
      {34, true, true, true},
  };
  for (const Case& c : cases) {
    restart();
    enterUE(74, 100);
    enterUE(75, 100 - c.difference);
    enterUE(77, 400);
    enterUE(78, 50);
    if (c.exempt) markUE(23883);
    run();
    EXPECT_EQ(value(76), c.difference);
    if (c.open) {
      EXPECT_EQ(value(79), 450) << c.difference;
      EXPECT_EQ(value(135), 450);
    } else {
      for (int f : {77, 78, 79}) EXPECT_TRUE(null(f)) << f;
      EXPECT_TRUE(markedNo(23883));
      EXPECT_TRUE(marked(23884));
    }
    if (!c.pairAsked) {
      EXPECT_TRUE(null(23883) && null(23884)) << c.difference;
    }
  }
}

TEST_F(ScheduleUETest, EducationOpensOnlyWithBothQualifyingAnswers) {
  markUE(80);
  markUE(83);
  markUE(85);
  for (int f : {88, 89, 90}) enterUE(f, 100);
  run();
  EXPECT_EQ(value(91), 300);
  EXPECT_EQ(value(136), 300);

  restart();
  markUE(80);  // the questions default to their first box: closed
  enterUE(88, 100);
  PA40Test::text(kFormID_PAScheduleUE, ue(86), "college");
  run();
  EXPECT_TRUE(marked(82));
  EXPECT_TRUE(closed(86));
  EXPECT_TRUE(closed(88));
  EXPECT_TRUE(closed(91));
  EXPECT_FALSE(isProtected(82));

  restart();
  markUE(83);
  run();  // no education answer: box 81, and the questions close
  EXPECT_TRUE(marked(81));
  for (int f : {82, 83, 84, 85}) {
    EXPECT_TRUE(markedNo(f)) << f;
    EXPECT_TRUE(isProtected(f)) << f;
  }
}

TEST_F(ScheduleUETest, DepreciationRowsAreLimitedByTheirBasis) {
  struct Case {
    double basis, first, second;
    bool nulled;
    double keptFirst, keptSecond;
  };
  const Case cases[] = {
      {0, 50, 20, true, 0, 0},        {-5, 50, 20, true, 0, 0},
      {100, 150, 20, false, 100, 0},  // first above the basis
      {100, 100, 20, false, 100, 0},  // first equal to the basis
      {100, 60, 50, false, 60, 40},   // second cut to what is left
      {100, 60, 30, false, 60, 30},
  };
  const int rows[4][3] = {{93, 96, 97}, {99, 102, 103}, {105, 108, 109}, {111, 114, 115}};
  for (const Case& c : cases) {
    for (const auto& row : rows) {
      restart();
      enterUE(row[0], c.basis);
      enterUE(row[1], c.first);
      enterUE(row[2], c.second);
      run();
      EXPECT_EQ(null(row[1]), c.nulled) << row[0] << " basis " << c.basis;
      EXPECT_EQ(null(row[2]), c.nulled) << row[0] << " basis " << c.basis;
      EXPECT_EQ(value(row[1]), c.keptFirst) << row[0] << " first " << c.first;
      EXPECT_EQ(value(row[2]), c.keptSecond) << row[0] << " second " << c.second;
      EXPECT_EQ(value(116), c.keptFirst + c.keptSecond);
      EXPECT_EQ(value(137), c.keptFirst + c.keptSecond);
    }
  }
}

TEST_F(ScheduleUETest, NetAmountAndDataEntered) {
  enterUE(39, 10);
  enterUE(45, 15);
  enterUE(127, 100);
  enterUE(129, 25);
  run();
  EXPECT_EQ(value(46), 25);
  EXPECT_EQ(value(131), 25);
  EXPECT_EQ(value(133), 100);
  EXPECT_EQ(value(128), 125);
  EXPECT_EQ(value(130), 100);
  EXPECT_TRUE(copyOf(kFormID_PAScheduleUE).isDataEntered());
  EXPECT_TRUE(copyOf(kFormID_PAScheduleUE).getCalcMark());

  enterUE(129, 200);  // a reduction above the total: a negative net amount
  run();
  EXPECT_EQ(value(130), -75);

  restart();
  enterUE(127, 100);
  enterUE(129, 100);
  run();
  EXPECT_EQ(value(130), 0);
  EXPECT_FALSE(copyOf(kFormID_PAScheduleUE).isDataEntered());
  EXPECT_FALSE(copyOf(kFormID_PAScheduleUE).getCalcMark());
}

}  // namespace
