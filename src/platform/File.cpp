#include "platform/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {
namespace {
long g_writeLimit = -1;
bool g_failCreate = false;
bool g_failRename = false;
bool g_failRead = false;
std::string g_lastSyncedFolder;
}  // namespace

File::~File() { close(); }

bool File::fail(int code) {
    lastCode = code;
    lastFailure = std::strerror(code);
    return false;
}

bool File::notFound() const { return lastCode == ENOENT || lastCode == ENOTDIR; }

bool File::openWith(const char* path, int flags) {
    close();
    do {
        fd = ::open(path, flags | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    return fd >= 0 || fail(errno);
}

bool File::openRead(const char* path) {
    // Not blocking: a pipe of that name would otherwise hang the game
    // until something wrote to it.
    if (!openWith(path, O_RDONLY | O_NONBLOCK)) return false;
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        const int code = errno;
        close();
        return fail(code);
    }
    if (!S_ISREG(info.st_mode)) {
        const bool folder = S_ISDIR(info.st_mode);
        close();
        fail(folder ? EISDIR : EINVAL);
        if (!folder) lastFailure = "Not a regular file";
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return true;
}

bool File::create(const char* path) {
    if (g_failCreate) return fail(EROFS);
    return openWith(path, O_WRONLY | O_CREAT | O_TRUNC);
}

bool File::createNew(const char* path) {
    if (g_failCreate) return fail(EROFS);
    return openWith(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW);
}

bool File::openRewrite(const char* path) {
    if (g_failCreate) return fail(EROFS);
    return openWith(path, O_WRONLY | O_NOFOLLOW);
}

long File::read(void* buffer, std::size_t count) {
    if (fd < 0) return -1;
    if (g_failRead) {
        fail(EIO);
        return -1;
    }
    ssize_t got;
    do {
        got = ::read(fd, buffer, count);
    } while (got < 0 && errno == EINTR);
    if (got < 0) fail(errno);
    return static_cast<long>(got);
}

long File::write(const void* buffer, std::size_t count) {
    if (fd < 0) return -1;
    std::size_t allowed = count;
    if (g_writeLimit >= 0 && static_cast<std::size_t>(g_writeLimit) < allowed) {
        allowed = static_cast<std::size_t>(g_writeLimit);
    }
    const char* bytes = static_cast<const char*>(buffer);
    std::size_t done = 0;
    while (done < allowed) {
        const ssize_t put = ::write(fd, bytes + done, allowed - done);
        if (put < 0) {
            if (errno == EINTR) continue;
            fail(errno);
            break;
        }
        done += static_cast<std::size_t>(put);
    }
    if (g_writeLimit >= 0) g_writeLimit -= static_cast<long>(done);
    if (allowed < count) fail(ENOSPC);
    if (done == 0 && count > 0) return -1;
    return static_cast<long>(done);
}

bool File::seekRelative(long offset) {
    if (fd < 0) return false;
    return ::lseek(fd, offset, SEEK_CUR) >= 0 || fail(errno);
}

bool File::resize(std::size_t size) {
    if (fd < 0) return false;
    return ::ftruncate(fd, static_cast<off_t>(size)) == 0 || fail(errno);
}

bool File::setPermissions(unsigned mode) {
    if (fd < 0) return false;
    return ::fchmod(fd, static_cast<mode_t>(mode)) == 0 || fail(errno);
}

bool File::sync() {
    if (fd < 0) return false;
    return ::fsync(fd) == 0 || fail(errno);
}

bool File::close() {
    if (fd < 0) return true;
    const int result = ::close(fd);
    fd = -1;
    return result == 0 || fail(errno);
}

bool renameFile(const char* from, const char* to) {
    if (g_failRename) {
        errno = EIO;
        return false;
    }
    return std::rename(from, to) == 0;
}

bool removeFile(const char* path) { return ::unlink(path) == 0; }

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool syncFolder(const std::string& folder) {
    int handle;
    do {
        handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (handle < 0 && errno == EINTR);
    if (handle < 0) return false;
    const bool synced = ::fsync(handle) == 0;
    ::close(handle);
    if (synced) g_lastSyncedFolder = folder;
    return synced;
}

ReadResult readWholeFile(const std::string& path, std::size_t limit, std::string& bytes, std::string& reason) {
    bytes.clear();
    File file;
    if (!file.openRead(path.c_str())) {
        if (file.notFound()) return ReadResult::Missing;
        reason = file.failure();
        return ReadResult::Failed;
    }
    char buffer[4096];
    while (bytes.size() < limit) {
        const std::size_t wanted = std::min(sizeof buffer, limit - bytes.size());
        const long got = file.read(buffer, wanted);
        if (got < 0) {
            reason = file.failure();
            bytes.clear();
            return ReadResult::Failed;
        }
        if (got == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return ReadResult::Read;
}

namespace testing {
void setWriteLimit(long bytes) { g_writeLimit = bytes; }
void failCreate(bool on) { g_failCreate = on; }
void failRename(bool on) { g_failRename = on; }
void failRead(bool on) { g_failRead = on; }
const std::string& lastSyncedFolder() { return g_lastSyncedFolder; }
void clearFileFaults() {
    g_lastSyncedFolder.clear();
    g_writeLimit = -1;
    g_failCreate = false;
    g_failRename = false;
    g_failRead = false;
}
}  // namespace testing

}  // namespace platform
