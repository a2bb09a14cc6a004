#include "platform/PixelSurface.h"

#include <SDL.h>

#include <climits>
#include <cstring>
#include <new>

#include "platform/ResourceTable.h"
#include "platform/SurfaceSet.h"

namespace platform {
namespace {

using namespace status;

SDL_Surface* loadBitmapSurface(const char* name) {
    ResourceData resource;
    if (findResource(name, "BITMAP", resource) && resource.size <= static_cast<std::size_t>(INT_MAX)) {
        SDL_RWops* stream = SDL_RWFromConstMem(resource.data, static_cast<int>(resource.size));
        if (stream != nullptr) {
            SDL_Surface* bitmap = SDL_LoadBMP_RW(stream, 1);
            if (bitmap != nullptr) return bitmap;
        }
    }
    return SDL_LoadBMP(name);
}

std::uint32_t rawPixel(const SDL_Surface* surface, int x, int y) {
    const int bytes = surface->format->BytesPerPixel;
    const Uint8* at = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bytes;
    switch (bytes) {
        case 1:
            return *at;
        case 2: {
            Uint16 value;
            std::memcpy(&value, at, sizeof value);
            return value;
        }
        case 3:
            if (SDL_BYTEORDER == SDL_BIG_ENDIAN) return (at[0] << 16) | (at[1] << 8) | at[2];
            return at[0] | (at[1] << 8) | (at[2] << 16);
        default: {
            Uint32 value;
            std::memcpy(&value, at, sizeof value);
            return value;
        }
    }
}

void putRawPixel(SDL_Surface* surface, int x, int y, std::uint32_t value) {
    const int bytes = surface->format->BytesPerPixel;
    Uint8* at = static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * bytes;
    switch (bytes) {
        case 1:
            *at = static_cast<Uint8>(value);
            break;
        case 2: {
            const Uint16 narrow = static_cast<Uint16>(value);
            std::memcpy(at, &narrow, sizeof narrow);
            break;
        }
        case 3:
            for (int i = 0; i < 3; ++i) {
                const int shift = SDL_BYTEORDER == SDL_BIG_ENDIAN ? 16 - 8 * i : 8 * i;
                at[i] = static_cast<Uint8>(value >> shift);
            }
            break;
        default:
            std::memcpy(at, &value, sizeof value);
            break;
    }
}

// Keeps a surface locked while its pixels are touched directly.
class PixelAccess {
public:
    explicit PixelAccess(SDL_Surface* surface) : surface(surface), ok(SDL_LockSurface(surface) == 0) {}
    ~PixelAccess() {
        if (ok) SDL_UnlockSurface(surface);
    }
    PixelAccess(const PixelAccess&) = delete;
    PixelAccess& operator=(const PixelAccess&) = delete;
    bool isOk() const { return ok; }

private:
    SDL_Surface* surface;
    bool ok;
};

}  // namespace

PixelSurface::PixelSurface(SDL_Surface* surface, std::shared_ptr<SurfaceSet> set, bool systemMemory)
    : surface(surface), set(std::move(set)), systemMemory(systemMemory) {
    // Copies from a surface replace what lies under them; only the colour
    // key leaves anything out.
    SDL_SetSurfaceBlendMode(surface, SDL_BLENDMODE_NONE);
    if (this->set) this->set->add(this);
}

std::unique_ptr<PixelSurface> PixelSurface::adopt(SDL_Surface* surface, std::shared_ptr<SurfaceSet> set,
                                                  bool systemMemory) {
    // Out of memory on the way, nothing else would free the SDL surface:
    // it is owned by the new object before the set is joined.
    std::unique_ptr<PixelSurface> made;
    try {
        made.reset(new PixelSurface(surface, nullptr, systemMemory));
    } catch (const std::bad_alloc&) {
        SDL_FreeSurface(surface);
        throw;
    }
    made->set = std::move(set);
    if (made->set) made->set->add(made.get());
    return made;
}

PixelSurface::~PixelSurface() {
    if (set) set->remove(this);
    SDL_FreeSurface(surface);
}

int PixelSurface::width() const { return surface->w; }
int PixelSurface::height() const { return surface->h; }
int PixelSurface::bitsPerPixel() const { return surface->format->BitsPerPixel; }
std::uint32_t PixelSurface::pixelFormat() const { return surface->format->format; }
bool PixelSurface::isLocked() const { return surface->locked != 0; }

void PixelSurface::restore() {
    if (!lost) return;
    lost = false;
    // The memory comes back with whatever it holds: noise, so that a
    // picture nobody refilled is plain to see. Only the colour bits: SDL
    // compares a colour key with the whole pixel, unused bits included.
    PixelAccess access(surface);
    if (!access.isOk()) return;
    const SDL_PixelFormat* format = surface->format;
    const std::uint32_t used = format->Rmask | format->Gmask | format->Bmask | format->Amask;
    for (int y = 0; y < surface->h; ++y) {
        for (int x = 0; x < surface->w; ++x) {
            const auto noise = static_cast<std::uint32_t>((x * 2654435761u) ^ (y * 40503u));
            putRawPixel(surface, x, y, used != 0 ? noise & used : noise);
        }
    }
}

Status PixelSurface::loadBitmap(const char* name, int x, int y) {
    if (lost) return DDERR_SURFACELOST;
    if (name == nullptr) return E_FAIL;
    SDL_Surface* loaded = loadBitmapSurface(name);
    if (loaded == nullptr) return E_FAIL;
    // Converted whole first, so that every bit of each pixel is written,
    // the unused ones as zeros that a colour key can match.
    SDL_Surface* bitmap = SDL_ConvertSurface(loaded, surface->format, 0);
    SDL_FreeSurface(loaded);
    if (bitmap == nullptr) return E_FAIL;
    SDL_SetSurfaceBlendMode(bitmap, SDL_BLENDMODE_NONE);
    SDL_Rect place{x, y, 0, 0};
    const int copied = SDL_BlitSurface(bitmap, nullptr, surface, &place);
    SDL_FreeSurface(bitmap);
    return copied == 0 ? S_OK : E_FAIL;
}

Status PixelSurface::valueOf(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint32_t& value) const {
    value = 0;
    if (lost) return DDERR_SURFACELOST;
    value = SDL_MapRGB(surface->format, red, green, blue);
    return S_OK;
}

Status PixelSurface::setColourKey(std::uint32_t value) {
    if (lost) return DDERR_SURFACELOST;
    return SDL_SetColorKey(surface, SDL_TRUE, value) == 0 ? S_OK : E_FAIL;
}

bool PixelSurface::colourKey(std::uint32_t& value) const {
    Uint32 key = 0;
    const bool keyed = SDL_GetColorKey(surface, &key) == 0;
    value = key;
    return keyed;
}

bool PixelSurface::readPixel(int x, int y, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue) const {
    red = green = blue = 0;
    if (lost || x < 0 || y < 0 || x >= surface->w || y >= surface->h) return false;
    PixelAccess access(surface);
    if (!access.isOk()) return false;
    SDL_GetRGB(rawPixel(surface, x, y), surface->format, &red, &green, &blue);
    return true;
}

bool PixelSurface::writePixel(int x, int y, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    if (lost || x < 0 || y < 0 || x >= surface->w || y >= surface->h) return false;
    PixelAccess access(surface);
    if (!access.isOk()) return false;
    putRawPixel(surface, x, y, SDL_MapRGB(surface->format, red, green, blue));
    return true;
}

Status PixelSurface::lock(LockedPixels& out) {
    out = LockedPixels{};
    if (lost) return DDERR_SURFACELOST;
    if (surface->locked) return DDERR_SURFACEBUSY;
    if (SDL_LockSurface(surface) != 0) return E_FAIL;
    out.pixels = surface->pixels;
    out.pitch = surface->pitch;
    out.bytesPerPixel = surface->format->BytesPerPixel;
    return S_OK;
}

Status PixelSurface::unlock() {
    if (!surface->locked) return DDERR_NOTLOCKED;
    SDL_UnlockSurface(surface);
    return S_OK;
}

}  // namespace platform
