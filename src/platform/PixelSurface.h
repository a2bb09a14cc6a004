#pragma once
#include <cstdint>
#include <memory>

#include "platform/Status.h"

struct SDL_Surface;

namespace platform {

class SurfaceSet;

// The memory of a locked surface, valid until unlock.
struct LockedPixels {
    void* pixels = nullptr;
    int pitch = 0;
    int bytesPerPixel = 0;
};

// One picture in the display's pixel format: the back buffer or an
// off-screen surface. Its memory can be lost with the rest of its display's
// surfaces; while lost, anything that needs its pixels answers
// DDERR_SURFACELOST, and a restore gives the memory back without the
// picture that was in it.
class PixelSurface {
public:
    // Takes the SDL surface over and joins the display's set.
    PixelSurface(SDL_Surface* surface, std::shared_ptr<SurfaceSet> set, bool systemMemory);
    // The same, and the SDL surface is freed even when memory runs out.
    static std::unique_ptr<PixelSurface> adopt(SDL_Surface* surface, std::shared_ptr<SurfaceSet> set,
                                               bool systemMemory);
    ~PixelSurface();
    PixelSurface(const PixelSurface&) = delete;
    PixelSurface& operator=(const PixelSurface&) = delete;

    int width() const;
    int height() const;
    int bitsPerPixel() const;
    std::uint32_t pixelFormat() const;
    bool inSystemMemory() const { return systemMemory; }
    bool isLost() const { return lost; }
    bool isLocked() const;
    bool belongsTo(const SurfaceSet& display) const { return set.get() == &display; }

    void lose() { lost = true; }
    void restore();

    // Copies the named bitmap resource, or else a bitmap file of that name
    // in the working directory, to (x, y), converting it to this format.
    Status loadBitmap(const char* name, int x, int y);

    // The bits that a colour takes in this surface's own pixel format.
    Status valueOf(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint32_t& value) const;
    // Pixels holding exactly this value are left out when the surface is
    // copied elsewhere.
    Status setColourKey(std::uint32_t value);
    bool colourKey(std::uint32_t& value) const;

    // The surface's drawing context: one pixel read or written as a colour.
    // False outside the surface or while it is lost.
    bool readPixel(int x, int y, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue) const;
    bool writePixel(int x, int y, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

    Status lock(LockedPixels& out);
    Status unlock();

    // For the rest of the layer, which blits and draws text with SDL.
    SDL_Surface* sdlSurface() const { return surface; }

private:
    SDL_Surface* surface;
    std::shared_ptr<SurfaceSet> set;
    bool systemMemory;
    bool lost = false;
};

}  // namespace platform
