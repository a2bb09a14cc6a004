#pragma once
#include <cstddef>
#include <cstdint>

namespace platform {

// A plain file handle over the POSIX calls, closed with its object.
class File {
public:
    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool openRead(const char* path);
    // Creates the file, or empties an existing one, for writing.
    bool create(const char* path);
    bool isOpen() const { return fd >= 0; }

    // Bytes actually moved; short or -1 on failure, 0 at the end of a file.
    long read(void* buffer, std::size_t count);
    long write(const void* buffer, std::size_t count);
    bool seekRelative(long offset);
    // Pushes the written bytes to the disk, so a crash right after keeps them.
    bool sync();
    bool close();

private:
    int fd = -1;
};

bool renameFile(const char* from, const char* to);
bool removeFile(const char* path);

namespace testing {
// A disk that fills up: after this many more bytes every write fails.
// A negative limit means no limit.
void setWriteLimit(long bytes);
// Every create fails, as on a read-only directory.
void failCreate(bool on);
void failRename(bool on);
void clearFileFaults();
}  // namespace testing

}  // namespace platform
