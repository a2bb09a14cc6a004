#pragma once
#include <cstdint>
#include <memory>

#include "graphics/Colour.h"
#include "graphics/Rect.h"
#include "platform/Status.h"

class ErrorLogger;
class Font;
class Surface;
namespace platform {
class Display;
class ScreenOverlay;
class Window;
}  // namespace platform

// Puts the game's pictures into its window: every frame is composed in a
// 400 x 400 back buffer and copied to the window in one piece. The same
// object lives from start-up to the end, across rebuilds after a change of
// display mode, so everybody's reference to it stays good.
class DisplayDevice {
public:
    // The capability that asks for a surface in system memory.
    static constexpr std::uint32_t kSystemMemory = 2048;

    DisplayDevice();
    ~DisplayDevice();
    DisplayDevice(const DisplayDevice&) = delete;
    DisplayDevice& operator=(const DisplayDevice&) = delete;

    // 1 on success, 0 after a reported failure (messages 201 to 204).
    int start(platform::Window& window, ErrorLogger& logger);
    // Gives up the display and its back buffer, before a rebuild and at the end.
    void releaseInterfaces();

    void updateWindowRect();
    // May the program draw now? DDERR_EXCLUSIVEMODEALREADYSET while another
    // program holds the display, DDERR_WRONGMODE once its mode has changed.
    platform::Status cooperativeState();
    platform::Status present();
    platform::Status restoreAll();
    // Puts the system font back in the back buffer's drawing context, so a
    // scene can delete the fonts it drew with.
    platform::Status resetFont();

    platform::Status createSurface(Surface* surface, std::int32_t width, std::int32_t height, std::uint32_t extraCaps);
    // Makes an off-screen surface, in video memory or else in system memory;
    // only when both fail is message 205 with the bitmap's name reported.
    // 1 on success, 0 after the report.
    int createOffscreen(Surface& surface, std::int32_t width, std::int32_t height, const char* bitmapName,
                        ErrorLogger& logger);
    // Copies a rectangle of a surface to the back buffer, leaving out the
    // key colour of a keyed surface. A rectangle that does not fit is
    // refused and nothing is drawn.
    platform::Status blitFast(std::int32_t x, std::int32_t y, Surface* surface, const Rect& source);

    // Text on the back buffer, through its drawing context: the font (or
    // the system font when it has none), transparent background.
    platform::Status drawText(const Font& font, const char* text, const Rect& rect, ColourRef colour,
                              std::uint32_t format);
    // Width of a text and height of the font's line, as drawText would draw them.
    platform::Status measureText(const Font& font, const char* text, std::int32_t& width, std::int32_t& height);

    // The layer's display, for the window's caret and for tests; null
    // before start and after releaseInterfaces.
    platform::Display* platformDisplay() const { return pDisplay.get(); }
    // What is shown over the pictures (pause note, muted sound, the pads of
    // the menu); it outlives rebuilds of the display.
    platform::ScreenOverlay& overlay() { return *pOverlay; }
    // Shows the last picture again with the overlay as it is now.
    void showAgain();
    // The back buffer's pixel value at a point, for tests of composed frames.
    bool readBackBufferPixel(std::int32_t x, std::int32_t y, std::uint8_t& red, std::uint8_t& green,
                             std::uint8_t& blue) const;

private:
    std::unique_ptr<platform::Display> pDisplay;
    std::unique_ptr<platform::ScreenOverlay> pOverlay;
    platform::Window* pWindow;
    Rect rcWindow;
};
