#include "net/HashLedger.h"

namespace net {

void HashLedger::clear() { used = 0; }

HashLedger::Checkpoint* HashLedger::find(std::uint32_t frame) {
    for (int i = 0; i < used; ++i) {
        if (checkpoints[i].frame == frame) return &checkpoints[i];
    }
    // A new checkpoint takes the oldest one's place once all are in use.
    int slot = used;
    if (used == kCheckpoints) {
        slot = 0;
        for (int i = 1; i < used; ++i) {
            if (checkpoints[i].frame < checkpoints[slot].frame) slot = i;
        }
        if (frame < checkpoints[slot].frame) return nullptr;
    } else {
        ++used;
    }
    checkpoints[slot] = Checkpoint{};
    checkpoints[slot].frame = frame;
    return &checkpoints[slot];
}

const HashLedger::Checkpoint* HashLedger::note(int machine, std::uint32_t frame, std::uint64_t hash) {
    if (machine < 0 || machine >= kMaxMachines) return nullptr;
    Checkpoint* checkpoint = find(frame);
    if (checkpoint == nullptr) return nullptr;
    const std::uint16_t bit = static_cast<std::uint16_t>(1u << machine);
    // The first word of a machine for a frame is its word.
    if (checkpoint->reported & bit) return nullptr;
    checkpoint->reported = static_cast<std::uint16_t>(checkpoint->reported | bit);
    checkpoint->hashes[machine] = hash;
    if (checkpoint->outOfStep) return nullptr;
    for (int other = 0; other < kMaxMachines; ++other) {
        if (other != machine && (checkpoint->reported & (1u << other)) && checkpoint->hashes[other] != hash) {
            checkpoint->outOfStep = true;
            return checkpoint;
        }
    }
    return nullptr;
}

}  // namespace net
