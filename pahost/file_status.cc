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

bool keepsPermissions(int fd, const struct stat& seen) {
  const mode_t mode = seen.st_mode & kModeBits;
  if (::fchmod(fd, mode ^ S_IXUSR) != 0) return errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS;
  struct stat now;
  const bool ignored = ::fstat(fd, &now) == 0 && (now.st_mode & kModeBits) == mode;
  if (!ignored) ::fchmod(fd, mode);
  return !ignored;
}
