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
  std::vector<std::string> references(int rows) {
    std::vector<std::string> list;
    for (int row = 1; row <= rows; ++row) list.push_back(referenceText(row));
    return list;
  }
};

// 1099-MISC copies (code 2 needs no amount, code 1 a positive one, through
// either amount; whole texts only), then 1099-R, then the form-57 kinds
// read from copy 1.
TEST_F(MiscCompSourcesTest, RowsFollowTheSourceOrder) {
  miscCopy(1, 0, "2");
  miscCopy(2, 0, "1");
  miscCopy(3, 5, "1");
  miscCopy(4, 0, "1", 5, "1");
  miscCopy(5, 5, "3", 5, "");
  miscCopy(6, 5, " 1");
  rCopy(1, 100, "7");
  number(kFormID_Fed57, Fed57::kJuryDutyPay, 40);
  number(kFormID_Fed57, Fed57::kFiduciaryFees, 60);
  number(kFormID_Fed57, Fed57::kJuryDutyPay, 99, 2);
  EXPECT_EQ(addAllSources(), 6);
  EXPECT_EQ(references(7), (std::vector<std::string>{"110/1", "110/3", "110/4", "84/1", "57/1", "57/2", ""}));
}

TEST_F(MiscCompSourcesTest, TwentyRowsPerWorksheetCopy) {
  for (uint16_t c = 1; c <= 41; ++c) rCopy(c, 1, "7");
  EXPECT_EQ(addAllSources(), 41);
  EXPECT_EQ(referenceText(20, 1), "84/20");
  EXPECT_EQ(referenceText(1, 2), "84/21");
  EXPECT_EQ(referenceText(20, 2), "84/40");
  EXPECT_EQ(referenceText(1, 3), "84/41");
}

TEST_F(MiscCompSourcesTest, SpouseCopiesOnlyOnAJointReturn) {
  for (bool joint : {false, true}) {
    engine.reset();
    SetUp();
    if (joint) setJoint();
    miscCopy(1, 0, "2");
    mark(kFormID_Fed1099Misc, Fed1099Misc::kSpouseBox, 1);
    rCopy(1, 10, "7");
    mark(kFormID_Fed1099R, Fed1099R::kSpouseBox, 1);
    rCopy(2, 10, "7");
    addAllSources();
    const std::vector<std::string> expected =
        joint ? std::vector<std::string>{"110/1", "84/1", "84/2"} : std::vector<std::string>{"84/2", "", ""};
    EXPECT_EQ(references(3), expected);
  }
}

TEST_F(MiscCompSourcesTest, NothingQualifiesLeavesReferencesEmpty) {
  miscCopy(1, 0, "1");
  number(kFormID_Fed57, Fed57::kJuryDutyPay, 40, 2);  // form 57 is read at copy 1 only
  EXPECT_EQ(addAllSources(), 0);
  EXPECT_EQ(references(20), std::vector<std::string>(20));
  EXPECT_FALSE(pa->formExists(kFormID_PAMiscCompWorksheet, 2));
}

}  // namespace
