// The record a folder's lock file holds (folder_turn.h): the private
// folders of pahost's in the folder (private_names.h), one a line, each by
// its name and, once it was made and looked at, by its device and inode
// ("NAME DEVICE INODE"). A line of another shape, or one cut short of its
// line end, names no folder. The record is read and written whole, from
// the file's start.
#ifndef PAHOST_TURN_RECORD_H_
#define PAHOST_TURN_RECORD_H_

#include <sys/types.h>

#include <string>
#include <vector>

// A private folder as the record names it. A name recorded just before
// its folder is made is not identified (a run killed then leaves an empty
// folder).
struct RecordedFolder {
  std::string name;
  bool identified = false;
  dev_t device = 0;
  ino_t inode = 0;
};

// The record's text for `folders`.
std::string recordText(const std::vector<RecordedFolder>& folders);
// The folders the record `text` names.
std::vector<RecordedFolder> recordedFolders(const std::string& text);
// Whether `text` is a record as pahost writes it: whole lines, each naming
// a private folder.
bool isRecordText(const std::string& text);

// Reads the record the open file `fd` holds into `text`, in place of what
// it held; false with errno set when it cannot be read, or is longer than
// any record pahost writes (EFBIG).
bool readRecordText(int fd, std::string* text);
// Writes `text` over the record the open file `fd` holds, then cuts the
// file to its length, so that a kill between the two leaves every name of
// the new record whole (what may follow it is the tail of the old record:
// names a holder recorded as well, a piece of a name naming no folder);
// false with errno set.
bool writeRecordText(int fd, const std::string& text);

#endif  // PAHOST_TURN_RECORD_H_
