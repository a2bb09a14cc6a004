#pragma once
#include <cstdint>
#include <string>
#include <vector>

class Canvas;

// The file formats the game loads. Each returns false when the file could
// not be written completely.
namespace files {

// 24-bit BMP with the plain 40-byte header, bottom-up rows padded to four
// bytes: what the game loads its pictures from. Alpha is dropped.
bool writeBmp24(const Canvas& canvas, const std::string& path);

// 32-bit BMP with a 108-byte header and bit masks including alpha, the kind
// SDL reads back with its alpha channel: the window icon and the cursor.
bool writeBmp32(const Canvas& canvas, const std::string& path);

// RIFF WAVE, 22050 Hz mono 16-bit, the 16-byte format chunk followed
// straight away by the data chunk and nothing after it: the game skips the
// first 40 bytes and reads the length from the next four.
bool writeWave(const std::vector<std::int16_t>& samples, const std::string& path);

}  // namespace files
