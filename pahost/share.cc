#include "pahost/share.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>

const char kMountTable[] = "/proc/self/mountinfo";

namespace {

// The kernel's SMB client reports its file systems with these magic
// numbers (SMB 1, and SMB 2 and later).
const unsigned long kCifsMagic = 0xFF534D42UL;
const unsigned long kSmb2Magic = 0xFE534D42UL;
// The close timeout of the kernel's SMB client where its mount shows none
// (its default), and the longest taken, in seconds.
const char kCloseTimeoutOption[] = ",closetimeo=";
const long kDefaultCloseTimeout = 1;
const long kLongestCloseTimeout = 600;
// The options of the kernel's SMB client under which it keeps permissions
// of some kind (Unix or POSIX extensions, ACLs, modes kept in the ACL or in
// memory); without them every file shows the mount's file_mode.
const char* const kPermissionOptions[] = {",unix,", ",posix,", ",cifsacl,", ",modefromsid,", ",dynperm,"};
const int kLetGoPeriods = 4;

// The whole table `path`, "" when it cannot be read.
std::string readTable(const char* path) {
  std::string text;
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return text;
  char block[4096];
  for (ssize_t got; (got = ::read(fd, block, sizeof block)) != 0;) {
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) break;
    text.append(block, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return text;
}

// The closetimeo the options `options` (",a,b=1,") show; -1 for none.
long closeTimeoutOf(const std::string& options) {
  const std::size_t at = options.find(kCloseTimeoutOption);
  if (at == std::string::npos) return -1;
  const char* digits = options.c_str() + at + sizeof kCloseTimeoutOption - 1;
  char* end = nullptr;
  const long seconds = std::strtol(digits, &end, 10);
  return end != digits && *end == ',' && seconds >= 0 ? seconds : -1;
}

// The types the table gives the kernel's SMB client's mounts.
bool isKernelSmbType(const std::string& type) { return type == "cifs" || type == "smb3"; }

std::chrono::milliseconds closeTimeoutFrom(long seconds) {
  return std::chrono::seconds(seconds < 0 ? kDefaultCloseTimeout : std::min(seconds, kLongestCloseTimeout));
}

}  // namespace

Share::Share(int folderFd, const char* mountTable) : folderFd_(folderFd), mountTable_(mountTable) {}

Share::Kind Share::kind() {
  if (kind_ != Kind::kUnasked) return kind_;
  struct statfs info;
  if (::fstatfs(folderFd_, &info) != 0) {
    const int cause = errno;
    typeCause_ = std::string("fstatfs: ") + std::strerror(cause);
    return kind_ = Kind::kUnknown;
  }
  const unsigned long type = static_cast<unsigned long>(info.f_type) & 0xFFFFFFFFUL;
  return kind_ = type == kCifsMagic || type == kSmb2Magic ? Kind::kKernelSmb : Kind::kOther;
}

// EACCES is what the kernel's SMB client answers for a lock another run
// holds; elsewhere a lock that fails, but where the type cannot be told it
// may be the one: a turn to wait for all the same.
Share::Refusal Share::refusal(int cause) {
  if (cause == EWOULDBLOCK) return Refusal::kTaken;
  if (cause == ENOLCK || cause == EOPNOTSUPP || cause == ENOSYS || cause == EINVAL) return Refusal::kNoLocks;
  if (cause == EACCES && kind() != Kind::kOther) return Refusal::kTaken;
  return Refusal::kFailed;
}

bool Share::lockedElsewhere(int cause) { return cause == EACCES && refusal(cause) == Refusal::kTaken; }

bool Share::keepsLockFile() { return kind() == Kind::kKernelSmb; }

// Only a mount the table shows as the kernel's SMB client's tells.
Permissions Share::mountPermissions() {
  std::string options;
  if (kind() != Kind::kKernelSmb || !mountOptions(&options) || !isKernelSmbType(mountType_)) {
    return Permissions::kUnknown;
  }
  for (const char* option : kPermissionOptions) {
    if (options.find(option) != std::string::npos) return Permissions::kUnknown;
  }
  return Permissions::kNone;
}

bool Share::closeTimeout(std::chrono::milliseconds* timeout) {
  std::string options;
  if (kind() != Kind::kKernelSmb) return false;
  *timeout = closeTimeoutFrom(mountOptions(&options) ? closeTimeoutOf(options) : -1);
  return true;
}

Share::Clock::duration Share::letGo(Clock::duration sinceTurn) {
  std::chrono::milliseconds timeout;
  if (!closeTimeout(&timeout)) return Clock::duration::zero();
  return letGoLeft(std::chrono::system_clock::now(), letGoWindow(timeout), sinceTurn);
}

bool Share::mountOptions(std::string* options) {
  if (!mountRead_) {
    mountRead_ = true;
    struct stat folder;
    mountShown_ = ::fstat(folderFd_, &folder) == 0 &&
                  mountOf(readTable(mountTable_), folder.st_dev, &mountType_, &options_);
  }
  *options = options_;
  return mountShown_;
}

std::chrono::milliseconds letGoWindow(std::chrono::milliseconds closeTimeout) { return closeTimeout + kLetGoMargin; }

std::chrono::milliseconds letGoBound(std::chrono::milliseconds closeTimeout) {
  return kTurnTakes + letGoWindow(closeTimeout) * (kLetGoPeriods + 1);
}

std::chrono::milliseconds letGoLeft(std::chrono::system_clock::time_point now, std::chrono::milliseconds window,
                                    Share::Clock::duration sinceTurn) {
  if (sinceTurn <= kTurnTakes) return std::chrono::milliseconds(0);
  const auto since =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % (window * kLetGoPeriods);
  return since < window ? window - since : std::chrono::milliseconds(0);
}

// A line of the table: mount id, parent id, major:minor, root, mount point,
// options, optional fields, "-", type, source, the file system's options.
bool mountOf(const std::string& mountinfo, dev_t device, std::string* type, std::string* options) {
  const std::string number = std::to_string(major(device)) + ":" + std::to_string(minor(device));
  std::istringstream lines(mountinfo);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    std::string id, parent, numbered, source;
    fields >> id >> parent >> numbered;
    const std::size_t tail = line.find(" - ");
    if (numbered != number || tail == std::string::npos) continue;
    std::istringstream(line.substr(tail + 3)) >> *type >> source >> *options;
    *options = "," + *options + ",";
    return true;
  }
  return false;
}

long closeTimeoutIn(const std::string& mountinfo, dev_t device) {
  std::string type, options;
  return mountOf(mountinfo, device, &type, &options) ? closeTimeoutOf(options) : -1;
}

std::chrono::milliseconds kernelSmbCloseTimeout(int folderFd, const char* table) {
  struct stat folder;
  return closeTimeoutFrom(::fstat(folderFd, &folder) == 0 ? closeTimeoutIn(readTable(table), folder.st_dev) : -1);
}
