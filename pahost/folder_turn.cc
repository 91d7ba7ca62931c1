#include "pahost/folder_turn.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

// The lock file's name: this head, the user's id and this tail; the second
// name, where a new lock file or one made to ask is made, adds this.
const char kLockHead[] = ".pahost.";
const char kLockTail[] = ".lock";
const char kFreshTail[] = ".new";
// How often a waiting run tries the lock again, or looks at the lock file
// while it lets go of it.
const std::chrono::milliseconds kRetryEvery(50);
// How many times a file seen at the lock's name may be replaced by the
// time it is opened before the run gives up, and gone from the name by the
// time it is locked before the run counts as waiting.
const int kOpenAttempts = 100;
const int kStaleAttempts = 100;
// How often, and how far apart, a read or write of the record refused
// while another run's lock request reaches the server (the kernel's SMB
// client) is tried.
const int kRefusedIoAttempts = 20;
const std::chrono::milliseconds kRefusedIoEvery(10);
const char kStopped[] = " (a run stopped with Ctrl-Z holds the folder until it goes on)";

// Runs `io` (a read or write of the lock file) again for a short while
// where `share` reads its refusal as a lock another run holds on the file,
// pausing within `deadline`; false with errno set.
template <class Io>
bool retriedWhileRefused(Io io, Share& share, const Deadline& deadline) {
  for (int attempt = 1; !io(); ++attempt) {
    const int cause = errno;
    if (attempt == kRefusedIoAttempts || !share.lockedElsewhere(cause) || !deadline.pause(kRefusedIoEvery)) {
      errno = cause;
      return false;
    }
  }
  return true;
}

// Whether the lock file seen as `a` shows no turn taken since it was seen
// as `b`: the same file, its record as long. A holder's record grows as it
// begins and empties as it ends; the file's times tell nothing, as the
// kernel's SMB client changes them with no turn taken (as a run closes the
// file, and as the server's are read again).
bool showsNoTurn(const struct stat& a, const struct stat& b) { return isSameFile(a, b) && a.st_size == b.st_size; }

std::string lockFileName() { return kLockHead + std::to_string(runningUser()) + kLockTail; }
std::string freshFileName() { return lockFileName() + kFreshTail; }

}  // namespace

FolderTurn::FolderTurn(int folderFd, const std::string& folder)
    : folderFd_(folderFd),
      folder_(folder),
      lockName_(lockFileName()),
      lockPath_(folder + "/" + lockName_),
      fresh_(folderFd, freshFileName(), folder + "/" + freshFileName()),
      share_(folderFd) {}

std::string FolderTurn::lockFileIn(const std::string& folder) { return folder + "/" + lockFileName(); }

std::vector<std::string> FolderTurn::turnFilesIn(const std::string& folder) {
  return {lockFileIn(folder), folder + "/" + freshFileName()};
}

bool FolderTurn::isTurnFileName(const std::string& name) {
  return ::strcasecmp(name.c_str(), lockFileName().c_str()) == 0 ||
         ::strcasecmp(name.c_str(), freshFileName().c_str()) == 0;
}

// The file goes while the turn is still held, and only while its name is
// still this file: a run waiting on it then takes the lock of a file that
// is gone, sees that and starts over. Where a file held open cannot be
// removed (an SMB client over FUSE: EBUSY) it stays, its record naming
// nothing: once closed it may be another run's turn, and that run's file.
// Where the share keeps it, a run waiting on it would otherwise wait for
// the removed name to go. A run that never held the turn leaves the file
// to its holder.
FolderTurn::~FolderTurn() {
  if (held_ && clean_ && atName() && !share_.keepsLockFile()) ::unlinkat(folderFd_, lockName_.c_str(), 0);
  closeLockFile();  // lets the turn go
}

bool FolderTurn::refuse(const std::string& cause) {
  error_ = cause;
  return false;
}

bool FolderTurn::take(const Deadline& deadline, std::FILE* notices) {
  if (folderFd_ < 0) return refuse("cannot open the folder " + folder_ + ": " + std::strerror(errno));
  startTake(deadline, notices);
  for (int stale = 0;;) {
    if (lockFd_ < 0 && !openLockFile()) return false;
    Attempt attempt = tryLock();
    int cause = errno;
    readRefused_ = false;
    if (attempt == Attempt::kHeld) {
      const Hold hold = holdTurn();
      if (hold != Hold::kLockedElsewhere) return hold == Hold::kHeld;
      attempt = Attempt::kTaken;  // no turn yet: the lock another run holds still covers the file
      cause = errno;              // the read's refusal
      readRefused_ = true;
    }
    if (attempt == Attempt::kFailed) return refuse("cannot lock " + lockPath_ + ": " + std::strerror(cause));
    if (attempt == Attempt::kNoLocks) {  // goes on unheld, leaving the file to any holder
      closeLockFile();
      sayNoLocks(cause);
      return true;
    }
    // A file gone from the name as it was locked: its holder just ended.
    if (attempt == Attempt::kStale && ++stale < kStaleAttempts && !deadline_.over()) continue;
    if (attempt == Attempt::kTaken) noteRefusal(cause);
    tellWaiting();
    if (deadline_.over()) return refuse(waitedOut(attempt));
    pauseWaiting();
  }
}

// A take anew starts with nothing of the last but what the wait saw.
void FolderTurn::startTake(const Deadline& deadline, std::FILE* notices) {
  letGo();
  clean_ = false;
  made_ = false;
  writesInPlace_ = true;
  permissionsAsked_ = false;
  loss_ = Loss::kNone;
  entries_.clear();
  error_.clear();
  deadline_ = deadline;
  notices_ = notices;
  lastTurn_ = Clock::now();
}

// Held only when the file locked is still the one at the name, and still
// has a name: its holder removes it as it ends, or renames a new one over
// it, and the file then at the name is the turn (a file system that
// numbers files by their name may show the file renamed over with the
// number of the one now at the name, but without a name).
FolderTurn::Attempt FolderTurn::tryLock() {
  while (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
    const int cause = errno;
    if (cause == EINTR) continue;
    const Share::Refusal refusal = share_.refusal(cause);
    errno = cause;
    if (refusal == Share::Refusal::kTaken) return Attempt::kTaken;
    return refusal == Share::Refusal::kNoLocks ? Attempt::kNoLocks : Attempt::kFailed;
  }
  struct stat locked;
  if (atName() && ::fstat(lockFd_, &locked) == 0 && locked.st_nlink > 0) return Attempt::kHeld;
  closeLockFile();
  return Attempt::kStale;
}

bool FolderTurn::atName() const {
  struct stat there;
  return lockFd_ >= 0 && ::fstatat(folderFd_, lockName_.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0 &&
         isSameFile(lockFile_, there);
}

// A second name of the file would be overwritten by the record: the file
// may be anything of the user's. A file of no name is being removed by
// its holder: as good as none, once it is gone.
bool FolderTurn::lookAtLockFile(struct stat* seen, bool* none) {
  *none = false;
  if (::fstatat(folderFd_, lockName_.c_str(), seen, AT_SYMLINK_NOFOLLOW) != 0) {
    const int cause = errno;
    *none = cause == ENOENT;
    return *none || refuse("cannot look at the lock file " + lockPath_ + ": " + std::strerror(cause));
  }
  if (!S_ISREG(seen->st_mode) || seen->st_uid != runningUser()) {
    return refuse(lockPath_ + " is not a plain file of yours, as a lock file of pahost's is: it is left as it is");
  }
  return seen->st_nlink <= 1 ||
         refuse(lockPath_ + " is not a lock file of pahost's: it has other names (hard links to it), and it is "
                            "left as it is under each of them");
}

// Nothing is opened for writing before it is seen to be a lock file, and
// what is opened must still be the file seen. A file made or replaced since
// it was seen is looked at again at once; one being removed (seen with no
// name left, seen but not to be opened, or not seen where none can be
// made) is waited for, to the deadline.
bool FolderTurn::openLockFile() {
  const char* name = lockName_.c_str();
  for (int replaced = 0;;) {
    struct stat seen;
    bool none = false;
    if (!lookAtLockFile(&seen, &none)) return false;
    const bool nameless = !none && seen.st_nlink == 0;
    lockFd_ = none || nameless ? ::openat(folderFd_, name, kMakeOwnFile, kOwnFileMode)
                               : ::openat(folderFd_, name, O_RDWR | kOpenThere);
    writesInPlace_ = none || nameless || lockFd_ >= 0 || errno != EOPNOTSUPP;
    if (!writesInPlace_) lockFd_ = ::openat(folderFd_, name, O_RDONLY | kOpenThere);
    int cause = errno;
    if (lockFd_ < 0 && cause != EEXIST && cause != ENOENT) {
      return refuse("cannot open the lock file " + lockPath_ + ": " + std::strerror(cause));
    }
    struct stat opened;
    if (lockFd_ >= 0 && ::fstat(lockFd_, &opened) != 0) {
      cause = errno;
      return refuse("cannot look at the lock file " + lockPath_ + " just opened: " + std::strerror(cause));
    }
    if (lockFd_ >= 0 && isOwnPlainFile(opened) && (none || nameless || isSameFile(opened, seen))) {
      lockFile_ = opened;
      made_ = none || nameless;
      return true;
    }
    // A file opened that has no name left is being removed (the kernel's
    // SMB client opens one another run still holds); any other was made or
    // replaced since it was seen.
    const bool wasOpened = lockFd_ >= 0;
    closeLockFile();
    const Removal how = wasOpened ? removalOf(true, opened, 0, false) : removalOf(!none, seen, cause, none || nameless);
    if (how == Removal::kNone && wasOpened) {
      if (++replaced < kOpenAttempts) continue;
      return refuse("the lock file " + lockPath_ + " keeps being replaced: it is left as it is");
    }
    if (how == Removal::kNone) return refuse("cannot open the lock file " + lockPath_ + ": " + std::strerror(cause));
    if (!deadline_.pause(kRemovalPause)) return refuse(beingRemoved(how, cause));
  }
}

std::string FolderTurn::beingRemoved(Removal removing, int cause) const {
  const std::string still = "still after " + deadline_.waited();
  const std::string error = std::strerror(cause);
  std::string what;
  switch (removing) {
    case Removal::kNameless:
      what = " is there with no name left, " + still + ": it";
      break;
    case Removal::kNotOpened:
      what = " is there but cannot be opened (" + error + "), " + still + ": it";
      break;
    case Removal::kNotMade:
    case Removal::kNone:
      what = " cannot be made (" + error + "), " + still + ", though nothing is seen at its name: a file there";
      break;
  }
  return "the lock file " + lockPath_ + what + " is being removed, and another run of pahost into " + folder_ +
         " may still hold it open";
}

// The record is read first: on the kernel's SMB client a read refused just
// after the lock was granted is a lock another run still holds on the file,
// and nothing is judged (nor a file made to ask) for a turn not had yet. A
// record that cannot be read otherwise may name a killed run's folder: it
// is not written over, and the turn goes. The permissions are judged once
// the turn is held, so that no two runs turn a file's bits at once.
FolderTurn::Hold FolderTurn::holdTurn() {
  held_ = true;
  if (!readRecord()) {
    const int cause = errno;
    letGo();
    errno = cause;
    if (share_.lockedElsewhere(cause)) return Hold::kLockedElsewhere;
    refuse("cannot read the lock file " + lockPath_ + " (" + std::strerror(cause) +
           "), which names the private folders killed runs left in " + folder_ +
           ": it is left as it is, and nothing is written into " + folder_ + " until it can be read");
    return Hold::kRefused;
  }
  if (!closedToOthers()) {
    letGo();
    entries_.clear();
    return Hold::kRefused;
  }
  clean_ = entries_.empty();
  return Hold::kHeld;
}

// A file another user may open could be locked by that user. A file
// system that keeps no permissions shows every file open to others (and
// this run's own file too): there, that is no reason to refuse it.
bool FolderTurn::closedToOthers() {
  if ((lockFile_.st_mode & kOthersAccess) == 0) return true;
  const Permissions kept = permissions();
  if (kept == Permissions::kNone) return true;
  const std::string open =
      lockPath_ + " is open to others than you (its permissions are " + modeText(lockFile_.st_mode) + ", not 0600)";
  if (kept == Permissions::kUnknown) {
    return refuse(open + ", and whether its file system keeps permissions cannot be told (" + permissionsCause_ +
                  "): it is left as it is");
  }
  return refuse(open + ", so another user may hold it: it is left as it is; if no one else runs pahost into " +
                folder_ + ", remove it, and pahost makes it anew, open to you alone");
}

bool FolderTurn::keepsPermissions() { return !held_ || permissions() != Permissions::kNone; }

// A file this run made open to the user alone that shows access for
// others did not take the permissions asked: its file system keeps none
// that pahost can rely on. A lock file it did not make that shows such
// access is refused unless its file system keeps none, and a run killed
// while its permissions were changed would leave it changed, perhaps
// accepted: the mount tells instead where it can, else a file made for the
// purpose.
Permissions FolderTurn::permissions() {
  if (permissionsAsked_) return permissions_;
  permissionsAsked_ = true;
  std::string cause;
  if ((lockFile_.st_mode & kOthersAccess) == 0) {
    permissions_ = permissionsOf(lockFd_, lockFile_, kOwnFileMode, &cause);
    if (permissions_ == Permissions::kUnknown) permissionsCause_ = lockPath_ + ": " + cause;
  } else if (made_) {
    permissions_ = Permissions::kNone;
  } else {
    permissions_ = share_.mountPermissions();
    if (permissions_ == Permissions::kUnknown) permissions_ = probePermissions();
  }
  return permissions_;
}

// The file is removed at once (a run killed meanwhile leaves it to the
// next holder).
Permissions FolderTurn::probePermissions() {
  const int fd = fresh_.make(deadline_);
  if (fd < 0) {
    const int cause = errno;
    permissionsCause_ =
        "cannot make " + fresh_.path() + " to ask: " + std::strerror(cause) + fresh_.inTheWay(cause);
    return Permissions::kUnknown;
  }
  struct stat made;
  Permissions kept = Permissions::kNone;
  std::string cause;
  if (::fstat(fd, &made) != 0) {
    const int error = errno;
    kept = Permissions::kUnknown;
    cause = std::string("cannot look at it: ") + std::strerror(error);
  } else if ((made.st_mode & kOthersAccess) == 0) {
    kept = permissionsOf(fd, made, kOwnFileMode, &cause);
  }
  if (kept == Permissions::kUnknown) permissionsCause_ = fresh_.path() + ", made to ask: " + cause;
  ::close(fd);  // before its removal: a file held open may not be removed
  if (!fresh_.remove() && errno != ENOENT) {
    const int failure = errno;
    say("cannot remove " + fresh_.path() + ", made to ask what its file system does with permissions (" +
        std::strerror(failure) + "): it holds nothing, and the next run that needs its name removes it");
  }
  return kept;
}

bool FolderTurn::letGo() {
  held_ = false;
  closeLockFile();
  return false;
}

void FolderTurn::closeLockFile() {
  if (lockFd_ >= 0) ::close(lockFd_);
  lockFd_ = -1;
}

// A turn shows in the lock file: its holder records its private folder
// there as it begins and clears the record as it ends.
void FolderTurn::noteRefusal(int cause) {
  refusedWith_ = cause;
  struct stat now;
  if (::fstat(lockFd_, &now) != 0) return;
  if (refusedAt_.st_ino != 0 && !showsNoTurn(now, refusedAt_)) {
    turnSeen_ = true;
    lastTurn_ = Clock::now();
  }
  refusedAt_ = now;
}

void FolderTurn::pauseWaiting() {
  const Clock::duration letGo = share_.letGo(Clock::now() - lastTurn_);
  if (letGo == Clock::duration::zero()) {
    deadline_.pause(kRetryEvery);
    return;
  }
  closeLockFile();  // opened again once the while is over
  watchLettingGo(letGo);
}

// A look by name holds no handle on the file.
void FolderTurn::watchLettingGo(Clock::duration letGo) {
  const Clock::time_point until = Clock::now() + letGo;
  struct stat before;
  const bool was = ::fstatat(folderFd_, lockName_.c_str(), &before, AT_SYMLINK_NOFOLLOW) == 0;
  while (Clock::now() < until && deadline_.pause(std::min<Clock::duration>(kRetryEvery, until - Clock::now()))) {
    struct stat now;
    const bool is = ::fstatat(folderFd_, lockName_.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0;
    if (is != was || (is && !showsNoTurn(now, before))) {
      turnSeen_ = true;
      lastTurn_ = Clock::now();
      return;
    }
  }
}

std::string FolderTurn::waitedOut(Attempt last) {
  if (last == Attempt::kStale) {
    return "the lock file " + lockPath_ + " was gone from its name when this run had last locked it, after a wait of " +
           deadline_.waited() + ": another program may be removing it";
  }
  if (refusedWith_ == EWOULDBLOCK || turnSeen_) {
    return "another run of pahost still writes into " + folder_ + " after a wait of " + deadline_.waited() + kStopped +
           killedRunsLock();
  }
  if (readRefused_) return lockedElsewhere("read", refusedWith_);
  // Refused as the kernel's SMB client refuses a lock another holds, but
  // no other run was seen to take a turn: the system's own words.
  return "the lock of " + lockPath_ + " was refused for " + deadline_.waited() + " (" + std::strerror(refusedWith_) +
         "), and no run of pahost was seen to take its turn meanwhile" + typeUntold("a lock another run holds") +
         ": another run of pahost may still write into " + folder_ + kStopped + killedRunsLock();
}

std::string FolderTurn::lockedElsewhere(const char* io, int cause) {
  return "the lock file " + lockPath_ + " could be locked but not " + io + " (" + std::strerror(cause) +
         ") after a wait of " + deadline_.waited() + typeUntold("a read or write another run's lock covers") +
         ": another run of pahost into " + folder_ + " may still hold it" + kStopped + killedRunsLock();
}

// Waiting runs let go of the lock file for the close timeout and more,
// once they saw no turn taken for a while (share.h). Whatever the wait, a
// lock a killed run left may be what kept this one waiting: a run started
// meanwhile opens the client's handle again, and a wait may end before a
// whole window came.
std::string FolderTurn::killedRunsLock() {
  std::chrono::milliseconds timeout;
  if (!share_.closeTimeout(&timeout)) return "";
  const auto bound = std::chrono::ceil<std::chrono::seconds>(letGoBound(timeout));
  const std::string seconds = std::to_string(std::chrono::duration_cast<std::chrono::seconds>(timeout).count());
  return "; if a run of pahost was killed there, the lock the server granted it may stay until no run has held the "
         "lock file open for the mount's close timeout (closetimeo=" + seconds + ") and 1.5 seconds more (waiting "
         "runs let go of it together for that long within " + secondsText(static_cast<int>(bound.count())) +
         " of a wait, unless a run started meanwhile opens it): run pahost again once none has held it for that "
         "long, or mount the share with a shorter closetimeo";
}

std::string FolderTurn::typeUntold(const char* refused) const {
  const std::string& unknown = share_.unknownType();
  if (unknown.empty()) return "";
  return std::string(" (its file system, which cannot be told from the kernel's SMB client that refuses ") + refused +
         " so: " + unknown + ")";
}

void FolderTurn::say(const std::string& text) const {
  if (notices_ == nullptr) return;
  std::fprintf(notices_, "pahost: %s\n", text.c_str());
  std::fflush(notices_);
}

void FolderTurn::tellWaiting() {
  if (told_) return;
  told_ = true;
  say("waiting for another run of pahost that writes into " + folder_ + " (at most " +
      secondsText(deadline_.secondsLeft()) + ")");
}

void FolderTurn::sayNoLocks(int cause) const {
  say("cannot lock " + lockPath_ + " (" + std::strerror(cause) + "): this run does not wait for other runs of pahost " +
      "that write into " + folder_ + ", and leaves alone what killed runs left there");
}

bool FolderTurn::readRecord() {
  entries_.clear();
  std::string text;
  if (!retriedWhileRefused([&] { return readRecordText(lockFd_, &text); }, share_, deadline_)) return false;
  entries_ = recordedFolders(text);
  return true;
}

bool FolderTurn::writeInPlace(const std::string& text) {
  return retriedWhileRefused([&] { return writeRecordText(lockFd_, text); }, share_, deadline_);
}

// Where the file cannot be written in place (not supported), the record
// goes into a new file put in its place, and into a new one each time
// after: the file a run renamed cannot be written through its handle
// either. A write refused as a lock another run still holds on the file
// lets the turn go, to be taken anew.
bool FolderTurn::record(const std::vector<Entry>& entries) {
  if (!held_) return true;
  const std::string text = recordText(entries);
  clean_ = false;
  struct stat info;
  if (::fstat(lockFd_, &info) != 0) {
    const int cause = errno;
    return refuse("cannot look at the lock file " + lockPath_ + ": " + std::strerror(cause));
  }
  if (!isOwnPlainFile(info)) {  // removed, linked to another name or given away since it was opened
    if (info.st_nlink == 0) loss_ = Loss::kRemoved;
    return refuse("the lock file " + lockPath_ +
                  (info.st_nlink == 0 ? " was removed" : " has other names now, or is no longer yours") +
                  " while this run held it");
  }
  if (writesInPlace_ && !writeInPlace(text)) {
    const int cause = errno;
    if (share_.lockedElsewhere(cause)) {
      letGo();
      loss_ = Loss::kLockedElsewhere;
      tellWaiting();  // for the turn taken anew, as a refused read is told
      return refuse(lockedElsewhere("written", cause));
    }
    if (cause != EOPNOTSUPP) return refuse("cannot write the lock file " + lockPath_ + ": " + std::strerror(cause));
    writesInPlace_ = false;
  }
  if (!writesInPlace_ && !replaceWith(text)) return false;
  entries_ = entries;
  clean_ = entries.empty();
  return true;
}

// The file at the name stays locked throughout: the new file is locked and
// holds the record before it takes the name, and the file it replaces is
// let go only then (a run waiting on that one sees it replaced and starts
// over).
bool FolderTurn::replaceWith(const std::string& text) {
  const int fd = fresh_.make(deadline_);
  const bool placed = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && writeRecordText(fd, text) &&
                      ::renameat(folderFd_, fresh_.name().c_str(), folderFd_, lockName_.c_str()) == 0;
  const int cause = errno;
  if (!placed) {
    if (fd >= 0) {
      ::close(fd);
      fresh_.remove();
    }
    return refuse("cannot write the lock file " + lockPath_ + " in place, nor put a new one in its place through " +
                  fresh_.path() + " (" + std::strerror(cause) + ")" + fresh_.inTheWay(cause));
  }
  ::close(lockFd_);
  lockFd_ = fd;
  made_ = true;
  // Looked at again, for a file system that numbers a file by its name.
  if (::fstat(fd, &lockFile_) == 0) return true;
  const int error = errno;
  return refuse("cannot look at the lock file " + lockPath_ + " just made: " + std::strerror(error));
}
