#pragma once
#include "Canvas.h"

namespace pictures {
// The sizes the desktop's icon theme gets, in pixels.
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The game's icon at size x size with alpha: four paddles around a ball on
// a dark tile. From 64 pixels up it is drawn smooth and shaded; below, each
// size has its own drawing on whole pixels, simpler the smaller it gets,
// so that 16 pixels still read as four coloured bars and a ball.
Canvas icon(int size);
// The window icon, the 64-pixel one.
inline Canvas windowIcon() { return icon(64); }
// The mouse cursor, 32 x 32 with alpha: an arrow whose tip is pixel (0, 0),
// the hot spot the game gives it.
Canvas cursor();

// The game's emblem, four paddles around a ball, into a disc of the given
// radius; shared by the icon and the menu's logo button.
void emblem(Canvas& canvas, double cx, double cy, double radius);
}  // namespace pictures
