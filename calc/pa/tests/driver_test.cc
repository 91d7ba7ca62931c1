// The whole-return driver: copy synchronisation with the federal return,
// fixed forms, calculation order and the automated-test hooks.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "calc/pa/tests/driver_fixture.h"
#include "host/configuration.h"

namespace {

using FieldId = Primitives::OVImmutableIdentifier;
using FormId = Primitives::OVImmutableFormIdentifier;

// Host field numbers, looked up in the catalogs by number so that the
// tests check the member positions the driver uses.
const FieldId& scheduleC(int hostField) { return kPAScheduleCFieldIds.byNumber(hostField); }
const FieldId& scheduleE(int hostField) { return kPAScheduleEFieldIds.byNumber(hostField); }
const FieldId& worksheetLink(int row) { return kPAScheduleDWorksheetFieldIds.byNumber(196105 + row); }
const FieldId& saleRecordMark() { return kPAReturnInfoFieldIds.byNumber(150736); }

class CalcStateReturnTest : public DriverTest {};

TEST_F(CalcStateReturnTest, WalksTheFixedCalculationOrder) {
  engine->calcStateReturn();
  const std::vector<int> expected = {
      168, 169, 16, 17, 18, 179, 187, 186, 181, 170, 178, 155696, 155697, 173, 174, 56126, 177, 9341, 36090,
      169, 170, 155696, 155697, 173, 174, 56126, 177, 9341, 178,
      169, 176, 488,
      169, 176, 172,
      169, 488, 183, 184, 185, 143868};
  EXPECT_EQ(engine->walked, expected);
}

TEST_F(CalcStateReturnTest, WithoutFederalFormsEveryFixedFormHasCopyOne) {
  engine->calcStateReturn();
  const FormId* fixed[] = {&kFormID_PA40, &kFormID_PAScheduleSP, &kFormID_PAInterestDividendWorksheet,
                           &kFormID_PAScheduleA, &kFormID_PAScheduleB, &kFormID_PAScheduleD,
                           &kFormID_PAScheduleW2S, &kFormID_PAW2, &kFormID_PAMiscCompWorksheet,
                           &kFormID_PAScheduleE, &kFormID_PAScheduleJ, &kFormID_PAScheduleOC,
                           &kFormID_PAW2GIncome, &kFormID_PADeductions, &kFormID_State45316};
  for (const FormId* form : fixed) {
    EXPECT_TRUE(exists(*form, 1)) << form->getNumber();
  }
  EXPECT_FALSE(exists(kFormID_PAW2, 2));
  EXPECT_FALSE(exists(kFormID_PAScheduleA, 2));
  EXPECT_FALSE(exists(kFormID_State45316, 2));
  EXPECT_TRUE(pa->formNo(kFormID_PAReturnInfo, 1, saleRecordMark()));
  EXPECT_FALSE(pa->formYes(kFormID_PAReturnInfo, 1, saleRecordMark()));
}

TEST_F(CalcStateReturnTest, EveryStepCalculatesEveryCopyHighestFirstWithoutMarkingIt) {
  holder(kFormID_PAScheduleA, 3);
  engine->calcStateReturn();
  std::vector<int> scheduleACopies;
  for (const FormCopyCall& call : engine->forms) {
    if (call.form == kFormID_PAScheduleA.getNumber()) scheduleACopies.push_back(call.copy);
    EXPECT_FALSE(call.markDataEntered) << call.form << "/" << call.copy;
  }
  // Steps 12 and 22; copy 2 does not exist on a return that is not joint.
  EXPECT_EQ(scheduleACopies, (std::vector<int>{3, 1, 3, 1}));
}

TEST_F(CalcStateReturnTest, JointReturnGetsTheSpouseCopies) {
  setJoint();
  engine->calcStateReturn();
  for (const FormId* form : {&kFormID_PAScheduleA, &kFormID_PAScheduleB, &kFormID_PAScheduleD,
                             &kFormID_State45316}) {
    EXPECT_TRUE(exists(*form, 2)) << form->getNumber();
  }
}

// PA W-2 copy k lists federal W-2 copies 18k-17 .. 18k; the count the
// driver works from starts at one.
TEST_F(CalcStateReturnTest, PAW2CopiesFollowTheFederalW2Count) {
  struct Row {
    int federalCopies;
    int paCopies;
  };
  const Row rows[] = {{0, 1}, {1, 1}, {17, 1}, {18, 2}, {19, 2}, {35, 2}, {36, 3}};
  for (const Row& row : rows) {
    engine.reset();
    SetUp();
    federalCopies(kFormID_FedW2, row.federalCopies);
    engine->calcStateReturn();
    EXPECT_EQ(pa->getMaxCopies(kFormID_PAW2), row.paCopies) << row.federalCopies << " federal W-2";
    EXPECT_TRUE(exists(kFormID_PAW2, static_cast<uint16_t>(row.paCopies)));
  }
}

// A federal W-2 above a gap in the copy numbers still gets the PA W-2 copy
// whose rows hold it.
TEST_F(CalcStateReturnTest, PAW2CopyForAFederalW2AboveAGap) {
  holder(kFormID_FedW2, 1);
  holder(kFormID_FedW2, 40);
  engine->calcStateReturn();
  EXPECT_TRUE(exists(kFormID_PAW2, 2));
  EXPECT_TRUE(exists(kFormID_PAW2, 3));
}

TEST_F(CalcStateReturnTest, SurplusPAW2CopiesStay) {
  number(kFormID_PAW2, kPAW2FieldIds[1], 5, 4);
  engine->calcStateReturn();
  EXPECT_TRUE(exists(kFormID_PAW2, 4));
  EXPECT_EQ(pa->getIN(kFormID_PAW2, 4, kPAW2FieldIds[1]), 5);
  EXPECT_FALSE(exists(kFormID_PAW2, 2));
}

TEST_F(CalcStateReturnTest, ScheduleCCopiesLinkTheQualifyingFederalCopies) {
  federalCopies(kFormID_FedScheduleC, 3);
  mark(kFormID_FedScheduleC, kFedScheduleCFieldIds.byNumber(154), 2);
  number(kFormID_PAScheduleC, scheduleC(56133), 9, 3);
  engine->calcStateReturn();

  EXPECT_EQ(pa->getIN(kFormID_PAScheduleC, 1, scheduleC(56133)), 1);
  EXPECT_EQ(pa->getIN(kFormID_PAScheduleC, 2, scheduleC(56133)), 3);
  for (uint16_t c : {1, 2}) {
    EXPECT_TRUE(pa->formYes(kFormID_PAScheduleC, c, scheduleC(56135)));
    EXPECT_TRUE(pa->formNo(kFormID_PAScheduleC, c, scheduleC(56136)));
  }
  // The old third copy lost its source: emptied, not deleted.
  EXPECT_TRUE(exists(kFormID_PAScheduleC, 3));
  EXPECT_TRUE(pa->isNull(kFormID_PAScheduleC, 3, scheduleC(56133)));
}

TEST_F(CalcStateReturnTest, ScheduleCCopyThatCannotBeMadeUsesNoNumber) {
  limitCopies(kFormID_PAScheduleC, 1);
  federalCopies(kFormID_FedScheduleC, 2);
  engine->calcStateReturn();
  EXPECT_EQ(pa->getIN(kFormID_PAScheduleC, 1, scheduleC(56133)), 1);
  EXPECT_FALSE(exists(kFormID_PAScheduleC, 2));
}

TEST_F(CalcStateReturnTest, ScheduleECopiesLinkScheduleEThenForm4835) {
  federalCopies(kFormID_FedScheduleE, 2);
  federalCopies(kFormID_FedFarmRental, 1);
  number(kFormID_PAScheduleE, scheduleE(129), 7, 4);
  engine->calcStateReturn();

  for (uint16_t c : {1, 2}) {
    EXPECT_EQ(pa->getIN(kFormID_PAScheduleE, c, scheduleE(201)), c);
    EXPECT_TRUE(pa->formYes(kFormID_PAScheduleE, c, scheduleE(202)));
    EXPECT_TRUE(pa->formNo(kFormID_PAScheduleE, c, scheduleE(203)));
  }
  EXPECT_EQ(pa->getIN(kFormID_PAScheduleE, 3, scheduleE(201)), 1);
  EXPECT_TRUE(pa->formNo(kFormID_PAScheduleE, 3, scheduleE(202)));
  EXPECT_TRUE(pa->formYes(kFormID_PAScheduleE, 3, scheduleE(203)));
  EXPECT_TRUE(exists(kFormID_PAScheduleE, 4));
  EXPECT_TRUE(pa->isNull(kFormID_PAScheduleE, 4, scheduleE(129)));
}

TEST_F(CalcStateReturnTest, ScheduleECopyOneKeepsItsEntriesWithoutFederalRentals) {
  number(kFormID_PAScheduleE, scheduleE(129), 11, 1);
  number(kFormID_PAScheduleE, scheduleE(129), 12, 2);
  engine->calcStateReturn();
  EXPECT_EQ(pa->getIN(kFormID_PAScheduleE, 1, scheduleE(129)), 11);
  EXPECT_TRUE(pa->isNull(kFormID_PAScheduleE, 2, scheduleE(129)));
}

// A copy 1 linked to a federal Schedule E that is gone loses the link and
// what came from it, but keeps the filer-level amounts the user entered.
TEST_F(CalcStateReturnTest, LinkedScheduleECopyOneWithoutItsSourceIsUnlinked) {
  for (int linkBox : {202, 203}) {
    mark(kFormID_PAScheduleE, scheduleE(linkBox));
    number(kFormID_PAScheduleE, scheduleE(201), 1);
    number(kFormID_PAScheduleE, scheduleE(129), 5000);
    number(kFormID_PAScheduleE, scheduleE(219), 40);
    engine->calcStateReturn();
    EXPECT_FALSE(pa->formYes(kFormID_PAScheduleE, 1, scheduleE(linkBox))) << linkBox;
    EXPECT_TRUE(pa->isNull(kFormID_PAScheduleE, 1, scheduleE(201))) << linkBox;
    EXPECT_TRUE(pa->isNull(kFormID_PAScheduleE, 1, scheduleE(129))) << linkBox;
    EXPECT_EQ(pa->getIN(kFormID_PAScheduleE, 1, scheduleE(219)), 40) << linkBox;
  }
}

TEST_F(CalcStateReturnTest, SaleRecordsAreLinkedTwelveToAWorksheetCopy) {
  federalCopies(kFormID_Fed135, 13);
  number(kFormID_PAScheduleDWorksheet, worksheetLink(4), 99, 2);  // stale link
  engine->calcStateReturn();

  for (int row = 0; row < 12; ++row) {
    EXPECT_EQ(pa->getIN(kFormID_PAScheduleDWorksheet, 1, worksheetLink(row)), row + 1) << row;
  }
  EXPECT_EQ(pa->getIN(kFormID_PAScheduleDWorksheet, 2, worksheetLink(0)), 13);
  for (int row = 1; row < 12; ++row) {
    EXPECT_TRUE(pa->isNull(kFormID_PAScheduleDWorksheet, 2, worksheetLink(row))) << row;
  }
  EXPECT_TRUE(pa->formYes(kFormID_PAReturnInfo, 1, saleRecordMark()));
}

TEST_F(CalcStateReturnTest, SaleRecordBeyondTheWorksheetLimitIsNotLinked) {
  limitCopies(kFormID_PAScheduleDWorksheet, 1);
  federalCopies(kFormID_Fed135, 13);
  engine->calcStateReturn();
  EXPECT_EQ(pa->getIN(kFormID_PAScheduleDWorksheet, 1, worksheetLink(11)), 12);
  EXPECT_FALSE(exists(kFormID_PAScheduleDWorksheet, 2));
  EXPECT_TRUE(pa->formYes(kFormID_PAReturnInfo, 1, saleRecordMark()));
}

TEST_F(CalcStateReturnTest, MiscCompSourceReferencesAreRebuilt) {
  text(kFormID_PAMiscCompWorksheet, kPAMiscCompWorksheetFieldIds[1], "99/1", 2);
  text(kFormID_PAMiscCompWorksheet, kPAMiscCompWorksheetFieldIds[20], "99/2", 2);
  engine->calcStateReturn();
  EXPECT_TRUE(pa->isNull(kFormID_PAMiscCompWorksheet, 2, kPAMiscCompWorksheetFieldIds[1]));
  EXPECT_TRUE(pa->isNull(kFormID_PAMiscCompWorksheet, 2, kPAMiscCompWorksheetFieldIds[20]));
}

// The automated-test hooks run only when the host allows them. The options
// file asks the scrubber to replace the taxpayer name and the cycle daemon
// to dump the return; the scrubber runs first and marks the done box, so
// the daemon, which shares it, does nothing in the same calculation.
TEST_F(CalcStateReturnTest, TestHooksRunOnlyWhenTheHostAllowsThem) {
  const std::string dir = ::testing::TempDir() + "driver_hooks_" + std::to_string(::getpid()) + "/";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  DataMgmt::OrvaneConfiguration::getInstance().setAutoTestDir(dir);
  std::ofstream(dir + "OrvaneAutoTest_OVQA.xml")
      << "<AUTOTESTOPTIONS><SCRUBBER>Yes</SCRUBBER><INPUTFIELDLIST>groups.xml</INPUTFIELDLIST>"
         "<PAGENERATECYCLEDAEMON>Yes</PAGENERATECYCLEDAEMON>"
         "<PAOUTPUTDIRDAEMON>dump</PAOUTPUTDIRDAEMON></AUTOTESTOPTIONS>\n";
  std::ofstream(dir + "groups.xml")
      << "<FIELDGROUPS><FIELDGROUP ENTITY=\"PA\"><FIELDREF FORM=\"PAReturnInfo\" COPY=\"1\" "
         "FIELD=\"kPARETURNINFO_F31\" VALUE=\"Anon\"/></FIELDGROUP></FIELDGROUPS>\n";
  const FieldId& name = kPAReturnInfoFieldIds.byNumber(31);
  const FieldId& doneBox = kPAReturnInfoFieldIds.byNumber(81567);
  text(kFormID_PAReturnInfo, name, "Jane Doe");

  engine->calcStateReturn();
  EXPECT_EQ(pa->getFieldAsString(kFormID_PAReturnInfo, 1, name), "Jane Doe");
  EXPECT_FALSE(pa->formYes(kFormID_PAReturnInfo, 1, doneBox));

  DataMgmt::OrvaneConfiguration::getInstance().setAllowAutoTest(true);
  engine->calcStateReturn();
  EXPECT_EQ(pa->getFieldAsString(kFormID_PAReturnInfo, 1, name), "Anon");
  EXPECT_TRUE(pa->formYes(kFormID_PAReturnInfo, 1, doneBox));
  EXPECT_FALSE(std::filesystem::exists(dir + "dump/PAReturn.xml"));

  // With the box unmarked and only the daemon switched on, it writes its
  // dump (recalculating with the in-progress box marked) and marks the box.
  std::ofstream(dir + "OrvaneAutoTest_OVQA.xml")
      << "<AUTOTESTOPTIONS><PAGENERATECYCLEDAEMON>Yes</PAGENERATECYCLEDAEMON>"
         "<PAOUTPUTDIRDAEMON>dump</PAOUTPUTDIRDAEMON></AUTOTESTOPTIONS>\n";
  holder(kFormID_PAReturnInfo)->setXNo(doneBox);
  engine->calcStateReturn();
  EXPECT_TRUE(std::filesystem::exists(dir + "dump/PAReturn.xml"));
  EXPECT_TRUE(pa->formYes(kFormID_PAReturnInfo, 1, doneBox));
  EXPECT_TRUE(pa->formNo(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds.byNumber(81566)));
  std::filesystem::remove_all(dir);
}

// The whole road through the real calculations: nothing fails on an empty
// return or one with a few federal copies, and postCalc fills the summary.
TEST_F(CalcStateReturnTest, WholeReturnThroughTheCalculations) {
  engine->calculate = true;
  engine->calcReturn(0);
  EXPECT_TRUE(pa->getForm(kFormID_StateSummary, 1)->isDataEntered());

  federalCopies(kFormID_FedW2, 2);
  federalCopies(kFormID_FedScheduleC, 1);
  federalCopies(kFormID_FedScheduleE, 1);
  federalCopies(kFormID_Fed135, 2);
  setJoint();
  engine->calcReturn(0);
  EXPECT_EQ(pa->getIN(kFormID_PAScheduleC, 1, scheduleC(56133)), 1);
  EXPECT_EQ(pa->getIN(kFormID_PAScheduleDWorksheet, 1, worksheetLink(1)), 2);
}

}  // namespace
