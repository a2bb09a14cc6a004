#pragma once
#include <cstdint>

// Window pixels. A rectangle whose left and top are 0 doubles as a size:
// right is the width, bottom the height. Right and bottom are exclusive.
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
};
