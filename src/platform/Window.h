#pragma once
#include <cstdint>

struct SDL_Window;
struct SDL_Cursor;

namespace platform {

struct ScreenRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// The game's one window, centred on the desktop at first. The player may
// make it any size or fullscreen; the display scales the 400 x 400 picture
// to whatever it is. Asks for the display's full resolution, so that on a
// scaled desktop the picture can be shown sharp instead of blurred by the
// window system.
class Window {
public:
    Window() = default;
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // False when the video system or the window cannot be had.
    bool create(const char* title, int clientWidth, int clientHeight, bool shown);
    void destroy();
    bool isOpen() const { return window != nullptr; }

    void show();
    void hide();
    void centre();
    // Fullscreen at the desktop's own resolution, or back to the window it was.
    bool setFullscreen(bool on);
    bool isFullscreen() const;
    // The window's size when not fullscreen, in desktop units.
    void windowedSize(int& width, int& height) const;
    // The client area in desktop coordinates; empty while there is no window.
    ScreenRect clientRect() const;

    // From the embedded 32-bit bitmaps "icon" (ICON) and "cur" (CURSOR),
    // alpha included; the cursor's hot spot is its top-left pixel.
    bool setIcon();
    bool setCursor();

    // For the rest of the layer.
    SDL_Window* sdlWindow() const { return window; }

    static constexpr int kSmallestSide = 200;

private:
    SDL_Window* window = nullptr;
    // Kept while fullscreen, so the size to come back to is known.
    mutable int windowedWidth = 0;
    mutable int windowedHeight = 0;
    SDL_Cursor* cursor = nullptr;
    bool videoStarted = false;
};

}  // namespace platform
