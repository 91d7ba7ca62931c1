// Small checks of the files and folders beside a data file, shared by the
// data file's placement (data_file.h) and the folder's turn
// (folder_turn.h).
#ifndef PAHOST_FILE_STATUS_H_
#define PAHOST_FILE_STATUS_H_

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <chrono>
#include <string>

#include "pahost/deadline.h"

// The bits a file or folder of pahost's own never has: access for anyone
// but its owner.
const mode_t kOthersAccess = 077;
// How pahost makes a file of its own beside a data file (a lock file, a
// file made to ask about permissions): only where nothing stands at its
// name, for reading and writing, open to the user alone.
const int kMakeOwnFile = O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
const mode_t kOwnFileMode = 0600;
// How such a file that is there is opened (with an access mode): never
// through a link, never waiting on a FIFO or taking a terminal.
const int kOpenThere = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// The access bits of `mode` (read, write and execute for the owner, the
// group and others) as a chmod takes them ("0644").
std::string modeText(mode_t mode);

// The user pahost runs as (its effective user id, asked of the system
// once).
uid_t runningUser();

// Whether `a` and `b`, as the system described them, are one file.
bool isSameFile(const struct stat& a, const struct stat& b);
// Whether `info` is a regular file of the user's with one name: what a
// file of pahost's own beside a data file is (a second name would be
// written through as well).
bool isOwnPlainFile(const struct stat& info);

// Whether a chmod that failed with the system's error `error` was refused
// by a file system that keeps no Unix permissions: EPERM (FAT), EOPNOTSUPP
// (a desktop's SMB view) or ENOSYS (FUSE drivers without chmod).
bool isChmodRefused(int error);

// Removes the file `name` from the folder open as `folderFd`, a file no
// handle of this run holds any more: an SMB client over FUSE lets a handle
// go a moment after it is closed (or after its process was killed), and
// refuses the removal (EBUSY) until then, so it is tried again for a short
// while, within `deadline`: a removal still refused once that is over is
// left as it is (another program may hold the file open). false with errno
// set.
bool removeLetGo(int folderFd, const char* name, const Deadline& deadline);
// The bound of a wait for a handle this run itself just closed to be let
// go (the removal of its own files): short, and its own, whatever is left
// of the run's wait for other runs (that may be over).
const std::chrono::milliseconds kOwnLetGo(100);

// A name that is seen but cannot be opened (ENOENT), or made anew (EEXIST),
// is a file or folder being removed: the kernel's SMB client shows a
// removed name for about a second (its attribute cache), and the server
// keeps it while a handle another run holds on it is open. A run waits for
// it within its deadline (deadline.h), looking again this often.
const std::chrono::milliseconds kRemovalPause(20);
// How a name being removed shows: seen with no name left (no links), seen
// but not to be opened, or not seen where it could not be made; kNone: it
// is not being removed.
enum class Removal { kNone, kNameless, kNotOpened, kNotMade };
// How the name an open failed at with `cause` (0: it opened) shows its
// removal, `shown` being whether anything is seen at it and `seen` what
// (or what was opened); `making` says whether the open was to make it.
Removal removalOf(bool shown, const struct stat& seen, int cause, bool making);

// What the file system that holds a file does with Unix permissions, as
// far as pahost can tell.
enum class Permissions {
  kKept,     // as asked: pahost relies on them
  kNone,     // fixed, refused or not as asked: nothing they guard is had there
  kUnknown,  // a chmod failed for another cause (a share that stops answering)
};

// What the file system that holds the open file `fd` of the user's, which
// the system describes as `seen`, does with permissions, `wanted` being
// the permissions pahost gives such a file. USB sticks (FAT, exFAT),
// Windows and NAS shares and Windows drives seen from WSL show every file
// with fixed permissions, and refuse a chmod there or ignore it; an SMB
// client over FUSE takes only the owner's execute bit and shows group and
// other read whatever is asked.
// Told by a chmod to `wanted` (when the file shows other permissions) or
// else by turning the owner's execute bit, which nothing of pahost's
// depends on: kKept when the file then shows what was asked; kUnknown,
// with what failed in `*cause`, when the chmod failed for a cause other
// than a refusal, or the file could not be looked at after it. The file is
// given back the permissions it showed. Never asked of a file of the
// user's that shows access for others unless this run made it: such a
// file is refused for its permissions, and must stay so whenever the run
// is killed.
Permissions permissionsOf(int fd, const struct stat& seen, mode_t wanted, std::string* cause);

#endif  // PAHOST_FILE_STATUS_H_
