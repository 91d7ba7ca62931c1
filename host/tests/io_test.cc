#include "host/io.h"

#include <gtest/gtest.h>

#include <vector>

#include "host/tests/temp_files.h"

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
    const char* bytes;
    Lines lines;
  };
  const Case cases[] = {
      {"a\nb\n", {"a", "b"}},              // final "\n": no extra empty line
      {"a\r\nb\r\n", {"a", "b"}},          // "\r\n" ends a line too
      {"a\nb", {"a", "b"}},                // a last line without an end
      {"", {}},                            // an empty file has no line
      {"\n", {""}},                        // one empty line
      {"a\n\n\nb\n", {"a", "", "", "b"}},  // empty lines in between are kept
      {"a\rb\r\n", {"a\rb"}},              // a lone "\r" is part of the line
  };
  int i = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(i);
    const std::string name = "f" + std::to_string(i++);
    write(name, c.bytes);
    EXPECT_EQ(readAll(name), c.lines);
  }
}

TEST_F(FileIoTest, ReaderKeepsBytesAsTheyAre) {
  write("nul", std::string("x\0y\n\xff\n", 6));
  EXPECT_EQ(readAll("nul"), (Lines{std::string("x\0y", 3), "\xff"}));
}

TEST_F(FileIoTest, UnopenedOrFailedReaderIsAtEnd) {
  FileReader reader;
  std::string line = "stale";
  EXPECT_TRUE(reader.eof());
  EXPECT_FALSE(reader.readPCLine(line));
  EXPECT_EQ(line, "");

  EXPECT_FALSE(reader.open(FileNamePtr(new FileName(path("missing")))));
  EXPECT_TRUE(reader.eof());
  EXPECT_FALSE(reader.open(FileNamePtr()));
  EXPECT_TRUE(reader.eof());

  write("one", "1\n");
  ASSERT_TRUE(reader.open(FileNamePtr(new FileName(path("one")))));
  EXPECT_FALSE(reader.eof());
  reader.close();
  EXPECT_TRUE(reader.eof());
}

TEST_F(FileIoTest, WriterTruncatesAndEndsEachLine) {
  write("out", "old content that is longer\n");
  FileWriter writer;
  ASSERT_TRUE(writer.open(FileNamePtr(new FileName(path("out")))));
  EXPECT_TRUE(writer.putPCLine("first"));
  EXPECT_TRUE(writer.putPCLine(""));
  writer.close();
  EXPECT_EQ(read("out"), "first\n\n");
  EXPECT_FALSE(writer.putPCLine("after close"));

  ASSERT_TRUE(writer.open(FileNamePtr(new FileName(path("out")))));
  writer.close();
  EXPECT_EQ(read("out"), "");
}

TEST_F(FileIoTest, WriterReportsFailure) {
  FileWriter writer;
  EXPECT_FALSE(writer.open(FileNamePtr(new FileName(path("no/such/dir/out")))));
  EXPECT_FALSE(writer.isOpen());
  EXPECT_FALSE(writer.putPCLine("x"));
  EXPECT_FALSE(writer.open(FileNamePtr()));
}

TEST_F(FileIoTest, FileNameParts) {
  FileName name(path("data.tif"));
  EXPECT_EQ(name.getDisplayName(-1), path("data.tif"));
  EXPECT_EQ(name.getShortName(), "data.tif");
  EXPECT_EQ(FileName("plain").getShortName(), "plain");
  EXPECT_EQ(FileName("dir/").getShortName(), "");

  EXPECT_FALSE(name.fileExist());
  EXPECT_FALSE(name.deleteFile());
  write("data.tif", "x");
  EXPECT_TRUE(name.fileExist());
  EXPECT_TRUE(name.deleteFile());
  EXPECT_FALSE(name.fileExist());
  // A directory is not a file.
  EXPECT_FALSE(FileName(path("")).fileExist());
}

TEST_F(FileIoTest, IOMgrHandsOutReaders) {
  IOMgmt::IOMgr& mgr = IOMgmt::IOMgr::getInstance();
  const int before = mgr.liveReaders();
  FileReader* reader = mgr.allocateFileReader();
  ASSERT_NE(reader, nullptr);
  EXPECT_TRUE(reader->eof());
  EXPECT_EQ(mgr.liveReaders(), before + 1);
  mgr.deallocateFileReader(reader);
  mgr.deallocateFileReader(nullptr);
  EXPECT_EQ(mgr.liveReaders(), before);
}

}  // namespace
