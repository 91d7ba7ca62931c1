// PA Schedule E: the source link, the federal Schedule E and farm-rental
// properties, the filer-level part and the data marks. Fields are named by
// host number, so the member mapping is checked as well.
#include <string>

#include "calc/state/tests/state_engine_fixture.h"

namespace {

class ScheduleETest : public StateEngineTest {
 protected:
  static const FieldId& pe(int hostField) { return kPAScheduleEFieldIds.byNumber(hostField); }
  static const FieldId& fe(int hostField) { return kFedScheduleEFieldIds.byNumber(hostField); }
  static const FieldId& farm(int hostField) { return kFedFarmRentalFieldIds.byNumber(hostField); }

  // Links PA copy `copy` to a federal Schedule E (or farm-rental) copy as
  // the driver does; a negative link leaves field 201 empty.
  void link(double federalCopy, bool farmRental = false, uint16_t copy = 1) {
    mark(kFormID_PAScheduleE, pe(farmRental ? 203 : 202), copy);
    if (federalCopy >= 0) number(kFormID_PAScheduleE, pe(201), federalCopy, copy);
  }
  void setJoint() { mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds.byNumber(57)); }
  void setPartYear() { mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds.byNumber(48)); }
  void federalAmount(int hostField, double value, uint16_t copy = 1) {
    number(kFormID_FedScheduleE, fe(hostField), value, copy);
  }

  void calculate(uint16_t copy = 1) { engine->computeScheduleE(holder(kFormID_PAScheduleE, copy), copy, 0); }
  DataMgmt::TaxForm& sheet(uint16_t copy = 1) { return copyOf(kFormID_PAScheduleE, copy); }
  double value(int hostField, uint16_t copy = 1) { return sheet(copy).getIR(pe(hostField)); }
  std::string textAt(int hostField) { return textOf(kFormID_PAScheduleE, pe(hostField)); }
  bool marked(int hostField) { return sheet().xMarked(pe(hostField)); }
  bool isNo(int hostField) { return sheet().isNo(pe(hostField)); }
  bool isNull(int hostField) { return sheet().isNull(pe(hostField)); }
};

TEST_F(ScheduleETest, MissingOrZeroLinkReadsFederalCopy1) {
  federalAmount(28, 900);
  const double links[] = {-1.0, 0.0, -3.0};  // -1: field 201 left empty
  for (uint16_t copy = 1; copy <= 3; ++copy) {
    link(links[copy - 1], false, copy);
    calculate(copy);
    EXPECT_DOUBLE_EQ(value(213, copy), 1) << copy;
    EXPECT_DOUBLE_EQ(value(34, copy), 900) << copy;
    EXPECT_TRUE(sheet(copy).xMarked(pe(211)));
    EXPECT_TRUE(sheet(copy).isNo(pe(212)));
  }
}

TEST_F(ScheduleETest, TypeCodeGivesTypeTextAndRoyaltyRules) {
  const struct {
    const char* code;
    bool rental158, royalty159;
    const char* typeCode;
    const char* typeText;
  } cases[] = {
      {"1", true, false, "1", "Single Family Residence"}, {"3", true, false, "3", "Vacation/Short-Term Rent"},
      {"7", true, false, "7", "Self-Rental"},             {"8", true, true, "8", "Other"},
      {"6", true, false, "", ""},                         {"2", false, true, "6", "Royalty"},
  };
  uint16_t copy = 0;
  for (const auto& c : cases) {
    ++copy;  // each case on its own federal and PA copy
    text(kFormID_FedScheduleE, fe(261), c.code, copy);
    text(kFormID_FedScheduleE, fe(259), "12 Main St", copy);
    if (c.rental158) mark(kFormID_FedScheduleE, fe(158), copy);
    if (c.royalty159) mark(kFormID_FedScheduleE, fe(159), copy);
    link(copy, false, copy);
    calculate(copy);
    const bool royalty = std::string(c.typeText) == "Royalty";
    EXPECT_EQ(textOf(kFormID_PAScheduleE, pe(163), copy), c.typeCode) << c.code;
    EXPECT_EQ(textOf(kFormID_PAScheduleE, pe(210193), copy), c.typeText) << c.code;
    EXPECT_EQ(sheet(copy).isNull(pe(165)), royalty) << c.code;
    EXPECT_EQ(sheet(copy).xMarked(pe(208)), royalty) << c.code;
  }
}

TEST_F(ScheduleETest, IncomeOnBothLinesCountsAsNone) {
  mark(kFormID_FedScheduleE, fe(158));
  federalAmount(28, 1000);
  federalAmount(31, 300);
  number(kFormID_PAScheduleE, pe(34), 500);
  sheet().setOverridden(pe(34), true);  // the user's figure stands
  link(1);
  calculate();
  EXPECT_DOUBLE_EQ(value(30), 1000);
  EXPECT_DOUBLE_EQ(value(116), 300);
  EXPECT_DOUBLE_EQ(value(218), -300);
}

TEST_F(ScheduleETest, ExpensesAddTheirFederalFieldsAndLine66FollowsItsMark) {
  const int eightySix[] = {234, 237, 240, 243}, oneOhTwo[] = {61, 64, 49};
  for (int f : eightySix) federalAmount(f, 10);
  for (int f : oneOhTwo) federalAmount(f, 100);
  federalAmount(82, 7);
  federalAmount(276, 8);
  federalAmount(336, 5);
  text(kFormID_FedScheduleE, fe(332), "Pest control");
  link(1);
  calculate();
  EXPECT_DOUBLE_EQ(value(86), 40);
  EXPECT_DOUBLE_EQ(value(102), 300);
  EXPECT_DOUBLE_EQ(value(66), 15);
  EXPECT_EQ(textAt(110), "Pest control");
  EXPECT_DOUBLE_EQ(value(116), 40 + 300 + 15 + 5);

  sheet().setXNo(pe(216));  // the user enters line 66
  mark(kFormID_PAScheduleE, pe(217));
  number(kFormID_PAScheduleE, pe(66), 99);
  calculate();
  EXPECT_DOUBLE_EQ(value(66), 99);
  EXPECT_FALSE(sheet().isProtected(pe(66)));
}

TEST_F(ScheduleETest, LossWithoutMark164CountsAsZeroButLineKeepsTheLoss) {
  mark(kFormID_FedScheduleE, fe(158));
  federalAmount(28, 100);
  federalAmount(31, 600);
  link(1);
  calculate();
  EXPECT_DOUBLE_EQ(value(218), -500);
  EXPECT_TRUE(marked(124));
  EXPECT_TRUE(marked(164));  // the default of the pair
  EXPECT_DOUBLE_EQ(value(129), -500);

  mark(kFormID_PAScheduleE, pe(166));
  sheet().setXNo(pe(164));
  calculate();
  for (int f : {192, 129}) EXPECT_DOUBLE_EQ(value(f), 0) << f;
  EXPECT_DOUBLE_EQ(value(218), -500);
  const int column = marked(207087) ? 207094 : 207096;
  EXPECT_DOUBLE_EQ(value(column), 0);
  EXPECT_TRUE(isNull(column == 207094 ? 207096 : 207094));
}

TEST_F(ScheduleETest, IncomeClearsBothLossMarksOfTheColumns) {
  mark(kFormID_FedScheduleE, fe(158));
  text(kFormID_FedScheduleE, fe(261), "1");
  federalAmount(28, 800);
  mark(kFormID_PAScheduleE, pe(207087));
  mark(kFormID_PAScheduleE, pe(207093));  // left from an earlier loss
  link(1);
  calculate();
  EXPECT_DOUBLE_EQ(value(207094), 800);
  EXPECT_TRUE(isNo(207093));
  EXPECT_TRUE(isNo(207095));
  EXPECT_DOUBLE_EQ(value(200), 800);
  EXPECT_TRUE(sheet().isDataEntered());
  EXPECT_TRUE(sheet().getCalcMark());
}

TEST_F(ScheduleETest, OwnerMarksFollowTheFederalCopy) {
  setJoint();
  text(kFormID_FedScheduleE, fe(261), "1");
  link(1);
  calculate();  // no federal owner mark: the user chooses, 18 by default
  EXPECT_TRUE(marked(42777));
  EXPECT_TRUE(marked(18));
  EXPECT_TRUE(isNo(19));
  EXPECT_FALSE(sheet().isProtected(pe(19)));

  mark(kFormID_FedScheduleE, fe(27768));
  calculate();
  EXPECT_TRUE(marked(19));
  EXPECT_TRUE(isNull(18));
  EXPECT_TRUE(isNull(42777));

  pa->getFormUVPtr(kFormID_PAReturnInfo, 1, false)->setNull(kPAReturnInfoFieldIds.byNumber(57));
  mark(kFormID_PAScheduleE, pe(42777));
  calculate();
  EXPECT_TRUE(marked(18));
  EXPECT_TRUE(isNull(19));
  EXPECT_TRUE(isNull(42777));
}

TEST_F(ScheduleETest, AddressLineFromDomesticOrForeignParts) {
  text(kFormID_FedScheduleE, fe(260), "Harrisburg");
  text(kFormID_FedScheduleE, fe(184), "PA");
  text(kFormID_FedScheduleE, fe(52021), "17101");
  text(kFormID_FedScheduleE, fe(150654), "Ontario");
  text(kFormID_FedScheduleE, fe(150657), "K1A");
  link(1);
  calculate();
  EXPECT_EQ(textAt(167), "Harrisburg, PA 17101");
  EXPECT_EQ(textAt(209583), "PA");
  EXPECT_TRUE(isNo(209581));

  mark(kFormID_FedScheduleE, fe(79570));
  text(kFormID_FedScheduleE, fe(260), std::string(127, 'c'));
  calculate();
  EXPECT_TRUE(marked(209581));
  EXPECT_EQ(textAt(167), std::string(127, 'c'));  // cut at the line's end
}

TEST_F(ScheduleETest, FarmRentalOfASingleFiler) {
  number(kFormID_FedFarmRental, farm(26), 400);
  number(kFormID_FedFarmRental, farm(65), 1000);
  number(kFormID_PAScheduleE, pe(50), 77);  // inside the cleared range
  setPartYear();
  link(1, true);
  calculate();
  EXPECT_TRUE(marked(212));
  EXPECT_TRUE(marked(18));
  EXPECT_TRUE(isNull(19) && sheet().isProtected(pe(19)));
  EXPECT_TRUE(isNull(26) && sheet().isProtected(pe(26)));
  EXPECT_EQ(textAt(163), "5");
  EXPECT_EQ(textAt(210193), "Farm Rental");
  EXPECT_TRUE(isNull(50));
  EXPECT_DOUBLE_EQ(value(30), 400);
  EXPECT_DOUBLE_EQ(value(116), 1000);
  EXPECT_DOUBLE_EQ(value(218), -600);
  EXPECT_TRUE(marked(21669));  // the default for a part-year resident
  EXPECT_TRUE(marked(46380));
  EXPECT_TRUE(marked(207081));
  EXPECT_DOUBLE_EQ(value(207096), -600);
}

TEST_F(ScheduleETest, FilerLevelPartOnlyOnCopy1WithASpouseAmount) {
  number(kFormID_Fed12, kFed12FieldIds.byNumber(165), 50);
  for (int f : {219, 220, 221, 222}) number(kFormID_PAScheduleE, pe(f), 10);
  calculate();  // no source, single filer
  EXPECT_TRUE(marked(226));
  EXPECT_TRUE(marked(225));
  EXPECT_TRUE(isNo(204));
  EXPECT_TRUE(isNull(220) && sheet().isProtected(pe(220)));
  EXPECT_DOUBLE_EQ(value(196), 20);
  EXPECT_TRUE(sheet().isDataEntered());
  EXPECT_TRUE(sheet().getCalcMark());

  for (int f : {219, 221}) number(kFormID_PAScheduleE, pe(f), 10, 2);
  calculate(2);
  for (int f : {219, 221}) EXPECT_TRUE(sheet(2).isNull(pe(f))) << f;
  EXPECT_TRUE(sheet(2).isNo(pe(226)));
  EXPECT_TRUE(sheet(2).isNull(pe(196)));
  EXPECT_FALSE(sheet(2).isDataEntered());
}

TEST_F(ScheduleETest, CopyWithoutSourceKeepsItsPropertyFields) {
  text(kFormID_PAScheduleE, pe(163), "2");
  number(kFormID_PAScheduleE, pe(30), 500);
  calculate();
  EXPECT_EQ(textAt(163), "2");
  EXPECT_DOUBLE_EQ(value(30), 500);
  EXPECT_TRUE(isNo(211) && isNo(212));
  EXPECT_TRUE(sheet().isDataEntered());  // 163 holds a code
}

}  // namespace
