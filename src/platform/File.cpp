#include "platform/File.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace platform {
namespace {
long g_writeLimit = -1;
bool g_failCreate = false;
bool g_failRename = false;
}  // namespace

File::~File() { close(); }

bool File::openRead(const char* path) {
    close();
    do {
        fd = ::open(path, O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd >= 0;
}

bool File::create(const char* path) {
    close();
    if (g_failCreate) return false;
    do {
        fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    return fd >= 0;
}

long File::read(void* buffer, std::size_t count) {
    if (fd < 0) return -1;
    ssize_t got;
    do {
        got = ::read(fd, buffer, count);
    } while (got < 0 && errno == EINTR);
    return static_cast<long>(got);
}

long File::write(const void* buffer, std::size_t count) {
    if (fd < 0) return -1;
    std::size_t allowed = count;
    if (g_writeLimit >= 0) {
        if (static_cast<std::size_t>(g_writeLimit) < allowed) allowed = static_cast<std::size_t>(g_writeLimit);
        if (allowed == 0 && count > 0) {
            errno = ENOSPC;
            return -1;
        }
    }
    const char* bytes = static_cast<const char*>(buffer);
    std::size_t done = 0;
    while (done < allowed) {
        const ssize_t put = ::write(fd, bytes + done, allowed - done);
        if (put < 0) {
            if (errno == EINTR) continue;
            break;
        }
        done += static_cast<std::size_t>(put);
    }
    if (g_writeLimit >= 0) g_writeLimit -= static_cast<long>(done);
    if (done == 0 && count > 0) return -1;
    return static_cast<long>(done);
}

bool File::seekRelative(long offset) {
    if (fd < 0) return false;
    return ::lseek(fd, offset, SEEK_CUR) >= 0;
}

bool File::sync() {
    if (fd < 0) return false;
    return ::fsync(fd) == 0;
}

bool File::close() {
    if (fd < 0) return true;
    const int result = ::close(fd);
    fd = -1;
    return result == 0;
}

bool renameFile(const char* from, const char* to) {
    if (g_failRename) return false;
    return std::rename(from, to) == 0;
}

bool removeFile(const char* path) { return ::unlink(path) == 0; }

namespace testing {
void setWriteLimit(long bytes) { g_writeLimit = bytes; }
void failCreate(bool on) { g_failCreate = on; }
void failRename(bool on) { g_failRename = on; }
void clearFileFaults() {
    g_writeLimit = -1;
    g_failCreate = false;
    g_failRename = false;
}
}  // namespace testing

}  // namespace platform
