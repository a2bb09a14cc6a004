#pragma once
#include <map>
#include <string>

#include "GlyphMask.h"

typedef struct _TTF_Font TTF_Font;

// One font file opened at the pixel sizes asked for, rendering words into
// coverage masks. Owns its opened sizes; the caller keeps SDL_ttf started
// for the painter's whole life.
class TextPainter {
public:
    explicit TextPainter(std::string path);
    ~TextPainter();
    TextPainter(const TextPainter&) = delete;
    TextPainter& operator=(const TextPainter&) = delete;

    // Anti-aliased text at the given point size; an empty mask when the font
    // cannot be opened or the text is empty (SDL_ttf refuses to render "").
    GlyphMask render(const std::string& text, int size);
    // False once some size could not be opened.
    bool good() const { return good_; }

private:
    TTF_Font* font(int size);

    std::string path_;
    std::map<int, TTF_Font*> fonts_;
    bool good_;
};
