#include "host/io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace IOMgmt {

namespace {

// A writer's block: written out when a line takes it past this size.
const std::size_t kWriteBlock = 65536;

// What stat(2) tells of a path: a file there, nothing there, or neither
// (another error, such as a folder that may not be searched).
enum class Presence { kThere, kMissing, kUnknown };

Presence lookAt(const std::string& path, struct stat* status) {
  if (::stat(path.c_str(), status) == 0) return Presence::kThere;
  return errno == ENOENT || errno == ENOTDIR ? Presence::kMissing : Presence::kUnknown;
}

// Whether `a` and `b` end in two different names, neither "", "." nor
// "..": two missing paths so ending cannot name one file.
bool lastNamesDiffer(const std::string& a, const std::string& b) {
  const std::string first = FileName(a).getShortName(), second = FileName(b).getShortName();
  const auto ordinary = [](const std::string& name) { return !name.empty() && name != "." && name != ".."; };
  return first != second && ordinary(first) && ordinary(second);
}

// The path made absolute, its "." and ".." parts and the symbolic links of
// the part that exists resolved; the path as it stands when that fails.
std::string resolvedName(const std::string& path) {
  // weakly_canonical leaves a relative path relative when none of it exists.
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  const std::filesystem::path resolved = error ? absolute : std::filesystem::weakly_canonical(absolute, error);
  return error ? path : resolved.string();
}

}  // namespace

ssize_t readSome(int fd, void* buffer, std::size_t size) {
  ssize_t got;
  do {
    got = ::read(fd, buffer, size);
  } while (got < 0 && errno == EINTR);
  return got;
}

bool writeAll(int fd, const void* data, std::size_t size) {
  const char* from = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t put = ::write(fd, from, size);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return false;
    from += put;
    size -= static_cast<std::size_t>(put);
  }
  return true;
}

bool sameFile(const std::string& a, const std::string& b) {
  if (a == b) return true;
  struct stat first, second;
  const Presence firstIs = lookAt(a, &first);
  // A missing path names no file that exists, nor the missing path `b`
  // when it ends in another name.
  if (firstIs == Presence::kMissing && lastNamesDiffer(a, b)) return false;
  const Presence secondIs = lookAt(b, &second);
  if (firstIs == Presence::kThere && secondIs == Presence::kThere) {
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  }
  if (firstIs != secondIs && firstIs != Presence::kUnknown && secondIs != Presence::kUnknown) return false;
  return resolvedName(a) == resolvedName(b);
}

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
  do {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd_ < 0 && errno == EINTR);
  if (fd_ < 0) return false;
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
  bytesGiven_ += static_cast<long long>(nextBytes_);
  fillLookahead();
  return true;
}

void FileReader::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  at_ = end_ = 0;
  next_.clear();
  hasNext_ = false;
  linesRead_ = 0;
  nextBytes_ = 0;
  bytesGiven_ = 0;
  cutAt_ = 0;
  readError_ = 0;
}

bool FileReader::refill() {
  at_ = end_ = 0;
  if (readError_ != 0) return false;
  const ssize_t got = readSome(fd_, block_, sizeof block_);
  if (got < 0) readError_ = errno;
  if (got > 0) end_ = static_cast<std::size_t>(got);
  return got > 0;
}

// Reads the next line into next_. A line ends at "\n", "\r\n" or a lone
// "\r"; the end of the file ends a last line that has at least one byte.
// Nothing left, a line longer than kMaxLineLength or a failed read:
// hasNext_ is false (a line a failed read cut short is not given).
bool FileReader::fillLookahead() {
  next_.clear();
  nextBytes_ = 0;
  hasNext_ = false;
  if (fd_ < 0 || cutAt_ != 0 || readError_ != 0) return false;
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
    ++nextBytes_;
    // "\r\n" is one end, even across two blocks.
    if (*stop == '\r' && (at_ < end_ || refill()) && block_[at_] == '\n') {
      ++at_;
      ++nextBytes_;
    }
    break;
  }
  nextBytes_ += next_.size();
  if (readError_ != 0) any = false;
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
  return reader.readError() == 0 && reader.cutAt() == 0;
}

// ---- FileWriter -----------------------------------------------------------

FileWriter::FileWriter() = default;

FileWriter::~FileWriter() { close(); }

bool FileWriter::open(FileNamePtr name) {
  close();
  if (name.isNull()) return false;
  const std::string path = name->getDisplayName(-1);
  if (path.empty()) return false;
  do {
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  } while (fd_ < 0 && errno == EINTR);
  failed_ = false;
  return fd_ >= 0;
}

bool FileWriter::flush() {
  if (failed_) return false;
  failed_ = !writeAll(fd_, block_.data(), block_.size());
  block_.clear();
  return !failed_;
}

bool FileWriter::putPCLine(const std::string& line) {
  if (fd_ < 0 || failed_) return false;
  block_.append(line);
  block_.push_back('\n');
  return block_.size() < kWriteBlock || flush();
}

bool FileWriter::sync() {
  return fd_ >= 0 && flush() && ::fsync(fd_) == 0;
}

bool FileWriter::close() {
  if (fd_ < 0) return true;
  const bool written = flush();
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  block_.clear();
  return written && closed;
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
