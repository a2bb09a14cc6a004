#pragma once
#include <cstdint>

#include "net/Protocol.h"

namespace net {

// A spectator's check of its own match against the host's: the host sends
// the hashes of its match, and the spectator's own come as it plays its
// frames, usually a second or so later. The spectator's trouble stays its
// own; it never has a say in the players' matches.
class WatchedHashes {
public:
    void clear();
    // Each true when it completes a pair that differs.
    bool ours(std::uint32_t frame, std::uint64_t hash);
    bool hosts(std::uint32_t frame, std::uint64_t hash);

    // The pair that differed.
    std::uint32_t frame() const { return dwFrame; }
    std::uint64_t hostHash() const { return qwHost; }

private:
    struct Entry {
        std::uint32_t frame = 0;
        std::uint64_t hash = 0;
        bool known = false;
    };
    // Enough for a spectator this many checkpoints behind the host.
    static constexpr int kKept = 64;

    bool put(Entry (&mine)[kKept], const Entry (&theirs)[kKept], std::uint32_t frame, std::uint64_t hash);

    Entry own[kKept];
    Entry host[kKept];
    std::uint32_t dwFrame = 0;
    std::uint64_t qwHost = 0;
};

}  // namespace net
