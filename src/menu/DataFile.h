#pragma once
#include <cstdint>
#include <string>

#include "platform/File.h"

// The small file wrapper for the high-score file and the error log. In
// binary mode it reads and writes bytes, little-endian 16-bit words and
// zero-terminated strings; in text mode it writes strings only, without
// their zero, and ignores bytes and words.
class DataFile {
public:
    DataFile() = default;
    ~DataFile() { close(); }
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    bool openRead(const char* name);
    // After a failed openRead: true when there is simply no such file.
    bool isMissing() const;
    bool createText(const char* name);
    bool createBinary(const char* name);

    // Past the end of the file a missing byte reads as 0, and a string ends
    // where the file does.
    std::uint8_t readByte();
    std::uint16_t readWord();
    std::string readString();

    void writeByte(std::uint8_t b);
    void writeWord(std::uint16_t w);
    void writeString(const char* s);
    void writeString(const std::string& s) { writeString(s.c_str()); }

    // True once any write came up short: the file on disk is not what was
    // written and must not replace a good one.
    bool writeFailed() const { return bWriteFailed; }
    // True once a read failed for another reason than the end of the file:
    // what was read is not what the file holds.
    bool readFailed() const { return bReadFailed; }
    // The system's words for the last failure.
    const std::string& failure() const { return file.failure(); }
    // Pushes written bytes to the disk and closes; false if either failed.
    bool close();

private:
    void put(const void* bytes, std::size_t count);
    long get(void* bytes, std::size_t count);

    platform::File file;
    std::int32_t textMode = 1;
    bool bWriting = false;
    bool bWriteFailed = false;
    bool bReadFailed = false;
};
