#include "pahost/folder_turn.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <thread>

#include "pahost/file_status.h"
#include "pahost/private_names.h"

namespace {

// The lock file's name: this head, the user's id and this tail.
const char kLockHead[] = ".pahost.";
const char kLockTail[] = ".lock";
const mode_t kLockMode = 0600;
// Write access for others than the owner.
const mode_t kOthersWrite = S_IWGRP | S_IWOTH;
// How a lock file that is there is opened: never through a link, never
// waiting on a FIFO or taking a terminal.
const int kOpenExisting = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
// How a lock file is made: only where nothing stands at its name.
const int kMakeNew = O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
// Where the lock file cannot be written in place, or to ask the file
// system what it does with permissions, the holder makes a file under the
// lock's name and this tail.
const char kFreshTail[] = ".new";
// How often a waiting run tries the lock again.
const std::chrono::milliseconds kRetryEvery(50);
// On the kernel's SMB client, every run that opens the lock file alike
// goes through one handle the client shares, and a lock the server granted
// a run killed as it asked for it can stay with that handle while any run
// holds it open: every run waiting there would wait out its whole wait.
// There waiting runs that saw no other run take a turn for longer than a
// turn takes let go of the file together, for a moment in every period of
// the clock: the mount's close timeout (how long the client keeps a handle
// that was let go) and this much more, in every four such moments, so
// that such a lock goes with the handle.
const std::chrono::milliseconds kTurnTakes(3000);
const std::chrono::milliseconds kLetGoMargin(1500);
const int kLetGoPeriods = 4;

// How long from `now` the lock file is let go, where waiting runs let it go
// together for `window` in every kLetGoPeriods of it; zero outside that
// moment of the period.
std::chrono::milliseconds letGoLeft(std::chrono::system_clock::time_point now, std::chrono::milliseconds window) {
  const auto since =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % (window * kLetGoPeriods);
  return since < window ? window - since : std::chrono::milliseconds(0);
}
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

// Runs `io` (a read or write of the lock file) again for a short while
// where it is refused with EACCES; false with errno set.
template <class Io>
bool retriedWhileRefused(Io io) {
  for (int attempt = 1; !io(); ++attempt) {
    const int cause = errno;
    if (cause != EACCES || attempt == kRefusedIoAttempts) return false;
    std::this_thread::sleep_for(kRefusedIoEvery);
    errno = cause;
  }
  return true;
}
// The record is read in blocks of this size, up to this much: a longer
// one is none that pahost writes.
const std::size_t kRecordBlock = 4096;
const std::size_t kRecordLimit = 65536;

// Writes all of `text` at the start of `fd`, going on after a signal;
// false with errno set.
bool writeAtStart(int fd, const std::string& text) {
  for (std::size_t put = 0; put < text.size();) {
    const ssize_t done = ::pwrite(fd, text.data() + put, text.size() - put, static_cast<off_t>(put));
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) {
      if (done == 0) errno = EIO;
      return false;
    }
    put += static_cast<std::size_t>(done);
  }
  return true;
}

// Cuts `fd` to `size` bytes, going on after a signal; false with errno set.
bool truncateTo(int fd, std::size_t size) {
  while (::ftruncate(fd, static_cast<off_t>(size)) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

// pread(), going on after a signal.
ssize_t readAt(int fd, char* block, std::size_t size, std::size_t offset) {
  for (;;) {
    const ssize_t got = ::pread(fd, block, size, static_cast<off_t>(offset));
    if (got >= 0 || errno != EINTR) return got;
  }
}

bool sameTime(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Whether the file seen as `a` is the one seen as `b`, unchanged since.
bool looksAlike(const struct stat& a, const struct stat& b) {
  return isSameFile(a, b) && a.st_size == b.st_size && sameTime(a.st_mtim, b.st_mtim) &&
         sameTime(a.st_ctim, b.st_ctim);
}

// Whether a lock refused with `error` cannot be had on the file's file
// system at all (a network file system without its lock service, a FUSE
// driver without locks).
bool cannotLock(int error) { return error == ENOLCK || error == EOPNOTSUPP || error == ENOSYS || error == EINVAL; }

std::string lockFileName() { return kLockHead + std::to_string(runningUser()) + kLockTail; }
std::string freshFileName() { return lockFileName() + kFreshTail; }

// The record `fd` holds, read whole into `text`; false with errno set when
// it cannot be read, or is longer than any record pahost writes (EFBIG).
bool readRecordText(int fd, std::string* text) {
  char block[kRecordBlock];
  for (;;) {
    const ssize_t got = readAt(fd, block, sizeof block, text->size());
    if (got < 0) return false;
    if (got == 0) return true;
    text->append(block, static_cast<std::size_t>(got));
    if (text->size() > kRecordLimit) {
      errno = EFBIG;
      return false;
    }
  }
}

// One line of the record: the name, then the device and inode once known.
std::string recordLine(const FolderTurn::Entry& entry) {
  if (!entry.identified) return entry.name + "\n";
  return entry.name + " " + std::to_string(entry.device) + " " + std::to_string(entry.inode) + "\n";
}

std::string recordText(const std::vector<FolderTurn::Entry>& entries) {
  std::string text;
  for (const FolderTurn::Entry& entry : entries) text += recordLine(entry);
  return text;
}

// The entry of a record line; a line of another shape names no folder.
bool readRecordLine(const std::string& line, FolderTurn::Entry* entry) {
  std::istringstream parts(line);
  std::string device;
  std::string inode;
  std::string rest;
  parts >> entry->name >> device >> inode >> rest;
  if (entry->name.empty() || !rest.empty() || device.empty() != inode.empty()) return false;
  if (device.empty()) return true;
  char* end = nullptr;
  entry->device = static_cast<dev_t>(std::strtoull(device.c_str(), &end, 10));
  if (*end != '\0' || device[0] == '-') return false;
  entry->inode = static_cast<ino_t>(std::strtoull(inode.c_str(), &end, 10));
  entry->identified = *end == '\0' && inode[0] != '-';
  return entry->identified;
}

// The entries of the record `text`; a line without its line end (a record
// cut short) names nothing.
std::vector<FolderTurn::Entry> recordEntries(const std::string& text) {
  std::vector<FolderTurn::Entry> entries;
  for (std::size_t start = 0, end = text.find('\n'); end != std::string::npos;
       start = end + 1, end = text.find('\n', start)) {
    FolderTurn::Entry entry;
    if (readRecordLine(text.substr(start, end - start), &entry)) entries.push_back(entry);
  }
  return entries;
}

// Whether `text` is a record as pahost writes it: whole lines, each naming
// a private folder.
bool isRecordText(const std::string& text) {
  if (!text.empty() && text.back() != '\n') return false;
  const std::vector<FolderTurn::Entry> entries = recordEntries(text);
  if (recordText(entries) != text) return false;
  for (const FolderTurn::Entry& entry : entries) {
    if (!isPrivateName(entry.name)) return false;
  }
  return true;
}

}  // namespace

FolderTurn::FolderTurn(int folderFd, const std::string& folder)
    : folderFd_(folderFd),
      folder_(folder),
      lockName_(lockFileName()),
      lockPath_(folder + "/" + lockName_),
      freshName_(freshFileName()),
      freshPath_(folder + "/" + freshName_) {}

FolderTurn::Wait::Wait(int seconds)
    : start_(std::chrono::steady_clock::now()), deadline_(start_ + std::chrono::seconds(seconds)) {}

int FolderTurn::Wait::waitedSeconds() const { return wholeSeconds(std::chrono::steady_clock::now() - start_); }

int FolderTurn::Wait::secondsLeft() const {
  return over() ? 0 : wholeSeconds(deadline_ - std::chrono::steady_clock::now());
}

std::string FolderTurn::lockFileIn(const std::string& folder) { return folder + "/" + lockFileName(); }

std::vector<std::string> FolderTurn::turnFilesIn(const std::string& folder) {
  return {lockFileIn(folder), folder + "/" + freshFileName()};
}

bool FolderTurn::isTurnFileName(const std::string& name) {
  return ::strcasecmp(name.c_str(), lockFileName().c_str()) == 0 ||
         ::strcasecmp(name.c_str(), freshFileName().c_str()) == 0;
}

std::string FolderTurn::freshInTheWay(int cause) const {
  if (cause != EEXIST) return "";
  if (freshBeingRemoved()) {
    return "; a file at " + freshPath_ + " is being removed, " + RemovalWait::stillAfter();
  }
  return "; " + freshPath_ + " is no file pahost made: if it is nothing of yours, remove it";
}

// The file goes while the turn is still held, and only while its name is
// still this file: a run waiting on it then takes the lock of a file that
// is gone, sees that and starts over. Where a file held open cannot be
// removed (an SMB client over FUSE: EBUSY) it stays, its record naming
// nothing: once closed it may be another run's turn, and that run's file.
// On the kernel's SMB client it stays too, where the run knows it is there:
// a run waiting on it would wait for the removed name to go. A run that
// never held the turn leaves the file to its holder.
FolderTurn::~FolderTurn() {
  const bool lingers = typeAsked_ && kernelSmb_;
  if (held_ && clean_ && !lingers && atName()) ::unlinkat(folderFd_, lockName_.c_str(), 0);
  closeLockFile();  // lets the turn go
}

bool FolderTurn::refuse(const std::string& cause) {
  error_ = cause;
  return false;
}

bool FolderTurn::isLockFile(const struct stat& info) const {
  return S_ISREG(info.st_mode) && info.st_uid == runningUser() && info.st_nlink == 1;
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
// made) is waited for a bounded time.
bool FolderTurn::openLockFile(const Wait& wait) {
  const char* name = lockName_.c_str();
  RemovalWait removal(wait.deadline());
  ino_t removing = 0;  // the file being removed, 0 for none seen
  for (int replaced = 0;;) {
    struct stat seen;
    bool none = false;
    if (!lookAtLockFile(&seen, &none)) return false;
    const bool nameless = !none && seen.st_nlink == 0;
    // Another file took the name since the wait began, and is being
    // removed in its turn: other runs take their turns meanwhile.
    if ((none ? 0 : seen.st_ino) != removing) removal.restart();
    removing = none ? 0 : seen.st_ino;
    lockFd_ = none || nameless ? ::openat(folderFd_, name, kMakeNew, kLockMode)
                               : ::openat(folderFd_, name, O_RDWR | kOpenExisting);
    writesInPlace_ = none || nameless || lockFd_ >= 0 || errno != EOPNOTSUPP;
    if (!writesInPlace_) lockFd_ = ::openat(folderFd_, name, O_RDONLY | kOpenExisting);
    int cause = errno;
    if (lockFd_ < 0 && cause != EEXIST && cause != ENOENT) {
      return refuse("cannot open the lock file " + lockPath_ + ": " + std::strerror(cause));
    }
    struct stat opened;
    if (lockFd_ >= 0 && ::fstat(lockFd_, &opened) != 0) {
      cause = errno;
      return refuse("cannot look at the lock file " + lockPath_ + " just opened: " + std::strerror(cause));
    }
    if (lockFd_ >= 0 && isLockFile(opened) && (none || nameless || isSameFile(opened, seen))) {
      lockFile_ = opened;
      made_ = none || nameless;
      return true;
    }
    Removal how = none ? Removal::kNotMade : nameless ? Removal::kNameless : Removal::kNotOpened;
    if (lockFd_ >= 0) {
      closeLockFile();
      // A file opened that has no name left is being removed (the kernel's
      // SMB client opens one another run still holds); any other was made
      // or replaced since it was seen.
      if (opened.st_nlink != 0) {
        if (++replaced < kOpenAttempts) continue;
        return refuse("the lock file " + lockPath_ + " keeps being replaced: it is left as it is");
      }
      how = Removal::kNameless;
    }
    if (!removal.pause()) return refuse(beingRemoved(how, cause, wait.waitedSeconds()));
  }
}

std::string FolderTurn::beingRemoved(Removal removing, int cause, int seconds) const {
  const std::string still = RemovalWait::stillAfter(seconds);
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
      what = " cannot be made (" + error + "), " + still + ", though nothing is seen at its name: a file there";
      break;
  }
  return "the lock file " + lockPath_ + what + " is being removed, and another run of pahost into " + folder_ +
         " may still hold it open";
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
    const bool taken = cause == EWOULDBLOCK || (cause == EACCES && onKernelSmb());
    errno = cause;
    if (taken) return Attempt::kTaken;
    return cannotLock(cause) ? Attempt::kNoLocks : Attempt::kFailed;
  }
  struct stat locked;
  if (atName() && ::fstat(lockFd_, &locked) == 0 && locked.st_nlink > 0) return Attempt::kHeld;
  closeLockFile();
  return Attempt::kStale;
}

bool FolderTurn::onKernelSmb() {
  if (!typeAsked_) kernelSmb_ = onKernelSmbShare(folderFd_);
  typeAsked_ = true;
  return kernelSmb_;
}

bool FolderTurn::take(Wait& wait, std::FILE* notices) {
  if (folderFd_ < 0) return refuse("cannot open the folder " + folder_ + ": " + std::strerror(errno));
  notices_ = notices;
  lastTurn_ = std::chrono::steady_clock::now();
  for (int stale = 0;;) {
    if (lockFd_ < 0 && !openLockFile(wait)) return false;
    Attempt attempt = tryLock();
    int cause = errno;
    readRefused_ = false;
    if (attempt == Attempt::kHeld) {
      const Hold hold = holdTurn();
      if (hold != Hold::kUnreadable) return hold == Hold::kHeld;
      // The lock another run holds still covers the file (the kernel's SMB
      // client shares one handle among the runs): no turn yet.
      attempt = Attempt::kTaken;
      cause = EACCES;
      readRefused_ = true;
    }
    if (attempt == Attempt::kFailed) return refuse("cannot lock " + lockPath_ + ": " + std::strerror(cause));
    if (attempt == Attempt::kNoLocks) {  // goes on unheld, leaving the file to any holder
      closeLockFile();
      sayNoLocks(cause);
      return true;
    }
    // A file gone from the name as it was locked: its holder just ended
    // (what waiting for a name being removed takes counts against the wait).
    if (attempt == Attempt::kStale && ++stale < kStaleAttempts) continue;
    if (attempt == Attempt::kTaken) noteRefusal(cause);
    if (!wait.told()) sayWaiting(wait.secondsLeft());
    wait.tell();
    if (wait.over()) return refuse(waitedOut(attempt, wait));
    pauseWaiting(wait);
  }
}

// A turn shows in the lock file: its holder records its private folder
// there as it begins and clears the record as it ends.
void FolderTurn::noteRefusal(int cause) {
  refusedWith_ = cause;
  struct stat now;
  if (!onKernelSmb() || ::fstat(lockFd_, &now) != 0) return;
  if (refusedAt_.st_ino != 0 && !looksAlike(now, refusedAt_)) {
    turnSeen_ = true;
    lastTurn_ = std::chrono::steady_clock::now();
    if (isSameFile(now, refusedAt_)) turnOn_ = now;
  }
  refusedAt_ = now;
}

void FolderTurn::pauseWaiting(const Wait& wait) {
  const auto now = std::chrono::steady_clock::now();
  const auto left = wait.deadline() - now;
  std::chrono::milliseconds letGo(0);
  if (onKernelSmb() && now - lastTurn_ > kTurnTakes) {
    if (letGoFor_.count() == 0) letGoFor_ = kernelSmbCloseTimeout(folderFd_) + kLetGoMargin;
    letGo = letGoLeft(std::chrono::system_clock::now(), letGoFor_);
  }
  if (letGo.count() == 0) {
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(kRetryEvery, left));
    return;
  }
  closeLockFile();  // looked at and opened again once the moment is over
  std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(letGo, left));
}

std::string FolderTurn::waitedOut(Attempt last, const Wait& wait) const {
  const std::string stopped = " (a run stopped with Ctrl-Z holds the folder until it goes on)";
  if (last == Attempt::kStale) {
    return "the lock file " + lockPath_ + " was gone from its name when this run had last locked it, after a wait of " +
           wait.waited() + ": another program may be removing it";
  }
  if (refusedWith_ == EWOULDBLOCK || turnSeen_) {
    return "another run of pahost still writes into " + folder_ + " after a wait of " + wait.waited() + stopped;
  }
  if (readRefused_) {
    return "the lock file " + lockPath_ + " could be locked but not read (" + std::strerror(refusedWith_) +
           ") after a wait of " + wait.waited() + ": another run of pahost into " + folder_ + " may still hold it" +
           stopped;
  }
  // Refused as the kernel's SMB client refuses a lock another holds, but
  // no other run was seen to take a turn: the system's own words.
  return "the lock of " + lockPath_ + " was refused for " + wait.waited() + " (" + std::strerror(refusedWith_) +
         "), and no run of pahost was seen to take its turn meanwhile: another run of pahost may still write into " +
         folder_ + stopped;
}

void FolderTurn::say(const std::string& text) const {
  if (notices_ == nullptr) return;
  std::fprintf(notices_, "pahost: %s\n", text.c_str());
  std::fflush(notices_);
}

void FolderTurn::sayWaiting(int waitSeconds) const {
  say("waiting for another run of pahost that writes into " + folder_ + " (at most " + secondsText(waitSeconds) + ")");
}

void FolderTurn::sayNoLocks(int cause) const {
  say("cannot lock " + lockPath_ + " (" + std::strerror(cause) + "): this run does not wait for other runs of pahost " +
      "that write into " + folder_ + ", and leaves alone what killed runs left there");
}

// The permissions are judged once the turn is held, so that no two runs
// turn a file's bits at once. A record that cannot be read may name a
// killed run's folder: it is not written over, and the turn goes. On the
// kernel's SMB client a read refused past its tries is a lock another run
// still holds on the file, which the run waits for as for any.
FolderTurn::Hold FolderTurn::holdTurn() {
  held_ = true;
  if (!closedToOthers()) {
    letGo();
    return Hold::kRefused;
  }
  if (readRecord()) {
    clean_ = entries_.empty();
    return Hold::kHeld;
  }
  const int cause = errno;
  letGo();
  if (cause == EACCES && onKernelSmb()) return Hold::kUnreadable;
  refuse("cannot read the lock file " + lockPath_ + " (" + std::strerror(cause) +
         "), which names the private folders killed runs left in " + folder_ +
         ": it is left as it is, and nothing is written into " + folder_ + " until it can be read");
  return Hold::kRefused;
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

bool FolderTurn::keepsPermissions() { return !held_ || permissions() != Permissions::kNone; }

// A file this run made open to the user alone that shows access for
// others did not take the permissions asked: its file system keeps none
// that pahost can rely on. A lock file it did not make that shows such
// access is refused unless its file system keeps none, and a run killed
// while its permissions were changed would leave it changed, perhaps
// accepted: a file made for the purpose tells instead, but where other
// runs were seen to take the file as it shows (takenByOthers).
Permissions FolderTurn::permissions() {
  if (permissionsAsked_) return permissions_;
  permissionsAsked_ = true;
  std::string cause;
  if ((lockFile_.st_mode & kOthersAccess) == 0) {
    permissions_ = permissionsOf(lockFd_, lockFile_, kLockMode, &cause);
    if (permissions_ == Permissions::kUnknown) permissionsCause_ = lockPath_ + ": " + cause;
  } else {
    permissions_ = made_ || takenByOthers() ? Permissions::kNone : probePermissions();
  }
  return permissions_;
}

// Only a run that took the file as its lock file writes a record into it,
// and only the user (and runs of the user's) may write it: each of the
// runs seen to record took it, its permissions as they show, once its
// file system was found to keep none. On the kernel's SMB client, where
// the file stays from one turn to the next, a file made and removed to
// ask at each turn would keep the next holder waiting for its name.
bool FolderTurn::takenByOthers() const {
  return turnOn_.st_ino != 0 && isSameFile(turnOn_, lockFile_) && (lockFile_.st_mode & kOthersWrite) == 0;
}

// The file is removed at once (a run killed meanwhile leaves it to the
// next holder).
Permissions FolderTurn::probePermissions() {
  const int fd = makeFresh();
  if (fd < 0) {
    const int cause = errno;
    permissionsCause_ = "cannot make " + freshPath_ + " to ask: " + std::strerror(cause) + freshInTheWay(cause);
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
    kept = permissionsOf(fd, made, kLockMode, &cause);
  }
  if (kept == Permissions::kUnknown) permissionsCause_ = freshPath_ + ", made to ask: " + cause;
  ::close(fd);  // before its removal: a file held open may not be removed
  if (!removeLetGo(folderFd_, freshName_.c_str()) && errno != ENOENT) {
    const int failure = errno;
    say("cannot remove " + freshPath_ + ", made to ask what its file system does with permissions (" +
        std::strerror(failure) + "): it holds nothing, and the next run that needs its name removes it");
  }
  return kept;
}

bool FolderTurn::readRecord() {
  entries_.clear();
  std::string text;
  if (!retriedWhileRefused([&] {
        text.clear();
        return readRecordText(lockFd_, &text);
      })) {
    return false;
  }
  entries_ = recordEntries(text);
  return true;
}

// The new record is written over the old one before the file is cut to
// its length, so that a kill between the two leaves every name of the new
// record whole; what may follow it is the tail of the old record, names a
// holder recorded as well (a piece of a name names no private folder).
bool FolderTurn::writeInPlace(const std::string& text) {
  return retriedWhileRefused([&] { return writeAtStart(lockFd_, text) && truncateTo(lockFd_, text.size()); });
}

// Where the file cannot be written in place (not supported), the record
// goes into a new file put in its place, and into a new one each time
// after: the file a run renamed cannot be written through its handle
// either.
bool FolderTurn::record(const std::vector<Entry>& entries) {
  if (!held_) return true;
  const std::string text = recordText(entries);
  clean_ = false;
  struct stat info;
  if (::fstat(lockFd_, &info) != 0) {
    const int cause = errno;
    return refuse("cannot look at the lock file " + lockPath_ + ": " + std::strerror(cause));
  }
  if (!isLockFile(info)) {  // removed, linked to another name or given away since it was opened
    lost_ = info.st_nlink == 0;
    return refuse("the lock file " + lockPath_ +
                  (info.st_nlink == 0 ? " was removed" : " has other names now, or is no longer yours") +
                  " while this run held it");
  }
  if (writesInPlace_ && !writeInPlace(text)) {
    const int cause = errno;
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
  const int fd = makeFresh();
  const bool placed = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && writeAtStart(fd, text) &&
                      ::renameat(folderFd_, freshName_.c_str(), folderFd_, lockName_.c_str()) == 0;
  const int cause = errno;
  if (!placed) {
    if (fd >= 0) {
      ::close(fd);
      removeLetGo(folderFd_, freshName_.c_str());
    }
    return refuse("cannot write the lock file " + lockPath_ + " in place, nor put a new one in its place through " +
                  freshPath_ + " (" + std::strerror(cause) + ")" + freshInTheWay(cause));
  }
  ::close(lockFd_);
  lockFd_ = fd;
  made_ = true;
  // Looked at again, for a file system that numbers a file by its name.
  if (::fstat(fd, &lockFile_) == 0) return true;
  const int error = errno;
  return refuse("cannot look at the lock file " + lockPath_ + " just made: " + std::strerror(error));
}

// Only a holder makes the file, and removes it once it renamed it or
// asked it, so what a holder killed meanwhile left there is a file of the
// user's holding nothing or a record; anything else there, a file of the
// user's with other text among it, is left as it is.
bool FolderTurn::clearFresh() {
  struct stat info;
  if (::fstatat(folderFd_, freshName_.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return errno == ENOENT;
  if (!isLockFile(info) || !heldNothingElse(info)) {
    errno = EEXIST;
    return false;
  }
  return removeLetGo(folderFd_, freshName_.c_str()) || errno == ENOENT;
}

bool FolderTurn::heldNothingElse(const struct stat& seen) const {
  if (seen.st_size == 0) return true;
  const int fd = ::openat(folderFd_, freshName_.c_str(), O_RDONLY | kOpenExisting);
  if (fd < 0) return false;
  struct stat opened;
  std::string text;
  const bool read = ::fstat(fd, &opened) == 0 && isSameFile(opened, seen) && readRecordText(fd, &text);
  ::close(fd);
  return read && isRecordText(text);
}

// A name that cannot be made while nothing with a name is seen there is
// being removed, and waited for.
int FolderTurn::makeFresh() {
  for (RemovalWait removal;;) {
    const int fd = ::openat(folderFd_, freshName_.c_str(), kMakeNew, kLockMode);
    if (fd >= 0 || errno != EEXIST) return fd;
    if (!freshBeingRemoved()) {
      if (!clearFresh()) return -1;
    } else if (!removal.pause()) {
      errno = EEXIST;
      return -1;
    }
  }
}

bool FolderTurn::freshBeingRemoved() const {
  struct stat seen;
  return ::fstatat(folderFd_, freshName_.c_str(), &seen, AT_SYMLINK_NOFOLLOW) != 0 || seen.st_nlink == 0;
}
