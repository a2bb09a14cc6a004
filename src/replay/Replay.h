#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "combat/ComputerLevel.h"
#include "physics/MatchRandom.h"
#include "replay/FrameRuns.h"
#include "replay/ReplayFormat.h"

namespace replay {

// One recorded match: what decides it (the generator's state at its start,
// who played which colour, every frame's time and keys), the state hashes
// that check a replay of it, and how it ended.
struct Replay {
    std::string gameVersion;
    // The recording game's fingerprint (GameFingerprint); none in replays
    // of versions 1 and 2, which name the build they came from instead.
    std::optional<std::uint64_t> fingerprint;
    std::string buildId;
    // Seconds since 1970-01-01 UTC, when the match began.
    std::int64_t date = 0;
    Seat seats[4];
    // In colour order, at most one a colour, only of people's colours.
    std::vector<HandOver> handOvers;
    // How well the computer played each colour; Normal for a colour it
    // never played.
    ComputerLevels levels;
    MatchRandom::State random{};
    std::uint32_t frameCount = 0;
    // The two run-length coded streams of FrameRuns.
    std::vector<std::uint8_t> frameTimes;
    std::vector<std::uint8_t> keys;
    // The low 32 bits of the state hash after frames 60, 120, ...
    std::vector<std::uint32_t> checkpoints;
    // The whole state hash after the last frame.
    std::uint64_t finalHash = 0;
    MatchEnd end = MatchEnd::kOver;
    std::int32_t scores[4] = {0, 0, 0, 0};

    void setFrames(const std::vector<Frame>& frames);
    FrameCursor frames() const { return FrameCursor(frameTimes, keys); }
    // PlayerSetup's bHuman for these seats, at the start and in a frame.
    void people(std::uint8_t (&human)[4]) const;
    void people(std::uint32_t frame, std::uint8_t (&human)[4]) const;
    // The key bits the first frame may hold: people's colours and Escape.
    std::uint16_t allowedKeys() const;
    // A fingerprinted replay is of version 3, or 4 when the computer played
    // at another strength than Normal; an older one keeps its own (2 when a
    // colour went to the computer, else 1).
    std::uint16_t formatVersion() const;
    // Did the computer play this colour in some frame of the match?
    bool computerPlayed(int colour) const;
};

}  // namespace replay
