// io_faults: a library preloaded into a program under test (LD_PRELOAD)
// that makes the file system fail the way a failing disk or a signal
// would, for the files whose path holds a given text. It stands between
// the program and the C library's open, read and write calls; calls the C
// library makes inside itself (stdio's, the dynamic loader's) pass by.
//
//   PA_FAULT_PATH        the text an opened path must hold to be failed
//                        (the name an openat call is given, as given)
//   PA_FAULT_OPEN=1      opening such a file fails with EIO
//   PA_FAULT_READS=N     after N reads of such a file, each read fails with EIO
//   PA_FAULT_EINTR=1     every read and write, of any file, is first
//                        interrupted (EINTR) once, then done
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace {

const int kMostFiles = 4096;

struct Faults {
  const char* path = std::getenv("PA_FAULT_PATH");
  bool failOpen = std::getenv("PA_FAULT_OPEN") != nullptr;
  long readsBeforeFailing = std::getenv("PA_FAULT_READS") ? std::atol(std::getenv("PA_FAULT_READS")) : -1;
  bool interrupt = std::getenv("PA_FAULT_EINTR") != nullptr;
  // Per descriptor: reads done while it is failed, -1 when it is not.
  long reads[kMostFiles];
  Faults() {
    for (long& r : reads) r = -1;
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
  if (fd >= 0 && fd < kMostFiles) faults().reads[fd] = matches(path) ? 0 : -1;
  return fd;
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

mode_t modeOf(int flags, va_list args) { return (flags & (O_CREAT | O_TMPFILE)) ? va_arg(args, mode_t) : 0; }

// Whether opening `path` fails, with errno set.
bool openFails(const char* path) {
  if (!matches(path) || !faults().failOpen) return false;
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
  return openFails(path) ? -1 : opened(path, next<int (*)(const char*, int, mode_t)>("open")(path, flags, mode));
}

int openat(int dir, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = modeOf(flags, args);
  va_end(args);
  return openFails(path) ? -1
                        : opened(path, next<int (*)(int, const char*, int, mode_t)>("openat")(dir, path, flags, mode));
}

int close(int fd) {
  if (fd >= 0 && fd < kMostFiles) faults().reads[fd] = -1;
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

}  // extern "C"
