#pragma once
#include <cstdint>

#include "net/Protocol.h"

namespace net {

// The host's record of the state hashes every machine reports, checkpoint
// by checkpoint: two machines that report different hashes for one frame
// have gone out of step. Only the latest checkpoints are kept; a report for
// an older one is too late to matter.
class HashLedger {
public:
    static constexpr int kCheckpoints = 16;

    struct Checkpoint {
        std::uint32_t frame = 0;
        // Bit m: machine m has reported hashes[m].
        std::uint16_t reported = 0;
        std::uint64_t hashes[kMaxMachines] = {};
        bool outOfStep = false;
    };

    void clear();
    // Machine m's hash after `frame`. The checkpoint when this report is the
    // first to disagree with another, else null.
    const Checkpoint* note(int machine, std::uint32_t frame, std::uint64_t hash);

private:
    Checkpoint* find(std::uint32_t frame);

    Checkpoint checkpoints[kCheckpoints];
    int used = 0;
};

}  // namespace net
