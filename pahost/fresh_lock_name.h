// FreshLockName: the second name of a folder's lock file (folder_turn.h),
// the lock file's own and ".new". Only the holder of the turn makes a file
// there: a new lock file it renames over the one it holds (where that one
// cannot be written in place), or a file it makes to ask the file system
// what it does with permissions and removes at once. What stands there
// when a holder needs the name is therefore what a holder killed meanwhile
// left, a file of the user's holding nothing or a record as pahost writes
// it, which goes; anything else there is left as it is, and told. A file
// there being removed (seen with no name left, or not seen where none can
// be made) is waited for, within the run's deadline.
#ifndef PAHOST_FRESH_LOCK_NAME_H_
#define PAHOST_FRESH_LOCK_NAME_H_

#include <string>

#include "pahost/deadline.h"

class FreshLockName {
 public:
  // The name `name` in the folder open as `folderFd` (the caller keeps it
  // open), `path` its path, for messages.
  FreshLockName(int folderFd, const std::string& name, const std::string& path);

  const std::string& name() const { return name_; }
  const std::string& path() const { return path_; }
  // Makes the file, open to the user alone, once what a killed holder
  // left there went, or a file there being removed went before `deadline`;
  // -1 with errno set (EEXIST: something else stands there, or is still
  // being removed: inTheWay() says which).
  int make(const Deadline& deadline);
  // What a message adds where make() or a rename onto the name failed with
  // `cause`; "" but for EEXIST.
  std::string inTheWay(int cause) const;
  // Removes the file this run made there, let go of (waiting only for its
  // share to let go of the handle: file_status.h); false with errno set.
  bool remove() const;

 private:
  // Removes what a killed holder left there, a removal refused while
  // another program holds it tried again within `deadline`; true when
  // nothing stands there now, false with errno set (EEXIST: something
  // that is no such file stands there).
  bool clear(const Deadline& deadline) const;
  // Whether the file seen there as `seen` holds nothing, or a record.
  bool heldNothingElse(const struct stat& seen) const;

  int folderFd_;
  std::string name_;
  std::string path_;
  // Whether the last make() gave up on a file being removed, and after how
  // long a wait in all.
  bool removing_ = false;
  std::string waited_;
};

#endif  // PAHOST_FRESH_LOCK_NAME_H_
