// The other file system the fault library (io_faults.cc) stands in for in
// the folder PA_FAULT_DIR=DIR and all in it, as these settings make it:
//   PA_FAULT_CHMOD=HOW   how it keeps permissions: every file and folder
//                        shows 0755 and an fchmod fails with EPERM
//                        (`refuse`, a USB stick, FAT), EOPNOTSUPP
//                        (`unsupported`, a desktop's SMB view), ENOSYS
//                        (`nosys`, FUSE drivers without chmod) or EIO
//                        (`fail`, a share that stops answering), or
//                        succeeds without effect (`ignore`, exFAT over
//                        FUSE); or (`execute`, an SMB client over FUSE) an
//                        fchmod takes only the owner's execute bit (the
//                        server's archive mark), and files show 0644, the
//                        owner's execute bit as taken, and others' execute
//                        on names that begin with a dot (the server hides
//                        them), folders 0755. Unset: as the real file
//                        system does.
//   PA_FAULT_REOPEN=1    a file that is there cannot be opened for writing
//                        (EOPNOTSUPP; a desktop's SMB view)
//   PA_FAULT_RENAMED=1   a file cannot be written or cut through a handle
//                        opened before it was renamed (EOPNOTSUPP; a
//                        desktop's SMB view)
//   PA_FAULT_LISTING=1   a folder read through a handle shows none of the
//                        names made since that handle was opened, even
//                        after a rewind; one opened afresh shows what it
//                        holds now (an SMB client over FUSE)
//   PA_FAULT_BUSY=1      a file any program holds open cannot be removed,
//                        nor another renamed over it (EBUSY; an SMB client
//                        over FUSE); `own`: only while the program that
//                        asks holds it open (a share that knows only its
//                        own client's handles)
//   PA_FAULT_PRIVATE=1   where permissions are fixed, files show 0600 and
//                        folders 0700 (a stick mounted open to its owner
//                        alone)
//   PA_FAULT_MODE=OOO    where permissions are fixed, files and folders
//                        show these (octal) rather than 0755 (a share
//                        mounted with file_mode=0777)
//   PA_FAULT_MOUNT=N     it is mounted for the N-th time: device numbers
//                        show N more; with PA_FAULT_RENUMBER=1 inode
//                        numbers too, as FAT numbers its files anew
//   PA_FAULT_LETGO=MS    a file this program closed cannot be removed, nor
//                        another renamed over it, for MS milliseconds
//                        (EBUSY; an SMB client over FUSE lets a handle go a
//                        moment after its close)
//   PA_FAULT_LOCKS=eacces a lock another holds is refused with EACCES, not
//                        EWOULDBLOCK (the kernel's SMB client)
//   PA_FAULT_SMB=1       its file system shows the kernel's SMB client's
//                        type (fstatfs), and the table of mounts
//                        (/proc/self/mountinfo, as open, openat and fopen
//                        open it) lists it first, as that client mounts
//                        it without permissions (nounix), with the
//                        options the file DIR.mount beside the folder
//                        holds (closetimeo=N), if any
//   PA_FAULT_STALELOCK=1 the file whose inode the file DIR.stale beside the
//                        folder names carries a lock no program holds (one
//                        the server granted a run killed as it asked for
//                        it), which stays with the client's handle: a lock
//                        of it is refused until no program held it open
//                        for a second (the client closes a handle let go a
//                        second later), and then goes, with DIR.stale
//   PA_FAULT_LINGER=MS   a file or folder removed is still seen by its name,
//                        with no links, for MS milliseconds after its
//                        removal, by every program, while it cannot be
//                        opened (ENOENT) nor made anew by an open that
//                        creates it (EEXIST) (the kernel's SMB client
//                        shows it so while a handle on it is open, and for
//                        about a second after); the removals are noted in
//                        the file DIR.removed beside the folder
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/tests/io_faults.h"

namespace io_faults {

namespace {

// The permissions every file shows where they are fixed with
// PA_FAULT_PRIVATE (files and folders), and those an SMB client over FUSE
// shows.
const mode_t kPrivateFileMode = 0600;
const mode_t kPrivateFolderMode = 0700;
const mode_t kSmbFileMode = 0644;
const mode_t kSmbHidden = 01;
const mode_t kSmbFolderMode = 0755;
// How far apart the inode numbers of two mountings lie.
const ino_t kRenumbered = 1000003;

bool isDescriptor(int fd) { return fd >= 0 && fd < kMostFiles; }

long steadyMilliseconds() {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::steady_clock::now().time_since_epoch())
                               .count());
}

// Milliseconds on the clock every program shares (the removals' record is
// read by all).
long wallMilliseconds() {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count());
}

// A record the stand-in keeps beside its folder (the folder's path and
// `tail`), which every program it runs in reads.
std::string besideFolder(const char* tail) {
  const std::string& folder = faults().standIn;
  return folder.substr(0, folder.size() - 1) + tail;
}

// The record of removals that linger.
std::string removalsFile() { return besideFolder(".removed"); }

// Whether the removed `path` of `dir` was removed so lately that it is
// still seen, as `*info`.
bool lingering(int dir, const char* path, struct stat* info);

// The kernel's SMB client's file system type (SMB 2 and later), and how
// long it keeps a handle a program let go.
const long kSmb2Type = 0xFE534D42L;
const long kHandleKept = 1000;

// The record of a stale lock: the inode of
// its file, and when the last program holding the file let it go (0 while
// one holds it).
std::string staleFile() { return besideFolder(".stale"); }

bool readStale(unsigned long* inode, long* closedAt) {
  std::FILE* record = std::fopen(staleFile().c_str(), "re");
  if (record == nullptr) return false;
  const bool read = std::fscanf(record, "%lu %ld", inode, closedAt) == 2;
  std::fclose(record);
  return read;
}

// Written whole under another name and renamed over the record, so that
// a program reading it as another writes it never finds it empty (and
// takes the lock as free).
void writeStale(unsigned long inode, long closedAt) {
  const std::string fresh = staleFile() + "." + std::to_string(::getpid());
  std::FILE* record = std::fopen(fresh.c_str(), "we");
  if (record == nullptr) return;
  std::fprintf(record, "%lu %ld\n", inode, closedAt);
  if (std::fclose(record) != 0 ||
      next<int (*)(const char*, const char*)>("rename")(fresh.c_str(), staleFile().c_str()) != 0) {
    ::unlink(fresh.c_str());
  }
}

// Whether the stale lock's record names `file`, with when the last
// program holding it let it go in `*closedAt`.
bool staleOn(const struct stat& file, long* closedAt) {
  unsigned long inode = 0;
  return readStale(&inode, closedAt) && inode == static_cast<unsigned long>(file.st_ino);
}

// Whether any program holds the file `file` open.
bool anyProgramHolds(const struct stat& file);

// Whether this program closed the file `file` so lately that the share
// has not let it go yet.
bool closedLately(const struct stat& file) {
  const long now = steadyMilliseconds();
  for (const Faults::Closed& closed : faults().closed) {
    if (closed.device == file.st_dev && closed.inode == file.st_ino && now - closed.at < faults().letGoMilliseconds) {
      return true;
    }
  }
  return false;
}

bool hiddenName(const std::string& whole) {
  const std::size_t slash = whole.rfind('/');
  const std::string name = slash == std::string::npos ? whole : whole.substr(slash + 1);
  return name.size() > 1 && name[0] == '.' && name != "..";
}

// Whether `test` holds for a name in the folder `path`, listed afresh.
template <class Test>
bool anyName(const std::string& path, Test test) {
  DIR* dir = next<DIR* (*)(const char*)>("opendir")(path.c_str());
  const auto read = next<dirent* (*)(DIR*)>("readdir");
  bool found = false;
  for (const dirent* entry; dir != nullptr && !found && (entry = read(dir)) != nullptr;) found = test(entry->d_name);
  if (dir != nullptr) next<int (*)(DIR*)>("closedir")(dir);
  return found;
}

// Whether the open files listed in `folder` (a /proc/PID/fd/) hold `file`.
bool holdsOpen(const std::string& folder, const struct stat& file) {
  return anyName(folder, [&](const char* fd) {
    struct stat info;
    return realFstatat(AT_FDCWD, (folder + fd).c_str(), &info, 0) == 0 && info.st_ino == file.st_ino &&
           info.st_dev == file.st_dev;
  });
}

bool anyProgramHolds(const struct stat& file) {
  return anyName("/proc", [&](const char* process) {
    return process[0] >= '1' && process[0] <= '9' && holdsOpen(std::string("/proc/") + process + "/fd/", file);
  });
}

// Whether a program holds the file `file` open: this one, or where any
// program's handles count, any, as the system's view of each process's
// open files shows.
bool heldOpen(const struct stat& file) {
  if (faults().busy == Busy::kOwnHandles) return holdsOpen("/proc/self/fd/", file);
  return anyProgramHolds(file);
}

}  // namespace

void showStandIn(const std::string& whole, struct stat* info) {
  const Chmod chmod = faults().chmod;
  const mode_t type = info->st_mode & S_IFMT;
  const bool folder = type == S_IFDIR;
  if (chmod == Chmod::kExecute) {
    const mode_t hidden = hiddenName(whole) ? kSmbHidden : 0;
    info->st_mode = type | (folder ? kSmbFolderMode : kSmbFileMode | (info->st_mode & S_IXUSR) | hidden);
  } else if (chmod != Chmod::kReal && faults().privateModes) {
    info->st_mode = type | (folder ? kPrivateFolderMode : kPrivateFileMode);
  } else if (chmod != Chmod::kReal) {
    info->st_mode = type | faults().fixedMode;
  }
  info->st_dev += static_cast<dev_t>(faults().mount);
  if (faults().renumber) info->st_ino += static_cast<ino_t>(faults().mount) * kRenumbered;
}

int standInChmod(int fd, mode_t mode) {
  const auto chmod = next<int (*)(int, mode_t)>("fchmod");
  static const struct {
    Chmod chmod;
    int error;
  } kRefusals[] = {
      {Chmod::kRefuse, EPERM}, {Chmod::kUnsupported, EOPNOTSUPP}, {Chmod::kNoSys, ENOSYS}, {Chmod::kFail, EIO}};
  for (const auto& refusal : kRefusals) {
    if (faults().chmod != refusal.chmod) continue;
    errno = refusal.error;
    return -1;
  }
  struct stat info;
  if (faults().chmod == Chmod::kIgnore) return 0;
  if (faults().chmod != Chmod::kExecute) return chmod(fd, mode);
  if (realFstat(fd, &info) != 0) return -1;
  return chmod(fd, (info.st_mode & 07777 & ~S_IXUSR) | (mode & S_IXUSR));
}

bool openRefused(int dir, const char* path, int flags) {
  struct stat there;
  const bool creates = (flags & (O_CREAT | O_EXCL)) == (O_CREAT | O_EXCL);
  if (!faults().noReopen || (flags & O_ACCMODE) == O_RDONLY || creates || !inStandIn(dir, path) ||
      realFstatat(dir, path, &there, 0) != 0 || !S_ISREG(there.st_mode)) {
    return false;
  }
  errno = EOPNOTSUPP;
  return true;
}

bool removalBusy(int dir, const char* path) {
  struct stat there;
  const bool busy = faults().busy != Busy::kNone || faults().letGoMilliseconds > 0;
  if (!busy || !inStandIn(dir, path) || realFstatat(dir, path, &there, AT_SYMLINK_NOFOLLOW) != 0 ||
      !S_ISREG(there.st_mode)) {
    return false;
  }
  if (!closedLately(there) && (faults().busy == Busy::kNone || !heldOpen(there))) return false;
  errno = EBUSY;
  return true;
}

bool showsSmbType(int fd, const char* path, struct statfs* info) {
  const int cause = errno;
  const bool shows = faults().smbType && inStandIn(fd, path);
  if (shows) info->f_type = kSmb2Type;
  errno = cause;
  return shows;
}

bool isMountTable(const char* path) {
  return faults().smbType && !faults().standIn.empty() && path != nullptr &&
         std::strcmp(path, "/proc/self/mountinfo") == 0;
}

std::string standInMountTable() {
  const std::string& folder = faults().standIn;
  struct stat info;
  if (realFstatat(AT_FDCWD, folder.c_str(), &info, 0) != 0) return "";
  showStandIn(folder.substr(0, folder.size() - 1), &info);
  std::string options = "rw,vers=3.0,nounix,serverino,actimeo=1";
  const auto fileOpen = next<std::FILE* (*)(const char*, const char*)>("fopen");
  if (std::FILE* extra = fileOpen(besideFolder(".mount").c_str(), "re")) {
    char line[256] = "";
    if (std::fgets(line, sizeof line, extra) != nullptr) options += "," + std::string(line, std::strcspn(line, "\n"));
    std::fclose(extra);
  }
  const std::string table = besideFolder(".mountinfo.") + std::to_string(::getpid());
  std::FILE* out = fileOpen(table.c_str(), "we");
  if (out == nullptr) return "";
  std::fprintf(out, "9999 1 %u:%u / %s rw,relatime - cifs //stand-in/share %s\n", major(info.st_dev),
               minor(info.st_dev), folder.c_str(), options.c_str());
  if (std::FILE* real = fileOpen("/proc/self/mountinfo", "re")) {
    char block[4096];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, real)) > 0;) std::fwrite(block, 1, n, out);
    std::fclose(real);
  }
  return std::fclose(out) == 0 ? table : "";
}

bool staleLockRefuses(int fd) {
  struct stat file;
  long closedAt = 0;
  const int cause = errno;
  const bool stale = faults().staleLock && realFstat(fd, &file) == 0 && staleOn(file, &closedAt);
  errno = stale ? (faults().locksRefuseAccess ? EACCES : EWOULDBLOCK) : cause;
  return stale;
}

void noteStaleOpened(int fd) {
  struct stat file;
  long closedAt = 0;
  const int cause = errno;
  if (faults().staleLock && realFstat(fd, &file) == 0 && staleOn(file, &closedAt) && closedAt != 0) {
    if (wallMilliseconds() - closedAt >= kHandleKept) {
      ::unlink(staleFile().c_str());  // the handle was closed, and the lock with it
    } else {
      writeStale(file.st_ino, 0);  // the handle let go is taken again
    }
  }
  errno = cause;
}

void noteStaleClosed(const struct stat& file) {
  long closedAt = 0;
  const int cause = errno;
  if (staleOn(file, &closedAt) && !anyProgramHolds(file)) writeStale(file.st_ino, wallMilliseconds());
  errno = cause;
}

void noteLetGo(int fd) {
  struct stat info;
  if (faults().letGoMilliseconds <= 0 || !isDescriptor(fd) || realFstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
      !inStandIn(fd, "")) {
    return;
  }
  faults().closed.push_back({info.st_dev, info.st_ino, steadyMilliseconds()});
}

bool lockRefusedAccess(int fd) {
  const int cause = errno;
  const bool refused = faults().locksRefuseAccess && inStandIn(fd, "");
  errno = refused ? EACCES : cause;
  return refused;
}

// One removal a line: the whole path, then the device, inode, mode, owner
// and size it had, and when it went.
void noteRemoved(int dir, const char* path, const struct stat& was) {
  if (faults().lingerMilliseconds <= 0 || !inStandIn(dir, path)) return;
  char line[PATH_MAX + 128];
  const int n = std::snprintf(line, sizeof line, "%s|%lu|%lu|%lu|%lu|%ld|%ld\n", wholePath(dir, path).c_str(),
                              static_cast<unsigned long>(was.st_dev), static_cast<unsigned long>(was.st_ino),
                              static_cast<unsigned long>(was.st_mode), static_cast<unsigned long>(was.st_uid),
                              static_cast<long>(was.st_size), wallMilliseconds());
  if (n <= 0 || n >= static_cast<int>(sizeof line)) return;
  const int fd = next<int (*)(const char*, int, mode_t)>("open")(removalsFile().c_str(),
                                                               O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  if (fd < 0) return;
  const ssize_t written = next<ssize_t (*)(int, const void*, size_t)>("write")(fd, line, static_cast<size_t>(n));
  (void)written;
  next<int (*)(int)>("close")(fd);
}

bool lingers(int dir, const char* path, struct stat* info) {
  const int cause = errno;  // the caller's, kept when nothing lingers
  const bool found = faults().lingerMilliseconds > 0 && inStandIn(dir, path) && lingering(dir, path, info);
  errno = cause;
  return found;
}

namespace {

bool lingering(int dir, const char* path, struct stat* info) {
  std::FILE* removals = std::fopen(removalsFile().c_str(), "re");
  if (removals == nullptr) return false;
  const std::string whole = wholePath(dir, path);
  const long now = wallMilliseconds();
  bool found = false;
  char line[PATH_MAX + 128];
  while (std::fgets(line, sizeof line, removals) != nullptr) {
    char* bar = std::strchr(line, '|');
    if (bar == nullptr || std::string(line, static_cast<std::size_t>(bar - line)) != whole) continue;
    unsigned long device = 0, inode = 0, mode = 0, owner = 0;
    long size = 0, at = 0;
    if (std::sscanf(bar + 1, "%lu|%lu|%lu|%lu|%ld|%ld", &device, &inode, &mode, &owner, &size, &at) != 6) continue;
    if (now - at >= faults().lingerMilliseconds) continue;
    *info = {};
    info->st_dev = static_cast<dev_t>(device);
    info->st_ino = static_cast<ino_t>(inode);
    info->st_mode = static_cast<mode_t>(mode);
    info->st_uid = static_cast<uid_t>(owner);
    info->st_nlink = 0;
    info->st_size = static_cast<off_t>(size);
    found = true;
  }
  std::fclose(removals);
  return found;
}

}  // namespace

// What was noted of `fd` when it was opened, while it is still open on
// that file (a descriptor the C library closed inside itself may be given
// to another file); null for none.
const Faults::Opened* noted(int fd) {
  if (!isDescriptor(fd) || !faults().opened[fd].noted) return nullptr;
  const Faults::Opened& opened = faults().opened[fd];
  struct stat info;
  if (realFstat(fd, &info) == 0 && info.st_dev == opened.device && info.st_ino == opened.inode) return &opened;
  noteClosed(fd);
  return nullptr;
}

bool writeRefused(int fd) {
  const Faults::Opened* opened = isDescriptor(fd) && faults().noWriteRenamed ? noted(fd) : nullptr;
  if (opened == nullptr || opened->path.empty() || wholePath(fd, "") == opened->path) return false;
  errno = EOPNOTSUPP;
  return true;
}

bool unlisted(int fd, const char* name) {
  const Faults::Opened* opened = isDescriptor(fd) && faults().listsAsOpened ? noted(fd) : nullptr;
  return opened != nullptr && opened->listed &&
         std::find(opened->names.begin(), opened->names.end(), name) == opened->names.end();
}

// Only what the settings ask is noted: the whole path of every file the
// program opens is asked of the system otherwise.
void noteOpened(int fd) {
  noteClosed(fd);
  const Faults& f = faults();
  struct stat info;
  if (!isDescriptor(fd) || (!f.noWriteRenamed && !f.listsAsOpened) || !inStandIn(fd, "") || realFstat(fd, &info) != 0) {
    return;
  }
  Faults::Opened& opened = faults().opened[fd];
  opened = Faults::Opened{true, info.st_dev, info.st_ino, wholePath(fd, ""), false, {}};
  if (!S_ISDIR(info.st_mode) || !f.listsAsOpened) return;
  opened.listed = true;
  anyName(opened.path, [&](const char* name) {
    opened.names.push_back(name);
    return false;
  });
}

void noteCopied(int from, int fd) {
  if (isDescriptor(from) && isDescriptor(fd)) faults().opened[fd] = faults().opened[from];
}

void noteClosed(int fd) {
  if (isDescriptor(fd) && faults().opened[fd].noted) faults().opened[fd] = Faults::Opened();
}

}  // namespace io_faults
