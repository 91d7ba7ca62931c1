// The miscellaneous-compensation worksheet: rows filled from Form 1099-MISC,
// Form 1099-R and form-57 sources, the user's open columns, the person
// totals and the count of rows in need of attention.
#include <string>

#include "calc/pa/tests/misc_comp_fixture.h"

namespace {

typedef MiscCompTest MiscCompWorksheetTest;

TEST_F(MiscCompWorksheetTest, EmptyFirstReferenceClosesEveryRow) {
  number(kFormID_PAMiscCompWorksheet, cell(7, kAmount), 500);
  calculate();
  for (int row = 1; row <= 20; ++row) {
    for (Column c : {kOwner, kLetter, kPayer, kDistCode, kAmount, kReduction, kPAAmount, kWithheld}) {
      EXPECT_TRUE(nullAndProtected(row, c)) << row << "/" << c;
    }
  }
  EXPECT_EQ(amount(PAMiscCompWorksheet::kTaxpayerAmount), 0);
  EXPECT_EQ(amount(PAMiscCompWorksheet::kProblemCount), 0);
  EXPECT_FALSE(sheet().isDataEntered());
}

// A typed reference is read with range checks: numbers beyond an int name
// nothing, however their low bits read.
TEST_F(MiscCompWorksheetTest, ReferencesThatNameNothingLeaveTheRowAlone) {
  miscCopy(1, 10, "1");
  const char* bad[] = {"abc", "110", "0/1", "999/1", "110/0", "57/3", "4294967406/1", "110/4294967297"};
  for (int row = 1; row <= 8; ++row) {
    reference(row, bad[row - 1]);
    text(kFormID_PAMiscCompWorksheet, cell(row, kPayer), "kept");
  }
  calculate();
  for (int row = 1; row <= 8; ++row) EXPECT_EQ(cellText(row, kPayer), "kept") << bad[row - 1];
  EXPECT_TRUE(nullAndProtected(9, kOwner));  // the walk ends at the first empty reference
}

// 1099-MISC amounts count with code 1 or 2 only, and give letter H; the
// withholding is the first PA state's; the payer is cut to its column.
TEST_F(MiscCompWorksheetTest, MiscRowsAmountLetterAndWithholding) {
  miscCopy(1, 123.45, "2");
  text(kFormID_Fed1099Misc, Fed1099Misc::kPayerName, std::string(200, 'x'), 1);
  text(kFormID_Fed1099Misc, Fed1099Misc::kState, "NJ", 1);
  text(kFormID_Fed1099Misc, Fed1099Misc::kSecondState, "PA", 1);
  number(kFormID_Fed1099Misc, Fed1099Misc::kSecondStateTaxWithheld, 2000, 1);
  miscCopy(2, 123.45, "3");
  miscCopy(3, 0, "", 50, "1");
  text(kFormID_Fed1099Misc, Fed1099Misc::kState, "PA", 3);
  number(kFormID_Fed1099Misc, Fed1099Misc::kStateTaxWithheld, 1000, 3);
  text(kFormID_Fed1099Misc, Fed1099Misc::kSecondState, "PA", 3);
  for (int row = 1; row <= 3; ++row) reference(row, "110/" + std::to_string(row));
  text(kFormID_PAMiscCompWorksheet, cell(2, kLetter), "a");
  calculate();

  const unsigned length =
      pa->getTaxFormDescriptor(kFormID_PAMiscCompWorksheet)->getFieldDesc(cell(1, kPayer))->getLength();
  EXPECT_EQ(cellText(1, kPayer), std::string(length, 'x'));
  EXPECT_EQ(cellText(1, kLetter), "H");
  EXPECT_DOUBLE_EQ(amount(cell(1, kPAAmount)), 123.45);
  EXPECT_DOUBLE_EQ(amount(cell(1, kWithheld)), 20);
  EXPECT_EQ(amount(cell(2, kAmount)), 0);
  EXPECT_EQ(cellText(2, kLetter), "A");  // the user's letter, upper-cased
  EXPECT_TRUE(nullAndProtected(2, kPAAmount));
  EXPECT_EQ(cellText(3, kLetter), "H");
  EXPECT_DOUBLE_EQ(amount(cell(3, kWithheld)), 10);
  EXPECT_EQ(amount(PAMiscCompWorksheet::kCodeHCount), 2);
  EXPECT_DOUBLE_EQ(amount(PAMiscCompWorksheet::kTaxpayerAmount), 173.45);
  EXPECT_DOUBLE_EQ(amount(PAMiscCompWorksheet::kTotalPAWithholding), 30);
}

// Letters of the first distribution code ("L " and "M " are problems, and
// "L " is no L amount); the reduction is capped at the gross; a gross of 0
// or less clears an earlier PA amount; code 7 closes the reduction and PA
// amount and leaves the letter to the I/K choice.
TEST_F(MiscCompWorksheetTest, FormRRows) {
  const struct {
    const char* code;
    double gross, reduction, typedPAAmount;
    const char* letter;
    bool paAmountClosed;
  } kRows[] = {
      {"J", 100, -1, -1, "J", false},  {"T", 100, -1, -1, "J", true},     {"F", 100, -1, -1, "L ", true},
      {"U", 100, -1, -1, "M ", false}, {"1", 1000, 1500, -1, "I", false}, {"1", 0, -1, 1000, "I", true},
      {"2", -50, -1, 1000, "I", true}, {"7", 500, 5, 5, "I", true},
  };
  int row = 0;
  for (const auto& r : kRows) {
    rCopy(++row, r.gross, r.code);
    reference(row, "84/" + std::to_string(row));
    if (r.reduction >= 0) number(kFormID_PAMiscCompWorksheet, cell(row, kReduction), r.reduction);
    if (r.typedPAAmount >= 0) number(kFormID_PAMiscCompWorksheet, cell(row, kPAAmount), r.typedPAAmount);
  }
  calculate();
  row = 0;
  for (const auto& r : kRows) {
    ++row;
    EXPECT_EQ(cellText(row, kLetter), r.letter) << row;
    EXPECT_EQ(nullAndProtected(row, kPAAmount), r.paAmountClosed) << row;
  }
  EXPECT_DOUBLE_EQ(amount(cell(5, kReduction)), 1000);
  EXPECT_EQ(amount(cell(5, kPAAmount)), 0);
  EXPECT_TRUE(nullAndProtected(8, kReduction));
  EXPECT_TRUE(sheet().xMarked(PAMiscCompWorksheet::kCodeChoiceNeededBox));
  EXPECT_EQ(amount(PAMiscCompWorksheet::kCodeMCount), 1);
  EXPECT_EQ(textOf(kFormID_PAMiscCompWorksheet, PAMiscCompWorksheet::kCodeMDescription),
            "Allocated ESOP Stock Dividend");
  // "L " and "M ", and the open reductions left empty of codes J, 1 and 2.
  EXPECT_EQ(amount(PAMiscCompWorksheet::kProblemCount), 5);
  EXPECT_EQ(amount(PAMiscCompWorksheet::kTaxpayerCodeLAmount), 0);
  EXPECT_DOUBLE_EQ(amount(PAMiscCompWorksheet::kTaxpayerPACompensation), 100 + 100);
}

// The owner comes from the 1099's marks on every calculation, an unmarked
// copy is the taxpayer's; off a joint return every row is the taxpayer's,
// the spouse's totals are null, but the spouse's K amounts still count.
TEST_F(MiscCompWorksheetTest, OwnersAndPersonTotals) {
  for (bool joint : {false, true}) {
    engine.reset();
    SetUp();
    if (joint) setJoint();
    rCopy(1, 100, "1");
    mark(kFormID_Fed1099R, Fed1099R::kTaxpayerBox, 1);
    rCopy(2, 200, "1");
    mark(kFormID_Fed1099R, Fed1099R::kSpouseBox, 2);
    rCopy(3, 400, "1");
    miscCopy(4, 50, "1");
    for (int row = 1; row <= 3; ++row) reference(row, "84/" + std::to_string(row));
    reference(4, "110/4");
    text(kFormID_PAMiscCompWorksheet, cell(3, kOwner), "S");  // letters of an earlier calculation
    mark(kFormID_PAMiscCompWorksheet, PAMiscCompWorksheet::kCodeKChoiceBox);
    calculate();
    EXPECT_EQ(cellText(2, kOwner), "S");
    EXPECT_EQ(cellText(3, kOwner), "T");
    EXPECT_TRUE(sheet().isProtected(cell(4, kOwner)));
    EXPECT_DOUBLE_EQ(amount(PAMiscCompWorksheet::kTaxpayerAmount), joint ? 550 : 750) << joint;
    EXPECT_DOUBLE_EQ(amount(PAMiscCompWorksheet::kSpouseAmount), joint ? 200 : 0);
    EXPECT_EQ(sheet().isNull(PAMiscCompWorksheet::kSpousePACompensation), !joint);
    EXPECT_DOUBLE_EQ(amount(PAMiscCompWorksheet::kTotalPACompensation), 750);
    EXPECT_DOUBLE_EQ(amount(PAMiscCompWorksheet::kTaxpayerCodeKAmount), 500);
    EXPECT_DOUBLE_EQ(amount(PAMiscCompWorksheet::kSpouseCodeKAmount), 200);
  }
}

// Form-57 rows: letter, description and amount by kind; on a joint return
// the owner is the user's (an empty one the taxpayer's), else the
// taxpayer's; the PA amount is capped at the amount.
TEST_F(MiscCompWorksheetTest, Form57Rows) {
  setJoint();
  mark(kFormID_PAReturnInfo, PAReturnInfo::kNonresidentBox);
  number(kFormID_Fed57, Fed57::kJuryDutyPay, 300);
  number(kFormID_Fed57, Fed57::kFiduciaryFees, 700);
  reference(1, "57/1");
  reference(2, "57/2");
  text(kFormID_PAMiscCompWorksheet, cell(1, kOwner), "s");
  number(kFormID_PAMiscCompWorksheet, cell(2, kPAAmount), 900);
  calculate();
  EXPECT_EQ(cellText(1, kOwner), "s");
  EXPECT_EQ(cellText(2, kOwner), "T");
  EXPECT_EQ(cellText(1, kLetter) + "/" + cellText(1, kPayer), "B/Jury Duty Pay");
  EXPECT_EQ(cellText(2, kLetter) + "/" + cellText(2, kPayer), "C/Fiduciary Fees");
  EXPECT_DOUBLE_EQ(amount(cell(2, kPAAmount)), 700);
  EXPECT_DOUBLE_EQ(amount(PAMiscCompWorksheet::kJuryDutyPay), 300);
  EXPECT_DOUBLE_EQ(amount(PAMiscCompWorksheet::kSpousePACompensation), 300);
  EXPECT_DOUBLE_EQ(amount(PAMiscCompWorksheet::kTaxpayerPACompensation), 700);

  put(kFormID_PAReturnInfo, PAReturnInfo::kJointBox, DataMgmt::FieldValue::null());
  calculate();
  EXPECT_EQ(cellText(1, kOwner), "T");
  EXPECT_TRUE(sheet().isProtected(cell(1, kOwner)));
}

}  // namespace
