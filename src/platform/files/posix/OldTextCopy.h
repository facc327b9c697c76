#pragma once

#include <string>

#include "platform/files/posix/FileSystem.h"

namespace zozuz {

// Copies the text of the open file `fd`, reached by the name `target`, to a new file readable by the
// user alone, and flushes the copy and its folder to the disk. The copy lies beside the target as
// ".NAME.zozuz-backup"; when that folder takes no new files, it lies in `spareFolder` (made when
// missing; empty for zozuz/backups in the user's cache folder), named after the target's whole path.
// A name already taken, perhaps by the copy of an earlier save that failed, is never replaced: the
// next free one ("...zozuz-backup-2") is taken. Returns the copy's name, or an empty one with errno
// set.
std::string keepOldText(FileSystem& fs, int fd, const std::string& target, const std::string& spareFolder);

// Writes the copy back over the open file `fd` and cuts the file to the copy's length. Returns false
// with errno set when that failed; the copy is left either way.
bool putOldTextBack(FileSystem& fs, const std::string& copy, int fd);

}  // namespace zozuz
