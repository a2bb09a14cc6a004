#pragma once
#include <cstdint>
#include <string>

// Reads the game's embedded tables as a stream of numbers and braced
// strings, in whatever order the loader asks for them; the same reader
// walks a wave resource byte by byte in binary mode.
class TextFileReader {
public:
    // Results of openText and openBinary besides 0.
    static constexpr int kNotFound = 1000;
    static constexpr int kNotLoaded = 1001;
    static constexpr int kNotLocked = 1002;

    TextFileReader();
    ~TextFileReader();
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;

    int openText(const char* name, const char* type);
    int openBinary(const char* name, const char* type);
    void close();

    std::int32_t readInt();
    double readDouble();
    // The next braced string, "&" turned into a carriage return and "|" into
    // a line feed.
    std::string readString();
    std::uint8_t readByte();
    void skip(int count);

    bool isOpen() const { return hResource; }
    // Bytes left before the end; binary callers use it to stay inside.
    std::int32_t remaining() const { return iPos < iSize ? iSize - iPos : 0; }
    // The unread bytes, for a binary caller that copies a block at once.
    const unsigned char* current() const { return pData ? pData + (iPos < iSize ? iPos : iSize) : nullptr; }

private:
    int open(const char* name, const char* type, std::int32_t textMode);
    std::string nextNumberToken();

    bool hResource;
    const unsigned char* pData;
    std::int32_t bText;
    std::int32_t iSize;
    std::int32_t iPos;
};
