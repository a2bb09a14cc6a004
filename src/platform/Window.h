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

// The game's one window: a fixed client area, centred on the desktop.
// Asks for the display's full resolution, so that on a scaled desktop the
// picture can be shown sharp instead of blurred by the window system.
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
    // The client area in desktop coordinates; empty while there is no window.
    ScreenRect clientRect() const;

    // From the embedded 32-bit bitmaps "icon" (ICON) and "cur" (CURSOR),
    // alpha included; the cursor's hot spot is its top-left pixel.
    bool setIcon();
    bool setCursor();

    // For the rest of the layer.
    SDL_Window* sdlWindow() const { return window; }

private:
    SDL_Window* window = nullptr;
    SDL_Cursor* cursor = nullptr;
    bool videoStarted = false;
};

}  // namespace platform
