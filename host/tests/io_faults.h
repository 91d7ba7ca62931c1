// What the fault library's two parts share: the faults io_faults.cc makes
// for paths that hold a text, and the other file system stand_in_fs.cc
// stands in for in one folder. Both read their settings from the
// environment once, and reach the C library's own calls past their own.
#ifndef HOST_TESTS_IO_FAULTS_H_
#define HOST_TESTS_IO_FAULTS_H_

#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/types.h>

#include <string>
#include <vector>

namespace io_faults {

const int kMostFiles = 4096;

// How the stand-in file system keeps permissions (PA_FAULT_CHMOD).
enum class Chmod { kReal, kRefuse, kIgnore, kUnsupported, kNoSys, kFail, kExecute };
// Whose open handles keep a file from being removed (PA_FAULT_BUSY).
enum class Busy { kNone, kAnyProcess, kOwnHandles };

// The settings, and what is known of each open descriptor.
struct Faults {
  Faults();

  // Faults of the paths that hold a text (io_faults.cc).
  const char* path;
  bool failOpen;
  bool failLook;
  bool removeOnOpen;
  long readsBeforeFailing;
  long fstatsBeforeFailing;
  long unlinkedLooks;
  bool interrupt;
  bool killOnOpen;
  bool killOnChmod;
  long holdUpMilliseconds;
  bool failUnlink;
  // The stand-in file system (stand_in_fs.cc): its folder with a "/"
  // after it ("" for none), and what it does.
  std::string standIn;
  Chmod chmod;
  bool noReopen;
  bool noWriteRenamed;
  bool listsAsOpened;
  Busy busy;
  bool privateModes;
  mode_t fixedMode;
  long mount;
  bool renumber;
  bool locksRefuseAccess;
  long lingerMilliseconds;
  long letGoMilliseconds;
  bool smbType;
  bool staleLock;

  // Per descriptor: reads and fstat calls done while it is failed (-1
  // when it is not), and what the stand-in noted of the file it was
  // opened on.
  long reads[kMostFiles];
  long fstats[kMostFiles];
  struct Opened {
    bool noted = false;
    dev_t device = 0;  // the file, as the real file system knows it
    ino_t inode = 0;
    std::string path;  // where it was, where writes through a renamed file are refused
    bool listed = false;             // where a listing shows only
    std::vector<std::string> names;  // the names its folder held then
  };
  Opened opened[kMostFiles];
  // The files this program closed while PA_FAULT_LETGO lasts for them.
  struct Closed {
    dev_t device;
    ino_t inode;
    long at;  // milliseconds, steady
  };
  std::vector<Closed> closed;
};

Faults& faults();

// The C library's own `name`, past this library's.
template <class Fn>
Fn next(const char* name) {
  return reinterpret_cast<Fn>(::dlsym(RTLD_NEXT, name));
}
int realFstat(int fd, struct stat* info);
int realFstatat(int dir, const char* path, struct stat* info, int flags);

// Whether `path` holds the text PA_FAULT_PATH names.
bool matches(const char* path);
// The whole path of `path` taken from the folder `dir` (AT_FDCWD or open;
// `path` "" for `dir` itself).
std::string wholePath(int dir, const char* path);
// Whether the file `path` of `dir` lies in the stand-in file system.
bool inStandIn(int dir, const char* path);

// The stand-in file system (stand_in_fs.cc).
// What it shows of the file at `whole` the real one shows as `info`.
void showStandIn(const std::string& whole, struct stat* info);
// An fchmod of `fd` to `mode` as it does it.
int standInChmod(int fd, mode_t mode);
// Whether opening `path` of `dir` with `flags` is refused, errno set.
bool openRefused(int dir, const char* path, int flags);
// Whether removing `path` of `dir` (or renaming onto it) fails because a
// program holds it open, errno set.
bool removalBusy(int dir, const char* path);
// Whether writing or cutting through `fd` is refused, errno set.
bool writeRefused(int fd);
// Whether a listing through `fd` leaves out `name`.
bool unlisted(int fd, const char* name);
// What it notes of a descriptor just opened (`fd` >= 0), made a copy of
// `from` (by dup alone: dup2, dup3 and fcntl's copies are not noted, and
// show the real file system's behaviour), or closed.
void noteOpened(int fd);
void noteCopied(int from, int fd);
void noteClosed(int fd);
// Notes that this program is about to close `fd`, which a share lets go a
// moment later (PA_FAULT_LETGO).
void noteLetGo(int fd);
// Whether a lock of `fd` refused as held elsewhere is refused with EACCES
// instead, errno set.
bool lockRefusedAccess(int fd);
// Notes that the file or folder `path` of `dir`, as the real file system
// showed it (`was`), was just removed, for PA_FAULT_LINGER.
void noteRemoved(int dir, const char* path, const struct stat& was);
// Whether the removed `path` of `dir` is still seen by name, as `*info`.
bool lingers(int dir, const char* path, struct stat* info);
// Whether the file system of `fd` (or of `path`) shows the kernel's SMB
// client's type, set in `*info` when it does.
bool showsSmbType(int fd, const char* path, struct statfs* info);
// Whether `path` names the system's table of mounts, which the stand-in
// shows (PA_FAULT_SMB); and a file holding the table it shows, for this
// program to open and remove ("" when it cannot be made).
bool isMountTable(const char* path);
std::string standInMountTable();
// PA_FAULT_STALELOCK: whether a lock of `fd` is refused for the lock a
// killed run left with the client's handle, errno set; what the handle
// goes through as `fd` is opened and closed.
bool staleLockRefuses(int fd);
void noteStaleOpened(int fd);
void noteStaleClosed(const struct stat& file);

}  // namespace io_faults

#endif  // HOST_TESTS_IO_FAULTS_H_
