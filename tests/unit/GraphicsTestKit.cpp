#include "GraphicsTestKit.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "graphics/Surface.h"
#include "platform/ResourceTable.h"

bool operator==(const Rgb& a, const Rgb& b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; }

bool nearly(const Rgb& a, const Rgb& b) {
    return std::abs(a.red - b.red) <= 8 && std::abs(a.green - b.green) <= 4 && std::abs(a.blue - b.blue) <= 8;
}

std::vector<unsigned char> makeBitmap(int width, int height, const std::function<Rgb(int x, int y)>& pixel) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 24, SDL_PIXELFORMAT_BGR24);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixel(x, y);
            Uint8* at = static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * 3;
            at[0] = c.blue;
            at[1] = c.green;
            at[2] = c.red;
        }
    }
    std::vector<unsigned char> bytes(static_cast<std::size_t>(200 + (width * 3 + 3) / 4 * 4 * height));
    SDL_RWops* stream = SDL_RWFromMem(bytes.data(), static_cast<int>(bytes.size()));
    SDL_SaveBMP_RW(surface, stream, 0);
    bytes.resize(static_cast<std::size_t>(SDL_RWtell(stream)));
    SDL_RWclose(stream);
    SDL_FreeSurface(surface);
    return bytes;
}

bool decodeBitmap(const char* name, Picture& out) {
    platform::ResourceData data;
    if (!platform::findResource(name, "BITMAP", data)) return false;
    SDL_Surface* loaded = SDL_LoadBMP_RW(SDL_RWFromConstMem(data.data, static_cast<int>(data.size)), 1);
    if (loaded == nullptr) return false;
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(loaded);
    if (rgb == nullptr) return false;
    out.width = rgb->w;
    out.height = rgb->h;
    out.pixels.clear();
    for (int y = 0; y < rgb->h; ++y) {
        const Uint8* row = static_cast<const Uint8*>(rgb->pixels) + y * rgb->pitch;
        for (int x = 0; x < rgb->w; ++x) out.pixels.push_back(Rgb{row[3 * x], row[3 * x + 1], row[3 * x + 2]});
    }
    SDL_FreeSurface(rgb);
    return true;
}

bool realBitmapEmbedded(const char* name) {
    platform::ResourceData data;
    return platform::findResource(name, "BITMAP", data);
}

GraphicsFixture::GraphicsFixture() {
    logger.init();
    logger.enableLog();
    if (!window.create("Quadrill", 400, 400, false)) ADD_FAILURE() << "no window: " << SDL_GetError();
    if (!display.start(window, logger)) ADD_FAILURE() << "the display did not start";
}

GraphicsFixture::~GraphicsFixture() {
    display.releaseInterfaces();
    platform::testing::clearResourceFaults();
}

void GraphicsFixture::serveBitmap(const char* name, std::vector<unsigned char> bytes) {
    served.push_back(std::make_unique<std::vector<unsigned char>>(std::move(bytes)));
    platform::testing::overrideResource(name, "BITMAP", served.back()->data(), served.back()->size());
}

void GraphicsFixture::serveFilledBitmap(const char* name, int width, int height, Rgb colour) {
    serveBitmap(name, makeBitmap(width, height, [colour](int, int) { return colour; }));
}

Rgb GraphicsFixture::pixel(int x, int y) const {
    Rgb c;
    display.readBackBufferPixel(x, y, c.red, c.green, c.blue);
    return c;
}

void GraphicsFixture::fillBackBuffer(Rgb colour) {
    serveFilledBitmap("plain", 400, 400, colour);
    Surface plain;
    ASSERT_EQ(1, display.createOffscreen(plain, 400, 400, "plain", logger));
    plain.loadBitmap("plain", 0, 0);
    ASSERT_EQ(0, display.blitFast(0, 0, &plain, Rect{0, 0, 400, 400}));
}
