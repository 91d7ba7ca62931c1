// The information form's field routines, each on its own.
#include <gtest/gtest.h>

#include <string>

#include "calc/pa/tests/return_info_fixture.h"

namespace {

using Field = Primitives::OVImmutableIdentifier;

// ---- Federal return in use and the federal lines ----

TEST_F(ReturnInfoTest, FederalFormInUseFollowsForm104Only) {
  struct Case {
    bool has104;
    bool box181;
    bool box183;
    const char* expected;
  };
  const Case cases[] = {
      {false, false, false, "FedReturn"}, {true, false, false, "FedReturn"}, {true, true, false, "Fed55"},
      {true, false, true, "Fed87"},       {true, true, true, "Fed87"},
  };
  for (const Case& c : cases) {
    restart();
    // The information form's own variant marks do not count.
    markInfo(53);
    markInfo(54);
    if (c.has104) copyOf(kFormID_Fed104);
    if (c.box181) mark(kFormID_Fed104, kFed104FieldIds.byNumber(181));
    if (c.box183) mark(kFormID_Fed104, kFed104FieldIds.byNumber(183));
    const FormId expected = std::string(c.expected) == "Fed55"   ? kFormID_Fed55
                            : std::string(c.expected) == "Fed87" ? kFormID_Fed87
                                                                 : kFormID_FedReturn;
    EXPECT_EQ(engine->findFederalReturnFormInUse(), expected) << c.has104 << c.box181 << c.box183;
  }
}

TEST_F(ReturnInfoTest, FederalReturnTypeFieldsMarkTheVariantAndCopyItsLines) {
  mark(kFormID_Fed104, kFed104FieldIds.byNumber(181));     // form 55 in use
  text(kFormID_Fed55, kFed55FieldIds.byNumber(1), "ANN");  // line 1
  text(kFormID_Fed55, kFed55FieldIds.byNumber(4), "BEN");  // line 6
  text(kFormID_Fed55, kFed55FieldIds.byNumber(9), "PA");   // line 14
  text(kFormID_FedReturn, kFedReturnFieldIds.byNumber(1), "WRONG");
  number(kFormID_FedFilerInfo, filer(736), 42);
  copyOf(kFormID_PAReturnInfo);
  FieldId lines[15];
  for (int n = 0; n < 15; ++n) lines[n] = info(31 + n);

  engine->fillFederalReturnTypeFields(holder(kFormID_PAReturnInfo), kFormID_FedReturn, kFormID_State15, lines,
                                      info(13), info(52), info(53), info(54));

  EXPECT_FALSE(marked(52));
  EXPECT_TRUE(marked(53));
  EXPECT_FALSE(marked(54));
  EXPECT_EQ(infoText(31), "ANN");
  EXPECT_EQ(infoText(36), "BEN");
  EXPECT_EQ(infoText(44), "PA");
  EXPECT_EQ(amount(13), 42);
  // State form 15: fields 1-5 from lines 1-5, 6-10 from lines 6-10.
  EXPECT_EQ(textOf(kFormID_State15, kFederalReturnTypeFieldIds.byNumber(1)), "ANN");
  EXPECT_EQ(textOf(kFormID_State15, kFederalReturnTypeFieldIds.byNumber(6)), "BEN");
  ASSERT_NE(pa->getForm(kFormID_State15, 1), nullptr);
  EXPECT_TRUE(pa->getForm(kFormID_State15, 1)->isDataEntered());
  EXPECT_TRUE(pa->getForm(kFormID_State15, 1)->getCalcMark());
}

// ---- Residency code ----

TEST_F(ReturnInfoTest, ResidencyCodeFromTheFederalRowsThenTheHomeState) {
  struct Case {
    const char* rowStates[3];
    const char* taxpayer[3];
    const char* spouse[3];
    const char* homeState;
    short whose;
    int expected;
  };
  const Case cases[] = {
      // The state's row answers for the person asked about.
      {{"PA", "", ""}, {"Full-year resident", "", ""}, {"Nonresident", "", ""}, "", 1, 3},
      {{"PA", "", ""}, {"Full-year resident", "", ""}, {"Nonresident", "", ""}, "", 0, 1},
      {{"NJ", "pa", ""}, {"Nonresident", "PART-YEAR RESIDENT", ""}, {"", "", ""}, "", 0, 2},
      // An unknown status text goes on with the next row.
      {{"PA", "PA", ""}, {"unknown", "Nonresident", ""}, {"", "", ""}, "PA", 0, 3},
      // No row decides: the home-address state.
      {{"NJ", "", ""}, {"Full-year resident", "", ""}, {"", "", ""}, "pa", 0, 1},
      {{"", "", ""}, {"", "", ""}, {"", "", ""}, "NY", 1, 3},
      {{"", "", ""}, {"", "", ""}, {"", "", ""}, "", 0, 3},
  };
  const int rows[3][3] = {{675, 43844, 43845}, {679, 43846, 43847}, {683, 43848, 43849}};
  for (const Case& c : cases) {
    restart();
    useInformationFormLines();
    for (int r = 0; r < 3; ++r) {
      filerText(rows[r][0], c.rowStates[r]);
      filerText(rows[r][1], c.taxpayer[r]);
      filerText(rows[r][2], c.spouse[r]);
    }
    textInfo(44, c.homeState);  // line 14
    EXPECT_EQ(engine->getFilerResidencyCode(c.whose), c.expected) << c.rowStates[0] << "/" << c.homeState;
  }
}

// ---- Host state summary ----

TEST_F(ReturnInfoTest, StateSummaryTextComesFromTheFirstCopyOfThisState) {
  const FieldId& state = kPAReturnInfoAltFieldIds.byNumber(32770);
  const FieldId& county = kPAReturnInfoAltFieldIds.byNumber(81494);
  char out[PACalculationMgmt::PATaxReturnCalcEngine::kSummaryTextSize];

  EXPECT_STREQ(engine->findFormByAbbreviation(out, county), "");
  text(kFormID_Fed32783, state, "NJ", 1);
  text(kFormID_Fed32783, county, "Camden", 1);
  EXPECT_STREQ(engine->findFormByAbbreviation(out, county), "");
  text(kFormID_Fed32783, state, "pa", 3);
  text(kFormID_Fed32783, county, "Adams", 3);
  text(kFormID_Fed32783, state, "PA", 4);
  text(kFormID_Fed32783, county, "Berks", 4);
  EXPECT_STREQ(engine->findFormByAbbreviation(out, county), "Adams");
}

// ---- Fields kept in step ----

class CopyAndProtectTest : public ReturnInfoTest {
 protected:
  void SetUp() override {
    ReturnInfoTest::SetUp();
    copyOf(kFormID_PAReturnInfo);
    copyOf(kFormID_FedFilerInfo);
    copyOf(kFormID_Fed183);
  }
  void keepInStep(const FieldId& s, const FormId& fedForm, const FieldId& f, const FieldId& k) {
    engine->copyAndProtectFields(kFormID_PAReturnInfo, s, fedForm, f, kFormID_State14, k);
  }
};

TEST_F(CopyAndProtectTest, TextsFollowTheSideThatChanged) {
  struct Case {
    const char* state;
    const char* fed;
    const char* agreed;
    const char* expectState;
    const char* expectFed;
  };
  const Case cases[] = {
      {"OLD", "NEW", "OLD", "NEW", "NEW"},     // changed on the federal side only
      {"MINE", "NEW", "OLD", "MINE", "MINE"},  // changed on both: the state text wins
      {"SAME", "SAME", "", "SAME", "SAME"},
  };
  const FieldId& s = info(31);
  const FieldId& f = filer(557);
  const FieldId& k = state14(143855);
  for (const Case& c : cases) {
    restart();
    text(kFormID_PAReturnInfo, s, c.state);
    text(kFormID_FedFilerInfo, f, c.fed);
    text(kFormID_State14, k, c.agreed);
    keepInStep(s, kFormID_FedFilerInfo, f, k);
    EXPECT_EQ(textOf(kFormID_PAReturnInfo, s), c.expectState) << c.state << "/" << c.fed;
    EXPECT_EQ(textOf(kFormID_FedFilerInfo, f), c.expectFed);
    EXPECT_EQ(textOf(kFormID_State14, k), c.expectState);
    EXPECT_FALSE(copyOf(kFormID_FedFilerInfo).isProtected(f));
  }
}

TEST_F(CopyAndProtectTest, BoxesFollowTheSideThatChanged) {
  struct Case {
    bool s, f, k;
    bool expectS, expectF, expectK;
  };
  const Case cases[] = {
      {true, true, false, true, true, true},   // agree
      {false, true, false, true, true, true},  // federal side changed
      {true, false, false, true, true, true},  // state side changed
  };
  const FieldId& s = info(46);
  const FieldId& f = filer(493);
  const FieldId& k = state14(9015);
  for (const Case& c : cases) {
    restart();
    put(kFormID_PAReturnInfo, s, c.s ? DataMgmt::FieldValue::mark() : DataMgmt::FieldValue::no());
    put(kFormID_FedFilerInfo, f, c.f ? DataMgmt::FieldValue::mark() : DataMgmt::FieldValue::no());
    put(kFormID_State14, k, c.k ? DataMgmt::FieldValue::mark() : DataMgmt::FieldValue::no());
    keepInStep(s, kFormID_FedFilerInfo, f, k);
    EXPECT_EQ(pa->formYes(kFormID_PAReturnInfo, 1, s), c.expectS);
    EXPECT_EQ(federal()->formYes(kFormID_FedFilerInfo, 1, f), c.expectF);
    EXPECT_EQ(pa->formYes(kFormID_State14, 1, k), c.expectK);
  }
}

TEST_F(CopyAndProtectTest, NumbersFollowTheSideThatChangedNullsIncluded) {
  const FieldId& s = info(119);
  const FieldId& f = f183(180);
  const FieldId& k = state14(5);

  // Federal side changed.
  number(kFormID_PAReturnInfo, s, 10);
  number(kFormID_Fed183, f, 25);
  number(kFormID_State14, k, 10);
  keepInStep(s, kFormID_Fed183, f, k);
  EXPECT_EQ(amount(119), 25);
  EXPECT_EQ(pa->getIN(kFormID_State14, 1, k), 25);

  // State side cleared: the federal field is cleared too.
  put(kFormID_PAReturnInfo, s, DataMgmt::FieldValue::null());
  keepInStep(s, kFormID_Fed183, f, k);
  EXPECT_TRUE(federal()->isNull(kFormID_Fed183, 1, f));
  EXPECT_EQ(pa->getIN(kFormID_State14, 1, k), 0);

  // Federal side cleared while the state agrees with the last value.
  number(kFormID_PAReturnInfo, s, 7);
  number(kFormID_Fed183, f, 7);
  keepInStep(s, kFormID_Fed183, f, k);
  put(kFormID_Fed183, f, DataMgmt::FieldValue::null());
  keepInStep(s, kFormID_Fed183, f, k);
  EXPECT_TRUE(isNull(119));
}

TEST_F(CopyAndProtectTest, NothingHappensWhenAFormIsMissing) {
  const FieldId& s = info(119);
  const FieldId& f = kFed2FieldIds.byNumber(45);
  number(kFormID_PAReturnInfo, s, 10);
  engine->copyAndProtectFields(kFormID_PAReturnInfo, s, kFormID_Fed2, f, kFormID_State14, state14(5));
  EXPECT_EQ(amount(119), 10);
  EXPECT_TRUE(pa->isNull(kFormID_State14, 1, state14(5)));
}

// ---- Withholding summary of federal form 190 ----

class WithholdingSummaryTest : public ReturnInfoTest {
 protected:
  // The slot block's rows start at fields 10, 13, ..., 37 (amount, state
  // and excluded mark follow in form order); the total block's at 72, 75,
  // 78, 81.
  static int slotRowKey(int row) { return 10 + 3 * row; }
  static int totalRowKey(int row) { return 72 + 3 * row; }
  static int excludedMark(int row) { return 127 + row; }

  void slotRow(int row, double key, double amount, const char* state) {
    number(kFormID_Fed190, f190(slotRowKey(row)), key);
    number(kFormID_Fed190, f190(slotRowKey(row) + 1), amount);
    text(kFormID_Fed190, f190(slotRowKey(row) + 2), state);
  }
  void totalRow(int row, double amount, const char* state) {
    number(kFormID_Fed190, f190(totalRowKey(row) + 1), amount);
    text(kFormID_Fed190, f190(totalRowKey(row) + 2), state);
  }
  void sum() {
    FieldId slots[12];
    for (int n = 0; n < 12; ++n) slots[n] = info(65 + 2 * n);
    engine->sumFieldsByAbbreviation(holder(kFormID_PAReturnInfo), info(63), info(88), info(89), slots);
  }
  // Slot n (1-12): the amount field and the field before it.
  int slotAmount(int n) { return 65 + 2 * (n - 1); }
  int slotKey(int n) { return 64 + 2 * (n - 1); }
};

TEST_F(WithholdingSummaryTest, TotalBlockCountsThisStateAndUnlabelledPositiveRows) {
  totalRow(0, 100, "PA");
  totalRow(1, 50, "");
  totalRow(2, 70, "NJ");
  totalRow(3, -20, "");
  sum();
  EXPECT_EQ(amount(63), 150);
  EXPECT_TRUE(isProtected(63));
  EXPECT_EQ(amount(89), 150);
}

TEST_F(WithholdingSummaryTest, SlotsTakeThisStatesRowsInOrderSkippingExcludedOnes) {
  slotRow(0, 111, 10, "pa");
  slotRow(1, 222, 20, "NJ");
  slotRow(2, 333, 30, "");
  slotRow(3, 444, 40, "PA");
  mark(kFormID_Fed190, f190(excludedMark(3)));
  slotRow(4, 555, 50, "PA");
  number(kFormID_PAReturnInfo, info(slotAmount(4)), 999);  // stale slot of an earlier calculation
  sum();

  EXPECT_EQ(amount(slotAmount(1)), 10);
  EXPECT_EQ(amount(slotKey(1)), 111);
  EXPECT_EQ(amount(slotAmount(2)), 30);
  EXPECT_EQ(amount(slotKey(2)), 333);
  EXPECT_EQ(amount(slotAmount(3)), 50);
  EXPECT_TRUE(isProtected(slotAmount(3)));
  EXPECT_TRUE(isProtected(slotKey(3)));
  for (int n = 4; n <= 12; ++n) {
    EXPECT_TRUE(isNull(slotAmount(n))) << n;
    EXPECT_TRUE(isNull(slotKey(n))) << n;
    EXPECT_FALSE(isProtected(slotAmount(n))) << n;
  }
  EXPECT_EQ(amount(88), 90);
  EXPECT_TRUE(isNull(63));
  EXPECT_EQ(amount(89), 90);
}

TEST_F(WithholdingSummaryTest, EveryRowOfTheSlotBlockFitsTheTwelveSlots) {
  // The slot block has ten rows (fields 10 to 37), so all of them fit.
  for (int row = 0; row < 10; ++row) slotRow(row, row + 1, 10 * (row + 1), "PA");
  sum();
  for (int n = 1; n <= 10; ++n) EXPECT_EQ(amount(slotAmount(n)), 10 * n) << n;
  EXPECT_TRUE(isNull(slotAmount(11)));
  EXPECT_TRUE(isNull(slotAmount(12)));
  EXPECT_EQ(amount(88), 550);
}

TEST_F(WithholdingSummaryTest, NoRowsLeaveEverySlotNullAndTheTotalZero) {
  copyOf(kFormID_PAReturnInfo);
  sum();
  for (int n = 1; n <= 12; ++n) {
    EXPECT_TRUE(isNull(slotAmount(n))) << n;
    EXPECT_TRUE(isNull(slotKey(n))) << n;
  }
  EXPECT_TRUE(isNull(63));
  EXPECT_FALSE(isNull(88));
  EXPECT_EQ(amount(88), 0);
  EXPECT_EQ(amount(89), 0);
}

// ---- Option check boxes ----

class OptionCheckBoxTest : public ReturnInfoTest {
 protected:
  void fill() {
    const Field none;
    engine->fillOptionCheckBoxes(holder(kFormID_PAReturnInfo), info(95), info(10), info(96), none, info(99),
                                 info(100), info(97), info(98), none, none, none, none);
  }
};

TEST_F(OptionCheckBoxTest, FirstCallTakesTheFederalChoiceAndItsTexts) {
  filerYes(536);
  filerText(392, "011000015");
  filerText(391, "12345");
  mark(kFormID_FedFilerInfo, filer(394));
  fill();
  EXPECT_TRUE(marked(95));
  EXPECT_FALSE(marked(10));
  EXPECT_TRUE(marked(96));
  EXPECT_EQ(infoText(99), "011000015");
  EXPECT_EQ(infoText(100), "12345");
  EXPECT_FALSE(marked(97));
  EXPECT_TRUE(marked(98));
  EXPECT_FALSE(isProtected(96));
  EXPECT_TRUE(isProtected(99));
}

TEST_F(OptionCheckBoxTest, WithoutAFederalChoiceTheSecondBoxIsMarked) {
  fill();
  EXPECT_FALSE(marked(95));
  EXPECT_TRUE(marked(10));
  EXPECT_TRUE(isProtected(96));
  EXPECT_TRUE(isProtected(97));
}

TEST_F(OptionCheckBoxTest, TheFederalChoiceIsTakenOncePerReturn) {
  filerYes(536);
  fill();
  ASSERT_TRUE(marked(95));
  // The filer clears both boxes; a second call does not take them again.
  put(kFormID_PAReturnInfo, info(95), DataMgmt::FieldValue::no());
  put(kFormID_PAReturnInfo, info(10), DataMgmt::FieldValue::no());
  fill();
  EXPECT_FALSE(marked(95));
  EXPECT_FALSE(marked(10));

  // A second return in the same process takes its own defaults.
  engine.reset();
  pa.reset();
  StateEngineTest::SetUp();
  filerYes(536);
  fill();
  EXPECT_TRUE(marked(95));
}

TEST_F(OptionCheckBoxTest, A70126AnswerOpensTheFieldsAndDefaultsTheFirstOption) {
  markInfo(95);
  markInfo(96);
  filerYes(70126);
  fill();
  EXPECT_FALSE(marked(96));
  EXPECT_FALSE(isProtected(99));
  EXPECT_FALSE(isProtected(97));
  EXPECT_TRUE(marked(97));
  EXPECT_FALSE(marked(98));
}

// ---- Marked texts ----

TEST_F(ReturnInfoTest, MarkedTextCopiesFederalForm183WhenBothBoxesAreMarked) {
  const Field none;
  auto fill = [&]() {
    engine->fillMarkedText(holder(kFormID_PAReturnInfo), info(121), info(122), info(189150), none, info(125),
                           info(126), info(123), info(124), none, none, none);
  };
  const std::string longText(60, 'A');
  text(kFormID_Fed183, f183(188832), longText);
  text(kFormID_Fed183, f183(188833), "SECOND");
  number(kFormID_Fed183, f183(188834), 3);
  markInfo(121);
  markInfo(122);
  markInfo(189150);
  fill();
  EXPECT_FALSE(marked(122));
  EXPECT_EQ(infoText(125), std::string(52, 'A'));  // texts are read up to 52 characters
  EXPECT_EQ(infoText(126), "SECOND");
  EXPECT_EQ(amount(123), 3);
  EXPECT_TRUE(isProtected(125));
  EXPECT_TRUE(isProtected(124));
  EXPECT_FALSE(isProtected(189150));

  put(kFormID_PAReturnInfo, info(121), DataMgmt::FieldValue::no());
  fill();
  EXPECT_TRUE(isProtected(189150));
  EXPECT_EQ(infoText(126), "SECOND");  // kept, only protected
}

// ---- Option groups ----

class OptionGroupTest : public ReturnInfoTest {
 protected:
  void fill() {
    const int numbers[18] = {199150, 192411, 192412, 192413, 192414, 192415, 192416, 192417, 192418,
                             199151, 192419, 192420, 192421, 192422, 192423, 192424, 192425, 192426};
    FieldId groups[18];
    for (int n = 0; n < 18; ++n) groups[n] = info(numbers[n]);
    engine->fillOptionGroups(holder(kFormID_PAReturnInfo), groups);
  }
};

TEST_F(OptionGroupTest, FirstFederalYesPicksTheOptionInAnswerOrder) {
  // Answers in order 195137, 195138, 195615, 199001 mark 192417, 192418,
  // 192411, 199150.
  const int answers[4] = {195137, 195138, 195615, 199001};
  const int options[4] = {192417, 192418, 192411, 199150};
  for (int first = 0; first < 4; ++first) {
    restart();
    for (int n = first; n < 4; ++n) filerYes(answers[n]);
    fill();
    for (int n = 0; n < 4; ++n) EXPECT_EQ(marked(options[n]), n == first) << first << "/" << n;
  }
}

TEST_F(OptionGroupTest, TextsFillOnlyEmptyFieldsAndTheAnswerFollowsFederalForm92) {
  filerYes(195137);
  filerText(184582, "FED ONE");
  filerText(184584, "FED TWO");
  textInfo(192413, "MINE");
  filerYes(195613);
  fill();
  EXPECT_EQ(infoText(192412), "FED ONE");
  EXPECT_EQ(infoText(192413), "MINE");
  EXPECT_TRUE(marked(192416));
  EXPECT_FALSE(isProtected(192416));
}

TEST_F(OptionGroupTest, TheThirdOrFourthOptionClosesTheTexts) {
  markInfo(192411);  // the third option
  textInfo(192412, "TEXT");
  fill();
  EXPECT_TRUE(isNull(192412));
  EXPECT_TRUE(isProtected(192412));
  // The answer is reopened because the fourth text is empty.
  EXPECT_FALSE(isProtected(192416));
}

TEST_F(OptionGroupTest, SpouseGroupAppliesToJointFilersOnly) {
  filerYes(195140);
  filerText(184583, "SPOUSE");
  markInfo(55);  // single
  markInfo(192426);
  fill();
  EXPECT_FALSE(marked(192426));
  EXPECT_TRUE(isProtected(192426));
  EXPECT_TRUE(isNull(192420));

  restart();
  filerYes(195140);
  filerText(184583, "SPOUSE");
  markInfo(57);  // joint
  fill();
  EXPECT_TRUE(marked(192426));
  EXPECT_EQ(infoText(192420), "SPOUSE");
  EXPECT_FALSE(isProtected(192426));
}

TEST_F(OptionGroupTest, AFourthTextClearsTheAnswer) {
  textInfo(192415, "FOURTH");
  filerYes(195613);
  markInfo(57);  // joint: the answer is also protected
  fill();
  EXPECT_TRUE(isNull(192416));
  EXPECT_TRUE(isProtected(192416));
}

}  // namespace
