// PrivateFolders: pahost's private folders beside a data file
// (data_file.h), by name, and their removal: a write's own once it is over,
// and those killed runs left, as the folder's turn (folder_turn.h) records
// them (turn_record.h). Only pahost's own files in such a folder are removed, by their
// whole names (the written file, the writer's temporary beside it and the
// federal file's copy), each a regular file of the user's, and the folder
// only when that empties it: nothing else there is ever removed.
#ifndef PAHOST_PRIVATE_FOLDERS_H_
#define PAHOST_PRIVATE_FOLDERS_H_

#include <functional>
#include <string>

#include "pahost/deadline.h"
#include "pahost/turn_record.h"

class PrivateFolders {
 public:
  // Why a private folder stays: the cause in words, and whether the folder
  // there is not known to be the one pahost made (another folder of the
  // user's may stand at its name), which pahost leaves alone.
  struct Stay {
    std::string cause;
    bool unknown = false;
  };

  // `folderFd` is the open folder the private folders are in (the caller
  // keeps it open); `writtenName` and `federalName` name the files a write
  // puts into a private folder.
  PrivateFolders(int folderFd, const std::string& writtenName, const std::string& federalName);

  // Removes what a write left in its private folder `name`, open as `fd`,
  // then the folder; false with `*why` set when the folder stays (told
  // once for the folder, whatever number of its files stay). A removal
  // refused while a program holds a file open (file_status.h) is tried
  // again within `deadline`, and past it the file stays. A folder someone
  // moved away from its name is gone as far as the target's folder goes:
  // what has its name now is left alone.
  bool removeOfWrite(int fd, const std::string& name, const Deadline& deadline, Stay* why) const;
  // Removes the folder `name`, which holds nothing of pahost's (its name
  // was recorded before it was made), while it is empty; false with
  // `*why` set when it stays.
  bool removeEmpty(const std::string& name, Stay* why) const;
  // Removes the private folder `entry` an earlier run left; false with
  // `*why` set when a folder of the user's stays at its name (told, and
  // recorded again, so that no folder holding what a write left is
  // forgotten). Anything else at its name is not pahost's, and true. The
  // folder is that one when it has the inode recorded (its device number
  // may change when its file system is mounted again). `namesTell` says
  // whether the folders' file system keeps no permissions, where inode
  // numbers do not last either; it is asked only of a folder with another
  // inode. A folder being removed (file_status.h), and a file in it whose
  // removal is refused while a program holds it open, is waited for until
  // `deadline`.
  bool removeLeftover(const RecordedFolder& entry, const std::function<bool()>& namesTell, const Deadline& deadline,
                      Stay* why) const;

 private:
  bool isFileOfWrite(const std::string& entry) const;

  int folderFd_;
  std::string writtenName_;
  std::string federalName_;
};

#endif  // PAHOST_PRIVATE_FOLDERS_H_
