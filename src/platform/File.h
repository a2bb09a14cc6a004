#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// A plain file handle over the POSIX calls, closed with its object. Every
// call that fails keeps the system's words for why in failure().
class File {
public:
    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Opens an existing regular file for reading; a folder, a pipe or a
    // device of that name is refused without blocking on it.
    bool openRead(const char* path);
    // Creates the file, or empties an existing one, for writing.
    bool create(const char* path);
    // Creates a file that must not exist yet and is never reached through
    // a link: nobody else's file can be written by mistake.
    bool createNew(const char* path);
    // Opens an existing file for writing over its bytes, without emptying it.
    bool openRewrite(const char* path);
    bool isOpen() const { return fd >= 0; }

    // Bytes actually moved; short or -1 on failure, 0 at the end of a file.
    long read(void* buffer, std::size_t count);
    long write(const void* buffer, std::size_t count);
    bool seekRelative(long offset);
    bool resize(std::size_t size);
    bool setPermissions(unsigned mode);
    // Pushes the written bytes to the disk, so a crash right after keeps them.
    bool sync();
    bool close();

    // The reason of the last failed call, empty when none failed.
    const std::string& failure() const { return lastFailure; }
    // The system's error number of the last failed call, 0 when none failed.
    int failureCode() const { return lastCode; }
    // The last failure was that there is no such file (or no such folder on
    // the way to it).
    bool notFound() const;

private:
    bool openWith(const char* path, int flags);
    bool fail(int code);

    int fd = -1;
    int lastCode = 0;
    std::string lastFailure;
};

bool renameFile(const char* from, const char* to);
bool removeFile(const char* path);
// The folder part of a path: "." for a bare name, "/" for a file in the root.
std::string folderOf(const std::string& path);
// Pushes a folder's list of names to the disk, so a file just created or
// renamed in it is still there after a power cut.
bool syncFolder(const std::string& folder);

enum class ReadResult { Read, Missing, Failed };
// The whole of a small file, up to limit bytes (the rest is left unread).
// Missing when there is no such file; Failed, with the reason, when it is
// there but cannot be read.
ReadResult readWholeFile(const std::string& path, std::size_t limit, std::string& bytes, std::string& reason);

namespace testing {
// A disk that fills up: after this many more bytes every write fails.
// A negative limit means no limit.
void setWriteLimit(long bytes);
// Every create and every opening for writing fails, as on a read-only disk.
void failCreate(bool on);
void failRename(bool on);
// Every read fails, as on a disk with a bad sector.
void failRead(bool on);
// The folder synced last, empty before any (cleared with the faults).
const std::string& lastSyncedFolder();
void clearFileFaults();
}  // namespace testing

}  // namespace platform
