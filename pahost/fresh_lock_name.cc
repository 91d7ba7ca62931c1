#include "pahost/fresh_lock_name.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "pahost/file_status.h"
#include "pahost/turn_record.h"

FreshLockName::FreshLockName(int folderFd, const std::string& name, const std::string& path)
    : folderFd_(folderFd), name_(name), path_(path) {}

// A name that cannot be made while nothing with a name is seen there is
// being removed, and waited for.
int FreshLockName::make(const Deadline& deadline) {
  removing_ = false;
  for (;;) {
    const int fd = ::openat(folderFd_, name_.c_str(), kMakeOwnFile, kOwnFileMode);
    if (fd >= 0 || errno != EEXIST) return fd;
    struct stat seen;
    const bool shown = ::fstatat(folderFd_, name_.c_str(), &seen, AT_SYMLINK_NOFOLLOW) == 0;
    if (removalOf(shown, seen, EEXIST, true) == Removal::kNone) {
      if (!clear(deadline)) return -1;
    } else if (!deadline.pause(kRemovalPause)) {
      removing_ = true;
      waited_ = deadline.waited();
      errno = EEXIST;
      return -1;
    }
  }
}

std::string FreshLockName::inTheWay(int cause) const {
  if (cause != EEXIST) return "";
  if (removing_) return "; a file at " + path_ + " is being removed, still after " + waited_;
  return "; " + path_ + " is no file pahost made: if it is nothing of yours, remove it";
}

bool FreshLockName::remove() const { return removeLetGo(folderFd_, name_.c_str(), Deadline(kOwnLetGo)); }

bool FreshLockName::clear(const Deadline& deadline) const {
  struct stat info;
  if (::fstatat(folderFd_, name_.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return errno == ENOENT;
  if (!isOwnPlainFile(info) || !heldNothingElse(info)) {
    errno = EEXIST;
    return false;
  }
  return removeLetGo(folderFd_, name_.c_str(), deadline) || errno == ENOENT;
}

bool FreshLockName::heldNothingElse(const struct stat& seen) const {
  if (seen.st_size == 0) return true;
  const int fd = ::openat(folderFd_, name_.c_str(), O_RDONLY | kOpenThere);
  if (fd < 0) return false;
  struct stat opened;
  std::string text;
  const bool read = ::fstat(fd, &opened) == 0 && isSameFile(opened, seen) && readRecordText(fd, &text);
  ::close(fd);
  return read && isRecordText(text);
}
