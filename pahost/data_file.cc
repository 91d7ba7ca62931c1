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
// The bits a private folder never has: access for anyone but its owner.
const mode_t kOthersAccess = 077;
// The system's view of a process's open files, one path per number.
const char kOpenFilesFolder[] = "/proc/self/fd/";
const std::size_t kCopyBlock = 65536;

bool isScratchName(const char* name) {
  return std::strncmp(name, kScratchHead, sizeof kScratchHead - 1) == 0 &&
         std::strlen(name) == sizeof kScratchPattern - 1;
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

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

// Copies what is left to read of `from` to `to`; false with errno set.
bool copyRest(int from, int to) {
  std::vector<char> block(kCopyBlock);
  for (;;) {
    const ssize_t got = ::read(from, block.data(), block.size());
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return got == 0;
    for (ssize_t put = 0; put < got;) {
      const ssize_t done = ::write(to, block.data() + put, static_cast<std::size_t>(got - put));
      if (done < 0 && errno != EINTR) return false;
      put += done < 0 ? 0 : done;
    }
  }
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

}  // namespace

DataFilePlacement::DataFilePlacement(const std::string& target, const std::string& writtenName,
                                     const std::string& federalName)
    : target_(target), writtenName_(writtenName), federalName_(federalName) {
  const std::size_t slash = target.rfind('/');
  parent_ = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
  name_ = slash == std::string::npos ? target : target.substr(slash + 1);
}

DataFilePlacement::~DataFilePlacement() {
  if (scratchFd_ >= 0) {
    removeFolderOfWrite(scratchFd_, scratch_.substr(scratch_.rfind('/') + 1));
    ::close(scratchFd_);
  }
  if (parentFd_ >= 0) ::close(parentFd_);  // lets the lock go
}

bool DataFilePlacement::fail(const std::string& what, const std::string& path) {
  return refuse(what + " " + path + ": " + std::strerror(errno));
}

bool DataFilePlacement::refuse(const std::string& cause) {
  error_ = cause;
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
  return holdPrivateFolder() && copyFederalFile();
}

// Opens the private folder just made and makes sure it is still that one
// (this user's, closed to everyone else). The writer reaches it through the
// open handle: what becomes of its name in the target's folder no longer
// matters. Without the system's view of open files, by its path.
bool DataFilePlacement::holdPrivateFolder() {
  const std::string name = scratch_.substr(scratch_.rfind('/') + 1);
  scratchFd_ = ::openat(parentFd_, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (scratchFd_ < 0) return fail("cannot open the private folder", scratch_);
  struct stat made;
  if (::fstat(scratchFd_, &made) != 0 || made.st_uid != ::geteuid() || (made.st_mode & kOthersAccess) != 0) {
    ::close(scratchFd_);  // another's folder: nothing in it is removed
    scratchFd_ = -1;
    return refuse("the private folder " + scratch_ + " was replaced by another");
  }
  folder_ = kOpenFilesFolder + std::to_string(scratchFd_);
  struct stat seen;
  if (::stat(folder_.c_str(), &seen) != 0 || !sameFile(seen, made)) folder_ = scratch_;
  return true;
}

// The federal file beside the target, copied into the private folder: a
// plain file only (a FIFO would hang the write), and never under the
// target's name (the new file would take the federal file's place). None
// there is no federal data.
bool DataFilePlacement::copyFederalFile() {
  const std::string federal = parent_ + "/" + federalName_;
  const int from = ::openat(parentFd_, federalName_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (from < 0) return errno == ENOENT || fail("cannot open the federal file", federal);
  struct stat info;
  bool ok = name_ != federalName_ || refuse(target_ + " is the federal file the data file is made from");
  ok = ok && (::fstat(from, &info) == 0 || fail("cannot read the federal file", federal));
  if (ok && !S_ISREG(info.st_mode)) ok = refuse("the federal file " + federal + " is not a plain file");
  const int to = !ok ? -1
                     : ::openat(scratchFd_, federalName_.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kNewFileMode);
  ok = ok && ((to >= 0 && copyRest(from, to)) || fail("cannot copy the federal file", federal));
  if (to >= 0 && ::close(to) != 0 && ok) ok = fail("cannot copy the federal file", federal);
  ::close(from);
  return ok;
}

bool DataFilePlacement::commit() {
  const std::string written = scratch_ + "/" + writtenName_;
  const int fd = ::openat(scratchFd_, writtenName_.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return fail("cannot open", written);
  bool ok = ::fchmod(fd, olderMode()) == 0 || fail("cannot set the permissions of", written);
  ok = ok && (::fsync(fd) == 0 || fail("cannot write", written));
  ::close(fd);
  if (!ok) return false;
  if (::renameat(scratchFd_, writtenName_.c_str(), parentFd_, name_.c_str()) != 0) {
    return fail("cannot rename " + written + " to", target_);
  }
  // The rename itself reaches the disk only with the folder.
  if (::fsync(parentFd_) != 0) return fail("cannot flush the folder", parent_);
  return true;
}

// The older file's permissions when it is this user's own file (and the
// name a link of the user's, if it is one), else those of a new file: a
// file someone else put at the target must not make the new one readable.
mode_t DataFilePlacement::olderMode() const {
  struct stat entry;
  struct stat older;
  const uid_t user = ::geteuid();
  if (::fstatat(parentFd_, name_.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0 || entry.st_uid != user ||
      ::fstatat(parentFd_, name_.c_str(), &older, 0) != 0 || older.st_uid != user || !S_ISREG(older.st_mode)) {
    return kNewFileMode;
  }
  return older.st_mode & kPermissionBits;
}

std::string DataFilePlacement::outsideNames(std::string text) const {
  if (folder_.empty()) return text;
  replaceAll(text, folder_ + "/" + federalName_, parent_ + "/" + federalName_);
  if (folder_ != scratch_) replaceAll(text, folder_ + "/", scratch_ + "/");
  return text;
}

// What a write leaves in its private folder: the file, the writer's own
// temporary beside it and the federal file's copy; nothing else is
// removed, and the folder only when that empties it.
void DataFilePlacement::removeFolderOfWrite(int fd, const std::string& name) {
  for (const std::string& entry : namesIn(fd)) {
    if (entry == federalName_ || entry.compare(0, writtenName_.size(), writtenName_) == 0) {
      ::unlinkat(fd, entry.c_str(), 0);
    }
  }
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
    const int fd = ::openat(parentFd_, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    removeFolderOfWrite(fd, name);
    ::close(fd);
  }
}
