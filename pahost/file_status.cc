#include "pahost/file_status.h"

#include <fcntl.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

const mode_t kModeBits = 07777;
// Read, write and execute for the owner, the group and others.
const mode_t kAccessBits = 0777;
// How often, and how far apart, a removal refused for a handle just let go
// is tried.
const int kBusyAttempts = 20;
const std::chrono::milliseconds kBusyRetryEvery(5);

// How long a wait for a name being removed pauses between two looks.
const std::chrono::milliseconds kRemovalPause(20);

// The system's table of mounts, and the close timeout of the kernel's SMB
// client where it shows none (its default), in seconds.
const char kMountTable[] = "/proc/self/mountinfo";
const char kCloseTimeoutOption[] = ",closetimeo=";
const long kDefaultCloseTimeout = 1;
// A longer one than this is taken as this (the client allows far more).
const long kLongestCloseTimeout = 600;

}  // namespace

RemovalWait::RemovalWait() : RemovalWait(Clock::time_point::max()) {}

RemovalWait::RemovalWait(Clock::time_point latest) : latest_(latest) { restart(); }

void RemovalWait::restart() { until_ = std::min(Clock::now() + std::chrono::seconds(kMostSeconds), latest_); }

bool RemovalWait::pause() {
  const Clock::time_point now = Clock::now();
  if (now >= until_) return false;
  std::this_thread::sleep_for(std::min<Clock::duration>(kRemovalPause, until_ - now));
  return true;
}

std::string RemovalWait::stillAfter(int seconds) { return "still after " + secondsText(seconds); }

int wholeSeconds(std::chrono::steady_clock::duration elapsed) {
  return static_cast<int>(std::lround(std::chrono::duration<double>(elapsed).count()));
}

std::string secondsText(int seconds) { return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds"); }

bool onKernelSmbShare(int folderFd) {
  // The kernel's SMB client reports its file systems with these magic
  // numbers (SMB 1, and SMB 2 and later).
  const unsigned long kCifsMagic = 0xFF534D42UL;
  const unsigned long kSmb2Magic = 0xFE534D42UL;
  struct statfs info;
  if (::fstatfs(folderFd, &info) != 0) return false;
  const unsigned long type = static_cast<unsigned long>(info.f_type) & 0xFFFFFFFFUL;
  return type == kCifsMagic || type == kSmb2Magic;
}

// A line of the table: mount id, parent id, major:minor, root, mount point,
// options, optional fields, "-", type, source, the file system's options.
long closeTimeoutIn(const std::string& mountinfo, dev_t device) {
  const std::string number = std::to_string(major(device)) + ":" + std::to_string(minor(device));
  std::istringstream lines(mountinfo);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    std::string id, parent, numbered, type, source, options;
    fields >> id >> parent >> numbered;
    const std::size_t tail = line.find(" - ");
    if (numbered != number || tail == std::string::npos) continue;
    std::istringstream(line.substr(tail + 3)) >> type >> source >> options;
    options = "," + options + ",";
    const std::size_t at = options.find(kCloseTimeoutOption);
    if (at == std::string::npos) return -1;
    const char* digits = options.c_str() + at + sizeof kCloseTimeoutOption - 1;
    char* end = nullptr;
    const long seconds = std::strtol(digits, &end, 10);
    return end != digits && *end == ',' && seconds >= 0 ? seconds : -1;
  }
  return -1;
}

std::chrono::milliseconds kernelSmbCloseTimeout(int folderFd) { return kernelSmbCloseTimeout(folderFd, kMountTable); }

std::chrono::milliseconds kernelSmbCloseTimeout(int folderFd, const char* table) {
  struct stat folder;
  std::ifstream mounts(table);
  std::ostringstream text;
  text << mounts.rdbuf();
  const long seconds = ::fstat(folderFd, &folder) == 0 ? closeTimeoutIn(text.str(), folder.st_dev) : -1;
  return std::chrono::seconds(seconds < 0 ? kDefaultCloseTimeout : std::min(seconds, kLongestCloseTimeout));
}

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

bool removeLetGo(int folderFd, const char* name) {
  for (int attempt = 1;; ++attempt) {
    if (::unlinkat(folderFd, name, 0) == 0) return true;
    if (errno != EBUSY || attempt == kBusyAttempts) return false;
    std::this_thread::sleep_for(kBusyRetryEvery);
  }
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
