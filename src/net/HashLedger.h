#pragma once
#include <cstdint>

#include "net/Protocol.h"

namespace net {

// The host's record of the state hashes the playing machines report,
// checkpoint by checkpoint, and its judgement of them. The host's own match
// is the measure: a machine that differs from it while another agrees with
// it has gone its own way, alone; when the host differs from every other
// machine that plays, nobody can tell who is right and the match ends for
// all. Only the latest checkpoints are kept; a report for an older one is
// too late to matter.
class HashLedger {
public:
    static constexpr int kCheckpoints = 16;
    // A checkpoint is judged without the reports still missing once the
    // host's own are this far past it: a machine that says nothing cannot
    // hold the judgement off.
    static constexpr std::uint32_t kPatienceFrames = 3 * kHashEvery;

    struct Verdict {
        std::uint32_t frame = 0;
        // Bit m: hashes[m] is machine m's.
        std::uint8_t reported = 0;
        std::uint64_t hashes[kMaxPlayingMachines] = {};
        // Machines that go out of step alone, the others playing on.
        std::uint8_t alone = 0;
        // The host differs from every other machine: the match ends.
        bool everybody = false;
    };

    void clear();
    // Machine m's hash after `frame` (the host is machine 0). False when it
    // is not taken: a machine's second word for a frame, or too late.
    bool note(int machine, std::uint32_t frame, std::uint64_t hash);
    // The next judgement due, given the guests that still play (bit m).
    bool judge(std::uint8_t playing, Verdict& verdict);

private:
    struct Checkpoint {
        std::uint32_t frame = 0;
        std::uint8_t reported = 0;
        std::uint64_t hashes[kMaxPlayingMachines] = {};
        // Machines already judged out of step here.
        std::uint8_t judged = 0;
        bool closed = false;
    };

    Checkpoint* find(std::uint32_t frame);

    Checkpoint checkpoints[kCheckpoints];
    int used = 0;
    std::uint32_t dwHostNewest = 0;
};

}  // namespace net
