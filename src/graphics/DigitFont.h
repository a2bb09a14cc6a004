#pragma once
#include <cstdint>
#include <memory>

#include "graphics/Rect.h"

class DisplayDevice;
class ErrorLogger;
class Surface;

// The scores' small coloured bitmap digits: a minus sign and ten digits in
// four colour rows of picFont, drawn centred in a rectangle.
class DigitFont {
public:
    DigitFont();
    ~DigitFont();
    DigitFont(const DigitFont&) = delete;
    DigitFont& operator=(const DigitFont&) = delete;

    int load(DisplayDevice& display, ErrorLogger& logger);
    void drawNumber(const char* text, std::int32_t row, const Rect& rect);
    // After a change of display mode: a new glyph surface.
    int recreate(ErrorLogger& logger);
    // After lost surfaces were restored: the glyphs drawn again.
    void reload();

private:
    DisplayDevice* pDisplay;
    std::unique_ptr<Surface> pGlyphs;
    std::int32_t iWidth;
    std::int32_t iHeight;
};
