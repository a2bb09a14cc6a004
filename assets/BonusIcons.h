#pragma once
#include <string>

#include "Canvas.h"

class TextPainter;

// The bonus icons: a bevelled tile in the kind's colour with its sign on
// it. The same design at any size, so the small held-bonus marks in the
// arena's corners match the large icons on the field.
class BonusIcons {
public:
    BonusIcons(TextPainter& comic, TextPainter& narrow);

    void extraBall(Canvas& canvas, double left, double top, double size);
    void fastPaddle(Canvas& canvas, double left, double top, double size);
    void slowPaddle(Canvas& canvas, double left, double top, double size);
    void doublePoints(Canvas& canvas, double left, double top, double size);
    void plusFifty(Canvas& canvas, double left, double top, double size);
    void minusTwenty(Canvas& canvas, double left, double top, double size);
    void cross(Canvas& canvas, double left, double top, double size);

private:
    void tile(Canvas& canvas, double left, double top, double size, Colour colour);
    void label(Canvas& canvas, TextPainter& font, double left, double top, double size, const std::string& text,
               int points, Colour fill, Colour edge);

    TextPainter& comic_;
    TextPainter& narrow_;
};
