// PA Schedule J on fixture returns: owner codes, the per-person totals with
// the joint split, the further amount and the copy's total. Rows are named
// by host field number, so the row stride is checked independently of the
// code.
#include <string>

#include "calc/pa/tests/pa40_fixture.h"
#include "host/rounding.h"

namespace {

class ScheduleJTest : public PA40Test {
 protected:
  void SetUp() override {
    PA40Test::SetUp();
    useInformationFormLines();
  }

  static const FieldId& sj(int hostField) { return kPAScheduleJFieldIds.byNumber(hostField); }

  // Host fields of row r (1-10): name, owner code, amount.
  struct RowFields {
    int name;
    int owner;
    int amount;
  };
  static RowFields rowFields(int r) {
    static const RowFields kRows[] = {
        {12, 13, 15}, {16, 17, 19}, {20, 21, 23},          {24, 25, 27},          {28, 29, 31},
        {32, 33, 35}, {36, 37, 39}, {11775, 11776, 11778}, {11779, 11780, 11782}, {11783, 11784, 11786},
    };
    return kRows[r - 1];
  }

  // Row r of `copy`; an empty name leaves the name field unset.
  void row(int r, const std::string& name, const std::string& owner, double amount, uint16_t copy = 1) {
    const RowFields f = rowFields(r);
    if (!name.empty()) text(kFormID_PAScheduleJ, sj(f.name), name, copy);
    text(kFormID_PAScheduleJ, sj(f.owner), owner, copy);
    number(kFormID_PAScheduleJ, sj(f.amount), amount, copy);
  }
  void run(uint16_t copy = 1) { engine->computeScheduleJ(holder(kFormID_PAScheduleJ, copy), copy, 1); }

  double value(int hostField, uint16_t copy = 1) {
    return pa->getIR(kFormID_PAScheduleJ, copy, sj(hostField));
  }
  bool isNull(int hostField, uint16_t copy = 1) {
    return pa->isNull(kFormID_PAScheduleJ, copy, sj(hostField));
  }
  std::string owner(int r, uint16_t copy = 1) {
    return pa->getFieldAsString(kFormID_PAScheduleJ, copy, sj(rowFields(r).owner));
  }
  double taxpayerTotal() { return value(36894); }
  double spouseTotal() { return value(36895); }
  double total() { return value(42); }
  bool entered(uint16_t copy = 1) {
    const DataMgmt::TaxForm* f = pa->getForm(kFormID_PAScheduleJ, copy);
    return f != nullptr && f->isDataEntered() && f->getCalcMark();
  }
};

// A named row's owner text, as typed, and the code it becomes.
struct OwnerCase {
  int status;
  const char* typed;
  const char* code;
};

const OwnerCase kOwnerCases[] = {
    {2, "j", "J"},      {2, "  s ", "S"}, {2, "T", "T"}, {2, "", "J"},  {2, "x", "J"},
    {2, "spouse", "S"}, {1, "S", "T"},    {1, "J", "T"}, {3, "s", "T"}, {1, "", "T"},
};

TEST_F(ScheduleJTest, NamedRowsHaveTheirOwnerCodeNormalised) {
  for (const OwnerCase& c : kOwnerCases) {
    restart();
    setFilingStatus(c.status);
    row(1, "TRUST", c.typed, 100);
    run();
    EXPECT_EQ(owner(1), c.code) << c.status << " '" << c.typed << "'";
    EXPECT_EQ(total(), 100) << c.typed;
  }
}

TEST_F(ScheduleJTest, JointRowsAreSplitWithTheSpouseTakingTheRest) {
  setFilingStatus(2);
  row(1, "ESTATE", "j", 1001);
  row(2, "TRUST A", "T", 40);
  row(10, "TRUST B", "S", 7);
  run();
  const long half = Utils::roundR(500.5);
  EXPECT_EQ(taxpayerTotal(), half + 40);
  EXPECT_EQ(spouseTotal(), 1001 - half + 7);
  EXPECT_EQ(taxpayerTotal() + spouseTotal(), total());
  EXPECT_TRUE(entered());
}

TEST_F(ScheduleJTest, UnnamedRowsCountOnlyInTheTotalUnlessTheirCodeIsExact) {
  setFilingStatus(2);
  row(3, "", "s", 60);  // not normalised, not exactly "S"
  row(4, "", "S", 25);  // exactly "S"
  run();
  EXPECT_EQ(owner(3), "s");
  EXPECT_EQ(taxpayerTotal(), 0);
  EXPECT_EQ(spouseTotal(), 25);
  EXPECT_EQ(total(), 85);
}

TEST_F(ScheduleJTest, SingleReturnIgnoresAnUnnamedSpouseRowAndHasNoSpouseTotal) {
  setFilingStatus(2);
  row(1, "ESTATE", "S", 30);
  run();
  EXPECT_EQ(spouseTotal(), 30);

  // The return becomes a single one: the named row turns the taxpayer's,
  // an unnamed "S" row counts for nobody, and no spouse total stays behind.
  mark(kFormID_PAReturnInfo, info(55));
  put(kFormID_PAReturnInfo, info(57), DataMgmt::FieldValue::null());
  row(2, "", "S", 9);
  run();
  EXPECT_EQ(owner(1), "T");
  EXPECT_EQ(taxpayerTotal(), 30);
  EXPECT_TRUE(isNull(36895));
  EXPECT_EQ(total(), 39);
}

TEST_F(ScheduleJTest, FurtherAmountsOfAJointReturn) {
  setFilingStatus(2);
  number(kFormID_PAScheduleJ, sj(38498), 100);
  number(kFormID_PAScheduleJ, sj(38499), 50);
  row(1, "TRUST", "T", 10);
  run();
  EXPECT_EQ(value(9681), 150);
  EXPECT_TRUE(copyOf(kFormID_PAScheduleJ).isProtected(sj(9681)));
  EXPECT_FALSE(copyOf(kFormID_PAScheduleJ).isProtected(sj(38498)));
  EXPECT_EQ(taxpayerTotal(), 110);
  EXPECT_EQ(spouseTotal(), 50);
  EXPECT_EQ(total(), 160);
}

TEST_F(ScheduleJTest, FurtherAmountOfASingleReturn) {
  setFilingStatus(1);
  number(kFormID_PAScheduleJ, sj(38498), 100);
  number(kFormID_PAScheduleJ, sj(9681), 75);
  run();
  EXPECT_TRUE(isNull(38498));
  EXPECT_TRUE(copyOf(kFormID_PAScheduleJ).isProtected(sj(38498)));
  EXPECT_FALSE(copyOf(kFormID_PAScheduleJ).isProtected(sj(9681)));
  EXPECT_EQ(taxpayerTotal(), 75);
  EXPECT_EQ(total(), 75);
}

TEST_F(ScheduleJTest, EmptyScheduleIsNotEntered) {
  run();
  EXPECT_EQ(total(), 0);
  EXPECT_FALSE(entered());
  EXPECT_TRUE(pa->formNo(kFormID_PAScheduleJ, 1, sj(43)));

  number(kFormID_PAScheduleJ, sj(1), 1, 2);  // field 1 of another copy
  run();
  EXPECT_TRUE(entered());
}

TEST_F(ScheduleJTest, FederalFormBoxFollowsTheSameCopyOfFederalForm89) {
  copyOf(kFormID_Fed89, 2);
  run(1);
  run(2);
  EXPECT_TRUE(pa->formNo(kFormID_PAScheduleJ, 1, sj(43)));
  EXPECT_TRUE(pa->formYes(kFormID_PAScheduleJ, 2, sj(43)));
  EXPECT_TRUE(pa->formYes(kFormID_PAScheduleJ, 1, sj(44)));
}

}  // namespace
