#include "host/io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace IOMgmt {

int openRegularFile(const std::string& path, std::string* why) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    *why = std::string("cannot be opened: ") + std::strerror(errno);
    return -1;
  }
  struct stat status;
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    *why = "not a regular file";
    return -1;
  }
  return fd;
}

// ---- FileName -------------------------------------------------------------

FileName::FileName(const std::string& path) : path_(path) {}

FileName::~FileName() = default;

std::string FileName::getDisplayName(int /*form*/) const { return path_; }

std::string FileName::getShortName() const {
  const std::size_t slash = path_.find_last_of('/');
  return slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

bool FileName::fileExist() const {
  struct stat info;
  return !path_.empty() && ::stat(path_.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool FileName::deleteFile() const { return !path_.empty() && ::unlink(path_.c_str()) == 0; }

// ---- FileReader -----------------------------------------------------------

FileReader::FileReader() = default;

FileReader::~FileReader() { close(); }

bool FileReader::open(FileNamePtr name) {
  close();
  if (name.isNull()) return false;
  const std::string path = name->getDisplayName(-1);
  if (path.empty()) return false;
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) return false;
  fillLookahead();
  return true;
}

bool FileReader::eof() { return !hasNext_; }

bool FileReader::readPCLine(std::string& line) {
  if (!hasNext_) {
    line.clear();
    return false;
  }
  line.swap(next_);
  fillLookahead();
  return true;
}

void FileReader::close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  at_ = end_ = 0;
  next_.clear();
  hasNext_ = false;
  linesRead_ = 0;
  cutAt_ = 0;
}

bool FileReader::refill() {
  at_ = 0;
  end_ = std::fread(block_, 1, sizeof block_, file_);
  return end_ > 0;
}

// Reads the next line into next_. A line ends at "\n", "\r\n" or a lone
// "\r"; the end of the file ends a last line that has at least one byte.
// Nothing left, or a line longer than kMaxLineLength: hasNext_ is false.
bool FileReader::fillLookahead() {
  next_.clear();
  hasNext_ = false;
  if (file_ == nullptr || cutAt_ != 0) return false;
  bool any = false;
  while (at_ < end_ || refill()) {
    any = true;
    const char* from = block_ + at_;
    const char* to = block_ + end_;
    const char* stop = from;
    while (stop != to && *stop != '\n' && *stop != '\r') ++stop;
    if (next_.size() + static_cast<std::size_t>(stop - from) > kMaxLineLength) {
      cutAt_ = linesRead_ + 1;
      next_.clear();
      return false;
    }
    next_.append(from, stop);
    at_ += static_cast<std::size_t>(stop - from);
    if (stop == to) continue;  // the line goes on in the next block
    ++at_;
    // "\r\n" is one end, even across two blocks.
    if (*stop == '\r' && (at_ < end_ || refill()) && block_[at_] == '\n') ++at_;
    break;
  }
  hasNext_ = any;
  if (any) ++linesRead_;
  return hasNext_;
}

bool readAllLines(const std::string& path, std::vector<std::string>* lines) {
  lines->clear();
  FileReader reader;
  if (!reader.open(FileNamePtr(new FileName(path)))) return false;
  std::string line;
  while (!reader.eof()) {
    reader.readPCLine(line);
    lines->push_back(line);
  }
  return true;
}

// ---- FileWriter -----------------------------------------------------------

FileWriter::FileWriter() = default;

FileWriter::~FileWriter() { close(); }

bool FileWriter::open(FileNamePtr name) {
  close();
  if (name.isNull()) return false;
  const std::string path = name->getDisplayName(-1);
  if (path.empty()) return false;
  file_ = std::fopen(path.c_str(), "wb");
  return file_ != nullptr;
}

bool FileWriter::putPCLine(const std::string& line) {
  if (file_ == nullptr) return false;
  const std::size_t written = std::fwrite(line.data(), 1, line.size(), file_);
  return written == line.size() && std::fputc('\n', file_) != EOF;
}

bool FileWriter::sync() {
  return file_ != nullptr && std::fflush(file_) == 0 && ::fsync(::fileno(file_)) == 0;
}

bool FileWriter::close() {
  if (file_ == nullptr) return true;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return closed;
}

// ---- IOMgr ----------------------------------------------------------------

IOMgr& IOMgr::getInstance() {
  static IOMgr instance;
  return instance;
}

FileReader* IOMgr::allocateFileReader() {
  ++liveReaders_;
  return new FileReader;
}

void IOMgr::deallocateFileReader(FileReader* reader) {
  if (reader == nullptr) return;
  --liveReaders_;
  delete reader;
}

}  // namespace IOMgmt
