#include "settings/DataFolders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/SafeSave.h"

namespace dataFolders {
namespace {

const char kHighScoreName[] = "Quadrill.dat";
const char kLogName[] = "logError.txt";

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string homeDir() {
    const std::string home = variable("HOME");
    if (!home.empty()) return home;
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir ? user->pw_dir : "";
}

// $xdgVariable/quadrill, or ~/fallback/quadrill when the variable is no
// use; an override variable, when set, names the folder itself.
std::string folder(const char* overrideVariable, const char* xdgVariable, const char* fallback) {
    const std::string chosen = variable(overrideVariable);
    if (!chosen.empty()) return chosen;
    const std::string xdg = variable(xdgVariable);
    if (!xdg.empty() && xdg[0] == '/') return xdg + "/quadrill";
    const std::string home = homeDir();
    if (home.empty()) return ".";
    return home + "/" + fallback + "/quadrill";
}

bool isFolder(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::string dataDir() { return folder("QUADRILL_DATA_DIR", "XDG_DATA_HOME", ".local/share"); }

std::string stateDir() { return folder("QUADRILL_DATA_DIR", "XDG_STATE_HOME", ".local/state"); }

std::string configDir() { return folder("QUADRILL_CONFIG_DIR", "XDG_CONFIG_HOME", ".config"); }

std::string highScorePath() {
    const std::string inDataFolder = dataDir() + "/" + kHighScoreName;
    struct stat info;
    if (!variable("QUADRILL_DATA_DIR").empty() || ::lstat(kHighScoreName, &info) != 0) return inDataFolder;
    std::string why;
    if (S_ISREG(info.st_mode)) return kHighScoreName;
    std::string target;
    if (S_ISLNK(info.st_mode) && platform::findPlayersFile(kHighScoreName, target, why)) return kHighScoreName;
    if (why.empty()) why = "it is not a plain file";
    // Asked for at the start and again at the end: one word is enough.
    static bool told = false;
    if (!told) {
        std::fprintf(stderr, "quadrill: the Quadrill.dat here is not used, as %s; the table is kept in %s\n",
                     why.c_str(), inDataFolder.c_str());
    }
    told = true;
    return inDataFolder;
}

std::string logPath() { return stateDir() + "/" + kLogName; }

bool makeFolders(const std::string& dir, std::string& reason) {
    if (dir.empty()) {
        reason = std::strerror(ENOENT);
        return false;
    }
    std::size_t end = 0;
    while (end != std::string::npos) {
        end = dir.find('/', end + 1);
        const std::string part = dir.substr(0, end);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            reason = part + ": " + std::strerror(errno);
            return false;
        }
    }
    if (!isFolder(dir)) {
        reason = dir + ": " + std::strerror(ENOTDIR);
        return false;
    }
    return true;
}

}  // namespace dataFolders
