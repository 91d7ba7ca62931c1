#include "pahost/data_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// A private folder's name: this head and the six characters mkdtemp picks.
const char kScratchHead[] = ".pahost-";
const char kScratchPattern[] = ".pahost-XXXXXX";
// Permissions of a new data file, and the bits an older one passes on.
const mode_t kNewFileMode = 0600;
const mode_t kPermissionBits = 0777;

bool isScratchName(const char* name) {
  return std::strncmp(name, kScratchHead, sizeof kScratchHead - 1) == 0 &&
         std::strlen(name) == sizeof kScratchPattern - 1;
}

// The names in the folder `fd` (without "." and ".."); `fd` stays open.
std::vector<std::string> namesIn(int fd) {
  std::vector<std::string> names;
  const int own = ::dup(fd);
  DIR* dir = own < 0 ? nullptr : ::fdopendir(own);
  if (dir == nullptr) {
    if (own >= 0) ::close(own);
    return names;
  }
  ::rewinddir(dir);
  while (const dirent* entry = ::readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
      names.push_back(entry->d_name);
    }
  }
  ::closedir(dir);
  return names;
}

}  // namespace

DataFilePlacement::DataFilePlacement(const std::string& target, const std::string& writtenName,
                                     const std::string& federalName)
    : target_(target), writtenName_(writtenName), federalName_(federalName) {
  const std::size_t slash = target.rfind('/');
  parent_ = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
}

DataFilePlacement::~DataFilePlacement() {
  if (!scratch_.empty()) removeFolderOfWrite(scratch_.substr(scratch_.rfind('/') + 1));
  if (parentFd_ >= 0) ::close(parentFd_);  // lets the lock go
}

bool DataFilePlacement::fail(const std::string& what, const std::string& path) {
  error_ = what + " " + path + ": " + std::strerror(errno);
  return false;
}

bool DataFilePlacement::begin() {
  parentFd_ = ::open(parent_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (parentFd_ < 0) return fail("cannot open the folder", parent_);
  // Without the lock (a file system that has none) other runs may be
  // writing: what looks left over is then left alone.
  if (::flock(parentFd_, LOCK_EX) == 0) removeLeftovers();
  std::string scratch = parent_ + "/" + kScratchPattern;
  if (::mkdtemp(&scratch[0]) == nullptr) return fail("cannot make a private folder in", parent_);
  scratch_ = scratch;
  // The federal file beside the target, seen by the writer in its folder.
  const std::string federal = parent_ + "/" + federalName_;
  if (::access(federal.c_str(), F_OK) == 0 &&
      ::symlink(("../" + federalName_).c_str(), (scratch_ + "/" + federalName_).c_str()) != 0) {
    return fail("cannot link the federal file", federal);
  }
  return true;
}

bool DataFilePlacement::commit() {
  const std::string written = scratch_ + "/" + writtenName_;
  const int fd = ::open(written.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return fail("cannot open", written);
  struct stat older;
  const mode_t mode = ::stat(target_.c_str(), &older) == 0 && S_ISREG(older.st_mode)
                          ? older.st_mode & kPermissionBits
                          : kNewFileMode;
  bool ok = ::fchmod(fd, mode) == 0 || fail("cannot set the permissions of", written);
  ok = ok && (::fsync(fd) == 0 || fail("cannot write", written));
  ::close(fd);
  if (!ok) return false;
  if (::rename(written.c_str(), target_.c_str()) != 0) {
    return fail("cannot rename " + written + " to", target_);
  }
  // The rename itself reaches the disk only with the folder.
  if (::fsync(parentFd_) != 0) return fail("cannot flush the folder", parent_);
  return true;
}

std::string DataFilePlacement::outsideNames(std::string text) const {
  if (scratch_.empty()) return text;
  const std::string link = scratch_ + "/" + federalName_;
  const std::string federal = parent_ + "/" + federalName_;
  for (std::size_t at = text.find(link); at != std::string::npos; at = text.find(link, at + federal.size())) {
    text.replace(at, link.size(), federal);
  }
  return text;
}

// What a write leaves in its private folder: the file, the writer's own
// temporary beside it and the link to the federal file; nothing else is
// removed, and the folder only when that empties it.
void DataFilePlacement::removeFolderOfWrite(const std::string& name) {
  const int fd = ::openat(parentFd_, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  for (const std::string& entry : namesIn(fd)) {
    if (entry == federalName_ || entry.compare(0, writtenName_.size(), writtenName_) == 0) {
      ::unlinkat(fd, entry.c_str(), 0);
    }
  }
  ::close(fd);
  ::unlinkat(parentFd_, name.c_str(), AT_REMOVEDIR);
}

// Private folders of runs killed before they ended. Every run into this
// folder holds its lock while its own exists, so these are no one's.
void DataFilePlacement::removeLeftovers() {
  for (const std::string& name : namesIn(parentFd_)) {
    struct stat info;
    if (!isScratchName(name.c_str()) || ::fstatat(parentFd_, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISDIR(info.st_mode)) {
      continue;
    }
    removeFolderOfWrite(name);
  }
}
