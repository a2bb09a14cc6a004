#include "app/WindowSize.h"

namespace {
constexpr int kPicture = 400;
// Leaves room for the window's frame, the panels and a little desktop.
constexpr int kShareOfDesktopPercent = 85;
// Below this nobody could play; a desktop that reports less is not believed.
constexpr int kSmallestSide = 200;
}  // namespace

int windowSideFor(int usableDesktopHeight, int usableDesktopWidth) {
    int usable = usableDesktopHeight;
    if (usableDesktopWidth > 0 && usableDesktopWidth < usable) usable = usableDesktopWidth;
    if (usable <= 0) return kPicture;
    const int room = static_cast<int>(static_cast<long long>(usable) * kShareOfDesktopPercent / 100);
    if (room >= kPicture) return room / kPicture * kPicture;
    return room < kSmallestSide ? kSmallestSide : room;
}

void firstWindowSize(int savedWidth, int savedHeight, int usableDesktopHeight, int usableDesktopWidth, int& width,
                     int& height) {
    if (savedWidth <= 0 || savedHeight <= 0) {
        width = height = windowSideFor(usableDesktopHeight, usableDesktopWidth);
        return;
    }
    // A window kept from a larger screen must not open beyond this one.
    width = usableDesktopWidth > 0 && savedWidth > usableDesktopWidth ? usableDesktopWidth : savedWidth;
    height = usableDesktopHeight > 0 && savedHeight > usableDesktopHeight ? usableDesktopHeight : savedHeight;
    if (width < kSmallestSide) width = kSmallestSide;
    if (height < kSmallestSide) height = kSmallestSide;
}
