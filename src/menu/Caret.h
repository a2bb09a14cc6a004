#pragma once
#include <cstdint>

class DisplayDevice;

// The blinking block that shows where the next letter of a name goes. The
// display draws it over the presented picture, never into it, so the menu
// need not be redrawn for it to blink.
class Caret {
public:
    explicit Caret(DisplayDevice& display);
    ~Caret();
    Caret(const Caret&) = delete;
    Caret& operator=(const Caret&) = delete;

    void create(std::int32_t width, std::int32_t height);
    void setPosition(std::int32_t x, std::int32_t y);
    void show();
    void hide();
    void destroy();

    // A rebuilt display starts without a caret: give it ours again.
    void reapply() { update(); }

    bool exists() const { return bExists; }
    bool isShown() const { return bExists && bShown; }
    std::int32_t x() const { return iX; }
    std::int32_t y() const { return iY; }

private:
    void update();

    DisplayDevice& display;
    bool bExists = false;
    bool bShown = false;
    std::int32_t iX = 0, iY = 0, iWidth = 0, iHeight = 0;
};
