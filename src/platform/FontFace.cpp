#include "platform/FontFace.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <climits>
#include <new>

#include "platform/ResourceTable.h"

namespace platform {
namespace {

// Beyond this a "font" would only be a way to run out of memory.
constexpr int kLargestHeight = 512;

// The game's texts are 8-bit Latin-1; the font renderer reads UTF-8.
std::string utf8FromLatin1(const char* text) {
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p < 0x80) {
            out += static_cast<char>(*p);
        } else {
            out += static_cast<char>(0xC0 | (*p >> 6));
            out += static_cast<char>(0x80 | (*p & 0x3F));
        }
    }
    return out;
}

int clampHeight(std::int32_t height) {
    if (height > kLargestHeight) return kLargestHeight;
    if (height < -kLargestHeight) return -kLargestHeight;
    return static_cast<int>(height);
}

int heightAt(TTF_Font* font, int pointSize) {
    if (TTF_SetFontSize(font, pointSize) != 0) return INT_MAX;
    return TTF_FontHeight(font);
}

// The largest point size whose line height fits the cell; the line grows
// with the size, so a binary search finds it.
int pointSizeForCell(TTF_Font* font, int cellHeight) {
    int low = 1;
    int high = 2 * cellHeight + 2;
    if (heightAt(font, low) > cellHeight) return low;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (heightAt(font, middle) <= cellHeight) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return low;
}

bool findFace(const char* face, ResourceData& data) {
    if (face != nullptr && *face != '\0' && findResource(face, "FONT", data)) return true;
    return findResource(FontFace::kDefaultFace, "FONT", data);
}

}  // namespace

std::unique_ptr<FontFace> FontFace::open(const char* face, std::int32_t height) {
    ResourceData data;
    if (!findFace(face, data) || data.size > static_cast<std::size_t>(INT_MAX)) return nullptr;
    if (TTF_Init() != 0) return nullptr;
    SDL_RWops* stream = SDL_RWFromConstMem(data.data, static_cast<int>(data.size));
    TTF_Font* font = stream ? TTF_OpenFontRW(stream, 1, 12) : nullptr;
    if (font == nullptr) {
        TTF_Quit();
        return nullptr;
    }
    int cell = clampHeight(height);
    if (cell == 0) cell = kSystemFontHeight;
    const int pointSize = cell > 0 ? pointSizeForCell(font, cell) : -cell;
    if (TTF_SetFontSize(font, pointSize) != 0) {
        TTF_CloseFont(font);
        TTF_Quit();
        return nullptr;
    }
    try {
        return std::unique_ptr<FontFace>(new FontFace(font, pointSize));
    } catch (const std::bad_alloc&) {
        TTF_CloseFont(font);
        TTF_Quit();
        throw;
    }
}

FontFace::FontFace(TTF_Font* font, int pointSize) : font(font), iPointSize(pointSize) {}

FontFace::~FontFace() {
    TTF_CloseFont(font);
    TTF_Quit();
}

int FontFace::lineHeight() const { return TTF_FontHeight(font); }

bool FontFace::measure(const char* text, int& width, int& height) const {
    width = 0;
    height = lineHeight();
    if (text == nullptr || *text == '\0') return true;
    int textHeight = 0;
    return TTF_SizeUTF8(font, utf8FromLatin1(text).c_str(), &width, &textHeight) == 0;
}

SDL_Surface* FontFace::rendered(const char* text, std::uint8_t red, std::uint8_t green, std::uint8_t blue) const {
    if (text == nullptr || *text == '\0') return nullptr;
    const std::uint32_t colour = red | (green << 8) | (blue << 16);
    const std::string key(text);
    if (SDL_Surface* image = cache.find(key, colour)) return image;
    const SDL_Color ink{red, green, blue, 255};
    SDL_Surface* image = TTF_RenderUTF8_Blended(font, utf8FromLatin1(text).c_str(), ink);
    if (image == nullptr) return nullptr;
    SDL_SetSurfaceBlendMode(image, SDL_BLENDMODE_BLEND);
    cache.add(key, colour, image);
    return image;
}

}  // namespace platform
