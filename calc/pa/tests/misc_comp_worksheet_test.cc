// The miscellaneous-compensation worksheet: rows filled from Form 1099-MISC,
// Form 1099-R and form-57 sources, the user's open columns, the person
// totals and the count of rows in need of attention.
#include <string>

#include "calc/pa/tests/misc_comp_fixture.h"

namespace {

enum { kOwner, kLetter, kPayer, kDistCode, kAmount, kReduction, kPAAmount, kWithheld };

class MiscCompWorksheetTest : public MiscCompTest {};

TEST_F(MiscCompWorksheetTest, EmptyFirstReferenceClosesEveryRow) {
  typeCell(1, kOwner, "T");
  typeAmount(7, kAmount, 500);
  typeAmount(20, kWithheld, 12);
  calculate();
  for (int row = 1; row <= 20; ++row) {
    for (int column = 0; column < 8; ++column) {
      EXPECT_TRUE(cellNull(row, column) && cellProtected(row, column)) << row << "/" << column;
    }
  }
  EXPECT_EQ(amount(79802), 0);
  EXPECT_EQ(amount(17531), 0);
  EXPECT_EQ(amount(139390), 0);
  EXPECT_FALSE(sheet().isDataEntered());
}

TEST_F(MiscCompWorksheetTest, ReferencesThatNameNothingLeaveTheRowAlone) {
  miscCopy(1, 10, "1");
  // Numbers beyond an int name nothing, however their low bits read.
  const char* bad[] = {"abc", "110", "0/1", "999/1", "110/0", "57/3", "4294967406/1", "110/4294967297"};
  int row = 0;
  for (const char* text : bad) {
    reference(++row, text);
    typeCell(row, kPayer, "kept");
  }
  calculate();
  for (row = 1; row <= 8; ++row) EXPECT_EQ(cellText(row, kPayer), "kept") << bad[row - 1];
  EXPECT_TRUE(cellProtected(9, kOwner));  // the walk ends at the first empty reference
}

TEST_F(MiscCompWorksheetTest, MiscAmountsCountOnlyWithCodeOneOrTwo) {
  miscCopy(1, 123.45, "2");
  miscCopy(2, 123.45, "3");
  miscCopy(3, 0, "", 50, "1");
  mark(kFormID_Fed1099Misc, misc(1), 1);
  text(kFormID_Fed1099Misc, misc(5), "Acme", 1);
  reference(1, "110/1");
  reference(2, "110/2");
  reference(3, "110/3");
  typeCell(2, kLetter, "a");
  calculate();

  EXPECT_EQ(cellText(1, kOwner), "T");
  EXPECT_EQ(cellText(1, kPayer), "Acme");
  EXPECT_DOUBLE_EQ(cellAmount(1, kAmount), 123.45);
  EXPECT_EQ(cellText(1, kLetter), "H");
  EXPECT_TRUE(cellProtected(1, kLetter));
  EXPECT_DOUBLE_EQ(cellAmount(1, kPAAmount), 123.45);
  EXPECT_TRUE(cellProtected(1, kPAAmount));
  EXPECT_TRUE(cellNull(1, kReduction) && cellNull(1, kDistCode));

  EXPECT_EQ(cellAmount(2, kAmount), 0);
  EXPECT_EQ(cellText(2, kLetter), "A");  // the user's letter, upper-cased
  EXPECT_FALSE(cellProtected(2, kLetter));
  EXPECT_TRUE(cellNull(2, kPAAmount) && cellProtected(2, kPAAmount));

  EXPECT_EQ(cellText(3, kLetter), "H");
  EXPECT_DOUBLE_EQ(cellAmount(3, kAmount), 50);

  EXPECT_EQ(amount(79780), 2);  // H rows
  EXPECT_EQ(textOf(kFormID_PAMiscCompWorksheet, ws(95)), "nonemployee compensation");
  EXPECT_DOUBLE_EQ(amount(79802), 173.45);
  EXPECT_TRUE(sheet().isDataEntered());
}

TEST_F(MiscCompWorksheetTest, MiscWithholdingTakesTheFirstPAState) {
  struct Case {
    const char* first;
    const char* second;
    double expected;
  } cases[] = {{"PA", "PA", 10}, {"NJ", "PA", 20}, {"NJ", "NY", 0}, {"pa", "", 0}};
  uint16_t copy = 0;
  for (const Case& c : cases) {
    ++copy;
    miscCopy(copy, 1, "1");
    text(kFormID_Fed1099Misc, misc(46), c.first, copy);
    number(kFormID_Fed1099Misc, misc(45), 1000, copy);
    text(kFormID_Fed1099Misc, misc(133), c.second, copy);
    number(kFormID_Fed1099Misc, misc(132), 2000, copy);
    reference(copy, "110/" + std::to_string(copy));
  }
  calculate();
  for (int row = 1; row <= copy; ++row) {
    EXPECT_DOUBLE_EQ(cellAmount(row, kWithheld), cases[row - 1].expected) << row;
  }
  EXPECT_DOUBLE_EQ(amount(9586), 30);
  EXPECT_DOUBLE_EQ(amount(17532), 30);
}

TEST_F(MiscCompWorksheetTest, LongPayerIsCutToTheFieldLength) {
  miscCopy(1, 1, "1");
  text(kFormID_Fed1099Misc, misc(5), std::string(200, 'x'));
  reference(1, "110/1");
  calculate();
  const unsigned length = pa->getTaxFormDescriptor(kFormID_PAMiscCompWorksheet)->getFieldDesc(ws(11))->getLength();
  EXPECT_EQ(cellText(1, kPayer), std::string(length, 'x'));
}

TEST_F(MiscCompWorksheetTest, CodeLettersOfDistributionCodes) {
  struct Case {
    const char* code;
    bool mark35;
    const char* letter;
  } cases[] = {{"J", false, "J"}, {"T", false, "J"}, {"F", false, "L "}, {"U", false, "M "}, {"F", true, "J"}};
  uint16_t copy = 0;
  for (const Case& c : cases) {
    rCopy(++copy, 100, c.code);
    if (c.mark35) mark(kFormID_Fed1099R, r(35), copy);
    reference(copy, "84/" + std::to_string(copy));
  }
  calculate();
  for (int row = 1; row <= copy; ++row) {
    EXPECT_EQ(cellText(row, kLetter), cases[row - 1].letter) << row;
    EXPECT_TRUE(cellProtected(row, kLetter));
  }
  EXPECT_EQ(amount(183797), 1);  // "M " rows
  EXPECT_FALSE(sheet().xMarked(ws(139392)));
}

TEST_F(MiscCompWorksheetTest, LWithBlankIsAProblemAndNoLAmount) {
  rCopy(1, 100, "F");
  rCopy(2, 100, "1");
  mark(kFormID_Fed1099R, r(1), 1);
  mark(kFormID_Fed1099R, r(1), 2);
  reference(1, "84/1");
  reference(2, "84/2");
  typeAmount(2, kReduction, 10);
  mark(kFormID_PAMiscCompWorksheet, ws(139399));  // the user's own letter
  typeCell(2, kLetter, "l");
  calculate();
  EXPECT_EQ(cellText(1, kLetter), "L ");
  EXPECT_EQ(amount(139390), 1);           // only row 1: row 2 has letter "l" and a reduction
  EXPECT_DOUBLE_EQ(amount(46477), 100);  // row 2's amount: "l" counts, "L " does not
}

TEST_F(MiscCompWorksheetTest, MRowsCountAndKeepTheUsersDescription) {
  rCopy(1, 100, "U");
  reference(1, "84/1");
  calculate();
  EXPECT_EQ(amount(183797), 1);
  EXPECT_EQ(amount(139390), 1);  // "M " is no letter A to L; an empty "U" reduction is no problem
  EXPECT_EQ(textOf(kFormID_PAMiscCompWorksheet, ws(183798)), "Allocated ESOP Stock Dividend");
  text(kFormID_PAMiscCompWorksheet, ws(183798), "mine");
  calculate();
  EXPECT_EQ(textOf(kFormID_PAMiscCompWorksheet, ws(183798)), "mine");
}

TEST_F(MiscCompWorksheetTest, ReductionIsCappedAtTheGrossAmount) {
  rCopy(1, 1000, "1");
  reference(1, "84/1");
  typeAmount(1, kReduction, 1500);
  calculate();
  EXPECT_DOUBLE_EQ(cellAmount(1, kReduction), 1000);
  EXPECT_FALSE(cellProtected(1, kReduction));
  EXPECT_EQ(cellAmount(1, kPAAmount), 0);
  EXPECT_FALSE(cellNull(1, kPAAmount));
  EXPECT_TRUE(cellProtected(1, kPAAmount));
}

TEST_F(MiscCompWorksheetTest, GrossOfZeroOrLessClearsAnEarlierPAAmount) {
  rCopy(1, 0, "1");
  rCopy(2, -50, "2");
  reference(1, "84/1");
  reference(2, "84/2");
  typeAmount(1, kPAAmount, 1000);
  typeAmount(2, kPAAmount, 1000);
  calculate();
  EXPECT_TRUE(cellNull(1, kPAAmount) && cellProtected(1, kPAAmount));
  EXPECT_TRUE(cellNull(2, kPAAmount) && cellProtected(2, kPAAmount));
  EXPECT_EQ(amount(9585), 0);
}

TEST_F(MiscCompWorksheetTest, CodeSevenClosesReductionAndPAAmount) {
  rCopy(1, 500, "7");
  reference(1, "84/1");
  typeAmount(1, kReduction, 5);
  typeAmount(1, kPAAmount, 5);
  calculate();
  EXPECT_TRUE(cellNull(1, kReduction) && cellProtected(1, kReduction));
  EXPECT_TRUE(cellNull(1, kPAAmount) && cellProtected(1, kPAAmount));
  // No automatic letter: the choice defaults to code I.
  EXPECT_TRUE(sheet().xMarked(ws(139397)));
  EXPECT_TRUE(sheet().xMarked(ws(139392)));
  EXPECT_EQ(cellText(1, kLetter), "I");
  EXPECT_TRUE(sheet().isNo(ws(79779)));
}

TEST_F(MiscCompWorksheetTest, CodeSevenWithLetterFRaisesTheMark) {
  rCopy(1, 500, "7");
  text(kFormID_Fed1099R, r(203), "G");
  reference(1, "84/1");
  mark(kFormID_PAMiscCompWorksheet, ws(139399));
  typeCell(1, kLetter, "F");
  calculate();
  EXPECT_FALSE(cellProtected(1, kLetter));
  EXPECT_TRUE(sheet().xMarked(ws(79779)));
  EXPECT_EQ(amount(79781), 1);  // second distribution code
}

TEST_F(MiscCompWorksheetTest, OpenReductionMarksByCopyAndRow) {
  for (uint16_t c = 1; c <= 2; ++c) rCopy(c, 100, "1");
  for (int row = 1; row <= 12; ++row) reference(row, "84/1");  // rows 1-11 repeat, row 12 the same source
  reference(1, "84/2", 2);
  calculate(2);
  EXPECT_TRUE(sheet(2).xMarked(ws(203776)));
  EXPECT_TRUE(sheet(2).isNull(ws(203774)));
  calculate(1);
  EXPECT_TRUE(sheet().xMarked(ws(203774)));
  EXPECT_TRUE(sheet().xMarked(ws(203775)));
  EXPECT_TRUE(sheet().xMarked(ws(203776)));  // copy 2 has one
}

TEST_F(MiscCompWorksheetTest, CopyOneOpenReductionOnlyInLaterRows) {
  rCopy(1, 100, "1");
  rCopy(2, 100, "7");
  for (int row = 1; row <= 11; ++row) reference(row, "84/2");
  reference(12, "84/1");
  calculate();
  EXPECT_TRUE(sheet().isNull(ws(203774)));
  EXPECT_TRUE(sheet().xMarked(ws(203775)));
  EXPECT_TRUE(sheet().isNull(ws(203776)));
}

TEST_F(MiscCompWorksheetTest, PartYearPAAmountIsTheUsersCappedOrTheAmount) {
  setResidency(1);
  miscCopy(1, 100, "1");
  miscCopy(2, 100, "1");
  miscCopy(3, 100, "1");
  for (int row = 1; row <= 3; ++row) reference(row, "110/" + std::to_string(row));
  typeAmount(1, kPAAmount, 150);
  typeAmount(3, kPAAmount, 40);
  calculate();
  EXPECT_DOUBLE_EQ(cellAmount(1, kPAAmount), 100);
  EXPECT_DOUBLE_EQ(cellAmount(2, kPAAmount), 100);
  EXPECT_DOUBLE_EQ(cellAmount(3, kPAAmount), 40);
  EXPECT_FALSE(cellProtected(1, kPAAmount));
  EXPECT_DOUBLE_EQ(amount(9585), 240);
}

TEST_F(MiscCompWorksheetTest, WithoutJointFilingEveryRowIsTheTaxpayers) {
  setFilingStatus(1);
  rCopy(1, 100, "1");
  rCopy(2, 200, "1");
  mark(kFormID_Fed1099R, r(2), 2);
  miscCopy(3, 50, "1");
  mark(kFormID_Fed1099Misc, misc(2), 3);
  reference(1, "84/1");
  reference(2, "84/2");
  reference(3, "110/3");
  mark(kFormID_PAMiscCompWorksheet, ws(139398));  // code K for 1099-R rows
  calculate();
  EXPECT_EQ(cellText(2, kOwner), "S");
  EXPECT_DOUBLE_EQ(amount(79802), 350);
  EXPECT_EQ(amount(79803), 0);
  EXPECT_DOUBLE_EQ(amount(9585), 350);
  EXPECT_TRUE(sheet().isNull(ws(9587)));
  EXPECT_TRUE(sheet().isNull(ws(9588)));
  EXPECT_DOUBLE_EQ(amount(17531), 350);
  EXPECT_DOUBLE_EQ(amount(46475), 100);  // row 1 has no owner mark: the taxpayer's
  EXPECT_DOUBLE_EQ(amount(46476), 200);  // spouse's K still counts
}

TEST_F(MiscCompWorksheetTest, JointFilingSplitsByOwner) {
  setFilingStatus(2);
  rCopy(1, 100, "1");
  mark(kFormID_Fed1099R, r(1), 1);
  rCopy(2, 200, "1");
  mark(kFormID_Fed1099R, r(2), 2);
  rCopy(3, 400, "1");  // no owner mark: the taxpayer's
  miscCopy(4, 50, "1");
  for (int row = 1; row <= 3; ++row) reference(row, "84/" + std::to_string(row));
  reference(4, "110/4");
  typeCell(3, kOwner, "S");  // letters of an earlier calculation are rewritten
  calculate();
  EXPECT_EQ(cellText(3, kOwner), "T");
  EXPECT_EQ(cellText(4, kOwner), "T");
  EXPECT_TRUE(cellProtected(4, kOwner));
  EXPECT_DOUBLE_EQ(amount(79802), 550);
  EXPECT_DOUBLE_EQ(amount(79803), 200);
  EXPECT_DOUBLE_EQ(amount(9585), 550);
  EXPECT_DOUBLE_EQ(amount(9587), 200);
  EXPECT_DOUBLE_EQ(amount(17531), 750);
}

TEST_F(MiscCompWorksheetTest, Form57RowsOnAJointReturn) {
  setFilingStatus(2);
  setResidency(2);
  number(kFormID_Fed57, fed57(90), 300);
  number(kFormID_Fed57, fed57(91), 700);
  reference(1, "57/1");
  reference(2, "57/2");
  typeCell(1, kOwner, "s");
  typeAmount(2, kPAAmount, 900);
  calculate();
  EXPECT_EQ(cellText(1, kOwner), "s");
  EXPECT_EQ(cellText(2, kOwner), "T");
  EXPECT_FALSE(cellProtected(2, kOwner));
  EXPECT_EQ(cellText(1, kLetter), "B");
  EXPECT_EQ(cellText(1, kPayer), "Jury Duty Pay");
  EXPECT_EQ(cellText(2, kLetter), "C");
  EXPECT_EQ(cellText(2, kPayer), "Fiduciary Fees");
  EXPECT_DOUBLE_EQ(cellAmount(2, kAmount), 700);
  EXPECT_DOUBLE_EQ(cellAmount(2, kPAAmount), 700);  // capped
  EXPECT_DOUBLE_EQ(amount(139394), 300);
  EXPECT_DOUBLE_EQ(amount(139395), 700);
  EXPECT_DOUBLE_EQ(amount(9587), 300);
  EXPECT_DOUBLE_EQ(amount(9585), 700);
  EXPECT_EQ(amount(139390), 0);
}

TEST_F(MiscCompWorksheetTest, Form57OwnerIsTaxpayerOffJointReturns) {
  setFilingStatus(3);
  number(kFormID_Fed57, fed57(90), 300);
  reference(1, "57/1");
  typeCell(1, kOwner, "S");
  calculate();
  EXPECT_EQ(cellText(1, kOwner), "T");
  EXPECT_TRUE(cellProtected(1, kOwner));
}

}  // namespace
