#pragma once

// The side of the first window's client area: the largest whole multiple
// of the picture's 400 pixels that fits in 85 % of the desktop's usable
// height (or width, on a screen turned upright), so the picture is shown
// sharp and large without filling the screen. A desktop too small even
// for 400 gets a window that fits, and the picture is scaled down.
int windowSideFor(int usableDesktopHeight, int usableDesktopWidth = 0);

// The first window's size: the one the player left it at last time, made
// to fit the desktop as it is now, or else the square above.
void firstWindowSize(int savedWidth, int savedHeight, int usableDesktopHeight, int usableDesktopWidth, int& width,
                     int& height);
