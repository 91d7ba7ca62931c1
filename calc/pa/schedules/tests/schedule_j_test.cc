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

}  // namespace
