#include "pahost/file_status.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

const mode_t kModeBits = 07777;
// Read, write and execute for the owner, the group and others.
const mode_t kAccessBits = 0777;
// How often, and how far apart, a removal refused for a handle just let go
// is tried.
const int kBusyAttempts = 20;
const std::chrono::milliseconds kBusyRetryEvery(5);

}  // namespace

uid_t runningUser() {
  static const uid_t user = ::geteuid();
  return user;
}

std::string modeText(mode_t mode) {
  char text[8];
  std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & kAccessBits));
  return text;
}

bool isSameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

bool isOwnPlainFile(const struct stat& info) {
  return S_ISREG(info.st_mode) && info.st_uid == runningUser() && info.st_nlink == 1;
}

bool removeLetGo(int folderFd, const char* name, const Deadline& deadline) {
  for (int attempt = 1; ::unlinkat(folderFd, name, 0) != 0; ++attempt) {
    const int cause = errno;
    if (cause != EBUSY || attempt == kBusyAttempts || !deadline.pause(kBusyRetryEvery)) {
      errno = cause;
      return false;
    }
  }
  return true;
}

Removal removalOf(bool shown, const struct stat& seen, int cause, bool making) {
  if (shown && seen.st_nlink == 0) return Removal::kNameless;
  if (shown && cause == ENOENT) return Removal::kNotOpened;
  if (!shown && making && (cause == EEXIST || cause == ENOENT)) return Removal::kNotMade;
  return Removal::kNone;
}

bool isChmodRefused(int error) { return error == EPERM || error == EOPNOTSUPP || error == ENOSYS; }

Permissions permissionsOf(int fd, const struct stat& seen, mode_t wanted, std::string* cause) {
  const mode_t mode = seen.st_mode & kModeBits;
  const mode_t asked = mode != wanted ? wanted : mode ^ S_IXUSR;
  if (::fchmod(fd, asked) != 0) {
    const int error = errno;
    if (isChmodRefused(error)) return Permissions::kNone;
    *cause = "chmod to " + modeText(asked) + " failed: " + std::strerror(error);
    return Permissions::kUnknown;
  }
  struct stat now;
  const bool looked = ::fstat(fd, &now) == 0;
  const int error = errno;
  if (!looked || (now.st_mode & kModeBits) != mode) ::fchmod(fd, mode);
  if (!looked) {
    *cause = "cannot look at it after a chmod to " + modeText(asked) + ": " + std::strerror(error);
    return Permissions::kUnknown;
  }
  return (now.st_mode & kModeBits) == asked ? Permissions::kKept : Permissions::kNone;
}
