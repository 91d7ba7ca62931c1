// Option and clear files, the automated-test directory and the paths
// option files name: nothing a file says may lead outside the directory.
#include "testing/auto_test_files.h"

#include "host/xml.h"
#include "testing/tests/auto_test_fixture.h"

namespace {

using AutoTestFilesTest = AutoTestFixture;

TEST_F(AutoTestFilesTest, PathsResolveInsideTheAutoTestDirectoryOrAreRefused) {
  const std::string base = dir, bare = dir.substr(0, dir.size() - 1);
  const struct {
    std::string value;
    bool asFile, resolves;
    std::string below;  // the resolved path after the directory
  } rows[] = {
      {"", false, true, ""}, {"", true, false, ""}, {"out/sub/list.txt", true, true, "out/sub/list.txt"},
      {"out\\sub", false, true, "out/sub"}, {"./out//x/.", true, true, "out/x"}, {base + "out", false, true, "out"},
      {bare, false, true, ""}, {bare, true, false, ""}, {"..", false, false, ""}, {"out/../../escape", true, false, ""},
      {"out\\..\\..\\escape", true, false, ""}, {base + "../escape", true, false, ""}, {"/etc/passwd", true, false, ""},
      {"\\etc\\passwd", true, false, ""}, {"C:/Windows/x.txt", true, false, ""}, {"out/D:x", true, false, ""},
  };
  for (const auto& row : rows) {
    std::string path = "unchanged";
    const bool resolved = row.asFile ? AutoTestFiles::resolveFile(row.value, path)
                                     : AutoTestFiles::resolveDirectory(row.value, path);
    EXPECT_EQ(resolved, row.resolves) << row.value;
    EXPECT_EQ(path, row.resolves ? base + row.below : "unchanged") << row.value;
  }
  for (const char* name : {"", ".", "..", "a/b", "a\\b", "C:x", "/x"}) EXPECT_FALSE(AutoTestFiles::isPlainName(name));
  EXPECT_TRUE(AutoTestFiles::isPlainName("..names"));
  // Without a directory nothing resolves, not even the Windows path.
  DataMgmt::OrvaneConfiguration::getInstance().setAutoTestDir("");
  std::string path;
  EXPECT_FALSE(AutoTestFiles::resolveFile("C:/AutoTest_OV/list.txt", path) || AutoTestFiles::resolveDirectory("", path));
}

// A switch is on for exactly "Yes" in the first element of its tag.
TEST_F(AutoTestFilesTest, OnlyExactlyYesSwitchesAStepOn) {
  write("options.xml", "<A>yes</A><B>YES</B><C>Yes </C><C>Yes</C><D>Yes</D>");
  AutoTestFiles::OptionValues values;
  ASSERT_TRUE(AutoTestFiles::readOptions(dir + "options.xml", {"A", "B", "C", "D", "E"}, values));
  EXPECT_EQ(values["C"] + "|" + values["E"], "Yes |");
  for (const char* tag : {"A", "B", "C", "E"}) EXPECT_FALSE(AutoTestFiles::isOn(values[tag])) << tag;
  EXPECT_TRUE(AutoTestFiles::isOn(values["D"]));
}

}  // namespace
