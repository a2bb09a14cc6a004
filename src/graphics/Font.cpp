#include "graphics/Font.h"

#include "platform/FontFace.h"

Font::Font() = default;
Font::~Font() = default;
void Font::create(const char*, std::int32_t) {}
void Font::destroy() { pFace.reset(); }
