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
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    DataMgmt::OrvaneConfiguration::getInstance().setAutoTestDir(dir);
  }
  void TearDown() override {
    StandIn::resetAll();
    std::filesystem::remove_all(dir);
  }
  const std::string dir = ::testing::TempDir() + "autotest_files_" + std::to_string(::getpid()) + "/";
};

TEST_F(AutoTestFilesTest, PathsResolveInsideTheAutoTestDirectoryOrAreRefused) {
  const std::string base = dir, bare = dir.substr(0, dir.size() - 1);
  const struct {
    std::string value;
    bool asFile, resolves;
    std::string below;  // the resolved path after the directory
  } rows[] = {
      {"", false, true, ""}, {"", true, false, ""}, {"out", false, true, "out"},
      {"out/sub/list.txt", true, true, "out/sub/list.txt"}, {"out\\sub", false, true, "out/sub"},
      {"./out//x/.", true, true, "out/x"}, {base + "out", false, true, "out"}, {bare, false, true, ""},
      {bare, true, false, ""}, {"..", false, false, ""}, {"../escape", false, false, ""},
      {"out/../../escape", true, false, ""}, {"out\\..\\..\\escape", true, false, ""},
      {base + "../escape", true, false, ""}, {"/etc/passwd", true, false, ""}, {"\\etc\\passwd", true, false, ""},
      {"C:/Windows/x.txt", true, false, ""}, {"out/D:x", true, false, ""},
  };
  for (const auto& row : rows) {
    std::string path = "unchanged";
    const bool resolved = row.asFile ? AutoTestFiles::resolveFile(row.value, path)
                                     : AutoTestFiles::resolveDirectory(row.value, path);
    EXPECT_EQ(resolved, row.resolves) << row.value;
    EXPECT_EQ(path, row.resolves ? base + row.below : "unchanged") << row.value;
  }
  for (const char* name : {"", ".", "..", "a/b", "a\\b", "C:x", "/x"}) {
    EXPECT_FALSE(AutoTestFiles::isPlainName(name)) << name;
  }
  EXPECT_TRUE(AutoTestFiles::isPlainName("..names"));

  // The module's own default, "C:/AutoTest_OV/", is a relative path here: a
  // value naming a place in it resolves, another drive does not.
  StandIn::resetAll();
  std::string path;
  EXPECT_TRUE(AutoTestFiles::resolveFile("C:\\AutoTest_OV\\list.txt", path));
  EXPECT_EQ(path, "C:/AutoTest_OV/list.txt");
  EXPECT_FALSE(AutoTestFiles::resolveDirectory("D:/AutoTest_OV/Out", path));
}

TEST_F(AutoTestFilesTest, OptionAndClearFiles) {
  std::ofstream(dir + "options.xml") << "<AUTOTESTOPTIONS>\n<PAOUTPUTALLFIELDS>Yes </PAOUTPUTALLFIELDS>\n"
                                        "<PAOUTPUTALLFIELDS>Yes</PAOUTPUTALLFIELDS>\n</AUTOTESTOPTIONS>\n";
  AutoTestFiles::OptionValues values;
  ASSERT_TRUE(AutoTestFiles::readOptions(dir + "options.xml", {"PAOUTPUTALLFIELDS", "MISSING"}, values));
  EXPECT_EQ(values["PAOUTPUTALLFIELDS"], "Yes ");  // the first element, as it stands: not on
  EXPECT_FALSE(AutoTestFiles::isOn(values["PAOUTPUTALLFIELDS"]) || AutoTestFiles::isOn("yes"));
  EXPECT_TRUE(AutoTestFiles::isOn("Yes"));
  EXPECT_EQ(values["MISSING"], "");
  ASSERT_TRUE(AutoTestFiles::readOptions(dir + "none.xml", {"PAOUTPUTALLFIELDS"}, values));
  EXPECT_EQ(values["PAOUTPUTALLFIELDS"], "");
  PersistanceMgmt::XMLParser::setThrowOnRead(true, dir + "options.xml");
  EXPECT_FALSE(AutoTestFiles::readOptions(dir + "options.xml", {"PAOUTPUTALLFIELDS"}, values));
  EXPECT_TRUE(values.empty());

  std::ofstream(dir + "clear.xml") << "<AUTOTESTOPTIONS><CLEAR>Yes</CLEAR></AUTOTESTOPTIONS>\n"
                                      "a much longer file than the one written in its place\n";
  AutoTestFiles::rewriteClearFile(dir + "clear.xml");
  std::stringstream clear;
  clear << std::ifstream(dir + "clear.xml").rdbuf();
  EXPECT_EQ(clear.str(), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<AUTOTESTOPTIONS>\n<CLEAR>No</CLEAR>\n"
                         "</AUTOTESTOPTIONS>\n");
}

TEST_F(AutoTestFilesTest, DirectoriesAreMadeAtEveryLevelAndRemovedOnlyWhenEmpty) {
  AutoTestFiles::makeDirectories(dir + "a/b/c");
  AutoTestFiles::makeDirectories(dir + "a/b/c");  // an existing directory is fine
  EXPECT_TRUE(std::filesystem::is_directory(dir + "a/b/c"));
  AutoTestFiles::removeAutoTestDirectory();
  EXPECT_TRUE(std::filesystem::exists(dir));
  std::filesystem::remove_all(dir + "a");
  AutoTestFiles::removeAutoTestDirectory();
  EXPECT_FALSE(std::filesystem::exists(dir));
}

}  // namespace
