#include "RelayFigures.h"

#include <algorithm>
#include <cstdio>

void RelayFigures::stayed(std::uint32_t micros) {
    ++buckets[std::min<std::size_t>(micros / kBucketMicros, kBuckets - 1)];
    ++cMessages;
    dwLongest = std::max(dwLongest, micros);
}

std::uint32_t RelayFigures::percentile(double share) const {
    if (cMessages == 0) return 0;
    const auto wanted = static_cast<std::uint64_t>(share * static_cast<double>(cMessages));
    std::uint64_t seen = 0;
    for (std::size_t b = 0; b < kBuckets; ++b) {
        seen += buckets[b];
        if (seen > wanted) return static_cast<std::uint32_t>((b + 1) * kBucketMicros);
    }
    return dwLongest;
}

std::string RelayFigures::takeLine(double seconds) {
    char line[160];
    std::snprintf(line, sizeof line, "%llu messages (%.0f a second), stayed: p50 %u us, p99 %u us, most %u us",
                  static_cast<unsigned long long>(cMessages), seconds > 0 ? static_cast<double>(cMessages) / seconds : 0.0,
                  percentile(0.5), percentile(0.99), dwLongest);
    *this = RelayFigures();
    return line;
}
