#include "net/WatchedHashes.h"

namespace net {

void WatchedHashes::clear() {
    for (Entry& e : own) e = Entry{};
    for (Entry& e : host) e = Entry{};
}

bool WatchedHashes::put(Entry (&mine)[kKept], const Entry (&theirs)[kKept], std::uint32_t frame, std::uint64_t hash) {
    const int slot = static_cast<int>((frame / kHashEvery) % kKept);
    mine[slot] = Entry{frame, hash, true};
    const Entry& other = theirs[slot];
    return other.known && other.frame == frame && other.hash != hash;
}

bool WatchedHashes::ours(std::uint32_t frame, std::uint64_t hash) {
    if (!put(own, host, frame, hash)) return false;
    dwFrame = frame;
    qwHost = host[(frame / kHashEvery) % kKept].hash;
    return true;
}

bool WatchedHashes::hosts(std::uint32_t frame, std::uint64_t hash) {
    if (!put(host, own, frame, hash)) return false;
    dwFrame = frame;
    qwHost = hash;
    return true;
}

}  // namespace net
