#pragma once
#include "Canvas.h"

class TextPainter;

namespace pictures {
// picMenu, 400 x 400: title, the table of colours with their keys and the
// frames of the Player and PC boxes, the panel the best results are
// written into, the Exit and Start buttons and the logo button.
Canvas menu(TextPainter& comic, TextPainter& narrow);
}  // namespace pictures
