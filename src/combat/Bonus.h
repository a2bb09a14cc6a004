#pragma once
#include <cstdint>

#include "graphics/Rect.h"
#include "physics/Vector2.h"

class DisplayDevice;
class Surface;
class TextFileReader;

// One kind of bonus: its icon on the field, the small copy its holder
// shows, the box a ball must enter to take it, and how long it lasts.
class Bonus {
public:
    // The kinds, by layout row.
    static constexpr int kExtraBall = 0;
    static constexpr int kFastPaddle = 1;
    static constexpr int kSlowPaddle = 2;
    static constexpr int kDoublePoints = 3;
    // iDuration of an effect that lasts until the serve ends.
    static constexpr std::int32_t kUnlimited = -1;

    Bonus();

    void load(TextFileReader& reader);
    void draw(DisplayDevice& display, Surface& sprites) const;
    void drawLittle(DisplayDevice& display, Surface& sprites, const Point& at) const;

    // Does a ball of radius r, its centre going from p0 to p1 this frame,
    // enter the pick-up box from outside?
    bool hitTest(const Vector2& p0, const Vector2& p1, double r) const;

    std::int32_t getDuration() const { return iDuration; }
    const Rect& getLittle() const { return rcLittle; }
    const Rect& getSource() const { return rcSrc; }

private:
    Rect rcSrc;
    Rect rcLittle;
    double xBound;
    double yBound;
    Vector2 ptDst;
    std::int32_t iDuration;
};
