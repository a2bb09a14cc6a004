#pragma once
#include <cstdint>

class DisplayDevice;
class ErrorLogger;
class Surface;

// How this build plays a match, in one number: a few short matches fixed
// in the game (computers and people, with odd and uneven frame times) are
// played headless and their state hashes folded together. Two builds that
// agree on it decide every match the same way, whatever compiler, flags or
// source tree made them; a build whose rules differ anywhere the matches
// reach gets another number.
class MatchFingerprint {
public:
    struct Played {
        // 0 when a match could not be loaded, which the logger has reported.
        std::uint64_t hash = 0;
        // How many frames the matches ran in all.
        std::uint32_t frames = 0;
    };

    // Plays the fixed matches on the display's surfaces (nothing is drawn
    // or heard) and folds their hashes; a few milliseconds.
    static Played playMatches(DisplayDevice& display, Surface& misc, ErrorLogger& logger);
};
