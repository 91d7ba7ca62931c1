// The PA records of the data file: their order at the PA-40's trigger
// fields, the statement and return-header lines, the W-2 schedule, 1099-G
// and Schedule D transaction records, and Schedule E's other expenses.
#include <cctype>

#include "output/tests/pa_tif_writer_fixture.h"

namespace pa_tif_test {
namespace {

// A statement text as the host writes it, upper-cased.
std::string statementLine(const char* code, std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return std::string(code) + " " + text;
}

TEST_F(PATifWriterTest, RecordsAtTheStatementFieldInOrder) {
  mark(kFormID_PA40, PA40::kTaxpayerStatementBox);
  mark(kFormID_PA40, PA40::kSpouseStatementBox);
  number(kFormID_PA40, PA40::kTaxpayerMilitaryPay, 900);
  number(kFormID_PA40, PA40::kSpouseMilitaryPay, -5);
  mark(kFormID_PAScheduleW2S, PAScheduleW2S::kTaxpayerWagesDifferenceBox);
  number(kFormID_PAW2, PAW2::kTaxpayerWithholdingAboveRateCount, 1, 2);
  text(kFormID_PAW2, PAW2::kRowEmployerEIN.at(0), "11-1111111");
  text(kFormID_PAReturnInfo, PAReturnInfo::kTaxpayerSSN, "111-00-0001");
  mark(kFormID_Fed1099G, Fed1099G::kUnemploymentBox);
  text(kFormID_Fed1099G, Fed1099G::kState, "PA");
  number(kFormID_Fed1099G, Fed1099G::kStateTaxWithheld, 1200);
  copyOf(kFormID_PAScheduleE)->setPrintingEnabled(true);
  const Lines lines = convert(kFormID_PA40, PA40::kStatementBox, "X");
  const Lines heads = {"D PAPASTMNT  001 X T  ", "D PAPASTMNT  002 X T  ", "D PAPARTNHDR 001 X T  ",
                       "D PAPAAUTHDR 001 X T  ", "D PAPASCHW2M 001 X T  ", "D PAPA1099G  001 X T  ",
                       "D PAPASCHEM  001 X T  "};
  EXPECT_EQ(heads, withPrefix(lines, "D "));
  EXPECT_EQ("FIELD X", lines.back());
  // The taxpayer's statement with all three texts; the spouse's negative
  // amount still makes a statement, without text.
  EXPECT_EQ((Lines{heads[0], "00010.000.001 PA", "00015.000.001 111-00-0001", "00008.000.001 T",
                   "00020.000.001 PA40",
                   statementLine("00025.000.001", "My wages reported on PA-40, line 1a include active "),
                   statementLine("00030.000.001", "duty military pay not taxable in Pennsylvania."),
                   statementLine("00040.000.001", "My wages reported on PA-40, line 1a differ from "),
                   statementLine("00050.000.001", "the amount reported in Box 16 of one or more Form W-2."),
                   statementLine("00060.000.001",
                                 "My employer did not withhold PA income tax at the rate of 3.07%"),
                   heads[1], "00010.000.001 PA", "00008.000.001 S", "00020.000.001 PA40", heads[2]}),
            Lines(lines.begin(), lines.begin() + 15));
  // A marked box has its statement whatever the military pay: the
  // taxpayer's with the other two texts.
  number(kFormID_PA40, PA40::kTaxpayerMilitaryPay, 0);
  const Lines again = convert(kFormID_PA40, PA40::kStatementBox, "X");
  EXPECT_EQ((Lines{heads[0], heads[1]}), withPrefix(again, "D PAPASTMNT"));
  EXPECT_EQ(statementLine("00025.000.001", "My wages reported on PA-40, line 1a differ from "),
            withPrefix(again, "00025").front());
}

// A record only for a form that holds data: no W-2 schedule without a row,
// no Schedule E record without a copy marked to print; such copies take
// no occurrence.
TEST_F(PATifWriterTest, EmptyFormsHaveNoRecord) {
  copyOf(kFormID_PAW2);
  number(kFormID_PAScheduleW2S, PAScheduleW2S::kTotalPACompensation, 0);
  copyOf(kFormID_PAScheduleE, 1);
  text(kFormID_PAScheduleE, PAScheduleE::kPropertyTypeCode, "2", 2);
  Lines heads = {"D PAPARTNHDR 001 X T  ", "D PAPAAUTHDR 001 X T  "};
  EXPECT_EQ(heads, withPrefix(convert(kFormID_PA40, PA40::kStatementBox, "X"), "D "));
  copyOf(kFormID_PAScheduleE, 2)->setPrintingEnabled(true);
  const Lines lines = convert(kFormID_PA40, PA40::kStatementBox, "X");
  heads.push_back("D PAPASCHEM  001 X T  ");
  EXPECT_EQ(heads, withPrefix(lines, "D "));
  // The return header's line, then copy 2 as the first occurrence.
  EXPECT_EQ((Lines{"00020.000.001 2018-01-01", "00020.000.001 2"}), withPrefix(lines, "00020"));
}

// A Schedule E copy's other expenses: the description and amount of the
// first or the second row when it alone makes up their sum, else "Other
// Expenses" and the sum.
TEST_F(PATifWriterTest, ScheduleEOtherExpensesNameTheRowThatMakesUpTheSum) {
  const FormId& e = kFormID_PAScheduleE;
  const struct {
    double second, third;
    Lines want;
  } kCases[] = {
      {250, 0, {"00500.000.001 PEST CONTROL", "00510.000.001 250"}},
      {250, 100, {"00500.000.001 OTHER EXPENSES", "00510.000.001 350"}},
  };
  copyOf(e)->setPrintingEnabled(true);
  mark(e, PAScheduleE::kScheduleESourceBox);
  number(e, PAScheduleE::kRentsReceived, 9000);
  // The first row is described but holds no amount.
  text(e, PAScheduleE::kFirstOtherExpenseText, "Snow removal");
  text(e, PAScheduleE::kSecondOtherExpenseText, "Pest control");
  for (const auto& c : kCases) {
    number(e, PAScheduleE::kSecondOtherExpense, c.second);
    number(e, PAScheduleE::kThirdOtherExpense, c.third);
    EXPECT_EQ(c.want, withPrefix(convert(kFormID_PA40, PA40::kStatementBox, "X"), {"00500", "00510"}));
  }
}

TEST_F(PATifWriterTest, ReturnHeaderByFilingStatus) {
  text(kFormID_FedFilerInfo, FedFilerInfo::kSpouseFirstName, "Ann");
  auto header = [&] { return linesOf([&] { writer->writePAPARTNHDRRecord(); }); };
  Lines lines = header();  // single
  EXPECT_EQ(Lines{"00360.000.001 3801"}, withPrefix(lines, "00360"));
  EXPECT_TRUE(withPrefix(lines, {"00420", "00680", "00520"}).empty());
  mark(kFormID_PAReturnInfo, PAReturnInfo::kSeparateBox);
  text(kFormID_PA40, PA40::kFilingStatusCode, "j");  // read here as a return with a spouse
  EXPECT_EQ((Lines{"00680.000.001 X", "00520.000.001 Ann"}), withPrefix(header(), {"00420", "00680", "00520"}));
}

TEST_F(PATifWriterTest, W2ScheduleRowsNumberedOnAcrossCopies) {
  text(kFormID_PAMiscCompWorksheet, PAMiscCompWorksheet::kRowCodeLetter.at(0), "K");
  text(kFormID_PAMiscCompWorksheet, PAMiscCompWorksheet::kRowCodeLetter.at(0), "L", 2);
  number(kFormID_PAScheduleW2S, PAScheduleW2S::kTotalPACompensation, 700);
  auto schedule = [&] { return linesOf([&] { writer->writePAPASCHW2MRecord(); }); };
  EXPECT_TRUE(schedule().empty());  // no PA W-2 copy: no record at all
  text(kFormID_PAW2, PAW2::kRowEmployerEIN.at(0), "11-1111111");
  text(kFormID_PAW2, PAW2::kRowEmployerEIN.at(2), "33-3333333");
  text(kFormID_PAW2, PAW2::kRowOwner.at(2), "S");
  text(kFormID_PAW2, PAW2::kRowEmployerEIN.at(0), "44-4444444", 2);
  // Rows without an employer number take no occurrence; the rows of a
  // later copy go on from the last, and the worksheet rows and the totals
  // come once.
  EXPECT_EQ((Lines{"D PAPASCHW2M 001 X T  ", "00030.000.001 11-1111111", "00020.000.002 S",
                   "00030.000.002 33-3333333", "00030.000.003 44-4444444", "00885.000.001 K",
                   "00885.000.002 L", "01600.000.001 700"}),
            withPrefix(schedule(), {"D ", "00020", "00030", "00885", "01600"}));
}

TEST_F(PATifWriterTest, OnlyFormsWithAPAAmountHaveA1099GRecord) {
  for (uint16_t copy = 1; copy <= 2; ++copy) mark(kFormID_Fed1099G, Fed1099G::kUnemploymentBox, copy);
  text(kFormID_Fed1099G, Fed1099G::kState, "pa", 1);  // not written exactly "PA"
  number(kFormID_Fed1099G, Fed1099G::kStateTaxWithheld, 500, 1);
  text(kFormID_Fed1099G, Fed1099G::kSecondState, "PA", 2);
  number(kFormID_Fed1099G, Fed1099G::kSecondStateTaxWithheld, 500, 2);
  text(kFormID_Fed1099G, Fed1099G::kSecondStateId, "9-87", 2);
  // No unemployment amount: the tax year on 00170. The form marks no
  // owner: a single filer's, a joint return's spouse's.
  EXPECT_EQ((Lines{"D PAPA1099G  001 X T  ", "00005.000.001 1", "00170.000.001 2018", "00215.000.001 5.00",
                   "00220.000.001 PA", "00225.000.001 9-87"}),
            withPrefix(linesOf([&] { writer->writePAPA1099GRecord(); }), {"D ", "00005", "00170", "0021", "0022"}));
  mark(kFormID_PAReturnInfo, PAReturnInfo::kJointBox);
  EXPECT_EQ((Lines{"00005.000.001 2"}),
            withPrefix(linesOf([&] { writer->writePAPA1099GRecord(); }), {"00005"}));
}

TEST_F(PATifWriterTest, JointAmountsSplitWithTheOddUnitAlternating) {
  using W = PATifWriteMgmt::PATifFileWriter;
  EXPECT_EQ(50, W::splitJointAmount(101, "J", true));
  EXPECT_EQ(51, W::splitJointAmount(101, "J", false));
  EXPECT_EQ(50, W::splitJointAmount(100, "J", true));
  EXPECT_EQ(101, W::splitJointAmount(101, "T", true));
  EXPECT_EQ(101, W::splitJointAmount(101, "j", true));
  for (long amount : {-101L, -100L, -1L, 1L, 7L}) {
    EXPECT_EQ(amount, W::splitJointAmount(amount, "J", true) + W::splitJointAmount(amount, "J", false));
  }
  // One joint sale of 101 and 50 on a joint return: the taxpayer's record,
  // then the spouse's, at the PA-40's field 15.
  mark(kFormID_PAReturnInfo, PAReturnInfo::kJointBox);
  mark(kFormID_PAReturnInfo, PAReturnInfo::kFullYearResidentBox);
  number(kFormID_PA40, PA40::kNetGain, 51);
  text(kFormID_PAScheduleD, PAScheduleD::kWorksheetReference, "SEE WKS.");
  text(kFormID_PAScheduleDWorksheet, PAScheduleDWorksheet::kRowOwner.at(0), "J");
  number(kFormID_PAScheduleDWorksheet, PAScheduleDWorksheet::kRowSalesPrice.at(0), 101);
  number(kFormID_PAScheduleDWorksheet, PAScheduleDWorksheet::kRowCost.at(0), 50);
  EXPECT_EQ((Lines{"D PAPASCHDM  001 X T  ", "00040.000.001 51", "00050.000.001 25", "00060.000.001 26",
                   "D PAPASCHDM  002 X T  ", "00040.000.001 50", "00050.000.001 25", "00060.000.001 25"}),
            withPrefix(convert(kFormID_PA40, PA40::kScheduleDRecordsTrigger, "51"),
                       {"D ", "00040", "00050", "00060"}));
}

TEST_F(PATifWriterTest, SaleDatesAndEveryRowOfEveryWorksheetCopy) {
  mark(kFormID_PAReturnInfo, PAReturnInfo::kFullYearResidentBox);
  number(kFormID_PAScheduleD, PAScheduleD::kResidenceGain, 300);
  const FormId& sheet = kFormID_PAScheduleDWorksheet;
  namespace S = PAScheduleDWorksheet;
  const char* const acquired[] = {"VARIOUS", "various", "01/02/2017"};
  const char* const sold[] = {"06/30/2018", "06/30/2018", "Bankrupt"};
  for (int row = 0; row < 3; ++row) {
    text(sheet, S::kRowOwner.at(row), "T");
    text(sheet, S::kRowDescription.at(row), "Lot " + std::to_string(row + 1));
    text(sheet, S::kRowDateAcquired.at(row), acquired[row]);
    text(sheet, S::kRowDateSold.at(row), sold[row]);
  }
  mark(sheet, S::kRowGroupedSaleBox.at(1));
  text(sheet, S::kRowOwner.at(14), "T");  // the last hand-filled row
  text(sheet, S::kRowOwner.at(0), "S", 2);
  uint16_t counter = 1;
  bool split = true;
  const Lines lines = linesOf([&] { writer->writeScheduleDTransactions(counter, 0, split); });
  EXPECT_EQ((Lines{"00027.000.001 VARIOUS", "00030.000.001 2018-06-30", "00025.000.002 VARIOUS",
                   "00037.000.002 LOT 2", "00025.000.003 2017-01-02", "00037.000.003 BANKRUPT"}),
            withPrefix(lines, {"00025", "00027", "0003"}));
  EXPECT_EQ((Lines{"00060.000.001 0", "00060.000.002 0", "00060.000.003 0", "00060.000.015 0", "00060.000.016 0"}),
            withPrefix(lines, "00060"));
  // The residence lines come twice: on their own, then with the totals.
  EXPECT_EQ(2u, withPrefix(lines, "01400.000.001 300").size());
  EXPECT_EQ(2, counter);
}

}  // namespace
}  // namespace pa_tif_test
