// The interest and dividend worksheet: its frame (nonresident exit, print
// decision, repeatability) and its interest half.
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "calc/pa/schedules/tests/int_div_worksheet_fixture.h"

namespace {

// The value and protection of every stored field of the worksheet copy.
std::map<int, std::tuple<int, double, std::string, bool>> snapshot(const DataMgmt::TaxForm& form) {
  std::map<int, std::tuple<int, double, std::string, bool>> out;
  for (const auto& entry : form.fields()) {
    const DataMgmt::FieldValue& v = entry.second;
    out[entry.first] = std::make_tuple(static_cast<int>(v.kind), v.number, v.text, v.isProtected);
  }
  return out;
}

TEST_F(IntDivWorksheetTest, ANonresidentsWorksheetIsClearedAndNeitherMarkedNorPrinted) {
  setResidency(2);
  enter(219, 5);
  enter(155737, 7);
  form51(1, kTaxpayer, 6, 100);
  federalInterest(50);
  run();
  for (const auto& entry : copyOf(sheet()).fields()) {
    EXPECT_EQ(DataMgmt::FieldValue::kNull, entry.second.kind) << entry.first;
  }
  EXPECT_FALSE(copyOf(sheet()).isDataEntered());
  EXPECT_FALSE(copyOf(sheet()).isPrintFlag());
  EXPECT_TRUE(federal()->pullLog().empty());
  EXPECT_TRUE(engine->calls.empty());
}

TEST_F(IntDivWorksheetTest, AWorksheetThatAdjustsNothingIsNotPrinted) {
  setFilingStatus(1);
  summary(kFormID_State16, 1, 100, 0);
  summary(kFormID_State17, 1, 50, 0);
  run();
  EXPECT_EQ(100, amount(155737));
  EXPECT_EQ(100, amount(155746));
  EXPECT_EQ(100, amount(156268));
  EXPECT_EQ(100, amount(219));
  EXPECT_EQ(50, amount(156280));
  EXPECT_EQ(50, amount(156314));
  EXPECT_EQ(50, amount(156327));
  EXPECT_FALSE(copyOf(sheet()).isDataEntered());
  EXPECT_FALSE(copyOf(sheet()).isPrintFlag());
  EXPECT_FALSE(copyOf(sheet()).getCalcMark());

  enter(213, 10);  // other subtraction one, entered as the total on a single return
  run();
  EXPECT_EQ(10, amount(214));
  EXPECT_EQ(90, amount(219));
  EXPECT_TRUE(copyOf(sheet()).isDataEntered());
  EXPECT_TRUE(copyOf(sheet()).isPrintFlag());
  EXPECT_TRUE(copyOf(sheet()).getCalcMark());
}

TEST_F(IntDivWorksheetTest, RecalculatingUnchangedInputGivesTheSameWorksheet) {
  setFilingStatus(2);
  setResidency(1);
  federalInterest(1);
  summary(kFormID_State16, 1, 100, 50);
  summary(kFormID_State16, 3, 30, 20);
  summary(kFormID_State17, 2, 40, 10);
  summary(kFormID_State17, 4, 15, 5);
  form51(1, kTaxpayer, 6, 70, 20, 12);
  form51(2, kSpouse, 142, 30, 10, 8);
  form166(1, kJoint, 301, 99);
  form89(1, kSpouse, 40, 30, 10, 25);
  form164(1, kJoint, 5000);
  federalDividends(900);
  form57(228, 60);
  enter(166, 5);
  enter(185, 3);
  enter(156257, 4);
  enter(155753, 10);
  enter(36539, 20);
  enter(156368, 9);
  run();
  const auto first = snapshot(copyOf(sheet()));
  run();
  EXPECT_EQ(first, snapshot(copyOf(sheet())));
  EXPECT_TRUE(copyOf(sheet()).isPrintFlag());
}

TEST_F(IntDivWorksheetTest, ASpouseCopyOfForm51IsIgnoredOnAReturnThatIsNotJoint) {
  setFilingStatus(1);
  federalInterest(1000);
  form51(1, kSpouse, 6, 500, 300);
  form51(2, kTaxpayer, 6, 100, 40);
  form51(3, kSpouse, 142, 70);
  run();
  EXPECT_EQ(100, amount(198));
  EXPECT_EQ(100, amount(199));
  EXPECT_TRUE(isNull(200));
  EXPECT_TRUE(isNull(203));
  EXPECT_TRUE(isNull(224));
  EXPECT_TRUE(isNull(227));
  EXPECT_EQ(100, amount(222));
  EXPECT_TRUE(marked(313));
  EXPECT_TRUE(markedNo(314));
  EXPECT_EQ(1000, amount(162));  // the pulled amount, not the form 51 lines
  EXPECT_EQ(1000, amount(163));
}

TEST_F(IntDivWorksheetTest, AJointForm166ItemIsSplitWithTheTaxpayersHalfRounded) {
  setFilingStatus(2);
  federalInterest(1);
  form166(1, kJoint, 301, 0);
  run();
  EXPECT_DOUBLE_EQ(3.01, amount(162));
  EXPECT_DOUBLE_EQ(2, amount(163));
  EXPECT_DOUBLE_EQ(3.01 - 2, amount(164));
  EXPECT_DOUBLE_EQ(amount(162), amount(163) + amount(164));
  EXPECT_DOUBLE_EQ(2, amount(175));
}

TEST_F(IntDivWorksheetTest, Form51KindsAndTheFederalInterestLine) {
  struct Case {
    bool first;
    bool second;
    double firstKind;   // 199
    double secondKind;  // 202
  } cases[] = {
      {true, true, 100, 0},   // both kinds: the first wins
      {true, false, 100, 0},
      {false, true, 0, 100},
      {false, false, 0, 0},   // no kind: not counted, but its line 188 still is
  };
  for (const Case& c : cases) {
    restart();
    setFilingStatus(2);
    federalInterest(1);
    form51(1, kTaxpayer, 0, 100, 40);
    if (c.first) mark(kFormID_Fed51, kFed51FieldIds.byNumber(6));
    if (c.second) mark(kFormID_Fed51, kFed51FieldIds.byNumber(142));
    run();
    EXPECT_EQ(c.firstKind, amount(199)) << c.first << c.second;
    EXPECT_EQ(c.secondKind, amount(202)) << c.first << c.second;
    EXPECT_EQ(c.firstKind > 0, marked(313)) << c.first << c.second;
    EXPECT_EQ(c.secondKind > 0, marked(314)) << c.first << c.second;
    EXPECT_EQ(40, amount(163)) << c.first << c.second;
  }
}

TEST_F(IntDivWorksheetTest, NoPulledFederalInterestClearsTheFederalLines) {
  setFilingStatus(2);
  form166(1, kTaxpayer, 5000, 0);
  enter(162, 99);
  enter(165, 10);
  run();
  for (int f : {162, 163, 164, 165, 166, 167, 174, 175, 176, 207}) EXPECT_TRUE(isNull(f)) << f;
  EXPECT_TRUE(engine->calls.empty());
}

TEST_F(IntDivWorksheetTest, FederalAdjustmentsAreLimitedAndRemaindersNeverNegative) {
  setFilingStatus(1);
  federalInterest(100);
  enter(165, 250);
  run();
  EXPECT_EQ(100, amount(165));
  EXPECT_EQ(0, amount(174));
  EXPECT_EQ(100, amount(166));
  EXPECT_EQ(0, amount(175));
  EXPECT_TRUE(closed(164));
  EXPECT_TRUE(closed(167));
  EXPECT_TRUE(closed(176));
  EXPECT_EQ(100, amount(207));

  restart();
  setFilingStatus(2);
  federalInterest(1);
  form51(1, kTaxpayer, 0, 0, 60);
  form51(2, kSpouse, 0, 0, 40);
  enter(166, 80);
  enter(167, 10);
  run();
  EXPECT_EQ(100, amount(162));
  EXPECT_EQ(60, amount(163));
  EXPECT_EQ(40, amount(164));
  EXPECT_EQ(60, amount(166));
  EXPECT_EQ(10, amount(167));
  EXPECT_EQ(70, amount(165));
  EXPECT_TRUE(isProtected(165));
  EXPECT_FALSE(isProtected(166));
  EXPECT_EQ(30, amount(174));
  EXPECT_EQ(0, amount(175));
  EXPECT_EQ(30, amount(176));
}

TEST_F(IntDivWorksheetTest, AFederalRemainderHasTheScheduleDWorksheetCalculatedAtOnce) {
  setFilingStatus(1);
  federalInterest(100);
  run();
  ASSERT_EQ(1u, engine->calls.size());
  const ProbeCall& call = engine->calls[0];
  EXPECT_EQ("calcStateForm", call.operation);
  EXPECT_EQ(181, call.form);
  EXPECT_EQ(1, call.copy);
  EXPECT_FALSE(call.markDataEntered);
  EXPECT_EQ(1, call.passOn);
  EXPECT_EQ(0, call.spare);
  EXPECT_TRUE(call.formGiven);

  engine->calls.clear();
  enter(165, 100);  // nothing remains
  run();
  EXPECT_TRUE(engine->calls.empty());
}

TEST_F(IntDivWorksheetTest, APartYearResidentEntersGroup3UpToGroups3And4) {
  struct Case {
    int residency;
    double entered;
    double expected;
    bool open;
  } cases[] = {
      {1, 80, 50, true},   // limited to groups 3 + 4
      {1, 40, 40, true},
      {0, 80, 30, false},  // a full-year resident's is group 3 alone
  };
  for (const Case& c : cases) {
    restart();
    setFilingStatus(1);
    setResidency(c.residency);
    summary(kFormID_State16, 3, 30, 0);
    summary(kFormID_State16, 4, 20, 0);
    enter(155753, c.entered);
    if (!c.open) copyOf(sheet()).makeProtected(w(155753));
    run();
    EXPECT_EQ(c.expected, amount(155753)) << c.residency << " " << c.entered;
    EXPECT_EQ(!c.open, isProtected(155753)) << c.residency << " " << c.entered;
    EXPECT_TRUE(closed(155754));
  }
  restart();
  setFilingStatus(1);
  enter(155753, 5);
  run();
  EXPECT_TRUE(closed(155753));
}

TEST_F(IntDivWorksheetTest, TheOverrideBoxLetsTheUserEnterTheLineAsUsed) {
  setFilingStatus(2);
  form51(1, kTaxpayer, 6, 100);
  run();
  EXPECT_TRUE(marked(325));
  EXPECT_TRUE(markedNo(324));
  EXPECT_EQ(100, amount(222));
  EXPECT_EQ(100, amount(223));

  check(324);
  enter(223, 7);
  enter(224, 3);
  run();
  EXPECT_EQ(10, amount(222));
  EXPECT_EQ(7, amount(223));
  EXPECT_FALSE(isProtected(223));
  EXPECT_FALSE(isProtected(224));
  EXPECT_EQ(7, amount(156248));
  EXPECT_EQ(7, amount(156278));

  restart();
  setFilingStatus(1);
  check(324);
  enter(222, 9);
  run();
  EXPECT_EQ(9, amount(223));
  EXPECT_TRUE(isProtected(223));
  EXPECT_TRUE(closed(224));
  EXPECT_FALSE(isProtected(222));
}

TEST_F(IntDivWorksheetTest, EnteredAmountsAreLimitedToWhatTheyReduce) {
  setFilingStatus(2);
  setResidency(1);
  for (uint16_t c = 1; c <= 2; ++c) {
    number(kFormID_PAMiscCompWorksheet, kPAMiscCompWorksheetFieldIds.byNumber(46475), 30, c);
  }
  enter(23889, 100);
  enter(23890, 5);
  form57(228, 100);
  enter(36539, 150);
  run();
  EXPECT_EQ(60, amount(23889));
  EXPECT_TRUE(closed(23890));
  EXPECT_EQ(60, amount(79804));
  EXPECT_EQ(60, amount(23888));
  EXPECT_EQ(100, amount(36539));
  EXPECT_EQ(0, amount(36538));

  enter(36539, 40);
  enter(156257, 4);
  run();
  EXPECT_EQ(100, amount(36537));
  EXPECT_EQ(60, amount(36538));
  EXPECT_EQ(60, amount(156272));
  EXPECT_EQ(40, amount(156273));
  EXPECT_EQ(100, amount(156274));
  const double taxpayerTotal = amount(156269) + 60 + 0 + 0 + 60 + 0;  // net, 23889, 46482, 36541, 156275, 156278
  EXPECT_EQ(taxpayerTotal, amount(220));
  EXPECT_EQ(4 + taxpayerTotal, amount(156357));
  EXPECT_FALSE(isNull(156358));

  setFilingStatus(1);  // no longer joint: no stale spouse amount
  run();
  EXPECT_TRUE(isNull(156358));
}

// A person whose form 89 interest is gone keeps no remainder from an
// earlier calculation.
TEST_F(IntDivWorksheetTest, AForm89RemainderDoesNotOutliveItsInterest) {
  setFilingStatus(2);
  form89(1, kTaxpayer, 100, 0, 0);
  form89(2, kSpouse, 50, 30, 10);
  run();
  EXPECT_EQ(100, amount(181));
  EXPECT_EQ(70, amount(182));
  EXPECT_EQ(100, amount(193));
  EXPECT_EQ(170, amount(192));

  number(kFormID_Fed89, kFed89FieldIds.byNumber(15), 0, 1);
  run();
  EXPECT_EQ(0, amount(181));
  EXPECT_TRUE(closed(184));
  EXPECT_EQ(0, amount(193));
  EXPECT_EQ(70, amount(192));
  EXPECT_EQ(0, amount(211));
  EXPECT_EQ(70, amount(212));
}

}  // namespace
