// Share: what the file system that holds a folder means for the turns of
// pahost's runs there (folder_turn.h), decided once for the folder and
// asked what it means for a refusal, a removed name and a wait.
//
// One file system differs from the rest: the kernel's SMB client (mount -t
// cifs). It refuses a lock another run holds with EACCES (elsewhere a lock
// that fails), and a read or write of a file while a lock another run asked
// for covers it; it shows a removed name for a while (while a handle on the
// file is open, and about a second after); and every run that opens a file
// alike goes through one handle it shares, with which a lock the server
// granted a run killed as it asked for it stays while any run holds the
// file open, until the handle is closed the mount's close timeout after
// the last run let it go. Its files all show the mount's file_mode unless
// it is mounted with permissions of some kind.
//
// Its type is a question to the server on a share: asked once, and only
// when an answer matters (a refusal, a lock file open to others, a holder
// about to remove its lock file). Its mount (the close timeout, whether it
// keeps permissions) is read from the system's table of mounts, once. Where
// the type cannot be told (fstatfs fails), a refusal is still a turn to
// wait for, and unknownType() says why.
#ifndef PAHOST_SHARE_H_
#define PAHOST_SHARE_H_

#include <sys/types.h>

#include <chrono>
#include <string>

#include "pahost/file_status.h"

// The system's table of mounts.
extern const char kMountTable[];  // "/proc/self/mountinfo"

class Share {
 public:
  using Clock = std::chrono::steady_clock;

  // `folderFd` is the folder, open, which the caller keeps open;
  // `mountTable` a table of mounts as the system lists them.
  explicit Share(int folderFd, const char* mountTable = kMountTable);

  // What a lock refused with `cause` means: another run holds it (a turn
  // to wait for); the system cannot lock the file at all; a lock that
  // fails. The one reading of a refusal: EACCES is a lock another run
  // holds on the kernel's SMB client, and where the type cannot be told.
  enum class Refusal { kTaken, kNoLocks, kFailed };
  Refusal refusal(int cause);
  // Whether a read or write of the lock file refused with `cause` is
  // refused for a lock another run holds on the file: EACCES where a lock
  // refused with it is another run's (kTaken), tried again a short while
  // (while that run's lock request reaches the server), then let go of and
  // waited for. Anything else is a read or write that fails, EAGAIN too (a
  // read or write that would block, whatever a lock refused with that
  // number means).
  bool lockedElsewhere(int cause);
  // Whether a holder leaves its lock file in place as it ends, where the
  // next run would wait for the removed name to go.
  bool keepsLockFile();
  // What the file system does with permissions, as its mount tells: kNone
  // where it is the kernel's SMB client mounted without any; kUnknown where
  // the files must tell.
  Permissions mountPermissions();
  // On the kernel's SMB client, the mount's close timeout in `*timeout`:
  // how long the client keeps a handle after the last run let it go, and a
  // lock the server granted a run killed as it asked for it with it; false
  // elsewhere.
  bool closeTimeout(std::chrono::milliseconds* timeout);
  // How long from now waiting runs let go of the lock file together,
  // `sinceTurn` after another run was last seen to take a turn; zero: try
  // the lock now.
  Clock::duration letGo(Clock::duration sinceTurn);
  // Why the file system's type could not be told; "" when it could, or was
  // not asked.
  const std::string& unknownType() const { return typeCause_; }

 private:
  enum class Kind { kUnasked, kKernelSmb, kOther, kUnknown };
  Kind kind();
  // The mount's options, read once; false where the table shows none.
  bool mountOptions(std::string* options);

  int folderFd_;
  const char* mountTable_;
  Kind kind_ = Kind::kUnasked;
  std::string typeCause_;
  bool mountRead_ = false;
  bool mountShown_ = false;
  std::string mountType_;
  std::string options_;
};

// Waiting runs on the kernel's SMB client let go of the lock file together
// only once they saw no other run take a turn for longer than a turn takes
// (kTurnTakes), for a window in every four of the clock: the close timeout
// and kLetGoMargin more, so that the handle is closed on the server.
const std::chrono::milliseconds kTurnTakes(3000);
const std::chrono::milliseconds kLetGoMargin(1500);
// The window for the close timeout `closeTimeout`.
std::chrono::milliseconds letGoWindow(std::chrono::milliseconds closeTimeout);
// How long a wait takes at most, from the last turn seen, for waiting runs
// to have let go of the lock file together for a whole window of
// `closeTimeout`'s: kTurnTakes, then five windows (the window under way
// may have too little left to free a lock, and the next starts three
// windows after it ends).
std::chrono::milliseconds letGoBound(std::chrono::milliseconds closeTimeout);
// How long from `now` waiting runs let go for `window`, `sinceTurn` after
// a turn was last seen; zero outside the window, or before kTurnTakes.
std::chrono::milliseconds letGoLeft(std::chrono::system_clock::time_point now, std::chrono::milliseconds window,
                                    Share::Clock::duration sinceTurn);

// How long the kernel's SMB client keeps a handle its programs let go
// before it closes it on the server, for the share that holds the folder
// open as `folderFd`: the mount's closetimeo as `table` (of the form of
// /proc/self/mountinfo) shows it, at most 600 seconds; 1 second (the
// client's default) where it shows none.
std::chrono::milliseconds kernelSmbCloseTimeout(int folderFd, const char* table = kMountTable);
// The closetimeo, in seconds, that the table `mountinfo` shows for the
// file system numbered `device`; -1 where it shows none.
long closeTimeoutIn(const std::string& mountinfo, dev_t device);
// The type and options (",a,b=1,") of the file system numbered `device`
// in the table `mountinfo`; false where it lists none.
bool mountOf(const std::string& mountinfo, dev_t device, std::string* type, std::string* options);

#endif  // PAHOST_SHARE_H_
