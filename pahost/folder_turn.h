// FolderTurn: the turn of one user's runs of pahost in one folder, so that
// a run can tell what a killed run of that user left there from what
// another run is still writing, and from anything else.
//
// The turn is a lock on a file of the user's own in the folder (a regular
// file of one name, mode 0600, named after the user's id): no one else can
// open it, so no other user can hold the turn nor keep the user's runs
// waiting; anything else at that name is refused and left as it is. On a
// file system that keeps no Unix permissions (file_status.h) no file is
// open to the user alone, and the lock file is judged by what such a file
// system keeps: a regular file of the user's with one name. A run holds
// the turn only while the file it locked is still the one at the name: the
// holder removes the file as it ends, and where a file cannot be written
// in place (a desktop's SMB view cannot open a file that is there for
// writing, nor write through a handle opened before the file was renamed)
// it records through a new file it renames over the one it holds
// (fresh_lock_name.h); a run that was waiting on a file gone from the name
// starts over with the file now there. Where a file held open cannot be
// removed (an SMB client over FUSE), the lock file stays once its record
// names nothing, and the next run takes it as it is; so it stays where a
// removed name would keep the next run waiting (share.h): a run never
// removes a file it no longer holds, since another run may hold it by then.
//
// What a refusal of the lock means, whether the holder leaves the lock file
// as it ends, and how waiting runs pause, the folder's share tells
// (share.h): a lock another run holds is a turn to wait for; only a file
// system that cannot lock at all has the run go on without the turn; a
// lock that fails otherwise stops it. A lock file seen with no name left,
// seen but not to be opened (ENOENT), or not seen where none can be made
// (EEXIST), is being removed, and waited for. Every wait of a take (the
// turn, removals, a file removed each time it is locked), and of the takes
// anew a caller makes, draws on one deadline (deadline.h): none outlasts
// it, and each message names the time waited in all. On the kernel's SMB
// client waiting runs that saw no turn taken for longer than a turn takes
// let go of the file together for a while (share.h), looking at it only by
// its name meanwhile: a change there (a holder recorded or ended) ends the
// let-go at once, so that a turn freed is taken promptly. A turn shows as
// the record's length or the file at the name, never as the file's times
// alone, which that client changes as runs close the file and open it
// again: taken for a turn, such a change would hold runs to the file into
// the let-go, and keep the client's handle, and a lock with it.
//
// The record (turn_record.h) is read before anything else is judged: on
// the kernel's SMB client a read refused there (EACCES, after a short
// retry within the deadline) shows a lock another run still holds on the
// file, and so does a refused write of the record: the run lets go and
// waits for its turn again, and is told that it waits (once a wait). Whether the file system keeps permissions is asked, once the
// record is read, of the lock file itself where that file is closed to
// others (a chmod to 0600, or where it shows 0600, a turn of the owner's
// execute bit, each given back); of a lock file open to others (a run
// killed while its bits were changed would leave them changed, perhaps
// accepted) only the mount (the kernel's SMB client mounted without
// permissions) or a file the run made tells: the lock file it made, or a
// file it makes to ask under the second name and removes.
//
// The record names the private folders of pahost's in the folder: that of
// the run that holds the turn, and those earlier runs ended without
// removing (killed, or a folder that could not be emptied). A folder found
// there when the turn is taken is no running run's, since a running one
// would still hold the turn. take() waits a bounded time for a run that
// holds it (a run stopped with Ctrl-Z holds it until it goes on) and says
// on `notices` that it waits, once a wait; a record it cannot read stops
// it, as it may name a killed run's folder. Only the holder writes the
// record or removes the file, and it removes it only once the record names
// nothing: a folder left behind stays recorded until a later run removes
// it.
#ifndef PAHOST_FOLDER_TURN_H_
#define PAHOST_FOLDER_TURN_H_

#include <sys/stat.h>
#include <sys/types.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "pahost/deadline.h"
#include "pahost/file_status.h"
#include "pahost/fresh_lock_name.h"
#include "pahost/share.h"
#include "pahost/turn_record.h"

class FolderTurn {
 public:
  // A private folder as the record names it (turn_record.h).
  using Entry = RecordedFolder;

  // `folderFd` is the folder, open, which the caller keeps open while the
  // object lives; `folder` is its path, for messages.
  FolderTurn(int folderFd, const std::string& folder);
  // Lets the turn go; the holder removes the lock file first when its
  // record names nothing, the file is still the one at the name and the
  // share does not keep it (share.h).
  ~FolderTurn();
  FolderTurn(const FolderTurn&) = delete;
  FolderTurn& operator=(const FolderTurn&) = delete;

  // Takes the turn, waiting at most until `deadline` for a run that holds
  // it; false with error() set when the lock file cannot be used or the
  // deadline comes first. When the system cannot lock the file (a file
  // system without locks) the turn is given unheld, and `notices` is told
  // so; it is told too that the run waits (once however many takes a wait
  // spans), and what it could not clear. Called again after loss(), it
  // takes the turn anew: every wait of the run afterwards draws on the
  // deadline given last.
  bool take(const Deadline& deadline, std::FILE* notices);
  bool take(int waitSeconds, std::FILE* notices) { return take(Deadline(waitSeconds), notices); }
  // Whether the turn is held: without it nothing recorded is anyone's
  // leftover, as other runs may be writing.
  bool held() const { return held_; }
  // What the record held when the turn was taken (empty without the
  // turn), or what was recorded since.
  const std::vector<Entry>& recorded() const { return entries_; }
  // Whether the folder's file system keeps Unix permissions
  // (file_status.h), as the mount, the lock file held or a file made to ask
  // tells (see above); true (the careful answer) without the turn or when
  // it cannot be told.
  bool keepsPermissions();
  // Records `entries` in place of what the file held; false with error()
  // set. Without the turn held nothing is written (the record is the
  // holder's) and it is true.
  bool record(const std::vector<Entry>& entries);
  // Why record() found the turn gone, and let it go: the lock file held
  // was removed (a holder removes its file only once it records nothing,
  // so a run whose first record finds that, a holder killed as it removed
  // it or the removal seen late on the kernel's SMB client, has nothing in
  // it to keep), or its write was refused as a lock another run still
  // holds on it. Either may be taken anew.
  enum class Loss { kNone, kRemoved, kLockedElsewhere };
  Loss loss() const { return loss_; }
  const std::string& error() const { return error_; }
  // The user's lock file in `folder` (a path), whether or not it is there.
  static std::string lockFileIn(const std::string& folder);
  // The files a turn in `folder` may write: the lock file, and the one it
  // is made anew under.
  static std::vector<std::string> turnFilesIn(const std::string& folder);
  // Whether a file named `name` would be one of the turn's own in its
  // folder (the lock file, or the one it is made anew under), in any case
  // of its letters, as a file system that ignores case takes it.
  static bool isTurnFileName(const std::string& name);

 private:
  using Clock = std::chrono::steady_clock;
  // What one try of the lock found: held by this run; held by another;
  // locked but gone from the name; not to be had on this file system; a
  // lock that failed.
  enum class Attempt { kHeld, kTaken, kStale, kNoLocks, kFailed };
  // How holding a turn just locked went: held; refused (error() set); or
  // its record's read refused as a lock another run still holds, the turn
  // let go to be waited for again.
  enum class Hold { kHeld, kRefused, kLockedElsewhere };

  bool refuse(const std::string& cause);
  // Lets go of what a last take had, and starts one until `deadline`.
  void startTake(const Deadline& deadline, std::FILE* notices);
  Attempt tryLock();
  // Opens the lock file for writing once it is seen to be one (none there:
  // makes it); where a file that is there cannot be opened for writing (a
  // desktop's SMB view: not supported), for reading, and its holder
  // records through new files (replaceWith). A file being removed is
  // waited for. false with error() set.
  bool openLockFile();
  // Looks at what stands at the lock's name without reading or writing
  // it; false with error() set, true with `*none` when nothing is there.
  bool lookAtLockFile(struct stat* seen, bool* none);
  // Why the lock file could not be had while it was being removed, as it
  // showed, the open or make having failed with `cause`.
  std::string beingRemoved(Removal removing, int cause) const;
  // Whether the open lock file is the one at the lock's name.
  bool atName() const;
  // Holds the turn just locked once its record is read and the file judged
  // closed to others; the turn is let go otherwise (kLockedElsewhere with
  // errno the read's refusal).
  Hold holdTurn();
  // Whether the lock file is open to the user alone, as far as its file
  // system keeps permissions; false with error() set.
  bool closedToOthers();
  // What the folder's file system does with permissions, asked once a
  // take (see above); the cause in permissionsCause_ when it is unknown.
  Permissions permissions();
  Permissions probePermissions();
  // Lets the turn just taken go again; false.
  bool letGo();
  // Closes the lock file, if open (a lock held goes with it).
  void closeLockFile();
  // Notes a refusal with `cause`, and whether the lock file changed since
  // the last one (another run took a turn).
  void noteRefusal(int cause);
  // Pauses before the next try, letting go of the lock file for the while
  // waiting runs let it go where they must (share.h).
  void pauseWaiting();
  // Looks at the lock file by its name for `letGo` (or to the deadline),
  // until it changes.
  void watchLettingGo(Clock::duration letGo);
  // Why the wait is over, `last` being how the last try went.
  std::string waitedOut(Attempt last);
  // Why a wait that ended on a read or write (`io`) of the record refused
  // with `cause` ended.
  std::string lockedElsewhere(const char* io, int cause);
  // What such a message adds on the kernel's SMB client, whatever the
  // wait: how a lock a killed run left goes (share.h); "" elsewhere.
  std::string killedRunsLock();
  // What a message of a refusal read as another run's lock adds where the
  // file system's type could not be told (the kernel's SMB client refuses
  // `refused` so); "" where it could.
  std::string typeUntold(const char* refused) const;
  // Says `text` on notices_, as pahost's; that the run waits, once a wait;
  // that it cannot lock.
  void say(const std::string& text) const;
  void tellWaiting();
  void sayNoLocks(int cause) const;
  // Reads the record into entries_, again for a short while within the
  // deadline where the share reads the read's refusal as a lock another
  // run holds (the kernel's SMB client refuses it while another run's lock
  // request reaches the server); false with errno set when it cannot be
  // read.
  bool readRecord();
  // Writes `text` as the record into the open lock file, again for a
  // short while where the write is refused (as readRecord); false with
  // errno set.
  bool writeInPlace(const std::string& text);
  // Puts in place of the lock file held a new one this run makes, locked
  // and holding `text`; false with error() set.
  bool replaceWith(const std::string& text);

  // Of the folder, for every take.
  int folderFd_ = -1;
  std::string folder_;
  std::string lockName_;
  std::string lockPath_;
  FreshLockName fresh_;
  Share share_;
  Deadline deadline_{0};
  std::FILE* notices_ = nullptr;
  bool told_ = false;       // the run was told that it waits
  bool turnSeen_ = false;   // another run was seen to take a turn
  int refusedWith_ = 0;     // the cause of the last refusal
  bool readRefused_ = false;  // ... which was of the record's read
  Clock::time_point lastTurn_;   // when a turn was last seen, or the take began
  struct stat refusedAt_ = {};   // the lock file as the last refusal saw it
  // Of the lock file taken.
  int lockFd_ = -1;
  struct stat lockFile_ = {};  // the open lock file, as opened
  bool made_ = false;          // whether this run made it
  bool writesInPlace_ = true;  // false where it must be replaced to record
  bool permissionsAsked_ = false;
  Permissions permissions_ = Permissions::kUnknown;
  std::string permissionsCause_;
  bool held_ = false;
  Loss loss_ = Loss::kNone;
  // Whether the file, as this run last read or wrote it, records nothing.
  bool clean_ = false;
  std::vector<Entry> entries_;
  std::string error_;
};

#endif  // PAHOST_FOLDER_TURN_H_
