#include "graphics/DigitFont.h"

#include <cstring>

#include "errors/ErrorLogger.h"
#include "graphics/DisplayDevice.h"
#include "graphics/Surface.h"
#include "resources/TextFileReader.h"

namespace {

constexpr std::int32_t kGlyphWidth = 10;
constexpr std::int32_t kGlyphHeight = 14;
const char kBitmapName[] = "picFont";

// Left edge of a character's cell: the minus sign, then "0" to "9".
bool cellOf(char c, std::int32_t& left) {
    if (c == '-') {
        left = 0;
        return true;
    }
    if (c < '0' || c > '9') return false;
    left = kGlyphWidth * (c - '0' + 1);
    return true;
}

}  // namespace

DigitFont::DigitFont() : pDisplay(nullptr), iWidth(0), iHeight(0) {}

DigitFont::~DigitFont() = default;

int DigitFont::load(DisplayDevice& display, ErrorLogger& logger) {
    pDisplay = &display;
    TextFileReader reader;
    const int opened = reader.openText("txtFont", "TextFile");
    if (opened != 0) {
        logger.reportMissingResource("txtFont", opened);
        return 0;
    }
    iWidth = reader.readInt();
    iHeight = reader.readInt();
    reader.close();
    return recreate(logger);
}

int DigitFont::recreate(ErrorLogger& logger) {
    pGlyphs.reset();
    if (pDisplay == nullptr) return 0;
    auto glyphs = std::make_unique<Surface>();
    if (!pDisplay->createOffscreen(*glyphs, iWidth, iHeight, kBitmapName, logger)) return 0;
    pGlyphs = std::move(glyphs);
    reload();
    return 1;
}

void DigitFont::reload() {
    if (!pGlyphs) return;
    pGlyphs->loadBitmap(kBitmapName, 0, 0);
    pGlyphs->keyColour(kKeyGreen);
}

void DigitFont::drawNumber(const char* text, std::int32_t row, const Rect& rect) {
    if (pDisplay == nullptr || !pGlyphs || text == nullptr) return;
    const auto length = static_cast<std::int64_t>(std::strlen(text));
    // 64 bits: a rectangle from a layout table may be anything.
    const std::int64_t half = (static_cast<std::int64_t>(rect.right) - rect.left) / 2;
    const std::int64_t x0 = rect.left + half - 5 * length;
    const std::int64_t top = static_cast<std::int64_t>(kGlyphHeight) * row;
    for (std::int64_t i = 0; i < length; ++i) {
        std::int32_t cellLeft = 0;
        if (!cellOf(text[i], cellLeft)) continue;
        const std::int64_t x = x0 + kGlyphWidth * i;
        // What lies beyond 32 bits is off the back buffer anyway.
        if (x < INT32_MIN || x > INT32_MAX || top < INT32_MIN || top + kGlyphHeight > INT32_MAX) continue;
        const Rect cell{cellLeft, static_cast<std::int32_t>(top), cellLeft + kGlyphWidth,
                        static_cast<std::int32_t>(top + kGlyphHeight)};
        // A glyph the back buffer refuses is simply missing.
        pDisplay->blitFast(static_cast<std::int32_t>(x), rect.top, pGlyphs.get(), cell);
    }
}
