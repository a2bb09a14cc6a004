#include "platform/RenderedTextCache.h"

#include <SDL.h>

namespace platform {

RenderedTextCache::~RenderedTextCache() {
    for (Entry& entry : entries) SDL_FreeSurface(entry.image);
}

SDL_Surface* RenderedTextCache::find(const std::string& text, std::uint32_t colour) const {
    for (const Entry& entry : entries) {
        if (entry.colour == colour && entry.text == text) return entry.image;
    }
    return nullptr;
}

void RenderedTextCache::add(const std::string& text, std::uint32_t colour, SDL_Surface* image) {
    if (entries.size() >= kCapacity) {
        SDL_FreeSurface(entries.front().image);
        entries.erase(entries.begin());
    }
    try {
        entries.push_back(Entry{text, colour, image});
    } catch (...) {
        // The cache owns its images; one it could not keep is freed here.
        SDL_FreeSurface(image);
        throw;
    }
}

}  // namespace platform
