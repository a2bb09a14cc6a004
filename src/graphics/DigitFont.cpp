#include "graphics/DigitFont.h"

#include "graphics/Surface.h"

DigitFont::DigitFont() : pDisplay(nullptr), iWidth(0), iHeight(0) {}
DigitFont::~DigitFont() = default;
int DigitFont::load(DisplayDevice& display, ErrorLogger&) {
    pDisplay = &display;
    return 0;
}
void DigitFont::drawNumber(const char*, std::int32_t, const Rect&) {}
int DigitFont::recreate(ErrorLogger&) { return 0; }
void DigitFont::reload() {}
