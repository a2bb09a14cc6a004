#include "net/transport/MappingLease.h"

#include <algorithm>

namespace net {

void MappingLease::granted(std::uint64_t nowMs, std::uint32_t leaseSeconds) {
    const std::uint64_t leaseMs = static_cast<std::uint64_t>(leaseSeconds) * 1000;
    endsAtMs = nowMs + leaseMs;
    // Halfway leaves time for a few retries should the router not answer.
    renewAtMs = nowMs + std::max(leaseMs / 2, kShortestRenewalMs);
}

void MappingLease::renewalFailed(std::uint64_t nowMs) {
    const std::uint64_t left = endsAtMs > nowMs ? endsAtMs - nowMs : 0;
    // Once the lease has run out the router is asked now and then only.
    if (left == 0) {
        renewAtMs = nowMs + kRetryMs;
        return;
    }
    renewAtMs = nowMs + std::max(std::min(kRetryMs, left / 2), kShortestRenewalMs);
}

}  // namespace net
