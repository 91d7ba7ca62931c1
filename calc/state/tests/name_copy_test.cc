// copyNameText: name and number head fields from the information form.
#include <gtest/gtest.h>

#include <string>

#include "calc/state/tests/state_engine_fixture.h"

namespace {

class NameCopyTest : public StateEngineTest {
 protected:
  void SetUp() override {
    StateEngineTest::SetUp();
    useInformationFormLines();
    const char* parts[10] = {"john", "q", "smith", "", "ab-123-45-6789", "mary", "", "jones", "", "cd-987"};
    for (short code = 1; code <= 10; ++code) text(kFormID_PAReturnInfo, line(code), parts[code - 1]);
  }
  // Eight head fields of a Schedule E copy: name, number, second name and
  // second number of each person.
  const FieldId& head(int k) { return kPAScheduleEFieldIds[20 + k]; }
  std::string headText(int k) { return textOf(kFormID_PAScheduleE, head(k)); }
  void copy(uint16_t filingChoice, int upper, const FieldId& name1) {
    engine->copyNameText(holder(kFormID_PAScheduleE), kFormID_PAReturnInfo, filingChoice, 0, name1,
                         head(1), head(2), head(3), head(4), head(5), head(6), head(7),
                         Primitives::kNullFieldID, upper);
  }
};

TEST_F(NameCopyTest, JointChoicesFillBothPeople) {
  copy(2, 0, head(0));
  EXPECT_EQ(headText(0), "john q smith");
  EXPECT_EQ(headText(1), "ab-123-45-6");  // numbers are read at width 11
  EXPECT_EQ(headText(2), "john q smith");
  EXPECT_EQ(headText(3), "ab-123-45-6");
  EXPECT_EQ(headText(4), "mary jones");
  EXPECT_EQ(headText(5), "cd-987");
  EXPECT_EQ(headText(6), "mary jones");
  EXPECT_EQ(headText(7), "cd-987");
}

TEST_F(NameCopyTest, OtherChoicesNullTheSecondPerson) {
  copy(0, 0, head(0));
  copy(3, 0, head(0));
  EXPECT_EQ(headText(0), "john q smith");
  for (int k = 4; k < 8; ++k) EXPECT_TRUE(pa->isNull(kFormID_PAScheduleE, 1, head(k))) << k;
}

TEST_F(NameCopyTest, WithoutAFirstNameFieldTheSecondGetsTheTextItself) {
  copy(1, 0, Primitives::kNullFieldID);
  EXPECT_TRUE(pa->isNull(kFormID_PAScheduleE, 1, head(0)));
  EXPECT_EQ(headText(2), "john q smith");
}

TEST_F(NameCopyTest, UpperCaseFlagChangesNamesNotNumbers) {
  copy(2, 1, head(0));
  EXPECT_EQ(headText(0), "JOHN Q SMITH");
  EXPECT_EQ(headText(4), "MARY JONES");
  EXPECT_EQ(headText(1), "ab-123-45-6");
  EXPECT_EQ(headText(5), "cd-987");
}

}  // namespace
