#pragma once

class DisplayDevice;

// Writes the back buffer as it stands to a 24-bit BMP file, to look at a
// composed frame. False when there is no back buffer or the file cannot be
// written.
bool saveBackBuffer(const DisplayDevice& display, const char* path);
