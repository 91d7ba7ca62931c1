// Option files, clear files and the resolution of the paths option files
// name: nothing a file says may lead outside the automated-test directory.
#include "testing/auto_test_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "host/configuration.h"
#include "host/stand_in.h"
#include "host/xml.h"

namespace {

class AutoTestFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StandIn::resetAll();
    dir = ::testing::TempDir() + "autotest_files_" + std::to_string(::getpid()) + "/";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    DataMgmt::OrvaneConfiguration::getInstance().setAutoTestDir(dir);
  }
  void TearDown() override {
    StandIn::resetAll();
    std::filesystem::remove_all(dir);
  }
  std::string read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
  }

  std::string dir;
};

TEST_F(AutoTestFilesTest, PathsResolveInsideTheAutoTestDirectoryOrAreRefused) {
  struct Row {
    std::string value;
    bool asFile;
    bool resolves;
    std::string below;  // the resolved path after the directory
  };
  const std::string base = dir;
  const std::string baseWithoutSlash = dir.substr(0, dir.size() - 1);
  const Row rows[] = {
      {"", false, true, ""},
      {"", true, false, ""},
      {"out", false, true, "out"},
      {"out/sub/list.txt", true, true, "out/sub/list.txt"},
      {"out\\sub", false, true, "out/sub"},
      {"./out//x/.", true, true, "out/x"},
      {base + "out", false, true, "out"},
      {baseWithoutSlash, false, true, ""},
      {baseWithoutSlash, true, false, ""},
      {"..", false, false, ""},
      {"../escape", false, false, ""},
      {"out/../../escape", true, false, ""},
      {"out\\..\\..\\escape", true, false, ""},
      {base + "../escape", true, false, ""},
      {"/etc/passwd", true, false, ""},
      {"\\etc\\passwd", true, false, ""},
      {"C:/Windows/x.txt", true, false, ""},
      {"out/D:x", true, false, ""},
  };
  for (const Row& row : rows) {
    std::string path = "unchanged";
    const bool resolved = row.asFile ? AutoTestFiles::resolveFile(row.value, path)
                                     : AutoTestFiles::resolveDirectory(row.value, path);
    EXPECT_EQ(resolved, row.resolves) << row.value;
    if (row.resolves) {
      EXPECT_EQ(path, base + row.below) << row.value;
    } else {
      EXPECT_EQ(path, "unchanged") << row.value;
    }
  }
}

// The module's own default, "C:/AutoTest_OV/", is a relative path here: a
// value naming a place in it resolves, another drive does not.
TEST_F(AutoTestFilesTest, TheDefaultDirectoryAcceptsValuesWrittenAgainstIt) {
  StandIn::resetAll();
  std::string path;
  EXPECT_TRUE(AutoTestFiles::resolveDirectory("C:/AutoTest_OV/Out", path));
  EXPECT_EQ(path, "C:/AutoTest_OV/Out");
  EXPECT_TRUE(AutoTestFiles::resolveFile("C:\\AutoTest_OV\\list.txt", path));
  EXPECT_EQ(path, "C:/AutoTest_OV/list.txt");
  EXPECT_FALSE(AutoTestFiles::resolveDirectory("D:/AutoTest_OV/Out", path));
  EXPECT_EQ(AutoTestFiles::autoTestFile("PAOrvaneAutoTest_Clear.xml"),
            "C:/AutoTest_OV/PAOrvaneAutoTest_Clear.xml");
}

TEST_F(AutoTestFilesTest, PlainNamesHaveOnePart) {
  EXPECT_TRUE(AutoTestFiles::isPlainName("names.txt"));
  EXPECT_TRUE(AutoTestFiles::isPlainName("..names"));
  for (const char* name : {"", ".", "..", "a/b", "a\\b", "C:x", "/x"}) {
    EXPECT_FALSE(AutoTestFiles::isPlainName(name)) << name;
  }
}

TEST_F(AutoTestFilesTest, OnlyExactlyYesSwitchesOn) {
  EXPECT_TRUE(AutoTestFiles::isOn("Yes"));
  for (const char* value : {"yes", "YES", "Yes ", " Yes", "Y", "", "No"}) {
    EXPECT_FALSE(AutoTestFiles::isOn(value)) << value;
  }
}

TEST_F(AutoTestFilesTest, OptionsAreTheTextOfTheFirstElementOfEachTag) {
  std::ofstream(dir + "options.xml")
      << "<AUTOTESTOPTIONS>\n<PAOUTPUTALLFIELDSFILE>names.txt</PAOUTPUTALLFIELDSFILE>\n"
         "<PAOUTPUTALLFIELDS>Yes </PAOUTPUTALLFIELDS>\n<PAOUTPUTALLFIELDS>Yes</PAOUTPUTALLFIELDS>\n"
         "</AUTOTESTOPTIONS>\n";
  AutoTestFiles::OptionValues values;
  ASSERT_TRUE(AutoTestFiles::readOptions(dir + "options.xml",
                                         {"PAOUTPUTALLFIELDS", "PAOUTPUTALLFIELDSFILE", "MISSING"}, values));
  EXPECT_EQ(values["PAOUTPUTALLFIELDS"], "Yes ");
  EXPECT_EQ(values["PAOUTPUTALLFIELDSFILE"], "names.txt");
  EXPECT_EQ(values["MISSING"], "");

  ASSERT_TRUE(AutoTestFiles::readOptions(dir + "none.xml", {"PAOUTPUTALLFIELDS"}, values));
  EXPECT_EQ(values["PAOUTPUTALLFIELDS"], "");
}

TEST_F(AutoTestFilesTest, AReaderExceptionEndsTheRead) {
  std::ofstream(dir + "options.xml") << "<SCRUBBER>Yes</SCRUBBER>";
  PersistanceMgmt::XMLParser::setThrowOnRead(true, dir + "options.xml");
  AutoTestFiles::OptionValues values;
  EXPECT_FALSE(AutoTestFiles::readOptions(dir + "options.xml", {"SCRUBBER"}, values));
  EXPECT_TRUE(values.empty());
}

TEST_F(AutoTestFilesTest, ARewrittenClearFileHoldsExactlyFourLines) {
  std::ofstream(dir + "clear.xml") << "<AUTOTESTOPTIONS><CLEAR>Yes</CLEAR></AUTOTESTOPTIONS>\n"
                                      "a much longer file than the one written in its place\n";
  AutoTestFiles::rewriteClearFile(dir + "clear.xml");
  EXPECT_EQ(read(dir + "clear.xml"),
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<AUTOTESTOPTIONS>\n<CLEAR>No</CLEAR>\n"
            "</AUTOTESTOPTIONS>\n");
}

TEST_F(AutoTestFilesTest, TheDirectoryIsRemovedOnlyWhenEmpty) {
  std::ofstream(dir + "keep.xml") << "x";
  AutoTestFiles::removeAutoTestDirectory();
  EXPECT_TRUE(std::filesystem::exists(dir + "keep.xml"));
  std::filesystem::remove(dir + "keep.xml");
  AutoTestFiles::removeAutoTestDirectory();
  EXPECT_FALSE(std::filesystem::exists(dir));
}

TEST_F(AutoTestFilesTest, MakeDirectoriesMakesEveryMissingLevel) {
  AutoTestFiles::makeDirectories(dir + "a/b/c");
  EXPECT_TRUE(std::filesystem::is_directory(dir + "a/b/c"));
  AutoTestFiles::makeDirectories(dir + "a/b/c");  // an existing directory is fine
  EXPECT_TRUE(std::filesystem::is_directory(dir + "a/b/c"));
}

}  // namespace
