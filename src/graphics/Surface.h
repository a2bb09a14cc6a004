#pragma once
#include <cstdint>
#include <memory>

#include "graphics/Colour.h"
#include "platform/Status.h"

namespace platform {
class PixelSurface;
}

// An off-screen picture filled once from a bitmap resource and copied to
// the back buffer piece by piece. A keyed surface leaves out its key colour.
class Surface {
public:
    Surface();
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // Gives up the platform surface; the object stays, empty and unkeyed.
    void release();
    // Draws the named bitmap resource into the surface at (x, y).
    platform::Status loadBitmap(const char* name, std::int32_t x, std::int32_t y);
    // Makes the given colour, as the surface's own pixel format holds it,
    // the transparent colour of blits from this surface.
    platform::Status keyColour(ColourRef colour);

    bool isEmpty() const { return pSurface == nullptr; }
    bool isKeyed() const { return bKeyed != 0; }

    // For the display device, which makes and blits the platform surfaces.
    platform::PixelSurface* platformSurface() const { return pSurface.get(); }
    void adopt(std::unique_ptr<platform::PixelSurface> surface);

private:
    std::unique_ptr<platform::PixelSurface> pSurface;
    std::int32_t bKeyed;
};
