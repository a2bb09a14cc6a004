#include "app/WindowSize.h"

namespace {
constexpr int kPicture = 400;
}

int windowSideFor(int usableDesktopHeight) {
    if (usableDesktopHeight < 3 * kPicture) return kPicture;
    return (usableDesktopHeight * 2 / 3) / kPicture * kPicture;
}
