#include "pahost/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "host/io.h"
#include "pahost/file_status.h"
#include "pahost/folder_turn.h"
#include "pahost/private_names.h"

namespace {

// How many names are tried before the private folder is given up, and how
// many times a turn lost as it was taken is taken anew.
const int kNameAttempts = 100;
const int kTurnAttempts = 3;
const mode_t kPrivateFolderMode = 0700;
// Permissions of a new data file, the bits an older one passes on, and
// those it passes on only with its group.
const mode_t kNewFileMode = 0600;
const mode_t kPermissionBits = 0777;
const mode_t kGroupAccess = 070;
// The system's view of a process's open files, one path per number.
const char kOpenFilesFolder[] = "/proc/self/fd/";
const std::size_t kCopyBlock = 65536;

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
    : target_(target),
      writtenName_(writtenName),
      federalName_(federalName),
      parent_(folderOf(target)),
      name_(nameOf(target)) {}

std::string DataFilePlacement::nameOf(const std::string& target) {
  const std::size_t slash = target.rfind('/');
  return slash == std::string::npos ? target : target.substr(slash + 1);
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
  const int cause = errno;
  return refuse(what + " " + path + ": " + std::strerror(cause));
}

bool DataFilePlacement::refuse(const std::string& cause) {
  error_ = cause;
  return false;
}

bool DataFilePlacement::begin() {
  parentFd_ = ::open(parent_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (parentFd_ < 0) return fail("cannot open the folder", parent_);
  if (!checkTarget()) return false;
  folders_.reset(new PrivateFolders(parentFd_, writtenName_, federalName_));
  turn_.reset(new FolderTurn(parentFd_, parent_));
  // Every wait of the run draws on one deadline, a turn taken anew's too.
  const Deadline deadline(turnWait_);
  for (int takes = 1;; ++takes) {
    earlier_.clear();
    if (!turn_->take(deadline, notices_)) return refuse(turn_->error());
    // Without a held turn (a file system without locks) other runs may be
    // writing: what looks left over is then left alone.
    if (turn_->held()) {
      for (const FolderTurn::Entry& entry : turn_->recorded()) removeLeftover(entry, deadline);
    }
    const bool made = makePrivateFolder();
    if (made && holdPrivateFolder()) break;
    if (!takesAnew(made, takes, deadline)) return false;
    error_.clear();
  }
  return copyFederalFile();
}

// A turn whose lock file turns out removed as this run first records in it
// holds nothing of this run's, nor anything to keep: it is taken anew, at
// most kTurnAttempts times in all. A write of the record refused as a lock
// another run still holds on the file let the turn go: it is taken anew
// while the deadline lasts, and the private folder made meanwhile, which
// the lock file names, goes with that take while it is empty.
bool DataFilePlacement::takesAnew(bool made, int takes, const Deadline& deadline) {
  const FolderTurn::Loss loss = turn_->loss();
  const bool anew = loss == FolderTurn::Loss::kLockedElsewhere
                        ? !deadline.over()
                        : loss == FolderTurn::Loss::kRemoved && !made && takes < kTurnAttempts;
  if (!anew) return false;
  if (scratchFd_ >= 0) ::close(scratchFd_);
  scratchFd_ = -1;
  scratch_.clear();
  own_ = FolderTurn::Entry{};
  return true;
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
// leftover of pahost's; what identifies the folder follows once it is
// open (holdPrivateFolder).
bool DataFilePlacement::makePrivateFolder() {
  std::random_device random;
  int cause = EEXIST;
  for (int attempt = 0; attempt < kNameAttempts && cause == EEXIST; ++attempt) {
    const std::string name = newPrivateName(random);
    struct stat taken;
    if (::fstatat(parentFd_, name.c_str(), &taken, AT_SYMLINK_NOFOLLOW) == 0) continue;  // in use: not recorded
    own_ = FolderTurn::Entry{name, false, 0, 0};
    if (!recordWithEarlier(own_)) return refuse("cannot record the private folder's name: " + turn_->error());
    if (::mkdirat(parentFd_, name.c_str(), kPrivateFolderMode) == 0) {
      scratch_ = parent_ + "/" + name;
      return true;
    }
    cause = errno;
  }
  errno = cause;
  return fail("cannot make a private folder in", parent_);
}

// Opens the private folder just made, makes sure it is still that one
// (this user's, closed to everyone else, as far as its file system keeps
// permissions) and records what identifies it. The writer reaches it
// through the open handle: what becomes of its name in the target's
// folder no longer matters. Without the system's view of open files, by
// its path. A folder this run cannot open or look at goes again at
// finish(), while it is empty; one whose permissions cannot be told is
// this run's own all the same (it was made at a name of the turn's), and
// goes at finish() like any.
bool DataFilePlacement::holdPrivateFolder() {
  scratchFd_ = ::openat(parentFd_, own_.name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (scratchFd_ < 0) return fail("cannot open the private folder", scratch_);
  struct stat made;
  const bool seen = ::fstat(scratchFd_, &made) == 0;
  const int cause = errno;
  const bool users = seen && S_ISDIR(made.st_mode) && made.st_uid == runningUser();
  const bool open = users && (made.st_mode & kOthersAccess) != 0;
  std::string unknown;  // why the permissions cannot be told
  const Permissions kept = open ? permissionsOf(scratchFd_, made, kPrivateFolderMode, &unknown) : Permissions::kKept;
  if (!users || (open && kept == Permissions::kKept)) {
    ::close(scratchFd_);
    scratchFd_ = -1;
    errno = cause;
    if (!seen) return fail("cannot look at the private folder", scratch_);
    own_.name.clear();  // maybe another's folder: nothing in it is removed
    return refuse("the private folder " + scratch_ + " was replaced by another, or is open to others");
  }
  own_ = FolderTurn::Entry{own_.name, true, made.st_dev, made.st_ino};
  if (!recordWithEarlier(own_)) return refuse("cannot record the private folder: " + turn_->error());
  if (kept == Permissions::kUnknown) {
    return refuse("the private folder " + scratch_ + " shows access for others (its permissions are " +
                  modeText(made.st_mode) + "), and whether others may enter it cannot be told: " + unknown);
  }
  folder_ = kOpenFilesFolder + std::to_string(scratchFd_);
  struct stat opened;
  if (::stat(folder_.c_str(), &opened) != 0 || !isSameFile(opened, made)) folder_ = scratch_;
  return true;
}

bool DataFilePlacement::recordWithEarlier(const FolderTurn::Entry& own) {
  std::vector<Leftover> folders = earlier_;
  folders.push_back({own, {}});
  return record(folders);
}

bool DataFilePlacement::record(const std::vector<Leftover>& folders) {
  std::vector<FolderTurn::Entry> entries;
  for (const Leftover& left : folders) entries.push_back(left.entry);
  return turn_->record(entries);
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
  // A second handle keeps the copy's inode, and with it its number on a
  // file system that numbers files anew once they are let go (FAT).
  ok = ok && ((to >= 0 && copyRest(from, to) && ::fstat(to, &federalCopy_) == 0 &&
               (federalCopyFd_ = ::fcntl(to, F_DUPFD_CLOEXEC, 0)) >= 0) ||
              fail("cannot copy the federal file", federal));
  if (to >= 0 && ::close(to) != 0 && ok) ok = fail("cannot copy the federal file", federal);
  ::close(from);
  return ok;
}

// The writer takes a federal file it does not find for a return without
// federal data: the copy must have stayed, the very one made, for the
// data file to hold it.
bool DataFilePlacement::federalCopyStayed() {
  struct stat now;
  if (federalCopyFd_ < 0 || (::fstatat(scratchFd_, federalName_.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
                             isSameFile(now, federalCopy_))) {
    return true;
  }
  return refuse("the copy of the federal file " + parent_ + "/" + federalName_ + " left the private folder " +
                scratch_ + " during the write, and the data file may lack its federal data");
}

bool DataFilePlacement::commit() {
  if (!federalCopyStayed()) return false;
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

bool DataFilePlacement::olderFileOfUser(struct stat* older) const {
  struct stat entry;
  if (::fstatat(parentFd_, name_.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0 || entry.st_uid != runningUser()) {
    return false;
  }
  *older = entry;
  if (S_ISLNK(entry.st_mode) && ::fstatat(parentFd_, name_.c_str(), older, 0) != 0) return false;
  return older->st_uid == runningUser() && S_ISREG(older->st_mode);
}

// The older file's permissions and group when it is this user's own file
// (and the name a link of the user's, if it is one), else those of a new
// file: a file someone else put at the target must not make the new one
// readable. A group the user may not give (one the user is not in) leaves
// the new file closed to the group it has. A file system that keeps no
// permissions may refuse them (file_status.h), though the file is the
// user's: the file then has those it shows.
bool DataFilePlacement::takeOlderAccess(int fd, const std::string& written) {
  struct stat older;
  struct stat made;
  mode_t mode = kNewFileMode;
  if (olderFileOfUser(&older)) {
    mode = older.st_mode & kPermissionBits;
    const bool grouped = ::fstat(fd, &made) == 0 &&
                         (made.st_gid == older.st_gid || ::fchown(fd, static_cast<uid_t>(-1), older.st_gid) == 0);
    if (!grouped) mode &= ~kGroupAccess;
  }
  return ::fchmod(fd, mode) == 0 || isChmodRefused(errno) || fail("cannot set the permissions of", written);
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
  PrivateFolders::Stay why;
  if (federalCopyFd_ >= 0) ::close(federalCopyFd_);
  federalCopyFd_ = -1;
  if (scratchFd_ >= 0) {
    // Its files were let go just now: a share may refuse their removal a
    // moment longer (file_status.h).
    if (!folders_->removeOfWrite(scratchFd_, own_.name, Deadline(kOwnLetGo), &why)) stays.push_back({own_, why});
    ::close(scratchFd_);
    scratchFd_ = -1;
  } else if (!scratch_.empty() && !own_.name.empty() && !folders_->removeEmpty(own_.name, &why)) {
    stays.push_back({own_, why});  // made, but never held
  }
  const std::size_t own = stays.size();
  stays.insert(stays.end(), earlier_.begin(), earlier_.end());
  if (turn_ != nullptr) record(stays);  // when it fails, the older record names them too
  tellLeftBehind(stays, own);
  turn_.reset();
  return leftBehind_.empty();
}

// One sentence for each folder that stays, saying what the preparer can
// do about it. A folder not known to be pahost's may be the user's own:
// pahost only says what it found there.
void DataFilePlacement::tellLeftBehind(const std::vector<Leftover>& stays, std::size_t own) {
  const bool recorded = turn_ != nullptr && turn_->held();
  std::string told;
  for (std::size_t i = 0; i < stays.size(); ++i) {
    const PrivateFolders::Stay& why = stays[i].why;
    const std::string path = parent_ + "/" + stays[i].entry.name;
    leftBehind_.push_back(path);
    told += told.empty() ? "" : "; ";
    if (why.unknown) {
      told += "the folder at " + path + ", where " + (i < own ? "this run made" : "an earlier run left") +
              " its private folder, is " + why.cause + ": pahost leaves it and what it holds alone" +
              (recorded ? "; each run into " + parent_ + " says so until it is moved away or emptied" : "");
    } else {
      told += "the private folder " + path + (i < own ? " of this run" : " an earlier run left") +
              " could not be removed (" + why.cause + "): look at what it holds and remove it" +
              (recorded ? "; until then each run into " + parent_ + " tries again" : "");
    }
  }
  if (!told.empty()) error_ = told;
}

// The private folder of a run that ended before it removed it, as the turn
// records it (the turn held, that run is over). No other folder is ever
// taken for a leftover, nor kept in the record.
void DataFilePlacement::removeLeftover(const FolderTurn::Entry& entry, const Deadline& deadline) {
  for (const Leftover& left : earlier_) {
    if (left.entry.name == entry.name) return;  // recorded twice
  }
  PrivateFolders::Stay why;
  const auto namesTell = [this] { return !turn_->keepsPermissions(); };
  if (!folders_->removeLeftover(entry, namesTell, deadline, &why)) earlier_.push_back({entry, why});
}
