// Why a return file cannot be read, in words a user can act on.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "pahost/line_check.h"

namespace {

TEST(UnreadableCauseTest, SaysWhyAFileCannotBeRead) {
  const std::filesystem::path dir = ::testing::TempDir() + "line_check." + std::to_string(::getpid());
  std::filesystem::create_directories(dir);
  const std::string readable = (dir / "return.txt").string();
  std::ofstream(readable) << "FEDCOMMON:0:C1:1\n";
  const std::string locked = (dir / "locked.txt").string();
  std::ofstream(locked) << "FEDCOMMON:0:C1:1\n";
  ::chmod(locked.c_str(), 0);
  const struct {
    std::string path;
    const char* cause;
  } kCases[] = {
      {(dir / "missing.txt").string(), "no such file"},
      {dir.string(), "it is a folder"},
      {(dir / "return.txt" / "below").string(), "Not a directory"},
      {readable, ""},
      // The superuser reads a file of any permissions.
      {locked, ::geteuid() == 0 ? "" : "no permission to read it"},
  };
  for (const auto& c : kCases) EXPECT_EQ(c.cause, unreadableCause(c.path)) << c.path;
  std::filesystem::remove_all(dir);
}

}  // namespace
