#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "combat/ComputerLevel.h"

// What quadrill-sim was asked to do.
struct SimOptions {
    std::uint32_t matches = 1;
    unsigned int seed = 1;
    std::uint32_t stepMs = 16;
    bool draw = true;
    bool trace = false;
    std::string snapshotPath;
    // Counted over the whole run, from 1.
    std::uint64_t snapshotFrame = 1;
    // A match that has not ended after this many frames is given up.
    std::uint64_t maxFrames = 10000000;
    // How well the computer plays each colour, green, yellow, red, blue.
    ComputerLevels levels;
    // Replays to play again and check instead of playing new matches.
    std::vector<std::string> verifyPaths;
    // A match to record from an input script.
    std::string recordPath;
    std::string scriptPath;
};

// Reads the command line; false with the reason in `error` when it makes
// no sense (the caller prints the usage).
bool parseSimOptions(int argc, char** argv, SimOptions& options, std::string& error);

const char* simUsage();
