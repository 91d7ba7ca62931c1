// The automated-test hooks: the host switch and directory that gate them,
// the option and clear files, the done and in-progress boxes, the order of
// the PA driver's steps and the refusal of paths that leave the directory.
#include "host/xml.h"
#include "testing/tests/auto_test_fixture.h"

namespace {

const char kClearPA[] = "PAOrvaneAutoTest_Clear.xml";
const char kClearScrubber[] = "PAOrvaneAutoTest_Clear_Scrubber.xml";
const char kClearDaemon[] = "PAOrvaneAutoTest_Clear_KXTDaemon.xml";
const char kClearNo[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<AUTOTESTOPTIONS>\n<CLEAR>No</CLEAR>\n</AUTOTESTOPTIONS>\n";

class AutoTestHooksTest : public AutoTestFixture {
 protected:
  void SetUp() override {
    AutoTestFixture::SetUp();
    // A field group that renames the taxpayer.
    write("groups.xml", "<FIELDGROUPS><FIELDGROUP ENTITY=\"PA\"><FIELDREF FORM=\"PAReturnInfo\" COPY=\"1\" "
                        "FIELD=\"kPARETURNINFO_F31\" VALUE=\"Anon\"/></FIELDGROUP></FIELDGROUPS>\n");
    name("Jane");
  }
  void runScrubber() { engine->runScrubberAutoTest("PA", pa.get(), kFormID_PAReturnInfo, kDone, kInProgress); }
  void runDaemon() { engine->runCycleDaemonAutoTest("PA", pa.get(), kFormID_PAReturnInfo, kDone, kInProgress); }
  const FieldId& kDone = PAReturnInfo::kAutoTestDoneBox;
  const FieldId& kInProgress = PAReturnInfo::kAutoTestInProgressBox;
  void clear(const char* file, const char* value) { writeOptions({{"CLEAR", value}}, file); }
  void allowAutoTest() { DataMgmt::OrvaneConfiguration::getInstance().setAllowAutoTest(true); }
  const Options kEveryHook = {{"PAOUTPUTALLFIELDS", "Yes"}, {"PAOUTPUTALLFIELDSFILE", "names.txt"},
                              {"SCRUBBER", "Yes"}, {"INPUTFIELDLIST", "groups.xml"},
                              {"PAGENERATECYCLEDAEMON", "Yes"}, {"PAOUTPUTDIRDAEMON", "daemon"}};
};

// Automated tests not allowed, or no directory (the default; the Windows
// host's "C:/AutoTest_OV/" would be a relative path here): no file is read
// or written and no box changes.
TEST_F(AutoTestHooksTest, WithoutTheSwitchOrADirectoryNothingHappens) {
  clear(kClearPA, "Yes");
  writeOptions(kEveryHook);
  write("C:/AutoTest_OV/OrvaneAutoTest_OVQA.xml", read("OrvaneAutoTest_OVQA.xml"));
  const std::filesystem::path cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  engine->calcStateReturn();  // the switch is off
  StandIn::resetAll();         // the default: no directory
  allowAutoTest();
  engine->calcStateReturn();
  std::filesystem::current_path(cwd);
  EXPECT_EQ(engine->calls, std::vector<std::string>(2, "calcStateReturn"));
  EXPECT_TRUE(!done() && name() == "Jane" && read(kClearPA) != kClearNo);
  EXPECT_FALSE(exists("names.txt") || exists("C:/AutoTest_OV/names.txt") || exists("daemon"));
}

TEST_F(AutoTestHooksTest, TheDoneBoxStopsTheDriverUntilAClearFileSaysYesOnce) {
  info()->setX(kDone);
  clear(kClearPA, "No");
  writeOptions({{"PAOUTPUTALLFIELDS", "Yes"}, {"PAOUTPUTALLFIELDSFILE", "names.txt"}, {"PAOUTPUTALLFIELDSDIR", "out"}});
  pa->setSaveNeeded(false);
  engine->runAutoTest();
  EXPECT_FALSE(exists("out") || pa->isSaveNeeded());
  clear(kClearPA, "Yes");
  engine->runAutoTest();
  EXPECT_EQ(read(kClearPA), kClearNo);
  EXPECT_TRUE(exists("out/names.txt") && done());  // marked again by the list writer
  std::filesystem::remove(dir + "out/names.txt");
  engine->runAutoTest();
  EXPECT_FALSE(exists("out/names.txt"));
  EXPECT_TRUE(engine->calls.empty());
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
  int filesAtImport = 0;
  engine->onCall = [&](const std::string& call) {
    if (call != "loadInputTextFile") return;
    for (const char* file : {"values/PAReturn.xml", "all/PAReturn.xml", "names/names.txt", "names/pa40.txt"}) {
      filesAtImport += exists(file);
    }
  };
  engine->runAutoTest();
  EXPECT_EQ(engine->calls, (std::vector<std::string>{"calcStateReturn",                // the field-values dump
                                                     "calcReturn", "calcStateReturn",  // the all-fields dump
                                                     "loadInputTextFile", "loadInputXmlFile", "calcReturn",
                                                     "calcStateReturn", "calcReturn", "calcStateReturn"}));
  EXPECT_EQ(filesAtImport, 4);
  EXPECT_TRUE(read("values/PAReturn.xml").find("Imported") == std::string::npos && name() == "Imported");
  EXPECT_EQ(read("results.txt"), "Imported|Imported[T]\n");
  EXPECT_TRUE(done() && !inProgress());
}

// The import alone never marks the done box: it runs again at every
// calculation (kept as the hooks were designed).
TEST_F(AutoTestHooksTest, AnImportAloneRepeatsAtEveryCalculation) {
  writeOptions({{"PAIMPORTFIELDS", "Yes"}, {"PAFIELDLIST", "import.txt"}});
  write("import.txt", "PARETURNINFO:1:F31:Imported\n");
  for (int run = 0; run < 2; ++run) {
    name("Jane");
    engine->runAutoTest();
    EXPECT_TRUE(name() == "Imported" && !done()) << run;
  }
}

TEST_F(AutoTestHooksTest, AfterAPADumpTheScrubberAndDaemonWaitUnlessCleared) {
  allowAutoTest();
  Options options = kEveryHook;
  options.push_back({"PAOUTPUTALLFIELDSDIR", "out"});
  writeOptions(options);
  engine->calcStateReturn();
  EXPECT_TRUE(exists("out/names.txt") && name() == "Jane");
  // The scrubber's clear file says "Yes": it clears the box, scrubs, marks
  // the box again and turns its file to "No"; the daemon still waits.
  clear(kClearScrubber, "Yes");
  engine->calcStateReturn();
  EXPECT_TRUE(name() == "Anon" && read(kClearScrubber) == kClearNo && !exists("daemon") && done());
  // The daemon's clear file is never rewritten: while it says "Yes" the
  // dump is written at every calculation.
  clear(kClearDaemon, "Yes");
  for (int run = 0; run < 2; ++run) {
    std::filesystem::remove_all(dir + "daemon");
    runDaemon();
    EXPECT_TRUE(exists("daemon/PAReturn.xml") && done()) << run;
  }
  EXPECT_NE(read(kClearDaemon), kClearNo);
  // While a hook recalculates, the scrubber skips its work.
  name("Jane");
  clear(kClearScrubber, "Yes");
  info()->setX(kInProgress);
  runScrubber();
  EXPECT_TRUE(name() == "Jane" && !done());
}

// An exception of the host's option reader ends the hook at once, and none
// leaves it.
TEST_F(AutoTestHooksTest, AReaderExceptionEndsEachHookQuietly) {
  clear(kClearPA, "Yes");
  clear(kClearScrubber, "Yes");
  writeOptions(kEveryHook);
  info()->setX(kDone);
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
  EXPECT_FALSE(exists("names.txt") || exists("daemon") || name() != "Jane");
}

// Option values are paths inside the automated-test directory; one that
// leads out of it keeps its step from running.
TEST_F(AutoTestHooksTest, PathsLeadingOutOfTheDirectoryAreRefused) {
  const std::string outside = ::testing::TempDir() + "autotest_outside_" + std::to_string(::getpid());
  writeOptions({{"PAGENERATECYCLE", "Yes"}, {"PAOUTPUTDIR", "../autotest_outside_" + std::to_string(::getpid())},
                {"PAOUTPUTALLFIELDS", "Yes"}, {"PAOUTPUTALLFIELDSFILE", "../names.txt"},
                {"PAOUTPUTALLFIELDSFORSINGLEFORM", "Yes"}, {"PAOUTPUTALLFIELDSFORSINGLEFORMTARGET", "PA40"},
                {"PAOUTPUTALLFIELDSFORSINGLEFORMFILE", "pa40.txt"}, {"PAOUTPUTALLFIELDSFORSINGLEFORMDIR", outside},
                {"PAIMPORTFIELDS", "Yes"}, {"PAFIELDLIST", outside + "/import.txt"}, {"PAFIELDRELATION", "Yes"},
                {"PAFIELDRELATIONFORMSAFFECTED", "forms.txt"}, {"PAFIELDRELATIONINPUTFIELDS", "relations.xml"},
                {"PAFIELDRELATIONOUTPUTFIELDS", "..\\results.txt"}, {"SCRUBBER", "Yes"},
                {"INPUTFIELDLIST", "/etc/hostname"}, {"PAGENERATECYCLEDAEMON", "Yes"}, {"PAOUTPUTDIRDAEMON", "C:/elsewhere"}});
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
  bareEngine.runCycleDaemonAutoTest("PA", &bare, kFormID_PAReturnInfo, kDone, kInProgress);
  EXPECT_TRUE(bareEngine.calls.empty());
  EXPECT_FALSE(exists("values") || exists("daemon") || bare.formExists(kFormID_PAReturnInfo, 1));
  info()->setOverridden(kInProgress, true);  // the dump, without the recalculation
  engine->runAutoTest();
  EXPECT_TRUE(engine->calls.empty() && exists("values/PAReturn.xml") && done());
}

}  // namespace
