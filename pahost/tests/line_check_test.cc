// Why a return file cannot be read, in words a user can act on.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/descriptors.h"
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

// Far more lines than a block holds, stored (federal figures, which need
// no form) and skipped (a form no return has) in turn, of many lengths:
// each comes back once, in order, with its number.
TEST(LineCheckTest, KeepsEveryLineInOrderPastItsBlock) {
  const std::string path = ::testing::TempDir() + "line_check_blocks." + std::to_string(::getpid());
  std::vector<std::string> stored, storedBack;
  std::string listing, listed;
  {
    std::ofstream file(path);
    for (long number = 1; number <= 80000; ++number) {
      const std::string n = std::to_string(number), padding(number % 70, ' ');
      std::string line = "FEDCOMMON:0:C1:" + padding + n;
      if (number % 2 == 0) {
        line = "NOFORM" + n + ":1:F1:" + padding + "x";
        const bool cut = line.size() > kShownLineLength;
        listing += n + " no such form: NOFORM" + n + " " + line.substr(0, kShownLineLength) + (cut ? "...\n" : "\n");
      } else {
        stored.push_back(line);
      }
      file << line << "\n";
    }
  }
  const LineCheck check = checkReturnLines(path, {});
  std::remove(path.c_str());
  check.stored.forEachPart([&](const std::vector<std::string>& lines) {
    storedBack.insert(storedBack.end(), lines.begin(), lines.end());
  });
  check.skipped.forEach([&](const SkippedLine& line) {
    listed += std::to_string(line.number) + " " + line.reason + " " + line.text + "\n";
  });
  EXPECT_EQ(storedBack, stored);
  EXPECT_EQ(listed, listing);
}

// The bytes bound holds the file's own bytes, line ends as written: a
// return of exactly 64 MiB whose last line has no end is within it, one
// byte more is past it, with either line end.
TEST(LineCheckTest, TheBytesBoundCountsTheFilesOwnBytes) {
  const std::string path = ::testing::TempDir() + "line_check_bytes." + std::to_string(::getpid());
  const struct {
    long long size;
    const char* end;
    ReturnBound bound;
  } kCases[] = {{kMaxReturnBytes, "\n", ReturnBound::kNone},
                {kMaxReturnBytes + 1, "\n", ReturnBound::kBytes},
                {kMaxReturnBytes + 1, "\r\n", ReturnBound::kBytes}};
  for (const auto& c : kCases) {
    {
      std::ofstream file(path, std::ios::binary);
      const std::string line = "#" + std::string(60000, ' ') + c.end;
      long long left = c.size;
      for (; left > static_cast<long long>(line.size()); left -= static_cast<long long>(line.size())) file << line;
      file << "#" << std::string(static_cast<std::size_t>(left - 1), ' ');  // the last line, without an end
    }
    EXPECT_EQ(checkReturnLines(path, {}).pastBound, c.bound) << c.size << " bytes";
  }
  std::remove(path.c_str());
}

}  // namespace
