#pragma once
#include <string>

// Where the player's files live. The table of best results, the error log
// and the settings go in the usual per-user folders of a Linux desktop, so
// the game keeps them wherever it was started from:
//   data   $XDG_DATA_HOME/quadrill   (~/.local/share/quadrill)  Quadrill.dat
//   state  $XDG_STATE_HOME/quadrill  (~/.local/state/quadrill)  logError.txt
//   config $XDG_CONFIG_HOME/quadrill (~/.config/quadrill)       settings.ini
// QUADRILL_DATA_DIR names one folder for the data and the log, and
// QUADRILL_CONFIG_DIR one for the settings (portable installs and tests).
// An XDG variable that is empty or not an absolute path is ignored. Without
// any home folder the files stay in the working directory.
namespace dataFolders {

std::string dataDir();
std::string stateDir();
std::string configDir();

// A Quadrill.dat in the working directory is the table of players who have
// always kept it there, and stays in use when it is a plain file, or a link
// of the player's own to a file of the player's own; otherwise (a link
// planted in an unpacked archive or a shared folder) the one in dataDir(),
// and why is said once on stderr. QUADRILL_DATA_DIR, being asked for by
// name, comes before both.
std::string highScorePath();
std::string logPath();

// Makes a folder and the ones above it that are missing (only the owner
// may enter the new ones). False, with the reason, when the folder is not
// there afterwards.
bool makeFolders(const std::string& dir, std::string& reason);

}  // namespace dataFolders
