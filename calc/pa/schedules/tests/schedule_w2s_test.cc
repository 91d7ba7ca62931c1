// PA Schedule W2-S on fixture returns. Fields are named by host field
// number, so the member mapping is checked independently of the code. The
// probe engine records the PA W-2 recalculations instead of running them.
#include <string>

#include "calc/pa/tests/pa40_fixture.h"

namespace {

class ScheduleW2STest : public PA40Test {
 protected:
  static const FieldId& f(int hostField) { return kPAScheduleW2SFieldIds.byNumber(hostField); }
  static const FieldId& w2(int hostField) { return kPAW2FieldIds.byNumber(hostField); }
  static const FieldId& ws(int hostField) { return kPAMiscCompWorksheetFieldIds.byNumber(hostField); }

  DataMgmt::TaxForm& sched() { return copyOf(kFormID_PAScheduleW2S); }
  double value(int hostField) { return sched().getIR(f(hostField)); }
  bool isNull(int hostField) { return sched().isNull(f(hostField)); }
  bool isProtected(int hostField) { return sched().isProtected(f(hostField)); }
  bool yes(int hostField) { return sched().xMarked(f(hostField)); }
  bool no(int hostField) { return sched().isNo(f(hostField)); }
  std::string textAt(int hostField) { return StateEngineTest::textOf(kFormID_PAScheduleW2S, f(hostField)); }
  void run() { engine->computeScheduleW2S(holder(kFormID_PAScheduleW2S), 1, 1); }

  // PA W-2 copy sums: taxpayer 79818/133/134, spouse 79819/135/136.
  void paW2(uint16_t copy, double t1, double t2, double t3, double s1, double s2, double s3) {
    const int kFields[] = {79818, 133, 134, 79819, 135, 136};
    const double values[] = {t1, t2, t3, s1, s2, s3};
    for (int k = 0; k < 6; ++k) number(kFormID_PAW2, w2(kFields[k]), values[k], copy);
  }
  // Worksheet copy sums: taxpayer 79802/9585/9586, spouse 79803/9587/9588.
  void worksheet(uint16_t copy, double t1, double t2, double t3, double s1, double s2, double s3) {
    const int kFields[] = {79802, 9585, 9586, 79803, 9587, 9588};
    const double values[] = {t1, t2, t3, s1, s2, s3};
    for (int k = 0; k < 6; ++k) number(kFormID_PAMiscCompWorksheet, ws(kFields[k]), values[k], copy);
  }
  // A federal W-2 copy with its owner marks and name field (4).
  void federalW2(uint16_t copy, bool taxpayer, bool spouse) {
    if (taxpayer) mark(kFormID_FedW2, kFedW2FieldIds[199], copy);
    if (spouse) mark(kFormID_FedW2, kFedW2FieldIds[200], copy);
    text(kFormID_FedW2, kFedW2FieldIds[210], "Acme", copy);
  }
  void expectRowNull(std::initializer_list<int> fields) {
    for (int field : fields) EXPECT_TRUE(isNull(field)) << field;
  }
};

TEST_F(ScheduleW2STest, TaxpayerWagesOnlyGiveOneRowAndTheNote) {
  useInformationFormLines();
  setFilingStatus(1);
  text(kFormID_PAReturnInfo, line(3), "Lee");
  text(kFormID_PAReturnInfo, line(5), "123-45-6789");
  paW2(1, 1000, 900, 30, 0, 0, 0);
  paW2(2, 500, 400, 20, 0, 0, 0);
  for (int field : {20, 21, 22, 23, 24}) number(kFormID_PAScheduleW2S, f(field), 5);  // an earlier run
  run();
  EXPECT_EQ(textAt(15), "T");
  EXPECT_EQ(textAt(16), "TP - Wages");
  EXPECT_EQ(value(17), 1500);
  EXPECT_EQ(value(18), 1300);
  EXPECT_EQ(value(19), 50);
  expectRowNull({20, 21, 22, 23, 24});
  EXPECT_EQ(textAt(26), "See Wks.");
  EXPECT_EQ(value(50), 1300);
  EXPECT_EQ(value(51), 50);
  expectRowNull({9413, 9415, 9417, 9418, 9419, 9420, 9422, 9424, 9425, 9426, 9429, 9487});
  EXPECT_EQ(value(9485), 1300);
  EXPECT_EQ(value(9486), 50);
  EXPECT_TRUE(sched().isDataEntered());
  EXPECT_TRUE(sched().getCalcMark());
  EXPECT_NE(textAt(5).find("Lee"), std::string::npos);
  EXPECT_EQ(textAt(6), "123-45-6789");
}

TEST_F(ScheduleW2STest, ARowIsWrittenWhenAnyOfItsAmountsIsNotZero) {
  const struct {
    double a1, a2, a3;
    bool written;
  } kCases[] = {
      {100, 0, 0, true}, {0, 0, -5, true}, {0, 0, 0, false},
  };
  for (const auto& c : kCases) {
    restart();
    setFilingStatus(2);
    paW2(1, 0, 0, 0, c.a1, c.a2, c.a3);
    worksheet(1, c.a1, c.a2, c.a3, 0, 0, 0);
    run();
    EXPECT_EQ(textAt(20), c.written ? "S" : "") << c.a1 << c.a2 << c.a3;
    EXPECT_EQ(textAt(21), c.written ? "SP - Wages" : "") << c.a1 << c.a2 << c.a3;
    EXPECT_EQ(isNull(22), !c.written) << c.a1 << c.a2 << c.a3;
    EXPECT_EQ(textAt(9413), c.written ? "T" : "") << c.a1 << c.a2 << c.a3;
    EXPECT_EQ(textAt(9415), c.written ? "TP - Misc. Comp." : "") << c.a1 << c.a2 << c.a3;
    EXPECT_EQ(isNull(9417), !c.written) << c.a1 << c.a2 << c.a3;
    EXPECT_EQ(textAt(26), c.written ? "See Wks." : "") << c.a1 << c.a2 << c.a3;
    EXPECT_EQ(textAt(9429), c.written ? "See Wks." : "") << c.a1 << c.a2 << c.a3;
  }
}

TEST_F(ScheduleW2STest, TotalsAddAmountsTwoAndThreeOnly) {
  setFilingStatus(2);
  paW2(1, 1000, 900, 30, 2000, 1800, 60);
  worksheet(1, 111, 100, 10, 222, 200, 20);
  worksheet(2, 0, 5, 1, 0, 0, 0);
  run();
  EXPECT_EQ(value(50), 2700);
  EXPECT_EQ(value(51), 90);
  EXPECT_EQ(textAt(9420), "S");
  EXPECT_EQ(textAt(9422), "SP - Misc. Comp.");
  EXPECT_EQ(value(9417), 111);
  EXPECT_EQ(value(9418), 105);
  EXPECT_EQ(value(9419), 11);
  EXPECT_EQ(value(9424), 222);
  EXPECT_EQ(value(9425), 200);
  EXPECT_EQ(value(9426), 20);
  EXPECT_EQ(value(9483), 305);
  EXPECT_EQ(value(9484), 31);
  EXPECT_EQ(value(9485), 3005);
  EXPECT_EQ(value(9486), 121);
}

TEST_F(ScheduleW2STest, TheCopyIsMarkedByAWageTotalOfEitherSignButAPositiveCompensationTotal) {
  const struct {
    double wage2, comp2, comp3;
    bool marked;
  } kCases[] = {
      {0, 0, 0, false}, {-10, 0, 0, true}, {0, 10, 0, true}, {0, 0, 10, true}, {0, -10, -10, false},
  };
  for (const auto& c : kCases) {
    restart();
    setFilingStatus(1);
    paW2(1, 0, c.wage2, 0, 0, 0, 0);
    worksheet(1, 0, c.comp2, c.comp3, 0, 0, 0);
    run();
    EXPECT_EQ(sched().isDataEntered(), c.marked) << c.wage2 << " " << c.comp2 << " " << c.comp3;
    EXPECT_EQ(sched().getCalcMark(), c.marked) << c.wage2 << " " << c.comp2 << " " << c.comp3;
  }
}

TEST_F(ScheduleW2STest, TheSpouseBoxIsTheUsersOnlyOnAJointReturn) {
  for (int status : {1, 2, 3}) {
    restart();
    setFilingStatus(status);
    mark(kFormID_PAScheduleW2S, f(42776));
    run();
    const bool joint = status == 2;
    EXPECT_EQ(yes(42776), joint) << status;
    EXPECT_EQ(isProtected(42776), !joint) << status;
    EXPECT_EQ(yes(46174), joint) << status;  // the spouse box was the only one marked
    EXPECT_EQ(no(46174), !joint) << status;
  }
}

TEST_F(ScheduleW2STest, AnyBoxFollowsEachOfItsBoxes) {
  for (int box : {42775, 12, 13, 12233, 36531}) {
    restart();
    setFilingStatus(1);
    mark(kFormID_PAScheduleW2S, f(box));
    run();
    EXPECT_TRUE(yes(46174)) << box;
  }
  // The second indicator box that this run marks counts as well.
  restart();
  setFilingStatus(1);
  number(kFormID_PAW2, w2(50653), 1);
  run();
  EXPECT_TRUE(yes(50652));
  EXPECT_TRUE(yes(46174));
}

TEST_F(ScheduleW2STest, IndicatorsFollowThePAW2AndWorksheetSums) {
  const struct {
    double first, second, third, attention, notes;
    bool box72, box50652, box139400;
  } kCases[] = {
      {0, 0, 0, 0, 0, false, false, false},
      {1, 0, 0, 0, 0, true, false, false},
      {0, 2, 0, 0, 0, true, false, false},
      {0, 0, 1, 0, 0, false, true, false},
      {0, 0, 0, 3, 0, false, false, true},
      {0, 0, 0, 0, 2, false, false, false},
  };
  for (const auto& c : kCases) {
    restart();
    setFilingStatus(1);
    number(kFormID_PAW2, w2(42786), c.first, 1);
    number(kFormID_PAW2, w2(42787), c.second, 2);
    number(kFormID_PAW2, w2(50653), c.third, 2);
    number(kFormID_PAMiscCompWorksheet, ws(139390), c.attention);
    number(kFormID_PAMiscCompWorksheet, ws(79780), c.notes);
    run();
    EXPECT_EQ(yes(72), c.box72) << c.first << c.second;
    EXPECT_EQ(no(72), !c.box72) << c.first << c.second;
    EXPECT_EQ(yes(50652), c.box50652) << c.third;
    EXPECT_EQ(no(50652), !c.box50652) << c.third;
    EXPECT_EQ(yes(139400), c.box139400) << c.attention;
    EXPECT_EQ(no(139400), !c.box139400) << c.attention;
    EXPECT_EQ(textAt(9487), c.notes > 0 ? "See Wks." : "") << c.notes;
  }
}

TEST_F(ScheduleW2STest, W2CountCountsAW2OfBothTwice) {
  setFilingStatus(2);
  federalW2(1, true, false);
  federalW2(2, true, true);
  federalW2(3, false, true);
  mark(kFormID_FedW2, kFedW2FieldIds[199], 4);  // no name: not counted
  run();
  EXPECT_EQ(value(14), 4);
}

TEST_F(ScheduleW2STest, CopyOneOfThePAW2IsCalculatedTwiceWhenItExists) {
  setFilingStatus(1);
  run();
  EXPECT_TRUE(engine->calls.empty());

  holder(kFormID_PAW2, 1);
  holder(kFormID_PAW2, 2);
  run();
  ASSERT_EQ(engine->calls.size(), 2u);
  for (const ProbeCall& call : engine->calls) {
    EXPECT_EQ(call.form, kFormID_PAW2.getNumber());
    EXPECT_EQ(call.copy, 1);
    EXPECT_FALSE(call.markDataEntered);
    EXPECT_EQ(call.passOn, 1);
    EXPECT_EQ(call.spare, 0);
    EXPECT_TRUE(call.formGiven);
  }
}

}  // namespace
