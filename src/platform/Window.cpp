#include "platform/Window.h"

#include <SDL.h>

#include <climits>

#include "platform/ResourceTable.h"

namespace platform {
namespace {

SDL_Surface* loadPicture(const char* name, const char* type) {
    ResourceData resource;
    if (!findResource(name, type, resource) || resource.size > static_cast<std::size_t>(INT_MAX)) return nullptr;
    SDL_RWops* stream = SDL_RWFromConstMem(resource.data, static_cast<int>(resource.size));
    return stream ? SDL_LoadBMP_RW(stream, 1) : nullptr;
}

}  // namespace

Window::~Window() { destroy(); }

bool Window::create(const char* title, int clientWidth, int clientHeight, bool shown) {
    destroy();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    videoStarted = true;
    Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE | (shown ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN);
    window = SDL_CreateWindow(title ? title : "", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, clientWidth,
                              clientHeight, flags);
    if (window == nullptr) {
        destroy();
        return false;
    }
    // Smaller than this the arena is a smudge; the picture still scales to it.
    SDL_SetWindowMinimumSize(window, kSmallestSide, kSmallestSide);
    windowedWidth = clientWidth;
    windowedHeight = clientHeight;
    return true;
}

void Window::destroy() {
    if (cursor != nullptr) {
        SDL_SetCursor(SDL_GetDefaultCursor());
        SDL_FreeCursor(cursor);
        cursor = nullptr;
    }
    if (window != nullptr) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
    if (videoStarted) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoStarted = false;
    }
}

void Window::show() {
    if (window) SDL_ShowWindow(window);
}

void Window::hide() {
    if (window) SDL_HideWindow(window);
}

void Window::centre() {
    if (window) SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

bool Window::setFullscreen(bool on) {
    if (window == nullptr) return false;
    if (on && !isFullscreen()) SDL_GetWindowSize(window, &windowedWidth, &windowedHeight);
    return SDL_SetWindowFullscreen(window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) == 0;
}

bool Window::isFullscreen() const {
    return window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

void Window::windowedSize(int& width, int& height) const {
    if (window != nullptr && !isFullscreen()) SDL_GetWindowSize(window, &windowedWidth, &windowedHeight);
    width = windowedWidth;
    height = windowedHeight;
}

ScreenRect Window::clientRect() const {
    ScreenRect rect;
    if (window == nullptr) return rect;
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(window, &x, &y);
    SDL_GetWindowSize(window, &w, &h);
    rect.left = x;
    rect.top = y;
    rect.right = x + w;
    rect.bottom = y + h;
    return rect;
}

bool Window::setIcon() {
    if (window == nullptr) return false;
    SDL_Surface* icon = loadPicture("icon", "ICON");
    if (icon == nullptr) return false;
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
    return true;
}

bool Window::setCursor() {
    if (window == nullptr) return false;
    SDL_Surface* picture = loadPicture("cur", "CURSOR");
    if (picture == nullptr) return false;
    SDL_Cursor* made = SDL_CreateColorCursor(picture, 0, 0);
    SDL_FreeSurface(picture);
    if (made == nullptr) return false;
    SDL_SetCursor(made);
    if (cursor != nullptr) SDL_FreeCursor(cursor);
    cursor = made;
    return true;
}

}  // namespace platform
