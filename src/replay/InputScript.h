#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "combat/ComputerLevel.h"
#include "replay/ReplayFormat.h"

// A match to record from a script: the seed, who plays, and what the
// people press frame by frame. One instruction a line, # starts a comment:
//
//   seed 12345              the generator is seeded as srand(12345) would
//   date 1765000000         the date written into the replay
//   person yellow keyboard  yellow is a person (keyboard, pad N, network N)
//   computer red hard       the computer plays red at this strength (easy,
//                           normal, hard); normal unless told
//   timeseed 7              where the frame times of a range are drawn from
//   ms 16                   the frame time of the frames that follow...
//   ms 1-40                 ...or one drawn anew each frame
//   hold yellow-left escape the keys down from now on (or: hold none)
//   play 120                120 frames
//   play until over         frames until the tenth serve has ended
//   play until end          frames until the match is finished
//   repeat 10 ... end       the lines between, ten times
//   wait colours 3          online, on the host: start once three colours
//   wait spectators 1       are claimed and one machine watches
//
// The game plays such a script online (quadrill --script): its people are
// the colours the machine claims, its keys are held frame by frame, and
// the host seeds the match with its seed. Frame times are the room's there.
//
// Keys: green-up green-down yellow-left yellow-right red-up red-down
// blue-left blue-right escape; only people's colours may be held.
struct InputScript {
    enum class Until { kFrames, kOver, kEnd };
    struct Step {
        Until until = Until::kFrames;
        std::uint32_t frames = 0;
        std::uint16_t keyBits = 0;
        std::uint32_t msLow = 16;
        std::uint32_t msHigh = 16;
    };

    std::uint32_t seed = 1;
    std::uint32_t timeSeed = 1;
    std::int64_t date = 0;
    replay::Seat seats[4];
    ComputerLevels levels;
    std::vector<Step> steps;
    int waitColours = 0;
    int waitSpectators = 0;

    // The keys held in a frame (counted from 0); after the last step, those
    // of the last.
    std::uint16_t keysAt(std::uint64_t frame) const;
};

// False with the line and the reason in `error` when the script is wrong.
bool parseInputScript(const std::string& text, InputScript& script, std::string& error);
