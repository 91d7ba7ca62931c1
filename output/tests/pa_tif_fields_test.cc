// The PA writer's field hooks: values rewritten in place, the lines added
// at trigger fields, the header record's tax-period lines and the value
// cleaners.
#include "output/tests/pa_tif_writer_fixture.h"

namespace pa_tif_test {
namespace {

TEST_F(PATifWriterTest, CodesAreRewrittenInPlace) {
  mark(kFormID_PAScheduleA, PAScheduleA::kSpouseBox);
  mark(kFormID_PAScheduleA, PAScheduleA::kJointBox);
  const struct {
    const FormId& form;
    AnyNamedField field;
    const char* value;
    bool partYear;
    Lines written;
  } cases[] = {
      {kFormID_PA40, PA40::kExtensionText, "Y", false, {"FIELD X"}},
      {kFormID_PA40, PA40::kExtensionText, "N", false, {}},
      {kFormID_PA40, PA40::kPenaltyFiguredText, "", false, {}},
      {kFormID_PA40, PA40::kFarmerText, "Y", false, {}},
      {kFormID_PA40, PA40::kPartYearFromDate, "0415", true, {"FIELD 2018-04-15"}},
      {kFormID_PA40, PA40::kPartYearToDate, "0415", false, {"FIELD 0415"}},
      // "MMDD" or the calculation's "MM/DD/YY"; any other text stays.
      {kFormID_PA40, PA40::kPartYearFromDate, "041", true, {"FIELD 041"}},
      {kFormID_PA40, PA40::kPartYearToDate, "04/15/18", true, {"FIELD 2018-04-15"}},
      {kFormID_PA40, PA40::kPartYearToDate, "4/15/18", true, {"FIELD 4/15/18"}},
      // The office ratio, kept in ten-thousandths, as the ratio itself.
      {kFormID_PAScheduleUE, PAScheduleUE::kOfficeRatioCopy, "2500", false, {"FIELD 0.2500"}},
      {kFormID_PAScheduleUE, PAScheduleUE::kOfficeRatioCopy, "0", false, {"FIELD 0"}},
      {kFormID_PAScheduleUE, PAScheduleUE::kOfficeRatio, "2500", false, {"FIELD 0.2500"}},
      {kFormID_PAScheduleUE, PAScheduleUE::kBusinessShare, "750000", false, {"FIELD 0.750000"}},
      // Owner codes: the last of the marked boxes; none marked leaves the value.
      {kFormID_PAScheduleA, PAScheduleA::kTaxpayerBox, "X", false, {"FIELD J"}},
      {kFormID_PAScheduleB, PAScheduleB::kTaxpayerBox, "X", false, {"FIELD X"}},
  };
  for (const auto& c : cases) {
    copyOf(kFormID_PAReturnInfo)
        ->store(PAReturnInfo::kPartYearResidentBox, c.partYear ? FieldValue::mark() : FieldValue::null());
    EXPECT_EQ(c.written, convert(c.form, c.field, c.value)) << c.value;
  }
}

TEST_F(PATifWriterTest, FilingStatusLetterOfMovedOrSeparateFilers) {
  EXPECT_EQ((Lines{"00305.002.001 MOVED FROM PA", "FIELD F"}),
            convert(kFormID_PA40, PA40::kFilingStatusCode, "F"));
  text(kFormID_PAReturnInfo, PAReturnInfo::kSpouseSSNSecondEntry, "222-00-0002");
  EXPECT_EQ((Lines{"00310.005.001 M", "00310.007.001 222-00-0002"}),
            convert(kFormID_PA40, PA40::kFilingStatusCode, "M"));
  text(kFormID_FedFilerInfo, FedFilerInfo::kSpouseSsn, "111-00-0001");
  EXPECT_EQ((Lines{"00310.005.001 M", "00310.007.001 111-00-0001"}),
            convert(kFormID_PA40, PA40::kFilingStatusCode, "M"));
}

TEST_F(PATifWriterTest, HeaderRecordGetsTheTaxPeriodByFilingStatus) {
  text(kFormID_Fed131, Fed131::kClearedCodeItem, "P1");
  text(kFormID_FedFilerInfo, FedFilerInfo::kSpouseFirstName, "Ann");
  auto headerLines = [&](const FieldId& field) {
    char value[TifWriteMgmt::kTifValueSize] = "1";
    return linesOf([&] {
      writer->convertStateHeaderField(copyOf(kFormID_Fed131), kFormID_Fed131, 1, field, nullptr, value);
    });
  };
  Lines lines = {"00315.000.001 2018", "01085.000.001 2018-01-01", "01090.000.001 2018-12-31",
                 "01190.000.001 VazoviZuziv", "01225.000.001 P1"};
  EXPECT_EQ(lines, headerLines(Fed131::kStateReturnChoice));  // single
  EXPECT_TRUE(headerLines(Fed131::kClearedCodeItem).empty());
  mark(kFormID_PAReturnInfo, PAReturnInfo::kJointBox);
  lines.push_back("01230.000.001 P1");
  EXPECT_EQ(lines, headerLines(Fed131::kStateReturnChoice));
  mark(kFormID_PAReturnInfo, PAReturnInfo::kSeparateBox);
  lines.back() = "01240.000.001 ANN";
  EXPECT_EQ(lines, headerLines(Fed131::kStateReturnChoice));
}

TEST_F(PATifWriterTest, SchoolDistrictLinesAtTheTaxpayersNumber) {
  text(kFormID_PAReturnInfo, PAReturnInfo::kSchoolCode, "123");
  text(kFormID_PAReturnInfo, PAReturnInfo::kSchoolDistrict, "North-Penn 12-34");
  EXPECT_EQ((Lines{"00310.003.001 North Penn 12 34", "00310.004.001 00123"}),
            convert(kFormID_PA40, PA40::kTaxpayerSSN, "111-00-0001"));
  text(kFormID_PAReturnInfo, PAReturnInfo::kSchoolCode, "");
  text(kFormID_PAReturnInfo, PAReturnInfo::kSchoolDistrict, "");
  EXPECT_EQ(Lines{"00310.004.001 00000"}, convert(kFormID_PA40, PA40::kTaxpayerSSN, "1"));
}

TEST_F(PATifWriterTest, DepositWinsOverDebit) {
  const FormId& form = kFormID_PADirectDepositDebit;
  number(form, PADirectDepositDebit::kRefund, 50);
  mark(form, PADirectDepositDebit::kDirectDepositBox);
  number(form, PADirectDepositDebit::kAmountOwed, 70);
  mark(form, PADirectDepositDebit::kDirectDebitBox);
  text(kFormID_PAReturnInfo, PAReturnInfo::kDepositRoutingNumber, "011000015");
  EXPECT_EQ((Lines{"00024.000.001 1", "00200.000.001 011000015", "04020.000.001 X"}),
            convert(form, PADirectDepositDebit::kTaxpayerSSN, "1"));
  number(form, PADirectDepositDebit::kRefund, 0);
  EXPECT_EQ((Lines{"00024.000.001 2", "04080.000.001 X"}), convert(form, PADirectDepositDebit::kTaxpayerSSN, "1"));
}

TEST_F(PATifWriterTest, ScheduleUEEducationAnswersReadTheirBoxesInOrder) {
  const FormId& form = kFormID_PAScheduleUE;
  number(form, PAScheduleUE::kEducationExpenses, 900);
  mark(form, PAScheduleUE::kSecondEducationQuestionYesBox);
  mark(form, PAScheduleUE::kSecondEducationQuestionNoBox);
  mark(form, PAScheduleUE::kEducationNoBox);
  EXPECT_EQ((Lines{"00690.000.001 0", "00710.000.001 0", "FIELD S"}),
            convert(form, PAScheduleUE::kTaxpayerBox, "X"));
}

TEST_F(PATifWriterTest, DependentsListChildrenOnly) {
  const FormId& form = kFormID_FedDependents;
  const std::string longPart(200, 'a');
  const char* const relationships[] = {"son", "PARENT", "Foster Child", "FOSTERCHILD"};
  for (uint16_t copy = 1; copy <= 4; ++copy) {
    text(form, FedDependents::kRelationship, relationships[copy - 1], copy);
    text(form, FedDependents::kFirstName, copy == 4 ? longPart : "Kid" + std::to_string(copy), copy);
    text(form, FedDependents::kLastName, copy == 4 ? longPart : "Doe", copy);
  }
  const std::string longName = "00210.000.002 " + std::string(401, 'A').replace(200, 1, " ");
  EXPECT_EQ((Lines{"00210.000.001 KID DOE", "00230.000.001 SON", longName, "00230.000.002 FOSTERCHILD",
                   "00027.000.001 0"}),
            convert(kFormID_PAScheduleSP, PAScheduleSP::kTaxpayerSSN, "1"));
}

TEST_F(PATifWriterTest, RowsAreReadFromTheCopyBeingConverted) {
  // The deductions schedule: the rows of copy 2 are tested and written from copy 2.
  text(kFormID_PADeductions, PADeductions::kTuitionBeneficiaryName.at(1), "First", 1);
  text(kFormID_PADeductions, PADeductions::kTuitionBeneficiaryName.at(1), "Second", 2);
  text(kFormID_PADeductions, PADeductions::kAbleBeneficiaryName.at(2), "Able", 2);
  EXPECT_EQ((Lines{"00020.000.001 SECOND", "00070.000.001 ABLE"}),
            convert(kFormID_PADeductions, PADeductions::kFilerSSN, "1", 2));
  // Schedule C's dated rows: business 2's own dates.
  const FormId& c = kFormID_PAScheduleC;
  number(c, PAScheduleC::kTotalAssetBasis, 5000, 2);
  text(c, PAScheduleC::kAssetDate.at(0), "03/01/2016", 1);
  text(c, PAScheduleC::kAssetDate.at(11), "07/04/2017", 2);
  text(c, PAScheduleC::kAssetDescription.at(11), "Van", 2);
  // Every other-expense row with an amount: the home office's and eight more.
  number(c, PAScheduleC::kTotalOtherExpenses, 396, 2);
  for (int row = 0; row < 9; ++row) number(c, PAScheduleC::kOtherExpenseAmount.at(row), 44, 2);
  const Lines lines = convert(c, PAScheduleC::kOwnerSSN, "2", 2);
  EXPECT_EQ((Lines{"01290.000.012 VAN", "01300.000.012 2017-07-04"}), withPrefix(lines, {"01290", "01300"}));
  EXPECT_EQ((Lines{"00550.000.009 44"}), withPrefix(lines, "00550.000.009"));
}

TEST_F(PATifWriterTest, FormStringsOfForm131AndOtherAndPlainStringsStayAsEntered) {
  using W = PATifWriteMgmt::PATifFileWriter;
  auto clean = [&](auto hook, const FormId& form) {
    char value[TifWriteMgmt::kTifValueSize] = "A*B  C";
    ((*writer).*hook)(DataMgmt::TaxFormPtr(), form, FieldId(1), value);
    return std::string(value);
  };
  EXPECT_EQ("A*B  C", clean(&W::cleanFormString, kFormID_Fed131));
  EXPECT_EQ("A B C", clean(&W::cleanFormString, kFormID_PA40));
  EXPECT_EQ("A*B  C", clean(&W::cleanOtherString, kFormID_PA40));
  EXPECT_EQ("A*B  C", clean(&W::cleanPlainString, kFormID_PA40));
}

}  // namespace
}  // namespace pa_tif_test
