#pragma once
#include <vector>

namespace platform {

class PixelSurface;

// The surfaces one display has made, so that they can all be lost and
// restored together. Each surface shares the set with its display; the set
// outlives a released display for as long as one of its surfaces does, and
// tells such a surface apart from the surfaces of a newer display.
class SurfaceSet {
public:
    SurfaceSet() = default;
    SurfaceSet(const SurfaceSet&) = delete;
    SurfaceSet& operator=(const SurfaceSet&) = delete;

    void add(PixelSurface* surface);
    void remove(PixelSurface* surface);
    void loseAll();
    void restoreAll();

private:
    std::vector<PixelSurface*> members;
};

}  // namespace platform
