// The whole calculation of the PA information form.
#include <gtest/gtest.h>

#include <string>

#include "calc/pa/tests/return_info_fixture.h"

namespace {

// The filing-status boxes marked, as pointers into the catalog.
class FilingStatusTest : public ReturnInfoTest {
 protected:
  void expectStatus(const FieldId* expected, const std::string& what) {
    for (const FieldId* box :
         {&PAReturnInfo::kSingleBox.id(), &PAReturnInfo::kSeparateBox.id(), &PAReturnInfo::kJointBox.id()}) {
      EXPECT_EQ(marked(*box), box == expected) << what << " " << box->getNumber();
    }
  }
};

// The school code of a full-year resident, or of a part-year resident who
// left on the day of death, comes from the county and district names
// (without regard to case); "99999" is cleared before the lookup; a
// district that matches no row leaves the code alone. Everyone else gets
// "99999". (The golden returns hold a full-year and a part-year resident
// who left on the last day of the year, and a nonresident.)
TEST_F(ReturnInfoTest, SchoolCodeByResidency) {
  const FieldId& full = PAReturnInfo::kFullYearResidentBox;
  const FieldId& part = PAReturnInfo::kPartYearResidentBox;
  const struct {
    const FieldId& residency;
    const char *leftOn, *diedOn, *county, *district, *before, *expected;
  } kCases[] = {
      {full, "", "", "adams", "BERMUDIAN SPRINGS", "99999", "01110"},
      {full, "", "", "Adams", "Woodland Hills", "12345", "12345"},
      {full, "", "", "Adams", "Nowhere", "99999", ""},
      {part, "06/30/2018", "06/30/2018", "Adams", "Bermudian Springs", "", "01110"},
      {part, "12/30/2018", "", "Adams", "Bermudian Springs", "", "99999"},
      {part, "", "", "Adams", "Bermudian Springs", "", "99999"},  // no date never matches no death
  };
  for (const auto& c : kCases) {
    restart();
    markInfo(c.residency);
    markInfo(PAReturnInfo::kSchoolDistrictBox);
    textInfo(PAReturnInfo::kPartYearToDate, c.leftOn);
    filerText(FedFilerInfo::kTaxpayerDeathDate, c.diedOn);
    textInfo(PAReturnInfo::kCounty, c.county);
    textInfo(PAReturnInfo::kSchoolDistrict, c.district);
    textInfo(PAReturnInfo::kSchoolCode, c.before);
    run();
    EXPECT_EQ(infoText(PAReturnInfo::kSchoolCode), c.expected)
        << c.county << "/" << c.district << "/" << c.leftOn;
    EXPECT_EQ(marked(PAReturnInfo::kSchoolDistrictBox), std::string(c.expected) != "99999");
    EXPECT_EQ(isNull(PAReturnInfo::kCounty), std::string(c.expected) == "99999");
  }
}

// A school code the lookup wrote is the calculation's: once the names
// match no row (the district emptied) it goes, as a fresh load of the same
// entries holds none. A code the user typed stays: one the lookup agrees
// with, or one for names the table does not know.
TEST_F(ReturnInfoTest, LookedUpSchoolCodeGoesWithTheDistrict) {
  const struct {
    const char *typed, *districtAfter, *expected;
  } kCases[] = {
      {"", "", ""},                         // looked up, then the district emptied
      {"", "Nowhere", ""},                  // looked up, then a district the table does not know
      {"01110", "", "01110"},               // typed as the lookup finds it
      {"12345", "", ""},                    // typed, replaced by the lookup: the lookup's
      {"", "Upper Adams", "01610"},         // looked up again for the new district
  };
  for (const auto& c : kCases) {
    restart();
    markInfo(PAReturnInfo::kFullYearResidentBox);
    textInfo(PAReturnInfo::kCounty, "Adams");
    textInfo(PAReturnInfo::kSchoolDistrict, "Bermudian Springs");
    textInfo(PAReturnInfo::kSchoolCode, c.typed);
    run();
    ASSERT_EQ(infoText(PAReturnInfo::kSchoolCode), "01110") << c.typed;
    textInfo(PAReturnInfo::kSchoolDistrict, c.districtAfter);
    run();
    EXPECT_EQ(infoText(PAReturnInfo::kSchoolCode), c.expected) << c.typed << "/" << c.districtAfter;
  }
}

// No residency box marked: the box of the federal residency row of this
// state, else of the home state; the part-year allocation answer is open
// to part-year residents only. (The golden returns hold a part-year
// resident who does not allocate, and a resident by the home state.)
TEST_F(ReturnInfoTest, ResidencyFromTheFederalRows) {
  const struct {
    const char *rowState, *status, *homeState;
    const FieldId& box;
  } kCases[] = {
      {"PA", "Part-year resident", "", PAReturnInfo::kPartYearResidentBox},
      {"PA", "Nonresident", "PA", PAReturnInfo::kNonresidentBox},
      {"PA", "Full-year resident", "", PAReturnInfo::kFullYearResidentBox},
      {"", "", "", PAReturnInfo::kNonresidentBox},
  };
  for (const auto& c : kCases) {
    restart();
    filerText(FedFilerInfo::kResidencyState.at(0), c.rowState);
    filerText(FedFilerInfo::kResidencyTaxpayerStatus.at(0), c.status);
    text(kFormID_FedReturn, FedReturn::kState, c.homeState);
    run();
    for (const FieldId* box : {&PAReturnInfo::kFullYearResidentBox.id(), &PAReturnInfo::kNonresidentBox.id(),
                               &PAReturnInfo::kPartYearResidentBox.id()}) {
      EXPECT_EQ(marked(*box), box == &c.box) << c.status;
    }
    const bool partYear = &c.box == &PAReturnInfo::kPartYearResidentBox.id();
    EXPECT_EQ(marked(PAReturnInfo::kPartYearAllocatedBox), partYear) << c.status;
    EXPECT_EQ(marked(PAReturnInfo::kPartYearNotAllocatedBox), !partYear) << c.status;
    EXPECT_EQ(isProtected(PAReturnInfo::kPartYearAllocateYesBox), !partYear) << c.status;
    EXPECT_EQ(isProtected(PAReturnInfo::kPartYearFromDate), !partYear) << c.status;
  }
}

// Answers taken from the federal return while the information form has
// none (the residency, the driver's license or state ID, the county from
// the state summary) are the user's once taken: a later federal change
// does not reach them, and emptied they are taken again.
TEST_F(ReturnInfoTest, AnswersTakenFromTheFederalReturnAreTheUsersOnceTaken) {
  text(kFormID_Fed32783, PAReturnInfoAlt::kStateCode, "PA");
  text(kFormID_Fed32783, PAReturnInfoAlt::kCountyGivenBox, "X");
  text(kFormID_Fed32783, PAReturnInfoAlt::kCounty, "Adams");
  filerText(FedFilerInfo::kResidencyState.at(0), "PA");
  filerText(FedFilerInfo::kResidencyTaxpayerStatus.at(0), "Part-year resident");
  filerYes(FedFilerInfo::kTaxpayerDriversLicenseBox);
  filerText(FedFilerInfo::kTaxpayerIdNumber, "D1234567");
  run();
  ASSERT_TRUE(marked(PAReturnInfo::kPartYearResidentBox));
  ASSERT_TRUE(marked(PAReturnInfo::kTaxpayerDriversLicenseBox));
  ASSERT_EQ(infoText(PAReturnInfo::kTaxpayerIDNumber), "D1234567");
  ASSERT_EQ(infoText(PAReturnInfo::kCounty), "");  // a part-year resident who left: none
  markInfo(PAReturnInfo::kFullYearResidentBox);
  put(kFormID_PAReturnInfo, PAReturnInfo::kPartYearResidentBox, FieldValue());
  run();
  ASSERT_EQ(infoText(PAReturnInfo::kCounty), "Adams");
  text(kFormID_Fed32783, PAReturnInfoAlt::kCounty, "Berks");
  run();
  EXPECT_EQ(infoText(PAReturnInfo::kCounty), "Adams");
  put(kFormID_PAReturnInfo, PAReturnInfo::kCounty, FieldValue());
  run();
  EXPECT_EQ(infoText(PAReturnInfo::kCounty), "Berks");
  markInfo(PAReturnInfo::kPartYearResidentBox);
  put(kFormID_PAReturnInfo, PAReturnInfo::kFullYearResidentBox, FieldValue());

  filerText(FedFilerInfo::kResidencyTaxpayerStatus.at(0), "Full-year resident");
  put(kFormID_FedFilerInfo, FedFilerInfo::kTaxpayerDriversLicenseBox, FieldValue());
  filerYes(FedFilerInfo::kTaxpayerStateIdBox);
  filerText(FedFilerInfo::kTaxpayerIdNumber, "S7654321");
  run();
  EXPECT_TRUE(marked(PAReturnInfo::kPartYearResidentBox));
  EXPECT_FALSE(marked(PAReturnInfo::kFullYearResidentBox));
  EXPECT_TRUE(marked(PAReturnInfo::kTaxpayerDriversLicenseBox));
  EXPECT_EQ(infoText(PAReturnInfo::kTaxpayerIDNumber), "D1234567");

  for (const FieldId* emptied :
       {&PAReturnInfo::kPartYearResidentBox.id(), &PAReturnInfo::kTaxpayerDriversLicenseBox.id(),
        &PAReturnInfo::kTaxpayerStateIDBox.id(), &PAReturnInfo::kTaxpayerIDNumber.id()}) {
    put(kFormID_PAReturnInfo, *emptied, FieldValue());
  }
  run();
  EXPECT_TRUE(marked(PAReturnInfo::kFullYearResidentBox));
  EXPECT_TRUE(marked(PAReturnInfo::kTaxpayerStateIDBox));
  EXPECT_EQ(infoText(PAReturnInfo::kTaxpayerIDNumber), "S7654321");
}

// The PA status follows the federal one (4 with the spouse-number answer:
// separate); a federal joint return opens its two answers.
TEST_F(FilingStatusTest, FilingStatusFollowsTheFederalStatus) {
  const struct {
    long fedStatus;
    bool spouseNumber;
    const FieldId* box;
  } kCases[] = {
      {4, true, &PAReturnInfo::kSeparateBox.id()},
      {4, false, &PAReturnInfo::kSingleBox.id()},
      {2, false, &PAReturnInfo::kJointBox.id()},
      {0, false, &PAReturnInfo::kSingleBox.id()},
      {9, false, &PAReturnInfo::kSingleBox.id()},
      {10, false, nullptr},
      {-1, false, nullptr},
  };
  for (const auto& c : kCases) {
    restart();
    setFederalStatus(c.fedStatus);
    if (c.spouseNumber) {
      filerYes(FedFilerInfo::kSpouseAnswerBox);
      markInfo(PAReturnInfo::kSpouseNumberYesBox);
    }
    markInfo(PAReturnInfo::kSingleBox);  // a status entered before is replaced
    run();
    expectStatus(c.box, std::to_string(c.fedStatus));
    const bool joint = c.fedStatus == 2;
    for (const FieldId* answer :
         {&PAReturnInfo::kDifferentResidencyYesBox.id(), &PAReturnInfo::kDifferentResidencyNoBox.id(),
          &PAReturnInfo::kJointSecondAnswerYesBox.id(), &PAReturnInfo::kJointSecondAnswerNoBox.id()}) {
      EXPECT_EQ(isProtected(*answer), !joint) << c.fedStatus;
    }
    EXPECT_EQ(marked(PAReturnInfo::kJointSecondAnswerNoBox), joint) << c.fedStatus;
  }
}

// A death dated 2018 or 2019 marks the year box and opens the spouse-number
// answer; an earlier one (or a text that is no date) closes it and, with a
// married status on federal form 92, makes the return single. No date
// clears the deceased box.
TEST_F(FilingStatusTest, DateOfDeathDecidesTheYearBoxAndSingleFiling) {
  const struct {
    const char* died;
    bool married;
    bool yearBox;
    const FieldId& status;
  } kCases[] = {
      {"03/15/2017", true, false, PAReturnInfo::kSingleBox},
      {"03/15/2017", false, false, PAReturnInfo::kJointBox},
      {"03/15/2018", true, true, PAReturnInfo::kJointBox},
      {"01/10/2019", true, true, PAReturnInfo::kJointBox},
      {"VARIOUS", true, false, PAReturnInfo::kSingleBox},
      {"", true, false, PAReturnInfo::kJointBox},
  };
  for (const auto& c : kCases) {
    restart();
    setFederalStatus(2);
    markInfo(PAReturnInfo::kTaxpayerDeceasedBox);
    textInfo(PAReturnInfo::kTaxpayerDateOfDeath, "01/01/2018");
    filerText(FedFilerInfo::kTaxpayerDeathDate, c.died);
    if (c.married) filerYes(FedFilerInfo::kMarriedFilingJointlyBox);
    filerYes(FedFilerInfo::kSpouseAnswerBox);
    run();
    const bool died = c.died[0] != '\0';
    EXPECT_EQ(marked(PAReturnInfo::kTaxpayerDeceasedBox), died) << c.died;
    EXPECT_EQ(infoText(PAReturnInfo::kTaxpayerDateOfDeath), c.died);
    EXPECT_EQ(marked(PAReturnInfo::kTaxpayerDiedInYearBox), c.yearBox) << c.died;
    EXPECT_EQ(isProtected(PAReturnInfo::kSpouseNumberNoBox), died && !c.yearBox) << c.died;
    expectStatus(&c.status, c.died);
  }
}

// The prior-year credit and estimated payments boxes: marked and closed by
// the calculation that finds the amounts above 0; once an amount is 0 the
// calculation's mark goes (a fresh load of the return holds none), while a
// mark the user made on the open box stays.
TEST_F(ReturnInfoTest, PaymentBoxesFollowTheirAmounts) {
  const struct {
    const FieldId& amountRow;
    const FieldId& stateRow;
    const FieldId& box;
  } kCases[] = {
      {Fed190::kTotalRowAmount.at(0), Fed190::kTotalRowState.at(0), PAReturnInfo::kPriorYearCreditBox},
      {Fed190::kWithholdingRowAmount.at(0), Fed190::kWithholdingRowState.at(0),
       PAReturnInfo::kEstimatedPaymentsBox},
  };
  for (const auto& c : kCases) {
    restart();
    number(kFormID_Fed190, Fed190::kWithholdingRowKey.at(0), 415);
    number(kFormID_Fed190, c.amountRow, 300);
    text(kFormID_Fed190, c.stateRow, "PA");
    run();
    EXPECT_TRUE(marked(c.box)) << c.box.getNumber();
    EXPECT_TRUE(isProtected(c.box)) << c.box.getNumber();

    number(kFormID_Fed190, c.amountRow, 0);
    run();
    EXPECT_TRUE(isNull(c.box)) << c.box.getNumber();
    EXPECT_FALSE(isProtected(c.box)) << c.box.getNumber();

    markInfo(c.box);
    run();
    EXPECT_TRUE(marked(c.box)) << c.box.getNumber();
  }
}

}  // namespace
