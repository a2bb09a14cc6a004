#include "graphics/Surface.h"

#include "platform/PixelSurface.h"

using namespace platform::status;

Surface::Surface() : bKeyed(0) {}

Surface::~Surface() = default;

void Surface::release() {
    pSurface.reset();
    bKeyed = 0;
}

platform::Status Surface::loadBitmap(const char* name, std::int32_t x, std::int32_t y) {
    if (!pSurface) return E_POINTER;
    return pSurface->loadBitmap(name, x, y);
}

platform::Status Surface::keyColour(ColourRef colour) {
    if (!pSurface) return E_POINTER;
    // The key is whatever the colour becomes in this surface's own pixel
    // format, so a 16-bit surface's green is left out as surely as a 32-bit one's.
    std::uint32_t value = 0;
    const platform::Status status = pSurface->valueOf(static_cast<std::uint8_t>(colour & 0xFF),
                                                      static_cast<std::uint8_t>((colour >> 8) & 0xFF),
                                                      static_cast<std::uint8_t>((colour >> 16) & 0xFF), value);
    if (platform::failed(status)) return status;
    bKeyed = 1;
    return pSurface->setColourKey(value);
}

void Surface::adopt(std::unique_ptr<platform::PixelSurface> surface) {
    pSurface = std::move(surface);
    // A new platform surface comes without a key.
    bKeyed = 0;
}
