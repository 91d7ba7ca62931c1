// The automated-test hooks: the host switch and directory that gate them,
// the option and clear files, the done and in-progress boxes, the paths
// option files name and the outputs: nothing a file says may lead outside
// the directory or replace a control file of the hooks.
#include "host/orvane_exception.h"
#include "host/xml.h"
#include "testing/auto_test_boxes.h"
#include "testing/auto_test_files.h"
#include "testing/auto_test_report.h"
#include "testing/tests/auto_test_hooks_fixture.h"

namespace {

using AutoTestHooksTest = AutoTestHooksFixture;

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

// The done box stops every hook until its clear file says "Yes", which
// acts once; the scrubber skips its work while a hook recalculates.
TEST_F(AutoTestHooksTest, TheDoneBoxStopsEachHookUntilItsClearFileSaysYesOnce) {
  allowAutoTest();
  writeOptions(kEveryHook);
  engine->calcStateReturn();
  EXPECT_TRUE(exists("names.txt") && name() == "Jane" && !exists("daemon") && done());
  std::filesystem::remove(dir + "names.txt");
  pa->setSaveNeeded(false);
  engine->runAutoTest();  // stopped: changes nothing
  EXPECT_FALSE(exists("names.txt") || pa->isSaveNeeded());
  clear(kClearScrubber, "Yes");  // unmarks the box, scrubs, marks it, says "No"
  engine->calcStateReturn();
  EXPECT_TRUE(name() == "Anon" && read(kClearScrubber) == kClearNo && done() && !exists("daemon"));
  clear(kClearPA, "Yes");
  engine->runAutoTest();
  EXPECT_TRUE(read(kClearPA) == kClearNo && exists("names.txt") && done());
  name("Jane");
  clear(kClearScrubber, "Yes");
  AutoTestBoxes::recalculateInProgress(pa.get(), kFormID_PAReturnInfo, kInProgress, [this] { runScrubber(); });
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
    EXPECT_NO_THROW(engine->runAutoTest(); runScrubber(); runDaemon());
    EXPECT_EQ(done(), !onOptionsOnly);
    EXPECT_EQ(read(kClearPA) == kClearNo, onOptionsOnly);
  }
  EXPECT_FALSE(exists("names.txt") || exists("daemon") || name() != "Jane");
}

// Option values are paths inside the automated-test directory; one that
// leads out of it keeps its step from running and is reported, and so is
// a file to read that is not there.
TEST_F(AutoTestHooksTest, PathsLeadingOutOfTheDirectoryOrToNothingAreReported) {
  Options options = {{"PAGENERATECYCLE", "Yes"}, {"PAOUTPUTALLFIELDS", "Yes"}, {"PAOUTPUTALLFIELDSFILE", "../n.txt"},
                     {"PAOUTPUTALLFIELDSFORSINGLEFORM", "Yes"}, {"PAOUTPUTALLFIELDSFORSINGLEFORMFILE", "n.txt"},
                     {"PAIMPORTFIELDS", "Yes"}, {"PAFIELDLIST", "import.txt"}, {"PAFIELDRELATION", "Yes"},
                     {"SCRUBBER", "Yes"}, {"PAGENERATECYCLEDAEMON", "Yes"}};
  const std::string outside = ::testing::TempDir() + "autotest_outside_" + std::to_string(::getpid());
  for (const char* tag : {"PAOUTPUTDIR", "PAOUTPUTALLFIELDSFORSINGLEFORMDIR", "PAFIELDRELATIONFORMSAFFECTED",
                          "INPUTFIELDLIST", "PAOUTPUTDIRDAEMON"}) {
    options.push_back({tag, outside});
  }
  writeOptions(options);
  engine->runAutoTest();
  runScrubber();
  runDaemon();
  EXPECT_TRUE(engine->calls.empty() && !std::filesystem::exists(outside) && !done());
  const std::string report = read("OrvaneAutoTest_Report.txt");
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 7);
  EXPECT_NE(report.find("option PAFIELDLIST \"import.txt\": no file to read there\n"), std::string::npos);
  EXPECT_NE(report.find("option PAOUTPUTALLFIELDSFILE \"../n.txt\": not a plain file name\noption "
                        "PAOUTPUTALLFIELDSFORSINGLEFORMDIR \"" + outside + "\": an absolute path outside the test folder\n"),
            std::string::npos);
}

// An in-progress box saved marked with a return keeps every step from
// running until the PA clear file resets it; a hook's recalculation never
// leaves it marked, even when the calculation throws, and never runs while
// the box cannot be marked (no copy 1, or the box overridden): it could not
// be told apart from the calculation that started it. A relation run whose
// results cannot be written leaves the done box unmarked.
TEST_F(AutoTestHooksTest, TheInProgressBoxIsNeverLeftMarked) {
  writeOptions({{"PAFIELDRELATION", "Yes"}, {"PAFIELDRELATIONFORMSAFFECTED", "forms.txt"},
                {"PAFIELDRELATIONINPUTFIELDS", "relations.xml"}, {"PAFIELDRELATIONOUTPUTFIELDS", kClearPA},
                {"PAGENERATECYCLEDAEMON", "Yes"}, {"PAOUTPUTDIRDAEMON", "daemon"}});
  write("forms.txt", "PA40\n");
  write("relations.xml", "<RELATIONS/>");
  info()->setX(kInProgress);
  engine->runAutoTest();
  EXPECT_EQ(read("OrvaneAutoTest_Report.txt").find(kClearPA), std::string::npos);  // the relations did not run
  clear(kClearPA, "Yes");
  engine->runAutoTest();
  EXPECT_TRUE(read("OrvaneAutoTest_Report.txt").find(kClearPA) != std::string::npos && !inProgress() && !done());
  engine->formula = [](const FormId&, uint16_t) { throw Exceptions::OrvaneException("failed", "test", "formula"); };
  EXPECT_THROW(engine->writeAllFieldsXml(dir + "all"), Exceptions::OrvaneException);
  EXPECT_FALSE(inProgress());

  PADataMgmt::PATaxReturn bare(federal, DataMgmt::TaxReturnDesc::pennsylvania(), Utils::StringPool::shared());
  AutoTestProbe bareEngine(static_cast<DataMgmt::USTaxReturn*>(federal.get()), &bare,
                           TaxFormPrintMgmt::TaxFormPrinterPtr());
  bareEngine.runCycleDaemonAutoTest("PA", &bare, kFormID_PAReturnInfo, kDone, kInProgress);
  EXPECT_FALSE(exists("daemon") || bare.formExists(kFormID_PAReturnInfo, 1));
  info()->setXNo(kDone);
  info()->setOverridden(kInProgress, true);  // the dump, without the recalculation
  runDaemon();
  EXPECT_TRUE(bareEngine.calls.empty() && engine->calls.size() == 2 && exists("daemon/PAReturn.xml") && done());
}

TEST_F(AutoTestHooksTest, PathsResolveInsideTheAutoTestDirectoryOrAreRefused) {
  const std::string base = dir, bare = dir.substr(0, dir.size() - 1);
  std::filesystem::create_directories(dir + "real");
  std::filesystem::create_directory_symlink(dir + "real", dir + "link");
  const struct { std::string value; bool asFile, resolves; std::string below; } rows[] = {  // below the directory
      {"", false, true, ""}, {"", true, false, ""}, {"out/sub/list.txt", true, true, "out/sub/list.txt"},
      {"out\\sub", false, true, "out/sub"}, {"./out//x/.", true, true, "out/x"}, {base + "out", false, true, "out"},
      {bare, false, true, ""}, {bare, true, false, ""}, {"..", false, false, ""}, {"out\\..\\..\\x", true, false, ""},
      {base + "../x", true, false, ""}, {"/etc/passwd", true, false, ""}, {"C:/Windows/x.txt", true, false, ""},
      {"out/D:x", true, false, ""}, {"C:/AutoTest_OV/out/list.txt", true, true, "out/list.txt"},
      {"c:\\autotest_ov\\out", false, true, "out"}, {"C:/AutoTest_OV", false, true, ""},
      {"C:/AutoTest_OVx/list.txt", true, false, ""}, {"link/list.txt", true, false, ""}, {"link", false, false, ""},
      {"real/list.txt", true, true, "real/list.txt"},
  };
  for (const auto& row : rows) {
    std::string path = "unchanged", why;
    const bool resolved = row.asFile ? AutoTestFiles::resolveFile(row.value, path, &why)
                                     : AutoTestFiles::resolveDirectory(row.value, path, &why);
    EXPECT_TRUE(resolved == row.resolves && why.empty() == row.resolves) << row.value;
    EXPECT_EQ(path, row.resolves ? base + row.below : "unchanged") << row.value;
  }
}

// No output replaces a control file or passes through a symbolic link; a
// refused one is reported while a hook runs.
TEST_F(AutoTestHooksTest, OutputsNeverReplaceControlFilesOrFollowLinks) {
  const AutoTestReport::Scope reporting;
  write("real/x.txt", "kept");
  std::filesystem::create_directory_symlink(dir + "real", dir + "link");
  std::filesystem::create_symlink(dir + "real/x.txt", dir + "x.txt");
  for (const char* name : {"OrvaneAutoTest_OVQA.xml", "PAOrvaneAutoTest_Clear.xml", "PAOrvaneAutoTest_Clear_Scrubber.xml",
                           "PAOrvaneAutoTest_Clear_KXTDaemon.xml", "OrvaneAutoTest_Report.txt", "link/x.txt", "x.txt",
                           "real", "real/../x.txt"}) {
    std::ofstream out;
    EXPECT_FALSE(AutoTestFiles::openOutput(dir + name, false, out) || out.is_open()) << name;
  }
  std::ofstream out;
  EXPECT_TRUE(AutoTestFiles::openOutput(dir + "new/PAOrvaneAutoTest_Clear.xml", false, out));
  EXPECT_EQ(read("real/x.txt"), "kept");
  EXPECT_EQ(read("OrvaneAutoTest_Report.txt").rfind("output " + dir + "OrvaneAutoTest_OVQA.xml: names a control "
                                                    "file of the hooks\noutput " + dir + "PAOrvaneAutoTest_Clear", 0), 0u);
}

// Options are read as XML: the first element of a tag anywhere, its text
// and CDATA, whatever its attributes; a comment is no element. A switch
// is on for exactly "Yes"; a file that is no document has no options.
TEST_F(AutoTestHooksTest, OptionsAreTheFirstElementsOfTheirTag) {
  write("options.xml", "<O><!-- <E>Yes</E> --><A>yes</A><B x=\"1\">YES</B><C>Yes </C><C>Yes</C>"
                       "<D>Y<![CDATA[es]]></D><F><G>Yes</G></F><D/></O>");
  AutoTestFiles::OptionValues values;
  ASSERT_TRUE(AutoTestFiles::readOptions(dir + "options.xml", {"A", "B", "C", "D", "E", "G"}, values));
  EXPECT_EQ(values["A"] + values["B"] + values["C"] + values["D"] + values["E"] + values["G"], "yesYESYes YesYes");
  EXPECT_TRUE(!AutoTestFiles::isOn(values["C"]) && AutoTestFiles::isOn(values["D"]));
  write("options.xml", "<A>Yes</A><B>Yes</B>");
  ASSERT_TRUE(AutoTestFiles::readOptions(dir + "options.xml", {"A"}, values));
  EXPECT_EQ(values["A"], "");
}

}  // namespace
