#include "pahost/folder_turn.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

// The lock file's name: this head, the user's id and this tail.
const char kLockHead[] = ".pahost.";
const char kLockTail[] = ".lock";
const mode_t kLockMode = 0600;
// The bits the lock file never has: access for anyone but its owner.
const mode_t kOthersAccess = 077;
// How often a waiting run tries the lock again.
const std::chrono::milliseconds kRetryEvery(50);
// Room for a record: a private folder's name and its line end, with room
// to spare.
const std::size_t kRecordRoom = 64;

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

FolderTurn::FolderTurn(int folderFd, const std::string& folder)
    : folderFd_(::fcntl(folderFd, F_DUPFD_CLOEXEC, 0)),
      folder_(folder),
      lockName_(kLockHead + std::to_string(::geteuid()) + kLockTail),
      lockPath_(folder + "/" + lockName_) {}

// The file goes only while its name is still this file: a run waiting on
// it then takes the lock of a file that is gone, sees that and starts over.
FolderTurn::~FolderTurn() {
  struct stat mine;
  struct stat there;
  if (lockFd_ >= 0 && ::fstat(lockFd_, &mine) == 0 &&
      ::fstatat(folderFd_, lockName_.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(mine, there)) {
    ::unlinkat(folderFd_, lockName_.c_str(), 0);
  }
  if (lockFd_ >= 0) ::close(lockFd_);  // lets the turn go
  if (folderFd_ >= 0) ::close(folderFd_);
}

bool FolderTurn::refuse(const std::string& cause) {
  error_ = cause;
  return false;
}

bool FolderTurn::openLockFile() {
  lockFd_ = ::openat(folderFd_, lockName_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                     kLockMode);
  if (lockFd_ < 0) return refuse("cannot open the lock file " + lockPath_ + ": " + std::strerror(errno));
  struct stat info;
  if (::fstat(lockFd_, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
      (info.st_mode & kOthersAccess) == 0) {
    return true;
  }
  ::close(lockFd_);
  lockFd_ = -1;
  return refuse(lockPath_ + " is not a lock file of yours, open to you alone: it is left as it is");
}

bool FolderTurn::take(int waitSeconds, std::FILE* notices) {
  if (folderFd_ < 0) return refuse("cannot open the folder " + folder_ + ": " + std::strerror(errno));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(waitSeconds);
  bool said = false;
  for (;;) {
    if (lockFd_ < 0 && !openLockFile()) return false;
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
      if (errno == EINTR) continue;
      if (errno != EWOULDBLOCK) return true;  // a file system without locks
      if (!said && notices != nullptr) {
        std::fprintf(notices, "pahost: waiting for another run of pahost that writes into %s (at most %d seconds)\n",
                     folder_.c_str(), waitSeconds);
        std::fflush(notices);
        said = true;
      }
      if (std::chrono::steady_clock::now() >= deadline) {
        return refuse("another run of pahost still writes into " + folder_ + " after a wait of " +
                      std::to_string(waitSeconds) +
                      " seconds (a run stopped with Ctrl-Z holds the folder until it goes on)");
      }
      std::this_thread::sleep_for(kRetryEvery);
      continue;
    }
    struct stat locked;
    struct stat there;
    if (::fstat(lockFd_, &locked) == 0 &&
        ::fstatat(folderFd_, lockName_.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(locked, there)) {
      held_ = true;
      return true;
    }
    // The run before removed the file as it ended: the turn is the lock of
    // the file now at the name.
    ::close(lockFd_);
    lockFd_ = -1;
  }
}

std::string FolderTurn::recorded() const {
  char text[kRecordRoom];
  const ssize_t got = lockFd_ < 0 ? -1 : ::pread(lockFd_, text, sizeof text, 0);
  if (got <= 0) return "";
  const std::string line(text, static_cast<std::size_t>(got));
  const std::size_t end = line.find('\n');
  return end == std::string::npos ? "" : line.substr(0, end);  // a record cut short names nothing
}

bool FolderTurn::record(const std::string& name) {
  if (lockFd_ < 0) {
    errno = EBADF;
    return false;
  }
  const std::string line = name + "\n";
  return ::ftruncate(lockFd_, 0) == 0 &&
         ::pwrite(lockFd_, line.data(), line.size(), 0) == static_cast<ssize_t>(line.size());
}
