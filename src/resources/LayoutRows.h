#pragma once
#include "graphics/Rect.h"

class TextFileReader;

// The next four numbers of a layout table as a rectangle: left, top,
// right, bottom, the way every table writes them.
Rect readRect(TextFileReader& reader);
