#include "KeyCheck.h"

#include <vector>

#include "Canvas.h"

namespace keycheck {

bool clean(const Canvas& sheet) {
    const std::vector<unsigned char> rgba = sheet.rgba();
    for (int y = 0; y < sheet.height(); ++y) {
        for (int x = 0; x < sheet.width(); ++x) {
            if (sheet.showsKey(x, y)) continue;
            const std::size_t i = (static_cast<std::size_t>(y) * sheet.width() + x) * 4;
            // The rounded bytes are what the game sees, so test those.
            if (rgba[i + 1] > 200 && rgba[i] < 60 && rgba[i + 2] < 60) return false;
        }
    }
    return true;
}

}  // namespace keycheck
