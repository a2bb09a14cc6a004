#include "TextPainter.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <utility>
#include <vector>

TextPainter::TextPainter(std::string path) : path_(std::move(path)), good_(true) {}

TextPainter::~TextPainter() {
    for (auto& entry : fonts_) TTF_CloseFont(entry.second);
}

TTF_Font* TextPainter::font(int size) {
    auto found = fonts_.find(size);
    if (found != fonts_.end()) return found->second;
    TTF_Font* opened = TTF_OpenFont(path_.c_str(), size);
    if (!opened) {
        good_ = false;
        return nullptr;
    }
    // Light hinting keeps the curves of large display text round.
    TTF_SetFontHinting(opened, TTF_HINTING_LIGHT);
    fonts_[size] = opened;
    return opened;
}

GlyphMask TextPainter::render(const std::string& text, int size) {
    TTF_Font* f = text.empty() ? nullptr : font(size);
    if (!f) return GlyphMask();
    const SDL_Colour white{255, 255, 255, 255};
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(f, text.c_str(), white);
    if (!rendered) {
        good_ = false;
        return GlyphMask();
    }
    SDL_Surface* pixels = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(rendered);
    if (!pixels) {
        good_ = false;
        return GlyphMask();
    }
    std::vector<double> coverage(static_cast<std::size_t>(pixels->w) * pixels->h);
    SDL_LockSurface(pixels);
    const auto* bytes = static_cast<const unsigned char*>(pixels->pixels);
    for (int y = 0; y < pixels->h; ++y) {
        for (int x = 0; x < pixels->w; ++x) {
            coverage[static_cast<std::size_t>(y) * pixels->w + x] = bytes[y * pixels->pitch + x * 4 + 3] / 255.0;
        }
    }
    SDL_UnlockSurface(pixels);
    GlyphMask mask(pixels->w, pixels->h, std::move(coverage));
    SDL_FreeSurface(pixels);
    return mask;
}
