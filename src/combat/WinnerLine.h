#pragma once
#include <cstdint>
#include <string>

#include "graphics/Colour.h"
#include "graphics/Font.h"
#include "platform/Status.h"

class DisplayDevice;

// The line across the arena that names who won, shown while the scores
// blink at the end of a match: "Yellow wins", "Yellow and red share the
// win", in the winner's colour (white when the win is shared).
class WinnerLine {
public:
    WinnerLine();
    WinnerLine(const WinnerLine&) = delete;
    WinnerLine& operator=(const WinnerLine&) = delete;

    // Scores green, yellow, red, blue. Somebody always has the best score,
    // so there is always a line.
    static std::string textFor(const std::int32_t (&scores)[4]);
    static ColourRef colourFor(const std::int32_t (&scores)[4]);

    // On the back buffer, on the dark floor below the middle's light disc,
    // with a shadow that keeps it sharp there.
    platform::Status draw(DisplayDevice& display, const std::int32_t (&scores)[4]);

    // The band the line is centred in.
    static constexpr std::int32_t kTop = 282;
    static constexpr std::int32_t kBottom = 322;

private:
    Font hFont;
    // For the long lines of a shared win, which the big font cannot fit.
    Font hSmallFont;
};
