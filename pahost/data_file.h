// DataFilePlacement: puts a newly written data file at its path, whatever
// the path is called, so that a kill or a crash at any moment leaves there
// either the complete older file or the complete new one.
//
// The path must name a regular file or nothing (a link is followed to see
// which): a device, a FIFO or a socket there is left as it is. The writer
// writes the file under the host's own name into a private folder that
// begin() makes beside the target (unique, mode 0700, so no one else can
// plant a file or a link in it). The folder is held open and the writer
// reaches it through that handle, so that someone else who may write into
// the target's folder cannot move it aside and put another in its place. A
// copy of the federal file beside the target goes into it, so the writer
// finds the federal data there whatever the target is called; a federal
// file that is not a plain file (a FIFO would hang the write, a link could
// bring in any file the user may read), or that the target would replace,
// is refused; a copy that is gone by the time the file is put in place
// fails the write (the writer takes a missing federal file for none).
// commit() gives the new file the older file's permissions and group when
// that is the user's own (else 0600: it holds social security numbers),
// forces it to the disk, renames it over the target and forces the folder
// to the disk. Nothing is renamed aside or deleted first: until that
// rename the target is untouched. On a file system that keeps no Unix
// permissions (file_status.h) the folder and the file have those it shows,
// and that is no failure.
//
// The user's runs into one folder take turns (folder_turn.h), waiting a
// bounded time for one another: every wait of begin() (for the turn, a name
// being removed, a turn taken anew, a removal refused while a program holds
// a killed run's file open) draws on one deadline (deadline.h). The
// private folder is recorded in the turn before it is made and identified
// once it is open; it goes at finish() (or when the object goes); the one a
// killed run left, as the turn records it, goes with the next run into the
// same folder, and only that very folder (private_folders.h). A private
// folder that cannot be emptied, removed or looked at stays, and stays
// recorded, so that each later run tries again; finish() tells the caller.
#ifndef PAHOST_DATA_FILE_H_
#define PAHOST_DATA_FILE_H_

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "pahost/deadline.h"
#include "pahost/folder_turn.h"
#include "pahost/private_folders.h"

class DataFilePlacement {
 public:
  // `target` is the path the file goes to, `writtenName` the name the
  // writer gives it in its folder, `federalName` the federal file's name.
  DataFilePlacement(const std::string& target, const std::string& writtenName,
                    const std::string& federalName);
  // Calls finish() when it was not called.
  ~DataFilePlacement();
  DataFilePlacement(const DataFilePlacement&) = delete;
  DataFilePlacement& operator=(const DataFilePlacement&) = delete;

  // How long begin() waits at most for another run's turn in the folder.
  static const int kDefaultTurnWait = 30;  // seconds
  // Before begin(): how long it waits (seconds) and where it says that it
  // waits (nullptr: nowhere, the default).
  void setTurnWait(int seconds, std::FILE* notices);
  // Checks the target, takes the folder's turn, removes what a killed run
  // left and makes the private folder; false with error() set when it
  // cannot be made.
  bool begin();
  // The writer's data folder (after begin()): the private folder, reached
  // through its open handle where the system offers that.
  const std::string& folder() const { return folder_; }
  // The private folder's path beside the target ("" before begin() made
  // it).
  const std::string& privateFolder() const { return scratch_; }
  // The folder a target at `target` is in, where its lock file and private
  // folder go.
  static std::string folderOf(const std::string& target);
  // The name a target at `target` has in that folder.
  static std::string nameOf(const std::string& target);
  // Puts the written file at the target; false with error() set when a
  // step fails: before the rename the target is as it was, after it
  // (inPlace()) the new file is there but may not survive a crash.
  bool commit();
  bool inPlace() const { return inPlace_; }
  // Removes the private folder and ends the turn, once (after commit(), or
  // after a step failed); false with error() set when a private folder of
  // pahost's stays beside the target: this run's own, or one an earlier
  // run left that could not be removed either. Each stays recorded (with
  // the turn held), so that the next run into the folder tries again.
  bool finish();
  // After finish(): the paths of the private folders that stay, this run's
  // own first; empty when none does.
  const std::vector<std::string>& leftBehind() const { return leftBehind_; }
  const std::string& error() const { return error_; }
  // `text` (a cause the writer gave) naming the federal file by its own
  // path rather than by its copy, and the private folder by its path.
  std::string outsideNames(std::string text) const;

 private:
  // false with error() set to `what` `path` and the system's cause.
  bool fail(const std::string& what, const std::string& path);
  // false with error() set to `cause`.
  bool refuse(const std::string& cause);
  // false with error() set when the target exists and is no regular file.
  bool checkTarget();
  bool makePrivateFolder();
  bool holdPrivateFolder();

  // Whether the federal file's copy is still the one copyFederalFile made;
  // false with error() set.
  bool federalCopyStayed();
  // The older file at the target (a link followed), when it and its
  // name are the user's own and it is a regular file.
  bool olderFileOfUser(struct stat* older) const;
  // Gives the written file `fd` what it takes of the older file.
  bool takeOlderAccess(int fd, const std::string& written);
  bool copyFederalFile();
  // Removes the private folder `entry` of an earlier run, as recorded,
  // waiting for one being removed until `deadline`; one that is that
  // folder and stays is kept in earlier_.
  void removeLeftover(const FolderTurn::Entry& entry, const Deadline& deadline);
  // Whether the turn lost at this run's `takes`-th take, as it recorded
  // its private folder (`made`: after it made it), is taken anew; what was
  // made for the last take is let go.
  bool takesAnew(bool made, int takes, const Deadline& deadline);
  // A private folder of pahost's that could not be removed, and why.
  struct Leftover {
    FolderTurn::Entry entry;
    PrivateFolders::Stay why;
  };
  // Records this run's private folder `own` after those earlier runs left
  // that stay; false with the turn's error() set.
  bool recordWithEarlier(const FolderTurn::Entry& own);
  // Records `folders` in the turn's file in place of what it held; false
  // with the turn's error() set.
  bool record(const std::vector<Leftover>& folders);
  // Sets leftBehind_ and error() after the private folders that `stays`,
  // this run's own among the first `own`.
  void tellLeftBehind(const std::vector<Leftover>& stays, std::size_t own);

  std::string target_;
  std::string writtenName_;
  std::string federalName_;
  std::string parent_;   // the target's folder
  std::string name_;     // the target's name in it
  std::string scratch_;  // the private folder's path, "" while there is none
  // The private folder as recorded (its name "" when it is not this run's).
  FolderTurn::Entry own_;
  std::string folder_;   // the writer's path to it
  int parentFd_ = -1;    // the target's folder
  int scratchFd_ = -1;   // the private folder
  int turnWait_ = kDefaultTurnWait;
  std::FILE* notices_ = nullptr;
  std::unique_ptr<FolderTurn> turn_;  // held from begin() on, until finish()
  std::unique_ptr<PrivateFolders> folders_;  // from begin() on
  int federalCopyFd_ = -1;        // the copy of the federal file, once made
  struct stat federalCopy_ = {};  // and what the system told of it
  bool inPlace_ = false;
  bool finished_ = false;
  // Earlier runs' private folders that could not be removed, recorded
  // again with this run's own.
  std::vector<Leftover> earlier_;
  std::vector<std::string> leftBehind_;
  std::string error_;
};

#endif  // PAHOST_DATA_FILE_H_
