#pragma once

// The side of the window's client area: the picture's 400 pixels, or on a
// desktop at least three times as high, the largest whole multiple of 400
// that fits in two thirds of its usable height, so the game is not a
// postage stamp on a big screen. The picture is scaled by whole steps.
int windowSideFor(int usableDesktopHeight);
