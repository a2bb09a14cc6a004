#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/RenderedTextCache.h"

struct SDL_Surface;
typedef struct _TTF_Font TTF_Font;

namespace platform {

// One of the TrueType faces compiled into the game ("comic sans",
// "arial narrow") at one size, with the texts already rendered in it.
class FontFace {
public:
    // The face used for a name the game does not carry, and for the system font.
    static constexpr const char* kDefaultFace = "arial narrow";
    static constexpr std::int32_t kSystemFontHeight = 16;

    // A positive height is the cell height: the largest size whose line
    // height does not exceed it. A negative one is the character height
    // (the size of the em), and 0 the system font's height. Null when the
    // font cannot be opened.
    static std::unique_ptr<FontFace> open(const char* face, std::int32_t height);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    int lineHeight() const;
    int pointSize() const { return iPointSize; }
    // Width of one line of text and the line's height.
    bool measure(const char* text, int& width, int& height) const;
    // The text anti-aliased in the colour on a transparent ground, owned by
    // the face; null for an empty text or when rendering fails.
    SDL_Surface* rendered(const char* text, std::uint8_t red, std::uint8_t green, std::uint8_t blue) const;
    std::size_t cachedTexts() const { return cache.size(); }

private:
    FontFace(TTF_Font* font, int pointSize);

    TTF_Font* font;
    int iPointSize;
    mutable RenderedTextCache cache;
};

}  // namespace platform
