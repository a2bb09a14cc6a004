#pragma once
#include <cstdint>

namespace platform {

struct PixelRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

// Where the caret is and whether it is on at a given moment. It blinks in
// the window system's rhythm, and comes on at once whenever it is shown or
// moved, so the typist always sees where the next letter goes.
class BlinkingCaret {
public:
    static constexpr std::uint32_t kBlinkMs = 530;
    // What untilNextChange answers for a caret that will not change by itself.
    static constexpr std::uint32_t kNoChange = 0xFFFFFFFFu;

    void set(bool exists, const PixelRect& place, std::uint32_t now);
    void show(std::uint32_t now);
    void hide() { shown = false; }

    bool isOnAt(std::uint32_t now) const;
    std::uint32_t untilNextChange(std::uint32_t now) const;
    const PixelRect& place() const { return rect; }

private:
    bool exists = false;
    bool shown = false;
    PixelRect rect;
    std::uint32_t phaseStart = 0;
};

}  // namespace platform
