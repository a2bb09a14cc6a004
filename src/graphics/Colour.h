#pragma once
#include <cstdint>

// Colours are written the way the layout tables store them: 0x00BBGGRR.
using ColourRef = std::uint32_t;

constexpr ColourRef makeColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<ColourRef>(red) | (static_cast<ColourRef>(green) << 8) | (static_cast<ColourRef>(blue) << 16);
}

// Pure green: the sprites' transparent colour.
constexpr ColourRef kKeyGreen = makeColour(0, 255, 0);

// Text-drawing format flags.
constexpr std::uint32_t kTextCentred = 1;
