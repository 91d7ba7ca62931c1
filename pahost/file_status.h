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

// Whether a chmod that failed with the system's error `error` was refused
// by a file system that keeps no Unix permissions: EPERM (FAT), EOPNOTSUPP
// (a desktop's SMB view) or ENOSYS (FUSE drivers without chmod).
bool isChmodRefused(int error);

// Whether the file system that holds the open file `fd` of the user's,
// which the system describes as `seen`, keeps Unix permissions that pahost
// can rely on, `wanted` being the permissions pahost gives such a file.
// USB sticks (FAT, exFAT), Windows and NAS shares and Windows drives seen
// from WSL show every file with fixed permissions, and refuse a chmod
// there or ignore it; an SMB client over FUSE takes only the owner's
// execute bit and shows group and other read whatever is asked. Nothing
// that permissions guard can be had there.
// Told by a chmod to `wanted` (when the file shows other permissions) or
// else by turning the owner's execute bit, which nothing of pahost's
// depends on: true when the file then shows what was asked, and when the
// chmod failed for a cause other than a refusal (the system cannot tell:
// taken as keeping them, the careful answer). The file is given back the
// permissions it showed.
bool keepsPermissions(int fd, const struct stat& seen, mode_t wanted);

#endif  // PAHOST_FILE_STATUS_H_
