#include "graphics/Font.h"

#include "platform/FontFace.h"

Font::Font() = default;

Font::~Font() = default;

void Font::create(const char* face, std::int32_t height) { pFace = platform::FontFace::open(face, height); }

void Font::destroy() { pFace.reset(); }
