// DataFilePlacement: puts a newly written data file at its path, whatever
// the path is called, so that a kill or a crash at any moment leaves there
// either the complete older file or the complete new one.
//
// The writer writes the file under the host's own name into a private
// folder that begin() makes beside the target (unique, mode 0700, so no one
// else can plant a file or a link in it). The folder is held open and the
// writer reaches it through that handle, so that someone else who may write
// into the target's folder cannot move it aside and put another in its
// place. A copy of the federal file beside the target goes into it, so the
// writer finds the federal data there whatever the target is called; a
// federal file that is not a plain file (a FIFO would hang the write), or
// that the target would replace, is refused. commit() gives the new file
// the older file's permissions when that is the user's own (else 0600: it
// holds social security numbers), forces it to the disk, renames it over the target and
// forces the folder to the disk. Nothing is renamed aside or deleted first:
// until that rename the target is untouched. The private folder goes when
// the object does; one left by a killed run is removed by the next run into
// the same folder. Runs into one folder take turns (a lock on the folder).
#ifndef PAHOST_DATA_FILE_H_
#define PAHOST_DATA_FILE_H_

#include <sys/types.h>

#include <string>

class DataFilePlacement {
 public:
  // `target` is the path the file goes to, `writtenName` the name the
  // writer gives it in its folder, `federalName` the federal file's name.
  DataFilePlacement(const std::string& target, const std::string& writtenName,
                    const std::string& federalName);
  ~DataFilePlacement();
  DataFilePlacement(const DataFilePlacement&) = delete;
  DataFilePlacement& operator=(const DataFilePlacement&) = delete;

  // Takes the folder's lock, removes what killed runs left and makes the
  // private folder; false with error() set when it cannot be made.
  bool begin();
  // The writer's data folder (after begin()): the private folder, reached
  // through its open handle where the system offers that.
  const std::string& folder() const { return folder_; }
  // Puts the written file at the target; false with error() set when a
  // step fails (before the rename, the target is as it was).
  bool commit();
  const std::string& error() const { return error_; }
  // `text` (a cause the writer gave) naming the federal file by its own
  // path rather than by its copy, and the private folder by its path.
  std::string outsideNames(std::string text) const;

 private:
  // false with error() set to `what` `path` and the system's cause.
  bool fail(const std::string& what, const std::string& path);
  // false with error() set to `cause`.
  bool refuse(const std::string& cause);
  bool holdPrivateFolder();
  mode_t olderMode() const;
  bool copyFederalFile();
  // Removes what a write leaves in the open folder `fd`, then the folder
  // `name` of the target's folder when that empties it.
  void removeFolderOfWrite(int fd, const std::string& name);
  void removeLeftovers();

  std::string target_;
  std::string writtenName_;
  std::string federalName_;
  std::string parent_;   // the target's folder
  std::string name_;     // the target's name in it
  std::string scratch_;  // the private folder's path, "" while there is none
  std::string folder_;   // the writer's path to it
  int parentFd_ = -1;    // the target's folder, locked while open
  int scratchFd_ = -1;   // the private folder
  std::string error_;
};

#endif  // PAHOST_DATA_FILE_H_
