// IOMgmt: file names, a line reader and a line writer.
//
// Lines end at "\n", "\r\n" or a lone "\r"; the reader gives a last line
// without an end too. `eof()` looks ahead: it is true exactly when no
// further line can be read, so `while (!eof()) readPCLine(line)` yields
// each line once. An unopened reader is at end of file. A line is at most
// kMaxLineLength bytes: a longer one is not given, and reading ends there
// (`cutAt()` tells where), so that no input, not even an endless one
// without line ends, makes the reader hold more than that.
#ifndef HOST_IO_H_
#define HOST_IO_H_

#include <cstdio>
#include <string>
#include <vector>

#include "host/host_api.h"
#include "host/pointers.h"

namespace IOMgmt {

// A path on the local file system, shared through FileNamePtr. Paths use
// "/" as the separator.
class HOST_API FileName {
 public:
  explicit FileName(const std::string& path);
  virtual ~FileName();

  // The full path, whatever the form asked for (the host's shortened forms
  // are not needed here; callers pass -1).
  std::string getDisplayName(int form) const;
  std::string getShortName() const;  // the text after the last "/"
  bool fileExist() const;            // true for an existing non-directory
  bool deleteFile() const;           // unlinks the file; false on failure

 private:
  std::string path_;
};

// Reads a file line by line, as bytes (no character conversion), in
// blocks. One line is read ahead, which is what lets eof() answer before a
// read fails.
const std::size_t kMaxLineLength = 65536;

class HOST_API FileReader {
 public:
  FileReader();
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  // Opens the file for reading (closing any file open before); false when
  // the holder is empty or the file cannot be opened.
  bool open(FileNamePtr name);
  bool eof();
  // The next line without its "\n" or "\r\n"; false, with an empty line,
  // at end of file.
  bool readPCLine(std::string& line);
  void close();
  // The number (from 1) of the line longer than kMaxLineLength that ended
  // the reading; 0 while no line was too long (ours).
  long cutAt() const { return cutAt_; }

 private:
  bool fillLookahead();
  bool refill();  // reads the next block; false at the end of the file

  std::FILE* file_ = nullptr;
  char block_[4096];
  std::size_t at_ = 0, end_ = 0;  // the bytes of block_ not read yet
  std::string next_;
  bool hasNext_ = false;
  long linesRead_ = 0;  // lines read ahead so far
  long cutAt_ = 0;
};

// Ours: every line a FileReader gives of the file at `path`, in order;
// false, with no lines, when it cannot be opened.
HOST_API bool readAllLines(const std::string& path, std::vector<std::string>* lines);

// Writes a file line by line; each line ends with "\n".
class HOST_API FileWriter {
 public:
  FileWriter();
  ~FileWriter();
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  bool open(FileNamePtr name);              // creates or truncates; false on failure
  bool putPCLine(const std::string& line);  // writes the line and "\n"
  // Flushes what was written to the disk (fflush and fsync); false when
  // the file is not open or either step fails (ours).
  bool sync();
  // Closes the file; false when the buffered lines could not be written
  // out or the close failed (nothing open is not a failure).
  bool close();
  bool isOpen() const { return file_ != nullptr; }  // ours

 private:
  std::FILE* file_ = nullptr;
};

// Ours: opens `path` for reading without waiting (an ordinary open of a
// FIFO that nobody writes waits for ever) and keeps it only when it is a
// regular file, since a device or a pipe may never end. The descriptor,
// which the caller closes; -1 otherwise, with `why` set to
// "cannot be opened: " and the system's reason, or "not a regular file".
HOST_API int openRegularFile(const std::string& path, std::string* why);

// Hands out file readers. A reader from allocateFileReader belongs to the
// caller until it gives it back with deallocateFileReader (which deletes
// it; null is ignored).
class HOST_API IOMgr {
 public:
  static IOMgr& getInstance();
  FileReader* allocateFileReader();
  void deallocateFileReader(FileReader* reader);
  // Ours, for tests: readers handed out and not yet given back.
  int liveReaders() const { return liveReaders_; }

 private:
  int liveReaders_ = 0;
};

}  // namespace IOMgmt

#endif  // HOST_IO_H_
