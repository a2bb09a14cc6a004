#include "platform/Display.h"

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

#include "platform/Browser.h"
#include "platform/DisplayFaults.h"
#include "platform/FontFace.h"
#include "platform/PixelSurface.h"
#include "platform/ScreenOverlay.h"
#include "platform/SurfaceSet.h"
#include "platform/Ticks.h"
#include "platform/Window.h"

namespace platform {
namespace {

using namespace status;
using testing::DisplayStep;

// The bars beside the picture in a window that is not square: dark, not
// black, so a window that shows nothing yet is told from one with bars.
constexpr Uint8 kBarShade = 16;

// Without a graphics device every OpenGL renderer is a software rasterizer
// (Mesa's llvmpipe under Xvfb, in a container or a plain virtual machine),
// which loads a compiler and builds its shaders before the first picture:
// two thirds of the start. SDL's own software renderer draws the same
// pixels at once. A device node is how the drivers reach a real device.
bool hasGraphicsDevice() {
#if defined(__linux__)
    return access("/dev/dri", F_OK) == 0 || access("/dev/nvidia0", F_OK) == 0;
#else
    return true;
#endif
}

bool fitsWithin(std::int64_t start, std::int64_t length, std::int64_t limit) {
    return start >= 0 && length > 0 && start + length <= limit;
}

}  // namespace

Display::Display() : surfaces(std::make_shared<SurfaceSet>()) {}

Display::~Display() {
    back.reset();
    systemFontFace.reset();
    if (enlarged != nullptr) SDL_DestroyTexture(enlarged);
    if (texture != nullptr) SDL_DestroyTexture(texture);
    if (renderer != nullptr) SDL_DestroyRenderer(renderer);
}

Status Display::open(Window& window) {
    const Status fault = displayfaults::stepStatus(DisplayStep::Device);
    if (failed(fault)) return fault;
    if (renderer != nullptr) return S_OK;
    SDL_Window* sdlWindow = window.sdlWindow();
    if (sdlWindow == nullptr) return E_POINTER;
    lossesSeen = displayfaults::lossCount();
    modeAtStart = displayfaults::modeChangeCount();
    depth = displayfaults::depthForNextStart();
    // A renderer the player chose through SDL's own variable is theirs.
    if (SDL_GetHint(SDL_HINT_RENDER_DRIVER) == nullptr && !hasGraphicsDevice()) {
        // The window's surface drawn by the window system itself, not
        // through an OpenGL texture SDL would make for it otherwise.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        renderer = SDL_CreateRenderer(sdlWindow, -1, SDL_RENDERER_SOFTWARE);
    }
    if (renderer == nullptr) {
        renderer = SDL_CreateRenderer(sdlWindow, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    }
    if (renderer == nullptr) renderer = SDL_CreateRenderer(sdlWindow, -1, SDL_RENDERER_SOFTWARE);
    if (renderer == nullptr) return DDERR_NODIRECTDRAWHW;
    SDL_RendererInfo info;
    const char* name = SDL_GetRendererInfo(renderer, &info) == 0 && info.name ? info.name : "unknown";
    const char* driver = SDL_GetCurrentVideoDriver();
    deviceDescription = std::string(name) + " renderer on " + (driver ? driver : "unknown video driver");
    return S_OK;
}

Status Display::bindToWindow() {
    const Status fault = displayfaults::stepStatus(DisplayStep::CooperativeLevel);
    if (failed(fault)) return fault;
    if (renderer == nullptr) return E_POINTER;
    // Blocky pixels at whole multiples: the picture is pixel art.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    if (SDL_RenderSetLogicalSize(renderer, kWidth, kHeight) != 0) return E_FAIL;
    if (SDL_RenderSetIntegerScale(renderer, SDL_TRUE) != 0) return E_FAIL;
    return S_OK;
}

Status Display::createPrimary() {
    const Status fault = displayfaults::stepStatus(DisplayStep::PrimarySurface);
    if (failed(fault)) return fault;
    if (renderer == nullptr) return E_POINTER;
    if (texture != nullptr) return S_OK;
    const Uint32 format = depth == 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
    texture = SDL_CreateTexture(renderer, format, SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight);
    if (texture == nullptr) return E_FAIL;
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    return S_OK;
}

Status Display::createBackBuffer() {
    const Status fault = displayfaults::stepStatus(DisplayStep::BackBuffer);
    if (failed(fault)) return fault;
    if (texture == nullptr) return E_POINTER;
    if (back) return S_OK;
    Uint32 format = 0;
    if (SDL_QueryTexture(texture, &format, nullptr, nullptr, nullptr) != 0) return E_FAIL;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, SDL_BITSPERPIXEL(format), format);
    if (surface == nullptr) return E_OUTOFMEMORY;
    back = PixelSurface::adopt(surface, surfaces, false);
    return S_OK;
}

std::uint32_t Display::pixelFormat() const { return back ? back->pixelFormat() : 0; }
int Display::bitsPerPixel() const { return back ? back->bitsPerPixel() : 0; }

void Display::catchUpWithEvents() {
    const std::uint32_t losses = displayfaults::lossCount();
    if (losses == lossesSeen) return;
    lossesSeen = losses;
    surfaces->loseAll();
}

bool Display::modeChanged() const { return displayfaults::modeChangeCount() != modeAtStart; }

Status Display::cooperativeState() {
    if (renderer == nullptr) return E_POINTER;
    catchUpWithEvents();
    if (modeChanged()) return DDERR_WRONGMODE;
    if (displayfaults::heldElsewhere()) return DDERR_EXCLUSIVEMODEALREADYSET;
    return S_OK;
}

Status Display::present() {
    if (renderer == nullptr || texture == nullptr || !back) return E_POINTER;
    catchUpWithEvents();
    if (modeChanged()) return DDERR_WRONGMODE;
    if (back->isLost()) return DDERR_SURFACELOST;
    if (back->isLocked()) return DDERR_SURFACEBUSY;
    const SDL_Surface* picture = back->sdlSurface();
    if (SDL_UpdateTexture(texture, nullptr, picture->pixels, picture->pitch) != 0) return E_FAIL;
    if (!pictureShown) notePictureShown();
    pictureShown = true;
    return showPicture(tickCount());
}

void Display::fitPictureToOutput() {
    int width = 0;
    int height = 0;
    if (SDL_GetRendererOutputSize(renderer, &width, &height) != 0) return;
    SDL_Window* window = SDL_RenderGetWindow(renderer);
    const bool fullscreen = window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0;
    const int side = std::min(width, height);
    // In a window: whole steps, sharp, with bars where the window is larger.
    // Fullscreen: the screen's height filled, the picture first enlarged by
    // the next whole step and then smoothed down to the height, so its
    // pixels stay crisp and even. A window smaller than the picture gets
    // it scaled down smoothly instead of cut. The renderer centres the
    // picture and maps the mouse back to it.
    Scaling wanted = side < kWidth ? Scaling::Smooth : fullscreen && side % kWidth != 0 ? Scaling::Filled
                                                                                         : Scaling::WholeSteps;
    if (wanted == scaling && width == outputWidth && height == outputHeight) return;
    outputWidth = width;
    outputHeight = height;
    if (enlarged != nullptr) {
        SDL_DestroyTexture(enlarged);
        enlarged = nullptr;
    }
    if (wanted == Scaling::Filled) {
        enlargedSide = (side / kWidth + 1) * kWidth;
        enlarged = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_TARGET, enlargedSide,
                                     enlargedSide);
        if (enlarged == nullptr) {
            wanted = Scaling::Smooth;
        } else {
            SDL_SetTextureScaleMode(enlarged, SDL_ScaleModeLinear);
        }
    }
    scaling = wanted;
    SDL_RenderSetIntegerScale(renderer, wanted == Scaling::WholeSteps ? SDL_TRUE : SDL_FALSE);
    SDL_SetTextureScaleMode(texture, wanted == Scaling::Smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    SDL_RenderSetLogicalSize(renderer, kWidth, kHeight);
}

int Display::copyPicture() {
    if (scaling != Scaling::Filled) return SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    if (SDL_SetRenderTarget(renderer, enlarged) != 0) return SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    const int enlargedCopy = SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_SetRenderTarget(renderer, nullptr);
    if (enlargedCopy != 0) return enlargedCopy;
    return SDL_RenderCopy(renderer, enlarged, nullptr, nullptr);
}

Status Display::showPicture(std::uint32_t now) {
    fitPictureToOutput();
    SDL_SetRenderDrawColor(renderer, kBarShade, kBarShade, kBarShade, 255);
    if (SDL_RenderClear(renderer) != 0 || copyPicture() != 0) return E_FAIL;
    caretOnScreen = caret.isOnAt(now);
    caretOnScreenPlace = caretOnScreen ? caret.place() : PixelRect{};
    if (caretOnScreen) drawCaret();
    if (overlay != nullptr) overlay->draw(renderer);
    SDL_RenderPresent(renderer);
    return S_OK;
}

Status Display::showAgain() {
    if (renderer == nullptr || !pictureShown || modeChanged()) return S_OK;
    return showPicture(tickCount());
}

void Display::drawCaret() {
    // Like the window system's caret: the pixels under it inverted, so it
    // shows on any background.
    const PixelRect& place = caret.place();
    const int right = std::min(place.x + place.w, kWidth);
    const int bottom = std::min(place.y + place.h, kHeight);
    for (int y = std::max(place.y, 0); y < bottom; ++y) {
        for (int x = std::max(place.x, 0); x < right; ++x) {
            Uint8 red = 0, green = 0, blue = 0;
            back->readPixel(x, y, red, green, blue);
            SDL_SetRenderDrawColor(renderer, 255 - red, 255 - green, 255 - blue, 255);
            SDL_RenderDrawPoint(renderer, x, y);
        }
    }
}

Status Display::restoreAll() {
    if (renderer == nullptr) return E_POINTER;
    catchUpWithEvents();
    if (modeChanged()) return DDERR_WRONGMODE;
    surfaces->restoreAll();
    return S_OK;
}

std::unique_ptr<PixelSurface> Display::createSurface(int width, int height, bool systemMemory, Status& status) {
    if (!back) {
        status = E_POINTER;
        return nullptr;
    }
    catchUpWithEvents();
    if (modeChanged()) {
        status = DDERR_WRONGMODE;
        return nullptr;
    }
    if (width <= 0 || height <= 0 || width > kLargestSurface || height > kLargestSurface) {
        status = E_INVALIDARG;
        return nullptr;
    }
    status = displayfaults::surfaceStatus(systemMemory);
    if (failed(status)) return nullptr;
    const Uint32 format = back->pixelFormat();
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, SDL_BITSPERPIXEL(format), format);
    if (surface == nullptr) {
        status = systemMemory ? E_OUTOFMEMORY : DDERR_OUTOFVIDEOMEMORY;
        return nullptr;
    }
    status = S_OK;
    return PixelSurface::adopt(surface, surfaces, systemMemory);
}

Status Display::blit(int x, int y, PixelSurface& source, const PixelRect& sourceRect) {
    if (!back) return E_POINTER;
    catchUpWithEvents();
    // A surface of a display given up before a mode change is of no use
    // to the new one, even where SDL could still copy it.
    if (modeChanged() || !source.belongsTo(*surfaces)) return DDERR_WRONGMODE;
    if (source.isLost() || back->isLost()) return DDERR_SURFACELOST;
    if (!fitsWithin(sourceRect.x, sourceRect.w, source.width()) ||
        !fitsWithin(sourceRect.y, sourceRect.h, source.height()) || !fitsWithin(x, sourceRect.w, kWidth) ||
        !fitsWithin(y, sourceRect.h, kHeight)) {
        return DDERR_INVALIDRECT;
    }
    if (source.isLocked() || back->isLocked()) return DDERR_SURFACEBUSY;
    SDL_Rect from{sourceRect.x, sourceRect.y, sourceRect.w, sourceRect.h};
    SDL_Rect to{x, y, sourceRect.w, sourceRect.h};
    return SDL_BlitSurface(source.sdlSurface(), &from, back->sdlSurface(), &to) == 0 ? S_OK : E_FAIL;
}

FontFace* Display::systemFont() {
    if (!systemFontFace) systemFontFace = FontFace::open(FontFace::kDefaultFace, FontFace::kSystemFontHeight);
    return systemFontFace.get();
}

Status Display::drawText(const FontFace* face, const char* text, const PixelRect& rect, std::uint8_t red,
                         std::uint8_t green, std::uint8_t blue, bool centred) {
    if (!back) return E_POINTER;
    catchUpWithEvents();
    if (modeChanged()) return DDERR_WRONGMODE;
    if (back->isLost()) return DDERR_SURFACELOST;
    if (text == nullptr || *text == '\0') return S_OK;
    if (face == nullptr) face = systemFont();
    if (face == nullptr) return E_FAIL;
    SDL_Surface* image = face->rendered(text, red, green, blue);
    if (image == nullptr) return E_FAIL;
    if (back->isLocked()) return DDERR_SURFACEBUSY;

    // Worked out in 64 bits and cut to the back buffer before SDL sees it:
    // a label's rectangle comes from a table and may be anything.
    const std::int64_t left = std::max<std::int64_t>(rect.x, 0);
    const std::int64_t top = std::max<std::int64_t>(rect.y, 0);
    const std::int64_t right = std::min<std::int64_t>(static_cast<std::int64_t>(rect.x) + rect.w, kWidth);
    const std::int64_t bottom = std::min<std::int64_t>(static_cast<std::int64_t>(rect.y) + rect.h, kHeight);
    if (left >= right || top >= bottom) return S_OK;
    const std::int64_t x = centred ? rect.x + (static_cast<std::int64_t>(rect.w) - image->w) / 2 : rect.x;
    if (x >= right || x + image->w <= left || rect.y >= bottom || rect.y + image->h <= top) return S_OK;

    SDL_Surface* target = back->sdlSurface();
    SDL_Rect clip{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                  static_cast<int>(bottom - top)};
    SDL_Rect place{static_cast<int>(x), rect.y, image->w, image->h};
    SDL_SetClipRect(target, &clip);
    const int drawn = SDL_BlitSurface(image, nullptr, target, &place);
    SDL_SetClipRect(target, nullptr);
    return drawn == 0 ? S_OK : E_FAIL;
}

Status Display::measureText(const FontFace* face, const char* text, int& width, int& height) {
    width = height = 0;
    if (!back) return E_POINTER;
    if (face == nullptr) face = systemFont();
    if (face == nullptr) return E_FAIL;
    return face->measure(text, width, height) ? S_OK : E_FAIL;
}

void Display::setCaret(bool exists, int x, int y, int width, int height) {
    caret.set(exists, PixelRect{x, y, width, height}, tickCount());
}

void Display::showCaret() { caret.show(tickCount()); }
void Display::hideCaret() { caret.hide(); }

std::uint32_t Display::refreshCaret(std::uint32_t now) {
    const bool on = caret.isOnAt(now);
    const PixelRect& place = caret.place();
    const bool movedWhileOn = on && (place.x != caretOnScreenPlace.x || place.y != caretOnScreenPlace.y ||
                                     place.w != caretOnScreenPlace.w || place.h != caretOnScreenPlace.h);
    if (pictureShown && !modeChanged() && (on != caretOnScreen || movedWhileOn)) showPicture(now);
    return caret.untilNextChange(now);
}

}  // namespace platform
