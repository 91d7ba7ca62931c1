// The automated-test hooks: gating by the host switch, the option and clear
// files, the done and in-progress boxes, the order of the PA driver's
// steps and the refusal of paths that leave the automated-test directory.
#include <string>
#include <utility>
#include <vector>

#include "host/xml.h"
#include "testing/tests/auto_test_fixture.h"

namespace {

typedef std::vector<std::pair<std::string, std::string>> Options;

const char kClearPA[] = "PAOrvaneAutoTest_Clear.xml";
const char kClearScrubber[] = "PAOrvaneAutoTest_Clear_Scrubber.xml";
const char kClearDaemon[] = "PAOrvaneAutoTest_Clear_KXTDaemon.xml";
const char kClearNo[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<AUTOTESTOPTIONS>\n<CLEAR>No</CLEAR>\n</AUTOTESTOPTIONS>\n";

// A field group that gives the taxpayer name a new value.
const char kRenameGroup[] =
    "<FIELDGROUPS><FIELDGROUP ENTITY=\"PA\"><FIELDREF FORM=\"PAReturnInfo\" COPY=\"1\" "
    "FIELD=\"kPARETURNINFO_F31\" VALUE=\"Anon\"/></FIELDGROUP></FIELDGROUPS>\n";

class AutoTestHooksTest : public AutoTestFixture {
 protected:
  void allowAutoTest() { DataMgmt::OrvaneConfiguration::getInstance().setAllowAutoTest(true); }
  void markDone() { info()->setX(doneBox()); }
  void runScrubber() {
    engine->runScrubberAutoTest("PA", pa.get(), kFormID_PAReturnInfo, doneBox(), inProgressBox());
  }
  void runDaemon() {
    engine->runCycleDaemonAutoTest("PA", pa.get(), kFormID_PAReturnInfo, doneBox(), inProgressBox());
  }
  const Options namesOnly = {{"PAOUTPUTALLFIELDS", "Yes"},
                             {"PAOUTPUTALLFIELDSFILE", "names.txt"},
                             {"PAOUTPUTALLFIELDSDIR", "out"}};
};

TEST_F(AutoTestHooksTest, WithTheHostSwitchOffNoFileIsReadAndNoBoxChanges) {
  writeClear(kClearPA, "Yes");
  writeOptions({{"PAOUTPUTALLFIELDS", "Yes"}, {"PAOUTPUTALLFIELDSFILE", "names.txt"},
                {"SCRUBBER", "Yes"}, {"INPUTFIELDLIST", "groups.xml"},
                {"PAGENERATECYCLEDAEMON", "Yes"}, {"PAOUTPUTDIRDAEMON", "daemon"}});
  write("groups.xml", kRenameGroup);
  text(kFormID_PAReturnInfo, taxpayerName(), "Jane");
  engine->calcStateReturn();
  EXPECT_FALSE(exists("names.txt"));
  EXPECT_FALSE(exists("daemon"));
  EXPECT_NE(read(kClearPA), kClearNo);
  EXPECT_EQ(valueOf(kFormID_PAReturnInfo, taxpayerName()), "Jane");
  EXPECT_FALSE(pa->formYes(kFormID_PAReturnInfo, 1, doneBox()));
  EXPECT_FALSE(pa->formNo(kFormID_PAReturnInfo, 1, doneBox()));
}

TEST_F(AutoTestHooksTest, OnlyExactlyYesSwitchesAStepOn) {
  for (const char* value : {"yes", "YES", "Yes ", " Yes", "Y", "", "Yes"}) {
    writeOptions({{"PAOUTPUTALLFIELDS", value}, {"PAOUTPUTALLFIELDSFILE", "names.txt"}});
    engine->runAutoTest();
    EXPECT_EQ(exists("names.txt"), std::string(value) == "Yes") << "'" << value << "'";
  }
}

TEST_F(AutoTestHooksTest, WithTheDoneBoxMarkedTheDriverChangesNothing) {
  markDone();
  writeClear(kClearPA, "No");
  writeOptions(namesOnly);
  const std::string clearBefore = read(kClearPA);
  pa->setSaveNeeded(false);
  engine->runAutoTest();
  EXPECT_FALSE(exists("out"));
  EXPECT_TRUE(engine->calls.empty());
  EXPECT_FALSE(pa->isSaveNeeded());
  EXPECT_EQ(read(kClearPA), clearBefore);
}

TEST_F(AutoTestHooksTest, ClearYesUnmarksTheDoneBoxRewritesTheFileAndRunsTheSteps) {
  markDone();
  writeClear(kClearPA, "Yes");
  writeOptions(namesOnly);
  engine->runAutoTest();
  EXPECT_EQ(read(kClearPA), kClearNo);
  EXPECT_TRUE(exists("out/names.txt"));
  EXPECT_TRUE(done());  // marked again by the list writer

  // A clear file that says "Yes" acts once.
  std::filesystem::remove(dir + "out/names.txt");
  engine->runAutoTest();
  EXPECT_FALSE(exists("out/names.txt"));
}

// All six steps in one call, with the host switch on so that the nested
// calculations run the hooks again: they must skip every step. The import
// and the relation run come after the four files are written, so the dumps
// do not hold the imported name and the relation sees it.
TEST_F(AutoTestHooksTest, AllSixStepsRunInTheirOrder) {
  allowAutoTest();
  writeOptions({{"PAGENERATECYCLE", "Yes"},
                {"PAOUTPUTDIR", "values"},
                {"PAOUTPUTFIELDVALUES", "Yes"},
                {"PAOUTPUTFIELDVALUESDIR", "all"},
                {"PAOUTPUTALLFIELDS", "Yes"},
                {"PAOUTPUTALLFIELDSFILE", "names.txt"},
                {"PAOUTPUTALLFIELDSDIR", "names"},
                {"PAOUTPUTALLFIELDSFORSINGLEFORM", "Yes"},
                {"PAOUTPUTALLFIELDSFORSINGLEFORMTARGET", "pa40"},
                {"PAOUTPUTALLFIELDSFORSINGLEFORMFILE", "pa40.txt"},
                {"PAOUTPUTALLFIELDSFORSINGLEFORMDIR", "names"},
                {"PAIMPORTFIELDS", "Yes"},
                {"PAFIELDLIST", "import.txt"},
                {"PAFIELDRELATION", "Yes"},
                {"PAFIELDRELATIONFORMSAFFECTED", "forms.txt"},
                {"PAFIELDRELATIONINPUTFIELDS", "relations.xml"},
                {"PAFIELDRELATIONOUTPUTFIELDS", "results.txt"}});
  write("import.txt", "PARETURNINFO:1:F31:Imported\n");
  write("forms.txt", "PARETURNINFO\n");
  write("relations.xml",
        "<RELATIONS><RELATION><FIELD FORM=\"PARETURNINFO\" COPY=\"1\" NAME=\"F31\" VALUE=\"Imported\" "
        "TYPE=\"Output\"/></RELATION></RELATIONS>\n");
  text(kFormID_PAReturnInfo, taxpayerName(), "Jane");
  std::vector<bool> filesAtImport;
  engine->onImport = [&] {
    for (const char* name : {"values/PAReturn.xml", "all/PAReturn.xml", "names/names.txt", "names/pa40.txt"}) {
      filesAtImport.push_back(exists(name));
    }
  };

  engine->runAutoTest();

  const std::vector<std::string> expected = {
      "calcStateReturn",                     // the field-values dump
      "calcReturn", "calcStateReturn",       // the all-fields dump
      "loadInputTextFile",  "loadInputXmlFile",
      "calcReturn", "calcStateReturn", "calcReturn", "calcStateReturn"};  // the relation
  EXPECT_EQ(engine->calls, expected);
  EXPECT_EQ(filesAtImport, std::vector<bool>(4, true));
  EXPECT_EQ(read("values/PAReturn.xml").find("Imported"), std::string::npos);
  EXPECT_NE(read("values/PAReturn.xml").find("Jane"), std::string::npos);
  EXPECT_EQ(read("all/PAReturn.xml").find("Imported"), std::string::npos);
  EXPECT_EQ(read("results.txt"), "Imported|Imported[T]\n");
  EXPECT_EQ(valueOf(kFormID_PAReturnInfo, taxpayerName()), "Imported");
  EXPECT_TRUE(done());
  EXPECT_FALSE(inProgress());
}

// The import alone does not mark the done box: it runs again at the next
// calculation.
TEST_F(AutoTestHooksTest, TheImportLeavesTheDoneBoxAlone) {
  writeOptions({{"PAIMPORTFIELDS", "Yes"}, {"PAFIELDLIST", "import.txt"}});
  write("import.txt", "PA40:1:F11:100\n");
  engine->runAutoTest();
  EXPECT_EQ(pa->getIN(kFormID_PA40, 1, pa40Line(11)), 100);
  EXPECT_FALSE(done());
}

TEST_F(AutoTestHooksTest, AfterAPADumpTheScrubberAndDaemonWaitUnlessCleared) {
  allowAutoTest();
  Options options = namesOnly;
  options.insert(options.end(), {{"SCRUBBER", "Yes"}, {"INPUTFIELDLIST", "groups.xml"},
                                 {"PAGENERATECYCLEDAEMON", "Yes"}, {"PAOUTPUTDIRDAEMON", "daemon"}});
  writeOptions(options);
  write("groups.xml", kRenameGroup);
  text(kFormID_PAReturnInfo, taxpayerName(), "Jane");

  engine->calcStateReturn();
  EXPECT_TRUE(exists("out/names.txt"));
  EXPECT_EQ(valueOf(kFormID_PAReturnInfo, taxpayerName()), "Jane");
  EXPECT_FALSE(exists("daemon"));

  // The scrubber's clear file says "Yes": it clears the box, scrubs, marks
  // the box again and turns its file to "No"; the daemon still waits.
  writeClear(kClearScrubber, "Yes");
  engine->calcStateReturn();
  EXPECT_EQ(valueOf(kFormID_PAReturnInfo, taxpayerName()), "Anon");
  EXPECT_EQ(read(kClearScrubber), kClearNo);
  EXPECT_FALSE(exists("daemon"));
  EXPECT_TRUE(done());
}

// The cycle daemon's clear file is never rewritten: while it says "Yes"
// the dump is written at every calculation.
TEST_F(AutoTestHooksTest, TheDaemonClearFileActsAtEveryCalculation) {
  writeClear(kClearDaemon, "Yes");
  writeOptions({{"PAGENERATECYCLEDAEMON", "Yes"}, {"PAOUTPUTDIRDAEMON", "daemon"}});
  const std::string clearBefore = read(kClearDaemon);
  for (int run = 0; run < 2; ++run) {
    std::filesystem::remove_all(dir + "daemon");
    runDaemon();
    EXPECT_TRUE(exists("daemon/PAReturn.xml")) << run;
    EXPECT_TRUE(done());
  }
  EXPECT_EQ(read(kClearDaemon), clearBefore);
}

TEST_F(AutoTestHooksTest, TheScrubberSkipsItsWorkWhileAHookRecalculates) {
  writeOptions({{"SCRUBBER", "Yes"}, {"INPUTFIELDLIST", "groups.xml"}});
  write("groups.xml", kRenameGroup);
  text(kFormID_PAReturnInfo, taxpayerName(), "Jane");
  info()->setX(inProgressBox());
  runScrubber();
  EXPECT_EQ(valueOf(kFormID_PAReturnInfo, taxpayerName()), "Jane");
  EXPECT_FALSE(done());
  info()->setXNo(inProgressBox());
  runScrubber();
  EXPECT_EQ(valueOf(kFormID_PAReturnInfo, taxpayerName()), "Anon");
  EXPECT_TRUE(done());
}

// An exception of the host's option reader ends the hook at once, and none
// leaves it.
TEST_F(AutoTestHooksTest, AReaderExceptionEndsEachHookQuietly) {
  writeClear(kClearPA, "Yes");
  writeClear(kClearScrubber, "Yes");
  writeOptions({{"PAOUTPUTALLFIELDS", "Yes"}, {"PAOUTPUTALLFIELDSFILE", "names.txt"},
                {"SCRUBBER", "Yes"}, {"INPUTFIELDLIST", "groups.xml"},
                {"PAGENERATECYCLEDAEMON", "Yes"}, {"PAOUTPUTDIRDAEMON", "daemon"}});
  write("groups.xml", kRenameGroup);
  text(kFormID_PAReturnInfo, taxpayerName(), "Jane");
  markDone();

  // On the clear files: the done box is not cleared.
  PersistanceMgmt::XMLParser::setThrowOnRead(true);
  EXPECT_NO_THROW(engine->runAutoTest());
  EXPECT_NO_THROW(runScrubber());
  EXPECT_NO_THROW(runDaemon());
  EXPECT_TRUE(done());
  EXPECT_NE(read(kClearPA), kClearNo);

  // On the options file only: the clear files act, then every hook ends.
  PersistanceMgmt::XMLParser::setThrowOnRead(true, dir + "OrvaneAutoTest_OVQA.xml");
  EXPECT_NO_THROW(engine->runAutoTest());
  EXPECT_NO_THROW(runScrubber());
  EXPECT_NO_THROW(runDaemon());
  EXPECT_FALSE(done());
  EXPECT_EQ(read(kClearPA), kClearNo);
  EXPECT_FALSE(exists("names.txt"));
  EXPECT_FALSE(exists("daemon"));
  EXPECT_EQ(valueOf(kFormID_PAReturnInfo, taxpayerName()), "Jane");
}

// Option values are paths inside the automated-test directory; one that
// leads out of it keeps its step from running.
TEST_F(AutoTestHooksTest, PathsLeadingOutOfTheDirectoryAreRefused) {
  const std::string outside = ::testing::TempDir() + "autotest_outside_" + std::to_string(::getpid());
  std::filesystem::remove_all(outside);
  writeOptions({{"PAGENERATECYCLE", "Yes"},
                {"PAOUTPUTDIR", "../autotest_outside_" + std::to_string(::getpid())},
                {"PAOUTPUTALLFIELDS", "Yes"},
                {"PAOUTPUTALLFIELDSFILE", "../names.txt"},
                {"PAOUTPUTALLFIELDSFORSINGLEFORM", "Yes"},
                {"PAOUTPUTALLFIELDSFORSINGLEFORMTARGET", "PA40"},
                {"PAOUTPUTALLFIELDSFORSINGLEFORMFILE", "pa40.txt"},
                {"PAOUTPUTALLFIELDSFORSINGLEFORMDIR", outside},
                {"PAIMPORTFIELDS", "Yes"},
                {"PAFIELDLIST", outside + "/import.txt"},
                {"PAFIELDRELATION", "Yes"},
                {"PAFIELDRELATIONFORMSAFFECTED", "forms.txt"},
                {"PAFIELDRELATIONINPUTFIELDS", "relations.xml"},
                {"PAFIELDRELATIONOUTPUTFIELDS", "..\\results.txt"},
                {"SCRUBBER", "Yes"},
                {"INPUTFIELDLIST", "/etc/hostname"},
                {"PAGENERATECYCLEDAEMON", "Yes"},
                {"PAOUTPUTDIRDAEMON", "C:/elsewhere"}});
  engine->runAutoTest();
  runScrubber();
  runDaemon();
  EXPECT_TRUE(engine->calls.empty());
  EXPECT_FALSE(std::filesystem::exists(outside));
  EXPECT_FALSE(std::filesystem::exists(::testing::TempDir() + "names.txt"));
  EXPECT_FALSE(exists("C:"));
  EXPECT_FALSE(done());
}

// The boxes live on copy 1 of the information form; without it a hook's
// recalculation could not be told apart from the calculation that started
// it, so the hooks do nothing.
TEST_F(AutoTestHooksTest, WithoutTheBoxCopyTheHooksDoNothing) {
  allowAutoTest();
  writeOptions({{"PAGENERATECYCLE", "Yes"}, {"PAOUTPUTDIR", "values"},
                {"PAGENERATECYCLEDAEMON", "Yes"}, {"PAOUTPUTDIRDAEMON", "daemon"}});
  PADataMgmt::PATaxReturn bare(federalPtr, DataMgmt::TaxReturnDesc::pennsylvania(),
                               Utils::StringPool::shared());
  AutoTestProbe bareEngine(federal(), &bare, TaxFormPrintMgmt::TaxFormPrinterPtr());
  bareEngine.runAutoTest();
  bareEngine.runCycleDaemonAutoTest("PA", &bare, kFormID_PAReturnInfo, doneBox(), inProgressBox());
  EXPECT_TRUE(bareEngine.calls.empty());
  EXPECT_FALSE(exists("values"));
  EXPECT_FALSE(exists("daemon"));
  EXPECT_FALSE(bare.formExists(kFormID_PAReturnInfo, 1));
}

// An overridden in-progress box cannot be marked: the dump is written
// without the recalculation rather than recalculating without end.
TEST_F(AutoTestHooksTest, AnInProgressBoxThatCannotBeMarkedSkipsTheRecalculation) {
  allowAutoTest();
  writeOptions({{"PAGENERATECYCLE", "Yes"}, {"PAOUTPUTDIR", "values"}});
  pa->getForm(kFormID_PAReturnInfo, 1)->setOverridden(inProgressBox(), true);
  engine->runAutoTest();
  EXPECT_TRUE(engine->calls.empty());
  EXPECT_TRUE(exists("values/PAReturn.xml"));
  EXPECT_TRUE(done());
}

}  // namespace
