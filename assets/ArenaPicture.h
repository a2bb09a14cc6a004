#pragma once
#include "Canvas.h"

namespace pictures {
// picCombat, 400 x 400: the floor, the paddles' lanes, the light centre disc
// under the serve count, and the four corner blocks cut along the walls,
// each with its player's marks and the dark slots for score and bonus.
Canvas arena();
}  // namespace pictures
