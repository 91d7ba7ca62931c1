#include "pahost/data_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "host/io.h"
#include "pahost/folder_turn.h"

namespace {

// A private folder's name: this head and six of these letters, picked at
// random.
const char kScratchHead[] = ".pahost-";
const std::size_t kScratchLetters = 6;
const char kNameLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
// How many names are tried before the private folder is given up.
const int kNameAttempts = 100;
const mode_t kPrivateFolderMode = 0700;
// Permissions of a new data file, the bits an older one passes on, and
// those it passes on only with its group.
const mode_t kNewFileMode = 0600;
const mode_t kPermissionBits = 0777;
const mode_t kGroupAccess = 070;
// The bits a private folder never has: access for anyone but its owner.
const mode_t kOthersAccess = 077;
// The system's view of a process's open files, one path per number.
const char kOpenFilesFolder[] = "/proc/self/fd/";
const std::size_t kCopyBlock = 65536;
// The host's writer writes the file under its name and this tail first,
// and renames it once it is complete.
const char kWriterTemporary[] = ".tmp";

bool isScratchName(const std::string& name) {
  const std::size_t head = sizeof kScratchHead - 1;
  return name.size() == head + kScratchLetters && name.compare(0, head, kScratchHead) == 0 &&
         name.find_first_not_of(kNameLetters, head) == std::string::npos;
}

// A folder of this user's that no one else may enter.
bool isPrivate(const struct stat& folder) {
  return S_ISDIR(folder.st_mode) && folder.st_uid == ::geteuid() && (folder.st_mode & kOthersAccess) == 0;
}

// What stands at a path that is not a regular file, in words.
const char* kindOf(mode_t mode) {
  static const struct {
    mode_t type;
    const char* words;
  } kKinds[] = {{S_IFDIR, "a folder"}, {S_IFCHR, "a character device"}, {S_IFBLK, "a block device"},
                {S_IFIFO, "a FIFO"},  {S_IFSOCK, "a socket"}};
  for (const auto& kind : kKinds) {
    if ((mode & S_IFMT) == kind.type) return kind.words;
  }
  return "no file";
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
    const ssize_t got = IOMgmt::readSome(from, block.data(), block.size());
    if (got <= 0) return got == 0;
    if (!IOMgmt::writeAll(to, block.data(), static_cast<std::size_t>(got))) return false;
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
    : target_(target), writtenName_(writtenName), federalName_(federalName), parent_(folderOf(target)) {
  const std::size_t slash = target.rfind('/');
  name_ = slash == std::string::npos ? target : target.substr(slash + 1);
}

std::string DataFilePlacement::folderOf(const std::string& target) {
  const std::size_t slash = target.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
}

DataFilePlacement::~DataFilePlacement() {
  finish();
  if (parentFd_ >= 0) ::close(parentFd_);
}

void DataFilePlacement::setTurnWait(int seconds, std::FILE* notices) {
  turnWait_ = seconds;
  notices_ = notices;
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
  if (!checkTarget()) return false;
  turn_.reset(new FolderTurn(parentFd_, parent_));
  if (!turn_->take(turnWait_, notices_)) return refuse(turn_->error());
  // Without a held turn (a file system without locks) other runs may be
  // writing: what looks left over is then left alone.
  if (turn_->held()) {
    for (const std::string& name : turn_->recorded()) removeLeftover(name);
  }
  return makePrivateFolder() && holdPrivateFolder() && copyFederalFile();
}

// A link at the target is followed to see what it names: a link to
// nothing is no file.
bool DataFilePlacement::checkTarget() {
  struct stat entry;
  if (::fstatat(parentFd_, name_.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0 ||
      (S_ISLNK(entry.st_mode) && ::fstatat(parentFd_, name_.c_str(), &entry, 0) != 0)) {
    return errno == ENOENT || fail("cannot look at", target_);
  }
  return S_ISREG(entry.st_mode) ||
         refuse(target_ + " is " + kindOf(entry.st_mode) + ", not a regular file: it is left as it is");
}

// The name is recorded in the turn's file before the folder is made, so
// that a kill at any moment leaves no folder the next run cannot tell as a
// leftover of pahost's.
bool DataFilePlacement::makePrivateFolder() {
  std::random_device random;
  int cause = EEXIST;
  for (int attempt = 0; attempt < kNameAttempts && cause == EEXIST; ++attempt) {
    std::string name = kScratchHead;
    for (std::size_t i = 0; i < kScratchLetters; ++i) name += kNameLetters[random() % (sizeof kNameLetters - 1)];
    struct stat taken;
    if (::fstatat(parentFd_, name.c_str(), &taken, AT_SYMLINK_NOFOLLOW) == 0) continue;  // in use: not recorded
    std::vector<std::string> names;
    for (const Leftover& left : earlier_) names.push_back(left.name);
    names.push_back(name);
    if (!turn_->record(names)) return fail("cannot record the private folder's name in", parent_);
    if (::mkdirat(parentFd_, name.c_str(), kPrivateFolderMode) == 0) {
      scratch_ = parent_ + "/" + name;
      return true;
    }
    cause = errno;
  }
  errno = cause;
  return fail("cannot make a private folder in", parent_);
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
  if (::fstat(scratchFd_, &made) != 0 || !isPrivate(made)) {
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
// plain file only (a FIFO would hang the write; through a link, whoever may
// write into the folder could have any file the user may read copied into
// the data file), and never under the target's name (the new file would
// take the federal file's place). None there is no federal data.
bool DataFilePlacement::copyFederalFile() {
  const std::string federal = parent_ + "/" + federalName_;
  const int from = ::openat(parentFd_, federalName_.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (from < 0 && errno == ELOOP) {
    return refuse("the federal file " + federal + " is a symbolic link, not a plain file");
  }
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
  bool ok = takeOlderAccess(fd, written);
  ok = ok && (::fsync(fd) == 0 || fail("cannot write", written));
  ::close(fd);
  // What stands at the target is looked at again: it may have changed
  // while the file was written.
  if (!ok || !checkTarget()) return false;
  if (::renameat(scratchFd_, writtenName_.c_str(), parentFd_, name_.c_str()) != 0) {
    return fail("cannot rename " + written + " to", target_);
  }
  inPlace_ = true;
  // The rename itself reaches the disk only with the folder.
  if (::fsync(parentFd_) != 0) {
    return fail(target_ + " is in place but may not survive a crash: cannot flush the folder", parent_);
  }
  return true;
}

// The older file's permissions and group when it is this user's own file
// (and the name a link of the user's, if it is one), else those of a new
// file: a file someone else put at the target must not make the new one
// readable. A group the user may not give (one the user is not in) leaves
// the new file closed to the group it has.
bool DataFilePlacement::takeOlderAccess(int fd, const std::string& written) {
  struct stat entry;
  struct stat older;
  struct stat made;
  const uid_t user = ::geteuid();
  mode_t mode = kNewFileMode;
  if (::fstatat(parentFd_, name_.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 && entry.st_uid == user &&
      ::fstatat(parentFd_, name_.c_str(), &older, 0) == 0 && older.st_uid == user && S_ISREG(older.st_mode)) {
    mode = older.st_mode & kPermissionBits;
    const bool grouped = ::fstat(fd, &made) == 0 &&
                         (made.st_gid == older.st_gid || ::fchown(fd, static_cast<uid_t>(-1), older.st_gid) == 0);
    if (!grouped) mode &= ~kGroupAccess;
  }
  return ::fchmod(fd, mode) == 0 || fail("cannot set the permissions of", written);
}

std::string DataFilePlacement::outsideNames(std::string text) const {
  if (folder_.empty()) return text;
  replaceAll(text, folder_ + "/" + federalName_, parent_ + "/" + federalName_);
  if (folder_ != scratch_) replaceAll(text, folder_ + "/", scratch_ + "/");
  return text;
}

// The private folder goes before the turn: the next run then finds
// nothing of this one, unless it stays; what stays is recorded again.
bool DataFilePlacement::finish() {
  if (finished_) return leftBehind_.empty();
  finished_ = true;
  std::vector<Leftover> stays;
  if (scratchFd_ >= 0) {
    const std::string name = scratch_.substr(scratch_.rfind('/') + 1);
    std::string cause;
    if (!removeFolderOfWrite(scratchFd_, name, &cause)) stays.push_back({name, cause});
    ::close(scratchFd_);
    scratchFd_ = -1;
  }
  const std::size_t own = stays.size();
  stays.insert(stays.end(), earlier_.begin(), earlier_.end());
  if (turn_ != nullptr) {
    std::vector<std::string> names;
    for (const Leftover& left : stays) names.push_back(left.name);
    turn_->record(names);  // when it fails, the older record names them too
  }
  tellLeftBehind(stays, own);
  turn_.reset();
  return leftBehind_.empty();
}

// One sentence for each folder that stays, saying what the preparer can
// do about it.
void DataFilePlacement::tellLeftBehind(const std::vector<Leftover>& stays, std::size_t own) {
  const bool recorded = turn_ != nullptr && turn_->held();
  std::string told;
  for (std::size_t i = 0; i < stays.size(); ++i) {
    const std::string path = parent_ + "/" + stays[i].name;
    leftBehind_.push_back(path);
    told += std::string(told.empty() ? "" : "; ") + "the private folder " + path +
            (i < own ? " of this run" : " an earlier run left") + " could not be removed (" + stays[i].cause +
            "): look at what it holds and remove it" +
            (recorded ? "; until then each run into " + parent_ + " tries again" : "");
  }
  if (!told.empty()) error_ = told;
}

// By name alone: what the writer and begin() put into a private folder.
bool DataFilePlacement::isFileOfWrite(const std::string& entry) const {
  return entry == federalName_ || entry == writtenName_ || entry == writtenName_ + kWriterTemporary;
}

// What a write leaves in its private folder, each a regular file of the
// user's: the file, the writer's temporary beside it and the federal
// file's copy; nothing else is removed, and the folder only when that
// empties it. A folder someone moved away from its name (which only
// someone who may write into the target's folder can do) is no longer
// beside the target: what now has its name is left alone.
bool DataFilePlacement::removeFolderOfWrite(int fd, const std::string& name, std::string* cause) {
  for (const std::string& entry : namesIn(fd)) {
    struct stat info;
    if (!isFileOfWrite(entry) || ::fstatat(fd, entry.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
      continue;
    }
    if (::unlinkat(fd, entry.c_str(), 0) != 0 && cause->empty()) {
      *cause = "cannot remove " + entry + ": " + std::strerror(errno);
    }
  }
  struct stat folder;
  struct stat there;
  if (::fstat(fd, &folder) != 0 || ::fstatat(parentFd_, name.c_str(), &there, AT_SYMLINK_NOFOLLOW) != 0 ||
      !sameFile(folder, there)) {
    return true;  // moved away
  }
  if (::unlinkat(parentFd_, name.c_str(), AT_REMOVEDIR) == 0) return true;
  if (cause->empty()) {
    *cause = errno == ENOTEMPTY || errno == EEXIST ? std::string("it holds files pahost did not put there")
                                                   : std::string("cannot remove it: ") + std::strerror(errno);
  }
  return false;
}

// The private folder of a run that ended before it removed it, as the turn
// records it (the turn held, that run is over): removed when it is still
// a private folder of this user's. No other folder is ever taken for a
// leftover, nor kept in the record.
bool DataFilePlacement::removeLeftover(const std::string& name) {
  if (!isScratchName(name)) return false;
  for (const Leftover& left : earlier_) {
    if (left.name == name) return true;  // recorded twice
  }
  struct stat info;
  std::string cause;
  const int fd = ::openat(parentFd_, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  bool stays = false;
  if (fd < 0) {
    cause = std::string("cannot open it: ") + std::strerror(errno);
    stays = ::fstatat(parentFd_, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && isPrivate(info);
  } else {
    stays = ::fstat(fd, &info) == 0 && isPrivate(info) && !removeFolderOfWrite(fd, name, &cause);
    ::close(fd);
  }
  if (stays) earlier_.push_back({name, cause});
  return stays;
}
