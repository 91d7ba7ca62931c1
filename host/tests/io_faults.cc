// io_faults: a library preloaded into a program under test (LD_PRELOAD)
// that makes the file system fail the way a failing disk, a signal,
// another program or a file system without Unix permissions would, for
// the files whose path holds a given text. It stands between the program
// and the C library's open, close, read, write, stat, chmod, remove,
// rename, folder-listing and readlink calls (and fopen, for the stand-in's
// table of mounts); calls the C library makes inside itself (stdio's, the
// dynamic loader's) pass by.
//
//   PA_FAULT_PATH        the text a path must hold to be failed (the name
//                        an openat or fstatat call is given, as given)
//   PA_FAULT_OPEN=1      opening such a file, or reading such a link, fails
//                        with EIO
//   PA_FAULT_LOOK=1      looking at such a name (fstatat) fails with EIO
//   PA_FAULT_REMOVE=1    such a file is removed just before it is opened, as
//                        another program might
//   PA_FAULT_READS=N     after N reads of such a file, each read fails with EIO
//   PA_FAULT_FSTATS=N    after N fstat calls on such an open file, each fails
//                        with EIO
//   PA_FAULT_UNLINKED=N  the first N fstatat looks at such a name show it
//                        with no links, as while its last name is removed
//   PA_FAULT_EINTR=1     every read and write, of any file, is first
//                        interrupted (EINTR) once, then done
//   PA_FAULT_KILL=1      opening such a file kills the program (SIGKILL);
//                        `chmod`: an fchmod of such a file does, once the
//                        call is done
//   PA_FAULT_HOLDUP=MS   closing such a file holds the program up MS
//                        milliseconds once it is closed, as a process the
//                        system does not schedule for a while
//   PA_FAULT_UNLINK=1    removing such a file fails with EIO
//
// The folder PA_FAULT_DIR=DIR (and all in it) stands for another file
// system (stand_in_fs.cc tells how each setting makes it).
#include "host/tests/io_faults.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace io_faults {

namespace {

// How the stand-in file system keeps permissions, by PA_FAULT_CHMOD's word.
Chmod chmodOf(const char* how) {
  static const struct {
    const char* name;
    Chmod chmod;
  } kKinds[] = {{"refuse", Chmod::kRefuse}, {"ignore", Chmod::kIgnore},   {"unsupported", Chmod::kUnsupported},
                {"nosys", Chmod::kNoSys},   {"fail", Chmod::kFail},       {"execute", Chmod::kExecute}};
  for (const auto& kind : kKinds) {
    if (how != nullptr && std::strcmp(how, kind.name) == 0) return kind.chmod;
  }
  return Chmod::kReal;
}

Busy busyOf(const char* how) {
  if (how == nullptr) return Busy::kNone;
  return std::strcmp(how, "own") == 0 ? Busy::kOwnHandles : Busy::kAnyProcess;
}

long numberOf(const char* variable) { return std::getenv(variable) ? std::atol(std::getenv(variable)) : -1; }
bool isSet(const char* variable) { return std::getenv(variable) != nullptr; }

// The folder `path` with its links resolved, as the system names open
// files, and a "/" after it; "" for none.
std::string wholeFolder(const char* path) {
  char whole[PATH_MAX];
  if (path == nullptr || ::realpath(path, whole) == nullptr) return "";
  return std::string(whole) + "/";
}

// The descriptor an open of `path` gave, failed when it matches.
int opened(const char* path, int fd) {
  if (fd < 0 || fd >= kMostFiles) return fd;
  faults().reads[fd] = faults().fstats[fd] = matches(path) ? 0 : -1;
  noteOpened(fd);
  noteStaleOpened(fd);
  return fd;
}

// A stat's `result` of `path` of `dir`, a name removed that is still seen
// (PA_FAULT_LINGER) shown in `*info`.
int orLingering(int result, int dir, const char* path, struct stat* info) {
  return result != 0 && errno == ENOENT && lingers(dir, path, info) ? 0 : result;
}

// What a successful stat of `path` of `dir` shows: the stand-in's view in
// its folder, and no links while PA_FAULT_UNLINKED lasts for a look by
// name (`byName`).
int shown(int result, int dir, const char* path, bool byName, struct stat* info) {
  if (result != 0) return result;
  if (inStandIn(dir, path)) showStandIn(wholePath(dir, path), info);
  if (byName && matches(path) && faults().unlinkedLooks > 0) {
    --faults().unlinkedLooks;
    info->st_nlink = 0;
  }
  return result;
}

// Whether this call on `fd` fails, with errno set: an interruption first
// (every other call), then an injected read error, or a write the stand-in
// refuses.
bool fails(int fd, bool read) {
  static thread_local bool interrupted = false;
  if (faults().interrupt && !interrupted) {
    interrupted = true;
    errno = EINTR;
    return true;
  }
  interrupted = false;
  if (!read) return writeRefused(fd);
  if (fd < 0 || fd >= kMostFiles || faults().reads[fd] < 0 || faults().readsBeforeFailing < 0) return false;
  if (faults().reads[fd]++ < faults().readsBeforeFailing) return false;
  errno = EIO;
  return true;
}

mode_t modeOf(int flags, va_list args) {
  return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(args, mode_t) : 0;
}

// Whether opening `path` of `dir` with `flags` fails, with errno set; a
// file to be removed on its opening goes first. A name removed that is
// still seen cannot be made anew.
bool openFails(int dir, const char* path, int flags) {
  if (openRefused(dir, path, flags)) return true;
  struct stat ghost;
  if ((flags & (O_CREAT | O_EXCL)) == (O_CREAT | O_EXCL) && faults().lingerMilliseconds > 0 &&
      realFstatat(dir, path, &ghost, AT_SYMLINK_NOFOLLOW) != 0 && lingers(dir, path, &ghost)) {
    errno = EEXIST;
    return true;
  }
  if (!matches(path)) return false;
  if (faults().killOnOpen) ::raise(SIGKILL);
  if (faults().removeOnOpen) ::unlinkat(dir, path, 0);
  if (!faults().failOpen) return false;
  errno = EIO;
  return true;
}

// What `open` gives for the stand-in's table of mounts, opened and then
// removed (`failed` where it cannot be made).
template <class Open, class Handle>
Handle openedMountTable(Open open, Handle failed) {
  const std::string table = standInMountTable();
  if (table.empty()) {
    errno = EIO;
    return failed;
  }
  const Handle handle = open(table.c_str());
  next<int (*)(const char*)>("unlink")(table.c_str());
  return handle;
}

// Whether this fstat of `fd` fails, with errno set.
bool fstatFails(int fd) {
  if (fd < 0 || fd >= kMostFiles || faults().fstats[fd] < 0 || faults().fstatsBeforeFailing < 0) return false;
  if (faults().fstats[fd]++ < faults().fstatsBeforeFailing) return false;
  errno = EIO;
  return true;
}

// The first entry of `dir` a listing through it shows.
template <class Entry>
Entry* listedEntry(DIR* dir, Entry* (*read)(DIR*)) {
  const int fd = ::dirfd(dir);
  Entry* entry = read(dir);
  while (entry != nullptr && unlisted(fd, entry->d_name)) entry = read(dir);
  return entry;
}

}  // namespace

Faults::Faults()
    : path(std::getenv("PA_FAULT_PATH")),
      failOpen(isSet("PA_FAULT_OPEN")),
      failLook(isSet("PA_FAULT_LOOK")),
      removeOnOpen(isSet("PA_FAULT_REMOVE")),
      readsBeforeFailing(numberOf("PA_FAULT_READS")),
      fstatsBeforeFailing(numberOf("PA_FAULT_FSTATS")),
      unlinkedLooks(numberOf("PA_FAULT_UNLINKED")),
      interrupt(isSet("PA_FAULT_EINTR")),
      killOnOpen(isSet("PA_FAULT_KILL") && std::strcmp(std::getenv("PA_FAULT_KILL"), "chmod") != 0),
      killOnChmod(isSet("PA_FAULT_KILL") && !killOnOpen),
      holdUpMilliseconds(numberOf("PA_FAULT_HOLDUP")),
      failUnlink(isSet("PA_FAULT_UNLINK")),
      standIn(wholeFolder(std::getenv("PA_FAULT_DIR"))),
      chmod(chmodOf(std::getenv("PA_FAULT_CHMOD"))),
      noReopen(isSet("PA_FAULT_REOPEN")),
      noWriteRenamed(isSet("PA_FAULT_RENAMED")),
      listsAsOpened(isSet("PA_FAULT_LISTING")),
      busy(busyOf(std::getenv("PA_FAULT_BUSY"))),
      privateModes(isSet("PA_FAULT_PRIVATE")),
      fixedMode(isSet("PA_FAULT_MODE") ? static_cast<mode_t>(std::strtoul(std::getenv("PA_FAULT_MODE"), nullptr, 8))
                                       : 0755),
      mount(std::max(0L, numberOf("PA_FAULT_MOUNT"))),
      renumber(isSet("PA_FAULT_RENUMBER")),
      locksRefuseAccess(std::getenv("PA_FAULT_LOCKS") != nullptr &&
                        std::strcmp(std::getenv("PA_FAULT_LOCKS"), "eacces") == 0),
      lingerMilliseconds(numberOf("PA_FAULT_LINGER")),
      letGoMilliseconds(numberOf("PA_FAULT_LETGO")),
      smbType(isSet("PA_FAULT_SMB")),
      staleLock(isSet("PA_FAULT_STALELOCK")) {
  for (int fd = 0; fd < kMostFiles; ++fd) reads[fd] = fstats[fd] = -1;
}

// Never destroyed: the program's own files may be closed after the
// library's objects would go.
Faults& faults() {
  static Faults& f = *new Faults;
  return f;
}

bool matches(const char* path) {
  const char* text = faults().path;
  return text != nullptr && path != nullptr && std::strstr(path, text) != nullptr;
}

int realFstat(int fd, struct stat* info) { return next<int (*)(int, struct stat*)>("fstat")(fd, info); }

int realFstatat(int dir, const char* path, struct stat* info, int flags) {
  return next<int (*)(int, const char*, struct stat*, int)>("fstatat")(dir, path, info, flags);
}

std::string wholePath(int dir, const char* path) {
  if (path[0] == '/') return path;
  char base[PATH_MAX] = "";
  if (dir == AT_FDCWD) {
    if (::getcwd(base, sizeof base) == nullptr) return path;
  } else {
    const std::string link = "/proc/self/fd/" + std::to_string(dir);
    const ssize_t n = next<ssize_t (*)(const char*, char*, size_t)>("readlink")(link.c_str(), base, sizeof base - 1);
    if (n <= 0) return path;
    base[n] = '\0';
  }
  return path[0] == '\0' ? std::string(base) : std::string(base) + "/" + path;
}

bool inStandIn(int dir, const char* path) {
  const std::string& folder = faults().standIn;
  return !folder.empty() && (wholePath(dir, path) + "/").compare(0, folder.size(), folder) == 0;
}

}  // namespace io_faults

using namespace io_faults;

extern "C" {

int open(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = modeOf(flags, args);
  va_end(args);
  if (isMountTable(path)) return openedMountTable([&](const char* table) {
    return next<int (*)(const char*, int, mode_t)>("open")(table, flags, mode);
  }, -1);
  return openFails(AT_FDCWD, path, flags)
             ? -1
             : opened(path, next<int (*)(const char*, int, mode_t)>("open")(path, flags, mode));
}

int openat(int dir, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = modeOf(flags, args);
  va_end(args);
  if (isMountTable(path)) return openedMountTable([&](const char* table) {
    return next<int (*)(int, const char*, int, mode_t)>("openat")(dir, table, flags, mode);
  }, -1);
  return openFails(dir, path, flags)
             ? -1
             : opened(path, next<int (*)(int, const char*, int, mode_t)>("openat")(dir, path, flags, mode));
}

std::FILE* fopen(const char* path, const char* mode) {
  const auto real = next<std::FILE* (*)(const char*, const char*)>("fopen");
  if (!isMountTable(path)) return real(path, mode);
  return openedMountTable([&](const char* table) { return real(table, mode); }, static_cast<std::FILE*>(nullptr));
}

std::FILE* fopen64(const char* path, const char* mode) {
  const auto real = next<std::FILE* (*)(const char*, const char*)>("fopen64");
  if (!isMountTable(path)) return real(path, mode);
  return openedMountTable([&](const char* table) { return real(table, mode); }, static_cast<std::FILE*>(nullptr));
}

int dup(int fd) {
  const int copy = next<int (*)(int)>("dup")(fd);
  if (copy >= 0) noteCopied(fd, copy);
  return copy;
}

int close(int fd) {
  const bool holdUp = faults().holdUpMilliseconds > 0 && matches(wholePath(fd, "").c_str());
  if (fd >= 0 && fd < kMostFiles) faults().reads[fd] = faults().fstats[fd] = -1;
  noteLetGo(fd);
  noteClosed(fd);
  struct stat file;
  const bool stale = faults().staleLock && realFstat(fd, &file) == 0;
  const int result = next<int (*)(int)>("close")(fd);
  if (stale) noteStaleClosed(file);
  if (holdUp) std::this_thread::sleep_for(std::chrono::milliseconds(faults().holdUpMilliseconds));
  return result;
}

ssize_t read(int fd, void* buffer, size_t size) {
  if (fails(fd, true)) return -1;
  return next<ssize_t (*)(int, void*, size_t)>("read")(fd, buffer, size);
}

ssize_t pread(int fd, void* buffer, size_t size, off_t offset) {
  if (fails(fd, true)) return -1;
  return next<ssize_t (*)(int, void*, size_t, off_t)>("pread")(fd, buffer, size, offset);
}

ssize_t write(int fd, const void* data, size_t size) {
  if (fails(fd, false)) return -1;
  return next<ssize_t (*)(int, const void*, size_t)>("write")(fd, data, size);
}

ssize_t pwrite(int fd, const void* data, size_t size, off_t offset) {
  if (fails(fd, false)) return -1;
  return next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite")(fd, data, size, offset);
}

int ftruncate(int fd, off_t size) { return writeRefused(fd) ? -1 : next<int (*)(int, off_t)>("ftruncate")(fd, size); }

int stat(const char* path, struct stat* info) {
  return shown(orLingering(next<int (*)(const char*, struct stat*)>("stat")(path, info), AT_FDCWD, path, info),
               AT_FDCWD, path, false, info);
}

int fstat(int fd, struct stat* info) {
  if (fstatFails(fd)) return -1;
  return shown(realFstat(fd, info), fd, "", false, info);
}

int fstatat(int dir, const char* path, struct stat* info, int flags) {
  if (faults().failLook && matches(path)) {
    errno = EIO;
    return -1;
  }
  return shown(orLingering(realFstatat(dir, path, info, flags), dir, path, info), dir, path, true, info);
}

int fchmod(int fd, mode_t mode) {
  const int result = inStandIn(fd, "") ? standInChmod(fd, mode) : next<int (*)(int, mode_t)>("fchmod")(fd, mode);
  if (faults().killOnChmod && matches(wholePath(fd, "").c_str())) ::raise(SIGKILL);
  return result;
}

int unlink(const char* path) { return unlinkat(AT_FDCWD, path, 0); }

int rmdir(const char* path) { return unlinkat(AT_FDCWD, path, AT_REMOVEDIR); }

int unlinkat(int dir, const char* path, int flags) {
  if ((flags & AT_REMOVEDIR) == 0 && removalBusy(dir, path)) return -1;
  if ((flags & AT_REMOVEDIR) == 0 && faults().failUnlink && matches(path)) {
    errno = EIO;
    return -1;
  }
  struct stat was;
  const bool seen = realFstatat(dir, path, &was, AT_SYMLINK_NOFOLLOW) == 0;
  const int result = next<int (*)(int, const char*, int)>("unlinkat")(dir, path, flags);
  if (result == 0 && seen) noteRemoved(dir, path, was);
  return result;
}

int flock(int fd, int operation) {
  if ((operation & LOCK_UN) == 0 && staleLockRefuses(fd)) return -1;
  const int result = next<int (*)(int, int)>("flock")(fd, operation);
  return result != 0 && errno == EWOULDBLOCK && lockRefusedAccess(fd) ? -1 : result;
}

int fstatfs(int fd, struct statfs* info) {
  const int result = next<int (*)(int, struct statfs*)>("fstatfs")(fd, info);
  if (result == 0) showsSmbType(fd, "", info);
  return result;
}

int rename(const char* from, const char* to) {
  return removalBusy(AT_FDCWD, to) ? -1 : next<int (*)(const char*, const char*)>("rename")(from, to);
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
  return removalBusy(toDir, to) ? -1
                                : next<int (*)(int, const char*, int, const char*)>("renameat")(fromDir, from, toDir, to);
}

DIR* opendir(const char* path) {
  DIR* dir = next<DIR* (*)(const char*)>("opendir")(path);
  if (dir != nullptr) noteClosed(::dirfd(dir));  // a folder opened afresh shows what it holds
  return dir;
}

int closedir(DIR* dir) {
  noteClosed(::dirfd(dir));
  return next<int (*)(DIR*)>("closedir")(dir);
}

struct dirent* readdir(DIR* dir) { return listedEntry(dir, next<struct dirent* (*)(DIR*)>("readdir")); }

struct dirent64* readdir64(DIR* dir) { return listedEntry(dir, next<struct dirent64* (*)(DIR*)>("readdir64")); }

ssize_t readlink(const char* path, char* buffer, size_t size) {
  if (matches(path) && faults().failOpen) {
    errno = EIO;
    return -1;
  }
  return next<ssize_t (*)(const char*, char*, size_t)>("readlink")(path, buffer, size);
}

}  // extern "C"
