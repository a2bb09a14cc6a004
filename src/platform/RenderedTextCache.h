#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct SDL_Surface;

namespace platform {

// Texts already rendered in one font, by text and colour. The match draws
// its centre number and the menu nine labels into every picture; each of
// them is rendered once and then only copied. The oldest entry makes room
// when the cache is full, so a text that keeps changing cannot fill memory.
class RenderedTextCache {
public:
    static constexpr std::size_t kCapacity = 48;

    RenderedTextCache() = default;
    ~RenderedTextCache();
    RenderedTextCache(const RenderedTextCache&) = delete;
    RenderedTextCache& operator=(const RenderedTextCache&) = delete;

    SDL_Surface* find(const std::string& text, std::uint32_t colour) const;
    // Keeps the surface, which the cache frees from now on.
    void add(const std::string& text, std::uint32_t colour, SDL_Surface* image);
    std::size_t size() const { return entries.size(); }

private:
    struct Entry {
        std::string text;
        std::uint32_t colour;
        SDL_Surface* image;
    };
    std::vector<Entry> entries;
};

}  // namespace platform
