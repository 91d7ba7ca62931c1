// PA Schedule C on fixture returns. Fields are named by host field number,
// so the member mapping is checked independently of the code.
#include <map>
#include <string>

#include "calc/state/tests/state_engine_fixture.h"

namespace {

class ScheduleCTest : public StateEngineTest {
 protected:
  static const FieldId& pc(int hostField) { return kPAScheduleCFieldIds.byNumber(hostField); }
  static const FieldId& fc(int hostField) { return kFedScheduleCFieldIds.byNumber(hostField); }
  static const FieldId& info(int hostField) { return kPAReturnInfoFieldIds.byNumber(hostField); }

  void SetUp() override {
    StateEngineTest::SetUp();
    useInformationFormLines();
  }
  void fullYearResident() { mark(kFormID_PAReturnInfo, info(46)); }
  // PA copy `copy` linked to federal copy `fedCopy`, as the driver links it.
  void linked(uint16_t copy = 1, int fedCopy = 1) {
    mark(kFormID_PAScheduleC, pc(56135), copy);
    number(kFormID_PAScheduleC, pc(56133), fedCopy, copy);
  }
  void fedAmount(int hostField, double value, uint16_t copy = 1) {
    number(kFormID_FedScheduleC, fc(hostField), value, copy);
  }
  void fedText(int hostField, const std::string& value, uint16_t copy = 1) {
    text(kFormID_FedScheduleC, fc(hostField), value, copy);
  }
  void enter(int hostField, double value) { number(kFormID_PAScheduleC, pc(hostField), value); }
  void run(uint16_t copy = 1) { engine->computeScheduleC(holder(kFormID_PAScheduleC, copy), copy, 0); }

  DataMgmt::TaxForm& sched(uint16_t copy = 1) { return copyOf(kFormID_PAScheduleC, copy); }
  double amount(int hostField) { return sched().getIR(pc(hostField)); }
  bool isNull(int hostField) { return sched().isNull(pc(hostField)); }
  std::string pcText(int hostField) { return textOf(kFormID_PAScheduleC, pc(hostField)); }
  // Every stored field's value text and protection.
  std::map<int, std::string> snapshot(uint16_t copy) {
    std::map<int, std::string> values;
    for (const auto& field : sched(copy).fields()) {
      values[field.first] = sched(copy).valueText(field.first) + (field.second.isProtected ? " P" : "");
    }
    return values;
  }
};

TEST_F(ScheduleCTest, UnlinkedCopyIsOnlyMarkedEntered) {
  const struct {
    uint16_t copy;
    double net;
    bool entered;
  } kCases[] = {{1, 250, true}, {2, 0, false}};
  for (const auto& c : kCases) {
    mark(kFormID_PAScheduleC, pc(56183), c.copy);
    number(kFormID_PAScheduleC, pc(56306), c.net, c.copy);
    number(kFormID_PAScheduleC, pc(56201), 7, c.copy);
    const std::map<int, std::string> before = snapshot(c.copy);
    run(c.copy);
    EXPECT_EQ(snapshot(c.copy), before) << "a field was written";
    EXPECT_EQ(sched(c.copy).isDataEntered(), c.entered) << c.net;
    EXPECT_EQ(sched(c.copy).getCalcMark(), c.entered) << c.net;
  }
}

TEST_F(ScheduleCTest, LinkZeroReadsFederalCopyOne) {
  fedAmount(183, 5000);
  fedAmount(183, 9999, 2);
  linked(1, 0);
  run();
  EXPECT_EQ(amount(56201), 5000);
}

TEST_F(ScheduleCTest, NetProfitOfAFullYearResident) {
  fullYearResident();
  linked(1, 2);
  fedAmount(183, 10000, 2);  // gross receipts
  fedAmount(25, 500, 2);     // returns
  fedAmount(79, 2000, 2);    // cost of goods sold
  fedAmount(29, 100, 2);     // other income
  fedAmount(31, 300, 2);     // advertising
  fedAmount(34, 200, 2);
  fedAmount(40, 50, 2);      // two amounts on one PA line
  fedAmount(41, 25, 2);
  run();
  EXPECT_TRUE(sched().xMarked(pc(56183)));
  EXPECT_TRUE(sched().isProtected(pc(56183)));
  EXPECT_EQ(amount(56180), 2);
  EXPECT_EQ(amount(56203), 9500);
  EXPECT_EQ(amount(56205), 7500);
  EXPECT_EQ(amount(56219), 100);
  EXPECT_EQ(amount(56220), 7600);
  EXPECT_EQ(amount(56144), 75);
  EXPECT_EQ(amount(56240), 75);
  EXPECT_EQ(amount(56303), 300 + 200 + 75);
  EXPECT_EQ(amount(56306), 7600 - 575);
  EXPECT_TRUE(sched().isDataEntered());
  EXPECT_TRUE(sched().getCalcMark());
}

TEST_F(ScheduleCTest, OtherExpenseRowsAndStartUpCosts) {
  linked();
  fedText(56, "start up costs");
  fedAmount(57, 300);
  fedText(58, "Supplies");
  fedAmount(59, 50);
  fedText(211, "Start Up Expenses");
  fedAmount(212, 40);
  fedText(213, "Start up costs");
  fedAmount(214, 70);
  run();
  EXPECT_EQ(pcText(56282), " ");
  EXPECT_TRUE(isNull(56283));
  EXPECT_EQ(pcText(56284), "SUPPLIES");
  EXPECT_EQ(amount(56285), 50);
  EXPECT_EQ(pcText(56296), " ");
  EXPECT_TRUE(isNull(56297));
  EXPECT_EQ(amount(161038), 0);
  EXPECT_EQ(amount(56302), 50);
}

TEST_F(ScheduleCTest, AdjustmentLineWithoutStartUpText) {
  linked();
  fedText(213, "Depletion");
  fedAmount(214, 70);
  run();
  EXPECT_EQ(amount(161038), 70);
  EXPECT_EQ(amount(56279), 70);
  EXPECT_EQ(pcText(56298), "Other PA Adj.");
}

TEST_F(ScheduleCTest, EnteredPairIsLimitedTo5000) {
  linked();
  fedAmount(155, 100);
  mark(kFormID_PAScheduleC, pc(56266));
  enter(156531, 4000);
  enter(156532, 2200);
  run();
  EXPECT_FALSE(sched().isProtected(pc(156531)));
  EXPECT_EQ(amount(156533), 5000);
  EXPECT_EQ(amount(155712), 5000);
}

TEST_F(ScheduleCTest, MarkedThirdOfAnAmount) {
  linked();
  mark(kFormID_PAScheduleC, pc(161035));
  enter(156528, 900);
  enter(161037, 77);
  run();
  EXPECT_DOUBLE_EQ(amount(156529), 900 * 0.33333);
  EXPECT_EQ(amount(161037), 77);
  EXPECT_DOUBLE_EQ(amount(155710), 900 * 0.33333);
}

TEST_F(ScheduleCTest, DatedRowsAreLimitedAndSummed) {
  linked();
  fedAmount(36, 1000);
  mark(kFormID_PAScheduleC, pc(56229));  // the first pair's other box: rows are used
  text(kFormID_PAScheduleC, pc(56322), "3/4/2018");
  enter(56323, 600);
  enter(56324, 100);
  enter(56327, 800);
  text(kFormID_PAScheduleC, pc(56328), "VARIOUS");
  enter(56329, 400);
  enter(56330, 500);
  enter(56333, 50);
  enter(56439, 100);
  enter(56319, 300);
  enter(56320, 100);
  run();
  EXPECT_EQ(pcText(56322), "03/04/2018");
  EXPECT_EQ(pcText(56328), "VARIOUS");  // no date: left as written
  EXPECT_EQ(amount(56327), 500);
  EXPECT_EQ(amount(56330), 400);
  EXPECT_EQ(amount(56333), 0);
  EXPECT_EQ(amount(56437), 1000);
  EXPECT_EQ(amount(56438), 500);
  EXPECT_EQ(amount(56440), 400);
  EXPECT_EQ(amount(56231), 400);
  EXPECT_EQ(amount(56232), 200);
  EXPECT_TRUE(sched().isProtected(pc(56231)));
}

TEST_F(ScheduleCTest, DatedRowsClearedWhenBothBoxesAreMarked) {
  linked();
  fedAmount(36, 1000);
  enter(56231, 1500);
  enter(56323, 600);
  enter(56440, 9);
  run();  // both boxes default to marked
  EXPECT_EQ(amount(56231), 1000);
  EXPECT_EQ(amount(56232), 0);
  EXPECT_TRUE(isNull(56323));
  EXPECT_TRUE(isNull(56440));
}

TEST_F(ScheduleCTest, ForeignAddress) {
  linked();
  mark(kFormID_FedScheduleC, fc(247));
  fedText(9, "1 King St");
  fedText(240, "Toronto");
  fedText(150599, "ON");
  fedText(150600, "M5V 2T6");
  fedText(150598, "Canada");
  run();
  EXPECT_EQ(pcText(56191), "1 King St");
  EXPECT_EQ(pcText(69391), "Toronto ON M5V 2T6");
  EXPECT_EQ(pcText(56193), "Canada");
  EXPECT_EQ(pcText(56194), "OC");
  EXPECT_TRUE(isNull(56195));
}

TEST_F(ScheduleCTest, MissingAddressFallsBackToThePA40) {
  linked();
  text(kFormID_PA40, kPA40FieldIds.byNumber(105), "5 Main St");
  text(kFormID_PA40, kPA40FieldIds.byNumber(110), "Erie");
  run();
  EXPECT_EQ(pcText(69391), "5 Main St");
  EXPECT_EQ(pcText(56193), "Erie");
}

TEST_F(ScheduleCTest, SpousesBusinessAndCodes) {
  linked();
  text(kFormID_PAReturnInfo, line(6), "Ann");
  text(kFormID_PAReturnInfo, line(8), "Lee");
  text(kFormID_PAReturnInfo, line(10), "123-45-6789");
  mark(kFormID_FedScheduleC, fc(13));
  mark(kFormID_FedScheduleC, fc(16));
  mark(kFormID_FedScheduleC, fc(18));
  fedAmount(174, 10);
  run();
  EXPECT_TRUE(sched().xMarked(pc(56182)));
  EXPECT_TRUE(sched().isNo(pc(56181)));
  EXPECT_EQ(amount(56140), 1);
  EXPECT_TRUE(isNull(56139));
  EXPECT_EQ(pcText(56185), "Ann Lee");
  EXPECT_EQ(pcText(56186), "123-45-6789");
  EXPECT_EQ(pcText(56142), "123-45-6789");
  EXPECT_EQ(pcText(56189), "Ann Lee");
  EXPECT_EQ(pcText(56196), "L");
  EXPECT_EQ(pcText(56197), "O");
  EXPECT_EQ(pcText(56198), "Y");
  EXPECT_EQ(amount(56281), 10);
  EXPECT_EQ(pcText(56280), "Home office exp");
}

}  // namespace
