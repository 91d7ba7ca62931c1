// The whole-return driver: copy synchronisation with the federal return,
// fixed forms and the calculation order.
#include <vector>

#include "calc/pa/tests/driver_fixture.h"

namespace {

class CalcStateReturnTest : public DriverTest {};

TEST_F(CalcStateReturnTest, WalksTheFixedCalculationOrderOverEveryCopy) {
  holder(kFormID_PAScheduleA, 3);
  engine->calcStateReturn();
  const std::vector<int> expected = {
      168, 169, 16, 17, 18, 179, 187, 186, 181, 170, 178, 155696, 155697, 173, 174, 56126, 177, 9341, 36090,
      169, 170, 155696, 155697, 173, 174, 56126, 177, 9341, 178,  // 20-29
      169, 176, 488, 169, 176, 172,                                // 30-35
      169, 488, 183, 184, 185, 143868};
  EXPECT_EQ(engine->walked, expected);
  std::vector<int> scheduleACopies;  // highest first, never marked data-entered
  for (const FormCopyCall& call : engine->forms) {
    if (call.form == kFormID_PAScheduleA.getNumber()) scheduleACopies.push_back(call.copy);
    EXPECT_FALSE(call.markDataEntered) << call.form << "/" << call.copy;
  }
  EXPECT_EQ(scheduleACopies, (std::vector<int>{3, 1, 3, 1}));
}

// Without federal forms copy 1 of every fixed form exists, and copy 2 of
// the spouse's forms on a joint return only.
TEST_F(CalcStateReturnTest, FixedFormsAndTheSpouseCopies) {
  const FormId* const kFixed[] = {
      &kFormID_PA40,          &kFormID_PAScheduleSP, &kFormID_PAInterestDividendWorksheet,
      &kFormID_PAScheduleA,   &kFormID_PAScheduleB,  &kFormID_PAScheduleD,
      &kFormID_PAScheduleW2S, &kFormID_PAW2,         &kFormID_PAMiscCompWorksheet,
      &kFormID_PAScheduleE,   &kFormID_PAScheduleJ,  &kFormID_PAScheduleOC,
      &kFormID_PAW2GIncome,   &kFormID_PADeductions, &kFormID_State45316};
  for (bool joint : {false, true}) {
    engine.reset();
    SetUp();
    if (joint) setJoint();
    engine->calcStateReturn();
    for (const FormId* form : kFixed) EXPECT_TRUE(exists(*form, 1)) << form->getNumber();
    for (const FormId* form :
         {&kFormID_PAScheduleA, &kFormID_PAScheduleB, &kFormID_PAScheduleD, &kFormID_State45316}) {
      EXPECT_EQ(exists(*form, 2), joint) << form->getNumber();
    }
    EXPECT_FALSE(exists(kFormID_PAW2, 2));
    EXPECT_TRUE(pa->formNo(kFormID_PAReturnInfo, 1, PAReturnInfo::kSaleRecordsBox));
  }
}

// PA W-2 copy k lists federal copies 18k-17 .. 18k; the count the driver
// works from starts at one, and a W-2 above a gap still gets its copy.
TEST_F(CalcStateReturnTest, PAW2CopiesFollowTheFederalW2s) {
  // Federal copies 1..n, a further copy above a gap, the PA copies.
  const int kRows[][3] = {{0, 0, 1}, {17, 0, 1}, {18, 0, 2}, {36, 0, 3}, {1, 40, 3}};
  for (const auto& row : kRows) {
    engine.reset();
    SetUp();
    federalCopies(kFormID_FedW2, row[0]);
    if (row[1] != 0) holder(kFormID_FedW2, static_cast<uint16_t>(row[1]));
    engine->calcStateReturn();
    EXPECT_EQ(pa->getMaxCopies(kFormID_PAW2), row[2]) << row[0] << "/" << row[1];
    EXPECT_TRUE(exists(kFormID_PAW2, static_cast<uint16_t>(row[2])));
  }
}

// Schedule C copies link the federal copies that are no statutory
// employee's, a left-over copy is emptied; sale record c goes to row
// (c - 1) mod 12 of worksheet copy (c - 1) / 12 + 1; the misc-comp source
// references are rebuilt.
TEST_F(CalcStateReturnTest, ScheduleCSaleRecordAndMiscCompLinks) {
  federalCopies(kFormID_FedScheduleC, 3);
  mark(kFormID_FedScheduleC, FedScheduleC::kStatutoryEmployeeBox, 2);
  number(kFormID_PAScheduleC, PAScheduleC::kFederalCopyNumber, 9, 3);
  federalCopies(kFormID_Fed135, 13);
  const auto& link = PAScheduleDWorksheet::kRowFederalLink;
  number(kFormID_PAScheduleDWorksheet, link.at(4), 99, 2);
  text(kFormID_PAMiscCompWorksheet, PAMiscCompWorksheet::kRowSourceReference.at(19), "99/2", 2);
  engine->calcStateReturn();
  EXPECT_EQ(pa->getIN(kFormID_PAScheduleC, 2, PAScheduleC::kFederalCopyNumber), 3);
  EXPECT_TRUE(pa->formYes(kFormID_PAScheduleC, 2, PAScheduleC::kFromFederalYesBox));
  EXPECT_TRUE(exists(kFormID_PAScheduleC, 3));
  EXPECT_TRUE(pa->isNull(kFormID_PAScheduleC, 3, PAScheduleC::kFederalCopyNumber));
  EXPECT_EQ(pa->getIN(kFormID_PAScheduleDWorksheet, 1, link.at(11)), 12);
  EXPECT_EQ(pa->getIN(kFormID_PAScheduleDWorksheet, 2, link.at(0)), 13);
  EXPECT_TRUE(pa->isNull(kFormID_PAScheduleDWorksheet, 2, link.at(4)));
  EXPECT_TRUE(pa->formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kSaleRecordsBox));
  EXPECT_TRUE(pa->isNull(kFormID_PAMiscCompWorksheet, 2, PAMiscCompWorksheet::kRowSourceReference.at(19)));
}

// Schedule E copies link the federal Schedule E copies, then the Form 4835
// copies; a left-over copy is emptied.
TEST_F(CalcStateReturnTest, ScheduleECopiesLinkScheduleEThenForm4835) {
  federalCopies(kFormID_FedScheduleE, 2);
  federalCopies(kFormID_FedFarmRental, 1);
  number(kFormID_PAScheduleE, PAScheduleE::kPANetIncome, 7, 4);
  engine->calcStateReturn();
  const int kSources[][2] = {{1, 1}, {2, 1}, {1, 0}};  // federal copy, from a Schedule E
  for (uint16_t c = 1; c <= 3; ++c) {
    EXPECT_EQ(pa->getIN(kFormID_PAScheduleE, c, PAScheduleE::kFederalCopyNumber), kSources[c - 1][0]);
    EXPECT_EQ(pa->formYes(kFormID_PAScheduleE, c, PAScheduleE::kFromScheduleEBox), kSources[c - 1][1] == 1);
  }
  EXPECT_TRUE(pa->isNull(kFormID_PAScheduleE, 4, PAScheduleE::kPANetIncome));
}

// Copy 1 without a federal source keeps the property the user entered; a
// copy 1 still linked to a source that is gone loses the link and what
// came from it. Either keeps the filer-level amounts.
TEST_F(CalcStateReturnTest, ScheduleECopyOneWithoutAFederalSource) {
  for (const FieldId* linkBox : {static_cast<const FieldId*>(nullptr), &PAScheduleE::kFromScheduleEBox.id(),
                                 &PAScheduleE::kFromForm4835Box.id()}) {
    engine.reset();
    SetUp();
    if (linkBox != nullptr) {
      mark(kFormID_PAScheduleE, *linkBox);
      number(kFormID_PAScheduleE, PAScheduleE::kFederalCopyNumber, 1);
    }
    number(kFormID_PAScheduleE, PAScheduleE::kPANetIncome, 5000);
    number(kFormID_PAScheduleE, PAScheduleE::kTaxpayerFirstRK1Income, 40);
    engine->calcStateReturn();
    EXPECT_EQ(pa->isNull(kFormID_PAScheduleE, 1, PAScheduleE::kPANetIncome), linkBox != nullptr);
    EXPECT_EQ(pa->getIN(kFormID_PAScheduleE, 1, PAScheduleE::kTaxpayerFirstRK1Income), 40);
    EXPECT_FALSE(linkBox != nullptr && pa->formYes(kFormID_PAScheduleE, 1, *linkBox));
  }
}

}  // namespace
