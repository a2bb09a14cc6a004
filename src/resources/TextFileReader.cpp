#include "resources/TextFileReader.h"

#include <cstdlib>
#include <limits>

#include "platform/ResourceTable.h"

namespace {

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

bool beginsNumber(unsigned char c) { return isDigit(c) || c == '-'; }

bool continuesNumber(unsigned char c) { return isDigit(c) || c == '-' || c == '.'; }

// An optional minus, then digits up to the first other character: "2.54"
// is 2 and a lone "-" is 0. Absurdly long runs stick at the int limits
// instead of overflowing.
std::int32_t integerOf(const std::string& token) {
    std::size_t i = 0;
    bool negative = false;
    if (i < token.size() && token[i] == '-') {
        negative = true;
        ++i;
    }
    std::int64_t value = 0;
    const std::int64_t limit = static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
    for (; i < token.size() && isDigit(static_cast<unsigned char>(token[i])); ++i) {
        value = value * 10 + (token[i] - '0');
        if (value > limit) value = limit;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) value = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

}  // namespace

TextFileReader::TextFileReader() : hResource(false), pData(nullptr), bText(1), iSize(0), iPos(0) {}

TextFileReader::~TextFileReader() { close(); }

int TextFileReader::openText(const char* name, const char* type) { return open(name, type, 1); }

int TextFileReader::openBinary(const char* name, const char* type) { return open(name, type, 0); }

int TextFileReader::open(const char* name, const char* type, std::int32_t textMode) {
    bText = textMode;
    if (hResource) {
        close();
        iPos = 0;
        iSize = 0;
    }
    platform::ResourceData resource;
    switch (platform::openResource(name, type, resource)) {
        case platform::ResourceResult::NotFound:
            return kNotFound;
        case platform::ResourceResult::NotLoaded:
            return kNotLoaded;
        case platform::ResourceResult::NotLocked:
            return kNotLocked;
        case platform::ResourceResult::Ok:
            break;
    }
    // Our tables are tiny; anything that would not fit the position counter
    // is treated as not loadable rather than read with a wrapped size.
    if (resource.size > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) return kNotLoaded;
    hResource = true;
    pData = resource.data;
    iSize = static_cast<std::int32_t>(resource.size);
    iPos = 0;
    return 0;
}

void TextFileReader::close() {
    hResource = false;
    pData = nullptr;
}

std::string TextFileReader::nextNumberToken() {
    if (pData == nullptr) return "";
    while (iPos < iSize && !beginsNumber(pData[iPos])) ++iPos;
    const std::int32_t start = iPos;
    while (iPos < iSize && continuesNumber(pData[iPos])) ++iPos;
    return std::string(reinterpret_cast<const char*>(pData) + start, static_cast<std::size_t>(iPos - start));
}

std::int32_t TextFileReader::readInt() {
    if (bText) return integerOf(nextNumberToken());
    // Past the end a missing byte counts as zero; nothing beyond the
    // resource is ever touched.
    std::uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8) value |= static_cast<std::uint32_t>(readByte()) << shift;
    return static_cast<std::int32_t>(value);
}

double TextFileReader::readDouble() {
    if (!bText) return -1.0;
    const std::string token = nextNumberToken();
    return std::strtod(token.c_str(), nullptr);
}

std::uint8_t TextFileReader::readByte() {
    if (bText) return static_cast<std::uint8_t>(integerOf(nextNumberToken()) & 0xFF);
    if (pData == nullptr || iPos >= iSize) return 0;
    return pData[iPos++];
}

void TextFileReader::skip(int count) {
    const std::int64_t target = static_cast<std::int64_t>(iPos) + count;
    if (target < 0) {
        iPos = 0;
    } else if (target > iSize) {
        iPos = iSize;
    } else {
        iPos = static_cast<std::int32_t>(target);
    }
}

std::string TextFileReader::readString() {
    std::string text;
    if (pData == nullptr) return text;
    while (iPos < iSize && pData[iPos] != '{') ++iPos;
    if (iPos < iSize) ++iPos;
    while (iPos < iSize && pData[iPos] != '}') {
        const unsigned char c = pData[iPos++];
        if (c == '&') {
            text.push_back('\r');
        } else if (c == '|') {
            text.push_back('\n');
        } else {
            text.push_back(static_cast<char>(c));
        }
    }
    return text;
}
