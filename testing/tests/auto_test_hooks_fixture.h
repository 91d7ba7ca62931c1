// Fixture of the tests that run the automated-test hooks: the fixture of
// the readers with a field group that renames the taxpayer ("Jane" to
// "Anon"), the hooks' boxes and clear files, and the options that switch
// every hook on.
#ifndef TESTING_TESTS_AUTO_TEST_HOOKS_FIXTURE_H_
#define TESTING_TESTS_AUTO_TEST_HOOKS_FIXTURE_H_

#include "testing/tests/auto_test_fixture.h"

constexpr char kClearPA[] = "PAOrvaneAutoTest_Clear.xml";
constexpr char kClearScrubber[] = "PAOrvaneAutoTest_Clear_Scrubber.xml";
constexpr char kClearDaemon[] = "PAOrvaneAutoTest_Clear_KXTDaemon.xml";
constexpr char kClearNo[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<AUTOTESTOPTIONS>\n<CLEAR>No</CLEAR>\n</AUTOTESTOPTIONS>\n";

class AutoTestHooksFixture : public AutoTestFixture {
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

#endif  // TESTING_TESTS_AUTO_TEST_HOOKS_FIXTURE_H_
