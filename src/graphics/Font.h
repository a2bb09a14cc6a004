#pragma once
#include <cstdint>
#include <memory>

namespace platform {
class FontFace;
}

// A bold TrueType font chosen by face name and cell height. When no font
// can be made, text is drawn with the system font instead; nothing fails.
class Font {
public:
    Font();
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    void create(const char* face, std::int32_t height);
    void destroy();
    const platform::FontFace* face() const { return pFace.get(); }

private:
    std::unique_ptr<platform::FontFace> pFace;
};
