#include "net/HashLedger.h"

namespace net {

void HashLedger::clear() {
    used = 0;
    dwHostNewest = 0;
}

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

bool HashLedger::note(int machine, std::uint32_t frame, std::uint64_t hash) {
    if (machine < 0 || machine >= kMaxPlayingMachines) return false;
    Checkpoint* checkpoint = find(frame);
    if (checkpoint == nullptr) return false;
    const std::uint8_t bit = static_cast<std::uint8_t>(1u << machine);
    // The first word of a machine for a frame is its word.
    if (checkpoint->reported & bit) return false;
    checkpoint->reported = static_cast<std::uint8_t>(checkpoint->reported | bit);
    checkpoint->hashes[machine] = hash;
    if (machine == 0 && frame > dwHostNewest) dwHostNewest = frame;
    return true;
}

bool HashLedger::judge(std::uint8_t playing, Verdict& verdict) {
    const std::uint8_t guests = static_cast<std::uint8_t>(playing & ~1u & ((1u << kMaxPlayingMachines) - 1));
    for (int i = 0; i < used; ++i) {
        Checkpoint& c = checkpoints[i];
        if (c.closed || !(c.reported & 1u)) continue;
        const std::uint8_t heard = c.reported & guests;
        std::uint8_t agree = 0;
        std::uint8_t differ = 0;
        for (int m = 1; m < kMaxPlayingMachines; ++m) {
            if (!(heard & (1u << m))) continue;
            if (c.hashes[m] == c.hashes[0]) {
                agree = static_cast<std::uint8_t>(agree | 1u << m);
            } else if (!(c.judged & (1u << m))) {
                differ = static_cast<std::uint8_t>(differ | 1u << m);
            }
        }
        const bool everyoneHeard = heard == guests;
        const bool late = dwHostNewest >= c.frame + kPatienceFrames;
        verdict = Verdict{};
        verdict.frame = c.frame;
        verdict.reported = c.reported;
        for (int m = 0; m < kMaxPlayingMachines; ++m) verdict.hashes[m] = c.hashes[m];
        if (differ != 0 && agree != 0) {
            c.judged = static_cast<std::uint8_t>(c.judged | differ);
            verdict.alone = differ;
            return true;
        }
        if (differ != 0 && (everyoneHeard || late)) {
            c.closed = true;
            verdict.everybody = true;
            return true;
        }
        if (differ == 0 && (everyoneHeard || late)) c.closed = true;
    }
    return false;
}

}  // namespace net
