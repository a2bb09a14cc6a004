#include "platform/SafeSave.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/File.h"

namespace platform {
namespace {

// As many links in a row as the kernel itself follows before giving up.
constexpr int kMostLinks = 40;
constexpr int kNameAttempts = 100;

std::string inFolder(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// The file a chain of links finally names, which need not exist yet.
bool followLinks(std::string path, std::string& target, std::string& reason) {
    for (int hop = 0; hop < kMostLinks; ++hop) {
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            target = path;
            return true;
        }
        char buffer[4096];
        const ssize_t length = ::readlink(path.c_str(), buffer, sizeof buffer);
        if (length < 0 || static_cast<std::size_t>(length) == sizeof buffer) {
            reason = std::strerror(length < 0 ? errno : ENAMETOOLONG);
            return false;
        }
        const std::string next(buffer, static_cast<std::size_t>(length));
        path = next[0] == '/' ? next : inFolder(folderOf(path), next);
    }
    reason = std::strerror(ELOOP);
    return false;
}

// Six letters that differ between two games saving at the same moment; the
// exclusive create settles any clash that is left.
std::string uniqueSuffix() {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static unsigned long long counter = 0;
    unsigned long long mix = static_cast<unsigned long long>(
                                 std::chrono::steady_clock::now().time_since_epoch().count()) ^
                             (static_cast<unsigned long long>(::getpid()) << 32) ^ (++counter * 0x9E3779B97F4A7C15ull);
    std::string suffix(6, 'x');
    for (char& letter : suffix) {
        mix ^= mix >> 29;
        mix *= 0xBF58476D1CE4E5B9ull;
        letter = kLetters[mix % 62];
    }
    return suffix;
}

bool createBeside(const std::string& target, File& file, std::string& name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = target + "." + uniqueSuffix();
        if (file.createNew(name.c_str())) return true;
        if (file.failureCode() != EEXIST) return false;
    }
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

bool saveFileSafely(const std::string& path, const std::string& bytes, std::string& reason) {
    std::string target;
    if (!followLinks(path, target, reason)) return false;
    struct stat old;
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        reason = S_ISDIR(old.st_mode) ? std::strerror(EISDIR) : "Not a regular file";
        return false;
    }

    File file;
    std::string temporary;
    if (!createBeside(target, file, temporary)) {
        const int code = file.failureCode();
        if (exists && (code == EACCES || code == EPERM)) {
            return rewriteInPlace(target, static_cast<std::size_t>(old.st_size), bytes, reason);
        }
        reason = file.failure();
        return false;
    }
    const bool written = (!exists || file.setPermissions(old.st_mode & 07777)) && writeAll(file, bytes) &&
                         file.sync();
    if (!file.close() || !written) {
        reason = file.failure();
        removeFile(temporary.c_str());
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
    return true;
}

}  // namespace platform
