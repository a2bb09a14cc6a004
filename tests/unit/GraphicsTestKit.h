#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "errors/ErrorLogger.h"
#include "graphics/DisplayDevice.h"
#include "platform/Window.h"
#include "support/PlatformFaults.h"
#include "support/ScratchDirectory.h"

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

bool operator==(const Rgb& a, const Rgb& b);
// Within the rounding of a 16-bit display (5 or 6 bits a channel).
bool nearly(const Rgb& a, const Rgb& b);

// A bitmap resource read back as colours, to compare a blit with its source.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
    Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};
// False when there is no such bitmap resource.
bool decodeBitmap(const char* name, Picture& out);
// Whether the build embedded a picture of that name; asked before a test
// serves its own.
bool realBitmapEmbedded(const char* name);

constexpr Rgb kPureGreen{0, 255, 0};

// A 24-bit BMP file's bytes, each pixel from the function.
std::vector<unsigned char> makeBitmap(int width, int height, const std::function<Rgb(int x, int y)>& pixel);

// A started display in a hidden window, a logger with the real message
// table writing into a scratch directory, and bitmaps served in place of
// the embedded ones for as long as the fixture lives.
class GraphicsFixture {
public:
    GraphicsFixture();
    ~GraphicsFixture();

    // Serves these bytes as the bitmap resource of that name.
    void serveBitmap(const char* name, std::vector<unsigned char> bytes);
    void serveFilledBitmap(const char* name, int width, int height, Rgb colour);

    Rgb pixel(int x, int y) const;
    // Covers the whole back buffer with one colour (a picture served as "plain").
    void fillBackBuffer(Rgb colour);

    ScratchDirectory scratch;
    PlatformFaults faults;
    ErrorLogger logger;
    platform::Window window;
    DisplayDevice display;

private:
    std::vector<std::unique_ptr<std::vector<unsigned char>>> served;
};
