// The miscellaneous-compensation worksheet: source rows, rows filled from
// Form 1099-MISC, Form 1099-R and form-57 sources, the user's open columns
// and the person totals (the golden returns hold rows of every kind).
#include <string>
#include <vector>

#include "calc/state/tests/state_engine_fixture.h"
#include "catalogs/fields/fields.h"

namespace {

class MiscCompWorksheetTest : public StateEngineTest {
 protected:
  // The columns of a worksheet row, in form order.
  enum Column { kOwner, kLetter, kPayer, kDistCode, kAmount, kReduction, kPAAmount, kWithheld };
  // Row `row` (1 to 20) of column `column`.
  static const FieldId& cell(int row, Column column) {
    static const NamedColumn<PAMiscCompWorksheetFieldIds>* const kColumns[] = {
        &PAMiscCompWorksheet::kRowOwner,          &PAMiscCompWorksheet::kRowCodeLetter,
        &PAMiscCompWorksheet::kRowPayer,          &PAMiscCompWorksheet::kRowDistributionCode,
        &PAMiscCompWorksheet::kRowAmount,         &PAMiscCompWorksheet::kRowReduction,
        &PAMiscCompWorksheet::kRowPACompensation, &PAMiscCompWorksheet::kRowPAWithholding};
    return kColumns[column]->at(row - 1);
  }

  void setJoint() { mark(kFormID_PAReturnInfo, PAReturnInfo::kJointBox); }
  void reference(int row, const std::string& value, uint16_t copy = 1) {
    text(kFormID_PAMiscCompWorksheet, PAMiscCompWorksheet::kRowSourceReference.at(row - 1), value, copy);
  }
  std::string referenceText(int row, uint16_t copy = 1) {
    return textOf(kFormID_PAMiscCompWorksheet, PAMiscCompWorksheet::kRowSourceReference.at(row - 1), copy);
  }
  void calculate(uint16_t copy = 1) {
    engine->computeMiscCompWorksheet(holder(kFormID_PAMiscCompWorksheet, copy), copy, 0);
  }
  DataMgmt::TaxForm& sheet(uint16_t copy = 1) { return copyOf(kFormID_PAMiscCompWorksheet, copy); }
  double amount(const FieldId& field, uint16_t copy = 1) { return sheet(copy).getIR(field); }
  std::string cellText(int row, Column column) {
    return textOf(kFormID_PAMiscCompWorksheet, cell(row, column));
  }
  bool nullAndProtected(int row, Column column) {
    return sheet().isNull(cell(row, column)) && sheet().isProtected(cell(row, column));
  }

  // Federal copies; amounts in dollars are stored as hundredths.
  void miscCopy(uint16_t copy, double otherIncome, const std::string& otherCode, double nonemployee = 0,
                const std::string& nonemployeeCode = "") {
    number(kFormID_Fed1099Misc, Fed1099Misc::kOtherIncome, otherIncome * 100, copy);
    text(kFormID_Fed1099Misc, Fed1099Misc::kOtherIncomeCode, otherCode, copy);
    number(kFormID_Fed1099Misc, Fed1099Misc::kNonemployeeCompensation, nonemployee * 100, copy);
    text(kFormID_Fed1099Misc, Fed1099Misc::kNonemployeeCompensationCode, nonemployeeCode, copy);
  }
  void rCopy(uint16_t copy, double gross, const std::string& code) {
    number(kFormID_Fed1099R, Fed1099R::kGrossDistribution, gross * 100, copy);
    text(kFormID_Fed1099R, Fed1099R::kDistributionCode, code, copy);
  }
};

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

// A 1099-MISC amount of another code does not count and leaves the letter
// to the user (upper-cased); the payer is cut to its column.
TEST_F(MiscCompWorksheetTest, MiscRowOfAnotherCode) {
  miscCopy(1, 123.45, "3");
  text(kFormID_Fed1099Misc, Fed1099Misc::kPayerName, std::string(200, 'x'), 1);
  reference(1, "110/1");
  text(kFormID_PAMiscCompWorksheet, cell(1, kLetter), "a");
  calculate();
  const unsigned length =
      pa->getTaxFormDescriptor(kFormID_PAMiscCompWorksheet)->getFieldDesc(cell(1, kPayer))->getLength();
  EXPECT_EQ(cellText(1, kPayer), std::string(length, 'x'));
  EXPECT_EQ(amount(cell(1, kAmount)), 0);
  EXPECT_EQ(cellText(1, kLetter), "A");
  EXPECT_TRUE(nullAndProtected(1, kPAAmount));
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
    restart();
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

// The rows' PA withholding keeps its cents; the person totals add the rows
// as they show, in whole dollars, as Schedule W2-S and the data file read
// them.
TEST_F(MiscCompWorksheetTest, WithholdingTotalsAddTheRowsAsTheyShow) {
  for (int row = 1; row <= 2; ++row) {
    rCopy(static_cast<uint16_t>(row), 500, "7");
    text(kFormID_Fed1099R, Fed1099R::kState, "PA", static_cast<uint16_t>(row));
    number(kFormID_Fed1099R, Fed1099R::kStateTaxWithheld, row == 1 ? 1460 : 1461, static_cast<uint16_t>(row));
    reference(row, "84/" + std::to_string(row));
  }
  calculate();
  EXPECT_DOUBLE_EQ(amount(cell(1, kWithheld)), 14.60);
  EXPECT_DOUBLE_EQ(amount(cell(2, kWithheld)), 14.61);
  EXPECT_DOUBLE_EQ(amount(PAMiscCompWorksheet::kTaxpayerPAWithholding), 30);  // 15 + 15, not 29.21
  EXPECT_DOUBLE_EQ(amount(PAMiscCompWorksheet::kTotalPAWithholding), 30);
}

// A form-57 row off a joint return is the taxpayer's (protected); a
// nonresident's PA amount typed above the row's amount is cut to it.
TEST_F(MiscCompWorksheetTest, Form57Rows) {
  mark(kFormID_PAReturnInfo, PAReturnInfo::kNonresidentBox);
  number(kFormID_Fed57, Fed57::kFiduciaryFees, 700);
  reference(1, "57/2");
  text(kFormID_PAMiscCompWorksheet, cell(1, kOwner), "s");
  number(kFormID_PAMiscCompWorksheet, cell(1, kPAAmount), 900);
  calculate();
  EXPECT_EQ(cellText(1, kOwner), "T");
  EXPECT_TRUE(sheet().isProtected(cell(1, kOwner)));
  EXPECT_DOUBLE_EQ(amount(cell(1, kPAAmount)), 700);
}

// Source rows: twenty per worksheet copy; none qualifying leaves every
// reference empty (form 57 is read at copy 1 only).
TEST_F(MiscCompWorksheetTest, SourceRows) {
  auto addAllSources = [this] {  // the driver's sequence: one counter for all four calls
    int counter = 0;
    engine->addMiscCompSourceRows(kFormID_Fed1099Misc, &counter, 0);
    engine->addMiscCompSourceRows(kFormID_Fed1099R, &counter, 0);
    engine->addMiscCompSourceRows(kFormID_Fed57, &counter, 1);
    engine->addMiscCompSourceRows(kFormID_Fed57, &counter, 2);
    return counter;
  };
  for (uint16_t c = 1; c <= 41; ++c) rCopy(c, 1, "7");
  EXPECT_EQ(addAllSources(), 41);
  EXPECT_EQ(referenceText(20, 1) + " " + referenceText(1, 2) + " " + referenceText(20, 2) + " " +
                referenceText(1, 3),
            "84/20 84/21 84/40 84/41");
  restart();
  miscCopy(1, 0, "1");
  number(kFormID_Fed57, Fed57::kJuryDutyPay, 40, 2);
  EXPECT_EQ(addAllSources(), 0);
  for (int row = 1; row <= 20; ++row) EXPECT_EQ(referenceText(row), "") << row;
  EXPECT_FALSE(pa->formExists(kFormID_PAMiscCompWorksheet, 2));
}

// What the calculation wrote for a reason that is gone does not stay as
// if the user had typed it, each step below on the return the step before
// left: the "H" of a 1099-MISC amount that no longer counts, the form-57
// amounts once no row reads them, the default I choice once no row needs a
// choice, a 1099-R letter of its distribution code once the user picks the
// letters, and a 1099 row's owner once the row is a form-57 row of a joint
// return.
TEST_F(MiscCompWorksheetTest, CalculatedValuesGoWithTheirReason) {
  setJoint();
  miscCopy(1, 50, "1");
  mark(kFormID_Fed1099Misc, Fed1099Misc::kSpouseBox, 1);
  rCopy(2, 100, "7");
  number(kFormID_Fed57, Fed57::kJuryDutyPay, 40);
  reference(1, "110/1");
  reference(2, "84/2");
  reference(3, "57/1");
  calculate();
  ASSERT_EQ(cellText(1, kLetter) + cellText(1, kOwner), "HS");
  ASSERT_EQ(amount(PAMiscCompWorksheet::kJuryDutyPay), 40);
  ASSERT_TRUE(sheet().xMarked(PAMiscCompWorksheet::kCodeIChoiceBox));

  text(kFormID_Fed1099Misc, Fed1099Misc::kOtherIncomeCode, "3", 1);
  reference(3, "");
  text(kFormID_Fed1099R, Fed1099R::kDistributionCode, "J", 2);
  calculate();
  EXPECT_EQ(cellText(1, kLetter), "");
  EXPECT_TRUE(sheet().isNull(PAMiscCompWorksheet::kCodeHCount));
  EXPECT_TRUE(sheet().isNull(PAMiscCompWorksheet::kJuryDutyPay));
  EXPECT_TRUE(sheet().isNull(PAMiscCompWorksheet::kCodeIChoiceBox));
  ASSERT_EQ(cellText(2, kLetter), "J");

  text(kFormID_Fed1099R, Fed1099R::kDistributionCode, "7", 2);
  mark(kFormID_PAMiscCompWorksheet, PAMiscCompWorksheet::kOwnCodeChoiceBox);
  reference(1, "57/1");
  calculate();
  EXPECT_EQ(cellText(2, kLetter), "");
  EXPECT_EQ(cellText(1, kOwner), "T");
}

// A row that comes to stand for another source (a federal copy before it
// deleted) keeps nothing of the one it stood for: a part-year filer's PA
// amount and reduction are filled afresh for the new source, while a row
// whose source stays keeps the user's entries. The entries of a return
// just loaded, whose rows have no source yet, are the user's for the
// sources the rows come to stand for.
TEST_F(MiscCompWorksheetTest, RowsThatStandForAnotherSourceStartAfresh) {
  mark(kFormID_PAReturnInfo, PAReturnInfo::kPartYearResidentBox);
  rCopy(1, 800, "1");
  rCopy(2, 600, "1");
  rCopy(3, 500, "1");
  for (int row = 1; row <= 3; ++row) {
    number(kFormID_PAMiscCompWorksheet, cell(row, kReduction), 10 * row);
    number(kFormID_PAMiscCompWorksheet, cell(row, kPAAmount), 100 * row);
  }
  engine->rebuildMiscCompSourceRows();
  calculate();
  ASSERT_DOUBLE_EQ(amount(cell(2, kPAAmount)), 200);
  federal()->deleteForm(kFormID_Fed1099R, 2);
  engine->rebuildMiscCompSourceRows();
  calculate();
  EXPECT_EQ(referenceText(2), "84/3");
  EXPECT_DOUBLE_EQ(amount(cell(1, kPAAmount)), 100);  // the same source: the user's
  EXPECT_DOUBLE_EQ(amount(cell(1, kReduction)), 10);
  EXPECT_TRUE(sheet().isNull(cell(2, kReduction)));  // copy 3's row, afresh
  EXPECT_DOUBLE_EQ(amount(cell(2, kPAAmount)), 500);
  EXPECT_TRUE(nullAndProtected(3, kPAAmount));
}

}  // namespace
