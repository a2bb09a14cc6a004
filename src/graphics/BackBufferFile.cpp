#include "graphics/BackBufferFile.h"

#include <cstdint>
#include <fstream>
#include <vector>

#include "graphics/DisplayDevice.h"

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

}  // namespace

bool saveBackBuffer(const DisplayDevice& display, const char* path) {
    // The back buffer is always 400 x 400.
    constexpr int kWidth = 400;
    constexpr int kHeight = 400;
    constexpr std::uint32_t kRowBytes = (kWidth * 3 + 3) / 4 * 4;
    constexpr std::uint32_t kHeaderBytes = 14 + 40;
    std::uint8_t red = 0, green = 0, blue = 0;
    if (!display.readBackBufferPixel(0, 0, red, green, blue)) return false;

    std::vector<std::uint8_t> file;
    file.reserve(kHeaderBytes + kRowBytes * kHeight);
    file.push_back('B');
    file.push_back('M');
    put32(file, kHeaderBytes + kRowBytes * kHeight);
    put32(file, 0);
    put32(file, kHeaderBytes);
    put32(file, 40);
    put32(file, kWidth);
    put32(file, kHeight);
    put16(file, 1);
    put16(file, 24);
    put32(file, 0);
    put32(file, kRowBytes * kHeight);
    put32(file, 2835);
    put32(file, 2835);
    put32(file, 0);
    put32(file, 0);
    // Bottom row first, blue green red, each row padded to four bytes.
    for (int y = kHeight - 1; y >= 0; --y) {
        for (int x = 0; x < kWidth; ++x) {
            display.readBackBufferPixel(x, y, red, green, blue);
            file.push_back(blue);
            file.push_back(green);
            file.push_back(red);
        }
        for (std::uint32_t pad = kWidth * 3; pad < kRowBytes; ++pad) file.push_back(0);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
}
