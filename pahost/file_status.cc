#include "pahost/file_status.h"

#include <unistd.h>

#include <cerrno>

namespace {

const mode_t kModeBits = 07777;

}  // namespace

uid_t runningUser() {
  static const uid_t user = ::geteuid();
  return user;
}

bool isSameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

bool isChmodRefused(int error) { return error == EPERM || error == EOPNOTSUPP || error == ENOSYS; }

Permissions permissionsOf(int fd, const struct stat& seen, mode_t wanted) {
  const mode_t mode = seen.st_mode & kModeBits;
  const mode_t asked = mode != wanted ? wanted : mode ^ S_IXUSR;
  if (::fchmod(fd, asked) != 0) return isChmodRefused(errno) ? Permissions::kNone : Permissions::kUnknown;
  struct stat now;
  const bool looked = ::fstat(fd, &now) == 0;
  const int cause = errno;
  if (!looked || (now.st_mode & kModeBits) != mode) ::fchmod(fd, mode);
  errno = cause;
  if (!looked) return Permissions::kUnknown;
  return (now.st_mode & kModeBits) == asked ? Permissions::kKept : Permissions::kNone;
}
