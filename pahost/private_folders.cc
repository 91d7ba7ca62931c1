#include "pahost/private_folders.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "pahost/file_status.h"

namespace {

// A private folder's name: this head and six of these letters, picked at
// random.
const char kHead[] = ".pahost-";
const std::size_t kLetters = 6;
const char kNameLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
// The host's writer writes the file under its name and this tail first,
// and renames it once it is complete.
const char kWriterTemporary[] = ".tmp";
// Why a private folder stays.
const char kHoldsOtherFiles[] = "it holds files pahost did not put there";
const char kNotKnownToBeOurs[] = "it holds files, and it is not known to be the folder pahost made";

bool isPrivateName(const std::string& name) {
  const std::size_t head = sizeof kHead - 1;
  return name.size() == head + kLetters && name.compare(0, head, kHead) == 0 &&
         name.find_first_not_of(kNameLetters, head) == std::string::npos;
}

// false with `*cause` set, unless it is already, to `what` and the
// system's error: why a folder is not removed.
bool notRemoved(const char* what, std::string* cause) {
  if (cause->empty()) *cause = std::string(what) + std::strerror(errno);
  return false;
}

// Whether `info` (open as `fd`, or -1) is the private folder `entry` names:
// a folder of the user's, and the very one recorded when the record
// identifies it. Where the file system keeps no permissions its inode
// numbers do not last (FAT gives them anew each time it is mounted), and
// nothing guards a folder there anyway: the name tells.
bool isRecordedFolder(const FolderTurn::Entry& entry, const struct stat& info, int fd) {
  if (!S_ISDIR(info.st_mode) || info.st_uid != runningUser()) return false;
  return !entry.identified || (info.st_dev == entry.device && info.st_ino == entry.inode) ||
         (fd >= 0 && !keepsPermissions(fd, info));
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

PrivateFolders::PrivateFolders(int folderFd, const std::string& writtenName, const std::string& federalName)
    : folderFd_(folderFd), writtenName_(writtenName), federalName_(federalName) {}

std::string PrivateFolders::newName(std::random_device& random) {
  std::string name = kHead;
  for (std::size_t i = 0; i < kLetters; ++i) name += kNameLetters[random() % (sizeof kNameLetters - 1)];
  return name;
}

bool PrivateFolders::isFileOfWrite(const std::string& entry) const {
  return entry == federalName_ || entry == writtenName_ || entry == writtenName_ + kWriterTemporary;
}

// A folder that cannot be looked at cannot be told moved away: it stays.
bool PrivateFolders::removeOfWrite(int fd, const std::string& name, std::string* cause) const {
  for (const std::string& entry : namesIn(fd)) {
    struct stat info;
    if (!isFileOfWrite(entry) || ::fstatat(fd, entry.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode) || info.st_uid != runningUser()) {
      continue;
    }
    if (::unlinkat(fd, entry.c_str(), 0) != 0) notRemoved(("cannot remove " + entry + ": ").c_str(), cause);
  }
  struct stat folder;
  struct stat there;
  if (::fstat(fd, &folder) != 0) return notRemoved("cannot look at it: ", cause);
  if (::fstatat(folderFd_, name.c_str(), &there, AT_SYMLINK_NOFOLLOW) != 0) {
    return errno == ENOENT || notRemoved("cannot look at it: ", cause);  // moved away
  }
  if (!isSameFile(folder, there) || ::unlinkat(folderFd_, name.c_str(), AT_REMOVEDIR) == 0) return true;
  if (errno != ENOTEMPTY && errno != EEXIST) return notRemoved("cannot remove it: ", cause);
  if (cause->empty()) *cause = kHoldsOtherFiles;
  return false;
}

bool PrivateFolders::removeEmpty(const std::string& name, std::string* cause) const {
  if (::unlinkat(folderFd_, name.c_str(), AT_REMOVEDIR) == 0 || errno == ENOENT) return true;
  if (errno != ENOTEMPTY && errno != EEXIST) return notRemoved("cannot remove it: ", cause);
  *cause = kNotKnownToBeOurs;
  return false;
}

bool PrivateFolders::removeLeftover(const FolderTurn::Entry& entry, std::string* cause) const {
  if (!isPrivateName(entry.name)) return true;
  const char* name = entry.name.c_str();
  struct stat info;
  const int fd = ::openat(folderFd_, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    notRemoved("cannot open it: ", cause);
    return ::fstatat(folderFd_, name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !isRecordedFolder(entry, info, -1);
  }
  bool gone = true;
  if (::fstat(fd, &info) != 0) {
    gone = notRemoved("cannot look at it: ", cause);
  } else if (isRecordedFolder(entry, info, fd)) {
    gone = entry.identified ? removeOfWrite(fd, entry.name, cause) : removeEmpty(entry.name, cause);
  }
  ::close(fd);
  return gone;
}
