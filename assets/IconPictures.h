#pragma once
#include "Canvas.h"

namespace pictures {
// The window icon, 64 x 64 with alpha: four paddles around a ball on a
// dark tile, bold enough to read at 16 pixels.
Canvas windowIcon();
// The mouse cursor, 32 x 32 with alpha: an arrow whose tip is pixel (0, 0),
// the hot spot the game gives it.
Canvas cursor();

// The game's emblem, four paddles around a ball, into a disc of the given
// radius; shared by the icon and the menu's logo button.
void emblem(Canvas& canvas, double cx, double cy, double radius);
}  // namespace pictures
