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
// the turn only while the file it locked is still the one at the name:
// the holder removes the file as it ends, and where a file cannot be
// written in place (a desktop's SMB view cannot open a file that is there
// for writing, nor write through a handle opened before the file was
// renamed) it records through a new file it renames over the one it
// holds; a run that was waiting on a file gone from the name starts over
// with the file now there. Where a file held open cannot be removed (an
// SMB client over FUSE), the lock file stays once its record names
// nothing, and the next run takes it as it is (so it stays on the kernel's
// SMB client: see below): a run never removes a file it no longer holds,
// since another run may hold it by then.
//
// A lock another run holds is refused with EWOULDBLOCK, or with EACCES
// on the kernel's SMB client (other file systems mean no holder by it):
// the run waits for its turn. Only a file system that cannot lock at all
// (ENOLCK, EOPNOTSUPP, ENOSYS, EINVAL) has the run go on without the
// turn; a lock that fails otherwise stops it. The file system's type, a
// question to the server on a share, is asked only once a lock was
// refused. A lock file seen with no name left, seen but not to be opened
// (ENOENT), or not seen where none can be made (EEXIST), is being
// removed: the kernel's SMB client keeps a removed file at its name while
// a handle another run holds on it is open, and shows it for about a
// second after. It is waited for (RemovalWait, file_status.h), anew
// whenever another file has taken the name meanwhile. Every wait of a
// take() (the turn, removals, a file removed each time it is locked), and
// of the takes a caller makes anew, counts against one bound (Wait).
//
// On the kernel's SMB client a holder that was refused first (and so knows
// where it is) leaves the lock file in place as it ends, empty: the name of
// a removed file lingers there, and the next run's lock is granted on the
// same file at once. Every run that opens the lock file alike goes through
// one handle the client shares, and a lock granted to a run killed as it
// asked for it stays with that handle while any run holds it open: waiting
// runs that saw no turn taken for longer than a turn takes let go of the
// file together, for a moment in every period of the clock (longer than
// the mount's close timeout, after which the client closes a handle let
// go), so that such a lock goes.
//
// Whether the file system keeps permissions is asked of the lock file itself
// where that file is closed to others (a chmod to 0600, or where it shows
// 0600, a turn of the owner's execute bit, each given back); of a lock file
// open to others (a run killed while its bits were changed would leave them
// changed, perhaps accepted) only a file the run made tells: the lock file
// it made, or a file it makes to ask at the name a new lock file is made
// under, and removes; on the kernel's SMB client a run that was refused
// while other runs recorded in the very file it then takes (a file only its
// owner may write) takes it as they did, without asking again, since that
// removed name would keep the next holder waiting. That name (the lock
// file's and ".new") is cleared, when a run needs it, only of what a holder
// killed there may have left: a file of the user's holding nothing, or a
// record as pahost writes it; anything else there is left as it is, and
// told.
//
// The file also records, one a line, the private folders of pahost's in
// the folder: that of the run that holds the turn, and those earlier runs
// ended without removing (killed, or a folder that could not be emptied),
// each by its name and, once it was made, by what identifies it on the
// disk. A folder found there when the turn is taken is no running run's,
// since a running one would still hold the turn. take() waits a bounded
// time for a run that holds it (a run stopped with Ctrl-Z holds it until
// it goes on) and says on `notices` that it waits; a record it cannot read
// stops it, as it may name a killed run's folder. Only the holder writes
// the record or removes the file, and it removes it only once the record
// names nothing: a folder left behind stays recorded until a later run
// removes it.
#ifndef PAHOST_FOLDER_TURN_H_
#define PAHOST_FOLDER_TURN_H_

#include <sys/stat.h>
#include <sys/types.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "pahost/file_status.h"

class FolderTurn {
 public:
  // A private folder as the record names it: its name in the folder and,
  // once it was made and looked at, the device and inode it has on the
  // disk. A name recorded just before its folder is made is not
  // identified (a run killed then leaves an empty folder).
  struct Entry {
    std::string name;
    bool identified = false;
    dev_t device = 0;
    ino_t inode = 0;
  };

  // `folderFd` is the folder, open, which the caller keeps open while the
  // object lives; `folder` is its path, for messages.
  FolderTurn(int folderFd, const std::string& folder);
  // Lets the turn go; the holder removes the lock file first when its
  // record names nothing and the file is still the one at the name (but
  // where it knows the folder is on the kernel's SMB client: see above).
  ~FolderTurn();
  FolderTurn(const FolderTurn&) = delete;
  FolderTurn& operator=(const FolderTurn&) = delete;

  // The bound of one wait for the turn, from the moment it is made:
  // every try counts against it, those of a turn taken anew included.
  class Wait {
   public:
    explicit Wait(int seconds);
    std::chrono::steady_clock::time_point deadline() const { return deadline_; }
    bool over() const { return std::chrono::steady_clock::now() >= deadline_; }
    // The whole seconds waited so far, and in words ("30 seconds").
    int waitedSeconds() const;
    std::string waited() const { return secondsText(waitedSeconds()); }
    // The whole seconds left, to the nearest (0 once it is over).
    int secondsLeft() const;
    // Whether the run was told that it waits: once a wait, however many
    // takes it spans.
    bool told() const { return told_; }
    void tell() { told_ = true; }

   private:
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point deadline_;
    bool told_ = false;
  };

  // Takes the turn, waiting at most until `wait` is over for a run that
  // holds it; false with error() set when the lock file cannot be used or
  // the wait ends first. When the system cannot lock the file (a file
  // system without locks) the turn is given unheld, and `notices` is told
  // so; it is told too that the run waits (unless `wait` told it already),
  // and what it could not clear.
  bool take(Wait& wait, std::FILE* notices);
  bool take(int waitSeconds, std::FILE* notices) {
    Wait wait(waitSeconds);
    return take(wait, notices);
  }
  // Whether the turn is held: without it nothing recorded is anyone's
  // leftover, as other runs may be writing.
  bool held() const { return held_; }
  // What the record held when the turn was taken (empty without the
  // turn), or what was recorded since.
  const std::vector<Entry>& recorded() const { return entries_; }
  // Whether the folder's file system keeps Unix permissions
  // (file_status.h), as the lock file held or a file made to ask tells
  // (see above); true (the careful answer) without the turn or when it
  // cannot be told.
  bool keepsPermissions();
  // Records `entries` in place of what the file held; false with error()
  // set. Without the turn held nothing is written (the record is the
  // holder's) and it is true.
  bool record(const std::vector<Entry>& entries);
  // Whether record() found the lock file held removed. A holder removes
  // its file only once it records nothing, so a run whose first record
  // finds that (a holder killed as it removed it, the removal seen late
  // on the kernel's SMB client, which showed the file from its cache) has
  // nothing in it to keep, and may take the turn anew.
  bool lost() const { return lost_; }
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
  // What one try of the lock found: held by this run; held by another;
  // locked but gone from the name; not to be had on this file system; a
  // lock that failed.
  enum class Attempt { kHeld, kTaken, kStale, kNoLocks, kFailed };
  // How holding a turn just locked went: held; refused (error() set); or
  // its record refused to be read as a lock another run holds (the kernel's
  // SMB client), the turn let go to be waited for again.
  enum class Hold { kHeld, kRefused, kUnreadable };

  bool refuse(const std::string& cause);
  // Opens the lock file for writing once it is seen to be one (none there:
  // makes it); where a file that is there cannot be opened for writing (a
  // desktop's SMB view: not supported), for reading, and its holder
  // records through new files (replaceWith). A file being removed is
  // waited for until `wait` is over. false with error() set.
  bool openLockFile(const Wait& wait);
  // How a lock file being removed showed: seen with no name left, seen
  // but not to be opened, or not seen where none could be made.
  enum class Removal { kNameless, kNotOpened, kNotMade };
  // Why the lock file could not be had while it was being removed, as it
  // showed, the open or make having failed with `cause`, after a wait of
  // `seconds` for the turn in all.
  std::string beingRemoved(Removal removing, int cause, int seconds) const;
  // Looks at what stands at the lock's name without reading or writing
  // it; false with error() set, true with `*none` when nothing is there.
  bool lookAtLockFile(struct stat* seen, bool* none);
  // A regular file of the user's with one name, which the record may be
  // written into.
  bool isLockFile(const struct stat& info) const;
  // Whether the lock file is open to the user alone, as far as its file
  // system keeps permissions; false with error() set.
  bool closedToOthers();
  // What the folder's file system does with permissions, asked once a
  // turn: of the lock file itself where it is closed to others, else of
  // a file this run made (the lock file, or probePermissions'), unless
  // other runs took the lock file as it shows (takenByOthers); the cause
  // in permissionsCause_ when it is unknown.
  Permissions permissions();
  Permissions probePermissions();
  // Whether other runs were seen to take their turns on the lock file
  // held (its record changed while this run was refused, on the kernel's
  // SMB client) and only its owner may write it: they took it as it
  // shows, and so does this run, without asking again.
  bool takenByOthers() const;
  // Lets the turn just taken go again; false.
  bool letGo();
  // Closes the lock file, if open (a lock held goes with it).
  void closeLockFile();
  // Whether the open lock file is the one at the lock's name.
  bool atName() const;
  Attempt tryLock();
  // Whether the folder is on the kernel's SMB client, asked once.
  bool onKernelSmb();
  // Notes a refusal with `cause`, and on the kernel's SMB client whether
  // the lock file changed since the last one (another run took a turn).
  void noteRefusal(int cause);
  // Pauses before the next try, letting go of the lock file for the
  // moment waiting runs let it go where they must (see above).
  void pauseWaiting(const Wait& wait);
  // Why the wait is over, `last` being how the last try went.
  std::string waitedOut(Attempt last, const Wait& wait) const;
  // Holds the turn just locked once its record is read; the turn is let
  // go when the record cannot be read.
  Hold holdTurn();
  // Says `text` on notices_, as pahost's; that the run waits, at most
  // `waitSeconds` more; that it cannot lock.
  void say(const std::string& text) const;
  void sayWaiting(int waitSeconds) const;
  void sayNoLocks(int cause) const;
  // Reads the record into entries_, again for a short while where the
  // read is refused (EACCES: the kernel's SMB client refuses it while
  // another run's lock request reaches the server); false with errno set
  // when it cannot be read.
  bool readRecord();
  // Writes `text` as the record into the open lock file, again for a
  // short while where the write is refused (as readRecord); false with
  // errno set.
  bool writeInPlace(const std::string& text);
  // Puts in place of the lock file held a new one this run makes, locked
  // and holding `text`; false with error() set.
  bool replaceWith(const std::string& text);
  // Whether the file seen at the lock's name and kFreshTail as `seen`
  // holds nothing, or a record as pahost writes it: what a holder killed
  // as it made it may have left.
  bool heldNothingElse(const struct stat& seen) const;
  // Makes the file at the lock's name and kFreshTail, open to the user
  // alone, once clearFresh() cleared the name, or a file there being
  // removed went. -1 with errno set (EEXIST: something else stands there,
  // or is still being removed).
  int makeFresh();
  // Whether nothing with a name is seen at the lock's name and kFreshTail
  // (a file being removed, where none can be made).
  bool freshBeingRemoved() const;
  // Removes the file a holder killed before it renamed or removed it left
  // at that name; true when nothing stands there now, false with errno set
  // (EEXIST: something that is no such file stands there).
  bool clearFresh();
  // What a message adds where making it failed with `cause`: EEXIST,
  // something else stands there.
  std::string freshInTheWay(int cause) const;

  int folderFd_ = -1;
  std::string folder_;
  std::string lockName_;
  std::string lockPath_;
  std::string freshName_;  // where a new lock file, or one made to ask, is made
  std::string freshPath_;
  int lockFd_ = -1;
  struct stat lockFile_ = {};  // the open lock file, as opened
  bool made_ = false;          // whether this run made it
  bool writesInPlace_ = true;  // false where it must be replaced to record
  bool permissionsAsked_ = false;
  Permissions permissions_ = Permissions::kUnknown;
  std::string permissionsCause_;
  std::FILE* notices_ = nullptr;
  bool typeAsked_ = false;  // whether the file system's type was asked
  bool kernelSmb_ = false;  // the kernel's SMB client, once asked
  std::chrono::milliseconds letGoFor_{0};  // waiting runs' moment to let go, once asked
  int refusedWith_ = 0;                    // the cause of the last refusal
  bool readRefused_ = false;               // ... which was of the record's read
  bool turnSeen_ = false;                  // another run was seen to take a turn
  struct stat turnOn_ = {};                // the lock file it was last seen to take one on
  std::chrono::steady_clock::time_point lastTurn_;  // when one was last seen, or the wait began
  struct stat refusedAt_ = {};                      // the lock file as the last refusal saw it
  bool held_ = false;
  bool lost_ = false;
  // Whether the file, as this run last read or wrote it, records nothing.
  bool clean_ = false;
  std::vector<Entry> entries_;
  std::string error_;
};

#endif  // PAHOST_FOLDER_TURN_H_
