#include "combat/MatchState.h"

#include <cstring>

namespace {

class Fnv1a {
public:
    void operator()(const char*, std::int8_t value) { bytes(static_cast<std::uint8_t>(value), 1); }
    void operator()(const char*, std::uint8_t value) { bytes(value, 1); }
    void operator()(const char*, std::int32_t value) { bytes(static_cast<std::uint32_t>(value), 4); }
    void operator()(const char*, std::uint32_t value) { bytes(value, 4); }
    void operator()(const char*, double value) {
        std::uint64_t bits = 0;
        static_assert(sizeof bits == sizeof value, "doubles are hashed by their 64 bits");
        std::memcpy(&bits, &value, sizeof bits);
        bytes(bits, 8);
    }

    std::uint64_t value() const { return hash; }

private:
    void bytes(std::uint64_t value, int count) {
        for (int i = 0; i < count; ++i) {
            hash ^= (value >> (8 * i)) & 0xFF;
            hash *= 0x100000001B3ull;
        }
    }

    std::uint64_t hash = 0xCBF29CE484222325ull;
};

}  // namespace

std::uint64_t hashMatchState(const MatchState& state) {
    Fnv1a hash;
    visitMatchState(state, hash);
    return hash.value();
}
