// FolderTurn: the turn of one user's runs of pahost in one folder, so that
// a run can tell what a killed run of that user left there from what
// another run is still writing, and from anything else.
//
// The turn is a lock on a file of the user's own in the folder (mode 0600,
// named after the user's id): no one else can open it, so no other user
// can hold the turn nor keep the user's runs waiting. The file also records
// the name of the private folder of the run that holds the turn; a name
// found there when the turn is taken is that of a run that ended without
// removing its folder (killed), since a running one would still hold the
// turn. take() waits a bounded time for a run that holds it (a run stopped
// with Ctrl-Z holds it until it goes on) and says on `notices` that it
// waits. The file goes when the object does.
#ifndef PAHOST_FOLDER_TURN_H_
#define PAHOST_FOLDER_TURN_H_

#include <cstdio>
#include <string>

class FolderTurn {
 public:
  // `folderFd` is the folder, open; the object keeps a handle of its own.
  // `folder` is its path, for messages.
  FolderTurn(int folderFd, const std::string& folder);
  ~FolderTurn();
  FolderTurn(const FolderTurn&) = delete;
  FolderTurn& operator=(const FolderTurn&) = delete;

  // Takes the turn, waiting at most `waitSeconds` for a run that holds it;
  // false with error() set when the lock file cannot be used or the wait
  // ends first. A file system without locks gives the turn unheld.
  bool take(int waitSeconds, std::FILE* notices);
  // Whether the turn is held: without it nothing recorded is anyone's
  // leftover, as other runs may be writing.
  bool held() const { return held_; }
  // The private folder's name recorded by the last run that held the
  // turn; "" for none.
  std::string recorded() const;
  // Records `name` as this run's private folder, before it is made; false
  // with errno set.
  bool record(const std::string& name);
  const std::string& error() const { return error_; }

 private:
  bool refuse(const std::string& cause);
  // Opens (or makes) the lock file and checks that it is the user's own.
  bool openLockFile();

  int folderFd_ = -1;
  std::string folder_;
  std::string lockName_;
  std::string lockPath_;
  int lockFd_ = -1;
  bool held_ = false;
  std::string error_;
};

#endif  // PAHOST_FOLDER_TURN_H_
