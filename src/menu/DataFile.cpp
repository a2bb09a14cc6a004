#include "menu/DataFile.h"

namespace {
// A name is five letters; a string this long is garbage, and holding on to
// all of it would only let a broken file eat memory.
constexpr std::size_t kLongestString = 4096;
}  // namespace

bool DataFile::openRead(const char* name) {
    close();
    textMode = 0;
    bReadFailed = false;
    return file.openRead(name);
}

bool DataFile::isMissing() const { return file.notFound(); }

long DataFile::get(void* bytes, std::size_t count) {
    const long got = file.read(bytes, count);
    if (got < 0 && file.isOpen()) bReadFailed = true;
    return got;
}

bool DataFile::createText(const char* name) {
    close();
    textMode = 1;
    bWriting = file.create(name);
    return bWriting;
}

bool DataFile::createBinary(const char* name) {
    close();
    textMode = 0;
    bWriting = file.create(name);
    return bWriting;
}

std::uint8_t DataFile::readByte() {
    unsigned char b = 0;
    if (get(&b, 1) != 1) return 0;
    return b;
}

std::uint16_t DataFile::readWord() {
    const std::uint16_t low = readByte();
    const std::uint16_t high = readByte();
    return static_cast<std::uint16_t>(low | (high << 8));
}

std::string DataFile::readString() {
    std::string text;
    if (!file.isOpen()) return text;
    for (;;) {
        unsigned char b = 0;
        if (get(&b, 1) != 1 || b == 0) break;
        if (text.size() < kLongestString) text.push_back(static_cast<char>(b));
    }
    return text;
}

void DataFile::put(const void* bytes, std::size_t count) {
    if (!file.isOpen()) return;
    if (file.write(bytes, count) != static_cast<long>(count)) bWriteFailed = true;
}

void DataFile::writeByte(std::uint8_t b) {
    if (textMode) return;
    put(&b, 1);
}

void DataFile::writeWord(std::uint16_t w) {
    if (textMode) return;
    const unsigned char bytes[2] = {static_cast<unsigned char>(w & 0xFF), static_cast<unsigned char>(w >> 8)};
    put(bytes, 2);
}

void DataFile::writeString(const char* s) {
    if (s == nullptr) s = "";
    std::size_t length = 0;
    while (s[length] != '\0') ++length;
    put(s, textMode ? length : length + 1);
}

bool DataFile::close() {
    if (!file.isOpen()) return true;
    bool ok = true;
    if (bWriting) ok = file.sync();
    ok = file.close() && ok;
    bWriting = false;
    return ok;
}
