#include "graphics/DisplayDevice.h"

#include "platform/Display.h"

using namespace platform::status;

DisplayDevice::DisplayDevice() : pWindow(nullptr) {}
DisplayDevice::~DisplayDevice() = default;
int DisplayDevice::start(platform::Window& window, ErrorLogger&) {
    pWindow = &window;
    return 0;
}
void DisplayDevice::releaseInterfaces() { pDisplay.reset(); }
void DisplayDevice::updateWindowRect() {}
platform::Status DisplayDevice::cooperativeState() { return E_POINTER; }
platform::Status DisplayDevice::present() { return E_POINTER; }
platform::Status DisplayDevice::restoreAll() { return E_POINTER; }
platform::Status DisplayDevice::resetFont() { return E_POINTER; }
platform::Status DisplayDevice::createSurface(Surface*, std::int32_t, std::int32_t, std::uint32_t) { return E_POINTER; }
int DisplayDevice::createOffscreen(Surface&, std::int32_t, std::int32_t, const char*, ErrorLogger&) { return 0; }
platform::Status DisplayDevice::blitFast(std::int32_t, std::int32_t, Surface*, const Rect&) { return E_POINTER; }
platform::Status DisplayDevice::drawText(const Font&, const char*, const Rect&, ColourRef, std::uint32_t) { return E_POINTER; }
platform::Status DisplayDevice::measureText(const Font&, const char*, std::int32_t& width, std::int32_t& height) {
    width = height = 0;
    return E_POINTER;
}
bool DisplayDevice::readBackBufferPixel(std::int32_t, std::int32_t, std::uint8_t&, std::uint8_t&, std::uint8_t&) const {
    return false;
}
