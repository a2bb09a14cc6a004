#pragma once
#include <cstdint>
#include <vector>

#include "net/Messages.h"

namespace net {

// The paddle keys of every playing machine, frame by frame, as far as this
// machine has them: what it has heard of each machine without a gap, and
// from which frame on a machine that went has left its colours to the
// computer. Frames are numbered from 0, the match's first.
class InputTimeline {
public:
    // A machine that never went.
    static constexpr std::uint32_t kStays = 0xFFFFFFFFu;

    // owners: the colours' machines (kNobody for the computer's).
    void begin(const std::uint8_t (&owners)[4]);

    // The paddle keys a machine may press: those of its colours.
    std::uint8_t keyMask(int machine) const;
    bool plays(int machine) const { return keyMask(machine) != 0; }

    // Frames of `machine` from `first` on; what is already held is kept,
    // what would leave a gap or lies beyond the machine's leaving is not.
    // The frames it newly holds, from the first of them.
    std::uint32_t add(int machine, std::uint32_t first, const InputRun* runs, int runCount);
    void add(int machine, std::uint32_t frame, std::uint8_t bits);
    // The machine's colours are the computer's from `frame` on; it is
    // held to what came before.
    void leave(int machine, std::uint32_t frame);

    // How many of the machine's frames are known, from the first on.
    std::uint32_t held(int machine) const;
    std::uint32_t leftAt(int machine) const;
    // Frames whose keys are known from everybody: the confirmed ones.
    std::uint32_t confirmed() const { return confirmedBesides(-1); }
    // The same, leaving one machine's keys out of the count.
    std::uint32_t confirmedBesides(int machine) const;
    // A spectator knows no more frames than the host has told it of, even
    // when nobody's keys are needed (a match of computers only).
    void limitKnown(std::uint32_t frames) { dwKnownLimit = frames; }
    // The machine's keys in a frame it holds (0 beyond).
    std::uint8_t keys(int machine, std::uint32_t frame) const;

    // Who plays in a frame: the human flags of the player setup.
    void people(std::uint32_t frame, std::uint8_t (&human)[4]) const;
    const std::uint8_t* owners() const { return owner; }

    // Appends to `message` a block of the machine's frames from `first`, as
    // many as a block holds; nothing when it holds none of them.
    void addBlock(Inputs& message, int machine, std::uint32_t first) const;

    // Up to `maxFrames` frames of the machine from `first` as runs.
    int runsFrom(int machine, std::uint32_t first, std::uint32_t maxFrames, InputRun* runs, int maxRuns,
                 std::uint32_t maxRunLength) const;

private:
    std::uint8_t owner[4] = {kNobody, kNobody, kNobody, kNobody};
    std::vector<std::uint8_t> frames[kMaxPlayingMachines];
    std::uint32_t left[kMaxPlayingMachines] = {kStays, kStays, kStays, kStays};
    std::uint32_t dwKnownLimit = kMaxFrame;
};

}  // namespace net
