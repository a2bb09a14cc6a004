#pragma once

class Canvas;

namespace keycheck {
// True when no pixel of a keyed sheet's sprites is pure green or a
// green close enough to it to show as a fringe around a keyed-out sprite.
bool clean(const Canvas& sheet);
}  // namespace keycheck
