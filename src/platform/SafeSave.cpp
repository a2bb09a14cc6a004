#include "platform/SafeSave.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>

#include "platform/Browser.h"
#include "platform/File.h"

namespace platform {
namespace {

// As many links in a row as the kernel itself follows before giving up.
constexpr int kMostLinks = 40;
constexpr int kNameAttempts = 100;
// What tells a save's own new file from anything a player keeps: hidden,
// the real file's name, this, and six letters.
constexpr char kSaveMark[] = ".qsave-";
constexpr std::size_t kSuffixLength = 6;
constexpr long kLeftoverAge = 60;
long g_leftoverAge = kLeftoverAge;

std::string inFolder(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isSavesOwnName(const std::string& name) {
    const std::size_t markLength = sizeof kSaveMark - 1;
    if (name.size() < 2 + markLength + kSuffixLength || name[0] != '.') return false;
    const std::size_t mark = name.size() - kSuffixLength - markLength;
    if (name.compare(mark, markLength, kSaveMark) != 0) return false;
    return std::all_of(name.end() - static_cast<long>(kSuffixLength), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// A save cut short by a kill or a power cut leaves its new file behind.
// Ours, a minute old and still not renamed, it is nobody's any more.
void clearLeftovers(const std::string& folder) {
    DIR* list = ::opendir(folder.c_str());
    if (list == nullptr) return;
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(list)) {
        const std::string name = entry->d_name;
        if (!isSavesOwnName(name)) continue;
        const std::string path = inFolder(folder, name);
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) continue;
        if (now - info.st_mtime >= g_leftoverAge) removeFile(path.c_str());
    }
    ::closedir(list);
}

// Six letters that differ between two games saving at the same moment; the
// exclusive create settles any clash that is left.
std::string uniqueSuffix() {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static unsigned long long counter = 0;
    unsigned long long mix = static_cast<unsigned long long>(
                                 std::chrono::steady_clock::now().time_since_epoch().count()) ^
                             (static_cast<unsigned long long>(::getpid()) << 32) ^ (++counter * 0x9E3779B97F4A7C15ull);
    std::string suffix(kSuffixLength, 'x');
    for (char& letter : suffix) {
        mix ^= mix >> 29;
        mix *= 0xBF58476D1CE4E5B9ull;
        letter = kLetters[mix % 62];
    }
    return suffix;
}

bool createBeside(const std::string& target, File& file, std::string& name) {
    name.clear();
    const std::string stem = inFolder(folderOf(target), "." + nameOf(target) + kSaveMark);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = stem + uniqueSuffix();
        if (file.createNew(name.c_str())) return true;
        if (file.failureCode() != EEXIST) break;
    }
    name.clear();
    return false;
}

bool writeAll(File& file, const std::string& bytes) {
    return bytes.empty() || file.write(bytes.data(), bytes.size()) == static_cast<long>(bytes.size());
}

bool overwrite(const std::string& target, const std::string& bytes, File& file) {
    return file.openRewrite(target.c_str()) && writeAll(file, bytes) && file.resize(bytes.size()) && file.sync() &&
           file.close();
}

// Not atomic, so the old bytes are kept at hand and written back if the
// new ones do not all make it.
bool rewriteInPlace(const std::string& target, std::size_t oldSize, const std::string& bytes, std::string& reason) {
    std::string old;
    const ReadResult read = readWholeFile(target, oldSize, old, reason);
    if (read != ReadResult::Read) {
        if (read == ReadResult::Missing) reason = std::strerror(ENOENT);
        return false;
    }
    File file;
    if (overwrite(target, bytes, file)) return true;
    reason = file.failure();
    File restore;
    overwrite(target, old, restore);
    return false;
}

}  // namespace

bool findPlayersFile(const std::string& path, std::string& target, std::string& reason) {
    const uid_t player = ::geteuid();
    std::string at = path;
    for (int hop = 0; hop < kMostLinks; ++hop) {
        struct stat info;
        const bool there = ::lstat(at.c_str(), &info) == 0;
        if (hop == 0 && (!there || !S_ISLNK(info.st_mode))) {
            target = at;
            return true;
        }
        if (!there) {
            reason = "it is a link that leads to no file";
            return false;
        }
        if (!S_ISLNK(info.st_mode)) {
            if (!S_ISREG(info.st_mode)) {
                reason = "it is a link to something that is not a plain file";
            } else if (info.st_uid != player) {
                reason = "it is a link to a file of another user";
            } else {
                target = at;
                return true;
            }
            return false;
        }
        if (info.st_uid != player) {
            reason = "it is a link another user made";
            return false;
        }
        char buffer[4096];
        const ssize_t length = ::readlink(at.c_str(), buffer, sizeof buffer);
        if (length <= 0 || static_cast<std::size_t>(length) == sizeof buffer) {
            reason = std::strerror(length < 0 ? errno : ENAMETOOLONG);
            return false;
        }
        const std::string next(buffer, static_cast<std::size_t>(length));
        at = next[0] == '/' ? next : inFolder(folderOf(at), next);
    }
    reason = std::strerror(ELOOP);
    return false;
}

// The bytes whole and synced in a new file beside target, not yet renamed.
bool writeBeside(const std::string& target, const std::string& bytes, const struct stat* old, std::string& temporary,
                 File& file) {
    if (!createBeside(target, file, temporary)) return false;
    const bool written =
        (old == nullptr || file.setPermissions(old->st_mode & 07777)) && writeAll(file, bytes) && file.sync();
    if (file.close() && written) return true;
    removeFile(temporary.c_str());
    return false;
}

bool saveFileSafely(const std::string& path, const std::string& bytes, std::string& reason) {
    std::string target;
    if (!findPlayersFile(path, target, reason)) return false;
    struct stat old;
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        reason = S_ISDIR(old.st_mode) ? std::strerror(EISDIR) : "Not a regular file";
        return false;
    }

    clearLeftovers(folderOf(target));
    File file;
    std::string temporary;
    if (!writeBeside(target, bytes, exists ? &old : nullptr, temporary, file)) {
        const int code = file.failureCode();
        if (temporary.empty() && exists && (code == EACCES || code == EPERM)) {
            return rewriteInPlace(target, static_cast<std::size_t>(old.st_size), bytes, reason);
        }
        reason = file.failure();
        return false;
    }
    if (!renameFile(temporary.c_str(), target.c_str())) {
        reason = std::strerror(errno);
        removeFile(temporary.c_str());
        return false;
    }
    // The new file is in place whatever this says; a folder that cannot be
    // synced (some file systems refuse) only loses the power-cut guarantee.
    syncFolder(folderOf(target));
    persistSavedFiles();
    return true;
}

NewFileResult saveNewFileSafely(const std::string& path, const std::string& bytes, std::string& reason) {
    const std::string folder = folderOf(path);
    clearLeftovers(folder);
    File file;
    std::string temporary;
    if (!writeBeside(path, bytes, nullptr, temporary, file)) {
        reason = file.failure();
        return NewFileResult::Failed;
    }
    // A second name for the finished file, which the system gives only
    // while nothing has it: two games can never both claim one.
    int code = ::link(temporary.c_str(), path.c_str()) == 0 ? 0 : errno;
    if (code != 0 && code != EEXIST) {
        // File systems without such names (a memory stick's) claim it
        // empty first, then put the whole file in its place.
        File claim;
        if (claim.createNew(path.c_str())) {
            claim.close();
            code = renameFile(temporary.c_str(), path.c_str()) ? 0 : errno;
            if (code != 0) removeFile(path.c_str());
        } else {
            code = claim.failureCode();
        }
    }
    removeFile(temporary.c_str());
    if (code == EEXIST) return NewFileResult::NameTaken;
    if (code != 0) {
        reason = std::strerror(code);
        return NewFileResult::Failed;
    }
    syncFolder(folder);
    persistSavedFiles();
    return NewFileResult::Saved;
}

namespace testing {
void setLeftoverAge(long seconds) { g_leftoverAge = seconds < 0 ? kLeftoverAge : seconds; }
}  // namespace testing

}  // namespace platform
