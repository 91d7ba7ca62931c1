// PA Schedule J: owner codes, and a return that stops being joint (the
// golden returns hold the joint split and the person totals).
#include <string>

#include "calc/pa/tests/pa40_fixture.h"

namespace {

class ScheduleJTest : public PA40Test {
 protected:
  // Row r (0-9) of copy 1; an empty name leaves the name field unset.
  void row(int r, const std::string& name, const std::string& owner, double amount) {
    if (!name.empty()) text(kFormID_PAScheduleJ, PAScheduleJ::kRowName.at(r), name);
    text(kFormID_PAScheduleJ, PAScheduleJ::kRowOwner.at(r), owner);
    number(kFormID_PAScheduleJ, PAScheduleJ::kRowIncome.at(r), amount);
  }
  double value(const FieldId& field) { return valueOf(kFormID_PAScheduleJ, field); }
  std::string owner(int r) { return textOf(kFormID_PAScheduleJ, PAScheduleJ::kRowOwner.at(r)); }
};

TEST_F(ScheduleJTest, NamedRowsHaveTheirOwnerCodeNormalised) {
  const struct {
    int status;
    const char *typed, *code;
  } kCases[] = {{PADataMgmt::kFilingJoint, "", "J"},
                {PADataMgmt::kFilingSingle, "S", "T"},
                {PADataMgmt::kFilingSeparate, "s", "T"}};
  for (const auto& c : kCases) {
    restart();
    setFilingStatus(c.status);
    row(0, "TRUST", c.typed, 100);
    compute(kFormID_PAScheduleJ);
    EXPECT_EQ(owner(0), c.code) << c.status << " '" << c.typed << "'";
  }
}

// The return becomes a single one: the named row turns the taxpayer's, an
// unnamed "S" row counts for nobody, and no spouse total stays behind.
TEST_F(ScheduleJTest, ASingleReturnHasNoSpouseTotal) {
  setFilingStatus(PADataMgmt::kFilingJoint);
  row(0, "ESTATE", "S", 30);
  number(kFormID_PAScheduleJ, PAScheduleJ::kTaxpayerFurtherIncome, 100);
  compute(kFormID_PAScheduleJ);
  EXPECT_EQ(value(PAScheduleJ::kSpouseTotal), 30);
  EXPECT_TRUE(isProtected(kFormID_PAScheduleJ, PAScheduleJ::kFurtherIncome));

  mark(kFormID_PAReturnInfo, PAReturnInfo::kSingleBox);
  put(kFormID_PAReturnInfo, PAReturnInfo::kJointBox, DataMgmt::FieldValue::null());
  row(1, "", "S", 9);
  number(kFormID_PAScheduleJ, PAScheduleJ::kFurtherIncome, 75);
  compute(kFormID_PAScheduleJ);
  EXPECT_EQ(owner(0), "T");
  EXPECT_EQ(value(PAScheduleJ::kTaxpayerTotal), 30 + 75);
  EXPECT_TRUE(isNull(kFormID_PAScheduleJ, PAScheduleJ::kSpouseTotal));
  EXPECT_TRUE(isProtected(kFormID_PAScheduleJ, PAScheduleJ::kTaxpayerFurtherIncome));
  EXPECT_EQ(value(PAScheduleJ::kTotalIncome), 30 + 9 + 75);
  EXPECT_TRUE(entered(kFormID_PAScheduleJ));
}

// Joint to single: the further amount the joint return summed from the
// persons' amounts goes with them; one typed on the single return stays.
TEST_F(ScheduleJTest, TheJointFurtherAmountGoesOnASingleReturn) {
  setFilingStatus(PADataMgmt::kFilingJoint);
  row(0, "ESTATE", "J", 6601);
  number(kFormID_PAScheduleJ, PAScheduleJ::kTaxpayerFurtherIncome, 300);
  number(kFormID_PAScheduleJ, PAScheduleJ::kSpouseFurtherIncome, 200);
  compute(kFormID_PAScheduleJ);
  ASSERT_EQ(value(PAScheduleJ::kTotalIncome), 7101);

  put(kFormID_PAReturnInfo, PAReturnInfo::kJointBox, DataMgmt::FieldValue::null());
  setFilingStatus(PADataMgmt::kFilingSingle);
  compute(kFormID_PAScheduleJ);
  EXPECT_TRUE(isNull(kFormID_PAScheduleJ, PAScheduleJ::kFurtherIncome));
  EXPECT_FALSE(isProtected(kFormID_PAScheduleJ, PAScheduleJ::kFurtherIncome));
  EXPECT_EQ(value(PAScheduleJ::kTotalIncome), 6601);

  number(kFormID_PAScheduleJ, PAScheduleJ::kFurtherIncome, 40);
  compute(kFormID_PAScheduleJ);
  EXPECT_EQ(value(PAScheduleJ::kTotalIncome), 6641);
}

// A named row's owner code, filled when empty, is the user's once filled:
// a return that turns joint keeps the rows the taxpayer's, and only an
// emptied code is filled again. A row emptied among several has none.
TEST_F(ScheduleJTest, OwnerCodesFilledStayTheUsersAndGoWithTheirRow) {
  setFilingStatus(PADataMgmt::kFilingSingle);
  for (int r = 0; r < 3; ++r) row(r, "TRUST " + std::to_string(r), "", 100);
  compute(kFormID_PAScheduleJ);
  ASSERT_EQ(owner(0), "T");
  put(kFormID_PAReturnInfo, PAReturnInfo::kSingleBox, DataMgmt::FieldValue::null());
  setFilingStatus(PADataMgmt::kFilingJoint);
  put(kFormID_PAScheduleJ, PAScheduleJ::kRowOwner.at(2), DataMgmt::FieldValue::null());
  put(kFormID_PAScheduleJ, PAScheduleJ::kRowName.at(1), DataMgmt::FieldValue::null());
  put(kFormID_PAScheduleJ, PAScheduleJ::kRowIncome.at(1), DataMgmt::FieldValue::null());
  compute(kFormID_PAScheduleJ);
  EXPECT_EQ(owner(0), "T");
  EXPECT_TRUE(isNull(kFormID_PAScheduleJ, PAScheduleJ::kRowOwner.at(1)));
  EXPECT_EQ(owner(2), "J");
}

}  // namespace
