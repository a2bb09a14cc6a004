#pragma once
#include <string>

class Canvas;

namespace files {

// An RGBA PNG, for the desktop's icon theme, which takes no BMPs. The
// image data is stored without compression: the icon is small and the
// writer stays a page long.
bool writePng(const Canvas& canvas, const std::string& path);

}  // namespace files
