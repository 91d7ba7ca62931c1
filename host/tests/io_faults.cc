// io_faults: a library preloaded into a program under test (LD_PRELOAD)
// that makes the file system fail the way a failing disk, a signal,
// another program or a file system without Unix permissions would, for
// the files whose path holds a given text. It stands between the program
// and the C library's open, read, write, stat, chmod and readlink calls;
// calls the C library makes inside itself (stdio's, the dynamic loader's)
// pass by.
//
//   PA_FAULT_PATH        the text a path must hold to be failed (the name
//                        an openat or fstatat call is given, as given)
//   PA_FAULT_OPEN=1      opening such a file, or reading such a link, fails
//                        with EIO
//   PA_FAULT_REMOVE=1    such a file is removed just before it is opened, as
//                        another program might
//   PA_FAULT_READS=N     after N reads of such a file, each read fails with EIO
//   PA_FAULT_FSTATS=N    after N fstat calls on such an open file, each fails
//                        with EIO
//   PA_FAULT_UNLINKED=N  the first N fstatat looks at such a name show it
//                        with no links, as while its last name is removed
//   PA_FAULT_EINTR=1     every read and write, of any file, is first
//                        interrupted (EINTR) once, then done
//   PA_FAULT_KILL=1      opening such a file kills the program (SIGKILL)
//
// The folder PA_FAULT_DIR=DIR (and all in it) stands for another file
// system, as these settings make it:
//   PA_FAULT_CHMOD=HOW   how it keeps permissions: every file and folder
//                        shows 0755 and an fchmod fails with EPERM
//                        (`refuse`, a USB stick, FAT), EOPNOTSUPP
//                        (`unsupported`, a desktop's SMB view), ENOSYS
//                        (`nosys`, FUSE drivers without chmod) or succeeds
//                        without effect (`ignore`, exFAT over FUSE); or
//                        (`execute`, an SMB client over FUSE) an fchmod
//                        takes only the owner's execute bit, and files show
//                        0644 (0745 with that bit), folders 0755. Unset: as
//                        the real file system does.
//   PA_FAULT_REOPEN=1    a file that is there cannot be opened for writing
//                        (EOPNOTSUPP; a desktop's SMB view)
//   PA_FAULT_BUSY=1      a file any program holds open cannot be removed
//                        (EBUSY; an SMB client over FUSE)
//   PA_FAULT_PRIVATE=1   where permissions are fixed, files show 0600 and
//                        folders 0700 (a stick mounted open to its owner
//                        alone)
//   PA_FAULT_MOUNT=N     it is mounted for the N-th time: device numbers
//                        show N more; with PA_FAULT_RENUMBER=1 inode
//                        numbers too, as FAT numbers its files anew
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const int kMostFiles = 4096;
// The permissions every file shows where they are fixed (files and
// folders with PA_FAULT_PRIVATE), and the files' and the folders' of an SMB
// client over FUSE, whose execute bit shows as the owner's and others'.
const mode_t kFixedMode = 0755;
const mode_t kPrivateFileMode = 0600;
const mode_t kPrivateFolderMode = 0700;
const mode_t kSmbFileMode = 0644;
const mode_t kSmbExecute = 0101;
const mode_t kSmbFolderMode = 0755;
// How far apart the inode numbers of two mountings lie.
const ino_t kRenumbered = 1000003;

// How the stand-in file system keeps permissions (PA_FAULT_CHMOD).
enum class Chmod { kReal, kRefuse, kIgnore, kUnsupported, kNoSys, kExecute };

Chmod chmodOf(const char* how) {
  static const struct {
    const char* name;
    Chmod chmod;
  } kKinds[] = {{"refuse", Chmod::kRefuse},   {"ignore", Chmod::kIgnore},   {"unsupported", Chmod::kUnsupported},
                {"nosys", Chmod::kNoSys},     {"execute", Chmod::kExecute}};
  for (const auto& kind : kKinds) {
    if (how != nullptr && std::strcmp(how, kind.name) == 0) return kind.chmod;
  }
  return Chmod::kReal;
}

long numberOf(const char* variable) { return std::getenv(variable) ? std::atol(std::getenv(variable)) : -1; }

// The folder `path` with its links resolved, as the system names open
// files, and a "/" after it; "" for none.
std::string wholeFolder(const char* path) {
  char whole[PATH_MAX];
  if (path == nullptr || ::realpath(path, whole) == nullptr) return "";
  return std::string(whole) + "/";
}

struct Faults {
  const char* path = std::getenv("PA_FAULT_PATH");
  bool failOpen = std::getenv("PA_FAULT_OPEN") != nullptr;
  bool removeOnOpen = std::getenv("PA_FAULT_REMOVE") != nullptr;
  long readsBeforeFailing = numberOf("PA_FAULT_READS");
  long fstatsBeforeFailing = numberOf("PA_FAULT_FSTATS");
  long unlinkedLooks = numberOf("PA_FAULT_UNLINKED");
  bool interrupt = std::getenv("PA_FAULT_EINTR") != nullptr;
  bool kill = std::getenv("PA_FAULT_KILL") != nullptr;
  std::string standIn = wholeFolder(std::getenv("PA_FAULT_DIR"));
  Chmod chmod = chmodOf(std::getenv("PA_FAULT_CHMOD"));
  bool noReopen = std::getenv("PA_FAULT_REOPEN") != nullptr;
  bool busy = std::getenv("PA_FAULT_BUSY") != nullptr;
  bool privateModes = std::getenv("PA_FAULT_PRIVATE") != nullptr;
  long mount = std::max(0L, numberOf("PA_FAULT_MOUNT"));
  bool renumber = std::getenv("PA_FAULT_RENUMBER") != nullptr;
  // Per descriptor: reads and fstat calls done while it is failed, -1 when
  // it is not.
  long reads[kMostFiles];
  long fstats[kMostFiles];
  Faults() {
    for (int fd = 0; fd < kMostFiles; ++fd) reads[fd] = fstats[fd] = -1;
  }
};

Faults& faults() {
  static Faults f;
  return f;
}

bool matches(const char* path) {
  const char* text = faults().path;
  return text != nullptr && path != nullptr && std::strstr(path, text) != nullptr;
}

template <class Fn>
Fn next(const char* name) {
  return reinterpret_cast<Fn>(::dlsym(RTLD_NEXT, name));
}

int realFstat(int fd, struct stat* info) { return next<int (*)(int, struct stat*)>("fstat")(fd, info); }

int realFstatat(int dir, const char* path, struct stat* info, int flags) {
  return next<int (*)(int, const char*, struct stat*, int)>("fstatat")(dir, path, info, flags);
}

// The whole path of `path` taken from the folder `dir` (AT_FDCWD or open).
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

// Whether the file `path` of `dir` lies in the stand-in file system.
bool inStandIn(int dir, const char* path) {
  const std::string& folder = faults().standIn;
  return !folder.empty() && (wholePath(dir, path) + "/").compare(0, folder.size(), folder) == 0;
}

// The descriptor an open of `path` gave, failed when it matches.
int opened(const char* path, int fd) {
  if (fd >= 0 && fd < kMostFiles) faults().reads[fd] = faults().fstats[fd] = matches(path) ? 0 : -1;
  return fd;
}

// What the stand-in file system shows of a file the real one shows as
// `info`.
void showStandIn(struct stat* info) {
  const Chmod chmod = faults().chmod;
  const mode_t type = info->st_mode & S_IFMT;
  const bool folder = type == S_IFDIR;
  if (chmod == Chmod::kExecute) {
    const mode_t execute = (info->st_mode & S_IXUSR) != 0 ? kSmbExecute : 0;
    info->st_mode = type | (folder ? kSmbFolderMode : kSmbFileMode | execute);
  } else if (chmod != Chmod::kReal && faults().privateModes) {
    info->st_mode = type | (folder ? kPrivateFolderMode : kPrivateFileMode);
  } else if (chmod != Chmod::kReal) {
    info->st_mode = type | kFixedMode;
  }
  info->st_dev += static_cast<dev_t>(faults().mount);
  if (faults().renumber) info->st_ino += static_cast<ino_t>(faults().mount) * kRenumbered;
}

// What a successful stat of `path` of `dir` shows: the stand-in's view in
// its folder, and no links while PA_FAULT_UNLINKED lasts for a look by
// name (`byName`).
int shown(int result, int dir, const char* path, bool byName, struct stat* info) {
  if (result != 0) return result;
  if (inStandIn(dir, path)) showStandIn(info);
  if (byName && matches(path) && faults().unlinkedLooks > 0) {
    --faults().unlinkedLooks;
    info->st_nlink = 0;
  }
  return result;
}

// An fchmod of `fd` to `mode` as the stand-in file system does it.
int standInChmod(int fd, mode_t mode) {
  const auto chmod = next<int (*)(int, mode_t)>("fchmod");
  static const struct {
    Chmod chmod;
    int error;
  } kRefusals[] = {{Chmod::kRefuse, EPERM}, {Chmod::kUnsupported, EOPNOTSUPP}, {Chmod::kNoSys, ENOSYS}};
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

// Whether this call on `fd` fails, with errno set: an interruption first
// (every other call), then an injected read error.
bool fails(int fd, bool read) {
  static thread_local bool interrupted = false;
  if (faults().interrupt && !interrupted) {
    interrupted = true;
    errno = EINTR;
    return true;
  }
  interrupted = false;
  if (!read || fd < 0 || fd >= kMostFiles || faults().reads[fd] < 0 || faults().readsBeforeFailing < 0) return false;
  if (faults().reads[fd]++ < faults().readsBeforeFailing) return false;
  errno = EIO;
  return true;
}

mode_t modeOf(int flags, va_list args) {
  return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(args, mode_t) : 0;
}

// Whether opening `path` of `dir` with `flags` fails, with errno set; a
// file to be removed on its opening goes first.
bool openFails(int dir, const char* path, int flags) {
  struct stat there;
  const bool creates = (flags & (O_CREAT | O_EXCL)) == (O_CREAT | O_EXCL);
  if (faults().noReopen && (flags & O_ACCMODE) != O_RDONLY && !creates && inStandIn(dir, path) &&
      realFstatat(dir, path, &there, 0) == 0 && S_ISREG(there.st_mode)) {
    errno = EOPNOTSUPP;
    return true;
  }
  if (!matches(path)) return false;
  if (faults().kill) ::raise(SIGKILL);
  if (faults().removeOnOpen) ::unlinkat(dir, path, 0);
  if (!faults().failOpen) return false;
  errno = EIO;
  return true;
}

// Whether this fstat of `fd` fails, with errno set.
bool fstatFails(int fd) {
  if (fd < 0 || fd >= kMostFiles || faults().fstats[fd] < 0 || faults().fstatsBeforeFailing < 0) return false;
  if (faults().fstats[fd]++ < faults().fstatsBeforeFailing) return false;
  errno = EIO;
  return true;
}

// Whether `test` holds for a name in the folder `path`.
template <class Test>
bool anyName(const std::string& path, Test test) {
  DIR* dir = ::opendir(path.c_str());
  bool found = false;
  for (const dirent* entry; dir != nullptr && !found && (entry = ::readdir(dir)) != nullptr;) found = test(entry->d_name);
  if (dir != nullptr) ::closedir(dir);
  return found;
}

// Whether any process holds the file `file` open, as the system's view
// of each process's open files shows.
bool heldOpen(const struct stat& file) {
  return anyName("/proc", [&](const char* process) {
    const std::string open = std::string("/proc/") + process + "/fd/";
    return process[0] >= '1' && process[0] <= '9' && anyName(open, [&](const char* fd) {
             struct stat info;
             return realFstatat(AT_FDCWD, (open + fd).c_str(), &info, 0) == 0 && info.st_ino == file.st_ino &&
                    info.st_dev == file.st_dev;
           });
  });
}

// Whether removing the file `path` of `dir` fails because a program holds
// it open, with errno set.
bool removalBusy(int dir, const char* path) {
  struct stat there;
  if (!faults().busy || !inStandIn(dir, path) || realFstatat(dir, path, &there, AT_SYMLINK_NOFOLLOW) != 0 ||
      !S_ISREG(there.st_mode) || !heldOpen(there)) {
    return false;
  }
  errno = EBUSY;
  return true;
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = modeOf(flags, args);
  va_end(args);
  return openFails(AT_FDCWD, path, flags)
             ? -1
             : opened(path, next<int (*)(const char*, int, mode_t)>("open")(path, flags, mode));
}

int openat(int dir, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = modeOf(flags, args);
  va_end(args);
  return openFails(dir, path, flags)
             ? -1
             : opened(path, next<int (*)(int, const char*, int, mode_t)>("openat")(dir, path, flags, mode));
}

int close(int fd) {
  if (fd >= 0 && fd < kMostFiles) faults().reads[fd] = faults().fstats[fd] = -1;
  return next<int (*)(int)>("close")(fd);
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

int stat(const char* path, struct stat* info) {
  return shown(next<int (*)(const char*, struct stat*)>("stat")(path, info), AT_FDCWD, path, false, info);
}

int fstat(int fd, struct stat* info) {
  if (fstatFails(fd)) return -1;
  return shown(realFstat(fd, info), fd, "", false, info);
}

int fstatat(int dir, const char* path, struct stat* info, int flags) {
  return shown(realFstatat(dir, path, info, flags), dir, path, true, info);
}

int fchmod(int fd, mode_t mode) {
  return inStandIn(fd, "") ? standInChmod(fd, mode) : next<int (*)(int, mode_t)>("fchmod")(fd, mode);
}

int unlink(const char* path) {
  return removalBusy(AT_FDCWD, path) ? -1 : next<int (*)(const char*)>("unlink")(path);
}

int unlinkat(int dir, const char* path, int flags) {
  return (flags & AT_REMOVEDIR) == 0 && removalBusy(dir, path)
             ? -1
             : next<int (*)(int, const char*, int)>("unlinkat")(dir, path, flags);
}

ssize_t readlink(const char* path, char* buffer, size_t size) {
  if (matches(path) && faults().failOpen) {
    errno = EIO;
    return -1;
  }
  return next<ssize_t (*)(const char*, char*, size_t)>("readlink")(path, buffer, size);
}

}  // extern "C"
