#pragma once
#include <cstdint>

namespace net {

// When a router's port mapping is renewed, on any clock in milliseconds:
// halfway through what the router granted, and after a renewal that failed,
// again soon, while some of the lease is left. Plain arithmetic, so that a
// test can run an hour's lease on a clock of its own.
class MappingLease {
public:
    // A renewal that failed is tried again after this, or sooner when the
    // lease is nearly out.
    static constexpr std::uint64_t kRetryMs = 30000;
    // However short the lease, the router is not asked more often.
    static constexpr std::uint64_t kShortestRenewalMs = 1000;

    // The router granted `leaseSeconds` at `nowMs`.
    void granted(std::uint64_t nowMs, std::uint32_t leaseSeconds);
    // A renewal at `nowMs` was not granted.
    void renewalFailed(std::uint64_t nowMs);

    std::uint64_t renewAt() const { return renewAtMs; }
    bool expired(std::uint64_t nowMs) const { return nowMs >= endsAtMs; }

private:
    std::uint64_t endsAtMs = 0;
    std::uint64_t renewAtMs = 0;
};

}  // namespace net
