// Source rows of the miscellaneous-compensation worksheet: which federal
// copies get a row, in which order, and where row n lands.
#include <string>
#include <vector>

#include "calc/pa/tests/misc_comp_fixture.h"

namespace {

class MiscCompSourcesTest : public MiscCompTest {
 protected:
  // The driver's sequence: one counter for all four calls.
  int addAllSources() {
    int counter = 0;
    engine->addMiscCompSourceRows(kFormID_Fed1099Misc, &counter, 0);
    engine->addMiscCompSourceRows(kFormID_Fed1099R, &counter, 0);
    engine->addMiscCompSourceRows(kFormID_Fed57, &counter, 1);
    engine->addMiscCompSourceRows(kFormID_Fed57, &counter, 2);
    return counter;
  }
  std::vector<std::string> references(uint16_t copy = 1) {
    std::vector<std::string> list;
    for (int row = 1; row <= 20; ++row) list.push_back(referenceText(row, copy));
    return list;
  }
};

TEST_F(MiscCompSourcesTest, RowsFollowTheSourceOrder) {
  for (uint16_t c = 1; c <= 3; ++c) miscCopy(c, 10, "1");
  rCopy(1, 100, "7");
  rCopy(2, 100, "1");
  number(kFormID_Fed57, fed57(90), 250);
  EXPECT_EQ(addAllSources(), 6);
  const std::vector<std::string> expected = {"110/1", "110/2", "110/3", "84/1", "84/2", "57/1"};
  const std::vector<std::string> got = references();
  EXPECT_EQ(std::vector<std::string>(got.begin(), got.begin() + 6), expected);
  EXPECT_EQ(got[6], "");
}

TEST_F(MiscCompSourcesTest, TwentyRowsPerWorksheetCopy) {
  for (uint16_t c = 1; c <= 41; ++c) rCopy(c, 1, "7");
  EXPECT_EQ(addAllSources(), 41);
  EXPECT_EQ(referenceText(20, 1), "84/20");
  EXPECT_EQ(referenceText(1, 2), "84/21");
  EXPECT_EQ(referenceText(20, 2), "84/40");
  EXPECT_EQ(referenceText(1, 3), "84/41");
  EXPECT_EQ(referenceText(2, 3), "");
}

TEST_F(MiscCompSourcesTest, MiscCandidates) {
  struct Case {
    double amount17;
    const char* code18;
    double amount32;
    const char* code33;
    bool row;
  } cases[] = {
      {0, "2", 0, "", true},     // code 2 needs no amount
      {0, "1", 0, "", false},    // code 1 needs a positive amount
      {5, "1", 0, "", true},
      {0, "1", 5, "1", true},    // through fields 32 and 33
      {0, "1", 0, "2", true},
      {0, "1", 5, "3", false},
      {5, "3", 5, "", false},
      {5, " 1", 0, "", false},   // whole text only
  };
  int copy = 0;
  for (const Case& c : cases) miscCopy(++copy, c.amount17, c.code18, c.amount32, c.code33);
  addAllSources();
  std::vector<std::string> expected;
  copy = 0;
  for (const Case& c : cases) {
    ++copy;
    if (c.row) expected.push_back("110/" + std::to_string(copy));
  }
  expected.resize(20);
  EXPECT_EQ(references(), expected);
}

class MiscCompSpouseTest : public MiscCompSourcesTest, public ::testing::WithParamInterface<int> {};

TEST_P(MiscCompSpouseTest, SpouseCopiesOnlyOnAJointReturn) {
  const int status = GetParam();
  setFilingStatus(status);
  miscCopy(1, 0, "2");
  mark(kFormID_Fed1099Misc, misc(2), 1);
  rCopy(1, 10, "7");
  mark(kFormID_Fed1099R, r(2), 1);
  rCopy(2, 10, "7");
  mark(kFormID_Fed1099R, r(1), 2);
  addAllSources();
  if (status == 2) {
    EXPECT_EQ(referenceText(1), "110/1");
    EXPECT_EQ(referenceText(2), "84/1");
    EXPECT_EQ(referenceText(3), "84/2");
  } else {
    EXPECT_EQ(referenceText(1), "84/2");
    EXPECT_EQ(referenceText(2), "");
  }
}

INSTANTIATE_TEST_SUITE_P(FilingStatus, MiscCompSpouseTest, ::testing::Values(1, 2, 3));

TEST_F(MiscCompSourcesTest, Form57KindsComeLastFromCopyOne) {
  number(kFormID_Fed57, fed57(90), 40);
  number(kFormID_Fed57, fed57(91), 60);
  number(kFormID_Fed57, fed57(90), 99, 2);  // only copy 1 is read
  rCopy(1, 10, "7");
  EXPECT_EQ(addAllSources(), 3);
  EXPECT_EQ(referenceText(1), "84/1");
  EXPECT_EQ(referenceText(2), "57/1");
  EXPECT_EQ(referenceText(3), "57/2");
  EXPECT_EQ(referenceText(4), "");
}

TEST_F(MiscCompSourcesTest, Form57WithoutCopyOneGivesNoRow) {
  number(kFormID_Fed57, fed57(90), 40, 2);
  EXPECT_EQ(addAllSources(), 0);
}

TEST_F(MiscCompSourcesTest, NothingQualifiesLeavesReferencesEmpty) {
  reference(1, "");
  miscCopy(1, 0, "1");
  EXPECT_EQ(addAllSources(), 0);
  EXPECT_EQ(references(), std::vector<std::string>(20));
  EXPECT_FALSE(pa->formExists(kFormID_PAMiscCompWorksheet, 2));
}

}  // namespace
