// The automated-test hooks (the host switch that gates them is tested with
// the driver): the option and clear files, the done and in-progress boxes,
// the order of the PA driver's steps and the refusal of paths that leave
// the automated-test directory.
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
const Options kNamesAndHooks = {{"PAOUTPUTALLFIELDS", "Yes"},     {"PAOUTPUTALLFIELDSFILE", "names.txt"},
                                {"SCRUBBER", "Yes"},              {"INPUTFIELDLIST", "groups.xml"},
                                {"PAGENERATECYCLEDAEMON", "Yes"}, {"PAOUTPUTDIRDAEMON", "daemon"}};

class AutoTestHooksTest : public AutoTestFixture {
 protected:
  void SetUp() override {
    AutoTestFixture::SetUp();
    // A field group that renames the taxpayer.
    write("groups.xml", "<FIELDGROUPS><FIELDGROUP ENTITY=\"PA\"><FIELDREF FORM=\"PAReturnInfo\" COPY=\"1\" "
                        "FIELD=\"kPARETURNINFO_F31\" VALUE=\"Anon\"/></FIELDGROUP></FIELDGROUPS>\n");
    name("Jane");
  }
  void runScrubber() {
    engine->runScrubberAutoTest("PA", pa.get(), kFormID_PAReturnInfo, PAReturnInfo::kAutoTestDoneBox,
                                PAReturnInfo::kAutoTestInProgressBox);
  }
  void runDaemon() {
    engine->runCycleDaemonAutoTest("PA", pa.get(), kFormID_PAReturnInfo, PAReturnInfo::kAutoTestDoneBox,
                                   PAReturnInfo::kAutoTestInProgressBox);
  }
  void clear(const char* file, const char* value) { writeOptions({{"CLEAR", value}}, file); }
  void allowAutoTest() { DataMgmt::OrvaneConfiguration::getInstance().setAllowAutoTest(true); }
};

TEST_F(AutoTestHooksTest, TheDoneBoxStopsTheDriverUntilAClearFileSaysYesOnce) {
  info()->setX(PAReturnInfo::kAutoTestDoneBox);
  clear(kClearPA, "No");
  writeOptions({{"PAOUTPUTALLFIELDS", "Yes"}, {"PAOUTPUTALLFIELDSFILE", "names.txt"}, {"PAOUTPUTALLFIELDSDIR", "out"}});
  pa->setSaveNeeded(false);
  engine->runAutoTest();
  EXPECT_FALSE(exists("out") || pa->isSaveNeeded());
  EXPECT_TRUE(engine->calls.empty());

  clear(kClearPA, "Yes");
  engine->runAutoTest();
  EXPECT_EQ(read(kClearPA), kClearNo);
  EXPECT_TRUE(exists("out/names.txt") && done());  // marked again by the list writer
  std::filesystem::remove(dir + "out/names.txt");
  engine->runAutoTest();
  EXPECT_FALSE(exists("out/names.txt"));
}

// All six steps in one call, with the host switch on so that the nested
// calculations run the hooks again: they must skip every step. The import
// and the relation run come after the four files are written.
TEST_F(AutoTestHooksTest, AllSixStepsRunInTheirOrder) {
  allowAutoTest();
  writeOptions({{"PAGENERATECYCLE", "Yes"}, {"PAOUTPUTDIR", "values"}, {"PAOUTPUTFIELDVALUES", "Yes"},
                {"PAOUTPUTFIELDVALUESDIR", "all"}, {"PAOUTPUTALLFIELDS", "Yes"}, {"PAOUTPUTALLFIELDSFILE", "names.txt"},
                {"PAOUTPUTALLFIELDSDIR", "names"}, {"PAOUTPUTALLFIELDSFORSINGLEFORM", "Yes"},
                {"PAOUTPUTALLFIELDSFORSINGLEFORMTARGET", "pa40"}, {"PAOUTPUTALLFIELDSFORSINGLEFORMFILE", "pa40.txt"},
                {"PAOUTPUTALLFIELDSFORSINGLEFORMDIR", "names"}, {"PAIMPORTFIELDS", "Yes"}, {"PAFIELDLIST", "import.txt"},
                {"PAFIELDRELATION", "Yes"}, {"PAFIELDRELATIONFORMSAFFECTED", "forms.txt"},
                {"PAFIELDRELATIONINPUTFIELDS", "relations.xml"}, {"PAFIELDRELATIONOUTPUTFIELDS", "results.txt"}});
  write("import.txt", "PARETURNINFO:1:F31:Imported\n");
  write("forms.txt", "PARETURNINFO\n");
  write("relations.xml", "<RELATIONS><RELATION><FIELD FORM=\"PARETURNINFO\" COPY=\"1\" NAME=\"F31\" "
                         "VALUE=\"Imported\" TYPE=\"Output\"/></RELATION></RELATIONS>\n");
  std::vector<bool> filesAtImport;
  engine->onImport = [&] {
    for (const char* file : {"values/PAReturn.xml", "all/PAReturn.xml", "names/names.txt", "names/pa40.txt"}) {
      filesAtImport.push_back(exists(file));
    }
  };
  engine->runAutoTest();
  const std::vector<std::string> expected = {
      "calcStateReturn",                // the field-values dump
      "calcReturn", "calcStateReturn",  // the all-fields dump
      "loadInputTextFile", "loadInputXmlFile",
      "calcReturn", "calcStateReturn", "calcReturn", "calcStateReturn"};  // the relation
  EXPECT_EQ(engine->calls, expected);
  EXPECT_EQ(filesAtImport, std::vector<bool>(4, true));
  EXPECT_EQ(read("values/PAReturn.xml").find("Imported"), std::string::npos);
  EXPECT_NE(read("values/PAReturn.xml").find("Jane"), std::string::npos);
  EXPECT_EQ(read("results.txt"), "Imported|Imported[T]\n");
  EXPECT_EQ(name(), "Imported");
  EXPECT_TRUE(done() && !inProgress());
}

TEST_F(AutoTestHooksTest, AfterAPADumpTheScrubberAndDaemonWaitUnlessCleared) {
  allowAutoTest();
  Options options = kNamesAndHooks;
  options.push_back({"PAOUTPUTALLFIELDSDIR", "out"});
  writeOptions(options);
  engine->calcStateReturn();
  EXPECT_TRUE(exists("out/names.txt"));
  EXPECT_EQ(name(), "Jane");
  // The scrubber's clear file says "Yes": it clears the box, scrubs, marks
  // the box again and turns its file to "No"; the daemon still waits.
  clear(kClearScrubber, "Yes");
  engine->calcStateReturn();
  EXPECT_EQ(name(), "Anon");
  EXPECT_EQ(read(kClearScrubber), kClearNo);
  EXPECT_FALSE(exists("daemon"));
  EXPECT_TRUE(done());
  // The daemon's clear file is never rewritten: while it says "Yes" the
  // dump is written at every calculation.
  clear(kClearDaemon, "Yes");
  for (int run = 0; run < 2; ++run) {
    std::filesystem::remove_all(dir + "daemon");
    runDaemon();
    EXPECT_TRUE(exists("daemon/PAReturn.xml") && done()) << run;
  }
  EXPECT_NE(read(kClearDaemon), kClearNo);
}

TEST_F(AutoTestHooksTest, TheScrubberSkipsItsWorkWhileAHookRecalculates) {
  writeOptions({{"SCRUBBER", "Yes"}, {"INPUTFIELDLIST", "groups.xml"}});
  info()->setX(PAReturnInfo::kAutoTestInProgressBox);
  runScrubber();
  EXPECT_FALSE(name() != "Jane" || done());
  info()->setXNo(PAReturnInfo::kAutoTestInProgressBox);
  runScrubber();
  EXPECT_TRUE(name() == "Anon" && done());
}

// An exception of the host's option reader ends the hook at once, and none
// leaves it.
TEST_F(AutoTestHooksTest, AReaderExceptionEndsEachHookQuietly) {
  clear(kClearPA, "Yes");
  clear(kClearScrubber, "Yes");
  writeOptions(kNamesAndHooks);
  info()->setX(PAReturnInfo::kAutoTestDoneBox);
  for (bool onOptionsOnly : {false, true}) {
    // On the clear files the done box stays; on the options file only, the
    // clear files act and then every hook ends.
    PersistanceMgmt::XMLParser::setThrowOnRead(true, onOptionsOnly ? dir + "OrvaneAutoTest_OVQA.xml" : "");
    EXPECT_NO_THROW(engine->runAutoTest());
    EXPECT_NO_THROW(runScrubber());
    EXPECT_NO_THROW(runDaemon());
    EXPECT_EQ(done(), !onOptionsOnly);
    EXPECT_EQ(read(kClearPA) == kClearNo, onOptionsOnly);
  }
  EXPECT_FALSE(exists("names.txt") || exists("daemon"));
  EXPECT_EQ(name(), "Jane");
}

// Option values are paths inside the automated-test directory; one that
// leads out of it keeps its step from running.
TEST_F(AutoTestHooksTest, PathsLeadingOutOfTheDirectoryAreRefused) {
  const std::string outside = ::testing::TempDir() + "autotest_outside_" + std::to_string(::getpid());
  std::filesystem::remove_all(outside);
  writeOptions({{"PAGENERATECYCLE", "Yes"}, {"PAOUTPUTDIR", "../autotest_outside_" + std::to_string(::getpid())},
                {"PAOUTPUTALLFIELDS", "Yes"}, {"PAOUTPUTALLFIELDSFILE", "../names.txt"},
                {"PAOUTPUTALLFIELDSFORSINGLEFORM", "Yes"}, {"PAOUTPUTALLFIELDSFORSINGLEFORMTARGET", "PA40"},
                {"PAOUTPUTALLFIELDSFORSINGLEFORMFILE", "pa40.txt"}, {"PAOUTPUTALLFIELDSFORSINGLEFORMDIR", outside},
                {"PAIMPORTFIELDS", "Yes"}, {"PAFIELDLIST", outside + "/import.txt"}, {"PAFIELDRELATION", "Yes"},
                {"PAFIELDRELATIONFORMSAFFECTED", "forms.txt"}, {"PAFIELDRELATIONINPUTFIELDS", "relations.xml"},
                {"PAFIELDRELATIONOUTPUTFIELDS", "..\\results.txt"}, {"SCRUBBER", "Yes"},
                {"INPUTFIELDLIST", "/etc/hostname"}, {"PAGENERATECYCLEDAEMON", "Yes"},
                {"PAOUTPUTDIRDAEMON", "C:/elsewhere"}});
  engine->runAutoTest();
  runScrubber();
  runDaemon();
  EXPECT_TRUE(engine->calls.empty());
  EXPECT_FALSE(std::filesystem::exists(outside) || std::filesystem::exists(::testing::TempDir() + "names.txt"));
  EXPECT_FALSE(exists("C:") || done());
}

// Without copy 1 of the information form, or with an in-progress box that
// cannot be marked, a hook's recalculation could not be told apart from the
// calculation that started it: no recalculation runs.
TEST_F(AutoTestHooksTest, WithoutAMarkableInProgressBoxNoRecalculationRuns) {
  allowAutoTest();
  writeOptions({{"PAGENERATECYCLE", "Yes"}, {"PAOUTPUTDIR", "values"},
                {"PAGENERATECYCLEDAEMON", "Yes"}, {"PAOUTPUTDIRDAEMON", "daemon"}});
  PADataMgmt::PATaxReturn bare(federal, DataMgmt::TaxReturnDesc::pennsylvania(), Utils::StringPool::shared());
  AutoTestProbe bareEngine(static_cast<DataMgmt::USTaxReturn*>(federal.get()), &bare,
                           TaxFormPrintMgmt::TaxFormPrinterPtr());
  bareEngine.runAutoTest();
  bareEngine.runCycleDaemonAutoTest("PA", &bare, kFormID_PAReturnInfo, PAReturnInfo::kAutoTestDoneBox,
                                    PAReturnInfo::kAutoTestInProgressBox);
  EXPECT_TRUE(bareEngine.calls.empty());
  EXPECT_FALSE(exists("values") || exists("daemon") || bare.formExists(kFormID_PAReturnInfo, 1));

  // Overridden: the dump is written without the recalculation.
  info()->setOverridden(PAReturnInfo::kAutoTestInProgressBox, true);
  engine->runAutoTest();
  EXPECT_TRUE(engine->calls.empty());
  EXPECT_TRUE(exists("values/PAReturn.xml") && done());
}

}  // namespace
