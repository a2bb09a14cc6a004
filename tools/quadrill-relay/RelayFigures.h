#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// How long messages stay in the relay, from the moment it has one to the
// moment what it sends on has gone to the socket, in a histogram of fixed
// size; and how many came, for a line of figures now and then.
class RelayFigures {
public:
    void stayed(std::uint32_t micros);
    // "N messages (R a second), stayed: p50 X us, p99 Y us, most Z us",
    // and starts again.
    std::string takeLine(double seconds);
    std::uint64_t count() const { return cMessages; }
    // The stay below which this share of messages stayed.
    std::uint32_t percentile(double share) const;

private:
    static constexpr std::uint32_t kBucketMicros = 10;
    static constexpr std::size_t kBuckets = 10000;
    std::uint32_t buckets[kBuckets] = {};
    std::uint64_t cMessages = 0;
    std::uint32_t dwLongest = 0;
};
