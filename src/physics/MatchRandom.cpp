#include "physics/MatchRandom.h"

namespace {
// Seeding fills the table from a multiplicative generator (16807 modulo
// 2^31 - 1) and then throws away ten rounds of the table, as glibc does.
constexpr std::int64_t kModulus = 2147483647;
constexpr std::int64_t kQuotient = 127773;  // kModulus / 16807
constexpr std::int64_t kRemainder = 2836;   // kModulus % 16807
constexpr int kDiscardedRounds = 10;
}  // namespace

MatchRandom::MatchRandom() : current{} { seed(1); }

void MatchRandom::seed(std::uint32_t value) {
    if (value == 0) value = 1;
    // glibc keeps the seed in a signed 32-bit word: a seed of 2^31 or more
    // starts the table from a negative number.
    std::int32_t word = static_cast<std::int32_t>(value);
    current.table[0] = word;
    for (int i = 1; i < kDegree; ++i) {
        // 16807 * word mod kModulus without overflowing 31 bits (Schrage).
        const std::int64_t hi = word / kQuotient;
        const std::int64_t lo = word % kQuotient;
        std::int64_t product = 16807 * lo - kRemainder * hi;
        if (product < 0) product += kModulus;
        word = static_cast<std::int32_t>(product);
        current.table[i] = word;
    }
    current.front = kSeparation;
    current.rear = 0;
    for (int i = 0; i < kDegree * kDiscardedRounds; ++i) next();
}

std::int32_t MatchRandom::next() {
    std::int32_t& slot = current.table[current.front];
    const std::uint32_t sum =
        static_cast<std::uint32_t>(slot) + static_cast<std::uint32_t>(current.table[current.rear]);
    slot = static_cast<std::int32_t>(sum);
    // The lowest bit is the least random; glibc drops it.
    const std::int32_t result = static_cast<std::int32_t>(sum >> 1);
    current.front = static_cast<std::uint8_t>(current.front + 1 == kDegree ? 0 : current.front + 1);
    current.rear = static_cast<std::uint8_t>(current.rear + 1 == kDegree ? 0 : current.rear + 1);
    return result;
}

bool MatchRandom::isWellFormed(const State& state) {
    if (state.front >= kDegree || state.rear >= kDegree) return false;
    return (state.rear + kSeparation) % kDegree == state.front;
}
