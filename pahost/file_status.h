// Small checks of the files and folders beside a data file, shared by the
// data file's placement (data_file.h) and the folder's turn
// (folder_turn.h).
#ifndef PAHOST_FILE_STATUS_H_
#define PAHOST_FILE_STATUS_H_

#include <sys/stat.h>
#include <sys/types.h>

// The user pahost runs as (its effective user id, asked of the system
// once).
uid_t runningUser();

// Whether `a` and `b`, as the system described them, are one file.
bool isSameFile(const struct stat& a, const struct stat& b);

// Whether the file system that holds the open file `fd` of the user's,
// which the system describes as `seen`, keeps Unix permissions. USB
// sticks (FAT, exFAT), Windows and NAS shares and Windows drives seen from
// WSL show every file with fixed permissions, and refuse a chmod there
// (EPERM, or as not supported) or ignore it; nothing that permissions
// guard can be had there.
// Told by turning the owner's execute bit, which nothing of pahost's
// depends on, and turning it back: true when the turn took effect, and
// when it failed for another cause (the system cannot tell: taken as
// keeping them, the careful answer).
bool keepsPermissions(int fd, const struct stat& seen);

#endif  // PAHOST_FILE_STATUS_H_
