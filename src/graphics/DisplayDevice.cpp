#include "graphics/DisplayDevice.h"

#include <cstdint>

#include "errors/ErrorLogger.h"
#include "graphics/Font.h"
#include "graphics/Surface.h"
#include "platform/Display.h"
#include "platform/PixelSurface.h"
#include "platform/ScreenOverlay.h"
#include "platform/Window.h"

using namespace platform::status;
using platform::failed;
using platform::Status;

namespace {

constexpr int kDisplayCaption = 200;
constexpr int kNoDevice = 201;
constexpr int kNoCooperativeLevel = 202;
constexpr int kNoPrimarySurface = 203;
constexpr int kNoBackBuffer = 204;
constexpr int kNoOffscreenSurface = 205;

// A size too large for 32 bits is no size at all: nothing can be drawn with it.
std::int32_t extent(std::int32_t from, std::int32_t to) {
    const std::int64_t length = static_cast<std::int64_t>(to) - from;
    return length > INT32_MAX ? -1 : static_cast<std::int32_t>(length);
}

platform::PixelRect pixelRect(const Rect& rect) {
    return platform::PixelRect{rect.left, rect.top, extent(rect.left, rect.right), extent(rect.top, rect.bottom)};
}

}  // namespace

DisplayDevice::DisplayDevice() : pOverlay(std::make_unique<platform::ScreenOverlay>()), pWindow(nullptr) {}

DisplayDevice::~DisplayDevice() { releaseInterfaces(); }

int DisplayDevice::start(platform::Window& window, ErrorLogger& logger) {
    pWindow = &window;
    // A window takes one renderer at a time: the old one goes first.
    releaseInterfaces();
    pDisplay = std::make_unique<platform::Display>();
    pDisplay->setOverlay(pOverlay.get());

    // Until the new device exists the log must not name the one released.
    logger.setDisplayInterface("not yet detected");
    Status status = pDisplay->open(window);
    if (failed(status)) {
        logger.reportStatus(kDisplayCaption, kNoDevice, status);
        return 0;
    }
    logger.setDisplayInterface(pDisplay->description().c_str());

    status = pDisplay->bindToWindow();
    if (failed(status)) {
        logger.reportStatus(kDisplayCaption, kNoCooperativeLevel, status);
        return 0;
    }
    status = pDisplay->createPrimary();
    if (failed(status)) {
        logger.reportStatus(kDisplayCaption, kNoPrimarySurface, status);
        return 0;
    }
    status = pDisplay->createBackBuffer();
    if (failed(status)) {
        logger.reportStatus(kDisplayCaption, kNoBackBuffer, status);
        return 0;
    }
    updateWindowRect();
    return 1;
}

void DisplayDevice::releaseInterfaces() { pDisplay.reset(); }

void DisplayDevice::updateWindowRect() {
    if (pWindow == nullptr) return;
    const platform::ScreenRect client = pWindow->clientRect();
    rcWindow = Rect{client.left, client.top, client.right, client.bottom};
}

Status DisplayDevice::cooperativeState() {
    if (!pDisplay) return E_POINTER;
    return pDisplay->cooperativeState();
}

Status DisplayDevice::present() {
    if (!pDisplay) return E_POINTER;
    return pDisplay->present();
}

void DisplayDevice::showAgain() {
    if (pDisplay) pDisplay->showAgain();
}

Status DisplayDevice::restoreAll() {
    if (!pDisplay) return E_POINTER;
    return pDisplay->restoreAll();
}

Status DisplayDevice::resetFont() {
    // Text is drawn with the font handed to each call; no font stays
    // selected anywhere that a deleted one could be left behind.
    if (!pDisplay || pDisplay->backBuffer() == nullptr) return E_POINTER;
    return S_OK;
}

Status DisplayDevice::createSurface(Surface* surface, std::int32_t width, std::int32_t height,
                                    std::uint32_t extraCaps) {
    if (!pDisplay) return E_POINTER;
    if (surface == nullptr) return E_INVALIDARG;
    if ((extraCaps & ~kSystemMemory) != 0) return DDERR_INVALIDCAPS;
    Status status = S_OK;
    std::unique_ptr<platform::PixelSurface> made =
        pDisplay->createSurface(width, height, extraCaps == kSystemMemory, status);
    if (failed(status)) return status;
    surface->adopt(std::move(made));
    return S_OK;
}

int DisplayDevice::createOffscreen(Surface& surface, std::int32_t width, std::int32_t height, const char* bitmapName,
                                   ErrorLogger& logger) {
    Status status = createSurface(&surface, width, height, 0);
    if (failed(status)) status = createSurface(&surface, width, height, kSystemMemory);
    if (failed(status)) {
        logger.reportStatus(kDisplayCaption, kNoOffscreenSurface, status, bitmapName ? bitmapName : "");
        return 0;
    }
    return 1;
}

Status DisplayDevice::blitFast(std::int32_t x, std::int32_t y, Surface* surface, const Rect& source) {
    if (!pDisplay || pDisplay->backBuffer() == nullptr) return E_POINTER;
    if (surface == nullptr || surface->isEmpty()) return E_INVALIDARG;
    return pDisplay->blit(x, y, *surface->platformSurface(), pixelRect(source));
}

Status DisplayDevice::drawText(const Font& font, const char* text, const Rect& rect, ColourRef colour,
                               std::uint32_t format) {
    if (!pDisplay) return E_POINTER;
    const auto red = static_cast<std::uint8_t>(colour & 0xFF);
    const auto green = static_cast<std::uint8_t>((colour >> 8) & 0xFF);
    const auto blue = static_cast<std::uint8_t>((colour >> 16) & 0xFF);
    return pDisplay->drawText(font.face(), text, pixelRect(rect), red, green, blue, (format & kTextCentred) != 0);
}

Status DisplayDevice::measureText(const Font& font, const char* text, std::int32_t& width, std::int32_t& height) {
    width = height = 0;
    if (!pDisplay) return E_POINTER;
    int measuredWidth = 0, measuredHeight = 0;
    const Status status = pDisplay->measureText(font.face(), text, measuredWidth, measuredHeight);
    width = measuredWidth;
    height = measuredHeight;
    return status;
}

bool DisplayDevice::readBackBufferPixel(std::int32_t x, std::int32_t y, std::uint8_t& red, std::uint8_t& green,
                                        std::uint8_t& blue) const {
    red = green = blue = 0;
    if (!pDisplay || pDisplay->backBuffer() == nullptr) return false;
    return pDisplay->backBuffer()->readPixel(x, y, red, green, blue);
}
