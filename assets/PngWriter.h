#pragma once
#include <string>
#include <vector>

// An 8-bit RGBA PNG written through libpng at its best compression: the
// desktop's icon theme and the software centre's screenshots take PNGs.
// rgba holds width * height pixels, row by row from the top. False when
// the size does not match or the file could not be written completely;
// no half-written file is left behind.
namespace files {

bool writePng(int width, int height, const std::vector<unsigned char>& rgba, const std::string& path);

}  // namespace files
