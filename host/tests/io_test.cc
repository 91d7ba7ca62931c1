#include "host/io.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "host/tests/temp_files.h"

// Counts the calls of realpath in this program (std::filesystem resolves
// names with it) and hands each on to the system's.
static int realpathCalls = 0;
extern "C" char* realpath(const char* path, char* resolved) noexcept {
  ++realpathCalls;
  static const auto next = reinterpret_cast<char* (*)(const char*, char*)>(::dlsym(RTLD_NEXT, "realpath"));
  return next(path, resolved);
}

namespace {

using IOMgmt::FileName;
using IOMgmt::FileNamePtr;
using IOMgmt::FileReader;
using IOMgmt::FileWriter;

class FileIoTest : public TempFilesTest {
 protected:
  // Every line of the file, read the way the module reads: while !eof().
  std::vector<std::string> readAll(const std::string& name) {
    FileReader reader;
    EXPECT_TRUE(reader.open(FileNamePtr(new FileName(path(name)))));
    std::vector<std::string> lines;
    std::string line;
    while (!reader.eof()) {
      EXPECT_TRUE(reader.readPCLine(line));
      lines.push_back(line);
      if (lines.size() > 10) break;  // a reader that never ends
    }
    EXPECT_FALSE(reader.readPCLine(line));
    EXPECT_EQ(line, "");
    return lines;
  }
};

using Lines = std::vector<std::string>;

TEST_F(FileIoTest, EofLooksAheadSoEachLineComesOnce) {
  struct Case {
    std::string bytes;
    Lines lines;
  };
  const Case cases[] = {
      {"a\nb\n", {"a", "b"}},              // final "\n": no extra empty line
      {"a\r\nb\r\n", {"a", "b"}},          // "\r\n" ends a line too
      {"a\nb", {"a", "b"}},                // a last line without an end
      {"", {}},                            // an empty file has no line
      {"\n", {""}},                        // one empty line
      {"a\n\n\nb\n", {"a", "", "", "b"}},  // empty lines in between are kept
      {"a\rb\r\rc", {"a", "b", "", "c"}},  // a lone "\r" ends a line too
      {"a\n" + std::string(IOMgmt::kMaxLineLength + 1, 'x') + "\nb\n", {"a"}},  // too long: the end
      {std::string("x\0y\n\xff\n", 6), {std::string("x\0y", 3), "\xff"}},  // bytes as they are
      // Lines and "\r\n" across the reader's blocks, the longest line whole.
      {std::string(4095, 'a') + "\r\nb\r", {std::string(4095, 'a'), "b"}},
      {std::string(IOMgmt::kMaxLineLength, 'x') + "\rc", {std::string(IOMgmt::kMaxLineLength, 'x'), "c"}},
  };
  int i = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(i);
    const std::string name = "f" + std::to_string(i++);
    write(name, c.bytes);
    EXPECT_EQ(readAll(name), c.lines);
  }
}

// An unopened, failed or closed reader is at its end; a failed or closed
// writer writes nothing.
TEST_F(FileIoTest, UnopenedFailedOrClosedFilesAreAtEnd) {
  FileReader reader;
  std::string line = "stale";
  EXPECT_FALSE(reader.readPCLine(line));
  EXPECT_EQ(line, "");
  EXPECT_FALSE(reader.open(FileNamePtr(new FileName(path("missing")))));
  EXPECT_FALSE(reader.open(FileNamePtr()));
  EXPECT_TRUE(reader.eof());
  write("out", "old content that is longer\n");
  ASSERT_TRUE(reader.open(FileNamePtr(new FileName(path("out")))));
  reader.close();
  EXPECT_TRUE(reader.eof());

  FileWriter writer;  // truncates and ends each line
  ASSERT_TRUE(writer.open(FileNamePtr(new FileName(path("out")))));
  EXPECT_TRUE(writer.putPCLine("first") && writer.putPCLine(""));
  writer.close();
  EXPECT_EQ(read("out"), "first\n\n");
  EXPECT_FALSE(writer.putPCLine("after close"));
  EXPECT_FALSE(writer.open(FileNamePtr(new FileName(path("no/such/dir/out")))));
  EXPECT_FALSE(writer.open(FileNamePtr()));
}

// A read that fails ends the reading without passing for the end of the
// file (the system's own file of this process's memory fails its first
// read), and so does a write that fails at the close.
TEST_F(FileIoTest, FailedReadsAndWritesAreNoEnd) {
  FileReader reader;
  ASSERT_TRUE(reader.open(FileNamePtr(new FileName("/proc/self/mem"))));
  EXPECT_TRUE(reader.eof());
  EXPECT_EQ(reader.readError(), EIO);
  std::vector<std::string> lines;
  EXPECT_FALSE(IOMgmt::readAllLines("/proc/self/mem", &lines));
  FileWriter writer;
  ASSERT_TRUE(writer.open(FileNamePtr(new FileName("/dev/full"))));
  EXPECT_TRUE(writer.putPCLine("kept in the block until the close"));
  EXPECT_FALSE(writer.close());
}

TEST_F(FileIoTest, FileNamesAndReaderAllocation) {
  FileName name(path("data.tif"));
  EXPECT_EQ(name.getShortName(), "data.tif");
  EXPECT_EQ(FileName("dir/").getShortName(), "");
  write("data.tif", "x");
  EXPECT_TRUE(name.deleteFile());
  EXPECT_FALSE(name.fileExist());
  EXPECT_FALSE(FileName(path("")).fileExist());  // a directory is not a file
  IOMgmt::IOMgr& mgr = IOMgmt::IOMgr::getInstance();
  const int before = mgr.liveReaders();
  mgr.deallocateFileReader(mgr.allocateFileReader());
  mgr.deallocateFileReader(nullptr);
  EXPECT_EQ(mgr.liveReaders(), before);
}

// Files that exist are told apart by the disk, and from a missing path,
// without resolving a name; so are two missing paths ending in different
// names. Only missing paths of one name are resolved (made absolute too).
TEST_F(FileIoTest, SameFileResolvesNamesOnlyWhenTheDiskCannotTell) {
  const std::string file = write("file.tif", "x"), missing = path("missing.tif");
  std::filesystem::create_hard_link(file, path("link.tif"));
  const struct {
    std::string a, b;
    bool same, resolved;
  } cases[] = {{file, path("link.tif"), true, false}, {file, write("other.tif", "x"), false, false},
               {file, missing, false, false}, {missing, path("gone.tif"), false, false},
               {missing, path("new/../missing.tif"), true, true},
               {(std::filesystem::current_path() / "nowhere.tif").string(), "nowhere.tif", true, true}};
  for (const auto& c : cases) {
    realpathCalls = 0;
    EXPECT_EQ(IOMgmt::sameFile(c.a, c.b), c.same) << c.a << " " << c.b;
    EXPECT_EQ(realpathCalls > 0, c.resolved) << c.a << " " << c.b;
  }
}

}  // namespace
