#include "graphics/Surface.h"

#include "platform/PixelSurface.h"

Surface::Surface() : bKeyed(0) {}
Surface::~Surface() = default;
void Surface::release() {
    pSurface.reset();
    bKeyed = 0;
}
platform::Status Surface::loadBitmap(const char*, std::int32_t, std::int32_t) { return platform::status::E_POINTER; }
platform::Status Surface::keyColour(ColourRef) { return platform::status::E_POINTER; }
void Surface::adopt(std::unique_ptr<platform::PixelSurface> surface) { pSurface = std::move(surface); }
