// The whole calculation of the PA information form.
#include <gtest/gtest.h>

#include <string>

#include "calc/pa/tests/return_info_fixture.h"
#include "host/business.h"

namespace {

// ---- Residency, county and school code ----

TEST_F(ReturnInfoTest, NonresidentGetsTheOutOfStateSchoolCode) {
  markInfo(47);
  markInfo(14);
  textInfo(94, "Adams");
  textInfo(92, "Bermudian Springs");
  run();
  EXPECT_EQ(infoText(91), "99999");
  EXPECT_TRUE(isNull(92));
  EXPECT_TRUE(isNull(94));
  EXPECT_TRUE(isNull(14));
  EXPECT_TRUE(marked(144158));
  EXPECT_FALSE(marked(144157));
}

TEST_F(ReturnInfoTest, FullYearResidentSchoolCodeFromCountyAndDistrict) {
  struct Case {
    const char* county;
    const char* district;
    const char* before;
    const char* expected;
  };
  const Case cases[] = {
      {"Adams", "Bermudian Springs", "", "01110"},
      {"adams", "BERMUDIAN SPRINGS", "99999", "01110"},
      {"Allegheny", "Woodland Hills", "", "02990"},
      {"Adams", "Woodland Hills", "12345", "12345"},  // no such district in the county
      {"Adams", "Nowhere", "99999", ""},              // the out-of-state code is cleared first
  };
  for (const Case& c : cases) {
    restart();
    markInfo(46);
    textInfo(94, c.county);
    textInfo(92, c.district);
    textInfo(91, c.before);
    run();
    EXPECT_EQ(infoText(91), c.expected) << c.county << "/" << c.district;
    EXPECT_TRUE(marked(14));
    EXPECT_TRUE(marked(144157));
  }
}

TEST_F(ReturnInfoTest, PartYearResidentWhoStayedToTheYearEndIsTreatedAsFullYear) {
  struct Case {
    const char* leftOn;
    const char* diedOn;
    const char* expected;
  };
  const Case cases[] = {
      {"12/31/2018", "", "01110"}, {"06/30/2018", "06/30/2018", "01110"},
      {"06/30/2018", "", "99999"}, {"12/30/2018", "", "99999"},
      {"", "", "99999"},  // no leaving date does not match the missing date of death
  };
  for (const Case& c : cases) {
    restart();
    markInfo(48);
    textInfo(50, c.leftOn);
    filerText(557, c.diedOn);
    textInfo(94, "Adams");
    textInfo(92, "Bermudian Springs");
    run();
    EXPECT_EQ(infoText(91), c.expected) << c.leftOn << "/" << c.diedOn;
    EXPECT_EQ(marked(14), std::string(c.expected) != "99999");
  }
}

TEST_F(ReturnInfoTest, CountyAndDistrictComeFromTheHostSummaryWhenEmpty) {
  const FieldId& state = kPAReturnInfoAltFieldIds.byNumber(32770);
  text(kFormID_Fed32783, state, "PA");
  text(kFormID_Fed32783, kPAReturnInfoAltFieldIds.byNumber(133721), "x");
  text(kFormID_Fed32783, kPAReturnInfoAltFieldIds.byNumber(81494), "Adams");
  text(kFormID_Fed32783, kPAReturnInfoAltFieldIds.byNumber(133722), "X");
  text(kFormID_Fed32783, kPAReturnInfoAltFieldIds.byNumber(81495), "Bermudian Springs");
  markInfo(46);
  run();
  EXPECT_EQ(infoText(94), "Adams");
  EXPECT_EQ(infoText(92), "Bermudian Springs");
  EXPECT_EQ(infoText(91), "01110");

  // A county the filer entered stays.
  textInfo(94, "Berks");
  run();
  EXPECT_EQ(infoText(94), "Berks");
}

TEST_F(ReturnInfoTest, ResidencyBoxFromTheFederalResidencyRows) {
  struct Case {
    const char* rowState;
    const char* status;
    const char* homeState;  // federal form 1 line 14
    int expectedBox;
  };
  const Case cases[] = {
      {"PA", "Part-year resident", "", 48},
      {"PA", "Nonresident", "PA", 47},
      {"PA", "Full-year resident", "", 46},
      {"", "", "PA", 46},
      {"", "", "", 47},  // nothing known: the home state is not this state
  };
  for (const Case& c : cases) {
    restart();
    filerText(675, c.rowState);
    filerText(43844, c.status);
    text(kFormID_FedReturn, kFedReturnFieldIds.byNumber(9), c.homeState);
    run();
    for (int box : {46, 47, 48}) EXPECT_EQ(marked(box), box == c.expectedBox) << c.status << "/" << box;
  }
}

TEST_F(ReturnInfoTest, PartYearAnswer113DecidesBoxes17And18) {
  struct Case {
    int residencyBox;
    int answered;  // 0, 113 or 114
    bool expect17;
  };
  const Case cases[] = {{48, 0, true}, {48, 113, true}, {48, 114, false}, {46, 113, false}};
  for (const Case& c : cases) {
    restart();
    markInfo(c.residencyBox);
    if (c.answered != 0) markInfo(c.answered);
    run();
    EXPECT_EQ(marked(17), c.expect17) << c.residencyBox << "/" << c.answered;
    EXPECT_EQ(marked(18), !c.expect17);
    EXPECT_EQ(isProtected(113), c.residencyBox != 48);
    EXPECT_EQ(isProtected(49), c.residencyBox != 48);
  }
}

// ---- Filing status and deceased filers ----

TEST_F(ReturnInfoTest, FilingStatusFollowsTheFederalStatus) {
  struct Case {
    long fedStatus;
    bool answer495;  // federal form 92 opens answer 61
    bool answer61;
    int expectedBox;  // 0: none
  };
  const Case cases[] = {
      {4, true, true, 56},   {4, false, true, 55},  {4, true, false, 55},  {2, false, false, 57},
      {3, false, false, 56}, {1, false, false, 55}, {0, false, false, 55}, {9, false, false, 55},
      {10, false, false, 0}, {-1, false, false, 0},
  };
  for (const Case& c : cases) {
    restart();
    setFederalStatus(c.fedStatus);
    if (c.answer495) filerYes(495);
    if (c.answer61) markInfo(61);
    markInfo(55);  // a status entered before is replaced
    run();
    for (int box : {55, 56, 57}) EXPECT_EQ(marked(box), box == c.expectedBox) << c.fedStatus << "/" << box;
  }
}

TEST_F(ReturnInfoTest, FederalJointReturnOpensItsAnswers) {
  setFederalStatus(2);
  run();
  for (int field : {141, 142, 23876, 23877}) EXPECT_FALSE(isProtected(field)) << field;
  EXPECT_TRUE(marked(142));
  EXPECT_TRUE(marked(23877));
  EXPECT_EQ(amount(2), 2);

  restart();
  setFederalStatus(1);
  markInfo(142);
  run();
  for (int field : {141, 142, 23876, 23877}) {
    EXPECT_TRUE(isProtected(field)) << field;
    EXPECT_FALSE(marked(field)) << field;
  }
}

TEST_F(ReturnInfoTest, DateOfDeathYearDecidesTheYearBoxAndSingleFiling) {
  struct Case {
    const char* died;
    bool fed493;
    bool expectYearBox;
    int expectedStatusBox;
  };
  const Case cases[] = {
      {"03/15/2017", true, false, 55},  // died before the year: single
      {"03/15/2017", false, false, 57}, {"03/15/2018", true, true, 57},
      {"01/10/2019", true, true, 57},   {"VARIOUS", true, false, 55},
  };
  for (const Case& c : cases) {
    restart();
    setFederalStatus(2);
    filerText(557, c.died);
    if (c.fed493) filerYes(493);
    filerYes(495);
    run();
    EXPECT_TRUE(marked(58)) << c.died;
    EXPECT_EQ(infoText(109), c.died);
    EXPECT_EQ(marked(111), c.expectYearBox) << c.died;
    EXPECT_EQ(isProtected(61), !c.expectYearBox) << c.died;
    EXPECT_EQ(isProtected(62), !c.expectYearBox) << c.died;
    for (int box : {55, 56, 57}) EXPECT_EQ(marked(box), box == c.expectedStatusBox) << c.died << "/" << box;
  }
}

TEST_F(ReturnInfoTest, NoDateOfDeathClearsTheDeceasedBoxes) {
  markInfo(58);
  textInfo(109, "01/01/2018");
  filerText(558, "02/02/2017");
  run();
  EXPECT_FALSE(marked(58));
  EXPECT_TRUE(isNull(109));
  EXPECT_TRUE(marked(59));
  EXPECT_EQ(infoText(110), "02/02/2017");
  EXPECT_FALSE(marked(112));
}

// ---- Forms calculated first, federal forms present, bookkeeping ----

TEST_F(ReturnInfoTest, PA40State171AndScheduleDAreCalculatedFirst) {
  run();
  const int expected[] = {169, 171, 173};
  ASSERT_EQ(engine->calls.size(), 3u);
  for (int n = 0; n < 3; ++n) {
    const ProbeCall& call = engine->calls[n];
    EXPECT_EQ(call.operation, "calcStateForm");
    EXPECT_EQ(call.form, expected[n]);
    EXPECT_EQ(call.copy, 1);
    EXPECT_FALSE(call.markDataEntered);
    EXPECT_EQ(call.passOn, 0);
    EXPECT_EQ(call.spare, 0);
    EXPECT_TRUE(call.formGiven);
  }
}

TEST_F(ReturnInfoTest, BoxesTellWhichFederalFormsArePresent) {
  struct Case {
    const char* name;
    const FormId* form;  // a copy of this federal form exists (none: nullptr)
    uint16_t copy;
    const FieldId* field;  // and holds this value in this field
    double value;
    bool with150738;
    bool expect150684;
    bool expect150685;
    bool expect150687;
  };
  const FieldId& field45 = kFed2FieldIds.byNumber(45);
  const FieldId& field132 = kFed20FieldIds.byNumber(132);
  const Case cases[] = {
      {"none", nullptr, 1, nullptr, 0, false, false, false, false},
      {"form 8", &kFormID_Fed8, 1, nullptr, 0, false, true, true, false},
      {"form 8 copy 2 only", &kFormID_Fed8, 2, nullptr, 0, false, false, false, false},
      {"form 36 copy 2", &kFormID_Fed36, 2, nullptr, 0, false, true, false, true},
      {"form 2 field 45", &kFormID_Fed2, 1, &field45, 5, false, true, false, false},
      {"form 20 without 132", &kFormID_Fed20, 3, &field132, 0, false, false, false, false},
      {"form 20 with 132", &kFormID_Fed20, 3, &field132, 1, false, false, false, true},
      {"form 42 alone", &kFormID_Fed42, 1, nullptr, 0, false, false, false, false},
      {"form 42 with 150738", &kFormID_Fed42, 1, nullptr, 0, true, false, false, true},
      {"form 184", &kFormID_Fed184, 1, nullptr, 0, false, false, false, true},
      {"form 35", &kFormID_Fed35, 1, nullptr, 0, false, false, false, true},
      {"form 129", &kFormID_Fed129, 1, nullptr, 0, false, false, false, true},
      {"form 83", &kFormID_Fed83, 1, nullptr, 0, false, false, false, true},
  };
  for (const Case& c : cases) {
    restart();
    if (c.form != nullptr) copyOf(*c.form, c.copy);
    if (c.field != nullptr) number(*c.form, *c.field, c.value, c.copy);
    if (c.with150738) markInfo(150738);
    run();
    EXPECT_EQ(marked(150684), c.expect150684) << c.name;
    EXPECT_EQ(marked(150685), c.expect150685) << c.name;
    EXPECT_EQ(marked(150687), c.expect150687) << c.name;
  }
}

TEST_F(ReturnInfoTest, ReturnFieldsWithholdingVersionAndMarks) {
  federal()->setStateTaxWithheldNoLocal(321);
  number(kFormID_PA40, kPA40FieldIds.byNumber(268), 500);
  markInfo(57);
  setFederalStatus(2);
  BusinessMgmt::BusinessMgr::getInstance().setVersion("7.5");
  run();
  EXPECT_EQ(amount(1), 169);
  EXPECT_EQ(amount(2), 2);
  EXPECT_EQ(amount(142112), 321);
  EXPECT_EQ(amount(142114), 321);
  EXPECT_EQ(amount(127), 500);
  EXPECT_EQ(textOf(kFormID_State14, state14(143855)), "7.5");
  const DataMgmt::TaxForm* form = pa->getForm(kFormID_PAReturnInfo, 1);
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->isDataEntered());
  EXPECT_TRUE(form->getCalcMark());
}

TEST_F(ReturnInfoTest, LastCalculationsWithholdingMarksBoxes19And20) {
  number(kFormID_PAReturnInfo, info(63), 5);
  run();
  EXPECT_TRUE(marked(19));
  EXPECT_TRUE(isProtected(19));
  EXPECT_FALSE(marked(20));
  EXPECT_FALSE(isProtected(20));
  EXPECT_TRUE(isNull(63));  // recomputed: no withholding rows
}

TEST_F(ReturnInfoTest, FieldsKeptInStepWithForm183AreClearedByItsAnswers) {
  struct Case {
    int statusBox;
    bool answer28;
    bool expectTaxpayerKept;  // 119, 117, 115
    bool expectSpouseKept;    // 120, 118, 116
  };
  const Case cases[] = {{57, false, true, true}, {55, false, true, false}, {57, true, false, false}};
  const int fed183Of[] = {176, 177, 178, 179, 180, 181};  // for info fields 115 to 120
  for (const Case& c : cases) {
    restart();
    setFederalStatus(c.statusBox == 57 ? 2 : 1);
    copyOf(kFormID_Fed183);
    for (int n = 0; n < 6; ++n) {
      number(kFormID_PAReturnInfo, info(115 + n), 10 + n);
      number(kFormID_Fed183, f183(fed183Of[n]), 10 + n);
    }
    if (c.answer28) mark(kFormID_Fed183, f183(28));
    run();
    for (int field : {115, 117, 119}) EXPECT_EQ(!isNull(field), c.expectTaxpayerKept) << field;
    for (int field : {116, 118, 120}) EXPECT_EQ(!isNull(field), c.expectSpouseKept) << field;
    EXPECT_EQ(pa->getIN(kFormID_State14, 1, state14(5)), 14);  // the agreed value of 119
  }
}

// With the engine's own dispatch, the forms calculated first really are.
TEST_F(ReturnInfoTest, RealDispatchCalculatesTheEarlyForms) {
  PACalculationMgmt::PATaxReturnCalcEngine real(federal(), pa.get(), TaxFormPrintMgmt::TaxFormPrinterPtr());
  markInfo(46);
  setFederalStatus(2);
  real.computeReturnInfo(holder(kFormID_PAReturnInfo), 1, 0);
  ASSERT_NE(pa->getForm(kFormID_PA40, 1), nullptr);
  EXPECT_TRUE(pa->getForm(kFormID_PA40, 1)->getCalcMark());
  EXPECT_TRUE(pa->getForm(kFormID_PAReturnInfo, 1)->getCalcMark());
  EXPECT_TRUE(marked(57));
}

}  // namespace
