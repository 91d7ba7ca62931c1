#include "pahost/private_folders.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "pahost/file_status.h"
#include "pahost/private_names.h"

namespace {

// The host's writer writes the file under its name and this tail first,
// and renames it once it is complete.
const char kWriterTemporary[] = ".tmp";
// Why a private folder stays.
const char kHoldsOtherFiles[] = "it holds files pahost did not put there";
const char kNotKnownToBeOurs[] = "a folder of yours that holds files, and it is not known to be the folder pahost made";

// false with `*why` set, unless it is already, to `what` and the
// system's error: why a folder is not removed.
bool notRemoved(const char* what, PrivateFolders::Stay* why) {
  const int cause = errno;
  if (why->cause.empty()) why->cause = std::string(what) + std::strerror(cause);
  return false;
}

bool isFolderOfUser(const struct stat& info) { return S_ISDIR(info.st_mode) && info.st_uid == runningUser(); }

// The names the folder `fd` holds now (without "." and ".."); `fd` stays
// open. The folder is opened afresh: an SMB client over FUSE lists through
// a handle only the names the folder held when that handle was opened.
// false with errno set when it cannot be read.
bool namesIn(int fd, std::vector<std::string>* names) {
  const int own = ::openat(fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* dir = own < 0 ? nullptr : ::fdopendir(own);
  if (dir == nullptr) {
    const int cause = errno;
    if (own >= 0) ::close(own);
    errno = cause;
    return false;
  }
  while (const dirent* entry = ::readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
      names->push_back(entry->d_name);
    }
  }
  ::closedir(dir);
  return true;
}

}  // namespace

PrivateFolders::PrivateFolders(int folderFd, const std::string& writtenName, const std::string& federalName)
    : folderFd_(folderFd), writtenName_(writtenName), federalName_(federalName) {}

bool PrivateFolders::isFileOfWrite(const std::string& entry) const {
  return entry == federalName_ || entry == writtenName_ || entry == writtenName_ + kWriterTemporary;
}

// A folder that cannot be looked at cannot be told moved away: it stays.
bool PrivateFolders::removeOfWrite(int fd, const std::string& name, const Deadline& deadline, Stay* why) const {
  std::vector<std::string> names;
  if (!namesIn(fd, &names)) return notRemoved("cannot read it: ", why);
  for (const std::string& entry : names) {
    struct stat info;
    if (!isFileOfWrite(entry) || ::fstatat(fd, entry.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode) || info.st_uid != runningUser()) {
      continue;
    }
    if (!removeLetGo(fd, entry.c_str(), deadline)) notRemoved(("cannot remove " + entry + ": ").c_str(), why);
  }
  struct stat folder;
  struct stat there;
  if (::fstat(fd, &folder) != 0) return notRemoved("cannot look at it: ", why);
  if (::fstatat(folderFd_, name.c_str(), &there, AT_SYMLINK_NOFOLLOW) != 0) {
    return errno == ENOENT || notRemoved("cannot look at it: ", why);  // moved away
  }
  if (!isSameFile(folder, there) || ::unlinkat(folderFd_, name.c_str(), AT_REMOVEDIR) == 0) return true;
  if (errno != ENOTEMPTY && errno != EEXIST) return notRemoved("cannot remove it: ", why);
  if (why->cause.empty()) why->cause = kHoldsOtherFiles;
  return false;
}

bool PrivateFolders::removeEmpty(const std::string& name, Stay* why) const {
  if (::unlinkat(folderFd_, name.c_str(), AT_REMOVEDIR) == 0 || errno == ENOENT) return true;
  if (errno != ENOTEMPTY && errno != EEXIST) return notRemoved("cannot remove it: ", why);
  *why = Stay{kNotKnownToBeOurs, true};
  return false;
}

// Where the file system keeps no permissions its inode numbers do not
// last (FAT gives them anew each time it is mounted), and nothing guards a
// folder there anyway: the name tells. Elsewhere another folder of the
// user's at the name, or a folder whose identity was not recorded yet, is
// no folder of pahost's to empty: it goes only while it is empty.
bool PrivateFolders::removeLeftover(const RecordedFolder& entry, const std::function<bool()>& namesTell,
                                    const Deadline& deadline, Stay* why) const {
  if (!isPrivateName(entry.name)) return true;
  const char* name = entry.name.c_str();
  struct stat info;
  int fd = -1;
  // A folder seen that cannot be opened (ENOENT) is being removed: it is
  // waited for.
  while ((fd = ::openat(folderFd_, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)) < 0) {
    const int cause = errno;
    if (::fstatat(folderFd_, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
      return errno == ENOENT || notRemoved("cannot look at it: ", why);
    }
    if (!isFolderOfUser(info)) return true;  // anything else is not pahost's
    const bool removing = removalOf(true, info, cause, false) != Removal::kNone;
    if (removing && deadline.pause(kRemovalPause)) continue;
    why->cause = std::string("cannot open it: ") + std::strerror(cause);
    if (removing) why->cause += ", still after " + deadline.waited() + ": it is being removed";
    return false;
  }
  bool gone = true;
  if (::fstat(fd, &info) != 0) {
    gone = notRemoved("cannot look at it: ", why);
  } else if (isFolderOfUser(info)) {
    const bool that = entry.identified && (info.st_ino == entry.inode || namesTell());
    gone = that ? removeOfWrite(fd, entry.name, deadline, why) : removeEmpty(entry.name, why);
  }
  ::close(fd);
  return gone;
}
