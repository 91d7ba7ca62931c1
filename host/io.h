// IOMgmt: file names, a line reader and a line writer.
//
// Lines end at "\n", "\r\n" or a lone "\r"; the reader gives a last line
// without an end too. `eof()` looks ahead: it is true exactly when no
// further line can be read, so `while (!eof()) readPCLine(line)` yields
// each line once. An unopened reader is at end of file. A line is at most
// kMaxLineLength bytes: a longer one is not given, and reading ends there
// (`cutAt()` tells where), so that no input, not even an endless one
// without line ends, makes the reader hold more than that. A read that
// fails ends the reading too, and is never taken for the end of the file:
// `readError()` tells it apart. A read or write interrupted by a signal is
// tried again.
#ifndef HOST_IO_H_
#define HOST_IO_H_

#include <sys/types.h>

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
  // The system's error of the read that failed and ended the reading; 0
  // while none failed (ours). The lines before it were given.
  int readError() const { return readError_; }
  // How many lines were given so far (ours).
  long linesGiven() const { return hasNext_ ? linesRead_ - 1 : linesRead_; }
  // How many bytes of the file the lines given so far took, their line
  // ends included (ours).
  long long bytesGiven() const { return bytesGiven_; }

 private:
  bool fillLookahead();
  bool refill();  // reads the next block; false at the end of the file or an error

  int fd_ = -1;
  char block_[4096];
  std::size_t at_ = 0, end_ = 0;  // the bytes of block_ not read yet
  std::string next_;
  bool hasNext_ = false;
  long linesRead_ = 0;  // lines read ahead so far
  std::size_t nextBytes_ = 0;  // the bytes next_ took, its line end included
  long long bytesGiven_ = 0;
  long cutAt_ = 0;
  int readError_ = 0;
};

// Ours: every line a FileReader gives of the file at `path`, in order;
// false, with no lines, when it cannot be opened, and false when a read
// fails or a line is too long (the lines before it kept).
HOST_API bool readAllLines(const std::string& path, std::vector<std::string>* lines);

// Writes a file line by line; each line ends with "\n". Lines are kept in
// a block and written out when it fills, on sync() and on close().
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
  bool isOpen() const { return fd_ >= 0; }  // ours

 private:
  bool flush();  // writes out the block; false with errno set

  int fd_ = -1;
  std::string block_;
  bool failed_ = false;  // a write failed: the file misses lines
};

// Ours: whether the paths `a` and `b` name one file: the same path however
// spelled (made absolute, "." and ".." parts and the symbolic links of the
// part that exists resolved), or the same file on the disk (a hard link).
// The disk answers first: two files that exist are one when they are the
// same file there, and a path that exists is never one that does not.
// Names are resolved only when neither exists (two missing paths ending in
// different names, not "." or "..", are not one file without it) or the
// system cannot tell (a folder that may not be searched).
HOST_API bool sameFile(const std::string& a, const std::string& b);

// Ours: read(2) of at most `size` bytes, tried again while a signal
// interrupts it; what read(2) gives (-1 with errno set on an error, 0 at
// the end).
HOST_API ssize_t readSome(int fd, void* buffer, std::size_t size);
// Ours: writes all `size` bytes of `data`, tried again while a signal
// interrupts a write; false with errno set.
HOST_API bool writeAll(int fd, const void* data, std::size_t size);

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
