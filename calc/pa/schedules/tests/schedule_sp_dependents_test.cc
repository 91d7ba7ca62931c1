// Schedule SP Part B: which federal dependents count as children, the rows
// they fill and the count the forgiveness bounds use.
#include <gtest/gtest.h>

#include "calc/pa/schedules/tests/schedule_sp_fixture.h"

namespace {

// Part B rows: name, age, relationship and number fields.
const int kRows[4][4] = {{33, 34, 35, 36}, {38, 39, 40, 41}, {43, 44, 45, 46}, {48, 49, 50, 51}};

class ScheduleSPDependentsTest : public ScheduleSPTest {
 protected:
  // An unmarried filer, so Part B is kept.
  void SetUp() override {
    ScheduleSPTest::SetUp();
    unmarried();
  }
  void unmarried() {
    setFilingStatus(1);
    setFederalStatus(1);
  }
  void expectRowNull(int row) {
    for (int field : kRows[row]) EXPECT_TRUE(isNull(field)) << "row " << row + 1 << " field " << field;
  }
};

TEST_F(ScheduleSPDependentsTest, WhichRelationshipsCount) {
  const struct {
    const char* relationship;
    bool included;
    bool counts;
  } kCases[] = {
      {"son", true, true},          {"Great Grandchild", true, true}, {"FOSTERCHILD", true, true},
      {"SON ", true, false},        {"NEPHEW", true, false},          {"", true, false},
      {"DAUGHTER", false, false},
  };
  for (const auto& c : kCases) {
    restart();
    addDependent(1, "Kim", c.relationship, c.included);
    run();
    if (c.counts) {
      EXPECT_EQ(amount(53), 1) << c.relationship;
      EXPECT_EQ(textOf(33), "Kim Doe") << c.relationship;
    } else {
      EXPECT_TRUE(isNull(53)) << c.relationship;
      expectRowNull(0);
    }
  }
}

TEST_F(ScheduleSPDependentsTest, ThreeChildrenAmongFiveDependents) {
  addDependent(1, "Ann", "DAUGHTER", true, 4, "111-11-1111");
  addDependent(2, "Bob", "SON", false);
  addDependent(3, "Cal", "STEPCHILD", true, 9, "333-33-3333");
  addDependent(4, "Dee", "MOTHER", true);
  addDependent(5, "Eve", "GRANDCHILD", true, 2, "555-55-5555");
  text(kFormID_PAScheduleSP, sp(48), "Old row");
  run();
  EXPECT_EQ(amount(53), 3);
  EXPECT_EQ(textOf(33), "Ann Doe");
  EXPECT_EQ(amount(34), 4);
  EXPECT_EQ(textOf(35), "DAUGHTER");
  EXPECT_EQ(textOf(36), "111-11-1111");
  EXPECT_EQ(textOf(38), "Cal Doe");
  EXPECT_EQ(textOf(43), "Eve Doe");
  EXPECT_EQ(textOf(46), "555-55-5555");
  expectRowNull(3);
}

TEST_F(ScheduleSPDependentsTest, FiveChildrenAreListedOnAnAttachment) {
  for (uint16_t copy = 1; copy <= 5; ++copy) addDependent(copy, "Kid", "SON", true);
  setPA40(54000, 500, 0);
  run();
  EXPECT_EQ(amount(53), 5);
  EXPECT_EQ(textOf(33), "See attached schedule");
  for (const auto& row : kRows) {
    for (int field : row) {
      if (field != 33) {
        EXPECT_TRUE(isNull(field)) << field;
      }
    }
  }
  EXPECT_EQ(amount(9605), 100);  // 54,000 is below the five-child bound 54,001
}

TEST_F(ScheduleSPDependentsTest, NoChildNullsPartB) {
  addDependent(1, "Kim", "SON", true);
  run();
  ASSERT_EQ(amount(53), 1);
  restart();
  for (int row = 0; row < 4; ++row) text(kFormID_PAScheduleSP, sp(kRows[row][0]), "Old");
  enter(53, 2);
  run();
  EXPECT_TRUE(isNull(53));
  for (int row = 0; row < 4; ++row) expectRowNull(row);
}

// Copies numbered with gaps: each row shows the copy it lists.
TEST_F(ScheduleSPDependentsTest, GapsInTheFederalCopies) {
  addDependent(2, "Ann", "DAUGHTER", true, 4);
  addDependent(4, "Bob", "SON", true, 7);
  run();
  EXPECT_EQ(amount(53), 2);
  EXPECT_EQ(textOf(33), "Ann Doe");
  EXPECT_EQ(amount(34), 4);
  EXPECT_EQ(textOf(38), "Bob Doe");
  EXPECT_EQ(amount(39), 7);
  expectRowNull(2);
}

}  // namespace
