#pragma once
#include <string>

namespace platform {

// The one careful way a player's file is written (the table of best
// results, the settings, replays). The bytes go to a new hidden file with a
// name of its own beside the real one, created so that it can never be a
// leftover link or another game's half-written file; it is synced, given
// the old file's permissions and renamed over the old file, and the folder
// is synced so that the rename too survives a power cut. At every moment
// the disk holds the whole old file or the whole new one. Such files left
// by a game killed half way through a save are cleared away by the next
// save in their folder, once they are a minute old.
//
// A path that is a symbolic link is written through only when the player
// owns every link on the way and the file at the end is a regular file the
// player owns (findPlayersFile): a planted link to somebody else's file, or
// one that leads nowhere, is refused. The new file goes beside the one the
// link names and the link stays a link. A folder in which we may not create
// files, holding a file we may write, gets the file rewritten in place (and
// put back as it was if that fails half way).
//
// False, with the system's reason, when nothing was replaced: the old file,
// if there was one, is then byte for byte as it was. The faults of
// platform::testing in File.h (a full disk, a read-only disk, a failing
// rename) reach this too.
bool saveFileSafely(const std::string& path, const std::string& bytes, std::string& reason);

enum class NewFileResult { Saved, NameTaken, Failed };
// Saves a file under a name that nothing has yet, as carefully: the name is
// claimed only with the whole file behind it, and never from another game
// claiming it at the same moment (NameTaken; then nothing was written).
NewFileResult saveNewFileSafely(const std::string& path, const std::string& bytes, std::string& reason);

// The file a path leads to when the player may have it written: the path
// itself when it is no link (whether or not something is there), or else the
// end of a chain of links each owned by the player (the process's user),
// which must be a regular file the player owns. False, with the reason in
// words a player can read, for any other link.
bool findPlayersFile(const std::string& path, std::string& target, std::string& reason);

namespace testing {
// The age past which a save's leftover is cleared away; a minute unless a
// test says otherwise (a negative age puts the minute back).
void setLeftoverAge(long seconds);
}  // namespace testing

}  // namespace platform
