// The hooks' files as a new user's machine has them: a full disk, files
// that are not well-formed or not regular files, outputs named like the
// run's inputs or linked elsewhere, copies other readers would misread, an
// in-progress box saved marked, and switches that are nearly "Yes".
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "host/configuration.h"
#include "host/tests/hang_guard.h"
#include "testing/auto_test_files.h"
#include "testing/auto_test_report.h"
#include "testing/tests/auto_test_hooks_fixture.h"

// While set, a rename of a file named like a clear file's rewrite notes
// whether a rewrite elsewhere could have locked it then, and taken it for
// a leftover.
bool watchRewrites = false;
bool rewriteSeenUnlocked = false;

// Stands in for the system's rename in this program.
extern "C" int rename(const char* from, const char* to) noexcept {
  if (watchRewrites && std::strstr(from, ".new") != nullptr) {
    const int fd = ::open(from, O_RDONLY | O_CLOEXEC);
    rewriteSeenUnlocked = rewriteSeenUnlocked || fd < 0 || ::flock(fd, LOCK_SH | LOCK_NB) == 0;
    ::close(fd);
  }
  return ::renameat(AT_FDCWD, from, AT_FDCWD, to);
}

namespace {

const char kReport[] = "OrvaneAutoTest_Report.txt";
// One relation that sets PA-40 line 1c (F139) to 100.
const char kRelations[] = "<RELATIONS><RELATION><FIELD FORM=\"PA40\" COPY=\"1\" NAME=\"F139\" VALUE=\"100\" "
                          "TYPE=\"Input\"/></RELATION></RELATIONS>\n";

class HookFilesTest : public AutoTestHooksFixture {
 protected:
  void SetUp() override {
    AutoTestHooksFixture::SetUp();
    write("forms.txt", "PA40\n");
    write("relations.xml", kRelations);
    write("import.txt", "PARETURNINFO:1:F36:Imported\n");
  }
  // The options of an import, a relation run into `results` and the
  // scrubber, each with its files of SetUp.
  static Options readingOptions(const std::string& results = "results.txt") {
    return {{"PAIMPORTFIELDS", "Yes"}, {"PAFIELDLIST", "import.txt"}, {"PAFIELDRELATION", "Yes"},
            {"PAFIELDRELATIONFORMSAFFECTED", "forms.txt"}, {"PAFIELDRELATIONINPUTFIELDS", "relations.xml"},
            {"PAFIELDRELATIONOUTPUTFIELDS", results}, {"SCRUBBER", "Yes"}, {"INPUTFIELDLIST", "groups.xml"}};
  }
  bool relationApplied() { return pa->getIR(kFormID_PA40, 1, PA40::kNetCompensation) == 100; }
};

// On a full disk the relation results are not all written: the done box
// stays clear and the report says so; when the report cannot take the
// line either, standard error says it.
TEST_F(HookFilesTest, ResultsThatCannotBeWrittenLeaveTheDoneBoxClear) {
  writeOptions({{"PAFIELDRELATION", "Yes"}, {"PAFIELDRELATIONFORMSAFFECTED", "forms.txt"},
                {"PAFIELDRELATIONINPUTFIELDS", "relations.xml"}, {"PAFIELDRELATIONOUTPUTFIELDS", "results.txt"}});
  const std::string full(8192, 'x');  // past the limit below: nothing more goes in
  const std::string line = "output " + dir + "results.txt: could not be written whole";
  for (bool reportFull : {false, true}) {
    write("results.txt", full);
    write(kReport, reportFull ? full : "");
    ::testing::internal::CaptureStderr();
    {
      const FileSizeLimit limit(4096);
      engine->runAutoTest();
    }
    const std::string stderrText = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(relationApplied() && !done() && read("results.txt") == full) << reportFull;
    EXPECT_EQ(read(kReport), reportFull ? full : line + "\n");
    EXPECT_EQ(stderrText, reportFull ? "PA automated test: " + line + " (not in the report " + dir + kReport +
                                           ": File too large)\n"
                                     : "");
  }
}

// A clear file whose rewrite cannot be written whole (a full disk) keeps
// what it held, and the failure is named as any output's is (here on
// standard error, a pipe, the report being full as well).
TEST_F(HookFilesTest, AClearFileThatCannotBeWrittenAnewKeepsWhatItHeld) {
  clear(kClearPA, "Yes");
  const std::string before = read(kClearPA);
  const std::string full(8192, 'x');
  write(kReport, full);
  int said[2];
  ASSERT_EQ(0, ::pipe(said));
  const int kept = ::dup(STDERR_FILENO);
  ::dup2(said[1], STDERR_FILENO);
  {
    const FileSizeLimit limit(64);
    engine->runAutoTest();
  }
  std::fflush(stderr);
  ::dup2(kept, STDERR_FILENO);
  ::close(kept);
  ::close(said[1]);
  std::string stderrText;
  char block[512];
  for (ssize_t n; (n = ::read(said[0], block, sizeof block)) > 0;) {
    stderrText.append(block, static_cast<std::size_t>(n));
  }
  ::close(said[0]);
  EXPECT_EQ(read(kClearPA), before);
  EXPECT_EQ(stderrText, "PA automated test: output " + dir + kClearPA + ": could not be written whole (not in the "
                        "report " + dir + kReport + ": File too large)\n");
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {  // nothing made for the rewrite stays
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == kClearPA || name.rfind(kClearPA, 0) != 0) << name;
  }
}

// A rewrite of a clear file killed before its rename leaves its new file
// beside it. The next rewrite removes such a file (a beginning of what a
// rewrite writes) that no writer holds locked, whatever process number it
// names (this one's own, one of a process that is gone, or one a process
// here has, as a writer killed in another container or on another machine
// sharing the folder may leave), and nothing else: a running writer's,
// which holds it locked, though its number names no process here; one
// holding other text; one named otherwise. The rewrite holds its own new
// file locked up to its rename. The file rewritten keeps its permissions,
// whatever the process's mask.
TEST_F(HookFilesTest, AClearFileRewriteRemovesWhatAKilledOneLeftAndKeepsItsPermissions) {
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ASSERT_EQ(gone, ::waitpid(gone, nullptr, 0));
  const std::string beginning = std::string(kClearNo).substr(0, 30);
  const std::string of = std::string(kClearPA) + ".";
  const struct {
    std::string name;
    std::string held;
    bool locked;  // by its writer, still at work
    bool goes;
  } kLeft[] = {{of + std::to_string(gone) + ".new", beginning, false, true},
               {of + std::to_string(::getpid()) + ".new", "", false, true},
               {of + std::to_string(::getppid()) + ".new", beginning, true, false},
               {of + "1.new", beginning, false, true},
               {of + "999999999.new", beginning, true, false},
               {of + "0" + std::to_string(gone) + ".new", beginning, false, false},
               {of + std::to_string(gone) + ".new.new", beginning, false, false},
               {std::string(kClearScrubber) + "." + std::to_string(gone) + ".new", beginning, false, false}};
  const mode_t mask = ::umask(022);
  for (const mode_t mode : {0600, 0664}) {
    clear(kClearPA, "Yes");
    ASSERT_EQ(0, ::chmod((dir + kClearPA).c_str(), mode));
    std::vector<int> writers;
    for (const auto& left : kLeft) {
      write(left.name, left.held);
      if (!left.locked) continue;
      writers.push_back(::open((dir + left.name).c_str(), O_RDONLY | O_CLOEXEC));
      EXPECT_EQ(0, ::flock(writers.back(), LOCK_EX)) << left.name;
    }
    write(of + std::to_string(gone) + ".new.held", "the user's notes\n");
    watchRewrites = true;
    EXPECT_TRUE(AutoTestFiles::rewriteClearFile(dir + kClearPA));
    watchRewrites = false;
    EXPECT_FALSE(rewriteSeenUnlocked);
    EXPECT_EQ(kClearNo, read(kClearPA));
    struct stat rewritten;
    ASSERT_EQ(0, ::stat((dir + kClearPA).c_str(), &rewritten));
    EXPECT_EQ(mode, rewritten.st_mode & 0777);
    for (const auto& left : kLeft) EXPECT_EQ(!left.goes, exists(left.name)) << left.name;
    std::filesystem::rename(dir + of + std::to_string(gone) + ".new.held", dir + of + std::to_string(gone) + ".new");
    EXPECT_TRUE(AutoTestFiles::rewriteClearFile(dir + kClearPA));
    EXPECT_EQ("the user's notes\n", read(of + std::to_string(gone) + ".new"));
    std::filesystem::remove(dir + of + std::to_string(gone) + ".new");
    for (const int writer : writers) ::close(writer);
  }
  ::umask(mask);
}

// A clear file whose new name cannot be opened (a folder stands there)
// keeps what it held, and the report names it.
TEST_F(HookFilesTest, AClearFileWhoseNewNameCannotBeOpenedKeepsWhatItHeld) {
  clear(kClearPA, "Yes");
  const std::string before = read(kClearPA);
  const std::string fresh = std::string(kClearPA) + "." + std::to_string(::getpid()) + ".new";
  std::filesystem::create_directory(dir + fresh);
  {
    const AutoTestReport::Scope scope;
    EXPECT_FALSE(AutoTestFiles::rewriteClearFile(dir + kClearPA));
  }
  EXPECT_EQ(before, read(kClearPA));
  EXPECT_TRUE(std::filesystem::is_directory(dir + fresh));
  EXPECT_EQ("output " + dir + kClearPA + ": cannot be opened for writing\n", read(kReport));
}

// A file that is not well-formed, or whose root element is not the one its
// reader reads, is reported with its name and the reason; nothing of it is
// applied and the done box stays clear.
TEST_F(HookFilesTest, FilesThatAreNotWellFormedAreReportedAndApplyNothing) {
  const std::string relation = "<RELATION><FIELD FORM=\"PA40\" COPY=\"1\" NAME=\"F139\" VALUE=\"100\" "
                               "TYPE=\"Input\"/></RELATION>";
  const struct {
    const char* file;
    std::string content;
    bool scrubber;  // read by the scrubber, else by the PA driver
    const char* reason;
  } cases[] = {
      {"relations.xml", "<RELATIONS><RELATION><FIELD FORM=\"PA40\" COPY=\"1\" NAME=\"F139\" VALUE=\"100\" "
                        "TYPE=\"Input\"/><RELATION></RELATIONS>",  // one "/" missing
       false, "line 1: Opening and ending tag mismatch: RELATION line 1 and RELATIONS"},
      {"groups.xml", "<FIELDGROUPS><FIELDGROUP ENTITY=\"PA\"><FIELDREF FORM=\"PAReturnInfo\" COPY=\"1\" "
                     "FIELD=\"kPARETURNINFO_F31\" VALUE=\"Anon\"></FIELDGROUP></FIELDGROUPS>",
       true, "line 1: Opening and ending tag mismatch: FIELDREF line 1 and FIELDGROUP"},
      {"OrvaneAutoTest_OVQA.xml", "<AUTOTESTOPTIONS><PAFIELDRELATION>Yes</PAFIELDRELATION>", false,
       "line 1: Premature end of data in tag AUTOTESTOPTIONS line 1"},
      {"relations.xml", "<FOO>" + relation + "</FOO>", false, "its root element is FOO, not RELATIONS"},
      {"relations.xml", relation, false, "its root element is RELATION, not RELATIONS"},
      {"groups.xml", "<FOO></FOO>", true, "its root element is FOO, not FIELDGROUPS"},
  };
  for (const auto& c : cases) {
    writeOptions(readingOptions());
    write("relations.xml", kRelations);
    write(c.file, c.content);
    std::filesystem::remove(dir + kReport);
    c.scrubber ? runScrubber() : engine->runAutoTest();
    EXPECT_EQ(read(kReport), "file " + dir + c.file + " not read: " + c.reason + "\n");
    EXPECT_FALSE(done() || relationApplied() || exists("results.txt") || name() != "Jane") << c.file;
  }
}

// A read that fails on an input of a hook is never taken for its end: the
// file is reported with the cause and nothing of it is applied (the
// relation run writes no results). /proc/self/mem is a regular file whose
// reading from its start fails.
TEST_F(HookFilesTest, AFailedReadStopsItsStepWithTheCause) {
  const AutoTestReport::Scope reporting;
  const std::string failing = "/proc/self/mem";
  const auto relations = [&](const std::string& forms, const std::string& relations) {
    engine->loadInputXmlFile(forms, relations, dir + "results.txt", pa.get(), kFormID_PAReturnInfo, kInProgress);
  };
  const struct {
    const char* input;
    std::function<void()> run;
  } cases[] = {
      {"import", [&] { engine->loadInputTextFile(failing, pa.get()); }},
      {"forms affected", [&] { relations(failing, dir + "relations.xml"); }},
      {"relations", [&] { relations(dir + "forms.txt", failing); }},
      {"field groups",
       [&] { engine->scrubInputFields("PA", failing, pa.get(), kFormID_PAReturnInfo, kDone, kInProgress); }},
      {"options", [&] {
         AutoTestFiles::OptionValues values;
         AutoTestFiles::readOptions(failing, {"PAFIELDRELATION"}, values);
       }},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(dir + kReport);
    c.run();
    EXPECT_EQ(read(kReport), "file " + failing + " not read: cannot be read: Input/output error\n") << c.input;
    EXPECT_FALSE(exists("results.txt") || relationApplied() || done() || name() != "Jane") << c.input;
  }
}

// No output replaces a file the host reads (its return file, the federal
// file) or writes (its data file, a file in the folder it writes that in),
// be it the same file through a hard link or another spelling of a file
// yet to be made: the relation run is refused and reported, and leaves the
// done box clear.
TEST_F(HookFilesTest, OutputsNeverReplaceTheHostsInputsOrOutputs) {
  const std::string ret = "PARETURNINFO:1:F31:Jane\n";
  write("ret.txt", ret);
  std::filesystem::create_directories(dir + "elsewhere");
  std::filesystem::create_directories(dir + "private");
  std::filesystem::create_hard_link(dir + "ret.txt", dir + "elsewhere/ret.txt");
  const struct {
    std::string hostInput, hostOutput;
    const char* output;
  } cases[] = {{dir + "elsewhere/ret.txt", "", "ret.txt"}, {dir + "new/../1.tif", "", "1.tif"},
               {"", dir + "elsewhere/ret.txt", "ret.txt"}, {"", dir + "elsewhere/../private", "private/1.tif"}};
  for (const auto& c : cases) {
    DataMgmt::OrvaneConfiguration::getInstance().setHostInputFiles({"", c.hostInput});
    DataMgmt::OrvaneConfiguration::getInstance().setHostOutputs({"", c.hostOutput});
    writeOptions({{"PAFIELDRELATION", "Yes"}, {"PAFIELDRELATIONFORMSAFFECTED", "forms.txt"},
                  {"PAFIELDRELATIONINPUTFIELDS", "relations.xml"}, {"PAFIELDRELATIONOUTPUTFIELDS", c.output}});
    std::filesystem::remove(dir + kReport);
    engine->runAutoTest();
    EXPECT_EQ(read(kReport), "output " + dir + c.output + ": names a file this run " +
                                 (c.hostInput.empty() ? "writes\n" : "reads\n")) << c.output;
    EXPECT_FALSE(read("ret.txt") != ret || exists("1.tif") || exists("private/1.tif") || relationApplied() || done())
        << c.output;
  }
}

// A FIFO where a hook reads a file is refused and reported, never waited
// on (nobody writes it).
TEST_F(HookFilesTest, AFifoIsRefusedNotWaitedOn) {
  const HangGuard guard;
  const struct {
    const char* file;
    std::string line;
  } cases[] = {
      {"OrvaneAutoTest_OVQA.xml", "file " + dir + "OrvaneAutoTest_OVQA.xml not read: not a regular file"},
      {kClearPA, "file " + dir + kClearPA + " not read: not a regular file"},
      {"import.txt", "option PAFIELDLIST \"import.txt\": not a regular file"},
      {"relations.xml", "option PAFIELDRELATIONINPUTFIELDS \"relations.xml\": not a regular file"},
      {"groups.xml", "option INPUTFIELDLIST \"groups.xml\": not a regular file"},
  };
  for (const auto& c : cases) {
    writeOptions(readingOptions());
    std::filesystem::remove(dir + c.file);
    fifo(c.file);
    std::filesystem::remove(dir + kReport);
    runScrubber();
    info()->setXNo(kDone);
    engine->runAutoTest();
    EXPECT_NE(read(kReport).find(c.line + "\n"), std::string::npos) << read(kReport);
    std::filesystem::remove(dir + c.file);
  }
}

// No output replaces a file the run reads (the import, the relations, the
// scrubber's field groups read after the driver's outputs) or writes
// through a second hard link; the options and clear files are not read
// through a symbolic link, which may lead out of the folder.
TEST_F(HookFilesTest, OutputsNeverReplaceInputsOrLinkedFilesAndLinksAreNotRead) {
  const std::string outside = ::testing::TempDir() + "autotest_linked_" + std::to_string(::getpid());
  std::ofstream(outside) << "kept";
  std::filesystem::create_directories(dir + "values");
  std::filesystem::create_hard_link(outside, dir + "values/PAReturn.xml");
  Options options = readingOptions("relations.xml");
  options.insert(options.end(), {{"PAGENERATECYCLE", "Yes"}, {"PAOUTPUTDIR", "values"},
                                 {"PAOUTPUTALLFIELDS", "Yes"}, {"PAOUTPUTALLFIELDSFILE", "import.txt"},
                                 {"PAOUTPUTALLFIELDSFORSINGLEFORM", "Yes"},
                                 {"PAOUTPUTALLFIELDSFORSINGLEFORMFILE", "groups.xml"}});
  writeOptions(options);
  const std::string groups = read("groups.xml");
  engine->runAutoTest();
  EXPECT_TRUE(read("import.txt") == "PARETURNINFO:1:F36:Imported\n" && read("relations.xml") == kRelations &&
              read("groups.xml") == groups);
  std::ifstream kept(outside);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "kept");
  std::filesystem::remove(outside);
  std::string report;
  for (const char* file : {"values/PAReturn.xml: names a file with more than one hard link",
                           "import.txt: names a file this run reads", "groups.xml: names a file this run reads",
                           "relations.xml: names a file this run reads"}) {
    report += "output " + dir + file + "\n";
  }
  EXPECT_EQ(read(kReport), report);

  writeOptions({{"PAOUTPUTALLFIELDS", "Yes"}, {"PAOUTPUTALLFIELDSFILE", "names.txt"}}, "elsewhere/options.xml");
  clear("elsewhere/clear.xml", "Yes");
  for (const char* file : {"OrvaneAutoTest_OVQA.xml", kClearPA}) {
    std::filesystem::remove(dir + file);
    std::filesystem::create_symlink(dir + (file[0] == 'O' ? "elsewhere/options.xml" : "elsewhere/clear.xml"),
                                    dir + file);
  }
  std::filesystem::remove(dir + kReport);
  info()->setXNo(kDone);
  engine->runAutoTest();
  EXPECT_FALSE(exists("names.txt") || read("elsewhere/clear.xml") == kClearNo);
  EXPECT_EQ(read(kReport), "file " + dir + kClearPA + " not read: a symbolic link, which is not followed\nfile " +
                               dir + "OrvaneAutoTest_OVQA.xml not read: a symbolic link, which is not followed\n");
}

// Relations and field groups take a copy by the text loader's rule:
// digits only, within the form's copy limit (999 for a PA W-2). Any other
// copy changes nothing and is reported.
TEST_F(HookFilesTest, EveryReaderTakesCopiesByTheLoadersRule) {
  const AutoTestReport::Scope reporting;
  write("forms.txt", "PAW2\n");
  const struct {
    const char* copy;
    const char* why;  // null: taken
  } copies[] = {{"1", nullptr}, {"1abc", "the copy is not a copy number"}, {" 1", "the copy is not a copy number"},
                {"1.9", "the copy is not a copy number"}, {"60000", "the copy is outside the form's copies"}};
  std::string relations, groups, report;
  for (const auto& c : copies) {
    const std::string value = c.why == nullptr ? "Right" : "Wrong";
    relations += "<FIELD FORM=\"PAW2\" COPY=\"" + std::string(c.copy) + "\" NAME=\"F25\" VALUE=\"" + value +
                 "\" TYPE=\"Input\"/>";
    groups += "<FIELDREF FORM=\"PAW2\" COPY=\"" + std::string(c.copy) + "\" FIELD=\"kPAW2_F25\" VALUE=\"" +
              (c.why == nullptr ? "Scrubbed" : "Wrong") + "\"/>";
    if (c.why != nullptr) report += "relation input PAW2:" + std::string(c.copy) + ":F25: " + c.why + "\n";
  }
  // An output of a copy refused reads nothing.
  relations += "<FIELD FORM=\"PAW2\" COPY=\"1abc\" NAME=\"F25\" VALUE=\"Right\" TYPE=\"Output\"/>";
  report += "relation output PAW2:1abc:F25: the copy is not a copy number\n";
  write("relations.xml", "<RELATIONS><RELATION>" + relations + "</RELATION></RELATIONS>");
  engine->loadInputXmlFile(dir + "forms.txt", dir + "relations.xml", dir + "results.txt", pa.get(),
                           kFormID_PAReturnInfo, kInProgress);
  EXPECT_EQ(pa->getFieldAsString(kFormID_PAW2, 1, PAW2::kRowOwner.at(0)), "Right");
  EXPECT_EQ(read("results.txt"), "Right::Wrong::Wrong::Wrong::Wrong::Right|[T]\n");
  write("groups.xml", "<FIELDGROUPS><FIELDGROUP ENTITY=\"PA\">" + groups + "</FIELDGROUP></FIELDGROUPS>");
  engine->scrubInputFields("PA", dir + "groups.xml", pa.get(), kFormID_PAReturnInfo, kDone, kInProgress);
  EXPECT_EQ(pa->getFieldAsString(kFormID_PAW2, 1, PAW2::kRowOwner.at(0)), "Scrubbed");
  EXPECT_EQ(pa->getMaxCopies(kFormID_PAW2), 1);
  for (const auto& c : copies) {
    if (c.why != nullptr) report += "field group PAW2:" + std::string(c.copy) + ":kPAW2_F25: " + c.why + "\n";
  }
  EXPECT_EQ(read(kReport), report);
}

// An in-progress box saved marked: every hook reports that it skips its
// steps, and any clear file saying "Yes" resets the box (the scrubber's
// alone, the cycle daemon's alone), so its hook runs.
TEST_F(HookFilesTest, AStaleInProgressBoxIsResetByAnyClearFileOrReported) {
  writeOptions(kEveryHook);
  info()->setX(kInProgress);
  engine->runAutoTest();
  runScrubber();
  runDaemon();
  const std::string stale = "the in-progress box is marked, but no hook is recalculating (a return saved so?): "
                            "every step is skipped until a clear file says CLEAR Yes\n";
  EXPECT_EQ(read(kReport), stale + stale + stale);
  EXPECT_TRUE(inProgress() && name() == "Jane" && !exists("names.txt") && !exists("daemon") && !done());
  clear(kClearScrubber, "Yes");
  runScrubber();
  EXPECT_TRUE(name() == "Anon" && !inProgress() && done());
  info()->setX(kInProgress);
  info()->setXNo(kDone);
  clear(kClearDaemon, "Yes");
  runDaemon();
  EXPECT_TRUE(exists("daemon/PAReturn.xml") && !inProgress() && done());
}

// Only exactly "Yes" switches a step on: not in another case, not with a
// blank.
TEST_F(HookFilesTest, OnlyExactlyYesSwitchesAStepOn) {
  for (const char* value : {"yes", "YES", "Yes ", " Yes", "Yes"}) {
    writeOptions({{"PAOUTPUTALLFIELDS", value}, {"PAOUTPUTALLFIELDSFILE", "names.txt"}});
    info()->setXNo(kDone);
    engine->runAutoTest();
    EXPECT_EQ(exists("names.txt"), std::string(value) == "Yes") << "\"" << value << "\"";
  }
}

}  // namespace
