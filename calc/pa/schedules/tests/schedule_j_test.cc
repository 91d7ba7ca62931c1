// PA Schedule J: owner codes, the per-person totals with the joint split,
// the further amount and the copy's total.
#include <string>

#include "calc/pa/tests/pa40_fixture.h"
#include "host/rounding.h"

namespace {

class ScheduleJTest : public PA40Test {
 protected:
  // Row r (0-9) of `copy`; an empty name leaves the name field unset.
  void row(int r, const std::string& name, const std::string& owner, double amount, uint16_t copy = 1) {
    if (!name.empty()) text(kFormID_PAScheduleJ, PAScheduleJ::kRowName.at(r), name, copy);
    text(kFormID_PAScheduleJ, PAScheduleJ::kRowOwner.at(r), owner, copy);
    number(kFormID_PAScheduleJ, PAScheduleJ::kRowIncome.at(r), amount, copy);
  }
  void runJ(uint16_t copy = 1) { engine->computeScheduleJ(holder(kFormID_PAScheduleJ, copy), copy, 1); }
  double value(const FieldId& field) { return pa->getIR(kFormID_PAScheduleJ, 1, field); }
  std::string owner(int r) {
    return pa->getFieldAsString(kFormID_PAScheduleJ, 1, PAScheduleJ::kRowOwner.at(r));
  }
  bool entered(uint16_t copy = 1) {
    const DataMgmt::TaxForm* f = pa->getForm(kFormID_PAScheduleJ, copy);
    return f != nullptr && f->isDataEntered() && f->getCalcMark();
  }
};

TEST_F(ScheduleJTest, NamedRowsHaveTheirOwnerCodeNormalised) {
  const struct {
    int status;
    const char *typed, *code;
  } kCases[] = {
      {PADataMgmt::kFilingJoint, "j", "J"},  {PADataMgmt::kFilingJoint, "  s ", "S"},
      {PADataMgmt::kFilingJoint, "", "J"},   {PADataMgmt::kFilingJoint, "x", "J"},
      {PADataMgmt::kFilingSingle, "S", "T"}, {PADataMgmt::kFilingSeparate, "s", "T"}
  };
  for (const auto& c : kCases) {
    restart();
    setFilingStatus(c.status);
    row(0, "TRUST", c.typed, 100);
    runJ();
    EXPECT_EQ(owner(0), c.code) << c.status << " '" << c.typed << "'";
  }
}

// A joint row is split, the taxpayer's half rounded and the spouse taking
// the rest; an unnamed row keeps its code and counts only when the code is
// exact, but the copy's total takes every row.
TEST_F(ScheduleJTest, PersonTotalsOfAJointReturn) {
  setFilingStatus(PADataMgmt::kFilingJoint);
  row(0, "ESTATE", "j", 1001);
  row(1, "TRUST A", "T", 40);
  row(9, "TRUST B", "S", 7);
  row(2, "", "s", 60);
  row(3, "", "S", 25);
  number(kFormID_PAScheduleJ, PAScheduleJ::kTaxpayerFurtherIncome, 100);
  number(kFormID_PAScheduleJ, PAScheduleJ::kSpouseFurtherIncome, 50);
  runJ();
  const long half = Utils::roundR(0.5 * 1001);
  EXPECT_EQ(owner(2), "s");
  EXPECT_EQ(value(PAScheduleJ::kTaxpayerTotal), half + 40 + 100);
  EXPECT_EQ(value(PAScheduleJ::kSpouseTotal), 1001 - half + 7 + 25 + 50);
  EXPECT_EQ(value(PAScheduleJ::kFurtherIncome), 150);
  EXPECT_TRUE(copyOf(kFormID_PAScheduleJ).isProtected(PAScheduleJ::kFurtherIncome));
  EXPECT_EQ(value(PAScheduleJ::kTotalIncome), 1001 + 40 + 7 + 60 + 25 + 150);
  EXPECT_TRUE(entered());
}

TEST_F(ScheduleJTest, ASingleReturnHasNoSpouseTotal) {
  setFilingStatus(PADataMgmt::kFilingJoint);
  row(0, "ESTATE", "S", 30);
  runJ();
  EXPECT_EQ(value(PAScheduleJ::kSpouseTotal), 30);

  // The return becomes a single one: the named row turns the taxpayer's,
  // an unnamed "S" row counts for nobody, and no spouse total stays behind.
  mark(kFormID_PAReturnInfo, PAReturnInfo::kSingleBox);
  put(kFormID_PAReturnInfo, PAReturnInfo::kJointBox, DataMgmt::FieldValue::null());
  row(1, "", "S", 9);
  number(kFormID_PAScheduleJ, PAScheduleJ::kFurtherIncome, 75);
  runJ();
  EXPECT_EQ(owner(0), "T");
  EXPECT_EQ(value(PAScheduleJ::kTaxpayerTotal), 30 + 75);
  EXPECT_TRUE(pa->isNull(kFormID_PAScheduleJ, 1, PAScheduleJ::kSpouseTotal));
  EXPECT_TRUE(copyOf(kFormID_PAScheduleJ).isProtected(PAScheduleJ::kTaxpayerFurtherIncome));
  EXPECT_EQ(value(PAScheduleJ::kTotalIncome), 30 + 9 + 75);
}

}  // namespace
