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
//   PA_FAULT_FIXED=DIR   every file and folder in DIR (and DIR) shows the
//                        permissions 0755, and an
//                        fchmod there fails with EPERM, as on a USB stick
//                        (FAT); with PA_FAULT_CHMOD=ignore it succeeds
//                        without effect, as on a Windows share
#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const int kMostFiles = 4096;
// The permissions every file shows under PA_FAULT_FIXED.
const mode_t kFixedMode = 0755;

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
  std::string fixed = wholeFolder(std::getenv("PA_FAULT_FIXED"));
  bool ignoreChmod = std::getenv("PA_FAULT_CHMOD") != nullptr && std::strcmp(std::getenv("PA_FAULT_CHMOD"), "ignore") == 0;
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

// The descriptor an open of `path` gave, failed when it matches.
int opened(const char* path, int fd) {
  if (fd >= 0 && fd < kMostFiles) faults().reads[fd] = faults().fstats[fd] = matches(path) ? 0 : -1;
  return fd;
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

// Whether the file `path` of `dir` lies where permissions are fixed.
bool underFixed(int dir, const char* path) {
  const std::string& fixed = faults().fixed;
  return !fixed.empty() && (wholePath(dir, path) + "/").compare(0, fixed.size(), fixed) == 0;
}

// What a successful stat of `path` of `dir` shows: the fixed permissions
// under PA_FAULT_FIXED, and no links while PA_FAULT_UNLINKED lasts for a
// look by name (`byName`).
int shown(int result, int dir, const char* path, bool byName, struct stat* info) {
  if (result != 0) return result;
  if (underFixed(dir, path)) info->st_mode = (info->st_mode & S_IFMT) | kFixedMode;
  if (byName && matches(path) && faults().unlinkedLooks > 0) {
    --faults().unlinkedLooks;
    info->st_nlink = 0;
  }
  return result;
}

// A chmod of `path` of `dir`: -1 with EPERM where permissions are fixed,
// 0 without effect when they are ignored there, 1 to do it.
int fixedChmod(int dir, const char* path) {
  if (!underFixed(dir, path)) return 1;
  if (faults().ignoreChmod) return 0;
  errno = EPERM;
  return -1;
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

// Whether opening `path` of `dir` fails, with errno set; a file to be
// removed on its opening goes first.
bool openFails(int dir, const char* path) {
  if (!matches(path)) return false;
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

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = modeOf(flags, args);
  va_end(args);
  return openFails(AT_FDCWD, path) ? -1
                                   : opened(path, next<int (*)(const char*, int, mode_t)>("open")(path, flags, mode));
}

int openat(int dir, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = modeOf(flags, args);
  va_end(args);
  return openFails(dir, path)
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
  return shown(next<int (*)(int, struct stat*)>("fstat")(fd, info), fd, "", false, info);
}

int fstatat(int dir, const char* path, struct stat* info, int flags) {
  return shown(next<int (*)(int, const char*, struct stat*, int)>("fstatat")(dir, path, info, flags), dir, path,
               true, info);
}

int fchmod(int fd, mode_t mode) {
  const int fixed = fixedChmod(fd, "");
  return fixed <= 0 ? fixed : next<int (*)(int, mode_t)>("fchmod")(fd, mode);
}

ssize_t readlink(const char* path, char* buffer, size_t size) {
  if (matches(path) && faults().failOpen) {
    errno = EIO;
    return -1;
  }
  return next<ssize_t (*)(const char*, char*, size_t)>("readlink")(path, buffer, size);
}

}  // extern "C"
