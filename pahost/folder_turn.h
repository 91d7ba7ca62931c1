// FolderTurn: the turn of one user's runs of pahost in one folder, so that
// a run can tell what a killed run of that user left there from what
// another run is still writing, and from anything else.
//
// The turn is a lock on a file of the user's own in the folder (a regular
// file of one name, mode 0600, named after the user's id): no one else can
// open it, so no other user can hold the turn nor keep the user's runs
// waiting; anything else at that name is refused and left as it is. A run
// holds the turn only while the file it locked is still the one at the
// name: the holder removes the file as it ends, and a run that was waiting
// on it then starts over with the file now there.
//
// The file also records, one a line, the names of the private folders of
// pahost's in the folder: that of the run that holds the turn, and those
// earlier runs ended without removing (killed, or a folder that could not
// be emptied). A name found there when the turn is taken is no running
// run's, since a running one would still hold the turn. take() waits a
// bounded time for a run that holds it (a run stopped with Ctrl-Z holds it
// until it goes on) and says on `notices` that it waits. Only the holder
// writes the record or removes the file, and it removes it only once the
// record names nothing: a folder left behind stays recorded until a later
// run removes it.
#ifndef PAHOST_FOLDER_TURN_H_
#define PAHOST_FOLDER_TURN_H_

#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

class FolderTurn {
 public:
  // `folderFd` is the folder, open; the object keeps a handle of its own.
  // `folder` is its path, for messages.
  FolderTurn(int folderFd, const std::string& folder);
  // Lets the turn go; the holder removes the lock file first when its
  // record names nothing and the file is still the one at the name.
  ~FolderTurn();
  FolderTurn(const FolderTurn&) = delete;
  FolderTurn& operator=(const FolderTurn&) = delete;

  // Takes the turn, waiting at most `waitSeconds` for a run that holds it;
  // false with error() set when the lock file cannot be used or the wait
  // ends first. When the system cannot lock the file (a file system
  // without locks) the turn is given unheld, and `notices` is told so.
  bool take(int waitSeconds, std::FILE* notices);
  // Whether the turn is held: without it nothing recorded is anyone's
  // leftover, as other runs may be writing.
  bool held() const { return held_; }
  // The names the record held when the turn was taken (empty without the
  // turn), or those recorded since.
  const std::vector<std::string>& recorded() const { return names_; }
  // Records `names` in place of what the file held; false with errno set.
  // Without the turn held nothing is written (the record is the holder's)
  // and it is true.
  bool record(const std::vector<std::string>& names);
  const std::string& error() const { return error_; }
  // The user's lock file in `folder` (a path), whether or not it is there.
  static std::string lockFileIn(const std::string& folder);

 private:
  // What one try of the lock found.
  enum class Attempt { kHeld, kTaken, kStale, kNoLocks };

  bool refuse(const std::string& cause);
  // Opens the lock file for writing once it is seen to be one (none there:
  // makes it); false with error() set.
  bool openLockFile();
  // Looks at what stands at the lock's name without reading or writing
  // it; false with error() set, true with `*none` when nothing is there.
  bool lookAtLockFile(struct stat* seen, bool* none);
  bool isLockFile(const struct stat& info) const;
  // Whether the open file `fd` is the one at the lock's name.
  bool atName(int fd) const;
  Attempt tryLock();
  // Says on `notices` that the run waits, or that it cannot lock.
  void sayWaiting(std::FILE* notices, int waitSeconds) const;
  void sayNoLocks(std::FILE* notices, int cause) const;
  // Reads the record into names_; false when it cannot be read.
  bool readRecord();

  int folderFd_ = -1;
  std::string folder_;
  std::string lockName_;
  std::string lockPath_;
  int lockFd_ = -1;
  bool held_ = false;
  // Whether the file, as this run last read or wrote it, records nothing.
  bool clean_ = false;
  std::vector<std::string> names_;
  std::string error_;
};

#endif  // PAHOST_FOLDER_TURN_H_
