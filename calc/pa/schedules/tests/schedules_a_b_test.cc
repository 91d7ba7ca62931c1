// PA Schedules A and B on fixture returns. Fields are named by host field
// number, so the line tables are checked independently of the code's
// catalog members.
#include <string>

#include "calc/pa/tests/pa40_fixture.h"

namespace {

class SchedulesABTest : public PA40Test {
 protected:
  void SetUp() override {
    PA40Test::SetUp();
    useInformationFormLines();
  }

  static const FieldId& a(int hostField) { return kPAScheduleAFieldIds.byNumber(hostField); }
  static const FieldId& b(int hostField) { return kPAScheduleBFieldIds.byNumber(hostField); }
  static const FieldId& ws(int hostField) { return kPAInterestDividendWorksheetFieldIds.byNumber(hostField); }

  // An amount of the interest and dividend worksheet (always its copy 1).
  void worksheet(int hostField, double value) {
    number(kFormID_PAInterestDividendWorksheet, ws(hostField), value);
  }

  void runA(uint16_t copy) { engine->computeScheduleA(holder(kFormID_PAScheduleA, copy), copy, 1); }
  void runB(uint16_t copy) { engine->computeScheduleB(holder(kFormID_PAScheduleB, copy), copy, 1); }

  double valueA(int hostField, uint16_t copy = 1) {
    return pa->getIR(kFormID_PAScheduleA, copy, a(hostField));
  }
  double valueB(int hostField, uint16_t copy = 1) {
    return pa->getIR(kFormID_PAScheduleB, copy, b(hostField));
  }
  bool nullA(int hostField, uint16_t copy = 1) { return pa->isNull(kFormID_PAScheduleA, copy, a(hostField)); }
  bool nullB(int hostField, uint16_t copy = 1) { return pa->isNull(kFormID_PAScheduleB, copy, b(hostField)); }
  std::string textA(int hostField, uint16_t copy = 1) {
    return pa->getFieldAsString(kFormID_PAScheduleA, copy, a(hostField));
  }
  std::string textB(int hostField, uint16_t copy = 1) {
    return pa->getFieldAsString(kFormID_PAScheduleB, copy, b(hostField));
  }

  // Marked data-entered and calculated.
  bool entered(const FormId& form, uint16_t copy) {
    const DataMgmt::TaxForm* f = pa->getForm(form, copy);
    return f != nullptr && f->isDataEntered() && f->getCalcMark();
  }
};

// Schedule field, taxpayer column, spouse column (host fields).
struct Line {
  int field;
  int taxpayer;
  int spouse;
};

const Line kLinesA[] = {
    {155719, 155738, 155739}, {155720, 155741, 155742}, {155721, 155744, 155745}, {155724, 156251, 156252},
    {155725, 155753, 155754}, {155726, 156254, 156255}, {155727, 156263, 156264}, {155731, 23889, 23890},
    {155732, 46482, 46483},   {155733, 36541, 36542},   {155734, 156275, 156276}, {155735, 156278, 156279},
};

const Line kLinesB[] = {
    {155764, 156281, 156282}, {155765, 156294, 156295}, {155766, 156297, 156298}, {155767, 156309, 156310},
    {183070, 162956, 162957}, {155771, 156321, 156322}, {207102, 210231, 210232}, {207103, 210234, 210235},
    {207104, 210237, 210238}, {155773, 238, 156323},    {155774, 156325, 156326},
};

TEST_F(SchedulesABTest, EachCopyTakesItsPersonsColumnAndTotalsIt) {
  setFilingStatus(2);
  int value = 1;
  for (const Line& line : kLinesA) {
    worksheet(line.taxpayer, value);
    worksheet(line.spouse, 100 * value);
    ++value;
  }
  runA(1);
  runA(2);
  value = 1;
  for (const Line& line : kLinesA) {
    EXPECT_EQ(valueA(line.field, 1), value) << line.field;
    EXPECT_EQ(valueA(line.field, 2), 100 * value) << line.field;
    ++value;
  }
  // Taxpayer: additions 1+2+3, reductions 4+5+6+7, net 0 (floored), plus 8..12.
  EXPECT_EQ(valueA(155723), 6);
  EXPECT_EQ(valueA(155729), 22);
  EXPECT_EQ(valueA(155730), 0);
  EXPECT_EQ(valueA(155736), 8 + 9 + 10 + 11 + 12);
  EXPECT_EQ(textA(155714, 1), "PA40A Copy 1 - Taxpayer");
  EXPECT_EQ(textA(155714, 2), "PA40A Copy 2 - Spouse");
  EXPECT_TRUE(pa->formYes(kFormID_PAScheduleA, 1, a(156244)));
  EXPECT_TRUE(pa->formNo(kFormID_PAScheduleA, 1, a(156245)));
  EXPECT_TRUE(pa->formNo(kFormID_PAScheduleA, 2, a(156244)));
  EXPECT_TRUE(pa->formYes(kFormID_PAScheduleA, 2, a(156245)));
  EXPECT_TRUE(pa->formNo(kFormID_PAScheduleA, 1, a(156246)));
  EXPECT_TRUE(entered(kFormID_PAScheduleA, 1));

  value = 1;
  for (const Line& line : kLinesB) {
    worksheet(line.taxpayer, value);
    worksheet(line.spouse, 100 * value);
    ++value;
  }
  runB(1);
  runB(2);
  value = 1;
  for (const Line& line : kLinesB) {
    EXPECT_EQ(valueB(line.field, 1), value) << line.field;
    EXPECT_EQ(valueB(line.field, 2), 100 * value) << line.field;
    ++value;
  }
  // Spouse: reductions 200+300+400, net 100-900, plus B-plus 1, 2, 3, 4 and
  // RK-1 (500, 600, 900, 1000, 1100); the B-extra lines are left out.
  EXPECT_EQ(valueB(156330, 2), 900);
  EXPECT_EQ(valueB(155770, 2), -800);
  EXPECT_EQ(valueB(155775, 2), -800 + 500 + 600 + 900 + 1000 + 1100);
  EXPECT_EQ(textB(155756, 1), "PA40B Copy 1 - Taxpayer");
  EXPECT_EQ(textB(155756, 2), "PA40B Copy 2 - Spouse");
  EXPECT_EQ(textB(155772, 2), "see attached worksheet");
  EXPECT_EQ(textB(155768, 2), "Other reduction adjustments");
}

TEST_F(SchedulesABTest, NonresidentKeepsHeaderButClearsLinesAndIsNotEntered) {
  setResidency(2);
  worksheet(155738, 500);
  number(kFormID_PAScheduleA, a(155736), 77);
  runA(1);
  EXPECT_EQ(textA(155714), "PA40A Copy 1 - Taxpayer");
  EXPECT_TRUE(pa->formYes(kFormID_PAScheduleA, 1, a(156244)));
  for (int field = 155719; field <= 155736; ++field) EXPECT_TRUE(nullA(field)) << field;
  EXPECT_FALSE(entered(kFormID_PAScheduleA, 1));

  worksheet(156281, 500);
  runB(1);
  for (const Line& line : kLinesB) EXPECT_TRUE(nullB(line.field)) << line.field;
  EXPECT_TRUE(nullB(155775));
  EXPECT_FALSE(entered(kFormID_PAScheduleB, 1));
}

TEST_F(SchedulesABTest, SpouseCopyOfANonJointReturnHasNoTitleButStillTheSpouseColumn) {
  setFilingStatus(1);
  text(kFormID_PAScheduleA, a(155714), "OLD", 2);
  worksheet(155739, 40);
  runA(2);
  EXPECT_TRUE(nullA(155714, 2));
  EXPECT_TRUE(pa->formYes(kFormID_PAScheduleA, 2, a(156245)));
  EXPECT_EQ(valueA(155719, 2), 40);
}

TEST_F(SchedulesABTest, FirstLineAloneIsNotDataButASecondLineIs) {
  worksheet(155738, 500);
  runA(1);
  EXPECT_EQ(valueA(155723), 500);
  EXPECT_EQ(valueA(155730), 500);
  EXPECT_EQ(valueA(155736), 500);
  EXPECT_FALSE(entered(kFormID_PAScheduleA, 1));

  worksheet(23889, 10);
  runA(1);
  EXPECT_EQ(valueA(155736), 510);
  EXPECT_TRUE(entered(kFormID_PAScheduleA, 1));
}

TEST_F(SchedulesABTest, NotesFollowEachSchedulesOwnRule) {
  worksheet(155744, -20);  // A other additions
  worksheet(156309, -20);  // B other reduction adjustments
  worksheet(156321, -5);   // B-plus 2
  runA(1);
  runB(1);
  EXPECT_EQ(textA(155722), "Other Additions");
  EXPECT_TRUE(nullA(155728));
  EXPECT_TRUE(nullB(155768));
  EXPECT_TRUE(nullB(155772));

  worksheet(156263, 3);  // A-less 4
  runA(1);
  EXPECT_EQ(textA(155728), "See attached worksheet");
}

TEST_F(SchedulesABTest, ScheduleAReductionsAboveAdditionsLeaveANegativeTotal) {
  worksheet(155738, 100);
  worksheet(156251, 300);
  worksheet(23889, 50);
  worksheet(156278, -80);
  runA(1);
  EXPECT_EQ(valueA(155730), 0);
  EXPECT_EQ(valueA(155736), -30);
  EXPECT_TRUE(entered(kFormID_PAScheduleA, 1));
}

TEST_F(SchedulesABTest, ScheduleBTotalIsNeverBelowZero) {
  worksheet(156281, 100);
  worksheet(156294, 300);
  worksheet(162956, 50);
  runB(1);
  EXPECT_EQ(valueB(155770), -200);
  EXPECT_EQ(valueB(155775), 0.0);
  EXPECT_FALSE(nullB(155775));
}

TEST_F(SchedulesABTest, ScheduleBExtraLinesAloneAreShownButNotTotalled) {
  worksheet(210231, 70);
  worksheet(210234, 30);
  runB(1);
  EXPECT_EQ(valueB(207102), 70);
  EXPECT_EQ(valueB(207103), 30);
  EXPECT_EQ(valueB(155775), 0);
  EXPECT_FALSE(entered(kFormID_PAScheduleB, 1));
}

TEST_F(SchedulesABTest, ACopyAboveTwoKeepsItsLinesAndTitle) {
  setFilingStatus(2);
  text(kFormID_PAScheduleA, a(155714), "KEEP", 3);
  number(kFormID_PAScheduleA, a(155719), 9, 3);
  worksheet(155738, 500);
  runA(3);
  EXPECT_EQ(textA(155714, 3), "KEEP");
  EXPECT_EQ(valueA(155719, 3), 9);
  EXPECT_TRUE(entered(kFormID_PAScheduleA, 3));  // 155719 differs from the (empty) total
}

}  // namespace
