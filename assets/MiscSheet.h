#pragma once
#include "Canvas.h"

class TextPainter;

namespace pictures {
// picMisc, 65 x 204: the four paddles, the ball, the menu's tick knob and
// the bonus icons at the places the game's layout tables cut them from, on
// pure green.
Canvas miscSheet(TextPainter& comic, TextPainter& narrow);

// One paddle filling the rectangle (right and bottom exclusive); the bar
// runs along the longer side. Also used to draw paddles into other pictures.
void paddle(Canvas& canvas, double left, double top, double right, double bottom, Colour base);
// The silver ball, centred, of the given radius.
void ball(Canvas& canvas, double cx, double cy, double radius);
}  // namespace pictures
