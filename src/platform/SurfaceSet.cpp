#include "platform/SurfaceSet.h"

#include <algorithm>

#include "platform/PixelSurface.h"

namespace platform {

void SurfaceSet::add(PixelSurface* surface) { members.push_back(surface); }

void SurfaceSet::remove(PixelSurface* surface) {
    members.erase(std::remove(members.begin(), members.end(), surface), members.end());
}

void SurfaceSet::loseAll() {
    for (PixelSurface* surface : members) surface->lose();
}

void SurfaceSet::restoreAll() {
    for (PixelSurface* surface : members) surface->restore();
}

}  // namespace platform
