// The module's automated-test hooks end to end: pahost runs the sample
// return with --autotest naming a folder of option files, through the real
// calculation, and every file the hooks write is checked: both dumps and
// the cycle daemon's parse, the two field-name lists, the import, a
// relation result, the rewritten clear file and the report of what was
// refused.
//
// The return carries a stale in-progress box, which the clear file resets;
// paths name the host's own folder "C:/AutoTest_OV/"; the results go to a
// folder that does not exist yet; a switch is commented out and another
// has an attribute.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "host/io.h"
#include "host/xml.h"

namespace {

std::string readFile(const std::string& path) {
  std::stringstream content;
  content << std::ifstream(path, std::ios::binary).rdbuf();
  return content.str();
}

// The name of the document element of an XML file; "" when it does not parse.
std::string rootOf(const std::string& path) {
  PersistanceMgmt::XmlTextReader reader;
  if (!reader.loadXml(IOMgmt::FileNamePtr(new IOMgmt::FileName(path)))) return "";
  return reader.getXmlDocument()->getDocumentElement()->getName();
}

TEST(AutoTestRunTest, PahostRunsEveryHookOnTheSample) {
  const std::string dir = ::testing::TempDir() + "pahost_autotest_" + std::to_string(::getpid()) + "/";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const auto write = [&](const std::string& name, const std::string& text) { std::ofstream(dir + name) << text; };
  const std::string on = ">Yes</";
  write("OrvaneAutoTest_OVQA.xml",
        "<?xml version=\"1.0\"?>\n<AUTOTESTOPTIONS>\n<!-- <SCRUBBER>Yes</SCRUBBER> -->\n"
        "<INPUTFIELDLIST>groups.xml</INPUTFIELDLIST>\n"
        "<PAGENERATECYCLE" + on + "PAGENERATECYCLE><PAOUTPUTDIR>C:/AutoTest_OV/values</PAOUTPUTDIR>\n"
        "<PAOUTPUTFIELDVALUES" + on + "PAOUTPUTFIELDVALUES><PAOUTPUTFIELDVALUESDIR>c:\\autotest_ov\\all"
        "</PAOUTPUTFIELDVALUESDIR>\n<PAOUTPUTALLFIELDS" + on + "PAOUTPUTALLFIELDS>"
        "<PAOUTPUTALLFIELDSFILE>names.txt</PAOUTPUTALLFIELDSFILE><PAOUTPUTALLFIELDSDIR>names</PAOUTPUTALLFIELDSDIR>\n"
        "<PAOUTPUTALLFIELDSFORSINGLEFORM" + on + "PAOUTPUTALLFIELDSFORSINGLEFORM>"
        "<PAOUTPUTALLFIELDSFORSINGLEFORMTARGET>pa40</PAOUTPUTALLFIELDSFORSINGLEFORMTARGET>"
        "<PAOUTPUTALLFIELDSFORSINGLEFORMFILE>pa40.txt</PAOUTPUTALLFIELDSFORSINGLEFORMFILE>"
        "<PAOUTPUTALLFIELDSFORSINGLEFORMDIR>names</PAOUTPUTALLFIELDSFORSINGLEFORMDIR>\n"
        "<PAIMPORTFIELDS" + on + "PAIMPORTFIELDS><PAFIELDLIST>import.txt</PAFIELDLIST>\n"
        "<PAFIELDRELATION" + on + "PAFIELDRELATION><PAFIELDRELATIONFORMSAFFECTED>forms.txt"
        "</PAFIELDRELATIONFORMSAFFECTED><PAFIELDRELATIONINPUTFIELDS>relations.xml</PAFIELDRELATIONINPUTFIELDS>"
        "<PAFIELDRELATIONOUTPUTFIELDS>results/relations.txt</PAFIELDRELATIONOUTPUTFIELDS>\n"
        "<PAGENERATECYCLEDAEMON note=\"every run\">Yes</PAGENERATECYCLEDAEMON>"
        "<PAOUTPUTDIRDAEMON>daemon</PAOUTPUTDIRDAEMON>\n</AUTOTESTOPTIONS>\n");
  const std::string clearYes = "<AUTOTESTOPTIONS><CLEAR>Yes</CLEAR></AUTOTESTOPTIONS>\n";
  for (const char* clear : {"PAOrvaneAutoTest_Clear.xml", "PAOrvaneAutoTest_Clear_Scrubber.xml",
                            "PAOrvaneAutoTest_Clear_KXTDaemon.xml"}) {
    write(clear, clearYes);
  }
  write("groups.xml", "<FIELDGROUPS><FIELDGROUP ENTITY=\"PA\"><FIELDREF FORM=\"PARETURNINFO\" COPY=\"1\" "
                      "FIELD=\"kPARETURNINFO_F128\" VALUE=\"NULLSTR\"/></FIELDGROUP></FIELDGROUPS>\n");
  write("import.txt", "PARETURNINFO:1:F128:Apr 15: 9:30\nPA40:1:F139:1,234.56\n# " +
                          std::string(70000, 'x') + "\nPARETURNINFO:1:F5: 500 \n");
  write("forms.txt", "PARETURNINFO\n");
  write("relations.xml", "<RELATIONS><RELATION><FIELD FORM=\"PARETURNINFO\" COPY=\"1\" NAME=\"F4\" VALUE=\"250\" "
                         "TYPE=\"Input\"/><FIELD FORM=\"PARETURNINFO\" COPY=\"1\" NAME=\"F5\" VALUE=\"500\" "
                         "TYPE=\"Output\"/></RELATION></RELATIONS>\n");
  // The sample, saved with the in-progress box marked.
  write("return.txt", readFile(PA_EXAMPLES_DIR "/sample_return.txt") + "PARETURNINFO:1:F81566:X\n");

  const std::string command = std::string("'") + PAHOST + "' --dump --autotest '" + dir + "' --out '" + dir +
                              "40.tif' '" + dir + "return.txt' 2>'" + dir + "stderr.txt'";
  std::FILE* run = ::popen(command.c_str(), "r");
  ASSERT_NE(run, nullptr);
  std::string dump;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, run)) > 0;) dump.append(buffer, n);
  ASSERT_EQ(::pclose(run), 0) << readFile(dir + "stderr.txt");
  EXPECT_EQ(readFile(dir + "stderr.txt").find("Sanitizer"), std::string::npos);

  for (const char* xml : {"values/PAReturn.xml", "all/PAReturn.xml", "daemon/PAReturn.xml"}) {
    EXPECT_EQ(rootOf(dir + xml), "RETURN") << xml;
  }
  const std::string names = readFile(dir + "names/names.txt");
  const std::string pa40 = readFile(dir + "names/pa40.txt");
  EXPECT_TRUE(names.find("\nkPARETURNINFO_F81566\n") != std::string::npos && pa40.rfind("kPA40_", 0) == 0);
  EXPECT_TRUE(names.find(pa40) != std::string::npos && pa40.find("\nkPARETURNINFO_") == std::string::npos);
  // The import, the relation's input and the scrubber left off.
  EXPECT_NE(dump.find("\nPARETURNINFO:1:F128:Apr 15: 9:30\n"), std::string::npos);
  EXPECT_NE(dump.find("\nPARETURNINFO:1:F5:500\n"), std::string::npos);
  EXPECT_NE(dump.find("\nPARETURNINFO:1:F4:250\n"), std::string::npos);
  EXPECT_EQ(dump.find("\nPARETURNINFO:1:F81566:X\n"), std::string::npos);
  // The import comes after the dumps and before the relations.
  EXPECT_EQ(readFile(dir + "values/PAReturn.xml").find("Apr 15"), std::string::npos);
  EXPECT_EQ(readFile(dir + "results/relations.txt"), "250::500|500[N]\n");
  EXPECT_EQ(readFile(dir + "PAOrvaneAutoTest_Clear.xml"),
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<AUTOTESTOPTIONS>\n<CLEAR>No</CLEAR>\n</AUTOTESTOPTIONS>\n");
  EXPECT_EQ(readFile(dir + "PAOrvaneAutoTest_Clear_KXTDaemon.xml"), clearYes);
  EXPECT_EQ(readFile(dir + "OrvaneAutoTest_Report.txt"),
            dir + "import.txt line 2: the amount is not a plain number\n" + dir +
                "import.txt line 3: longer than 65536 bytes\n");
  if (!HasFailure()) std::filesystem::remove_all(dir);
}

// Under reads and writes a signal interrupts, the relation run reads its
// files whole; a read that fails on one (io_faults.cc) stops the run with the cause in the report and leaves the done
// box (F81567) clear.
TEST(AutoTestRunTest, AFailedReadStopsTheRelationRunAndAnInterruptedOneIsTriedAgain) {
  const std::string dir = ::testing::TempDir() + "pahost_autotest_reads_" + std::to_string(::getpid()) + "/";
  std::filesystem::create_directories(dir);
  const std::string pahost = PAHOST, faults = PA_IO_FAULTS;
  const auto write = [&](const std::string& name, const std::string& text) { std::ofstream(dir + name) << text; };
  write("OrvaneAutoTest_OVQA.xml", "<AUTOTESTOPTIONS><PAFIELDRELATION>Yes</PAFIELDRELATION>"
                                   "<PAFIELDRELATIONFORMSAFFECTED>forms.txt</PAFIELDRELATIONFORMSAFFECTED>"
                                   "<PAFIELDRELATIONINPUTFIELDS>relations.xml</PAFIELDRELATIONINPUTFIELDS>"
                                   "<PAFIELDRELATIONOUTPUTFIELDS>results.txt</PAFIELDRELATIONOUTPUTFIELDS>"
                                   "</AUTOTESTOPTIONS>\n");
  write("forms.txt", "PARETURNINFO\n");
  write("relations.xml", "<RELATIONS><RELATION><FIELD FORM=\"PARETURNINFO\" COPY=\"1\" NAME=\"F4\" VALUE=\"250\" "
                         "TYPE=\"Input\"/></RELATION></RELATIONS>\n");
  write("ret.txt", readFile(PA_EXAMPLES_DIR "/sample_return.txt"));
  for (const char* file : {"", "forms.txt", "relations.xml"}) {  // "": every read and write interrupted once
    std::filesystem::remove(dir + "OrvaneAutoTest_Report.txt");
    std::filesystem::remove(dir + "results.txt");
    const std::string faulty =
        *file == '\0' ? "PA_FAULT_EINTR=1" : "PA_FAULT_READS=0 PA_FAULT_PATH=" + std::string(file);
    const std::string command = "LD_PRELOAD='" + faults + "' ASAN_OPTIONS=verify_asan_link_order=0 " + faulty + " '" +
                                pahost + "' --dump --autotest '" + dir + "' --out '" + dir + "40.tif' '" + dir +
                                "ret.txt' >'" + dir + "dump.txt' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << faulty;
    const bool done = readFile(dir + "dump.txt").find("\nPARETURNINFO:1:F81567:X\n") != std::string::npos;
    EXPECT_EQ(readFile(dir + "OrvaneAutoTest_Report.txt"),
              *file == '\0' ? "" : "file " + dir + file + " not read: cannot be read: Input/output error\n");
    EXPECT_TRUE(done == (*file == '\0') && readFile(dir + "results.txt") == (done ? "250\n" : "")) << faulty;
  }
  if (!HasFailure()) std::filesystem::remove_all(dir);
}

// A hook's output named like the data file is refused: when the new data
// file cannot be written (a full disk: no file may grow past 1 KB), the
// older one stays whole.
TEST(AutoTestRunTest, AnOutputNamedLikeTheDataFileLeavesTheOlderFileWhole) {
  const std::string dir = ::testing::TempDir() + "pahost_autotest_out_" + std::to_string(::getpid()) + "/";
  std::filesystem::create_directories(dir);
  std::ofstream(dir + "OrvaneAutoTest_OVQA.xml") << "<O><PAOUTPUTALLFIELDS>Yes</PAOUTPUTALLFIELDS>"
                                                    "<PAOUTPUTALLFIELDSFILE>40.tif</PAOUTPUTALLFIELDSFILE></O>";
  std::ofstream(dir + "40.tif") << "older";
  const std::string command = std::string("trap '' XFSZ; ulimit -f 2; '") + PAHOST + "' --autotest '" + dir +
                              "' --out '" + dir + "40.tif' '" PA_EXAMPLES_DIR "/sample_return.txt' >/dev/null 2>&1";
  EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 1);
  EXPECT_EQ(readFile(dir + "40.tif"), "older");
  EXPECT_EQ(readFile(dir + "OrvaneAutoTest_Report.txt"), "output " + dir + "40.tif: names a file this run writes\n");
  if (!HasFailure()) std::filesystem::remove_all(dir);
}

// Nor does a hook write the lock file (nor the one it is made anew under),
// and a report that is the data file, or a hard link to a file outside the
// folder, goes to standard error: while the new file cannot be written,
// the older one stays whole, and so does the file linked.
TEST(AutoTestRunTest, NoHookWritesTheLockFileOrIntoTheDataFile) {
  const std::string dir = ::testing::TempDir() + "pahost_autotest_own_" + std::to_string(::getpid()) + "/";
  const std::string outside = dir.substr(0, dir.size() - 1) + ".report";
  const std::string lock = ".pahost." + std::to_string(::geteuid()) + ".lock";
  const std::string notInReport = " (not in the report " + dir + "OrvaneAutoTest_Report.txt: names a file ";
  const struct {
    std::string out, output, report, errors;
    bool linked;  // the report is a second name of `outside`, which holds "older"
  } kCases[] = {{"40.tif", lock, "output " + dir + lock + ": names a file this run writes\n", "", false},
                 {"40.tif", lock + ".new", "output " + dir + lock + ".new: names a file this run writes\n", "", false},
                {"OrvaneAutoTest_Report.txt", "OrvaneAutoTest_Report.txt", "older",
                 "PA automated test: output " + dir + "OrvaneAutoTest_Report.txt: names a control file of the hooks" +
                     notInReport + "this run writes)\n", false},
                {"40.tif", lock, "older",
                 "PA automated test: output " + dir + lock + ": names a file this run writes" + notInReport +
                     "with more than one hard link)\n", true}};
  for (const auto& c : kCases) {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::ofstream(dir + "OrvaneAutoTest_OVQA.xml") << "<O><PAOUTPUTALLFIELDS>Yes</PAOUTPUTALLFIELDS><PAOUTPUTALLFIELDSFILE>"
                                                   << c.output << "</PAOUTPUTALLFIELDSFILE></O>";
    std::ofstream(dir + c.out) << "older";
    if (c.linked) {
      std::ofstream(outside, std::ios::trunc) << "older";
      std::filesystem::create_hard_link(outside, dir + "OrvaneAutoTest_Report.txt");
    }
    const std::string command = std::string("trap '' XFSZ; ulimit -f 2; '") + PAHOST + "' --autotest '" + dir +
                                "' --out '" + dir + c.out + "' '" PA_EXAMPLES_DIR "/sample_return.txt' >/dev/null 2>'" +
                                dir + "errors.txt'";
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 1) << c.out;
    EXPECT_EQ(readFile(dir + c.out), "older");
    EXPECT_EQ(readFile(dir + "OrvaneAutoTest_Report.txt"), c.report);
    EXPECT_NE(readFile(dir + "errors.txt").find(c.errors), std::string::npos) << readFile(dir + "errors.txt");
  }
  std::filesystem::remove(outside);
  if (!HasFailure()) std::filesystem::remove_all(dir);
}

// The hooks remove the automated-test folder when the run finds it empty,
// and leave one that holds anything.
TEST(AutoTestRunTest, AnEmptyFolderIsRemovedAndAnotherStays) {
  const std::string base = ::testing::TempDir() + "pahost_autotest_empty_" + std::to_string(::getpid()) + "/";
  for (const bool empty : {true, false}) {
    const std::string dir = base + (empty ? "empty" : "kept");
    std::filesystem::create_directories(dir);
    if (!empty) std::ofstream(dir + "/notes.txt") << "kept\n";
    const std::string command = std::string("'") + PAHOST + "' --autotest '" + dir + "' --out '" + base +
                                "40.tif' '" + PA_EXAMPLES_DIR "/sample_return.txt' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(!empty, std::filesystem::exists(dir)) << dir;
  }
  std::filesystem::remove_all(base);
}

}  // namespace
