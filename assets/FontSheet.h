#pragma once
#include "Canvas.h"

namespace pictures {
// picFont, 110 x 56: the minus and the ten digits, 10 x 14 cells, in the
// four players' colours row by row (yellow, red, blue, green), on pure green.
Canvas fontSheet();
}  // namespace pictures
