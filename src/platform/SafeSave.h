#pragma once
#include <string>

namespace platform {

// The one careful way a player's file is written (the table of best
// results, the settings, replays). The bytes go to a new file with a name of
// its own beside the real one, created so that it can never be a leftover
// link or another game's half-written file; it is synced, given the old
// file's permissions and renamed over the old file, and the folder is synced
// so that the rename too survives a power cut. At every moment the disk
// holds the whole old file or the whole new one.
//
// A path that is a symbolic link is written through to the file it names:
// the new file goes beside that one and the link stays a link. A folder in
// which we may not create files, holding a file we may write, gets the file
// rewritten in place (and put back as it was if that fails half way).
//
// False, with the system's reason, when nothing was replaced: the old file,
// if there was one, is then byte for byte as it was. The faults of
// platform::testing in File.h (a full disk, a read-only disk, a failing
// rename) reach this too.
bool saveFileSafely(const std::string& path, const std::string& bytes, std::string& reason);

}  // namespace platform
